#include "ctl/CtlSession.h"

#include "app/CoreTexts.h"
#include "app/Messages.h"
#include "app/UserFiles.h"
#include "link/InterfaceSettings.h"
#include "link/LinkOpen.h"
#include "link/ModbusFrame.h"
#include "link/SerialOpenFailure.h"
#include "link/Transport.h"
#include "translation/WordLists.h"
#include "translation/WordLookup.h"

#include <QEventLoop>
#include <QTcpSocket>

#include <cstdio>

namespace
{

LinkChoice SavedLink(const QString &settingsPath)
{
    const InterfaceSettings s = ReadInterfaceSettings(settingsPath);
    LinkChoice link;
    if (s.Ethernet) {
        link.kind = LinkChoice::Kind::Tcp;
        link.host = s.EthAdresse;
        link.port = static_cast<quint16>(s.EthPort);
        return link;
    }
    // Indices the lists do not have fall back to the defaults, as in the window.
    link.kind = LinkChoice::Kind::Serial;
    const int com = s.Port >= 0 && s.Port < 4 ? s.Port : 2;
    link.device = ComDevicePath(settingsPath, com + 1);
    link.baud = s.Baud >= 0 && s.Baud < int(BaudRates.size()) ? BaudRates[size_t(s.Baud)] : 38400;
    link.frame = s.Frame >= 0 && s.Frame < 4 ? s.Frame + 1 : 4;
    return link;
}

quint8 SavedUnit(const QString &settingsPath)
{
    const std::optional<int> unit = ParseDecimal(ReadSlaveAddressText(settingsPath).trimmed(), 1, 247);
    return static_cast<quint8>(unit.value_or(8));
}

} // namespace

CtlSession::CtlSession(const CtlOptions &options, const QString &programFolder)
    : sink_(std::make_unique<RecordingMessageSink>()), language_(options.language)
{
    d.ProgramFolder = programFolder;
    d.SettingsPath = SettingsFileFor(programFolder, UserSettingsFolder());
    d.CurrentLanguage = static_cast<quint8>(language_);
    // Nobody could answer a box: what the core would show is told on stderr.
    d.setMessageSink(sink_.get());
    link_ = new Transport(d);
    d.Link = link_;
    choice_ = options.link;
    if (choice_.kind == LinkChoice::Kind::Saved) {
        choice_ = SavedLink(d.SettingsPath);
        rs485_ = ReadInterfaceSettings(d.SettingsPath).RS485 && choice_.kind == LinkChoice::Kind::Serial;
    }
    d.SlaveAddress = options.unit ? static_cast<quint8>(*options.unit) : SavedUnit(d.SettingsPath);
    d.RetryLimit = choice_.kind == LinkChoice::Kind::Tcp ? 5 : 2;
    d.EthernetSelected = choice_.kind == LinkChoice::Kind::Tcp ? 1 : 0;
}

CtlSession::~CtlSession()
{
    if (link_->ClientSocket->state() != QAbstractSocket::UnconnectedState)
        link_->ClientSocket->abort();
    if (link_->SerialPort->isOpen())
        link_->SerialPort->close();
    d.Link = nullptr;
    delete link_;
    for (const MessageRequest &box : sink_->boxes)
        std::fprintf(stderr, "vo3112ctl: %s\n", box.text.toLocal8Bit().constData());
}

QString CtlSession::linkText() const
{
    if (choice_.kind == LinkChoice::Kind::Tcp)
        return QStringLiteral("tcp %1:%2").arg(choice_.host).arg(choice_.port);
    return QStringLiteral("serial %1 %2 %3").arg(choice_.device).arg(choice_.baud).arg(choice_.frame);
}

QString CtlSession::word(const QStringList &words, const QString &id) const
{
    return LookupWord(words, id, language_);
}

QString CtlSession::exceptionText(quint8 code) const
{
    if (language_ == 0)
        return ExceptionText(code);
    const QString bare = BareExceptionText(code);
    const QString caption = CoreText(QStringLiteral("@idERR"), language_);
    return QLatin1Char(' ') + caption + QLatin1Char(' ') + bare;
}

bool CtlSession::openLink(QString &failure)
{
    if (opened_)
        return true;
    if (!openFailure_.isEmpty()) {
        failure = openFailure_;
        return false;
    }
    const bool ok = choice_.kind == LinkChoice::Kind::Tcp ? openTcp(failure) : openSerial(failure);
    opened_ = ok;
    if (!ok)
        openFailure_ = failure;
    return ok;
}

bool CtlSession::openTcp(QString &failure)
{
    QTcpSocket &socket = *link_->ClientSocket;
    QTimer connectTimer;
    connectTimer.setSingleShot(true);
    QEventLoop loop;
    QString reason;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, [&] {
        reason = socket.errorString();
        loop.quit();
    });
    QObject::connect(&connectTimer, &QTimer::timeout, &loop, [&] {
        reason = CoreText(QStringLiteral("@idSST_NOANSWER"), language_).arg(DefaultConnectTimeoutMs);
        loop.quit();
    });
    StartTcpConnect(socket, connectTimer, choice_.host, choice_.port);
    if (socket.state() != QAbstractSocket::ConnectedState && reason.isEmpty())
        loop.exec();
    connectTimer.stop();
    if (socket.state() == QAbstractSocket::ConnectedState) {
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    socket.abort();
    failure = QStringLiteral("Ethernet - Port error (%1:%2: %3)").arg(choice_.host).arg(choice_.port).arg(reason);
    return false;
}

bool CtlSession::openSerial(QString &failure)
{
    QSerialPort &port = *link_->SerialPort;
    link_->setRs485(rs485_);
    const SerialOpenOutcome opened = OpenSerialLink(port, choice_.device, choice_.baud, choice_.frame);
    if (opened.opened) {
        link_->serialOpened();
        return true;
    }
    QString text;
    switch (ClassifySerialOpenFailure(opened.error, SerialDeviceAccessDenied(choice_.device))) {
    case SerialOpenFailure::NotFound:
        text = CoreText(QStringLiteral("@idSST_ERR2"), language_);
        break;
    case SerialOpenFailure::InUse:
        text = CoreText(QStringLiteral("@idSST_ERR1"), language_);
        break;
    case SerialOpenFailure::NoPermission:
        text = CoreText(QStringLiteral("@idSST_PERM"), language_);
        break;
    case SerialOpenFailure::Other:
        break;
    }
    failure = QStringLiteral("%1: %2").arg(
        choice_.device, text.isEmpty() ? opened.reason : text + QLatin1String(" (") + opened.reason + QLatin1Char(')'));
    return false;
}

AskResult CtlSession::ask(quint8 length, int period, bool unitChecked)
{
    AskResult result;
    if (!openLink(result.failure)) {
        result.linkDown = true;
        return result;
    }
    QEventLoop loop;
    QTimer responseTimer;
    responseTimer.setTimerType(Qt::PreciseTimer); // the periods as given, not 5 % later
    int retries = 0;
    Exchange exchange(d, retries);
    exchange.setUnitChecked(unitChecked);
    bool replied = false;
    ReplyOutcome outcome = ReplyOutcome::Pending;
    // The notice comes from inside the receive path: only leave the loop there.
    exchange.setReplyNotice([&] {
        replied = true;
        loop.quit();
    });
    QObject::connect(&responseTimer, &QTimer::timeout, &loop, [&] {
        outcome = exchange.tick();
        if (outcome != ReplyOutcome::Pending)
            loop.quit();
    });
    d.TxLength = length;
    ++d.TransactionId;
    exchange.send(&responseTimer, period, length);
    while (outcome == ReplyOutcome::Pending) {
        if (!replied)
            loop.exec();
        if (replied && outcome == ReplyOutcome::Pending)
            outcome = exchange.tick();
    }
    result.outcome = outcome;
    if (outcome == ReplyOutcome::TimedOut)
        result.failure = QStringLiteral("Timeout");
    if (outcome == ReplyOutcome::Exception) {
        result.exceptionCode = d.RxFrame[8];
        result.failure = exceptionText(result.exceptionCode).trimmed();
    }
    return result;
}
