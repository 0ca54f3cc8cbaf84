#include "translation/WordLists.h"

QStringList TOKBottomDlgWords()
{
    return {
        u"%Form%"_qs, u"Sprache"_qs, u"Language"_qs, u"OKBtn"_qs, u"OK"_qs, u"OK"_qs,
    };
}
