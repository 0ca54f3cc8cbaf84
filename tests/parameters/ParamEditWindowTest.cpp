// The coupler parameter editor as the overview opens it: title, tabs from the
// coupler's object list, the tab display, address and metric entry, and the
// read and write of the 39-register block.
#include "ParameterFixture.h"

#include "parameters/TParamEdit.h"
#include "parameters/TParameter.h"

#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace
{

using parameterfixture::ParameterOverview;

struct Editor : ParameterOverview {
    Editor()
    {
        configure({1});
        overview->DefaultDataLaden();
        overview->SGParamDblClick(1, 1);
        w = qobject_cast<TParamEdit *>(overview->OpenEditor());
    }
    ~Editor()
    {
        if (overview->OpenEditor())
            overview->OpenEditor()->reject();
    }
    QString field(int i) const { return w->ECoupler[size_t(i)]->text(); }
    QString label(int i) const { return w->LCoupler[size_t(i)]->text(); }
    bool shown(int i) const { return w->ECoupler[size_t(i)]->isVisibleTo(w) && w->LCoupler[size_t(i)]->isVisibleTo(w); }
    void enter(int i, const QString &text)
    {
        w->ECoupler[size_t(i)]->setText(text);
        w->ECouplerKeyPress(i, 13);
    }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    // A read reply of 39 registers whose bytes are `data` followed by zeros.
    void readReply(const std::vector<quint8> &data)
    {
        std::vector<quint8> pdu(3 + 78, 0);
        pdu[0] = 8;
        pdu[1] = 4;
        pdu[2] = 78;
        std::copy_n(data.begin(), std::min<size_t>(data.size(), 78), pdu.begin() + 3);
        HandReply(d, pdu);
    }

    TParamEdit *w = nullptr;
};

TEST(ParamEditWindow, OpenedFromTheCouplerColumnWithTitleAndTabs)
{
    Editor e;
    ASSERT_NE(e.w, nullptr);
    EXPECT_EQ(e.d.SelectedPosition, 0);
    EXPECT_TRUE(e.w->isVisible());
    EXPECT_EQ(e.w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(e.w->windowTitle(), QStringLiteral("ParamEdit - 0 - NX 600 Buskoppler"));
    ASSERT_EQ(e.w->TCCoupler->count(), 7);
    EXPECT_EQ(e.w->TCCoupler->tabText(0), QStringLiteral("IP-Adresse"));
    EXPECT_EQ(e.w->TCCoupler->tabText(6), QStringLiteral("Route 5"));
    EXPECT_EQ(e.w->TCCoupler->currentIndex(), 0);
    EXPECT_EQ(e.w->LConfirmData->text(), QStringLiteral("Zum Übernehmen der eingegebenen Daten ENTER drücken"));
    EXPECT_EQ(e.w->BSend->text(), QStringLiteral("Senden"));
    EXPECT_EQ(e.w->CouplerBlock, CouplerParameterBlock{});

    // Tab 0: one row with the own address, zeros before any read.
    EXPECT_TRUE(e.shown(0));
    EXPECT_FALSE(e.shown(1));
    EXPECT_FALSE(e.shown(3));
    EXPECT_EQ(e.label(0), QStringLiteral("IP-Adresse des Kopplers"));
    EXPECT_EQ(e.field(0), QStringLiteral("0.0.0.0"));
}

TEST(ParamEditWindow, EnglishTitleAndTexts)
{
    ParameterOverview s;
    SelectLanguage(s.d, 1);
    s.configure({});
    s.overview->DefaultDataLaden();
    s.overview->SGParamDblClick(1, 1);
    auto *w = qobject_cast<TParamEdit *>(s.overview->OpenEditor());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" - 0 - NX 600 Buskoppler"));
    EXPECT_EQ(w->LConfirmData->text(), QStringLiteral("Press ENTER  to confirm the new data"));
    EXPECT_EQ(w->BRead->text(), QStringLiteral("Read"));
    w->reject();
}

TEST(ParamEditWindow, TabDisplayFollowsTheObject)
{
    Editor e;
    e.w->CouplerBlock.LocalMask = {255, 255, 0, 0};
    e.w->CouplerBlock.Routes[1] = {{10, 0, 0, 0}, {255, 0, 0, 0}, {10, 0, 0, 1}, 7};
    e.w->TCCoupler->setCurrentIndex(1);
    EXPECT_EQ(e.label(0), QStringLiteral("Subnetzmaske des Kopplers"));
    EXPECT_EQ(e.field(0), QStringLiteral("255.255.0.0"));
    EXPECT_FALSE(e.shown(1));

    e.w->TCCoupler->setCurrentIndex(3); // route 2
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(e.shown(i)) << i;
    EXPECT_EQ(e.label(0), QStringLiteral("Zielnetz 2"));
    EXPECT_EQ(e.label(3), QStringLiteral("Metrik 2"));
    EXPECT_EQ(e.field(0), QStringLiteral("10.0.0.0"));
    EXPECT_EQ(e.field(1), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(e.field(2), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(e.field(3), QStringLiteral("7"));

    e.w->TCCoupler->setCurrentIndex(0);
    EXPECT_TRUE(e.shown(0));
    EXPECT_FALSE(e.shown(2));
    EXPECT_EQ(e.field(2), QString());
}

TEST(ParamEditWindow, EnteringAddressesAndMetrics)
{
    Editor e;
    struct Case {
        int tab;
        int field;
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {
        {0, 0, "192.168.1.300", "192.168.1.44"}, {1, 0, "10.1", "10.0.0.1"},
        {2, 0, "1.2.3.4.5", "1.2.3.0"},          {2, 1, "abc", "0.0.0.0"},
        {6, 2, "172.16.0.254", "172.16.0.254"},  {4, 3, "65535", "65535"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        e.w->TCCoupler->setCurrentIndex(c.tab);
        e.enter(c.field, QString::fromUtf8(c.typed));
        EXPECT_EQ(e.field(c.field), QString::fromUtf8(c.shown));
        // What is shown is what is stored: a redisplay shows it again.
        e.w->TCCouplerChange();
        EXPECT_EQ(e.field(c.field), QString::fromUtf8(c.shown));
    }
    const CouplerParameterBlock &b = e.w->CouplerBlock;
    EXPECT_EQ(b.LocalIp, (IpAddress{192, 168, 1, 44}));
    EXPECT_EQ(b.LocalMask, (IpAddress{10, 0, 0, 1}));
    EXPECT_EQ(b.Routes[0].Destination, (IpAddress{1, 2, 3, 0}));
    EXPECT_EQ(b.Routes[0].NetMask, (IpAddress{0, 0, 0, 0}));
    EXPECT_EQ(b.Routes[4].Gateway, (IpAddress{172, 16, 0, 254}));
    EXPECT_EQ(b.Routes[2].Metric, 65535);
    EXPECT_TRUE(e.sink.conversionErrors.empty());
}

TEST(ParamEditWindow, MetricThatIsNoNumberOrBeyondARegisterIsReportedAndNotStored)
{
    Editor e;
    e.w->TCCoupler->setCurrentIndex(2);
    e.enter(3, QStringLiteral("12"));
    for (const char *typed : {"zwölf", "70000", "-1", ""}) {
        SCOPED_TRACE(typed);
        e.sink.clear();
        e.enter(3, QString::fromUtf8(typed));
        ASSERT_EQ(e.sink.conversionErrors.size(), 1u);
        EXPECT_TRUE(e.sink.conversionErrors[0].contains(QString::fromUtf8(typed)));
        EXPECT_EQ(e.w->CouplerBlock.Routes[0].Metric, 12);
    }
}

TEST(ParamEditWindow, OnlyEnterTakesTheText)
{
    Editor e;
    e.enter(0, QStringLiteral("1.1.1.1"));
    e.w->ECoupler[0]->setText(QStringLiteral("9.9.9.9"));
    e.w->ECouplerKeyPress(0, 'a');
    EXPECT_EQ(e.w->CouplerBlock.LocalIp, (IpAddress{1, 1, 1, 1}));
    // Leaving the field drops what was not confirmed.
    e.w->ECouplerExit(0);
    EXPECT_EQ(e.field(0), QStringLiteral("1.1.1.1"));

    // The same with real keys and focus.
    e.w->activateWindow();
    e.w->ECoupler[0]->setFocus();
    e.w->ECoupler[0]->selectAll();
    QTest::keyClicks(e.w->ECoupler[0], QStringLiteral("10.20.30.40"));
    QTest::keyClick(e.w->ECoupler[0], Qt::Key_Return);
    EXPECT_EQ(e.w->CouplerBlock.LocalIp, (IpAddress{10, 20, 30, 40}));
    EXPECT_TRUE(e.w->isVisible()) << "Enter must not close the editor";
}

TEST(ParamEditWindow, FieldsOfTheAddressTabsStoreNoRoute)
{
    Editor e;
    // Rows 1 to 3 belong to routes; on the address tabs they store nothing.
    e.enter(1, QStringLiteral("1.2.3.4"));
    e.enter(3, QStringLiteral("9"));
    EXPECT_EQ(e.w->CouplerBlock, CouplerParameterBlock{});
}

TEST(ParamEditWindow, ReadShowsTheCouplersBlock)
{
    Editor e;
    e.d.TransactionId = 41;
    e.w->BReadClick();
    EXPECT_EQ(e.tx(6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0x00, 39}));
    EXPECT_EQ(e.d.TxLength, 12);
    EXPECT_EQ(e.d.TransactionId, 42);
    EXPECT_TRUE(e.w->ReadPara->isActive());
    EXPECT_EQ(e.w->ReadPara->interval(), e.d.ResponseInterval);

    std::vector<quint8> data = {0xC0, 0xA8, 0x00, 0x0A, 255, 255, 255, 0};
    data.resize(8 + 14 * 2);
    data[8 + 14 + 12] = 0x01; // route 2's metric
    data[8 + 14 + 13] = 0x02;
    e.readReply(data);
    e.w->ReadParaTimer();
    EXPECT_TRUE(e.sink.boxes.empty());
    EXPECT_EQ(e.field(0), QStringLiteral("192.168.0.10"));
    e.w->TCCoupler->setCurrentIndex(3);
    EXPECT_EQ(e.field(3), QStringLiteral("258"));
}

TEST(ParamEditWindow, WriteSendsTheBlockUnderTheSameTransaction)
{
    Editor e;
    e.enter(0, QStringLiteral("192.168.0.10"));
    e.w->TCCoupler->setCurrentIndex(6);
    e.enter(3, QStringLiteral("3"));
    e.d.TransactionId = 7;
    e.w->BSendClick();
    EXPECT_EQ(e.d.TransactionId, 7);
    EXPECT_EQ(e.d.TxLength, 91);
    EXPECT_EQ(e.tx(6, 11), (std::vector<int>{8, 0x10, 0x30, 0x00, 0x00, 39, 78, 192, 168, 0, 10}));
    EXPECT_EQ(e.tx(13 + 2 * 38, 2), (std::vector<int>{0, 3}));
    EXPECT_TRUE(e.w->WritePara->isActive());
    EXPECT_EQ(e.w->WritePara->interval(), e.d.ParaTimeout);
    HandReply(e.d, {8, 0x10, 0x30, 0x00, 0x00, 39});
    e.w->WriteParaTimer();
    EXPECT_TRUE(e.sink.boxes.empty());
}

TEST(ParamEditWindow, TimeoutsAndExceptions)
{
    Editor e;
    e.d.RetryLimit = 2;
    e.w->BReadClick();
    for (int tick = 0; tick < 2; ++tick) {
        e.w->ReadParaTimer();
        EXPECT_TRUE(e.w->ReadPara->isActive());
    }
    e.w->ReadParaTimer();
    EXPECT_FALSE(e.w->ReadPara->isActive());
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(e.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(e.sink.boxes[0].kind, MessageKind::Error);

    e.sink.clear();
    e.w->CouplerBlock.LocalIp = {1, 2, 3, 4};
    e.w->BReadClick();
    HandReply(e.d, {8, 0x84, 2});
    e.w->ReadParaTimer();
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
    EXPECT_EQ(e.field(0), QStringLiteral("1.2.3.4"));

    e.sink.clear();
    e.w->BSendClick();
    HandReply(e.d, {8, 0x90, 3});
    e.w->WriteParaTimer();
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Value"));
}

TEST(ParamEditWindow, AnotherWindowsReplyIsNotTaken)
{
    Editor e;
    e.w->BReadClick();
    // A reply to another request (other function code) is not the editor's.
    HandReply(e.d, {8, 3, 2, 0x12, 0x34});
    e.w->ReadParaTimer();
    EXPECT_TRUE(e.w->ReadPara->isActive());
    EXPECT_EQ(e.w->CouplerBlock, CouplerParameterBlock{});
}

TEST(ParamEditWindow, SendGivesUpAWaitingRead)
{
    Editor e;
    e.d.RetryLimit = 2;
    e.w->BReadClick();
    e.w->ReadParaTimer();
    ASSERT_EQ(e.w->RetryCount, 1);
    e.w->BSendClick();
    EXPECT_FALSE(e.w->ReadPara->isActive());
    EXPECT_EQ(e.w->RetryCount, 0);
    // A late tick of the read's timer checks nothing and leaves the write's count.
    e.w->ReadParaTimer();
    EXPECT_FALSE(e.w->ReadPara->isActive());
    EXPECT_TRUE(e.w->WritePara->isActive());
    EXPECT_EQ(e.w->RetryCount, 0);
    HandReply(e.d, {8, 0x10, e.d.TxFrame[8], e.d.TxFrame[9], e.d.TxFrame[10], e.d.TxFrame[11]});
    e.w->WriteParaTimer();
    EXPECT_FALSE(e.w->WritePara->isActive());
    EXPECT_TRUE(e.sink.boxes.empty());
}

TEST(ParamEditWindow, BackClosesAndTheOverviewDestroysIt)
{
    Editor e;
    QPointer<TParamEdit> w = e.w;
    e.w->BCancel->click();
    EXPECT_FALSE(w->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(e.overview->OpenEditor(), nullptr);
    // A new editor starts from zeros again.
    e.overview->SGParamDblClick(1, 1);
    auto *again = qobject_cast<TParamEdit *>(e.overview->OpenEditor());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->CouplerBlock, CouplerParameterBlock{});
}

} // namespace
