#include "OneWindow.h"
#include "TestStation.h"
#include "Wait.h"

#include "app/Conversions.h"
#include "parameters/AnaInLayout.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaOut.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct Channel {
    quint16 setup, filter, offset;
};

// The whole program with a configuration of `n` 16-bit analog input channels.
struct Window {
    explicit Window(int n = 4)
    {
        configure(n);
        w->FormActivate();
        t.sink.clear();
    }
    void configure(int n)
    {
        d.StationConfig.AnaInCount = static_cast<quint16>(n);
        d.StationConfig.ConfigValid = 1;
    }
    void reply(const std::vector<quint8> &pdu) { HandReply(d, pdu); }
    void readReply(const std::vector<Channel> &channels)
    {
        std::vector<quint8> pdu = {8, 4, quint8(6 * channels.size())};
        for (const Channel &c : channels)
            for (quint16 v : {c.setup, c.filter, c.offset}) {
                pdu.push_back(quint8(v >> 8));
                pdu.push_back(quint8(v));
            }
        reply(pdu);
    }
    // A read of `channels` answered at once.
    void read(const std::vector<Channel> &channels)
    {
        w->ReadAnaInClick();
        readReply(channels);
        w->Timer1Timer();
    }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    QStringList memo() const { return w->Memo1->toPlainText().split(QLatin1Char('\n')); }
    TAnaInRow &row(int k) { return w->Row[size_t(k)]; }
    AnaInRecord &rec(int k) { return w->AnaInParams[size_t(k - 1)]; }
    bool rowShown(int k)
    {
        for (QWidget *c : row(k).controls())
            if (!c->isVisibleTo(w))
                return false;
        return true;
    }
    void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    OneWindow<TParaAna> t;
    Deklarat &d = t.d;
    TParaAna *w = t.w;
};

const Channel Default{0xC000, 51, 0};

TEST(ParaAnaWindow, CreationDefaults)
{
    OneWindow<TParaAna> t;
    TParaAna *w = t.w;
    ASSERT_NE(w, nullptr);
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        const TAnaInRow &r = w->Row[size_t(k)];
        EXPECT_EQ(r.ComboBox->objectName(), QStringLiteral("ComboBox%1").arg(k));
        EXPECT_EQ(r.ScrollBarOffset->objectName(), QStringLiteral("ScrollBarOffset%1").arg(k));
        EXPECT_EQ(r.ScrollBar->minimum(), 1);
        EXPECT_EQ(r.ScrollBar->maximum(), 255);
        EXPECT_EQ(r.ScrollBarOffset->minimum(), -32767);
        EXPECT_EQ(r.ScrollBarOffset->maximum(), 32767);
        EXPECT_EQ(r.ScrollBar->value(), 51);
        EXPECT_EQ(r.Edit->text(), QStringLiteral("51"));
        EXPECT_EQ(r.Offset->text(), QStringLiteral("0"));
        EXPECT_EQ(r.ScrollBarOffset->value(), 0);
        ASSERT_EQ(r.ComboBox->count(), 17);
        EXPECT_EQ(r.ComboBox->currentText(), QStringLiteral("???"));
        ASSERT_EQ(r.CoBoUnit->count(), 7);
        EXPECT_EQ(r.CoBoUnit->currentIndex(), 0);
        EXPECT_EQ(r.CoBoUnit->itemText(5), QStringLiteral("K/10"));
        EXPECT_FALSE(r.CbAktiv->isChecked());
        EXPECT_FALSE(r.CbSpike->isChecked());
        EXPECT_FALSE(r.CbScale->isChecked());
        for (QWidget *c : r.controls())
            EXPECT_TRUE(c->isHidden()) << c->objectName().toStdString();
        const AnaInRecord &rec = w->AnaInParams[size_t(k - 1)];
        EXPECT_EQ(rec.SetupWord, 0);    // selections set at creation run no handler
        EXPECT_EQ(rec.FilterValue, 51); // through the scroll bar's handler
        EXPECT_EQ(rec.OffsetValue, 0);
    }
    EXPECT_EQ(w->Memo1->toPlainText(), QStringLiteral("Memo"));
    EXPECT_TRUE(w->Memo1->isReadOnly());
    EXPECT_TRUE(t.sink.conversionErrors.empty());
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST(ParaAnaWindow, TextsInBothLanguages)
{
    OneWindow<TParaAna> t;
    TParaAna *w = t.w;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("analoge Parameter"));
    EXPECT_EQ(w->ana_Para_In->title(), QStringLiteral("analoge Eingangsparameter"));
    EXPECT_EQ(w->Row[1].Label->text(), QStringLiteral("Kanal 1"));
    EXPECT_EQ(w->Row[16].Label->text(), QStringLiteral("Kanal 16"));
    EXPECT_EQ(w->Heading(17)->text(), QStringLiteral("Typ"));
    EXPECT_EQ(w->Heading(24)->text(), QStringLiteral("Offset Prozesswert"));
    EXPECT_EQ(w->Button1->text(), QStringLiteral("Schreiben"));
    EXPECT_EQ(w->Button2->text(), QStringLiteral("Lesen"));
    EXPECT_EQ(w->Back->text(), QString::fromUtf8("Zurück"));
    w->Row[3].ComboBox->setCurrentIndex(5);
    w->Row[3].Edit->setText(QStringLiteral("77"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("analog Parameter"));
    EXPECT_EQ(w->ana_Para_In->title(), QStringLiteral("analog Input Parameter"));
    EXPECT_EQ(w->Row[16].Label->text(), QStringLiteral("Chan. 16"));
    EXPECT_EQ(w->Heading(19)->text(), QStringLiteral("Active"));
    EXPECT_EQ(w->Heading(23)->text(), QStringLiteral("Unit"));
    EXPECT_EQ(w->Heading(24)->text(), QStringLiteral("Offset Processvalue"));
    EXPECT_EQ(w->Button1->text(), QStringLiteral("Write"));
    EXPECT_EQ(w->Row[3].ComboBox->currentText(), QStringLiteral("Pt100"));
    EXPECT_EQ(w->Row[3].Edit->text(), QStringLiteral("77")); // editable fields keep the input
    EXPECT_EQ(w->Row[3].CoBoUnit->itemText(4), QString::fromUtf8("°C/10"));
    EXPECT_EQ(w->LookupMessage(QStringLiteral("@idERR_CONF")), QStringLiteral("No active Configuration"));
}

TEST(ParaAnaWindow, ActivationWithoutConfigurationReportsEveryTime)
{
    OneWindow<TParaAna> t;
    TParaAna *w = t.w;
    for (int i = 1; i <= 2; ++i) {
        w->FormActivate();
        ASSERT_EQ(t.sink.boxes.size(), size_t(i));
        EXPECT_EQ(t.sink.boxes.back().kind, MessageKind::Error);
        EXPECT_EQ(t.sink.boxes.back().caption, t.d.errorCaption());
        EXPECT_EQ(t.sink.boxes.back().text, QStringLiteral("Keine Konfiguration geladen"));
    }
    EXPECT_TRUE(w->Row[1].ComboBox->isHidden());
    // The buttons stay usable: a read asks for the last known count, 0.
    EXPECT_TRUE(w->Button2->isEnabled());
    w->ReadAnaInClick();
    EXPECT_EQ(std::vector<int>(t.d.TxFrame.begin() + 6, t.d.TxFrame.begin() + 12),
              (std::vector<int>{8, 4, 0x20, 0, 0, 0}));
}

TEST(ParaAnaWindow, ActivationShowsRowsForEvenCountsAndLaysOut)
{
    Window x(4);
    struct Step {
        int n;
        int shownRows;
    };
    // Odd counts leave the rows as they are; above 16 the window works on 16.
    const Step steps[] = {{4, 4}, {3, 4}, {16, 16}, {0, 0}, {5, 0}, {6, 6}, {18, 16}};
    for (const Step &s : steps) {
        SCOPED_TRACE(testing::Message() << "N " << s.n);
        x.configure(s.n);
        x.w->FormActivate();
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(x.rowShown(k), k <= s.shownRows) << "row " << k;
        EXPECT_TRUE(x.w->Button1->isEnabled());
        EXPECT_TRUE(x.w->Button2->isEnabled());
        const int h = x.row(1).ComboBox->height();
        const AnaInLayout l = AnaInActivationLayout(std::min(s.n, 16), h, x.w->Memo1->height());
        EXPECT_EQ(x.w->ana_Para_In->height(), l.groupHeight);
        EXPECT_EQ(x.w->Memo1->y(), l.controlsTop);
        EXPECT_EQ(x.w->Button1->y(), l.controlsTop);
        EXPECT_EQ(x.w->Back->y(), l.controlsTop);
        EXPECT_EQ(x.w->height(), l.clientHeight);
        // The rows shown lie inside the group box sized for them.
        if (s.shownRows > 0 && s.shownRows == std::min(s.n, 16)) {
            EXPECT_LE(x.row(s.shownRows).ComboBox->geometry().bottom(), x.w->ana_Para_In->height());
        }
    }
}

TEST(ParaAnaWindow, MoreThanSixteenChannelsAreSaidOnceAndNeverAskedFor)
{
    Window x(20);
    x.t.sink.clear();
    x.w->FormActivate(); // the same count again: no second notice
    EXPECT_TRUE(x.t.sink.boxes.empty());
    x.configure(24);
    x.w->FormActivate();
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(x.t.sink.boxes[0].text,
              QString::fromUtf8("Die Station hat mehr als 16 Kanäle; bearbeitet werden die ersten 16."));

    x.w->ReadAnaInClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x20, 0x00, 0, 48}));
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.d.TxLength, 13 + 96);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 48, 96}));
}

TEST(ParaAnaWindow, ShowingTheWindowActivatesItOnce)
{
    TestStation t;
    t.d.StationConfig.AnaInCount = 2;
    TParaAna *w = t.d.ParaAna;
    w->show();
    w->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return w->isActiveWindow() && !t.sink.boxes.empty(); }));
    EXPECT_EQ(t.sink.boxes.size(), 1u); // no configuration
    t.d.StationConfig.ConfigValid = 1;
    t.d.ParaAnaOut->show();
    t.d.ParaAnaOut->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return t.d.ParaAnaOut->isActiveWindow(); }));
    w->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return w->Row[2].ComboBox->isVisible(); }));
    EXPECT_FALSE(w->Row[3].ComboBox->isVisible());
    EXPECT_EQ(t.sink.boxes.size(), 1u);
    w->hide();
    t.d.ParaAnaOut->hide();
}

TEST(ParaAnaWindow, ReadRequestAndMemoLine)
{
    Window x(4);
    x.d.ParaTimeout = 700;
    const quint16 id = x.d.TransactionId;
    x.w->ReadAnaInClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x20, 0x00, 0, 12}));
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 0 0 0 0 8 4 32 0 0 12 "));
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->Timer1->interval(), 700);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
}

TEST(ParaAnaWindow, ReadReplyIsShown)
{
    Window x(4);
    x.read({{0x8028, 0x0033, 0xFFF6}, {0x2463, 0x00C8, 0x0064}, {0x0701, 0x0000, 0x8000}, {0x4233, 300, 0x7FFF}});
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());

    // 0x8028: 0 ... 10 V, unit "???", inactive, spike filter on, no scale.
    TAnaInRow &r1 = x.row(1);
    EXPECT_EQ(r1.ComboBox->currentText(), QStringLiteral("0 ... 10 V"));
    EXPECT_EQ(r1.CoBoUnit->currentText(), QStringLiteral("???"));
    EXPECT_FALSE(r1.CbAktiv->isChecked());
    EXPECT_TRUE(r1.CbSpike->isChecked());
    EXPECT_FALSE(r1.CbScale->isChecked());
    EXPECT_EQ(r1.Edit->text(), QStringLiteral("51"));
    EXPECT_EQ(r1.Offset->text(), QStringLiteral("-10"));
    EXPECT_EQ(r1.ScrollBarOffset->value(), -10);

    // Type code 99 shows as the first entry; unit 4.
    TAnaInRow &r2 = x.row(2);
    EXPECT_EQ(r2.ComboBox->currentIndex(), 0);
    EXPECT_EQ(r2.CoBoUnit->currentText(), QString::fromUtf8("°C/10"));
    EXPECT_TRUE(r2.CbAktiv->isChecked());
    EXPECT_TRUE(r2.CbSpike->isChecked());
    EXPECT_TRUE(r2.CbScale->isChecked());
    EXPECT_EQ(r2.ScrollBar->value(), 200);
    EXPECT_EQ(r2.Edit->text(), QStringLiteral("200"));
    EXPECT_EQ(x.rec(2).SetupWord, 0x2463);

    // Unit 7 has no entry; filter 0 with the bar at 51 moves the bar to 1 and
    // stores 1; offset -32768 is limited to -32767.
    TAnaInRow &r3 = x.row(3);
    EXPECT_EQ(r3.ComboBox->currentText(), QStringLiteral("TC Typ J"));
    EXPECT_EQ(r3.CoBoUnit->currentIndex(), -1);
    EXPECT_EQ(r3.ScrollBar->value(), 1);
    EXPECT_EQ(r3.Edit->text(), QStringLiteral("1"));
    EXPECT_EQ(x.rec(3).FilterValue, 1);
    EXPECT_EQ(r3.ScrollBarOffset->value(), -32767);
    EXPECT_EQ(r3.Offset->text(), QStringLiteral("-32767"));
    EXPECT_EQ(x.rec(3).OffsetValue, -32767);
    EXPECT_EQ(x.rec(3).SetupWord, 0x0701);

    // Filter 300 is limited to 255.
    TAnaInRow &r4 = x.row(4);
    EXPECT_EQ(r4.ComboBox->currentText(), QStringLiteral("4 ... 20 mA"));
    EXPECT_EQ(r4.ScrollBar->value(), 255);
    EXPECT_EQ(x.rec(4).FilterValue, 255);
    EXPECT_FALSE(r4.CbSpike->isChecked());
    EXPECT_EQ(r4.Offset->text(), QStringLiteral("32767"));

    EXPECT_EQ(x.rec(1).SetupWord, -32728); // sign-extended
    EXPECT_EQ(x.rec(5).FilterValue, 51);   // not read
    const QStringList expected = {QStringLiteral("0 0 0 0 0 0 8 4 32 0 0 12 "),
                                  "0 :FFFF8028",
                                  "0 :0033",
                                  "0 :FFFFFFF6",
                                  "1 :2463",
                                  "1 :00C8",
                                  "1 :0064",
                                  "2 :0701",
                                  "2 :0000",
                                  "2 :FFFF8000",
                                  "3 :4233",
                                  "3 :012C",
                                  "3 :7FFF"};
    EXPECT_EQ(x.memo().mid(1), expected);
    EXPECT_TRUE(x.t.sink.conversionErrors.empty());
}

TEST(ParaAnaWindow, OutOfRangeValuesAreStoredAsShownAlsoWhenTheBarStandsAtTheLimit)
{
    Window x(2);
    x.read({{0x0028, 0, 0x8000}, Default});
    x.read({{0x0028, 0, 0x8000}, Default}); // the bars stand at their limits already
    EXPECT_EQ(x.row(1).ScrollBar->value(), 1);
    EXPECT_EQ(x.row(1).Edit->text(), QStringLiteral("1"));
    EXPECT_EQ(x.rec(1).FilterValue, 1);
    EXPECT_EQ(x.row(1).Offset->text(), QStringLiteral("-32767"));
    EXPECT_EQ(x.rec(1).OffsetValue, -32767);
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.tx(13, 6), (std::vector<int>{0x00, 0x28, 0, 1, 0x80, 0x01}));
}

TEST(ParaAnaWindow, UnknownTypeAndUnitAreWrittenBackUnlessChosen)
{
    Window x(2);
    x.read({{0x0763, 51, 0}, {0x0763, 51, 0}}); // type code 99, unit 7
    EXPECT_EQ(x.row(1).ComboBox->currentText(), QStringLiteral("0 ... 10 V"));
    EXPECT_EQ(x.row(1).CoBoUnit->currentIndex(), -1);
    x.row(1).CbAktiv->setChecked(true);
    x.row(1).CbSpike->setChecked(true);
    x.choose(x.row(2).ComboBox, 6); // TC Typ J
    x.choose(x.row(2).CoBoUnit, 4);
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.tx(13, 2), (std::vector<int>{0x07, 99}));
    EXPECT_EQ(x.tx(19, 2), (std::vector<int>{0x04, 1})); // switches as read: active, spike filter on
}

TEST(ParaAnaWindow, TimeoutsAfterTheRetries)
{
    Window x(4);
    x.d.RetryLimit = 2;
    x.w->ReadAnaInClick();
    for (int tick = 0; tick < 2; ++tick) {
        x.w->Timer1Timer();
        EXPECT_TRUE(x.w->Timer1->isActive()) << tick;
        EXPECT_TRUE(x.t.sink.boxes.empty());
    }
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.rec(1).FilterValue, 51);
    x.w->Timer1Timer(); // a late tick after giving up does nothing
    EXPECT_EQ(x.t.sink.boxes.size(), 1u);

    x.t.sink.clear();
    x.w->WriteAnaInClick();
    for (int tick = 0; tick < 3; ++tick)
        x.w->Timer3Timer();
    EXPECT_FALSE(x.w->Timer3->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.memo().last(), QStringLiteral("Timeout"));
}

TEST(ParaAnaWindow, ExceptionReplies)
{
    struct Case {
        quint8 code;
        const char *readText;
        const char *writeText;
    };
    const Case cases[] = {{1, "Illegal Function", " Fehler Illegal Function"},
                          {2, "Illegal Data Adress", " Fehler Illegal Data Adress"},
                          {3, "Illegal Data Value", " Fehler Illegal Data Value"},
                          {4, "", " Fehler "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        Window x(4);
        x.w->ReadAnaInClick();
        x.reply({8, 0x84, c.code});
        x.w->Timer1Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 1u);
        EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
        EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromLatin1(c.readText));
        EXPECT_EQ(x.rec(1).FilterValue, 51);

        x.w->WriteAnaInClick();
        x.reply({8, 0x90, c.code});
        x.w->Timer3Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 2u);
        EXPECT_EQ(x.t.sink.boxes[1].text, QString::fromLatin1(c.writeText));
        EXPECT_EQ(x.memo().last(), QString()); // no bytes behind the exception code
    }
}

TEST(ParaAnaWindow, OnlyTheWindowsOwnReplyIsTaken)
{
    Window x(4);
    x.w->ReadAnaInClick();
    struct Foreign {
        const char *what;
        std::vector<quint8> pdu;
    };
    const Foreign foreign[] = {
        {"short: one channel of four", {8, 4, 6, 0x12, 0x34, 0, 9, 0, 1}},
        {"another function", {8, 3, 24, 0x12, 0x34, 0, 9, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"process data", {8, 0x17, 24, 0x12, 0x34, 0, 9, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"byte count told, bytes missing", {8, 4, 24, 0x12, 0x34}},
    };
    for (const Foreign &f : foreign) {
        SCOPED_TRACE(f.what);
        x.reply(f.pdu);
        x.w->Timer1Timer();
        EXPECT_TRUE(x.w->Timer1->isActive()); // still waiting for its reply
        EXPECT_TRUE(x.t.sink.boxes.empty());
        EXPECT_EQ(x.rec(1).SetupWord, 0);
        EXPECT_EQ(x.rec(1).FilterValue, 51);
    }
    // The next write sends what the window had, not the foreign words.
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.tx(13, 6), (std::vector<int>{0xC0, 0, 0, 51, 0, 0}));
    x.t.sink.clear();

    // Only foreign replies: the read times out and nothing is taken.
    Window y(4);
    y.w->ReadAnaInClick();
    for (int tick = 0; tick <= y.d.RetryLimit; ++tick) {
        y.reply({8, 4, 6, 0x12, 0x34, 0, 9, 0, 1});
        y.w->Timer1Timer();
    }
    ASSERT_EQ(y.t.sink.boxes.size(), 1u);
    EXPECT_EQ(y.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(y.rec(1).FilterValue, 51);
}

TEST(ParaAnaWindow, EditsChangeOnlyTheirOwnRecord)
{
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        Window x(16);
        const AnaInBlock before = x.w->AnaInParams;
        x.choose(x.row(k).ComboBox, 3); // 4 ... 20 mA, code 51
        x.choose(x.row(k).CoBoUnit, 1); // uA
        x.row(k).Edit->setText(QStringLiteral("120"));
        x.row(k).Offset->setText(QStringLiteral("-5"));
        x.row(k).CbAktiv->setChecked(true);
        EXPECT_EQ(x.rec(k).SetupWord, 0x0133);
        EXPECT_EQ(x.rec(k).FilterValue, 120);
        EXPECT_EQ(x.rec(k).OffsetValue, -5);
        EXPECT_EQ(x.row(k).ScrollBar->value(), 120);
        EXPECT_EQ(x.row(k).ScrollBarOffset->value(), -5);
        for (int other = 1; other <= 16; ++other) {
            if (other == k)
                continue;
            EXPECT_EQ(x.rec(other).SetupWord, before[size_t(other - 1)].SetupWord) << other;
            EXPECT_EQ(x.rec(other).FilterValue, before[size_t(other - 1)].FilterValue) << other;
            EXPECT_EQ(x.rec(other).OffsetValue, before[size_t(other - 1)].OffsetValue) << other;
            EXPECT_EQ(x.row(other).ScrollBar->value(), 51) << other;
        }
        x.w->WriteAnaInClick();
        for (int channel = 1; channel <= 16; ++channel) {
            const int at = 13 + 6 * (channel - 1);
            if (channel == k)
                EXPECT_EQ(x.tx(at, 6), (std::vector<int>{0x41, 0x33, 0, 120, 0xFF, 0xFB})); // spike filter off
            else
                EXPECT_EQ(x.tx(at, 6), (std::vector<int>{0xC0, 0, 0, 51, 0, 0})) << channel;
        }
    }
}

TEST(ParaAnaWindow, ScrollBarAndEditPairs)
{
    Window x(2);
    TAnaInRow &r = x.row(1);
    struct Step {
        const char *typed; // nullptr: move the bar to `position`
        int position;
        const char *editAfter;
        int barAfter;
        qint32 stored;
    };
    // A number beyond the bar is not taken (the write refuses it), never
    // limited to another value than the field shows. The bar follows a typed
    // number and leaves the edit as typed.
    const Step filter[] = {
        {"051", 0, "051", 51, 51}, {"300", 0, "300", 51, 51},   {"255", 0, "255", 255, 255},
        {"051", 0, "051", 51, 51}, {nullptr, 52, "52", 52, 52}, {"0", 0, "0", 52, 52},
        {" 17", 0, " 17", 17, 17}, {"$20", 0, "$20", 32, 32},   {nullptr, 33, "33", 33, 33},
    };
    for (const Step &s : filter) {
        SCOPED_TRACE(s.typed ? s.typed : "bar");
        if (s.typed)
            r.Edit->setText(QString::fromLatin1(s.typed));
        else
            r.ScrollBar->setValue(s.position);
        EXPECT_EQ(r.Edit->text(), QString::fromLatin1(s.editAfter));
        EXPECT_EQ(r.ScrollBar->value(), s.barAfter);
        EXPECT_EQ(x.rec(1).FilterValue, s.stored);
    }
    const Step offset[] = {
        {"40000", 0, "40000", 0, 0}, {"-40000", 0, "-40000", 0, 0}, {"-", 0, "-", 0, 0},
        {"-10", 0, "-10", -10, -10}, {"-010", 0, "-010", -10, -10}, {nullptr, 1234, "1234", 1234, 1234},
    };
    for (const Step &s : offset) {
        SCOPED_TRACE(s.typed ? s.typed : "bar");
        if (s.typed)
            r.Offset->setText(QString::fromLatin1(s.typed));
        else
            r.ScrollBarOffset->setValue(s.position);
        EXPECT_EQ(r.Offset->text(), QString::fromLatin1(s.editAfter));
        EXPECT_EQ(r.ScrollBarOffset->value(), s.barAfter);
        EXPECT_EQ(x.rec(1).OffsetValue, s.stored);
    }
    EXPECT_TRUE(x.t.sink.conversionErrors.empty());
}

TEST(ParaAnaWindow, TextsThatAreNoValueAreReportedWhenTheFieldIsLeft)
{
    Window x(2);
    struct Case {
        const char *text;
        QLineEdit *TAnaInRow::*edit;
        const char *error;
    };
    const Case cases[] = {{"abc", &TAnaInRow::Edit, "'abc' is not a valid integer value"},
                          {"", &TAnaInRow::Edit, "'' is not a valid integer value"},
                          {"1.5", &TAnaInRow::Edit, "'1.5' is not a valid integer value"},
                          {"99999", &TAnaInRow::Edit, "'99999' is not within 1 .. 255"},
                          {"-", &TAnaInRow::Offset, "'-' is not a valid integer value"},
                          {"12x", &TAnaInRow::Offset, "'12x' is not a valid integer value"},
                          {"99999999999", &TAnaInRow::Offset, "'99999999999' is not within -32767 .. 32767"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        x.t.sink.clear();
        const AnaInRecord before = x.rec(1);
        const int filterBar = x.row(1).ScrollBar->value();
        const int offsetBar = x.row(1).ScrollBarOffset->value();
        QLineEdit *edit = x.row(1).*c.edit;
        edit->setText(QString::fromLatin1(c.text));
        EXPECT_TRUE(x.t.sink.conversionErrors.empty()); // on its way, or not yet left
        emit edit->editingFinished();
        ASSERT_EQ(x.t.sink.conversionErrors.size(), 1u);
        EXPECT_EQ(x.t.sink.conversionErrors[0], QString::fromLatin1(c.error));
        EXPECT_EQ(x.rec(1).FilterValue, before.FilterValue);
        EXPECT_EQ(x.rec(1).OffsetValue, before.OffsetValue);
        EXPECT_EQ(x.row(1).ScrollBar->value(), filterBar);
        EXPECT_EQ(x.row(1).ScrollBarOffset->value(), offsetBar);
        x.t.sink.clear();
        edit->setText(QStringLiteral("51")); // back to a number for the next case
    }
}

TEST(ParaAnaWindow, AllDefaultWrite)
{
    struct Case {
        int n;
        int length;
        const char *header;
    };
    const Case cases[] = {{4, 37, "0 0 0 0 0 0 8 16 32 0 0 12 24 "}, {16, 109, "0 0 0 0 0 0 8 16 32 0 0 48 96 "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.n);
        Window x(c.n);
        x.d.ParaTimeout = 900;
        const quint16 id = x.d.TransactionId;
        x.w->WriteAnaInClick();
        EXPECT_EQ(x.d.TxLength, c.length);
        EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 3 * c.n, 6 * c.n}));
        QString data = QStringLiteral(" ");
        for (int k = 1; k <= c.n; ++k) {
            EXPECT_EQ(x.tx(13 + 6 * (k - 1), 6), (std::vector<int>{0xC0, 0, 0, 51, 0, 0})) << k;
            data += QStringLiteral("192 0 0 51 0 0 ");
        }
        const QStringList memo = x.memo();
        ASSERT_GE(memo.size(), 3);
        EXPECT_EQ(memo[memo.size() - 2], QString::fromLatin1(c.header));
        EXPECT_EQ(memo.last(), data);
        EXPECT_TRUE(x.w->Timer3->isActive());
        EXPECT_EQ(x.w->Timer3->interval(), 900);
        EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(x.rec(k).SetupWord & 0xFFFF, 0xC000) << k; // all 16 records gathered

        x.reply({8, 0x10, 0x20, 0x00, 0, quint8(3 * c.n)});
        x.w->Timer3Timer();
        EXPECT_FALSE(x.w->Timer3->isActive());
        EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 %1").arg(3 * c.n)); // the bytes received
        EXPECT_TRUE(x.t.sink.boxes.empty());
    }
}

TEST(ParaAnaWindow, NoChannels)
{
    Window x(0);
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 0 0 0 0 8 16 32 0 0 0 0 "));
    EXPECT_EQ(x.d.TxLength, 0);
    EXPECT_FALSE(x.w->Timer3->isActive());

    // A read still asks, for no register; a plain reply changes nothing.
    x.w->ReadAnaInClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x20, 0x00, 0, 0}));
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 0 0 0 0 8 4 32 0 0 0 "));
    x.reply({8, 4, 0});
    x.w->Timer1Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_EQ(x.rec(1).FilterValue, 51);
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 0 0 0 0 8 4 32 0 0 0 "));
}

TEST(ParaAnaWindow, SixteenChannelsReadBackIntoEveryRow)
{
    Window x(16);
    std::vector<Channel> channels;
    for (int i = 0; i < 16; ++i)
        channels.push_back({quint16(SensorTypeTable[size_t(i)].code | ((i % 7) << 8)), quint16(i + 10),
                            quint16(qint16(100 * i - 800))});
    x.read(channels);
    EXPECT_TRUE(x.t.sink.boxes.empty());
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(x.row(k).ComboBox->currentIndex(), k - 1);
        EXPECT_EQ(x.row(k).CoBoUnit->currentIndex(), (k - 1) % 7);
        EXPECT_EQ(x.row(k).Edit->text(), QString::number(k + 9));
        EXPECT_EQ(x.row(k).Offset->text(), QString::number(100 * (k - 1) - 800));
    }
    const QStringList memo = x.memo();
    ASSERT_EQ(memo.size(), 1 + 1 + 48);
    EXPECT_EQ(memo.last(), QStringLiteral("15 :02BC"));
}

TEST(ParaAnaWindow, AWriteGivesUpAPendingRead)
{
    Window x(2);
    x.w->ReadAnaInClick();
    x.w->WriteAnaInClick();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.w->Timer3->isActive());
    x.w->Timer1Timer(); // a stray read tick leaves the write alone
    EXPECT_TRUE(x.w->Timer3->isActive());
    x.reply({8, 0x10, 0x20, 0x00, 0, 6});
    x.w->Timer3Timer();
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 6"));
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

} // namespace
