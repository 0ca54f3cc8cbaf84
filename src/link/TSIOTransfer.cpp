#include "link/TSIOTransfer.h"
#include "app/StatusDisplay.h"

#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "link/InterfaceSettings.h"
#include "link/LinkOpen.h"
#include "link/SerialOpenFailure.h"
#include "translation/WordLists.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

void TAddressComboBox::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

void TAddressComboBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit dropDown();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

TSIOTransfer::TSIOTransfer(Deklarat &d) : TForm(d, QStringLiteral("TSIOTransfer"), QStringLiteral("Schnittstelle"))
{
    // The link is the station's, made before any window.
    Link = d.Link;
    ConnectTimer = new QTimer(this);
    ConnectTimer->setObjectName(QStringLiteral("ConnectTimer"));
    ConnectTimer->setSingleShot(true);

    CBoEthernet = named(new QCheckBox(QStringLiteral("Ethernet"), this), "CBoEthernet");

    GroupBox1 = named(new QGroupBox(QStringLiteral("Schnittstelle"), this), "GroupBox1");
    CoBoCom = named(new QComboBox(GroupBox1), "CoBoCom");
    Label1 = named(new QLabel(QStringLiteral("Übertragungsformat"), GroupBox1), "Label1");
    CoBoFrame = named(new QComboBox(GroupBox1), "CoBoFrame");
    Label2 = named(new QLabel(QStringLiteral("Übertragungsrate"), GroupBox1), "Label2");
    CoBoBaud = named(new QComboBox(GroupBox1), "CoBoBaud");
    RS485Enable = named(new QCheckBox(QStringLiteral("RS485 Freigabe"), GroupBox1), "RS485Enable");
    RTS = named(new QCheckBox(QStringLiteral("RTS"), GroupBox1), "RTS");
    DTR = named(new QCheckBox(QStringLiteral("DTR"), GroupBox1), "DTR");
    auto *serialLayout = new QGridLayout(GroupBox1);
    serialLayout->addWidget(CoBoCom, 0, 0, 1, 2);
    serialLayout->addWidget(Label1, 1, 0);
    serialLayout->addWidget(CoBoFrame, 1, 1);
    serialLayout->addWidget(Label2, 2, 0);
    serialLayout->addWidget(CoBoBaud, 2, 1);
    serialLayout->addWidget(RS485Enable, 3, 0, 1, 2);
    serialLayout->addWidget(RTS, 4, 0);
    serialLayout->addWidget(DTR, 4, 1);

    GBEthernet = named(new QGroupBox(QStringLiteral("Ethernet"), this), "GBEthernet");
    CBAdresse = named(new TAddressComboBox(GBEthernet), "CBAdresse");
    CBAdresse->setEditable(true);
    CBAdresse->setInsertPolicy(QComboBox::NoInsert);
    CBAdresse->addItem(QStringLiteral("192.168.0.1"));
    Label3 = named(new QLabel(QStringLiteral("Port:"), GBEthernet), "Label3");
    SEPort = named(new QSpinBox(GBEthernet), "SEPort");
    SEPort->setRange(0, 65535);
    CBoShowMessage = named(new QCheckBox(QStringLiteral("Verbindungs-Meldungen zeigen"), GBEthernet), "CBoShowMessage");
    CBoShowMessage->setChecked(true);
    auto *ethLayout = new QGridLayout(GBEthernet);
    ethLayout->addWidget(CBAdresse, 0, 0, 1, 2);
    ethLayout->addWidget(Label3, 1, 0);
    ethLayout->addWidget(SEPort, 1, 1);
    ethLayout->addWidget(CBoShowMessage, 2, 0, 1, 2);

    OK = named(new QPushButton(QStringLiteral("OK"), this), "OK");
    OK->setDefault(true);
    Cancel = named(new QPushButton(QStringLiteral("Zurück"), this), "Cancel");
    BClosePort = named(new QPushButton(QStringLiteral("Port schließen"), this), "BClosePort");
    BClosePort->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    buttons->addWidget(BClosePort);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CBoEthernet);
    layout->addWidget(GroupBox1);
    layout->addWidget(GBEthernet);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(300);

    connect(CBoEthernet, &QCheckBox::clicked, this, [this] { CBoEthernetClick(); });
    connect(RS485Enable, &QCheckBox::clicked, this, [this] { RS485EnableClick(); });
    connect(OK, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(BClosePort, &QPushButton::clicked, this, [this] { BClosePortClick(); });
    for (QComboBox *combo : {CoBoCom, CoBoFrame, CoBoBaud})
        connect(combo, &QComboBox::activated, this, [this] { CoBoChange(); });
    connect(CBAdresse, &QComboBox::activated, this, [this](int index) { CBAdresseSelect(index); });
    connect(CBAdresse, &TAddressComboBox::dropDown, this, [this] { CBAdresseDropDown(); });
    connect(Link->ClientSocket, &QTcpSocket::connected, this, [this] { ClientSocketConnect(); });
    connect(Link->ClientSocket, &QTcpSocket::disconnected, this, [this] { ClientSocketDisconnect(); });
    connect(Link->ClientSocket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { ClientSocketError(e); });
    connect(ConnectTimer, &QTimer::timeout, this, [this] { ConnectTimerTimer(); });
    // Queued: the loss is reported from inside the port's own error signal.
    connect(
        Link, &Transport::serialLost, this, [this] { SerialPortLost(); }, Qt::QueuedConnection);

    translate(TSIOTransferWords(), WindowFonts::Arial());
    FormCreate();
}

TSIOTransfer::~TSIOTransfer()
{
    // A connection torn down with the window must not call back into it.
    Link->ClientSocket->disconnect(this);
}

void TSIOTransfer::FormCreate()
{
    CoBoCom->clear();
    for (int k = 1; k <= 4; ++k)
        CoBoCom->addItem(QStringLiteral("COM %1").arg(k));
    CoBoBaud->clear();
    for (int rate : BaudRates)
        CoBoBaud->addItem(QString::number(rate));
    CoBoFrame->clear();
    CoBoFrame->addItems(FrameNames());

    const InterfaceSettings s = ReadInterfaceSettings(d.SettingsPath);
    CoBoCom->setCurrentIndex(s.Port);
    CoBoBaud->setCurrentIndex(s.Baud);
    CoBoFrame->setCurrentIndex(s.Frame);
    Link->setRs485(s.RS485);
    CBAdresse->setEditText(s.EthAdresse);
    SEPort->setValue(s.EthPort);
    CBoEthernet->setChecked(s.Ethernet);
    CBoEthernetClick();
    RS485Enable->setChecked(Link->rs485());
    RS485EnableClick();
    takeLinkValuesFromCombos();
}

void TSIOTransfer::takeLinkValuesFromCombos()
{
    // An index the lists do not have (a hand-edited file) falls back to the default.
    if (CoBoCom->currentIndex() < 0)
        CoBoCom->setCurrentIndex(2);
    if (CoBoBaud->currentIndex() < 0)
        CoBoBaud->setCurrentIndex(6);
    if (CoBoFrame->currentIndex() < 0)
        CoBoFrame->setCurrentIndex(3);
    ComNumber = CoBoCom->currentIndex() + 1;
    BaudRate = BaudRates[static_cast<size_t>(CoBoBaud->currentIndex())];
    FrameFormat = CoBoFrame->currentIndex() + 1;
}

void TSIOTransfer::CoBoChange()
{
    takeLinkValuesFromCombos();
}

void TSIOTransfer::CBoEthernetClick()
{
    const bool ethernet = CBoEthernet->isChecked();
    GBEthernet->setVisible(ethernet);
    GroupBox1->setVisible(!ethernet);
    d.EthernetSelected = ethernet ? 1 : 0;
}

void TSIOTransfer::RS485EnableClick()
{
    if (RS485Enable->isChecked()) {
        RTS->show();
        DTR->show();
        Link->setRs485(true);
        Link->setControlLines(RTS->isChecked(), DTR->isChecked());
    } else {
        Link->setRs485(false);
        RTS->hide();
        DTR->hide();
    }
}

void TSIOTransfer::OKClick()
{
    d.RetryLimit = CBoEthernet->isChecked() ? 5 : 2;
    InterfaceSettings s;
    s.Port = CoBoCom->currentIndex();
    s.Baud = CoBoBaud->currentIndex();
    s.Frame = CoBoFrame->currentIndex();
    s.RS485 = Link->rs485();
    s.EthAdresse = CBAdresse->currentText();
    s.EthPort = SEPort->value();
    s.Ethernet = CBoEthernet->isChecked();
    WriteInterfaceSettings(d.SettingsPath, s);

    if (CBoEthernet->isChecked()) {
        connectTarget_ = CBAdresse->currentText() + QLatin1Char(':') + QString::number(SEPort->value());
        StartTcpConnect(*Link->ClientSocket, *ConnectTimer, CBAdresse->currentText(),
                        static_cast<quint16>(SEPort->value()), ConnectTimeoutMs);
    } else {
        if (openSerialPort() == SerialOpenResult::OtherFailure)
            return; // a failure the two messages do not cover keeps the window open
    }
    FormClose();
    hide();
}

TSIOTransfer::SerialOpenResult TSIOTransfer::openSerialPort()
{
    QSerialPort *port = Link->SerialPort;
    takeLinkValuesFromCombos();
    const bool wasOpen = port->isOpen();
    const QString device = ComDevicePath(d.SettingsPath, ComNumber);
    // Pressing OK again closes the open port and takes the new settings.
    const SerialOpenOutcome opened = OpenSerialLink(*port, device, BaudRate, FrameFormat);
    if (!opened.opened) {
        const QSerialPort::SerialPortError error = opened.error;
        const QString reason = opened.reason;
        linkNote(QStringLiteral("COM %1 (%2): %3").arg(ComNumber).arg(device, reason));
        // The port is closed now: the panel must not keep a baud rate.
        if (portLost_)
            setStatusPanel1(LookupMessage(QStringLiteral("@idSST_LOST")));
        else if (wasOpen)
            setStatusPanel1(QString());
        switch (ClassifySerialOpenFailure(error, SerialDeviceAccessDenied(device))) {
        case SerialOpenFailure::NotFound:
            // A restart under way tries again every few seconds; the loss was
            // told once and the panel still says it.
            if (portLost_ && (d.StationFlags & StationFlag::RestartUnderWay))
                return SerialOpenResult::Reported;
            ShowErrorMessage(d, LookupMessage(QStringLiteral("@idSST_ERR2")));
            return SerialOpenResult::Reported;
        case SerialOpenFailure::InUse:
            ShowErrorMessage(d, LookupMessage(QStringLiteral("@idSST_ERR1")));
            return SerialOpenResult::Reported;
        case SerialOpenFailure::NoPermission:
            ShowErrorMessage(d, device + QStringLiteral(": ") + LookupMessage(QStringLiteral("@idSST_PERM")));
            return SerialOpenResult::Reported;
        case SerialOpenFailure::Other:
            break;
        }
        ShowErrorMessage(d, reason);
        return SerialOpenResult::OtherFailure;
    }
    Link->serialOpened();
    portLost_ = false;
    setStatusPanel1(QString::number(BaudRate));
    d.StationFlags |= StationFlag::SerialOpen;
    return SerialOpenResult::Opened;
}

void TSIOTransfer::restoreFromSettings()
{
    const InterfaceSettings s = ReadInterfaceSettings(d.SettingsPath);
    CoBoCom->setCurrentIndex(s.Port);
    CoBoBaud->setCurrentIndex(s.Baud);
    CoBoFrame->setCurrentIndex(s.Frame);
    takeLinkValuesFromCombos();
    Link->setRs485(s.RS485);
}

void TSIOTransfer::FormClose()
{
    restoreFromSettings();
}

void TSIOTransfer::CancelClick()
{
    FormClose();
    hide();
}

void TSIOTransfer::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TSIOTransfer::BClosePortClick()
{
    Link->ClientSocket->disconnectFromHost();
}

void TSIOTransfer::CBAdresseSelect(int index)
{
    SelectedHistoryIndex = index;
}

void TSIOTransfer::CBAdresseDropDown()
{
    const QString text = CBAdresse->currentText();
    if (text.isEmpty()) {
        if (SelectedHistoryIndex >= 0 && SelectedHistoryIndex < CBAdresse->count()) {
            CBAdresse->removeItem(SelectedHistoryIndex);
            CBAdresse->setEditText(QString());
        }
        SelectedHistoryIndex = -1;
        return;
    }
    if (CBAdresse->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        CBAdresse->addItem(text);
        CBAdresse->setEditText(text);
    }
}

void TSIOTransfer::setStatusPanel1(const QString &text)
{
    if (d.Status)
        d.Status->setStatusPanel(1, text);
}

bool TSIOTransfer::unattended() const
{
    return d.CommandLine.AutoStart || (d.StationFlags & StationFlag::RestartUnderWay);
}

void TSIOTransfer::linkNote(const QString &text)
{
    if (Link->monitor())
        Link->monitor()->ShowLinkNote(text);
}

// Connection events arrive inside the socket's own signals. The box is a
// notice that does not wait there: a modal box would run the program, and a
// reconnect with it, inside the socket's half-finished disconnect.
void TSIOTransfer::connectionMessage(const QString &text, const QString &detail)
{
    if (!CBoShowMessage->isChecked()) {
        if (!detail.isEmpty())
            linkNote(text + detail);
        return;
    }
    if (unattended() || !detail.isEmpty())
        linkNote(text + detail);
    if (!unattended())
        ShowNotice(d, MessageKind::Information, QString(), text);
}

void TSIOTransfer::SerialPortLost()
{
    if (!portLost_ && Link->SerialPort->isOpen())
        return; // opened again before this queued report came
    portLost_ = true;
    const QString text = LookupMessage(QStringLiteral("@idSST_LOST"));
    setStatusPanel1(text);
    const QString where = text + QStringLiteral(" (") + Link->SerialPort->portName() + QStringLiteral(")");
    linkNote(where);
    if (!unattended())
        ShowErrorMessage(d, where);
}

void TSIOTransfer::ConnectTimerTimer()
{
    if (Link->ClientSocket->state() == QAbstractSocket::ConnectedState)
        return;
    // abort() reports nothing of its own.
    Link->ClientSocket->abort();
    connectFailed(LookupMessage(QStringLiteral("@idSST_NOANSWER")).arg(ConnectTimeoutMs));
}

void TSIOTransfer::ClientSocketConnect()
{
    ConnectTimer->stop();
    Link->ClientSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    OK->setEnabled(false);
    CBoEthernet->setEnabled(false);
    BClosePort->show();
    setStatusPanel1(QStringLiteral("TCP/IP"));
    d.StationFlags &= ~StationFlag::SocketError;
    d.StationFlags |= StationFlag::TcpUp;
    d.TcpConnected = 1;
    connectionMessage(QStringLiteral("Ethernet - Port connected"));
}

void TSIOTransfer::ClientSocketDisconnect()
{
    OK->setEnabled(true);
    CBoEthernet->setEnabled(true);
    BClosePort->hide();
    setStatusPanel1(QString());
    d.StationFlags &= ~StationFlag::TcpUp;
    d.TcpConnected = 0;
    connectionMessage(QStringLiteral("Ethernet - Port disconnected"));
}

void TSIOTransfer::ClientSocketError(QAbstractSocket::SocketError error)
{
    // The coupler closing the connection is a disconnection, not an error.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    connectFailed(Link->ClientSocket->errorString());
}

void TSIOTransfer::connectFailed(const QString &reason)
{
    ConnectTimer->stop();
    d.StationFlags |= StationFlag::SocketError;
    connectionMessage(QStringLiteral("Ethernet - Port error"), QStringLiteral(" (%1: %2)").arg(connectTarget_, reason));
}
