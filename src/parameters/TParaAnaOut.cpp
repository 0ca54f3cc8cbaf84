#include "parameters/TParaAnaOut.h"

#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

TParaAnaOut::TParaAnaOut(Deklarat &d) : TForm(d, QStringLiteral("TParaAnaOut"), QStringLiteral("Parameter analoge Ausgaenge"))
{
    translate(TParaAnaOutWords(), WindowFonts::Arial(), 0);
    ApplyWindowScaling(this);
}
