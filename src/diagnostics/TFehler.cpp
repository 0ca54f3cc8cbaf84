#include "diagnostics/TFehler.h"

#include "translation/WordLists.h"

TFehler::TFehler(Deklarat &d) : TForm(d, QStringLiteral("TFehler"), QStringLiteral("Fehler"))
{
    translate(TFehlerWords(), WindowFonts::Arial(), 0);
}
