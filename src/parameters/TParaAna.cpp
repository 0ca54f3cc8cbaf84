#include "parameters/TParaAna.h"

#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

TParaAna::TParaAna(Deklarat &d) : TForm(d, QStringLiteral("TParaAna"), QStringLiteral("analoge Parameter"))
{
    translate(TParaAnaWords(), WindowFonts::Arial(), 0);
    ApplyWindowScaling(this);
}
