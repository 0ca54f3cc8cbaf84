#include "parameters/TParameter.h"

#include "translation/WordLists.h"

TParameter::TParameter(Deklarat &d) : TForm(d, QStringLiteral("TParameter"), QStringLiteral("Parameter"))
{
    translate(TParameterWords(), WindowFonts::SansSerifThenArial(), 0);
}
