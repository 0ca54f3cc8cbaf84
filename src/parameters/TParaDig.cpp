#include "parameters/TParaDig.h"

#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

TParaDig::TParaDig(Deklarat &d) : TForm(d, QStringLiteral("TParaDig"), QStringLiteral("digitale Parameter"))
{
    translate(TParaDigWords(), WindowFonts::Arial(), 0);
    ApplyWindowScaling(this);
}
