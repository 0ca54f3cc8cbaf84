#include "TestStation.h"

#include "PtyPair.h"
#include "Wait.h"
#include "link/InterfaceSettings.h"
#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"

#include <QFile>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

void writeIni(const QString &folder, const QByteArray &content)
{
    QFile f(folder + QStringLiteral("/Modbus.ini"));
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

// A started program whose Modbus.ini was written before start-up.
struct Started {
    explicit Started(const QByteArray &ini = {})
    {
        if (!ini.isEmpty())
            writeIni(dir.path(), ini);
        station = std::make_unique<Station>(QStringList{}, dir.path());
        station->d.setMessageSink(&sink);
        station->start();
    }
    ProgramState &d() { return station->d; }
    TSIOTransfer *w() { return station->d.SIOTransfer; }
    QTemporaryDir dir;
    RecordingMessageSink sink;
    std::unique_ptr<Station> station;
};

TEST(InterfaceWindow, DefaultsWithoutSettingsFile)
{
    Started s;
    TSIOTransfer *w = s.w();
    EXPECT_EQ(w->CoBoCom->currentText(), QStringLiteral("COM 3"));
    EXPECT_EQ(w->CoBoBaud->currentText(), QStringLiteral("38400"));
    EXPECT_EQ(w->CoBoFrame->currentText(), QStringLiteral("No Parity 1 Stopbit"));
    EXPECT_EQ(w->ComNumber, 3);
    EXPECT_EQ(w->BaudRate, 38400);
    EXPECT_EQ(w->FrameFormat, 4);
    EXPECT_FALSE(w->RS485Enable->isChecked());
    EXPECT_FALSE(w->Link->rs485());
    EXPECT_EQ(w->CBAdresse->currentText(), QStringLiteral("192.168.0.1"));
    EXPECT_EQ(w->SEPort->value(), 502);
    EXPECT_FALSE(w->CBoEthernet->isChecked());
    EXPECT_TRUE(w->CBoShowMessage->isChecked());
    EXPECT_TRUE(w->BClosePort->isHidden());
    EXPECT_TRUE(w->GBEthernet->isHidden());
    EXPECT_FALSE(w->GroupBox1->isHidden());
    EXPECT_TRUE(w->RTS->isHidden());
    EXPECT_EQ(s.d().EthernetSelected, 0);
}

TEST(InterfaceWindow, SettingsAreReadAtCreation)
{
    Started s("[Schnittstelle]\nPort=0\nBaud=4\nFrame=1\nRS485=1\nEthAdresse=10.0.0.9\nEthPort=1502\nEthernet=1\n");
    TSIOTransfer *w = s.w();
    EXPECT_EQ(w->ComNumber, 1);
    EXPECT_EQ(w->BaudRate, 9600);
    EXPECT_EQ(w->FrameFormat, 2);
    EXPECT_TRUE(w->RS485Enable->isChecked());
    EXPECT_FALSE(w->RTS->isHidden());
    EXPECT_EQ(w->CBAdresse->currentText(), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(w->SEPort->value(), 1502);
    EXPECT_TRUE(w->CBoEthernet->isChecked());
    EXPECT_FALSE(w->GBEthernet->isHidden());
    EXPECT_TRUE(w->GroupBox1->isHidden());
    EXPECT_EQ(s.d().EthernetSelected, 1);
}

TEST(InterfaceWindow, OkOnAMissingDeviceReportsNotAvailableAndWritesTheFile)
{
    Started s("[Schnittstelle]\nComDevice3=/dev/vo3112-no-such-port\n");
    s.w()->show();
    s.w()->OKClick();
    EXPECT_EQ(s.d().RetryLimit, 2);
    ASSERT_EQ(s.sink.boxes.size(), 1u);
    EXPECT_EQ(s.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(s.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(s.sink.boxes[0].text, QStringLiteral("Schnittstelle nicht vorhanden!"));
    s.d().Vo3112CCC->flushMonitor();
    const QString monitor = s.d().Vo3112CCC->Transmit->toPlainText();
    EXPECT_TRUE(monitor.contains(QStringLiteral("COM 3 (/dev/vo3112-no-such-port): "))) << monitor.toStdString();
    EXPECT_EQ(s.d().StationFlags & StationFlag::SerialOpen, 0);
    EXPECT_EQ(s.d().Vo3112CCC->StatusBar1->panelText(1), QString());
    EXPECT_FALSE(s.w()->isVisible());
    const InterfaceSettings saved = ReadInterfaceSettings(s.d().SettingsPath);
    EXPECT_EQ(saved.Port, 2);
    EXPECT_FALSE(saved.Ethernet);
    EXPECT_TRUE(QFile::exists(s.d().SettingsPath));
}

TEST(InterfaceWindow, OkOpensTheSerialPortOfComDevice)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    Started s("[Schnittstelle]\nPort=1\nBaud=4\nComDevice2=" + pty.slavePath().toLocal8Bit() + "\n");
    s.w()->OKClick();
    EXPECT_TRUE(s.sink.boxes.empty());
    EXPECT_TRUE(s.w()->Link->SerialPort->isOpen());
    EXPECT_EQ(s.w()->Link->SerialPort->baudRate(), 9600);
    EXPECT_EQ(s.d().StationFlags & StationFlag::SerialOpen, StationFlag::SerialOpen);
    EXPECT_EQ(s.d().Vo3112CCC->StatusBar1->panelText(1), QStringLiteral("9600"));
    EXPECT_EQ(s.d().RetryLimit, 2);
}

// OK again on a port that cannot be opened closes the open one: the panel must
// not keep showing its baud rate, while flag 0x01 keeps saying it was opened.
TEST(InterfaceWindow, FailedReopenClearsTheBaudRateFromThePanel)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    Started s("[Schnittstelle]\nPort=1\nBaud=4\nComDevice2=" + pty.slavePath().toLocal8Bit() +
              "\nComDevice3=/dev/vo3112-no-such-port\n");
    s.w()->OKClick();
    ASSERT_TRUE(s.w()->Link->SerialPort->isOpen());
    s.w()->CoBoCom->setCurrentIndex(2); // COM 3: no such device
    s.w()->CoBoChange();
    s.w()->OKClick();
    EXPECT_FALSE(s.w()->Link->SerialPort->isOpen());
    ASSERT_EQ(s.sink.boxes.size(), 1u);
    EXPECT_EQ(s.sink.boxes[0].text, QStringLiteral("Schnittstelle nicht vorhanden!"));
    EXPECT_EQ(s.d().Vo3112CCC->StatusBar1->panelText(1), QString());
    EXPECT_EQ(s.d().StationFlags & StationFlag::SerialOpen, StationFlag::SerialOpen);
}

TEST(InterfaceWindow, CancelDropsAnUnsavedBaudRate)
{
    PtyPair pty;
    Started s("[Schnittstelle]\nBaud=6\nComDevice3=" + pty.slavePath().toLocal8Bit() + "\n");
    TSIOTransfer *w = s.w();
    w->show();
    w->CoBoBaud->setCurrentIndex(2);
    w->CoBoChange();
    EXPECT_EQ(w->BaudRate, 2400);
    w->CancelClick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->CoBoBaud->currentText(), QStringLiteral("38400"));
    EXPECT_EQ(w->BaudRate, 38400);
    w->OKClick();
    EXPECT_EQ(w->Link->SerialPort->baudRate(), 38400);
}

TEST(InterfaceWindow, OkInEthernetModeSetsRetryLimitBeforeTheConnectionExists)
{
    Started s;
    s.d().RetryLimit = 2;
    s.w()->CBoEthernet->setChecked(true);
    s.w()->CBoEthernetClick();
    s.w()->CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
    s.w()->SEPort->setValue(1); // nobody listens there
    s.w()->OKClick();
    EXPECT_EQ(s.d().RetryLimit, 5);
    EXPECT_EQ(s.d().TcpConnected, 0);
    EXPECT_TRUE(ReadInterfaceSettings(s.d().SettingsPath).Ethernet);
    EXPECT_EQ(ReadInterfaceSettings(s.d().SettingsPath).EthPort, 1);
}

// Connection messages: notices (they do not wait inside the socket's
// signals) when shown; in an unattended run (AUTO) the send monitor instead.
TEST(InterfaceWindow, TcpEventsUpdateStatusFlagsAndButtons)
{
    const QStringList both{"Ethernet - Port connected", "Ethernet - Port disconnected"};
    struct Case {
        bool showMessages;
        bool autoStart;
        QStringList boxes;
        bool inMonitor;
    };
    for (const Case &c : {Case{true, false, both, false}, Case{false, false, {}, false}, Case{true, true, {}, true},
                          Case{false, true, {}, false}}) {
        SCOPED_TRACE(QStringLiteral("show %1 auto %2").arg(c.showMessages).arg(c.autoStart).toStdString());
        Started s;
        s.d().CommandLine.AutoStart = c.autoStart;
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        TSIOTransfer *w = s.w();
        w->CBoShowMessage->setChecked(c.showMessages);
        w->CBoEthernet->setChecked(true);
        w->CBoEthernetClick();
        w->CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
        w->SEPort->setValue(server.serverPort());
        w->OKClick();
        ASSERT_TRUE(WaitUntil([&] { return s.d().TcpConnected == 1; }));
        EXPECT_EQ(s.d().StationFlags & (StationFlag::TcpUp | StationFlag::SocketError), StationFlag::TcpUp);
        EXPECT_FALSE(w->OK->isEnabled());
        EXPECT_FALSE(w->CBoEthernet->isEnabled());
        EXPECT_FALSE(w->BClosePort->isHidden());
        EXPECT_EQ(s.d().Vo3112CCC->StatusBar1->panelText(1), QStringLiteral("TCP/IP"));
        w->BClosePortClick();
        ASSERT_TRUE(WaitUntil([&] { return s.d().TcpConnected == 0; }));
        EXPECT_EQ(s.d().StationFlags & StationFlag::TcpUp, 0);
        EXPECT_TRUE(w->OK->isEnabled());
        EXPECT_TRUE(w->BClosePort->isHidden());
        EXPECT_EQ(s.d().Vo3112CCC->StatusBar1->panelText(1), QString());
        QStringList texts;
        for (const auto &box : s.sink.boxes) {
            texts << box.text;
            EXPECT_TRUE(box.notice);
        }
        EXPECT_EQ(texts, c.boxes);
        s.d().Vo3112CCC->flushMonitor();
        const QString monitor = s.d().Vo3112CCC->Transmit->toPlainText();
        for (const QString &text : both)
            EXPECT_EQ(monitor.contains(text), c.inMonitor) << monitor.toStdString();
    }
}

TEST(InterfaceWindow, RefusedConnectionSetsTheSocketErrorBit)
{
    Started s;
    TSIOTransfer *w = s.w();
    w->CBoEthernet->setChecked(true);
    w->CBoEthernetClick();
    w->CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
    w->SEPort->setValue(1);
    w->OKClick();
    ASSERT_TRUE(WaitUntil([&] { return (s.d().StationFlags & StationFlag::SocketError) != 0; }));
    ASSERT_FALSE(s.sink.boxes.empty());
    EXPECT_EQ(s.sink.boxes.back().text, QStringLiteral("Ethernet - Port error"));
    EXPECT_EQ(s.sink.boxes.back().kind, MessageKind::Information);
}

TEST(InterfaceWindow, AddressHistory)
{
    Started s;
    TSIOTransfer *w = s.w();
    auto items = [w] {
        QStringList l;
        for (int i = 0; i < w->CBAdresse->count(); ++i)
            l << w->CBAdresse->itemText(i);
        return l;
    };
    // Enter in an empty field right after start-up removes the first entry.
    w->CBAdresse->setEditText(QString());
    QTest::keyClick(w->CBAdresse, Qt::Key_Return);
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(w->SelectedHistoryIndex, -1);
    w->CBAdresse->setEditText(QString());
    w->CBAdresseDropDown(); // no valid index: nothing removed, no crash
    w->CBAdresse->setEditText(QStringLiteral("10.0.0.1"));
    w->CBAdresseDropDown();
    w->CBAdresse->setEditText(QStringLiteral("10.0.0.1"));
    w->CBAdresseDropDown();
    w->CBAdresse->setEditText(QStringLiteral("Coupler.local"));
    w->CBAdresseDropDown();
    w->CBAdresse->setEditText(QStringLiteral("coupler.local"));
    w->CBAdresseDropDown();
    EXPECT_EQ(items(), (QStringList{"10.0.0.1", "Coupler.local", "coupler.local"}));
    w->CBAdresseSelect(1);
    w->CBAdresse->setEditText(QString());
    w->CBAdresseDropDown();
    EXPECT_EQ(items(), (QStringList{"10.0.0.1", "coupler.local"}));
}

TEST(InterfaceWindow, Rs485SwitchShowsAndHidesTheLines)
{
    Started s;
    TSIOTransfer *w = s.w();
    w->RS485Enable->setChecked(true);
    w->RS485EnableClick();
    EXPECT_TRUE(w->Link->rs485());
    EXPECT_FALSE(w->RTS->isHidden());
    EXPECT_FALSE(w->DTR->isHidden());
    w->RS485Enable->setChecked(false);
    w->RS485EnableClick();
    EXPECT_FALSE(w->Link->rs485());
    EXPECT_TRUE(w->RTS->isHidden());
}

} // namespace
