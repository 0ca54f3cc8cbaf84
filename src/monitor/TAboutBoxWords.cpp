#include "translation/WordLists.h"

QStringList TAboutBoxWords()
{
    return {
        u"%Form%"_qs, u"Info"_qs, u"About"_qs, u"OKButton"_qs, u"OK"_qs, u"OK"_qs,
    };
}
