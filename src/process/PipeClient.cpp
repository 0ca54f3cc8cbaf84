#include "process/PipeClient.h"

#include "app/Conversions.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

namespace
{

struct FlagName {
    quint8 bit;
    const char *name;
};
constexpr FlagName FlagNames[] = {
    {0x01, "serial"},       {0x02, "tcp"},          {0x04, "config"},
    {0x08, "process-data"}, {0x10, "socket-error"}, {0x80, "restart"},
};

std::optional<int> byteValue(const QString &text)
{
    const auto v = ParseUserInteger(text);
    if (!v || *v < 0 || *v > 255)
        return std::nullopt;
    return static_cast<int>(*v);
}

} // namespace

QString PipeClientUsage()
{
    return QStringLiteral("usage: vo3112pipe NAME [options]\n"
                          "Sends one request to the pipe of a running vo3112ccc started with NAME (an\n"
                          "argument beginning with SERVER) and prints the response.\n"
                          "  --slot N=BYTE     digital outputs of slot N (1..9), bit b = channel b+1;\n"
                          "                    BYTE decimal, 0x.. or $.. (repeatable; other slots 0)\n"
                          "  --outputs B1,..,B9  all nine output bytes at once\n"
                          "  --restart         ask for an automatic restart of coupler and link\n"
                          "  --machine         print key=value lines for other programs\n"
                          "  --repeat N        send the request N times, print the last response\n"
                          "  --timeout MS      give up after MS milliseconds (default 3000)\n");
}

PipeClientOptions ParsePipeClientArguments(const QStringList &arguments)
{
    PipeClientOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        auto next = [&](QString &value) {
            if (i + 1 >= arguments.size()) {
                o.error = a + QStringLiteral(" needs a value");
                return false;
            }
            value = arguments.at(++i);
            return true;
        };
        QString value;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--restart")) {
            o.restart = true;
        } else if (a == QLatin1String("--machine")) {
            o.machine = true;
        } else if (a == QLatin1String("--slot")) {
            if (!next(value))
                return o;
            const QStringList parts = value.split(QLatin1Char('='));
            bool ok = false;
            const int slot = parts.value(0).toInt(&ok);
            const auto byte = parts.size() == 2 ? byteValue(parts[1]) : std::nullopt;
            if (!ok || slot < 1 || slot > 9 || !byte) {
                o.error = QStringLiteral("--slot wants N=BYTE with N 1..9 and BYTE 0..255: ") + value;
                return o;
            }
            o.outputs[static_cast<size_t>(slot - 1)] = static_cast<quint8>(*byte);
        } else if (a == QLatin1String("--outputs")) {
            if (!next(value))
                return o;
            const QStringList parts = value.split(QLatin1Char(','));
            if (parts.size() > 9) {
                o.error = QStringLiteral("--outputs takes at most nine bytes");
                return o;
            }
            for (int k = 0; k < parts.size(); ++k) {
                const auto byte = byteValue(parts[k]);
                if (!byte) {
                    o.error = QStringLiteral("not a byte: ") + parts[k];
                    return o;
                }
                o.outputs[static_cast<size_t>(k)] = static_cast<quint8>(*byte);
            }
        } else if (a == QLatin1String("--timeout") || a == QLatin1String("--repeat")) {
            if (!next(value))
                return o;
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < 1) {
                o.error = a + QStringLiteral(" wants a positive number: ") + value;
                return o;
            }
            (a == QLatin1String("--timeout") ? o.timeoutMs : o.repeat) = n;
        } else if (a.startsWith(QLatin1String("--"))) {
            o.error = QStringLiteral("unknown option ") + a;
            return o;
        } else if (o.pipeName.isEmpty()) {
            o.pipeName = a;
        } else {
            o.error = QStringLiteral("one pipe name only: ") + a;
            return o;
        }
    }
    if (o.pipeName.isEmpty() && !o.help)
        o.error = QStringLiteral("no pipe name given");
    return o;
}

std::optional<PipeMessage> ExchangePipeMessage(const QString &pipeName, const PipeMessage &request, int timeoutMs,
                                               QString *error)
{
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The server serves one client at a time; a busy or restarting pipe is retried.
    while (true) {
        socket.connectToServer(pipeName);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired()) {
            if (error)
                *error = QStringLiteral("cannot connect to pipe %1: %2").arg(pipeName, socket.errorString());
            return std::nullopt;
        }
        socket.abort();
        QThread::msleep(20);
    }
    socket.write(ToByteArray(request));
    socket.flush();
    QByteArray response;
    while (response.size() < PipeMessageSize) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            if (error)
                *error = deadline.hasExpired()
                             ? QStringLiteral("no response within %1 ms").arg(timeoutMs)
                             : QStringLiteral("pipe closed after %1 of 74 bytes").arg(response.size());
            return std::nullopt;
        }
        response += socket.read(PipeMessageSize - response.size());
    }
    socket.disconnectFromServer();
    return ToPipeMessage(response);
}

QString PipeFlagNames(quint8 flags)
{
    QStringList names;
    for (const FlagName &f : FlagNames)
        if (flags & f.bit)
            names << QString::fromLatin1(f.name);
    return names.join(QLatin1Char(' '));
}

QString FormatPipeResponse(const PipeResponseFields &fields, bool machine)
{
    QString out;
    if (machine) {
        for (size_t i = 0; i < fields.AnaIn.size(); ++i)
            out += QStringLiteral("ai%1=%2\n").arg(i + 1).arg(fields.AnaIn[i]);
        for (size_t i = 0; i < fields.DigIn.size(); ++i)
            out += QStringLiteral("di%1=0x%2\n").arg(i).arg(HexText(fields.DigIn[i], 2));
        out += QStringLiteral("flags=0x%1\n").arg(HexText(fields.Flags, 2));
        out += QStringLiteral("flag_names=%1\n").arg(PipeFlagNames(fields.Flags));
        return out;
    }
    out += QStringLiteral("analog inputs:");
    for (size_t i = 0; i < fields.AnaIn.size(); ++i)
        out += QStringLiteral("%1%2")
                   .arg(i % 8 == 0 ? QStringLiteral("\n ") : QStringLiteral(" "))
                   .arg(fields.AnaIn[i], 11);
    out += QStringLiteral("\ndigital inputs:");
    for (quint8 b : fields.DigIn)
        out += QStringLiteral(" ") + HexText(b, 2);
    out += QStringLiteral("\nflags: 0x%1 %2\n").arg(HexText(fields.Flags, 2), PipeFlagNames(fields.Flags));
    return out;
}
