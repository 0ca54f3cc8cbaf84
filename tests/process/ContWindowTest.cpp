// The control window driven through its handlers: layout on activation, the
// request and reply timers, the display of the inputs and the log.
#include "StationFixture.h"
#include "TestStation.h"
#include "Wait.h"
#include "process/AutomationController.h"
#include "process/TCont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace
{

using stationfixture::DemoSlots;
using stationfixture::LoadStation;
using Bytes = std::vector<int>;

class ContWindow : public ::testing::Test
{
protected:
    TestStation t;
    ProgramState &d = t.d;
    TCont &w = *t.d.Cont;

    void load(const std::array<quint16, SlotCount> &ids)
    {
        LoadStation(d.StationConfig, ids);
        w.FormActivate();
    }

    // A process data reply as the serial line delivers it (the test station
    // has no TCP connection): data from RxFrame[9], two CRC bytes behind.
    void putReply(const Bytes &data)
    {
        std::vector<quint8> frame = {d.SlaveAddress, 0x17, static_cast<quint8>(data.size())};
        for (int b : data)
            frame.push_back(static_cast<quint8>(b));
        frame.insert(frame.end(), {0, 0}); // CRC bytes, not checked by the window
        HandReply(d, frame);
    }

    // One request and its reply, as the two timers run them, and the display
    // tick that follows within a display period.
    void cycle(const Bytes &replyData)
    {
        exchange(replyData);
        w.DisplayTimerTimer();
    }

    void exchange(const Bytes &replyData)
    {
        w.AnfrageTimer();
        putReply(replyData);
        w.AntwortTimer();
    }

    QString inCell(int row) const { return w.SG_ProValueIn->item(row, 1)->text(); }
    void setOutCell(int row, const QString &text) { w.SG_ProValueOut->item(row, 1)->setText(text); }
    quint16 sentRegister(int index) const
    {
        return static_cast<quint16>(d.TxFrame[static_cast<size_t>(17 + 2 * index)] << 8 |
                                    d.TxFrame[static_cast<size_t>(18 + 2 * index)]);
    }
};

TEST_F(ContWindow, ActivationLaysOutTheSlotGroupsOfTheStation)
{
    load(DemoSlots); // 2, 6, 7, 1, 4, 10, 14, 5, 0
    // Inputs: slot 1 four channels, slot 2 eight, the others hidden.
    EXPECT_FALSE(w.InputGroups[1]->isHidden());
    EXPECT_TRUE(w.InputGroups[1]->isEnabled());
    for (int b = 0; b < 8; ++b) {
        EXPECT_EQ(w.inputCheckBox(1, b)->isHidden(), b >= 4) << "bit " << b;
        EXPECT_FALSE(w.inputCheckBox(2, b)->isHidden()) << "bit " << b;
    }
    for (int s = 3; s <= 9; ++s) {
        EXPECT_TRUE(w.InputGroups[static_cast<size_t>(s)]->isHidden()) << "slot " << s;
        EXPECT_FALSE(w.InputGroups[static_cast<size_t>(s)]->isEnabled()) << "slot " << s;
    }
    // Outputs: slot 3 four channels (CheckBox89 .. CheckBox92), slot 4 eight.
    EXPECT_FALSE(w.OutputGroups[3]->isHidden());
    EXPECT_EQ(w.outputCheckBox(3, 0), w.CheckBox[89]);
    EXPECT_EQ(w.CheckBox[89]->objectName(), QStringLiteral("CheckBox89"));
    for (int n = 89; n <= 96; ++n)
        EXPECT_EQ(w.CheckBox[static_cast<size_t>(n)]->isHidden(), n > 92) << "CheckBox" << n;
    for (int b = 0; b < 8; ++b)
        EXPECT_FALSE(w.outputCheckBox(4, b)->isHidden());
    for (int s : {1, 2, 5, 6, 7, 8, 9}) {
        EXPECT_TRUE(w.OutputGroups[static_cast<size_t>(s)]->isHidden()) << "slot " << s;
        EXPECT_FALSE(w.OutputGroups[static_cast<size_t>(s)]->isEnabled()) << "slot " << s;
    }
    // Module names in both text fields of every slot, hidden groups too.
    for (int s = 1; s <= 9; ++s) {
        const QString name = d.ModuleShortNames[DemoSlots[static_cast<size_t>(s - 1)]];
        EXPECT_EQ(w.Edit[static_cast<size_t>(s)]->text(), name) << "slot " << s;
        EXPECT_EQ(w.Edit[static_cast<size_t>(9 + s)]->text(), name) << "slot " << s;
    }
    EXPECT_FALSE(w.Edit[1]->text().isEmpty());

    // Grids: 8 analog inputs, 4 analog outputs, headings and channel numbers.
    ASSERT_EQ(w.SG_ProValueIn->rowCount(), 9);
    ASSERT_EQ(w.SG_ProValueOut->rowCount(), 5);
    for (QTableWidget *grid : {w.SG_ProValueIn, w.SG_ProValueOut}) {
        EXPECT_EQ(grid->columnCount(), 2);
        EXPECT_EQ(grid->columnWidth(0), 95);
        EXPECT_EQ(grid->columnWidth(1), 150);
        EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Kanal"));
        EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("Prozeßwert"));
        for (int r = 1; r < grid->rowCount(); ++r) {
            EXPECT_EQ(grid->item(r, 0)->text(), QString::number(r));
            EXPECT_EQ(grid->item(r, 1)->text(), QStringLiteral("0"));
        }
        EXPECT_FALSE(grid->isHidden());
    }
    EXPECT_TRUE(w.SG_ProValueOut->item(1, 1)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(w.SG_ProValueOut->item(1, 0)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(w.SG_ProValueIn->item(1, 1)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_EQ(w.LAnaInput->text(), QStringLiteral("Analoge Eingänge"));
}

TEST_F(ContWindow, ANewConfigurationShowsAfterTheNextActivation)
{
    load({2, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(w.inputCheckBox(1, 4)->isHidden());
    EXPECT_TRUE(w.OutputGroups[3]->isHidden());
    LoadStation(d.StationConfig, {6, 0, 7, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(w.inputCheckBox(1, 4)->isHidden()); // not before the activation
    w.FormActivate();
    for (int b = 0; b < 8; ++b)
        EXPECT_FALSE(w.inputCheckBox(1, b)->isHidden()) << "bit " << b;
    EXPECT_FALSE(w.OutputGroups[3]->isHidden());
    EXPECT_TRUE(w.OutputGroups[3]->isEnabled());
    // No analog channels now: both grids hidden and disabled.
    EXPECT_TRUE(w.SG_ProValueIn->isHidden());
    EXPECT_FALSE(w.SG_ProValueIn->isEnabled());
    EXPECT_TRUE(w.SG_ProValueOut->isHidden());
    EXPECT_FALSE(w.SG_ProValueOut->isEnabled());
}

TEST_F(ContWindow, OutputCheckBoxesSetTheBitsOfTheirSlot)
{
    load(DemoSlots);
    w.CheckBox[100]->click(); // slot 4, bit 3
    EXPECT_EQ(d.DigOutSlotBytes[4], 0x08);
    w.CheckBox[73]->setChecked(true); // set by a program: same effect
    EXPECT_EQ(d.DigOutSlotBytes[1], 0x01);
    w.CheckBox[144]->setChecked(true);
    EXPECT_EQ(d.DigOutSlotBytes[9], 0x80);
    w.CheckBox[100]->click();
    EXPECT_EQ(d.DigOutSlotBytes[4], 0x00);
    // Input check boxes change nothing but themselves.
    w.inputCheckBox(2, 0)->click();
    EXPECT_EQ(d.DigOutSlotBytes[2], 0x00);
    EXPECT_EQ(d.DigInBytes[0], 0x00);
    // Check boxes keep their states across an activation.
    w.FormActivate();
    EXPECT_TRUE(w.CheckBox[73]->isChecked());
}

TEST_F(ContWindow, StartRequestAndReplyWithTheDemoStation)
{
    load(DemoSlots);
    d.DataTimeout = 150;
    w.BStartClick();
    EXPECT_TRUE(w.Anfrage->isActive());
    EXPECT_EQ(w.Anfrage->interval(), 150);
    EXPECT_FALSE(w.BStart->isEnabled());
    EXPECT_EQ(w.CycleRunning, 1);

    // Outputs from the grid (both readings of a word) and the check boxes.
    setOutCell(1, QStringLiteral("4464"));
    setOutCell(2, QStringLiteral("-1"));
    setOutCell(3, QStringLiteral("65535"));
    setOutCell(4, QStringLiteral("0x7F"));
    w.outputCheckBox(3, 0)->setChecked(true); // module 7: channels 0..3
    w.outputCheckBox(3, 2)->setChecked(true);
    w.outputCheckBox(4, 1)->setChecked(true); // module 1: channels 4..11
    w.outputCheckBox(4, 7)->setChecked(true);
    d.TransactionId = 41;
    w.AnfrageTimer();
    EXPECT_FALSE(w.Anfrage->isActive());
    EXPECT_TRUE(w.Antwort->isActive());
    EXPECT_EQ(w.Antwort->interval(), 150);
    EXPECT_EQ(w.ResponseRetries, 0);
    EXPECT_EQ(d.TransactionId, 41); // the cycle sends it unchanged
    EXPECT_EQ(d.TxLength, 27);
    const Bytes head{0x08, 0x17, 0x01, 0x00, 0x00, 0x0B, 0x09, 0x00, 0x00, 0x05, 0x0A};
    for (size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(d.TxFrame[6 + i], head[i]) << "byte " << 6 + i;
    EXPECT_EQ(sentRegister(0), 0x1170);
    EXPECT_TRUE(t.sink.conversionErrors.empty());
    EXPECT_EQ(sentRegister(1), 0xFFFF);
    EXPECT_EQ(sentRegister(2), 0xFFFF);
    EXPECT_EQ(sentRegister(3), 0x007F);
    EXPECT_EQ(d.DigOutBytes[0], 0x25); // 0x05 | (0x82 & 0x0F) << 4
    EXPECT_EQ(d.DigOutBytes[1], 0x08);
    EXPECT_EQ(sentRegister(4), 0x2508);

    // Reply: 6 16-bit and 2 32-bit channels (format 1,1,1,1,0,0,1,1), then
    // the digital inputs.
    putReply({0x00, 0x64, 0xFF, 0xFB, 0x80, 0x00, 0x7F, 0xFF, // 100, -5, -32768, 32767
              0xFF, 0xFE, 0xEE, 0x90, 0x00, 0x01, 0x86, 0xA0, // -70000, 100000
              0x00, 0x0A, 0xFF, 0xFF,                         // 10, -1
              0xA5, 0x0C});
    w.AntwortTimer();
    EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
    const std::array<qint32, 8> expected{100, -5, -32768, 32767, -70000, 100000, 10, -1};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(d.AnaInValues[i], expected[i]) << "channel " << i;
        EXPECT_EQ(inCell(static_cast<int>(i) + 1), QString::number(expected[i])) << "channel " << i;
    }
    EXPECT_EQ(d.DigInBytes[0], 0xA5);
    EXPECT_EQ(d.DigInBytes[1], 0x0C);
    // Slot 1 (4 channels) shows bits 0..3 of byte 0, slot 2 bits 4..11.
    const int slot1[] = {1, 0, 1, 0};
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(w.inputCheckBox(1, b)->isChecked(), slot1[b] == 1) << "slot 1 bit " << b;
    const int slot2[] = {0, 1, 0, 1, 0, 0, 1, 1};
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(w.inputCheckBox(2, b)->isChecked(), slot2[b] == 1) << "slot 2 bit " << b;
    EXPECT_TRUE(w.Anfrage->isActive()); // next request armed
    EXPECT_FALSE(w.Antwort->isActive());
}

TEST_F(ContWindow, DigitalInputsOfMixedFourAndEightChannelSlots)
{
    // Slots: 4 channels, 8 channels, an empty slot, an output module, 4 channels.
    load({2, 6, 0, 1, 9, 0, 0, 0, 0});
    ASSERT_EQ(d.StationConfig.DigInCount, 16);
    w.BStartClick();
    cycle({0xA5, 0x3C});
    const int expected[][8] = {
        {1, 0, 1, 0},             // slot 1: bits 0..3 of byte 0
        {0, 1, 0, 1, 0, 0, 1, 1}, // slot 2: bits 4..7 of byte 0, 0..3 of byte 1
        {},
        {},
        {1, 1, 0, 0}, // slot 5: bits 4..7 of byte 1
    };
    for (int s : {1, 2, 5}) {
        const int channels = s == 2 ? 8 : 4;
        for (int b = 0; b < channels; ++b)
            EXPECT_EQ(w.inputCheckBox(s, b)->isChecked(), expected[s - 1][b] == 1) << "slot " << s << " bit " << b;
    }
    // The next reply sets the boxes again, also one the user clicked.
    w.inputCheckBox(1, 1)->click();
    cycle({0x00, 0x00});
    for (int s : {1, 2, 5})
        for (int b = 0; b < 8; ++b)
            EXPECT_FALSE(w.inputCheckBox(s, b)->isChecked()) << "slot " << s << " bit " << b;
}

TEST_F(ContWindow, MoreThanSixteenAnalogInputsAreAllShownAndTheFirstSixteenKept)
{
    load({4, 4, 4, 4, 4, 10, 0, 0, 0}); // 20 16-bit, 2 32-bit channels
    ASSERT_EQ(w.SG_ProValueIn->rowCount(), 23);
    Bytes data;
    for (int ch = 0; ch < 20; ++ch) {
        data.push_back(0);
        data.push_back(ch + 1);
    }
    for (int v : {0x00, 0x0F, 0x42, 0x40, 0xFF, 0xF0, 0xBD, 0xC0})
        data.push_back(v);
    w.BStartClick();
    cycle(data);
    for (int ch = 0; ch < 20; ++ch)
        EXPECT_EQ(inCell(ch + 1), QString::number(ch + 1)) << "channel " << ch + 1;
    EXPECT_EQ(inCell(21), QStringLiteral("1000000"));
    EXPECT_EQ(inCell(22), QStringLiteral("-1000000"));
    EXPECT_EQ(d.AnaInValues[15], 16);
    EXPECT_EQ(d.AnaInAllValues[16], 17);
    EXPECT_EQ(d.AnaInAllValues[21], -1000000);
}

TEST_F(ContWindow, InputsAreShownOnceADisplayPeriodWhileTheImageTakesEveryReply)
{
    load(DemoSlots);
    w.BStartClick();
    const auto reply = [](int value, int bits) {
        Bytes data(20, 0);
        data[1] = value;
        data.push_back(bits);
        data.push_back(0);
        return data;
    };
    exchange(reply(1, 0x01)); // the first reply after a quiet period shows at once
    EXPECT_EQ(inCell(1), QStringLiteral("1"));
    EXPECT_TRUE(w.inputCheckBox(1, 0)->isChecked());
    EXPECT_TRUE(w.DisplayTimer->isActive());

    exchange(reply(2, 0x02)); // within the display period: image only
    EXPECT_EQ(d.AnaInValues[0], 2);
    EXPECT_EQ(d.DigInBytes[0], 0x02);
    EXPECT_EQ(inCell(1), QStringLiteral("1"));
    EXPECT_TRUE(w.inputCheckBox(1, 0)->isChecked());
    const PipeResponseFields pipe = ParsePipeResponse(t.station.automation->CurrentPipeResponse());
    EXPECT_EQ(pipe.AnaIn[0], 2); // the pipe reads the image, not the screen
    EXPECT_EQ(pipe.DigIn[0], 0x02);

    exchange(reply(3, 0x04));
    w.DisplayTimerTimer(); // the display tick shows the latest reply
    EXPECT_EQ(inCell(1), QStringLiteral("3"));
    EXPECT_FALSE(w.inputCheckBox(1, 0)->isChecked());
    EXPECT_TRUE(w.inputCheckBox(1, 2)->isChecked());
    EXPECT_TRUE(w.DisplayTimer->isActive());

    w.DisplayTimerTimer(); // nothing new: the display rests
    EXPECT_FALSE(w.DisplayTimer->isActive());
    exchange(reply(4, 0x00));
    EXPECT_EQ(inCell(1), QStringLiteral("4"));
}

TEST_F(ContWindow, ASilentCouplerIsGivenUpAfterRetryLimitPlusOneChecks)
{
    load(DemoSlots);
    d.RetryLimit = 2;
    d.StationFlags = StationFlag::ProcessDataAnswered;
    w.BStartClick();
    w.AnfrageTimer();
    for (int retry = 1; retry <= 2; ++retry) {
        w.AntwortTimer(); // RxCount stays 0
        EXPECT_EQ(w.ResponseRetries, retry);
        EXPECT_TRUE(w.Antwort->isActive());
        EXPECT_FALSE(w.Anfrage->isActive());
        EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
    }
    w.AntwortTimer(); // the third check gives up
    EXPECT_FALSE(w.Antwort->isActive());
    EXPECT_FALSE(d.StationFlags & StationFlag::ProcessDataAnswered);
    EXPECT_TRUE(w.Anfrage->isActive()); // the cycle goes on
    EXPECT_TRUE(t.sink.boxes.empty());
    // The next request starts counting anew.
    w.AnfrageTimer();
    EXPECT_EQ(w.ResponseRetries, 0);
}

TEST_F(ContWindow, StopWhileACheckIsArmedLetsItRunOnceWithoutANewRequest)
{
    load(DemoSlots);
    w.BStartClick();
    w.AnfrageTimer();
    w.BStopClick();
    EXPECT_TRUE(w.Antwort->isActive());
    EXPECT_TRUE(w.BStart->isEnabled());
    EXPECT_EQ(w.CycleRunning, 0);
    putReply({0x00, 0x2A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00});
    w.AntwortTimer();
    EXPECT_EQ(d.AnaInValues[0], 42); // processed
    EXPECT_TRUE(w.inputCheckBox(1, 0)->isChecked());
    EXPECT_FALSE(w.Anfrage->isActive());
    EXPECT_FALSE(w.Antwort->isActive());
}

TEST_F(ContWindow, ExceptionsAndRepliesToOtherRequestsLeaveTheImage)
{
    load(DemoSlots);
    w.BStartClick();
    cycle({0x00, 0x07, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00});
    ASSERT_EQ(d.AnaInValues[0], 7);
    ASSERT_EQ(inCell(1), QStringLiteral("7"));

    // Only the cycle's own reply is taken; a frame that is not its reply
    // leaves the cycle waiting, an exception or a short reply leaves the image.
    struct Case {
        const char *name;
        int function;
        int byteCount;
        int frameBytes; // unit identifier to CRC
        bool cyclesReply;
        bool answered; // bit 0x08: values came
    };
    const Case cases[] = {
        {"exception", 0x97, 0x04, 5, true, true},
        {"function_23_cut_short", 0x17, 22, 3 + 22, true, true},
        {"slot_list_reply", 0x04, 28, 3 + 28 + 2, false, false},
        {"function_23_of_another_size", 0x17, 20, 3 + 20 + 2, false, false},
    };
    for (const Case &c : cases) {
        w.AnfrageTimer();
        d.StationFlags = 0;
        std::vector<quint8> frame(static_cast<size_t>(c.frameBytes), 0x11);
        frame[1] = static_cast<quint8>(c.function);
        frame[2] = static_cast<quint8>(c.byteCount);
        HandReply(d, frame);
        w.AntwortTimer();
        EXPECT_EQ(bool(d.StationFlags & StationFlag::ProcessDataAnswered), c.answered) << c.name;
        EXPECT_EQ(d.AnaInValues[0], 7) << c.name;
        EXPECT_EQ(d.AnaInAllValues[1], 0) << c.name;
        EXPECT_EQ(inCell(1), QStringLiteral("7")) << c.name;
        EXPECT_EQ(d.DigInBytes[0], 0x03) << c.name;
        EXPECT_TRUE(w.inputCheckBox(1, 1)->isChecked()) << c.name;
        // Answered: the next request is due; otherwise the reply is still awaited.
        EXPECT_EQ(w.Anfrage->isActive(), c.cyclesReply) << c.name;
        EXPECT_EQ(w.Antwort->isActive(), !c.cyclesReply) << c.name;
        EXPECT_TRUE(t.sink.boxes.empty()) << c.name;
        w.Antwort->stop();
        w.Anfrage->stop();
    }
}

// While the coupler gives no values, the last ones stay on screen greyed, with
// a line saying since when nothing came or which exception came instead.
TEST_F(ContWindow, ValuesAreMarkedNotCurrentUntilGoodRepliesComeAgain)
{
    const QRegularExpression sinceGerman(QStringLiteral("^keine Antwort seit (\\d\\d:\\d\\d:\\d\\d)$"));
    const QRegularExpression sinceEnglish(QStringLiteral("^no answer since \\d\\d:\\d\\d:\\d\\d$"));
    struct Case {
        const char *name;
        int exceptionCode;  // -1: no reply at all
        const char *german; // the line, unless it tells a time
        const char *english;
    };
    const Case cases[] = {
        {"silent coupler", -1, nullptr, nullptr},
        {"exception 2", 2, " Fehler Illegal Data Adress", " Fehler Illegal Data Adress"},
        {"exception 4", 4, " Fehler ", " Fehler "},
    };
    const Bytes good{0x00, 0x07, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00};
    const Bytes better{0x00, 0x09, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00};
    const QColor liveText = w.SG_ProValueIn->palette().color(QPalette::Active, QPalette::Text);
    const QColor greyText = w.SG_ProValueIn->palette().color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(liveText, greyText);
    for (const Case &c : cases) {
        load(DemoSlots);
        d.RetryLimit = 1;
        w.BStartClick();
        const QTime before = QTime::currentTime();
        cycle(good);
        const QTime after = QTime::currentTime();
        ASSERT_TRUE(w.LNotCurrent->isHidden()) << c.name;
        ASSERT_TRUE(w.inputCheckBox(1, 0)->isEnabled()) << c.name;
        ASSERT_EQ(w.SG_ProValueIn->palette().color(QPalette::Active, QPalette::Text), liveText) << c.name;

        w.AnfrageTimer();
        if (c.exceptionCode < 0) {
            w.AntwortTimer();
            EXPECT_TRUE(w.LNotCurrent->isHidden()) << c.name << ": a retry is still waiting";
            w.AntwortTimer();
        } else {
            HandReply(d, {d.SlaveAddress, 0x97, static_cast<quint8>(c.exceptionCode), 0, 0});
            w.AntwortTimer();
        }
        // An exception is an answer (0x08 set), yet no values: marked all the same.
        EXPECT_EQ(bool(d.StationFlags & StationFlag::ProcessDataAnswered), c.exceptionCode >= 0) << c.name;
        EXPECT_FALSE(w.LNotCurrent->isHidden()) << c.name;
        const QString line = w.LNotCurrent->text();
        if (c.german) {
            EXPECT_EQ(line, QString::fromLatin1(c.german)) << c.name;
        } else {
            const QRegularExpressionMatch m = sinceGerman.match(line);
            ASSERT_TRUE(m.hasMatch()) << c.name << ": " << line.toStdString();
            // Since the last good reply.
            const QTime since = QTime::fromString(m.captured(1), QStringLiteral("hh:mm:ss"));
            if (before <= after) { // not across midnight
                EXPECT_TRUE(since >= before.addMSecs(-before.msec()) && since <= after) << c.name;
            }
        }
        EXPECT_EQ(w.SG_ProValueIn->palette().color(QPalette::Active, QPalette::Text), greyText) << c.name;
        for (int b = 0; b < 4; ++b)
            EXPECT_FALSE(w.inputCheckBox(1, b)->isEnabled()) << c.name;
        EXPECT_EQ(inCell(1), QStringLiteral("7")) << c.name << ": the last values stay";
        EXPECT_TRUE(w.Anfrage->isActive()) << c.name << ": the cycle goes on";
        EXPECT_TRUE(t.sink.boxes.empty()) << c.name;

        SelectLanguage(d, 1);
        if (c.english) {
            EXPECT_EQ(w.LNotCurrent->text(), QString::fromLatin1(c.english)) << c.name;
        } else {
            EXPECT_TRUE(sinceEnglish.match(w.LNotCurrent->text()).hasMatch()) << w.LNotCurrent->text().toStdString();
        }
        SelectLanguage(d, 0);
        EXPECT_EQ(w.LNotCurrent->text(), line) << c.name;

        // Good replies again: the marking goes.
        cycle(better);
        EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered) << c.name;
        EXPECT_TRUE(w.LNotCurrent->isHidden()) << c.name;
        EXPECT_EQ(w.SG_ProValueIn->palette().color(QPalette::Active, QPalette::Text), liveText) << c.name;
        EXPECT_TRUE(w.inputCheckBox(1, 0)->isEnabled()) << c.name;
        EXPECT_TRUE(w.inputCheckBox(1, 0)->isChecked()) << c.name;
        EXPECT_EQ(inCell(1), QStringLiteral("9")) << c.name;
        w.BStopClick();
        w.Antwort->stop();
    }
}

// A coupler that never answered since Start: the line counts from the Start.
TEST_F(ContWindow, NoAnswerSinceTheStartWhenNothingEverCame)
{
    load(DemoSlots);
    d.RetryLimit = 0;
    const QTime before = QTime::currentTime();
    w.BStartClick();
    w.AnfrageTimer();
    w.AntwortTimer();
    const QTime after = QTime::currentTime();
    const QString line = w.LNotCurrent->text();
    ASSERT_TRUE(line.startsWith(QStringLiteral("keine Antwort seit "))) << line.toStdString();
    const QTime since = QTime::fromString(line.mid(19), QStringLiteral("hh:mm:ss"));
    ASSERT_TRUE(since.isValid()) << line.toStdString();
    if (before <= after) {
        EXPECT_TRUE(since >= before.addMSecs(-before.msec()) && since <= after);
    }
    EXPECT_EQ(inCell(1), QStringLiteral("0"));
}

TEST_F(ContWindow, MissingConfigurationOnStartAndOnActivation)
{
    ASSERT_EQ(d.StationConfig.ConfigValid, 0);
    w.BStartClick();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(t.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral("Keine Konfiguration geladen"));
    EXPECT_FALSE(w.Anfrage->isActive());
    EXPECT_TRUE(w.BStart->isEnabled());
    EXPECT_EQ(w.CycleRunning, 0);
    EXPECT_FALSE(w.Timer1->isActive()); // Start does nothing else

    SelectLanguage(d, 1);
    t.sink.clear();
    w.show();
    w.FormActivate();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral("No active Configuration"));
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 100);
    // The activation that the closed box hands back reports nothing again.
    w.FormActivate();
    EXPECT_EQ(t.sink.boxes.size(), 1u);

    w.Timer1Timer();
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.isVisible());
    QWidget *config = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("TDeviceConfigForm"))
            config = top;
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(config->isVisible());
    config->hide();
}

// Field -> written value for the output grid: what a cell shows after it was
// left is what the next request carries, or the cell is refused with a message
// and shows the value that still goes out. The cycle never stops on a cell.
TEST_F(ContWindow, OutputCellsGoOutAsShownOrAreRefusedAndTheCycleGoesOn)
{
    load(DemoSlots);
    w.BStartClick();
    struct Case {
        const char *typed;
        const char *shown; // after the cell was left
        int sent;          // register of channel 2 in the next request
        bool refused;
    };
    const Case cases[] = {
        {"1234", "1234", 1234, false},
        {"65535", "65535", 0xFFFF, false},
        {"-32768", "-32768", 0x8000, false},
        {"-1", "-1", 0xFFFF, false},
        {"0x7F", "0x7F", 0x7F, false},
        {"65536", "0x7F", 0x7F, true},
        {"70000", "0x7F", 0x7F, true},
        {"-32769", "0x7F", 0x7F, true},
        {"abc", "0x7F", 0x7F, true},
        {"1.5", "0x7F", 0x7F, true},
        {"", "0x7F", 0x7F, true},
        {"-", "0x7F", 0x7F, true},
        {" 12 ", " 12 ", 12, false},
        {"99999999999999999999", " 12 ", 12, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        t.sink.clear();
        setOutCell(2, QString::fromLatin1(c.typed));
        EXPECT_EQ(w.SG_ProValueOut->item(2, 1)->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(t.sink.conversionErrors.size(), c.refused ? 1u : 0u);
        if (c.refused && !t.sink.conversionErrors.empty()) {
            EXPECT_TRUE(t.sink.conversionErrors[0].contains(QString::fromLatin1(c.typed)));
        }
        d.TxFrame[7] = 0;
        w.AnfrageTimer();
        EXPECT_EQ(d.TxFrame[7], 0x17); // sent
        EXPECT_EQ(sentRegister(1), c.sent);
        EXPECT_EQ(sentRegister(0), 0); // the other cells keep theirs
        EXPECT_TRUE(w.Antwort->isActive());
        putReply(Bytes(22, 0));
        w.AntwortTimer();
        EXPECT_TRUE(w.Anfrage->isActive()); // the cycle goes on
    }
}

// A shorter period counts at once, whichever of the two timers waits.
TEST_F(ContWindow, AChangedDataTimeoutReArmsTheWaitingTimer)
{
    load(DemoSlots);
    d.DataTimeout = 5000;
    w.BStartClick();
    d.DataTimeout = 100;
    w.DataTimeoutChanged();
    EXPECT_TRUE(w.Anfrage->isActive());
    EXPECT_EQ(w.Anfrage->interval(), 100);

    d.DataTimeout = 5000;
    w.AnfrageTimer();
    EXPECT_EQ(w.Antwort->interval(), 5000);
    d.DataTimeout = 100;
    w.DataTimeoutChanged();
    EXPECT_TRUE(w.Antwort->isActive());
    EXPECT_EQ(w.Antwort->interval(), 100);
    EXPECT_FALSE(w.Anfrage->isActive()); // not a second request beside the one out

    w.BStopClick();
    w.Antwort->stop();
    w.DataTimeoutChanged(); // an idle cycle stays idle
    EXPECT_FALSE(w.Anfrage->isActive());
    EXPECT_FALSE(w.Antwort->isActive());
}

TEST_F(ContWindow, ActivationResetsTheOutputValuesToZero)
{
    load(DemoSlots);
    setOutCell(1, QStringLiteral("1234"));
    w.FormActivate(); // back from another window
    EXPECT_EQ(w.SG_ProValueOut->item(1, 1)->text(), QStringLiteral("0"));
    w.BStartClick();
    w.AnfrageTimer();
    EXPECT_EQ(sentRegister(0), 0);
}

TEST_F(ContWindow, BackStopsBothTimersAndClosesButAHiddenWindowKeepsCycling)
{
    load(DemoSlots);
    w.show();
    w.BStartClick();
    w.AnfrageTimer();
    w.BBackClick();
    EXPECT_FALSE(w.Anfrage->isActive());
    EXPECT_FALSE(w.Antwort->isActive());
    EXPECT_TRUE(w.BStart->isEnabled());
    EXPECT_EQ(w.CycleRunning, 0);
    EXPECT_FALSE(w.isVisible());

    // Closed through the title bar instead, the cycle goes on by its timers.
    d.DataTimeout = 10;
    w.show();
    w.BStartClick();
    w.close();
    d.TxLength = 0;
    EXPECT_TRUE(WaitUntil([&] { return d.TxLength == 27 && w.Antwort->isActive(); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return w.Anfrage->isActive(); }, 3000)); // given up, next request armed
    w.BStopClick();
}

TEST_F(ContWindow, SelectionIsRemovedWhenAGridLosesTheFocus)
{
    load(DemoSlots);
    w.SG_ProValueOut->setCurrentCell(2, 1);
    ASSERT_FALSE(w.SG_ProValueOut->selectedItems().isEmpty());
    w.SG_ProValueOutExit();
    EXPECT_TRUE(w.SG_ProValueOut->selectedItems().isEmpty());
    EXPECT_EQ(w.SG_ProValueOut->currentItem(), nullptr);
    w.SG_ProValueIn->setCurrentCell(1, 1);
    w.SG_ProValueInExit();
    EXPECT_TRUE(w.SG_ProValueIn->selectedItems().isEmpty());
}

// The log writes into the working folder; each test gets its own.
class ContLog : public ContWindow
{
protected:
    void SetUp() override
    {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    }
    void TearDown() override { QDir::setCurrent(previous_); }
    QString path() const { return folder_.filePath(QStringLiteral("data_log.csv")); }
    QByteArray logged() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir folder_;
    QString previous_;
};

TEST_F(ContLog, RecordsTheLastValuesOneLinePerTick)
{
    load(DemoSlots);
    w.BStartClick();
    cycle({0x00, 0x64, 0xFF, 0xFB, 0, 0, 0, 0, 0xFF, 0xFE, 0xEE, 0x90, 0, 0, 0, 0, 0, 0, 0, 0, 0x05, 0x0F});
    w.BStopClick();

    w.BSaveClick();
    EXPECT_EQ(w.Logging, 1);
    EXPECT_TRUE(w.SaveTimer->isActive());
    EXPECT_EQ(w.SaveTimer->interval(), 1000);
    EXPECT_EQ(w.BSave->text(), QStringLiteral("Speichern Ende"));
    EXPECT_EQ(logged(), QByteArray()); // created empty, first line one interval later

    w.SaveTimerTimer();
    w.SaveTimerTimer();
    const QList<QByteArray> lines = logged().split('\n');
    ASSERT_EQ(lines.size(), 3) << logged().toStdString();
    for (int i = 0; i < 2; ++i) {
        const QByteArray line = lines[i];
        ASSERT_TRUE(line.endsWith(";\r")) << line.toStdString();
        const QList<QByteArray> fields = line.chopped(2).split(';');
        ASSERT_EQ(fields.size(), 11) << line.toStdString(); // seconds, 8 analog, 2 digital
        EXPECT_EQ(fields.mid(1), (QList<QByteArray>{"100", "-5", "0", "0", "-70000", "0", "0", "0", "5", "15"}));
    }
    w.BSaveClick();
    EXPECT_EQ(w.Logging, 0);
    EXPECT_FALSE(w.SaveTimer->isActive());
    EXPECT_EQ(w.BSave->text(), QStringLiteral("Speichern"));
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST_F(ContLog, FirstFieldCountsDateAndTimeSoItNeverTurnsNegative)
{
    load({0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Started yesterday, five seconds later in the day than now: the time of
    // day alone would give -5.
    w.LogTimeBase = QDateTime::currentDateTime().addSecs(-86400 + 5);
    w.BSaveClick();
    w.SaveTimerTimer();
    QByteArray first = logged();
    ASSERT_TRUE(first.endsWith(";\r\n")) << first.toStdString();
    first.chop(3);
    first.replace(',', '.');
    EXPECT_GT(first.toDouble(), 86390.0) << first.toStdString();
    EXPECT_LT(first.toDouble(), 86400.0) << first.toStdString();
}

TEST_F(ContLog, AFileThatCannotBeCreatedStopsRecordingWithOneMessage)
{
    load(DemoSlots);
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("data_log.csv")));
    w.BSaveClick();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_TRUE(
        t.sink.boxes[0].text.startsWith(QStringLiteral("Aufzeichnung der Prozesswerte beendet\ndata_log.csv: ")))
        << t.sink.boxes[0].text.toStdString();
    EXPECT_EQ(w.Logging, 0);
    EXPECT_FALSE(w.SaveTimer->isActive());
    EXPECT_EQ(w.BSave->text(), QStringLiteral("Speichern"));
    w.SaveTimerTimer();
    EXPECT_EQ(t.sink.boxes.size(), 1u);
}

TEST_F(ContLog, AFileThatCannotBeWrittenStopsRecordingWithOneMessage)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    load(DemoSlots);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path()));
    w.BSaveClick();
    ASSERT_TRUE(t.sink.boxes.empty());
    w.SaveTimerTimer();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_TRUE(t.sink.boxes[0].text.contains(QStringLiteral("data_log.csv: ")));
    EXPECT_EQ(w.Logging, 0);
    EXPECT_FALSE(w.SaveTimer->isActive());
    w.SaveTimerTimer();
    EXPECT_EQ(t.sink.boxes.size(), 1u);
}

TEST_F(ContLog, IntervalFieldAndActivation)
{
    load(DemoSlots);
    const std::pair<const char *, int> cases[] = {{"50", 1000}, {"5000", 5000}, {"65636", 100}, {"250", 250}};
    for (const auto &[text, interval] : cases) {
        w.ESaveTime->setText(QString::fromLatin1(text));
        w.ESaveTimeExit();
        EXPECT_EQ(w.SaveTimer->interval(), interval) << text;
        EXPECT_EQ(w.ESaveTime->text(), QString::number(interval)) << text;
    }
    EXPECT_TRUE(t.sink.conversionErrors.empty());
    // Typing is no error yet: the field is checked when it is left.
    w.ESaveTime->setText(QString());
    w.ESaveTime->setText(QStringLiteral("abc"));
    EXPECT_TRUE(t.sink.conversionErrors.empty());
    w.ESaveTimeExit();
    EXPECT_EQ(t.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(w.SaveTimer->interval(), 250); // kept
    EXPECT_EQ(w.ESaveTime->text(), QStringLiteral("abc"));

    // Activation resets the controls but leaves a recording running.
    w.ESaveTime->setText(QStringLiteral("300"));
    w.BSaveClick();
    w.FormActivate();
    EXPECT_EQ(w.Logging, 0);
    EXPECT_EQ(w.BSave->text(), QStringLiteral("Speichern"));
    EXPECT_EQ(w.ESaveTime->text(), QStringLiteral("1000"));
    EXPECT_TRUE(w.SaveTimer->isActive());
    w.SaveTimerTimer();
    EXPECT_TRUE(logged().endsWith(";\r\n"));
    // The next click starts a new recording over the old file.
    w.BSaveClick();
    EXPECT_EQ(w.Logging, 1);
    EXPECT_EQ(logged(), QByteArray());
    w.BSaveClick();
}

} // namespace
