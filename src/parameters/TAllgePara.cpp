#include "parameters/TAllgePara.h"

#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

TAllgePara::TAllgePara(Deklarat &d) : TForm(d, QStringLiteral("TAllgePara"), QStringLiteral("Allgemeine Parameter"))
{
    translate(TAllgeParaWords(), WindowFonts::SansSerifThenArial(), 0);
    ApplyWindowScaling(this);
}
