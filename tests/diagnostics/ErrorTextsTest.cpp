// Texts of the error window from its own word list, in both languages.
#include "diagnostics/ErrorTexts.h"
#include "translation/WordLists.h"

#include <gtest/gtest.h>

namespace
{

// LookupMessage over the error window's list: German (0) or English (1).
MessageLookup words(int language)
{
    const QStringList list = TFehlerWords();
    return [list, language](const QString &id) {
        for (int p = 0; p + 3 <= list.size(); p += 3)
            if (list[p].compare(id, Qt::CaseInsensitive) == 0)
                return list[p + 1 + language];
        return id.toLower();
    };
}

const MessageLookup German = words(0);
const MessageLookup English = words(1);

TEST(CouplerErrorTexts, EveryBitInBothLanguages)
{
    struct Bit {
        const char16_t *german;
        const char16_t *english;
    };
    const Bit bits[16] = {
        {u"Fehler digitale Eingänge", u"digital Input Error"},
        {u"Fehler digitale Ausgänge", u"digital Output Error"},
        {u"Fehler analoge Eingänge", u"analog Input Error"},
        {u"Fehler analoge Ausgänge", u"analog Output Error"},
        {u"EEPROM Lesefehler", u"EEPROM read Error"},
        {u"falsche IP-Adresse", u"wrong IP-Address"},
        {u"Reserviert", u"Reserved"},
        {u"unbekannter Kopplertyp", u"unknown Coupler"},
        {u"Linearisierungsfehler", u"Linearized Error"},
        {u"EEPROM neu oder fehlerhaft", u"EEPROM new or fault"},
        {u"EEPROM Schreibfehler", u"EEPROM write Error"},
        {u"EEPROM Lesefehler", u"EEPROM read Error"},
        {u"Reserviert", u"Reserved"},
        {u"Applikationsfehler", u"Application Error"},
        {u"Slot IDs unbestimmt", u"Slot IDs undeterminate"},
        {u"neue Modulkonfiguration", u"new Modul Configuration"},
    };
    const QStringList de = CouplerErrorTexts(0xFFFF, German);
    const QStringList en = CouplerErrorTexts(0xFFFF, English);
    ASSERT_EQ(de.size(), 16);
    ASSERT_EQ(en.size(), 16);
    for (int bit = 0; bit < 16; ++bit) {
        SCOPED_TRACE(bit);
        EXPECT_EQ(de[bit], QString::fromUtf16(bits[bit].german));
        EXPECT_EQ(en[bit], QString::fromUtf16(bits[bit].english));
        // One bit alone shows only its own row.
        const QStringList single = CouplerErrorTexts(static_cast<quint16>(1u << bit), German);
        for (int row = 0; row < 16; ++row)
            EXPECT_EQ(single[row].isEmpty(), row != bit) << row;
    }
}

TEST(CouplerErrorTexts, Word8005ThenZero)
{
    const QStringList texts = CouplerErrorTexts(0x8005, German);
    for (int row = 0; row < 16; ++row) {
        if (row == 0)
            EXPECT_EQ(texts[row], QStringLiteral("Fehler digitale Eingänge"));
        else if (row == 2)
            EXPECT_EQ(texts[row], QStringLiteral("Fehler analoge Eingänge"));
        else if (row == 15)
            EXPECT_EQ(texts[row], QStringLiteral("neue Modulkonfiguration"));
        else
            EXPECT_TRUE(texts[row].isEmpty()) << row;
    }
    for (const QString &text : CouplerErrorTexts(0, German))
        EXPECT_TRUE(text.isEmpty());
}

TEST(ChannelStatusTexts, AnalogCodesByKind)
{
    struct Code {
        quint16 code;
        const char16_t *input; // nullptr: the cell keeps its text
        const char16_t *output;
        const char16_t *inputEnglish;
        const char16_t *outputEnglish;
    };
    const Code codes[] = {
        {0, u"Ok", u"Ok", u"Ok", u"Ok"},
        {1, nullptr, nullptr, nullptr, nullptr},
        {2, u"Ok", u"Ok", u"Ok", u"Ok"},
        {3, u"Wert Überlauf", u"Kalibrationsfehler", u"Overflow Value", u"Calibration Error"},
        {4, u"Reserviert", u"Reserviert", u"Reserved", u"Reserved"},
        {5, u"Wert Unterlauf", u"Reserviert", u"Underflow Value", u"Reserved"},
        {6, u"Reserviert", u"Reserviert", u"Reserved", u"Reserved"},
        {7, u"Reserviert", u"Reserviert", u"Reserved", u"Reserved"},
        {8, u"Reserviert", u"Reserviert", u"Reserved", u"Reserved"},
        {9, u"Kalibrationsfehler", u"Übertragungsfehler", u"Calibration Error", u"Transmission Error"},
        {10, nullptr, nullptr, nullptr, nullptr},
        {0x00FF, nullptr, nullptr, nullptr, nullptr},
        {0xFFFF, nullptr, nullptr, nullptr, nullptr},
    };
    const auto expect = [](std::optional<QString> got, const char16_t *want) {
        if (!want)
            EXPECT_FALSE(got.has_value()) << got.value_or(QString()).toStdString();
        else
            EXPECT_EQ(got.value_or(QStringLiteral("<none>")), QString::fromUtf16(want));
    };
    for (const Code &c : codes) {
        SCOPED_TRACE(c.code);
        expect(StatusCellText(2, c.code, German), c.input);
        expect(StatusCellText(4, c.code, German), c.output);
        expect(StatusCellText(2, c.code, English), c.inputEnglish);
        expect(StatusCellText(4, c.code, English), c.outputEnglish);
    }
}

TEST(ChannelStatusTexts, CompensationIsOkOrTransmissionError)
{
    EXPECT_EQ(StatusCellText(3, 0, German), QStringLiteral("Ok"));
    for (quint16 word : {1, 3, 10, 0x8000, 0xFFFF}) {
        EXPECT_EQ(StatusCellText(3, word, German), QStringLiteral("Übertragungsfehler")) << word;
        EXPECT_EQ(StatusCellText(3, word, English), QStringLiteral("Transmission Error")) << word;
    }
    // Steps without status words give no cell text.
    EXPECT_FALSE(StatusCellText(1, 0, German).has_value());
    EXPECT_FALSE(StatusCellText(6, 0, German).has_value());
}

TEST(DigitalOutputModuleTexts, PairsOfChannels)
{
    struct Word {
        quint16 word;
        const char16_t *german;
        const char16_t *english;
    };
    const Word words[] = {
        {0x0000, u"Ok", u"Ok"},
        {0x0031, u"Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2", u"Break Channel 1/2, 3/4;  Shortcut Channel 1/2"},
        {0x0004, u"Kurzschluß Kanal 5/6", u"Shortcut Channel 5/6"},
        {0x0080, u"Leerlauf Kanal 7/8", u"Break Channel 7/8"},
        {0x00F0, u"Leerlauf Kanal 1/2, 3/4, 5/6, 7/8", u"Break Channel 1/2, 3/4, 5/6, 7/8"},
        {0x000A, u"Kurzschluß Kanal 3/4, 7/8", u"Shortcut Channel 3/4, 7/8"},
        {0x0218, u"Leerlauf Kanal 1/2;  Kurzschluß Kanal 7/8", u"Break Channel 1/2;  Shortcut Channel 7/8"},
        // Bits above 7 are not shown: the cell is emptied.
        {0x0100, u"", u""},
        {0xFF00, u"", u""},
    };
    for (const Word &w : words) {
        SCOPED_TRACE(w.word);
        EXPECT_EQ(StatusCellText(5, w.word, German), QString::fromUtf16(w.german));
        EXPECT_EQ(StatusCellText(5, w.word, English), QString::fromUtf16(w.english));
    }
}

} // namespace
