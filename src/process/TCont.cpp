#include "process/TCont.h"

#include "translation/WordLists.h"

TCont::TCont(Deklarat &d) : TForm(d, QStringLiteral("TCont"), QStringLiteral("Steuerung"))
{
    translate(TContWords(), WindowFonts::Arial(), 0);
}
