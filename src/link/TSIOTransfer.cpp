#include "link/TSIOTransfer.h"

#include "translation/WordLists.h"

TSIOTransfer::TSIOTransfer(Deklarat &d) : TForm(d, QStringLiteral("TSIOTransfer"), QStringLiteral("Schnittstelle"))
{
    translate(TSIOTransferWords(), WindowFonts::Arial(), 0);
}
