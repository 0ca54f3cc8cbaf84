#include "parameters/TParaAnaIn32Bit.h"

#include "translation/WordLists.h"

TParaAnaIn32Bit::TParaAnaIn32Bit(Deklarat &d) : TForm(d, QStringLiteral("TParaAnaIn32Bit"), QStringLiteral("analog 32Bit Input Parameter"))
{
    translate(TParaAnaIn32BitWords(), WindowFonts::ArialEnglishDesign(), 1);
}
