#include "OneWindow.h"
#include "Wait.h"

#include "parameters/TParaDig.h"

#include <QApplication>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <vector>

namespace
{

// The whole program with a configuration of `outputs` digital output channels
// in `modules` modules.
struct Window {
    Window(int outputs = 12, int modules = 2)
    {
        configure(outputs, modules);
        w->FormActivate();
        t.sink.clear();
    }
    void configure(int outputs, int modules)
    {
        d.StationConfig.DigOutCount = quint16(outputs);
        d.StationConfig.DigOutModuleCount = quint16(modules);
        d.StationConfig.ConfigValid = 1;
    }
    void reply(const std::vector<quint8> &pdu) { HandReply(d, pdu); }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    QStringList memo() const
    {
        const QString text = w->Memo1->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    TRadioGroup *group(int n) const { return w->RadioGroup[size_t(n)]; }
    int shown(int n) const { return group(n)->isVisibleTo(w); }
    // A user's click on item `item` of channel n.
    void click(int n, int item)
    {
        const QList<QRadioButton *> buttons = group(n)->findChildren<QRadioButton *>();
        ASSERT_EQ(buttons.size(), 3);
        buttons[item]->click();
    }
    // Runs a read answered by `pdu`.
    void read(const std::vector<quint8> &pdu)
    {
        w->ReadClick();
        reply(pdu);
        w->AnfrageTimer();
    }

    OneWindow<TParaDig> t;
    Deklarat &d = t.d;
    TParaDig *w = t.w;
};

TEST(ParaDigWindow, CreationState)
{
    OneWindow<TParaDig> t;
    TParaDig *w = t.w;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("digitale Parameter"));
    for (int c = 1; c <= 9; ++c) {
        EXPECT_EQ(w->GroupBox[size_t(c)]->objectName(), QStringLiteral("GroupBox%1").arg(c));
        EXPECT_TRUE(w->GroupBox[size_t(c)]->title().isEmpty());
        EXPECT_TRUE(w->GroupBox[size_t(c)]->font().bold());
        EXPECT_TRUE(w->GroupBox[size_t(c)]->isHidden());
    }
    const QColor silver(192, 192, 192);
    for (int n = 1; n <= 72; ++n) {
        SCOPED_TRACE(n);
        TRadioGroup *g = w->RadioGroup[size_t(n)];
        EXPECT_EQ(g->objectName(), QStringLiteral("RadioGroup%1").arg(n));
        EXPECT_EQ(g->title(), QStringLiteral("Kanal %1").arg(n));
        ASSERT_EQ(g->itemCount(), 3);
        EXPECT_EQ(g->itemText(0), QStringLiteral("letzter Wert"));
        EXPECT_EQ(g->itemText(2), QStringLiteral("Sichere 1"));
        EXPECT_EQ(g->itemIndex(), -1) << "no choice before the first read";
        EXPECT_TRUE(g->isHidden());
        // Even channels and all of column 2 are silver.
        const bool silverShown = n % 2 == 0 || (n >= 9 && n <= 16);
        const QWidget *painter = g->autoFillBackground() ? g : w->GroupBox[size_t((n - 1) / 8 + 1)];
        EXPECT_EQ(painter->autoFillBackground() && painter->palette().color(QPalette::Window) == silver, silverShown);
    }
    EXPECT_TRUE(w->Memo1->isReadOnly());
    EXPECT_FALSE(w->Anfrage->isActive());
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->FailStates.BehaviourBits, (std::array<quint8, 9>{}));
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST(ParaDigWindow, TextsInBothLanguages)
{
    OneWindow<TParaDig> t;
    TParaDig *w = t.w;
    EXPECT_EQ(w->Write->text(), QStringLiteral("Schreiben"));
    EXPECT_EQ(w->Read->text(), QStringLiteral("Lesen"));
    EXPECT_EQ(w->Back->text(), QString::fromUtf8("Zurück"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QString());
    EXPECT_EQ(w->RadioGroup[1]->title(), QStringLiteral("Chan. 1"));
    EXPECT_EQ(w->RadioGroup[72]->title(), QStringLiteral("Chan. 72"));
    EXPECT_EQ(w->RadioGroup[72]->itemText(0), QStringLiteral("Last State"));
    EXPECT_EQ(w->RadioGroup[9]->itemText(1), QStringLiteral("Fail State 0"));
    EXPECT_EQ(w->RadioGroup[9]->itemText(2), QStringLiteral("Fail State 1"));
    EXPECT_EQ(w->Write->text(), QStringLiteral("Write"));
    EXPECT_EQ(w->Back->text(), QStringLiteral("Back"));
    EXPECT_EQ(w->LookupMessage(QStringLiteral("@idERR_OUT")), QStringLiteral("No digital Outputs"));
    SelectLanguage(t.d, 0);
    EXPECT_EQ(w->RadioGroup[5]->itemText(1), QStringLiteral("Sichere 0"));
}

TEST(ParaDigWindow, ActivationShowsColumnsAndChannelsAndNeverHidesThem)
{
    Window x(0, 0);
    x.d.StationConfig.ConfigValid = 1;
    struct Step {
        int count;
        int columns;  // columns shown afterwards
        int channels; // channels shown afterwards, besides 1..4 of every column shown
    };
    // Counts other than multiples of 4 up to 72 change nothing; nothing is hidden again.
    const Step steps[] = {{12, 2, 12}, {10, 2, 12}, {4, 2, 12}, {76, 2, 12}, {20, 3, 20}, {72, 9, 72}, {8, 9, 72}};
    for (const Step &s : steps) {
        SCOPED_TRACE(s.count);
        x.configure(s.count, 1);
        x.w->FormActivate();
        EXPECT_TRUE(x.t.sink.boxes.empty());
        for (int c = 1; c <= 9; ++c)
            EXPECT_EQ(x.w->GroupBox[size_t(c)]->isVisibleTo(x.w), c <= s.columns) << "column " << c;
        for (int n = 1; n <= 72; ++n)
            EXPECT_EQ(x.shown(n), n <= s.channels) << "channel " << n;
    }
}

TEST(ParaDigWindow, TenOutputsShowNoChannel)
{
    Window x(10, 2);
    for (int n = 1; n <= 72; ++n)
        EXPECT_FALSE(x.shown(n)) << n;
    EXPECT_FALSE(x.w->GroupBox[1]->isVisibleTo(x.w));
}

TEST(ParaDigWindow, ActivationClearsTheLogAndTellsWhatIsMissing)
{
    Window x(12, 2);
    x.w->Memo1->appendPlainText(QStringLiteral("old"));
    x.configure(0, 0);
    x.w->FormActivate();
    EXPECT_TRUE(x.memo().isEmpty());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Keine digitalen Ausgänge"));
    EXPECT_FALSE(x.w->Anfrage->isActive());

    x.t.sink.clear();
    x.d.StationConfig.ConfigValid = 0;
    x.w->FormActivate();
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Keine Konfiguration geladen"));
    EXPECT_TRUE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.w->Anfrage->interval(), x.d.ResponseInterval);
}

TEST(ParaDigWindow, ActivationWithoutConfigurationTakesNothingFromTheLine)
{
    Window x(12, 2);
    x.d.StationConfig.ConfigValid = 0;
    // Whatever the line carried last lies in the receive buffer.
    const std::vector<quint8> foreign = {8, 4, 4, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(foreign.begin(), foreign.end(), x.d.RxFrame.begin() + 6);
    x.d.RxCount = quint16(6 + foreign.size());
    x.w->FormActivate();
    x.t.sink.clear();
    for (int tick = 0; tick < 8; ++tick)
        x.w->AnfrageTimer();
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.w->FailStates.BehaviourBits, (std::array<quint8, 9>{}));
    EXPECT_EQ(x.w->FailStates.StateBits, (std::array<quint8, 9>{}));
    EXPECT_EQ(x.group(1)->itemIndex(), -1);
    EXPECT_TRUE(x.memo().isEmpty());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    // The timer also runs out by itself without taking anything.
    x.w->FormActivate();
    ASSERT_TRUE(x.w->Anfrage->isActive());
    EXPECT_TRUE(WaitUntil([&] { return !x.w->Anfrage->isActive(); }));
    EXPECT_EQ(x.w->FailStates.BehaviourBits[0], 0);
}

TEST(ParaDigWindow, ReadOfTwelveOutputsInTwoModules)
{
    Window x(12, 2);
    const quint16 id = x.d.TransactionId;
    x.w->ReadClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x26, 0x00, 0, 2}));
    EXPECT_EQ(x.d.TransactionId, id) << "the request carries the identifier of the one before";
    EXPECT_TRUE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.w->Anfrage->interval(), x.d.ResponseInterval);
    x.reply({8, 4, 4, 0x80, 0x01, 0x00, 0x03});
    x.w->AnfrageTimer();
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());

    EXPECT_EQ(x.group(8)->itemIndex(), 0) << "letzter Wert";
    EXPECT_EQ(x.group(1)->itemIndex(), 2) << "Sichere 1";
    for (int n = 2; n <= 7; ++n)
        EXPECT_EQ(x.group(n)->itemIndex(), 1) << "Sichere 0, channel " << n;
    EXPECT_EQ(x.group(9)->itemIndex(), 2);
    EXPECT_EQ(x.group(10)->itemIndex(), 2);
    EXPECT_EQ(x.group(11)->itemIndex(), 1);
    EXPECT_EQ(x.group(12)->itemIndex(), 1);
    // Hidden channels get their choice too.
    EXPECT_EQ(x.group(72)->itemIndex(), 1);
    EXPECT_FALSE(x.shown(13));
    EXPECT_EQ(x.w->FailStates.BehaviourBits[0], 0x80);
    EXPECT_EQ(x.w->FailStates.StateBits[0], 0x01) << "selections set by the read change no bit";
    EXPECT_EQ(x.w->FailStates.StateBits[1], 0x03);
    EXPECT_EQ(x.memo(), (QStringList{"Verhalten: 0| 80", "State: 0| 01", "Verhalten: 1| 00", "State: 1| 03"}));
}

TEST(ParaDigWindow, ChoiceSequenceOnOneChannel)
{
    Window x(12, 2);
    x.read({8, 4, 4, 0x00, 0x10, 0x00, 0x00}); // channel 5 goes to 1
    ASSERT_EQ(x.group(5)->itemIndex(), 2);
    x.click(5, 0); // letzter Wert
    EXPECT_EQ(x.w->FailStates.BehaviourBits[0], 0x10);
    EXPECT_EQ(x.w->FailStates.StateBits[0], 0x10);
    x.click(5, 1); // Sichere 0
    EXPECT_EQ(x.w->FailStates.BehaviourBits[0], 0x00);
    EXPECT_EQ(x.w->FailStates.StateBits[0], 0x00);
    x.click(5, 0);
    EXPECT_EQ(x.w->FailStates.BehaviourBits[0], 0x10);
    EXPECT_EQ(x.w->FailStates.StateBits[0], 0x00);
    x.click(12, 2); // Sichere 1 on channel 12: bit 3 of the second module
    EXPECT_EQ(x.w->FailStates.StateBits[1], 0x08);

    x.w->WriteClick();
    EXPECT_EQ(x.tx(6, 11), (std::vector<int>{8, 0x10, 0x26, 0x00, 0, 2, 4, 0x10, 0x00, 0x00, 0x08}));
    EXPECT_EQ(x.d.TxLength, 17);
}

TEST(ParaDigWindow, WriteOfOneModuleAndItsReply)
{
    Window x(8, 1);
    const quint16 id = x.d.TransactionId;
    for (int i = 0; i < 6; ++i)
        x.d.TxFrame[size_t(i)] = quint8(0xA0 + i); // the header of the frame before
    x.w->WriteClick();
    EXPECT_EQ(x.d.TxLength, 15);
    EXPECT_EQ(x.tx(6, 9), (std::vector<int>{8, 0x10, 0x26, 0x00, 0, 1, 2, 0x00, 0x00}));
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->Timer1->interval(), x.d.ResponseInterval);
    ASSERT_EQ(x.memo().size(), 1);
    EXPECT_EQ(x.memo()[0], QStringLiteral("2600Scheiben: A0 A1 A2 A3 A4 A5 08 10 26 00 00 01 02 0000"));
    EXPECT_TRUE(x.memo()[0].endsWith(QStringLiteral("0000")));

    std::fill(x.d.RxFrame.begin(), x.d.RxFrame.begin() + 6, 0);
    x.reply({8, 0x10, 0x26, 0x00, 0x00, 0x01});
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.memo().mid(1),
              (QStringList{"Antwort : Anzahl: 0C", "  Data :   00  00  00  00  00  00  08  10  26  00  00  01"}));
}

TEST(ParaDigWindow, TimeoutsGoToTheLogOnly)
{
    Window x(12, 2);
    x.d.RetryLimit = 2;
    x.w->ReadClick();
    for (int tick = 0; tick < 2; ++tick) {
        x.w->AnfrageTimer();
        EXPECT_TRUE(x.w->Anfrage->isActive()) << tick;
    }
    x.w->AnfrageTimer();
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.memo(), QStringList{"Antwort : Timeout"});
    x.w->AnfrageTimer(); // a late tick after giving up does nothing
    EXPECT_EQ(x.memo().size(), 1);

    x.w->WriteClick();
    for (int tick = 0; tick < 3; ++tick)
        x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_EQ(x.memo().last(), QStringLiteral("Antwort : Timeout"));
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.group(1)->itemIndex(), -1);
}

TEST(ParaDigWindow, WriteGivesUpAWaitingRead)
{
    Window x(12, 2);
    x.d.RetryLimit = 2;
    x.w->ReadClick();
    x.w->AnfrageTimer();
    ASSERT_EQ(x.w->TickCounter, 1);
    x.w->WriteClick();
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.w->TickCounter, 0);
    // A late tick of the read's timer checks nothing and leaves the write's count.
    x.w->AnfrageTimer();
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->TickCounter, 0);
    x.reply({8, 0x10, x.d.TxFrame[8], x.d.TxFrame[9], x.d.TxFrame[10], x.d.TxFrame[11]});
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.memo().filter(QStringLiteral("Timeout")), QStringList());
}

TEST(ParaDigWindow, ExceptionRepliesInBoxAndLog)
{
    struct Case {
        quint8 code;
        const char *readText;
        const char *writeText;
    };
    const Case cases[] = {{1, "Antwort : Illegal Function", "Antwort :  Fehler Illegal Function"},
                          {2, "Antwort : Illegal Data Adress", "Antwort :  Fehler Illegal Data Adress"},
                          {3, "Antwort : Illegal Data Value", "Antwort :  Fehler Illegal Data Value"},
                          {4, "Antwort : ", "Antwort :  Fehler "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        Window x(12, 2);
        x.read({8, 0x84, c.code});
        x.w->WriteClick();
        x.reply({8, 0x90, c.code});
        x.w->Timer1Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 2u);
        EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromLatin1(c.readText));
        EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
        EXPECT_EQ(x.t.sink.boxes[1].text, QString::fromLatin1(c.writeText));
        const QStringList memo = x.memo();
        ASSERT_EQ(memo.size(), 3);
        EXPECT_EQ(memo[0], QString::fromLatin1(c.readText));
        EXPECT_EQ(memo[2], QString::fromLatin1(c.writeText));
        EXPECT_EQ(x.group(1)->itemIndex(), -1);
    }
}

TEST(ParaDigWindow, WithoutOutputModulesNothingIsSent)
{
    Window x(0, 0);
    x.t.sink.clear();
    x.d.TxLength = 99;
    const ModbusBuffer before = x.d.TxFrame;
    x.w->ReadClick();
    x.w->WriteClick();
    EXPECT_EQ(x.d.TxLength, 99);
    EXPECT_EQ(x.d.TxFrame, before);
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_FALSE(x.w->Timer1->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 2u);
    for (const MessageRequest &box : x.t.sink.boxes)
        EXPECT_EQ(box.text, QStringLiteral("Keine digitalen Ausgänge"));
    EXPECT_TRUE(x.memo().isEmpty());
}

TEST(ParaDigWindow, OnlyTheWindowsOwnReplyIsTaken)
{
    Window x(12, 2);
    x.d.RetryLimit = 5;
    x.w->ReadClick();
    const std::vector<std::vector<quint8>> foreign = {
        {8, 4, 2, 0xFF, 0xFF},                // one register of two
        {8, 4, 4, 0xFF, 0xFF},                // told four bytes, brought two
        {8, 0x17, 4, 0xFF, 0xFF, 0xFF, 0xFF}, // the cycle's reply
        {8, 0x10, 0x26, 0x00, 0x00, 0x02},    // a write's reply
    };
    for (const auto &pdu : foreign) {
        x.reply(pdu);
        x.w->AnfrageTimer();
        EXPECT_TRUE(x.w->Anfrage->isActive());
    }
    EXPECT_TRUE(x.memo().isEmpty());
    EXPECT_EQ(x.group(1)->itemIndex(), -1);
    x.reply({8, 4, 4, 0x00, 0x01, 0x00, 0x00});
    x.w->AnfrageTimer();
    EXPECT_EQ(x.group(1)->itemIndex(), 2);

    // The read timer never takes the write's reply.
    x.w->WriteClick();
    x.reply({8, 0x10, 0x26, 0x00, 0x00, 0x02});
    x.w->AnfrageTimer();
    EXPECT_EQ(x.memo().size(), 5);
    x.w->Timer1Timer();
    EXPECT_EQ(x.memo().last().left(14), QStringLiteral("  Data :   00 "));
}

// A box that, like a real one, takes the activation from the window while it
// is open; closing it hands the activation back.
struct ModalSink : RecordingMessageSink {
    QWidget *window = nullptr;
    MessageButton show(const MessageRequest &request) override
    {
        QEvent away(QEvent::WindowDeactivate);
        QApplication::sendEvent(window, &away);
        return RecordingMessageSink::show(request);
    }
};

void activate(QWidget *window)
{
    QEvent back(QEvent::WindowActivate);
    QApplication::sendEvent(window, &back);
}

TEST(ParaDigWindow, ClosingAnErrorBoxIsNoNewActivation)
{
    Window x(12, 2);
    ModalSink sink;
    sink.window = x.w;
    x.d.setMessageSink(&sink);
    x.read({8, 0x84, 2});
    ASSERT_EQ(sink.boxes.size(), 1u);
    activate(x.w); // the box closed
    EXPECT_EQ(x.memo(), QStringList{"Antwort : Illegal Data Adress"}) << "the log keeps the line";
    activate(x.w); // the user coming back later
    EXPECT_TRUE(x.memo().isEmpty());
    x.d.setMessageSink(&x.t.sink);
}

TEST(ParaDigWindow, ShowingTheWindowActivatesIt)
{
    OneWindow<TParaDig> t;
    t.d.StationConfig.DigOutCount = 8;
    t.d.StationConfig.DigOutModuleCount = 1;
    t.d.StationConfig.ConfigValid = 1;
    TParaDig *w = t.w;
    w->Memo1->appendPlainText(QStringLiteral("old"));
    w->show();
    w->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return w->RadioGroup[8]->isVisible(); }));
    EXPECT_TRUE(w->Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(w->RadioGroup[9]->isVisible());
    w->BackClick();
    EXPECT_FALSE(w->isVisible());
}

} // namespace
