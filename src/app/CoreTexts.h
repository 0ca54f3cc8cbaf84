#pragma once
// The texts of the core itself (the line, the files it writes), in both
// languages: the core runs without any window whose word list could lend them.
#include <QString>
#include <QStringList>

// The text of `id` ("@idSST_ERR3") in `language` (0 German, 1 English); an
// unknown id comes back in lower case, as the word lists answer it.
QString CoreText(const QString &id, quint8 language);

// The same entries as word-list triples (id, German, English), for the window
// whose list shows them too.
QStringList CoreTextWords();
