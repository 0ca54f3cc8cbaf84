#include "diagnostics/TAlarmMaske.h"

#include "translation/WordLists.h"

TAlarmMaske::TAlarmMaske(Deklarat &d) : TForm(d, QStringLiteral("TAlarmMaske"), QStringLiteral("Alarm Maske"))
{
    translate(TAlarmMaskeWords(), WindowFonts::SansSerifThenArial(), 0);
}
