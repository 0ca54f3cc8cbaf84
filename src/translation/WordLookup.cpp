#include "translation/WordLookup.h"

QString LookupWord(const QStringList &words, const QString &id, int language, int languages)
{
    const QString wanted = id.toLower();
    const int entrySize = languages + 1;
    for (int p = 0; p + entrySize <= words.size(); p += entrySize) {
        if (words.at(p).toLower() == wanted) {
            const int index = p + language + 1;
            return index < words.size() ? words.at(index) : QString();
        }
    }
    return wanted;
}
