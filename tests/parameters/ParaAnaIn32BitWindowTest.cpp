#include "OneWindow.h"

#include "app/Conversions.h"
#include "parameters/AnaIn32Layout.h"
#include "parameters/TParaAnaIn32Bit.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct Channel {
    quint16 setup;
    quint16 mode;
    qint32 lower, upper, field;
};

// The whole program with a configuration of `n` strain gauge channels.
struct Window {
    explicit Window(int n = 2)
    {
        configure(n);
        w->FormActivate();
        t.sink.clear();
    }
    void configure(int n)
    {
        d.StationConfig.AnaIn32Count = static_cast<quint16>(n);
        for (int slot = 1; slot <= 9; ++slot)
            d.StationConfig.SlotModuleIds[size_t(slot)] = slot <= n / 2 ? 10 : 0;
        d.StationConfig.ConfigValid = 1;
    }
    void reply(const std::vector<quint8> &pdu) { HandReply(d, pdu); }
    void readReply(const std::vector<Channel> &channels)
    {
        std::vector<quint8> pdu = {8, 4, quint8(16 * channels.size())};
        for (const Channel &c : channels) {
            for (quint16 v : {c.setup, c.mode}) {
                pdu.push_back(quint8(v >> 8));
                pdu.push_back(quint8(v));
            }
            for (qint32 v : {c.lower, c.upper, c.field})
                for (int shift : {24, 16, 8, 0})
                    pdu.push_back(quint8(quint32(v) >> shift));
        }
        reply(pdu);
    }
    void writeReply(quint16 start, quint16 quantity)
    {
        reply({8, 0x10, quint8(start >> 8), quint8(start), quint8(quantity >> 8), quint8(quantity)});
    }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    QStringList memo() const { return w->Memo1->toPlainText().split(QLatin1Char('\n')); }
    TAnaIn32Row &row(int k) { return w->Row[size_t(k)]; }
    AnaIn32Record &rec(int k) { return w->AnaIn32Params[size_t(k - 1)]; }
    bool rowShown(int k) { return row(k).CoBoAus->isVisibleTo(w) && row(k).PV1_->isVisibleTo(w); }

    OneWindow<TParaAnaIn32Bit> t;
    Deklarat &d = t.d;
    TParaAnaIn32Bit *w = t.w;
};

TEST(ParaAnaIn32BitWindow, CreationDefaults)
{
    OneWindow<TParaAnaIn32Bit> t;
    TParaAnaIn32Bit *w = t.w;
    ASSERT_NE(w, nullptr);
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        const TAnaIn32Row &r = w->Row[size_t(k)];
        EXPECT_EQ(r.Typ->objectName(), QStringLiteral("Typ%1").arg(k));
        EXPECT_EQ(r.PV1_->objectName(), QStringLiteral("PV1_%1").arg(k));
        EXPECT_EQ(r.Typ->text(), QStringLiteral("???"));
        EXPECT_EQ(r.ScrollBar->value(), 51);
        EXPECT_EQ(r.Edit->text(), QStringLiteral("51"));
        EXPECT_EQ(r.PV1_->text(), QStringLiteral("0"));
        EXPECT_EQ(r.PV2_->text(), QStringLiteral("10000"));
        EXPECT_EQ(r.FV2_->text(), QStringLiteral("10000"));
        ASSERT_EQ(r.CoBoAus->count(), 4);
        ASSERT_EQ(r.CoBoFormat->count(), 5);
        EXPECT_EQ(r.CoBoAus->itemText(3), QStringLiteral("Offset"));
        EXPECT_EQ(r.CoBoFormat->itemText(3), QString());
        EXPECT_EQ(r.CoBoFormat->itemText(4), QStringLiteral("res Tara"));
        EXPECT_EQ(r.CoBoAus->currentIndex(), 0);
        EXPECT_EQ(r.CoBoFormat->currentIndex(), 0);
        for (QWidget *c : r.controls())
            EXPECT_TRUE(c->isHidden()) << c->objectName().toStdString();
        const AnaIn32Record &rec = w->AnaIn32Params[size_t(k - 1)];
        EXPECT_EQ(rec.SetupWord, 0);
        EXPECT_EQ(rec.ModeWord, 0x3300); // filter 51 from the scroll bar, no selection handler
        EXPECT_EQ(rec.LowerProValue, 0);
        EXPECT_EQ(rec.UpperProValue, 10000);
        EXPECT_EQ(rec.UpperFieldValue, 10000);
    }
    EXPECT_FALSE(w->Button1->isEnabled());
    EXPECT_FALSE(w->Button2->isEnabled());
    EXPECT_TRUE(t.sink.conversionErrors.empty());
}

TEST(ParaAnaIn32BitWindow, TextsInBothLanguages)
{
    OneWindow<TParaAnaIn32Bit> t;
    TParaAnaIn32Bit *w = t.w;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Parameter Analoge Eingänge 32Bit"));
    EXPECT_EQ(w->Row[1].Label->text(), QStringLiteral("Kanal 1"));
    EXPECT_EQ(w->Row[16].Label->text(), QStringLiteral("Kanal 16"));
    EXPECT_EQ(w->Heading(17)->text(), QStringLiteral("Typ"));
    EXPECT_EQ(w->Heading(33)->text(), QStringLiteral("FeldWert"));
    EXPECT_EQ(w->Button1->text(), QStringLiteral("Lesen"));
    w->Row[2].CoBoFormat->setCurrentIndex(4);
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("analog 32Bit Input Parameter"));
    EXPECT_EQ(w->Row[1].Label->text(), QStringLiteral("Chan. 1"));
    EXPECT_EQ(w->Heading(24)->text(), QStringLiteral("Process"));
    EXPECT_EQ(w->Back->text(), QStringLiteral("Back"));
    EXPECT_EQ(w->Row[2].CoBoFormat->currentText(), QStringLiteral("res Tara"));
    EXPECT_EQ(w->Row[2].Typ->text(), QStringLiteral("???"));
}

TEST(ParaAnaIn32BitWindow, ActivationShowsRowsForEvenCountsAndLaysOut)
{
    Window x(2);
    x.d.StationConfig.ConfigValid = 0;
    x.configure(4);
    x.d.StationConfig.ConfigValid = 0;
    x.w->FormActivate(); // no configuration: nothing changes
    EXPECT_TRUE(x.rowShown(2));
    EXPECT_FALSE(x.rowShown(3));

    struct Step {
        int n;
        int shownRows;
    };
    const Step steps[] = {{4, 4}, {3, 4}, {16, 16}, {0, 0}, {17, 0}, {6, 6}};
    for (const Step &s : steps) {
        SCOPED_TRACE(testing::Message() << "N " << s.n);
        x.configure(s.n);
        x.w->FormActivate();
        for (int k = 1; k <= 16; ++k)
            EXPECT_EQ(x.rowShown(k), k <= s.shownRows) << "row " << k;
        EXPECT_TRUE(x.w->Button1->isEnabled());
        EXPECT_TRUE(x.w->Button2->isEnabled());
        const int h = x.row(1).CoBoAus->height();
        const AnaIn32Layout l = ActivationLayout(std::min(s.n, 16), h, x.w->Memo1->height());
        EXPECT_EQ(x.w->GroupBox1->height(), l.groupHeight);
        EXPECT_EQ(x.w->Memo1->y(), l.controlsTop);
        EXPECT_EQ(x.w->Back->y(), l.controlsTop);
        EXPECT_EQ(x.w->height(), l.clientHeight);
    }
}

TEST(ParaAnaIn32BitWindow, ShowingTheWindowActivatesIt)
{
    OneWindow<TParaAnaIn32Bit> t;
    t.d.StationConfig.AnaIn32Count = 2;
    t.d.StationConfig.ConfigValid = 1;
    t.w->show();
    EXPECT_TRUE(t.w->Row[2].CoBoAus->isVisible());
    EXPECT_FALSE(t.w->Row[3].CoBoAus->isVisible());
    t.w->hide();
}

TEST(ParaAnaIn32BitWindow, ReadRequestOfTwoChannels)
{
    Window x(2);
    x.d.ParaTimeout = 700;
    const quint16 id = x.d.TransactionId;
    x.w->ReadAnaInClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x22, 0x00, 0, 16}));
    EXPECT_EQ(x.memo().last(), QStringLiteral("8 4 34 0 0 16"));
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->Timer1->interval(), 700);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
}

TEST(ParaAnaIn32BitWindow, ReadReplyIsShown)
{
    Window x(2);
    x.w->ReadAnaInClick();
    x.readReply({{0x0047 | 0x2000 | 0x0800, 0x3311, -500, 20000, 15000}, {0xC000, 0x0057, 0, -1, 2147483647}});
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());

    TAnaIn32Row &r1 = x.row(1);
    EXPECT_EQ(r1.Typ->text(), QStringLiteral("4mV/V"));
    EXPECT_EQ(r1.ScrollBar->value(), 51);
    EXPECT_EQ(r1.Edit->text(), QStringLiteral("51"));
    EXPECT_EQ(r1.CoBoAus->currentText(), QStringLiteral("Netto"));
    EXPECT_EQ(r1.CoBoFormat->currentText(), QStringLiteral("Null"));
    EXPECT_TRUE(r1.CbAktiv->isChecked());
    EXPECT_TRUE(r1.CbSpike->isChecked());
    EXPECT_TRUE(r1.CbScale->isChecked());
    EXPECT_FALSE(r1.CbFormat->isChecked());
    EXPECT_TRUE(r1.CbValue->isChecked());
    EXPECT_EQ(r1.PV1_->text(), QStringLiteral("-500"));
    EXPECT_EQ(r1.PV2_->text(), QStringLiteral("20000"));
    EXPECT_EQ(r1.FV2_->text(), QStringLiteral("15000"));

    TAnaIn32Row &r2 = x.row(2);
    EXPECT_EQ(r2.Typ->text(), QStringLiteral("???"));
    EXPECT_FALSE(r2.CbAktiv->isChecked());
    EXPECT_FALSE(r2.CbSpike->isChecked());
    EXPECT_EQ(r2.CoBoAus->currentIndex(), -1);    // output 7 has no entry
    EXPECT_EQ(r2.CoBoFormat->currentIndex(), -1); // format 5 has no entry
    // Filter 0 lies outside the bar: the bar shows 1 and its handler stores it.
    EXPECT_EQ(r2.ScrollBar->value(), 1);
    EXPECT_EQ(r2.Edit->text(), QStringLiteral("1"));
    EXPECT_EQ(x.rec(2).ModeWord, 0x0157);
    EXPECT_EQ(r2.PV2_->text(), QStringLiteral("-1"));
    EXPECT_EQ(r2.FV2_->text(), QStringLiteral("2147483647"));

    EXPECT_EQ(x.rec(1).SetupWord, 0x2847);
    EXPECT_EQ(x.rec(2).SetupWord, -16384);    // sign-extended
    EXPECT_EQ(x.rec(3).UpperProValue, 10000); // not read
    const QStringList expected = {
        QStringLiteral("8 4 34 0 0 16"), QStringLiteral("0 :2847"),     QStringLiteral("0 :3311"),
        QStringLiteral("0 :FFFFFE0C"),   QStringLiteral("0 :00004E20"), QStringLiteral("0 :00003A98"),
        QStringLiteral("1 :FFFFC000"),   QStringLiteral("1 :0057"),     QStringLiteral("1 :00000000"),
        QStringLiteral("1 :FFFFFFFF"),   QStringLiteral("1 :7FFFFFFF")};
    EXPECT_EQ(x.memo(), expected);
}

TEST(ParaAnaIn32BitWindow, TimeoutsAfterTheRetries)
{
    Window x(2);
    x.d.RetryLimit = 2;
    x.w->ReadAnaInClick();
    const AnaIn32Record before = x.rec(1);
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
    EXPECT_EQ(x.rec(1).ModeWord, before.ModeWord);

    x.t.sink.clear();
    x.w->WriteAnaInClick();
    for (int tick = 0; tick < 3; ++tick)
        x.w->Timer3Timer();
    EXPECT_FALSE(x.w->Timer3->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.memo().last(), QStringLiteral("Timeout"));
}

TEST(ParaAnaIn32BitWindow, ExceptionReplies)
{
    struct Case {
        quint8 code;
        const char *readText;
        const char *writeText;
    };
    const Case cases[] = {{1, "Illegal Function", " Fehler Illegal Function"},
                          {2, "Illegal Data Adress", " Fehler Illegal Data Adress"},
                          {9, "", " Fehler "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        Window x(2);
        x.w->ReadAnaInClick();
        x.reply({8, 0x84, c.code});
        x.w->Timer1Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 1u);
        EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
        EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromLatin1(c.readText));
        EXPECT_EQ(x.rec(1).ModeWord, 0x3300);

        x.w->WriteAnaInClick();
        x.reply({8, 0x90, c.code});
        x.w->Timer3Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 2u);
        EXPECT_EQ(x.t.sink.boxes[1].text, QString::fromLatin1(c.writeText));
        EXPECT_EQ(x.memo().last(), QString()); // no bytes behind the exception code
    }
}

TEST(ParaAnaIn32BitWindow, EditsChangeOnlyTheirOwnRecord)
{
    Window x(4);
    const AnaIn32Block before = x.w->AnaIn32Params;
    x.rec(2).ModeWord = 0x3311;

    x.row(2).ScrollBar->setValue(100);
    EXPECT_EQ(x.row(2).Edit->text(), QStringLiteral("100"));
    EXPECT_EQ(x.rec(2).ModeWord, 0x6411); // bits 0..7 stay

    x.row(3).Edit->setText(QStringLiteral("255"));
    EXPECT_EQ(x.row(3).ScrollBar->value(), 255);
    EXPECT_EQ(x.rec(3).ModeWord, 0xFF00);
    x.row(3).Edit->setText(QStringLiteral("300")); // beyond the bar: not taken
    EXPECT_EQ(x.row(3).ScrollBar->value(), 255);
    EXPECT_EQ(x.row(3).Edit->text(), QStringLiteral("300"));
    x.row(3).Edit->setText(QStringLiteral("7"));
    EXPECT_EQ(x.row(3).ScrollBar->value(), 7);
    EXPECT_EQ(x.rec(3).ModeWord, 0x0700);

    x.row(4).CoBoAus->setCurrentIndex(3);
    emit x.row(4).CoBoAus->activated(3);
    x.row(4).CoBoFormat->setCurrentIndex(4);
    emit x.row(4).CoBoFormat->activated(4);
    EXPECT_EQ(x.rec(4).ModeWord, 0x3343);

    x.row(1).PV1_->setText(QStringLiteral("-123456"));
    x.row(1).PV2_->setText(QStringLiteral("$7FFFFFFF"));
    x.row(1).FV2_->setText(QStringLiteral("42"));
    EXPECT_EQ(x.rec(1).LowerProValue, -123456);
    EXPECT_EQ(x.rec(1).UpperProValue, 2147483647);
    EXPECT_EQ(x.rec(1).UpperFieldValue, 42);
    EXPECT_EQ(x.rec(1).ModeWord, before[0].ModeWord);
    for (int k : {2, 3, 4})
        EXPECT_EQ(x.rec(k).LowerProValue, before[size_t(k - 1)].LowerProValue) << k;
    EXPECT_TRUE(x.t.sink.conversionErrors.empty());
}

TEST(ParaAnaIn32BitWindow, TextsThatAreNoValueKeepItAndAreReportedWhenLeft)
{
    Window x(2);
    struct Case {
        const char *text;
        QLineEdit *TAnaIn32Row::*edit;
        const char *error;
    };
    const Case cases[] = {{"", &TAnaIn32Row::PV1_, "'' is not a valid integer value"},
                          {"-", &TAnaIn32Row::PV1_, "'-' is not a valid integer value"},
                          {"2147483648", &TAnaIn32Row::PV2_, "'2147483648' is not within -2147483648 .. 2147483647"},
                          {"99999999999", &TAnaIn32Row::FV2_, "'99999999999' is not within -2147483648 .. 2147483647"},
                          {"abc", &TAnaIn32Row::Edit, "'abc' is not a valid integer value"},
                          {"", &TAnaIn32Row::Edit, "'' is not a valid integer value"},
                          {"256", &TAnaIn32Row::Edit, "'256' is not within 1 .. 255"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        x.t.sink.clear();
        const AnaIn32Record before = x.rec(1);
        QLineEdit *edit = x.row(1).*c.edit;
        edit->setText(QString::fromLatin1(c.text));
        EXPECT_TRUE(x.t.sink.conversionErrors.empty()); // typing is no error yet
        emit edit->editingFinished();
        ASSERT_EQ(x.t.sink.conversionErrors.size(), 1u);
        EXPECT_EQ(x.t.sink.conversionErrors[0], QString::fromLatin1(c.error));
        EXPECT_EQ(x.rec(1).LowerProValue, before.LowerProValue);
        EXPECT_EQ(x.rec(1).UpperProValue, before.UpperProValue);
        EXPECT_EQ(x.rec(1).UpperFieldValue, before.UpperFieldValue);
        EXPECT_EQ(x.rec(1).ModeWord, before.ModeWord);
        edit->setText(QStringLiteral("51")); // back to a number for the next case
    }
}

TEST(ParaAnaIn32BitWindow, SpareModeBitsClearedOnlyInRowsOneAndTwo)
{
    Window x(4);
    x.w->ReadAnaInClick();
    const Channel spare{71, 0x3388, 0, 10000, 10000};
    x.readReply({spare, spare, spare, spare});
    x.w->Timer1Timer();
    for (int k : {1, 3}) {
        x.row(k).CoBoAus->setCurrentIndex(1);
        emit x.row(k).CoBoAus->activated(1);
        x.row(k).CoBoFormat->setCurrentIndex(2);
        emit x.row(k).CoBoFormat->activated(2);
    }
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.tx(13 + 2, 2), (std::vector<int>{0x33, 0x21}));      // channel 1: bits 3 and 7 cleared
    EXPECT_EQ(x.tx(13 + 16 + 2, 2), (std::vector<int>{0x33, 0x88})); // channel 2: untouched
    EXPECT_EQ(x.tx(13 + 32 + 2, 2), (std::vector<int>{0x33, 0xA9})); // channel 3: kept
}

TEST(ParaAnaIn32BitWindow, WriteRequestSendsTheStrainGaugeTypeForEveryChannel)
{
    Window x(2);
    x.w->ReadAnaInClick();
    x.readReply({{0x0000, 0x3300, 1, 2, 3}, {0x0748, 0x3300, -1, -2, -3}});
    x.w->Timer1Timer();
    x.row(2).CbAktiv->setChecked(false);
    x.row(2).CbFormat->setChecked(true);
    x.d.ParaTimeout = 900;

    x.w->WriteAnaInClick();
    EXPECT_EQ(x.d.TxLength, 13 + 32);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x22, 0x00, 0, 16, 32}));
    EXPECT_EQ(x.tx(13, 16), (std::vector<int>{0, 71, 0x33, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3}));
    EXPECT_EQ(x.tx(29, 4), (std::vector<int>{0x90, 71, 0x33, 0}));
    EXPECT_EQ(x.tx(33, 4), (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFF}));
    for (int k = 1; k <= 16; ++k)
        EXPECT_EQ(x.rec(k).SetupWord & 0xFF, 71) << k;
    const QStringList memo = x.memo();
    ASSERT_GE(memo.size(), 2);
    EXPECT_EQ(memo[memo.size() - 2], QStringLiteral("8 16 34 0 0 16 32"));
    EXPECT_EQ(memo.last(), QStringLiteral(" 0 71 51 0 144 71 51 0 "));
    EXPECT_TRUE(x.w->Timer3->isActive());
    EXPECT_EQ(x.w->Timer3->interval(), 900);

    x.writeReply(0x2200, 16);
    x.w->Timer3Timer();
    EXPECT_FALSE(x.w->Timer3->isActive());
    EXPECT_EQ(x.memo().last(), QStringLiteral("0 0 16")); // only the bytes received
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(ParaAnaIn32BitWindow, NoChannels)
{
    Window x(0);
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.memo().last(), QStringLiteral("8 16 34 0 0 0 0"));
    EXPECT_EQ(x.d.TxLength, 0);
    EXPECT_FALSE(x.w->Timer3->isActive());

    // A read still asks, for no register; a plain reply changes nothing.
    x.w->ReadAnaInClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x22, 0x00, 0, 0}));
    x.reply({8, 4, 0});
    x.w->Timer1Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.rec(1).ModeWord, 0x3300);
    EXPECT_EQ(x.memo().last(), QStringLiteral("8 4 34 0 0 0"));
}

TEST(ParaAnaIn32BitWindow, ShortReplyIsNotTheWindowsAndNeverReachesTheRecords)
{
    Window x(2);
    x.w->ReadAnaInClick();
    x.readReply({{71, 0x1111, 1, 2, 3}}); // one channel of two
    x.w->Timer1Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_TRUE(x.w->Timer1->isActive()); // still waiting for its reply
    EXPECT_EQ(x.rec(1).ModeWord, 0x3300);
    // The whole reply, arriving behind it, is taken.
    x.readReply({{71, 0x0A01, 1, 2, 3}, {71, 0x0A02, 4, 5, 6}});
    x.w->Timer1Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.rec(1).ModeWord, 0x0A01);

    // Only short replies: the read times out and nothing is taken.
    x.w->ReadAnaInClick();
    for (int tick = 0; tick <= x.d.RetryLimit; ++tick) {
        x.readReply({{71, 0x1111, 1, 2, 3}});
        x.w->Timer1Timer();
    }
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.rec(1).ModeWord, 0x0A01);
    EXPECT_FALSE(x.w->Timer1->isActive());
}

std::vector<Channel> channels(int first, int count)
{
    std::vector<Channel> list;
    for (int i = first; i < first + count; ++i)
        list.push_back({71, quint16(0x0A00 + i), -i, 1000 * i, 7 * i});
    return list;
}

TEST(ParaAnaIn32BitWindow, SixteenChannelsAreReadInTwoRequests)
{
    Window x(16);
    x.w->ReadAnaInClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x22, 0x00, 0, 120}));
    x.readReply(channels(0, 15));
    EXPECT_EQ(x.d.RxCount, 249);
    x.w->Timer1Timer();
    // The rest is asked for at once; nothing is taken before it arrives.
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x22, 0x78, 0, 8}));
    EXPECT_EQ(x.d.RxCount, 0);
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.rec(1).ModeWord, 0x3300);
    EXPECT_EQ(x.memo().last(), QStringLiteral("8 4 34 120 0 8"));

    x.readReply(channels(15, 1));
    x.w->Timer1Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(x.rec(k).ModeWord, 0x0A00 + k - 1);
        EXPECT_EQ(x.rec(k).UpperFieldValue, 7 * (k - 1));
        EXPECT_EQ(x.row(k).Typ->text(), QStringLiteral("4mV/V"));
        EXPECT_EQ(x.row(k).ScrollBar->value(), 10);
        EXPECT_EQ(x.row(k).PV2_->text(), QString::number(1000 * (k - 1)));
    }
    EXPECT_EQ(x.memo().last(), QStringLiteral("15 :00000069"));
}

TEST(ParaAnaIn32BitWindow, FailedSecondPartLeavesTheRecords)
{
    Window x(16);
    x.w->ReadAnaInClick();
    x.readReply(channels(0, 15));
    x.w->Timer1Timer();
    x.reply({8, 0x84, 2});
    x.w->Timer1Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    for (int k = 1; k <= 16; ++k)
        EXPECT_EQ(x.rec(k).ModeWord, 0x3300) << k;
}

TEST(ParaAnaIn32BitWindow, SixteenChannelsAreWrittenInTwoRequests)
{
    Window x(16);
    for (int k = 1; k <= 16; ++k)
        x.row(k).PV1_->setText(QString::number(k));
    x.w->WriteAnaInClick();
    EXPECT_EQ(x.d.TxLength, 253);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x22, 0x00, 0, 120, 240}));
    EXPECT_EQ(x.tx(13 + 16 * 14 + 4, 4), (std::vector<int>{0, 0, 0, 15}));

    x.writeReply(0x2200, 120);
    x.w->Timer3Timer();
    EXPECT_TRUE(x.w->Timer3->isActive());
    EXPECT_EQ(x.d.TxLength, 13 + 16);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x22, 0x78, 0, 8, 16}));
    EXPECT_EQ(x.tx(13 + 4, 4), (std::vector<int>{0, 0, 0, 16}));
    const QStringList memo = x.memo();
    EXPECT_EQ(memo[memo.size() - 3], QStringLiteral("0 0 120"));
    EXPECT_EQ(memo[memo.size() - 2], QStringLiteral("8 16 34 120 0 8 16"));

    x.writeReply(0x2278, 8);
    x.w->Timer3Timer();
    EXPECT_FALSE(x.w->Timer3->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(ParaAnaIn32BitWindow, ExceptionOnTheFirstPartStopsTheWrite)
{
    Window x(16);
    x.w->WriteAnaInClick();
    x.reply({8, 0x90, 3});
    x.w->Timer3Timer();
    EXPECT_FALSE(x.w->Timer3->isActive());
    EXPECT_EQ(x.tx(8, 2), (std::vector<int>{0x22, 0x00})); // no second request
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Value"));
}

} // namespace
