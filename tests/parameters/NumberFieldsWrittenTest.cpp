// Field -> written value for every number field of the dedicated parameter
// windows: a text typed and left either goes into the write request as the
// field shows it, or the write is refused with a message naming the field and
// nothing is sent. No wrap, no cut, no stale value from an earlier keystroke.
#include "OneWindow.h"

#include "app/Conversions.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace
{

struct Typed {
    const char *text;
    std::optional<qint64> written; // nothing: the write is refused
};

struct NumberField {
    const char *name; // as the refusal names it
    std::function<QLineEdit *()> edit;
    std::function<void()> write;
    std::function<bool()> sent; // the write went to the line
    int at;                     // first byte of the value in TxFrame
    int width;                  // bytes, most significant first
    bool isSigned;              // the bytes read back as a signed number
    const char *baseline;       // a valid text the field holds before each case
    std::vector<Typed> cases;
};

// As the user does it: the field's text replaced key by key, then left.
void typeAndLeave(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
}

qint64 sentValue(const Deklarat &d, const NumberField &f)
{
    quint64 v = 0;
    for (int i = 0; i < f.width; ++i)
        v = v << 8 | d.TxFrame[static_cast<size_t>(f.at + i)];
    if (!f.isSigned)
        return static_cast<qint64>(v);
    const int unused = 64 - 8 * f.width;
    return static_cast<qint64>(v << unused) >> unused;
}

void checkField(BareProgram &t, const NumberField &f)
{
    Deklarat &d = t.d;
    for (const Typed &c : f.cases) {
        SCOPED_TRACE(std::string(f.name) + " <- \"" + c.text + "\"");
        f.edit()->setText(QString::fromLatin1(f.baseline));
        t.sink.clear();
        const QString typed = QString::fromLatin1(c.text);
        typeAndLeave(f.edit(), typed);
        EXPECT_EQ(f.edit()->text(), typed); // the field shows what was typed, never another number

        d.TxFrame.fill(0);
        d.TxLength = 0;
        f.write();
        if (c.written) {
            EXPECT_TRUE(t.sink.conversionErrors.empty());
            EXPECT_TRUE(t.sink.boxes.empty());
            ASSERT_TRUE(f.sent());
            EXPECT_EQ(sentValue(d, f), *c.written);
            EXPECT_EQ(ParseUserInteger(f.edit()->text()), *c.written); // written equals shown
            continue;
        }
        // Said when the field was left, and again by the write it stops.
        ASSERT_EQ(t.sink.conversionErrors.size(), 1u);
        EXPECT_TRUE(t.sink.conversionErrors[0].contains(QLatin1Char('\'') + typed + QLatin1Char('\'')))
            << t.sink.conversionErrors[0].toStdString();
        ASSERT_EQ(t.sink.boxes.size(), 1u);
        EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Error);
        EXPECT_TRUE(t.sink.boxes[0].text.contains(QString::fromUtf8(f.name))) << t.sink.boxes[0].text.toStdString();
        EXPECT_FALSE(f.sent());
        EXPECT_EQ(d.TxFrame[7], 0); // nothing built
    }
    f.edit()->setText(QString::fromLatin1(f.baseline)); // the next field's writes are not stopped by this one
}

// Cases every field gets: no number, an empty field, a sign alone, a text
// that wrapped once (2^64 + 5).
std::vector<Typed> withCommonRefusals(std::vector<Typed> cases)
{
    for (const char *text : {"abc", "", "-", "0x", "1.5", "18446744073709551621"})
        cases.push_back({text, std::nullopt});
    return cases;
}

TEST(NumberFieldsWritten, AnalogInputs16Bit)
{
    OneWindow<TParaAna> t;
    Deklarat &d = t.d;
    d.StationConfig.AnaInCount = 2;
    d.StationConfig.ConfigValid = 1;
    TParaAna *w = t.w;
    w->FormActivate();
    auto write = [w] {
        w->Timer3->stop();
        w->WriteAnaInClick();
    };
    auto sent = [w] { return w->Timer3->isActive(); };
    const NumberField fields[] = {
        // Channel 2's record from byte 13 + 6: SetupWord, FilterValue, OffsetValue.
        {"Kanal 2, Filter", [w] { return w->Row[2].Edit; }, write, sent, 13 + 6 + 2, 2, false, "51",
         withCommonRefusals({{"1", 1},
                             {"255", 255},
                             {"0x10", 16},
                             {"051", 51},
                             {"0", std::nullopt},
                             {"256", std::nullopt},
                             {"-1", std::nullopt},
                             {"99999", std::nullopt}, // showed "25599" and wrote 255
                             {"65791", std::nullopt}})},
        {"Kanal 2, Offset Prozesswert", [w] { return w->Row[2].Offset; }, write, sent, 13 + 6 + 4, 2, true, "0",
         withCommonRefusals({{"-32767", -32767},
                             {"32767", 32767},
                             {"-5", -5},
                             {"-010", -10},
                             {"+7", 7},
                             {"32768", std::nullopt},
                             {"-32768", std::nullopt},
                             {"65531", std::nullopt}})},
    };
    for (const NumberField &f : fields)
        checkField(t, f);
}

TEST(NumberFieldsWritten, AnalogInputs32Bit)
{
    OneWindow<TParaAnaIn32Bit> t;
    Deklarat &d = t.d;
    d.StationConfig.AnaIn32Count = 2;
    d.StationConfig.SlotModuleIds[1] = 10;
    d.StationConfig.ConfigValid = 1;
    TParaAnaIn32Bit *w = t.w;
    w->FormActivate();
    auto write = [w] {
        w->Timer3->stop();
        w->WriteAnaInClick();
    };
    auto sent = [w] { return w->Timer3->isActive(); };
    const std::vector<Typed> int32Cases = withCommonRefusals({{"2147483647", 2147483647},
                                                              {"-2147483648", -2147483648LL},
                                                              {"0", 0},
                                                              {"-1", -1},
                                                              {"$7FFFFFFF", 2147483647},
                                                              {"2147483648", std::nullopt}, // written as 214748364
                                                              {"-2147483649", std::nullopt},
                                                              {"4294967296", std::nullopt}, // written as 429496729
                                                              {"99999999999", std::nullopt}});
    // Channel 1 from byte 13: SetupWord, ModeWord (filter in its high byte),
    // lower, upper process value, upper field value.
    const NumberField fields[] = {
        {"Kanal 1, Filter", [w] { return w->Row[1].Edit; }, write, sent, 15, 1, false, "51",
         withCommonRefusals({{"1", 1},
                             {"255", 255},
                             {"0x7F", 127},
                             {"0", std::nullopt},
                             {"256", std::nullopt},
                             {"99999", std::nullopt}})},
        {"Kanal 1, unterer ProWert", [w] { return w->Row[1].PV1_; }, write, sent, 17, 4, true, "0", int32Cases},
        {"Kanal 1, oberer ProWert", [w] { return w->Row[1].PV2_; }, write, sent, 21, 4, true, "10000", int32Cases},
        {"Kanal 1, oberer FeldWert", [w] { return w->Row[1].FV2_; }, write, sent, 25, 4, true, "10000", int32Cases},
    };
    for (const NumberField &f : fields)
        checkField(t, f);
}

} // namespace
