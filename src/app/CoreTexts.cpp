#include "app/CoreTexts.h"

#include <array>

namespace
{

struct CoreEntry {
    const char16_t *id;
    const char16_t *german;
    const char16_t *english;
};

// clang-format off
constexpr std::array<CoreEntry, 9> Entries{{
    {u"@idERR", u"Fehler", u"Error"},
    {u"@idSST_ERR1", u"Schnittstelle wird bereits verwendet!", u"Interface already in use!"},
    {u"@idSST_ERR2", u"Schnittstelle nicht vorhanden!", u"Interface not available!"},
    {u"@idSST_ERR3", u"Schnittstellen-Fehler", u"Interface error"},
    {u"@idSST_LOST", u"Schnittstelle getrennt!", u"Interface lost!"},
    {u"@idSST_NOANSWER", u"keine Antwort auf den Verbindungsaufbau nach %1 ms", u"no answer to the connect within %1 ms"},
    {u"@idLINE_BUSY", u"Leitung belegt: Telegramm nicht gesendet", u"Line busy: frame not sent"},
    {u"@idSST_PERM", u"Keine Berechtigung für die Schnittstelle. Den Benutzer in die Gruppe dialout aufnehmen (sudo usermod -aG dialout $USER), dann ab- und wieder anmelden.",
                     u"No permission to open the interface. Add the user to the group dialout (sudo usermod -aG dialout $USER), then log out and in again."},
    {u"@idFILE_DOCS", u"Der aktuelle Ordner ist schreibgeschützt. Die Datei wird geschrieben nach:", u"The current folder is read-only. The file is written to:"},
}};
// clang-format on

} // namespace

QString CoreText(const QString &id, quint8 language)
{
    for (const CoreEntry &e : Entries)
        if (id.compare(QString::fromUtf16(e.id), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(language == 1 ? e.english : e.german);
    return id.toLower();
}

QStringList CoreTextWords()
{
    QStringList words;
    for (const CoreEntry &e : Entries)
        words << QString::fromUtf16(e.id) << QString::fromUtf16(e.german) << QString::fromUtf16(e.english);
    return words;
}
