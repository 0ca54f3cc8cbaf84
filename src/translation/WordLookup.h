#pragma once
// A message entry of a word list (key, then one text per language), looked up
// without any window: the translation component and the command-line program
// find the same text.
#include <QString>
#include <QStringList>

// The text of the first entry whose key equals `id` (case ignored) in
// `language`; the lower-cased id when the list has no such entry.
QString LookupWord(const QStringList &words, const QString &id, int language, int languages = 2);
