#include "station/TDeviceConfigForm.h"

#include "translation/WordLists.h"

TDeviceConfigForm::TDeviceConfigForm(Deklarat &d) : TForm(d, QStringLiteral("TDeviceConfigForm"), QStringLiteral("Configuration"))
{
    translate(TDeviceConfigFormWords(), WindowFonts::ArialEnglishDesign(), 1);
}
