#include "OneWindow.h"

#include "app/IniFile.h"
#include "parameters/TAllgePara.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace
{

// Seconds as typed and shown with the decimal separator of the user's locale.
QString seconds(const char *text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

// The whole program with a configuration, reached over Ethernet or the serial line.
struct Window {
    explicit Window(bool ethernet = true)
    {
        d.StationConfig.ConfigValid = 1;
        d.EthernetSelected = ethernet ? 1 : 0;
        w->FormActivate();
        t.sink.clear();
    }
    void reply(const std::vector<quint8> &pdu) { HandReply(d, pdu); }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    static QStringList items(const QComboBox *c)
    {
        QStringList list;
        for (int i = 0; i < c->count(); ++i)
            list << c->itemText(i);
        return list;
    }
    // A read reply of the whole network block.
    void networkReply(const std::vector<quint8> &data)
    {
        std::vector<quint8> pdu(3 + 78, 0);
        pdu[0] = 8;
        pdu[1] = 4;
        pdu[2] = 78;
        std::copy_n(data.begin(), std::min<size_t>(data.size(), 78), pdu.begin() + 3);
        reply(pdu);
    }

    OneWindow<TAllgePara> t;
    Deklarat &d = t.d;
    TAllgePara *w = t.w;
};

TEST(AllgeParaWindow, CreationState)
{
    OneWindow<TAllgePara> t;
    TAllgePara *w = t.w;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Allgemeine Parameter"));
    // Seeded lists, then the texts of the settings file (here its defaults).
    EXPECT_EQ(Window::items(w->CBIpMask), (QStringList{"255.255.255.255", "255.255.0.0"}));
    EXPECT_EQ(w->CBIpAdresse->count(), 0);
    EXPECT_EQ(w->CBIpAdresse->currentText(), QStringLiteral("192.168.0.1"));
    EXPECT_EQ(w->CBIpMask->currentText(), QStringLiteral("255.255.255.0"));
    for (int r = 1; r <= 5; ++r) {
        SCOPED_TRACE(r);
        const auto i = size_t(r);
        EXPECT_EQ(Window::items(w->CBRoutingIP[i]), QStringList{"0.0.0.0"});
        EXPECT_EQ(Window::items(w->CBRoutingGateway[i]), QStringList{"0.0.0.0"});
        EXPECT_EQ(Window::items(w->CBRoutingMask[i]), (QStringList{"0.0.0.0", "255.255.255.0", "255.255.0.0"}));
        EXPECT_EQ(w->CBRoutingIP[i]->currentText(), QStringLiteral("192.168.0.1"));
        EXPECT_EQ(w->CBRoutingMask[i]->currentText(), QStringLiteral("255.255.255.255"));
        EXPECT_EQ(w->CBRoutingGateway[i]->currentText(), QStringLiteral("192.168.0.1"));
        EXPECT_EQ(w->EdMetric[i]->text(), QStringLiteral("0"));
        EXPECT_EQ(w->EdMetric[i]->objectName(), QStringLiteral("EdMetric%1").arg(r));
        EXPECT_EQ(w->CBRoutingMask[i]->objectName(), QStringLiteral("CBRoutingMask%1").arg(r));
    }
    // Buttons, the serial group and every element of the Ethernet group start hidden.
    for (QWidget *hidden : std::vector<QWidget *>{w->Write, w->Read, w->Back, w->GBoSeriell, w->CBIpAdresse,
                                                  w->EdMetric[5], w->BSetComDefault, w->Label(16)})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_FALSE(w->GBoEthernet->isHidden());
    EXPECT_TRUE(w->Edit1->isReadOnly());
    EXPECT_FALSE(w->Edit2->isReadOnly());
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("Edit1"));
    EXPECT_EQ(w->SerialTimeRaw, 0);
    EXPECT_TRUE(t.sink.boxes.empty());
    EXPECT_TRUE(t.sink.conversionErrors.empty());
}

TEST(AllgeParaWindow, InitialTextsFromTheSettingsFile)
{
    BareProgram t;
    IniFile ini(t.d.SettingsPath);
    ini.writeString(QStringLiteral("allgPara"), QStringLiteral("lokalIp"), QStringLiteral("10.0.0.7"));
    ini.writeString(QStringLiteral("ALLGPARA"), QStringLiteral("lokalIpMask"), QStringLiteral("255.0.0.0"));
    ini.writeString(QStringLiteral("allgPara"), QStringLiteral("DestIp3"), QStringLiteral("172.16.0.0"));
    ini.writeString(QStringLiteral("allgPara"), QStringLiteral("IpNetmask3"), QStringLiteral("255.240.0.0"));
    ini.writeString(QStringLiteral("allgPara"), QStringLiteral("Gateway5"), QStringLiteral("10.0.0.254"));
    ini.writeString(QStringLiteral("allgPara"), QStringLiteral("Metric2"), QStringLiteral("12"));
    ASSERT_TRUE(ini.save());
    const QByteArray before = [&] {
        QFile f(t.d.SettingsPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    TAllgePara w(t.d); // the creation step reads the file
    EXPECT_EQ(w.CBIpAdresse->currentText(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(w.CBIpMask->currentText(), QStringLiteral("255.0.0.0"));
    EXPECT_EQ(w.CBRoutingIP[3]->currentText(), QStringLiteral("172.16.0.0"));
    EXPECT_EQ(w.CBRoutingIP[2]->currentText(), QStringLiteral("192.168.0.1"));
    EXPECT_EQ(w.CBRoutingMask[3]->currentText(), QStringLiteral("255.240.0.0"));
    EXPECT_EQ(w.CBRoutingGateway[5]->currentText(), QStringLiteral("10.0.0.254"));
    EXPECT_EQ(w.EdMetric[2]->text(), QStringLiteral("12"));
    EXPECT_EQ(w.EdMetric[1]->text(), QStringLiteral("0"));

    // Writing to the coupler writes nothing into the file.
    t.d.StationConfig.ConfigValid = 1;
    t.d.EthernetSelected = 1;
    w.CBIpAdresse->setEditText(QStringLiteral("10.0.0.8"));
    w.WriteClick();
    QFile f(t.d.SettingsPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(AllgeParaWindow, TextsInBothLanguages)
{
    OneWindow<TAllgePara> t;
    TAllgePara *w = t.w;
    EXPECT_EQ(w->Label(3)->text(), QStringLiteral("lokale IP-Adresse"));
    EXPECT_EQ(w->Label(15)->text(), QStringLiteral("Routingtabelle"));
    EXPECT_EQ(w->BSetComDefault->text(), QString::fromUtf8("Kommunikation zurücksetzen"));
    EXPECT_EQ(w->GBoEthernet->title(), QStringLiteral("Parameter"));
    w->CBIpAdresse->setEditText(QStringLiteral("10.1.1.1"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Normal Parameter"));
    EXPECT_EQ(w->Label(1)->text(), QStringLiteral("Seconds"));
    EXPECT_EQ(w->Label(2)->text(), QStringLiteral("Factor"));
    EXPECT_EQ(w->Label(16)->text(), QStringLiteral("Addressing"));
    EXPECT_EQ(w->Label(9)->text(), QStringLiteral("Number"));
    EXPECT_EQ(w->Label(14)->text(), QStringLiteral("5"));
    EXPECT_EQ(w->BSetComDefault->text(), QStringLiteral("Set Communication Defaults"));
    EXPECT_EQ(w->Write->text(), QStringLiteral("Write"));
    EXPECT_EQ(w->CBIpAdresse->currentText(), QStringLiteral("10.1.1.1")) << "the user's input stays";
    EXPECT_EQ(w->LookupMessage(QStringLiteral("@idERR_TOO")), QStringLiteral("Too large value"));
}

TEST(AllgeParaWindow, ActivationChoosesTheViewByTheLink)
{
    Window x(true);
    for (QWidget *shown : std::vector<QWidget *>{x.w->Write, x.w->Read, x.w->Back, x.w->GBoEthernet, x.w->CBIpAdresse,
                                                 x.w->CBRoutingGateway[5], x.w->EdMetric[3], x.w->BSetComDefault,
                                                 x.w->Label(3), x.w->Label(14), x.w->Label(16)})
        EXPECT_TRUE(shown->isVisibleTo(x.w)) << shown->objectName().toStdString();
    EXPECT_FALSE(x.w->GBoSeriell->isVisibleTo(x.w));

    x.w->SerialTimeRaw = 77;
    x.w->Edit2->setText(QStringLiteral("0"));
    x.w->SerialTimeRaw = 77; // Edit2 already says "0": the activation still starts from 0
    x.d.EthernetSelected = 0;
    x.w->FormActivate();
    EXPECT_FALSE(x.w->GBoEthernet->isVisibleTo(x.w));
    for (QWidget *shown :
         std::vector<QWidget *>{x.w->GBoSeriell, x.w->Edit1, x.w->Edit2, x.w->Label(1), x.w->Label(2), x.w->Write})
        EXPECT_TRUE(shown->isVisibleTo(x.w)) << shown->objectName().toStdString();
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("0"));
    EXPECT_EQ(x.w->Edit2->text(), QStringLiteral("0"));
    EXPECT_EQ(x.w->SerialTimeRaw, 0);
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(AllgeParaWindow, ActivationWithoutConfigurationTakesNothingFromTheLine)
{
    OneWindow<TAllgePara> t;
    TAllgePara *w = t.w;
    t.d.EthernetSelected = 1;
    // Whatever the line carried last lies in the receive buffer.
    std::vector<quint8> foreign = {8, 4, 78, 0xC0, 0xA8, 0x00, 0x0A};
    foreign.resize(3 + 78, 0);
    std::copy(foreign.begin(), foreign.end(), t.d.RxFrame.begin() + 6);
    t.d.RxCount = quint16(6 + foreign.size());
    w->FormActivate();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral("Keine Konfiguration geladen"));
    EXPECT_EQ(t.sink.boxes[0].caption, t.d.errorCaption());
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), t.d.ResponseInterval);
    for (int tick = 0; tick < 8; ++tick)
        w->Timer1Timer();
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->CBIpAdresse->currentText(), QStringLiteral("192.168.0.1"));
    EXPECT_EQ(w->CBRoutingMask[1]->currentText(), QStringLiteral("255.255.255.255"));
    EXPECT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_TRUE(w->Read->isHidden());
}

TEST(AllgeParaWindow, EthernetReadShowsTheBlock)
{
    Window x(true);
    const quint16 id = x.d.TransactionId;
    x.w->ReadClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0, 39}));
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->Timer1->interval(), x.d.ResponseInterval);

    std::vector<quint8> data(78, 0);
    const std::vector<quint8> head = {0xC0, 0xA8, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(head.begin(), head.end(), data.begin());
    for (int r = 1; r <= 5; ++r) {
        const size_t at = size_t(2 * (4 + 7 * (r - 1)));
        data[at] = 10;
        data[at + 3] = quint8(r); // destination 10.0.0.r
        data[at + 4] = 255;       // mask 255.255.0.0
        data[at + 5] = 255;
        data[at + 8] = 192; // gateway 192.0.0.r
        data[at + 11] = quint8(r);
        data[at + 12] = r == 1 ? 0x01 : 0; // metric
        data[at + 13] = r == 1 ? 0x05 : quint8(r);
    }
    x.networkReply(data);
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(x.w->CBIpMask->currentText(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(x.w->EdMetric[1]->text(), QStringLiteral("261"));
    for (int r = 1; r <= 5; ++r) {
        SCOPED_TRACE(r);
        const auto i = size_t(r);
        EXPECT_EQ(x.w->CBRoutingIP[i]->currentText(), QStringLiteral("10.0.0.%1").arg(r));
        EXPECT_EQ(x.w->CBRoutingMask[i]->currentText(), QStringLiteral("255.255.0.0"));
        EXPECT_EQ(x.w->CBRoutingGateway[i]->currentText(), QStringLiteral("192.0.0.%1").arg(r));
        if (r > 1) {
            EXPECT_EQ(x.w->EdMetric[i]->text(), QString::number(r));
        }
    }
    EXPECT_EQ(x.w->CBIpAdresse->count(), 0) << "a read adds nothing to the history";
}

TEST(AllgeParaWindow, EthernetWriteNormalisesTheFieldsAndSendsTheBlock)
{
    Window x(true);
    const quint16 id = x.d.TransactionId;
    x.w->CBIpAdresse->setEditText(QStringLiteral("192.168.000.010"));
    x.w->CBIpMask->setEditText(QStringLiteral("255.255.255.0"));
    x.w->CBRoutingIP[1]->setEditText(QStringLiteral("300.1.2.3"));
    x.w->CBRoutingGateway[4]->setEditText(QStringLiteral("10.1"));
    x.w->EdMetric[1]->setText(QStringLiteral("3"));
    x.w->EdMetric[2]->setText(QStringLiteral("7"));
    x.w->EdMetric[5]->setText(QStringLiteral("65535"));
    x.w->WriteClick();
    EXPECT_EQ(x.d.TxLength, 91);
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x30, 0x00, 0, 39, 78}));
    EXPECT_EQ(x.tx(13, 8), (std::vector<int>{192, 168, 0, 10, 255, 255, 255, 0}));
    auto reg = [&](int offset) { return x.tx(13 + 2 * offset, 2); };
    EXPECT_EQ(x.tx(13 + 8, 4), (std::vector<int>{44, 1, 2, 3}));              // route 1 destination
    EXPECT_EQ(reg(0xA), (std::vector<int>{0x00, 0x03}));                      // route 1 metric
    EXPECT_EQ(reg(0xA + 7), (std::vector<int>{0x00, 0x07}));                  // route 2 metric, from its own field
    EXPECT_EQ(reg(0xA + 28), (std::vector<int>{0xFF, 0xFF}));                 // route 5 metric
    EXPECT_EQ(x.tx(13 + 2 * (0x8 + 21), 4), (std::vector<int>{10, 0, 0, 1})); // route 4 gateway
    EXPECT_EQ(x.tx(13 + 2 * 0x6, 4), (std::vector<int>{255, 255, 255, 255})); // route 1 mask
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(x.w->CBRoutingIP[1]->currentText(), QStringLiteral("44.1.2.3"));
    EXPECT_EQ(x.w->CBRoutingGateway[4]->currentText(), QStringLiteral("10.0.0.1"));
    EXPECT_TRUE(x.w->Timer2->isActive());
    EXPECT_EQ(x.w->Timer2->interval(), x.d.ResponseInterval);

    x.reply({8, 0x10, 0x30, 0x00, 0x00, 39});
    x.w->Timer2Timer();
    EXPECT_FALSE(x.w->Timer2->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(AllgeParaWindow, AMetricThatIsNoIntegerStopsTheWrite)
{
    Window x(true);
    x.d.TxLength = 99;
    x.w->EdMetric[3]->setText(QStringLiteral("3x"));
    x.w->CBIpAdresse->setEditText(QStringLiteral("10.1"));
    x.w->CBRoutingIP[5]->setEditText(QStringLiteral("10.2"));
    x.w->WriteClick();
    ASSERT_EQ(x.t.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(x.t.sink.conversionErrors[0], QStringLiteral("'3x' is not a valid integer value"));
    EXPECT_EQ(x.d.TxLength, 99);
    EXPECT_FALSE(x.w->Timer2->isActive());
    // The fields converted before the metric were normalised; those after not.
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(x.w->CBRoutingIP[5]->currentText(), QStringLiteral("10.2"));
}

// A metric beyond one register is refused, never sent as its low 16 bits.
TEST(AllgeParaWindow, AMetricBeyondARegisterStopsTheWrite)
{
    const std::pair<const char *, const char *> cases[] = {
        {"65536", "'65536' is not within 0 .. 65535"},
        {"-1", "'-1' is not within 0 .. 65535"},
        {"", "'' is not a valid integer value"},
    };
    for (const auto &[typed, error] : cases) {
        SCOPED_TRACE(typed);
        Window x(true);
        x.d.TxLength = 99;
        x.w->EdMetric[2]->setText(QString::fromLatin1(typed));
        x.w->WriteClick();
        ASSERT_EQ(x.t.sink.conversionErrors.size(), 1u);
        EXPECT_EQ(x.t.sink.conversionErrors[0], QString::fromLatin1(error));
        EXPECT_EQ(x.d.TxLength, 99);
        EXPECT_FALSE(x.w->Timer2->isActive());
    }
}

TEST(AllgeParaWindow, ResetOfTheCommunicationSettings)
{
    Window x(true);
    const quint16 id = x.d.TransactionId;
    x.w->BSetComDefaultClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 6, 0x30, 0x27, 0xFF, 0xFF}));
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_TRUE(x.w->Timer2->isActive());
    x.reply({8, 6, 0x30, 0x27, 0xFF, 0xFF});
    x.w->Timer2Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());

    x.w->BSetComDefaultClick();
    x.reply({8, 0x86, 3});
    x.w->Timer2Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Value"));

    // Since the last activation the link became serial: nothing is sent.
    x.t.sink.clear();
    x.d.EthernetSelected = 0;
    x.d.TxLength = 99;
    const ModbusBuffer before = x.d.TxFrame;
    x.w->BSetComDefaultClick();
    EXPECT_EQ(x.d.TxLength, 99);
    EXPECT_EQ(x.d.TxFrame, before);
    EXPECT_FALSE(x.w->Timer2->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromUtf8("Kommunikation zurücksetzen nur über Ethernet"));
}

TEST(AllgeParaWindow, TimeoutsAndExceptions)
{
    Window x(true);
    x.d.RetryLimit = 2;
    x.w->CBIpAdresse->setEditText(QStringLiteral("1.2.3.4"));
    x.w->ReadClick();
    for (int tick = 0; tick < 2; ++tick) {
        x.w->Timer1Timer();
        EXPECT_TRUE(x.w->Timer1->isActive());
        EXPECT_TRUE(x.t.sink.boxes.empty());
    }
    x.w->Timer1Timer();
    EXPECT_FALSE(x.w->Timer1->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("1.2.3.4")) << "a timed-out read changes no field";
    EXPECT_EQ(x.w->CBRoutingMask[2]->currentText(), QStringLiteral("255.255.255.255"));

    x.w->WriteClick();
    for (int tick = 0; tick < 3; ++tick)
        x.w->Timer2Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), 2u);
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral("Timeout"));

    struct Case {
        quint8 code;
        const char *readText;
        const char *writeText;
    };
    const Case cases[] = {{1, "Illegal Function", " Fehler Illegal Function"},
                          {2, "Illegal Data Adress", " Fehler Illegal Data Adress"},
                          {3, "Illegal Data Value", " Fehler Illegal Data Value"},
                          {5, "", " Fehler "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        x.t.sink.clear();
        x.w->ReadClick();
        x.reply({8, 0x84, c.code});
        x.w->Timer1Timer();
        x.w->WriteClick();
        x.reply({8, 0x90, c.code});
        x.w->Timer2Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 2u);
        EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromLatin1(c.readText));
        EXPECT_EQ(x.t.sink.boxes[1].text, QString::fromLatin1(c.writeText));
        EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("1.2.3.4"));
    }
}

TEST(AllgeParaWindow, OnlyTheWindowsOwnReplyIsTaken)
{
    Window x(true);
    x.w->ReadClick();
    std::vector<quint8> serialSized = {8, 4, 2, 0xC0, 0xA8};
    x.reply(serialSized); // one register where 39 were asked
    x.w->Timer1Timer();
    x.reply({8, 0x17, 4, 0xC0, 0xA8, 0, 1}); // the cycle's reply
    x.w->Timer1Timer();
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("192.168.0.1"));
    x.networkReply({10, 0, 0, 9});
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("10.0.0.9"));
}

TEST(AllgeParaWindow, AReplyIsReadAsWhatWasAsked)
{
    Window x(true);
    x.w->ReadClick();
    x.d.EthernetSelected = 0; // the link changed while the reply was awaited
    x.networkReply({10, 0, 0, 9});
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(x.w->SerialTimeRaw, 0);

    x.w->ReadClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0, 1}));
    x.d.EthernetSelected = 1;
    x.reply({8, 4, 2, 0x07, 0x7F});
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);
    EXPECT_EQ(x.w->CBIpAdresse->currentText(), QStringLiteral("10.0.0.9"));
}

TEST(AllgeParaWindow, SerialSecondsAndTheTimeValue)
{
    Window x(false);
    x.w->Edit2->setText(QStringLiteral("1"));
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("1919"));
    x.w->Edit2->setText(seconds("34.143735"));
    EXPECT_EQ(x.w->SerialTimeRaw, 65535);
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("65535"));
    EXPECT_TRUE(x.t.sink.boxes.empty());

    x.w->Edit2->setText(QStringLiteral("1"));
    x.w->Edit2->setText(seconds("34.2"));
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());
    EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromUtf8("Wert zu groß "));
    EXPECT_EQ(x.w->SerialTimeRaw, 1919) << "the previous value is kept";
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("1919"));

    x.t.sink.clear();
    x.w->Edit2->setText(QStringLiteral("-1"));
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Wert darf nicht negativ sein"));
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);

    x.w->Edit2->setText(QStringLiteral("abc"));
    ASSERT_EQ(x.t.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(x.t.sink.conversionErrors[0], QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);

    const quint16 id = x.d.TransactionId;
    x.w->WriteClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 6, 0x30, 0x00, 0x07, 0x7F}));
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_TRUE(x.w->Timer2->isActive());
    x.reply({8, 6, 0x30, 0x00, 0x07, 0x7F});
    x.w->Timer2Timer();
    EXPECT_EQ(x.t.sink.boxes.size(), 1u);
}

// A box that, like a real one, takes the activation from the window while it
// is open; closing it hands the activation back.
struct ModalSink : RecordingMessageSink {
    QWidget *window = nullptr;
    void away()
    {
        QEvent e(QEvent::WindowDeactivate);
        QApplication::sendEvent(window, &e);
    }
    MessageButton show(const MessageRequest &request) override
    {
        away();
        return RecordingMessageSink::show(request);
    }
    void conversionError(const QString &text) override
    {
        away();
        RecordingMessageSink::conversionError(text);
    }
};

void activate(QWidget *window)
{
    QEvent back(QEvent::WindowActivate);
    QApplication::sendEvent(window, &back);
}

TEST(AllgeParaWindow, ClosingABoxIsNoNewActivation)
{
    Window x(false);
    ModalSink sink;
    sink.window = x.w;
    x.d.setMessageSink(&sink);
    x.w->Edit2->setText(QStringLiteral("1"));
    x.w->Edit2->setText(seconds("34.2"));
    ASSERT_EQ(sink.boxes.size(), 1u);
    activate(x.w); // the box closed
    EXPECT_EQ(x.w->SerialTimeRaw, 1919) << "the previous value is kept";
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("1919"));
    EXPECT_EQ(x.w->Edit2->text(), seconds("34.2"));
    x.w->Edit2->setText(QStringLiteral("x"));
    ASSERT_EQ(sink.conversionErrors.size(), 1u);
    activate(x.w);
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);
    activate(x.w); // the user coming back later starts from 0 again
    EXPECT_EQ(x.w->SerialTimeRaw, 0);
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("0"));
    x.d.setMessageSink(&x.t.sink);
}

TEST(AllgeParaWindow, SerialReadShowsCountAndSeconds)
{
    Window x(false);
    x.w->ReadClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0, 1}));
    x.reply({8, 4, 2, 0xFF, 0xFF});
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->SerialTimeRaw, 65535);
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("65535"));
    EXPECT_EQ(x.w->Edit2->text(), seconds("34.143735"));
    x.w->ReadClick();
    x.reply({8, 4, 2, 0x07, 0x7F});
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->Edit1->text(), QStringLiteral("1919"));
    EXPECT_EQ(x.w->Edit2->text(), seconds("0.999799"));
    EXPECT_EQ(x.w->SerialTimeRaw, 1919);
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_TRUE(x.t.sink.conversionErrors.empty());
}

TEST(AllgeParaWindow, AddressHistory)
{
    Window x(true);
    THistoryComboBox *mask = x.w->CBRoutingMask[2];
    mask->setEditText(QStringLiteral("255.255.255.128"));
    EXPECT_EQ(x.w->rememberedIndex(mask), -1);
    mask->showPopup();
    mask->hidePopup();
    EXPECT_EQ(Window::items(mask), (QStringList{"0.0.0.0", "255.255.255.0", "255.255.0.0", "255.255.255.128"}));
    EXPECT_EQ(mask->currentText(), QStringLiteral("255.255.255.128"));
    x.w->CBIpAdresseDropDown(mask);
    EXPECT_EQ(mask->count(), 4) << "opening it again adds nothing";
    EXPECT_EQ(Window::items(x.w->CBRoutingMask[1]).size(), 3) << "each field keeps its own list";

    // A text matching an entry is remembered by its index; other texts by -1.
    mask->setEditText(QStringLiteral("255.255.0.0"));
    EXPECT_EQ(x.w->rememberedIndex(mask), 2);
    mask->setEditText(QStringLiteral("255.255.0.1"));
    EXPECT_EQ(x.w->rememberedIndex(mask), -1);
    // An empty field opened removes nothing while no index is remembered.
    mask->setEditText(QString());
    x.w->CBIpAdresseDropDown(mask);
    EXPECT_EQ(mask->count(), 4);
    EXPECT_EQ(mask->currentText(), QString());

    // The own address keeps its list sorted, and the field its text.
    THistoryComboBox *own = x.w->CBIpAdresse;
    for (const char *text : {"192.168.0.1", "10.0.0.5", "172.16.0.1", "10.0.0.5"}) {
        own->setEditText(QString::fromLatin1(text));
        x.w->CBIpAdresseDropDown(own);
        EXPECT_EQ(own->currentText(), QLatin1String(text));
    }
    EXPECT_EQ(Window::items(own), (QStringList{"10.0.0.5", "172.16.0.1", "192.168.0.1"}));
    // Picking an entry puts it in the field.
    own->setCurrentIndex(1);
    EXPECT_EQ(own->currentText(), QStringLiteral("172.16.0.1"));
    EXPECT_EQ(x.w->rememberedIndex(own), 1);
    // Enter in a field takes nothing into the list by itself.
    own->setEditText(QStringLiteral("8.8.8.8"));
    QTest::keyClick(own->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(own->count(), 3);
}

} // namespace
