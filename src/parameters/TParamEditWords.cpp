#include "translation/WordLists.h"

QStringList TParamEditWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("ParamEdit"), QStringLiteral(""),
        QStringLiteral("LConfirmData"), QStringLiteral("Zum Übernehmen der eingegebenen Daten ENTER drücken"), QStringLiteral("Press ENTER  to confirm the new data"),
        QStringLiteral("BSend"), QStringLiteral("Senden"), QStringLiteral("Send"),
        QStringLiteral("BRead"), QStringLiteral("Lesen"), QStringLiteral("Read"),
        QStringLiteral("BCancel"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("@ConfirmData"), QStringLiteral("Zum Übernehmen der eingegebenen Daten ENTER drücken"), QStringLiteral("Press ENTER  to confirm the new data"),
    };
    // clang-format on
}
