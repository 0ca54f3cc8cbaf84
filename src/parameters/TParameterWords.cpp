// Name of the unnamed top panel that carries the hint text: Panel1.
#include "translation/WordLists.h"

QStringList TParameterWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Parameter"), QStringLiteral("Parameter"),
        QStringLiteral("Panel1"), QStringLiteral("Mit einem Doppelklick auf das entsprechende Modul öffnet sich der Parameterdialog"), QStringLiteral("Double click on modul  to open the parameter dialog"),
        QStringLiteral("BBack"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("@empty"), QStringLiteral("leer"), QStringLiteral("empty"),
    };
    // clang-format on
}
