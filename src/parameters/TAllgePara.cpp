#include "parameters/TAllgePara.h"

#include "translation/WordLists.h"

TAllgePara::TAllgePara(Deklarat &d) : TForm(d, QStringLiteral("TAllgePara"), QStringLiteral("Allgemeine Parameter"))
{
    translate(TAllgeParaWords(), WindowFonts::SansSerifThenArial(), 0);
}
