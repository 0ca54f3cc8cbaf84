#include "translation/WordLists.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace
{

constexpr int EntrySize = 3;
const QString Continuation = QStringLiteral("\"");

struct Window {
    const char *name;
    QStringList (*words)();
};

const Window Windows[] = {
    {"TVo3112CCC", TVo3112CCCWords},
    {"TDeviceConfigForm", TDeviceConfigFormWords},
    {"TParaDig", TParaDigWords},
    {"TFehler", TFehlerWords},
    {"TSIOTransfer", TSIOTransferWords},
    {"TParaAna", TParaAnaWords},
    {"TCont", TContWords},
    {"TAboutBox", TAboutBoxWords},
    {"TOKBottomDlg", TOKBottomDlgWords},
    {"TAllgePara", TAllgeParaWords},
    {"TParaAnaOut", TParaAnaOutWords},
    {"TParaAnaIn32Bit", TParaAnaIn32BitWords},
    {"TAlarmMaske", TAlarmMaskeWords},
    {"TParameter", TParameterWords},
    {"TParamEdit", TParamEditWords},
    {"TZusatzIOEdit", TZusatzIOEditWords},
};

bool isContinuation(const QString &key)
{
    return key.startsWith(Continuation);
}

// Entry start of the first entry whose key equals `key` (case ignored, as the
// translation pass and LookupMessage compare).
std::optional<int> findEntry(const QStringList &words, const QString &key)
{
    for (int p = 0; p + EntrySize <= words.size(); p += EntrySize) {
        if (words.at(p).compare(key, Qt::CaseInsensitive) == 0)
            return p;
    }
    return std::nullopt;
}

// The texts of an element: its own entry, then the continuation run after it.
std::vector<std::pair<QString, QString>> elementTexts(const QStringList &words, int p)
{
    std::vector<std::pair<QString, QString>> texts;
    texts.emplace_back(words.at(p + 1), words.at(p + 2));
    for (int q = p + EntrySize; q + EntrySize <= words.size() && words.at(q) == Continuation; q += EntrySize)
        texts.emplace_back(words.at(q + 1), words.at(q + 2));
    return texts;
}

QStringList wordsOf(const char *window)
{
    for (const Window &w : Windows) {
        if (QString::fromLatin1(w.name) == QLatin1String(window))
            return w.words();
    }
    ADD_FAILURE() << "no window " << window;
    return {};
}

TEST(WordLists, StructureOfEveryList)
{
    for (const Window &w : Windows) {
        SCOPED_TRACE(w.name);
        const QStringList words = w.words();
        ASSERT_FALSE(words.isEmpty());
        ASSERT_EQ(words.size() % EntrySize, 0) << "length " << words.size();

        int forms = 0;
        QSet<QString> seen;
        QString previousKey;
        for (int p = 0; p < words.size(); p += EntrySize) {
            const QString key = words.at(p);
            const auto where = testing::Message() << "entry " << p / EntrySize << " key '" << key.toStdString() << "'";
            EXPECT_FALSE(key.isEmpty()) << where;
            if (key == QLatin1String("%Form%"))
                ++forms;

            if (isContinuation(key)) {
                EXPECT_GT(p, 0) << where << ": a list cannot start with a continuation";
                EXPECT_FALSE(previousKey.startsWith(QLatin1Char('@')))
                    << where << ": continuation after the message entry '" << previousKey.toStdString() << "'";
                EXPECT_NE(previousKey, QLatin1String("%Form%")) << where << ": continuation after the title";
            } else {
                const QString lower = key.toLower();
                EXPECT_FALSE(seen.contains(lower)) << where << ": duplicate key";
                seen.insert(lower);
                previousKey = key;
            }
        }
        EXPECT_EQ(forms, 1) << "number of %Form% entries";
    }
}

struct Fact {
    const char *window;
    const char *key;
    int item; // 0 = the element's own entry, n = its n-th continuation
    const char16_t *german;
    const char16_t *english;
};

// clang-format off
const Fact Facts[] = {
    {"TSIOTransfer", "@idSST_ERR2", 0, u"Schnittstelle nicht vorhanden!", u"Interface not available!"},
    {"TSIOTransfer", "@idSST_ERR1", 0, u"Schnittstelle wird bereits verwendet!", u"Interface already in use!"},
    {"TSIOTransfer", "@idSST_ERR3", 0, u"Schnittstellen-Fehler", u"Interface error"},
    {"TSIOTransfer", "@idSST_PERM", 0, u"Keine Berechtigung für die Schnittstelle. Den Benutzer in die Gruppe dialout aufnehmen (sudo usermod -aG dialout $USER), dann ab- und wieder anmelden.", u"No permission to open the interface. Add the user to the group dialout (sudo usermod -aG dialout $USER), then log out and in again."},
    {"TSIOTransfer", "@idFILE_DOCS", 0, u"Der aktuelle Ordner ist schreibgeschützt. Die Datei wird geschrieben nach:", u"The current folder is read-only. The file is written to:"},
    {"TSIOTransfer", "@idERR", 0, u"Fehler", u"Error"},
    {"TSIOTransfer", "Cancel", 0, u"Zurück", u"Cancel"},
    {"TSIOTransfer", "CoBoBaud", 6, u"38400", u"38400"},
    {"TSIOTransfer", "CoBoFrame", 3, u"No Parity 1 Stopbit", u"No Parity 1 Stopbit"},
    {"TSIOTransfer", "CBoShowMessage", 0, u"Verbindungs-Meldungen zeigen", u"Show Connection Message"},
    {"TDeviceConfigForm", "%Form%", 0, u"Konfiguration", u"Configuration"},
    {"TDeviceConfigForm", "BReadConfig", 0, u"Konfiguration lesen", u"Read Configuration"},
    {"TDeviceConfigForm", "@AnaIn32Bit", 0, u"Anzahl Kanäle Analogeingänge 32 Bit", u"Number of analog Input Channel 32 Bit"},
    {"TDeviceConfigForm", "@empty", 0, u"Leer", u"empty"},
    {"TParameter", "@empty", 0, u"leer", u"empty"},
    {"TParameter", "Panel1", 0, u"Mit einem Doppelklick auf das entsprechende Modul öffnet sich der Parameterdialog", u"Double click on modul  to open the parameter dialog"},
    {"TFehler", "%Form%", 0, u"Fehler", u"Error"},
    {"TFehler", "BReadError", 0, u"Fehler lesen", u"Read Error Register"},
    {"TFehler", "BSendAlarmMask", 0, u"Sende Alarmmaske", u"Send Alarm Mask"},
    {"TFehler", "@EEPnewErr", 0, u"EEPROM neu oder fehlerhaft", u"EEPROM new or fault"},
    {"TFehler", "@ModConfErr", 0, u"neue Modulkonfiguration", u"new Modul Configuration"},
    {"TFehler", "@modERR_Ueberlauf", 0, u"Wert Überlauf", u"Overflow Value"},
    {"TFehler", "@digOutSHORTCUT", 0, u"Kurzschluß", u"Shortcut"},
    {"TFehler", "@KennModul", 0, u"Modul / Kanal", u"Modul / Channel"},
    {"TAlarmMaske", "%Form%", 0, u"Alarm Maske", u"Error"},
    {"TAlarmMaske", "CBErrWriteEep", 0, u"EEPROM kann nicht feherfrei beschrieben werden", u"Write EEPROM impossible"},
    {"TAlarmMaske", "CBErrId", 0, u"Kennung der Modulle konnte nicht ausgelesen werden", u"Impossible to read modul ID"},
    {"TAlarmMaske", "CBErrRes3", 0, u"Reserviert", u"Reserved"},
    {"TParaDig", "%Form%", 0, u"digitale Parameter", u""},
    {"TParaDig", "RadioGroup72", 0, u"Kanal 72", u"Chan. 72"},
    {"TParaDig", "RadioGroup1", 1, u"letzter Wert", u"Last State"},
    {"TParaDig", "RadioGroup40", 3, u"Sichere 1", u"Fail State 1"},
    {"TParaDig", "@idERR_OUT", 0, u"Keine digitalen Ausgänge", u"No digital Outputs"},
    {"TParaAna", "%Form%", 0, u"analoge Parameter", u"analog Parameter"},
    {"TParaAna", "ComboBox1", 1, u"-3...3V", u"-3...3V"},
    {"TParaAna", "ComboBox16", 16, u"???", u"???"},
    {"TParaAna", "CoBoUnit9", 4, u"°C/10", u"°C/10"},
    {"TParaAna", "Label16", 0, u"Kanal 16", u"Chan. 16"},
    {"TParaAna", "Button1", 0, u"Schreiben", u"Write"},
    {"TParaAna", "@idERR_CONF", 0, u"Keine Konfiguration geladen", u"No active Configuration"},
    {"TParaAnaIn32Bit", "%Form%", 0, u"Parameter Analoge Eingänge 32Bit", u"analog 32Bit Input Parameter"},
    {"TParaAnaIn32Bit", "Button1", 0, u"Lesen", u"ReadAnaIn"},
    {"TParaAnaIn32Bit", "CoBoFormat5", 3, u"", u""},
    {"TParaAnaIn32Bit", "CoBoFormat5", 4, u"res Tara", u"res Tara"},
    {"TParaAnaIn32Bit", "CoBoAus16", 1, u"Netto", u"Netto"},
    {"TParaAnaOut", "%Form%", 0, u"Parameter analoge Ausgaenge", u"analog Output Parameter"},
    {"TCont", "%Form%", 0, u"Steuerung", u"Control"},
    {"TCont", "BSave", 0, u"Speichern", u"Save"},
    {"TCont", "@ProWert", 0, u"Prozeßwert", u"Process Value"},
    {"TCont", "@AnaOut", 0, u"Analoge Ausgänge", u"Analog Output"},
    {"TAllgePara", "%Form%", 0, u"Allgemeine Parameter", u"Normal Parameter"},
    {"TAllgePara", "@idERR_TOO", 0, u"Wert zu groß ", u"Too large value"},
    {"TAllgePara", "Edit1", 0, u"Edit1", u"Edit1"},
    {"TAllgePara", "Label14", 0, u"5", u"5"},
    {"TAllgePara", "BSetComDefault", 0, u"Kommunikation zurücksetzen", u"Set Communication Defaults"},
    {"TParamEdit", "%Form%", 0, u"ParamEdit", u""},
    {"TParamEdit", "@ConfirmData", 0, u"Zum Übernehmen der eingegebenen Daten ENTER drücken", u"Press ENTER  to confirm the new data"},
    {"TZusatzIOEdit", "%Form%", 0, u"Eigenschaften", u"Properties"},
    {"TZusatzIOEdit", "@idKNOTEN", 0, u"Knoten", u"Node"},
    {"TZusatzIOEdit", "LFunction", 0, u"Funktion", u"Function"},
    {"TOKBottomDlg", "%Form%", 0, u"Sprache", u"Language"},
    {"TOKBottomDlg", "OKBtn", 0, u"OK", u"OK"},
    {"TAboutBox", "%Form%", 0, u"Info", u"About"},
    {"TVo3112CCC", "@BFreeComClose", 0, u"Schließen", u"Close"},
    {"TVo3112CCC", "@BFreeCom", 0, u"freie Kommunikation", u"free Communication"},
};
// clang-format on

TEST(WordLists, SampledTexts)
{
    for (const Fact &f : Facts) {
        SCOPED_TRACE(testing::Message() << f.window << " " << f.key << " item " << f.item);
        const QStringList words = wordsOf(f.window);
        const auto p = findEntry(words, QString::fromLatin1(f.key));
        ASSERT_TRUE(p.has_value()) << "missing entry";
        const auto texts = elementTexts(words, *p);
        ASSERT_LT(f.item, static_cast<int>(texts.size())) << "too few continuation entries";
        EXPECT_EQ(texts[f.item].first.toStdString(), QString::fromUtf16(f.german).toStdString());
        EXPECT_EQ(texts[f.item].second.toStdString(), QString::fromUtf16(f.english).toStdString());
    }
}

struct ItemCount {
    const char *window;
    const char *keyPrefix; // elements keyPrefix + first .. keyPrefix + last
    int first;
    int last;
    int texts; // own entry plus continuations
};

const ItemCount ItemCounts[] = {
    {"TParaDig", "RadioGroup", 1, 72, 4},
    {"TParaAna", "ComboBox", 1, 16, 17},
    {"TParaAna", "CoBoUnit", 1, 16, 7},
    {"TParaAna", "Label", 1, 16, 1},
    {"TParaAnaIn32Bit", "CoBoAus", 1, 16, 4},
    {"TParaAnaIn32Bit", "CoBoFormat", 1, 16, 5},
    {"TParaAnaIn32Bit", "Label", 1, 16, 1},
    {"TParaAnaOut", "Label", 1, 16, 1},
    {"TCont", "Label", 1, 18, 1},
};

TEST(WordLists, ItemsPerElement)
{
    for (const ItemCount &c : ItemCounts) {
        const QStringList words = wordsOf(c.window);
        for (int n = c.first; n <= c.last; ++n) {
            const QString key = QString::fromLatin1(c.keyPrefix) + QString::number(n);
            SCOPED_TRACE(testing::Message() << c.window << " " << key.toStdString());
            const auto p = findEntry(words, key);
            ASSERT_TRUE(p.has_value()) << "missing entry";
            EXPECT_EQ(static_cast<int>(elementTexts(words, *p).size()), c.texts);
        }
    }
}

TEST(WordLists, ChannelCaptionsFollowTheirNumber)
{
    const struct {
        const char *window;
        const char *keyPrefix;
        int count;
    } rows[] = {
        {"TParaDig", "RadioGroup", 72},
        {"TParaAna", "Label", 16},
        {"TParaAnaIn32Bit", "Label", 16},
        {"TParaAnaOut", "Label", 16},
    };
    for (const auto &r : rows) {
        const QStringList words = wordsOf(r.window);
        for (int n = 1; n <= r.count; ++n) {
            const QString key = QString::fromLatin1(r.keyPrefix) + QString::number(n);
            SCOPED_TRACE(testing::Message() << r.window << " " << key.toStdString());
            const auto p = findEntry(words, key);
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(words.at(*p + 1), QStringLiteral("Kanal %1").arg(n));
            EXPECT_EQ(words.at(*p + 2), QStringLiteral("Chan. %1").arg(n));
        }
    }
}

// Editable fields, grids and elements whose texts come from elsewhere must
// not have an entry: the pass would overwrite what the user or the window set.
TEST(WordLists, NoEntryForElementsWithoutListText)
{
    const struct {
        const char *window;
        const char *key;
    } absent[] = {
        {"TVo3112CCC", "SGFreeCom"},
        {"TVo3112CCC", "Edit1"},
        {"TVo3112CCC", "EAutoSend"},
        {"TOKBottomDlg", "ComboBox1"},
        {"TDeviceConfigForm", "EHexID"},
        {"TDeviceConfigForm", "SGModuls"},
        {"TDeviceConfigForm", "SGKonfig"},
        {"TSIOTransfer", "CBAdresse"},
        {"TSIOTransfer", "SEPort"},
        {"TCont", "ESaveTime"},
        {"TCont", "SG_ProValueIn"},
        {"TCont", "SG_ProValueOut"},
        {"TCont", "CheckBox73"},
        {"TCont", "Edit1"},
        {"TFehler", "SGKopplerFehler"},
        {"TFehler", "SGModulFehler"},
        {"TParaAna", "Edit1"},
        {"TParaAna", "Offset1"},
        {"TParaAnaIn32Bit", "Edit1"},
        {"TParaAnaIn32Bit", "PV1_1"},
        {"TParaAnaIn32Bit", "Typ1"},
        {"TParaAnaOut", "BRead"},
        {"TParaAnaOut", "BWrite"},
        {"TParaAnaOut", "BCancel"},
        {"TParaAnaOut", "SgAnaOutPara"},
        {"TParaAnaOut", "CbAnaOutTyp"},
        {"TAllgePara", "Edit2"},
        {"TAllgePara", "CBIpAdresse"},
        {"TAllgePara", "EdMetric1"},
        {"TParameter", "SGParam"},
        {"TParamEdit", "ECoupler0"},
        {"TParamEdit", "TCCoupler"},
        {"TZusatzIOEdit", "EMix0"},
        {"TZusatzIOEdit", "CBFunction"},
    };
    for (const auto &a : absent) {
        EXPECT_FALSE(findEntry(wordsOf(a.window), QString::fromLatin1(a.key)).has_value())
            << a.window << " has an entry for " << a.key;
    }
}

TEST(WordLists, LanguageDialogListsTitleAndOkOnly)
{
    EXPECT_EQ(TOKBottomDlgWords().size(), 2 * EntrySize);
}

} // namespace
