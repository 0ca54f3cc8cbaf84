#include "monitor/FrameDecoder.h"

#include "link/ModbusCrc.h"
#include "link/ModbusFrame.h"
#include "link/RtuReplyLength.h"

#include <QStringList>
#include <optional>

namespace
{

QByteArray rawBytes(const quint8 *p, int n)
{
    return QByteArray(reinterpret_cast<const char *>(p), n);
}

int word(const quint8 *p)
{
    return (p[0] << 8) | p[1];
}

// Registers from `p`, as many as `bytes` holds whole.
void takeWords(const quint8 *p, int bytes, std::vector<quint16> &out)
{
    for (int i = 0; i + 1 < bytes; i += 2)
        out.push_back(static_cast<quint16>(word(p + i)));
}

// Fixed-size body: the problem when it is shorter or longer.
FrameProblem fixedSize(int have, int need)
{
    if (have < need)
        return FrameProblem::TooShort;
    return have > need ? FrameProblem::TooLong : FrameProblem::None;
}

// A byte count and the data it announces, from body[at] on: data that do not
// fit the count or the count that does not fit the quantity.
FrameProblem countedData(int have, int at, int byteCount, int expectedCount)
{
    if (have < at + byteCount)
        return FrameProblem::TooShort;
    if (have > at + byteCount)
        return FrameProblem::TooLong;
    if (expectedCount >= 0 && byteCount != expectedCount)
        return FrameProblem::ByteCountMismatch;
    return FrameProblem::None;
}

// A body of start address and quantity: reads asked, writes of several answered.
void startAndQuantity(const quint8 *body, int n, DecodedFrame &f)
{
    if (n >= 4) {
        f.start = word(body);
        f.quantity = word(body + 2);
    }
    f.problem = fixedSize(n, 4);
}

// A body of address and one value: single writes, asked and answered alike.
void startAndValue(const quint8 *body, int n, DecodedFrame &f)
{
    if (n >= 4) {
        f.start = word(body);
        f.values.push_back(static_cast<quint16>(word(body + 2)));
    }
    f.problem = fixedSize(n, 4);
}

void decodeRequest(const quint8 *body, int n, DecodedFrame &f)
{
    switch (f.function) {
    case 1:
    case 2:
    case 3:
    case 4:
        startAndQuantity(body, n, f);
        return;
    case 5:
    case 6:
        startAndValue(body, n, f);
        return;
    case 15:
    case 16: {
        if (n < 5) {
            f.problem = FrameProblem::TooShort;
            return;
        }
        f.start = word(body);
        f.quantity = word(body + 2);
        f.byteCount = body[4];
        const int available = std::min(n - 5, f.byteCount);
        if (f.function == 16)
            takeWords(body + 5, available, f.values);
        else
            f.data = rawBytes(body + 5, available);
        const int expected = f.function == 16 ? 2 * f.quantity : (f.quantity + 7) / 8;
        f.problem = countedData(n, 5, f.byteCount, expected);
        return;
    }
    case 23: {
        startAndQuantity(body, n, f); // the read half
        if (n < 9) {
            f.problem = FrameProblem::TooShort;
            return;
        }
        f.writeStart = word(body + 4);
        f.writeQuantity = word(body + 6);
        f.byteCount = body[8];
        takeWords(body + 9, std::min(n - 9, f.byteCount), f.values);
        f.problem = countedData(n, 9, f.byteCount, 2 * f.writeQuantity);
        return;
    }
    default:
        // 43 (MEI type, code, object), 42 (nothing) and whatever else.
        f.data = rawBytes(body, n);
        return;
    }
}

void decodeReply(const quint8 *body, int n, DecodedFrame &f)
{
    switch (f.function) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 23: {
        if (n < 1) {
            f.problem = FrameProblem::TooShort;
            return;
        }
        f.byteCount = body[0];
        const int available = std::min(n - 1, f.byteCount);
        if (f.function == 1 || f.function == 2)
            f.data = rawBytes(body + 1, available);
        else
            takeWords(body + 1, available, f.values);
        const bool registers = f.function != 1 && f.function != 2;
        f.problem = countedData(n, 1, f.byteCount, -1);
        if (f.problem == FrameProblem::None && registers && f.byteCount % 2 != 0)
            f.problem = FrameProblem::ByteCountMismatch;
        return;
    }
    case 5:
    case 6:
        startAndValue(body, n, f);
        return;
    case 15:
    case 16:
        startAndQuantity(body, n, f);
        return;
    default:
        f.data = rawBytes(body, n);
        return;
    }
}

// Length of the RTU frame starting at `b` (CRC included) as its first bytes
// tell; 0 when they do not tell it.
int rtuFrameLength(const quint8 *b, int available, FrameDirection direction)
{
    if (available < 2)
        return 0;
    const int function = b[1];
    if (direction == FrameDirection::Reply) {
        const RtuReplyLength length = RtuReplyLengthOf(b, available);
        return length.kind == RtuReplyLength::Known ? length.length : 0;
    }
    if (function & 0x80)
        return 5;
    switch (function) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return 8;
    case 15:
    case 16:
        return available >= 7 ? 9 + b[6] : 0;
    case 23:
        return available >= 11 ? 13 + b[10] : 0;
    case 42:
        return 4;
    case 43:
        return 7;
    default:
        return 0;
    }
}

bool crcRight(const quint8 *b, int length)
{
    if (length < 4)
        return false;
    const quint16 crc = ModbusCrc16(b, length - 2);
    return b[length - 2] == (crc & 0xFF) && b[length - 1] == (crc >> 8);
}

DecodedFrame framed(const quint8 *pdu, int count, FrameDirection direction, FrameFraming framing)
{
    DecodedFrame f = DecodePdu(pdu, count, direction);
    f.framing = framing;
    return f;
}

// Every frame a whole RTU frame with a right CRC; the first one at least, the
// rest of the line one damaged frame otherwise.
std::optional<std::vector<DecodedFrame>> splitRtu(const quint8 *b, int n, FrameDirection direction)
{
    std::vector<DecodedFrame> frames;
    int pos = 0;
    while (pos < n) {
        const int available = n - pos;
        int length = rtuFrameLength(b + pos, available, direction);
        if (length == 0 || length > available)
            length = available; // the rest as one frame
        if (!crcRight(b + pos, length)) {
            if (frames.empty())
                return std::nullopt;
            DecodedFrame damaged = framed(b + pos, std::max(0, available - 2), direction, FrameFraming::Rtu);
            damaged.problem = FrameProblem::BadCrc;
            frames.push_back(damaged);
            return frames;
        }
        frames.push_back(framed(b + pos, length - 2, direction, FrameFraming::Rtu));
        pos += length;
    }
    return frames;
}

// Every frame a Modbus/TCP frame whose header's length fits what follows.
std::optional<std::vector<DecodedFrame>> splitTcp(const quint8 *b, int n, FrameDirection direction)
{
    std::vector<DecodedFrame> frames;
    int pos = 0;
    while (pos < n) {
        const quint8 *h = b + pos;
        if (n - pos < 8 || h[2] != 0 || h[3] != 0)
            return std::nullopt;
        const int length = word(h + 4);
        if (length < 2 || pos + 6 + length > n)
            return std::nullopt;
        DecodedFrame f = framed(h + 6, length, direction, FrameFraming::Tcp);
        f.transactionId = word(h);
        frames.push_back(f);
        pos += 6 + length;
    }
    return frames;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QString hex(int value, int digits)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString hexAndDecimal(int value)
{
    return QStringLiteral("%1 (%2)").arg(hex(value, 4)).arg(value);
}

struct CodeName {
    int code;
    const char *name;
};

template <size_t N> QString nameOf(const CodeName (&names)[N], int code)
{
    for (const CodeName &n : names)
        if (n.code == code)
            return QString::fromLatin1(n.name);
    return QString();
}

constexpr CodeName FunctionNames[] = {
    {1, "Read Coils"},
    {2, "Read Discrete Inputs"},
    {3, "Read Holding Registers"},
    {4, "Read Input Registers"},
    {5, "Write Single Coil"},
    {6, "Write Single Register"},
    {15, "Write Multiple Coils"},
    {16, "Write Multiple Registers"},
    {23, "Read/Write Multiple Registers"},
    {42, "Restart"},
    {43, "Read Device Identification"},
};

// Beyond the codes the windows name themselves.
constexpr CodeName OtherExceptionNames[] = {
    {4, "Slave Device Failure"},      {5, "Acknowledge"},
    {6, "Slave Device Busy"},         {8, "Memory Parity Error"},
    {10, "Gateway Path Unavailable"}, {11, "Gateway Target Device Failed to Respond"},
};

QString functionName(int function)
{
    return nameOf(FunctionNames, function);
}

QString exceptionName(int code)
{
    const QString own = BareExceptionText(static_cast<quint8>(code));
    return own.isEmpty() ? nameOf(OtherExceptionNames, code) : own;
}

QString problemId(FrameProblem problem)
{
    switch (problem) {
    case FrameProblem::TooShort:
        return QStringLiteral("@idDEC_TOOSHORT");
    case FrameProblem::TooLong:
        return QStringLiteral("@idDEC_TOOLONG");
    case FrameProblem::ByteCountMismatch:
        return QStringLiteral("@idDEC_COUNTBAD");
    case FrameProblem::BadCrc:
        return QStringLiteral("@idDEC_BADCRC");
    case FrameProblem::LengthMismatch:
        return QStringLiteral("@idDEC_BADLENGTH");
    case FrameProblem::None:
        break;
    }
    return QString();
}

QString registerList(const std::vector<quint16> &values)
{
    QStringList parts;
    for (size_t i = 0; i < values.size(); ++i)
        parts << QStringLiteral("[%1] %2").arg(i).arg(hexAndDecimal(values[i]));
    return parts.join(QStringLiteral(", "));
}

QString byteList(const QByteArray &bytes)
{
    QStringList parts;
    for (char c : bytes)
        parts << hex(static_cast<quint8>(c), 2);
    return parts.join(QLatin1Char(' '));
}

} // namespace

DecodedFrame DecodePdu(const quint8 *pdu, int count, FrameDirection direction)
{
    DecodedFrame f;
    f.direction = direction;
    if (count >= 1)
        f.unit = pdu[0];
    if (count < 2) {
        f.problem = FrameProblem::TooShort;
        return f;
    }
    f.function = pdu[1] & 0x7F;
    f.exception = (pdu[1] & 0x80) != 0;
    const quint8 *body = pdu + 2;
    const int n = count - 2;
    if (f.exception) {
        if (n >= 1)
            f.exceptionCode = body[0];
        f.problem = fixedSize(n, 1);
        return f;
    }
    if (direction == FrameDirection::Request)
        decodeRequest(body, n, f);
    else
        decodeReply(body, n, f);
    return f;
}

std::vector<DecodedFrame> DecodeFrames(const QByteArray &bytes, FrameDirection direction)
{
    const auto *b = reinterpret_cast<const quint8 *>(bytes.constData());
    const int n = static_cast<int>(bytes.size());
    if (n == 0)
        return {};
    // RTU first: a CRC that fits by chance is far rarer than a CRC that looks
    // like a header with a fitting length.
    if (auto frames = splitRtu(b, n, direction))
        return *frames;
    if (auto frames = splitTcp(b, n, direction))
        return *frames;
    if (n >= 8 && b[2] == 0 && b[3] == 0) {
        DecodedFrame f = framed(b + 6, n - 6, direction, FrameFraming::Tcp);
        f.transactionId = word(b);
        f.problem = FrameProblem::LengthMismatch;
        return {f};
    }
    if (n >= 4) {
        DecodedFrame f = framed(b, n - 2, direction, FrameFraming::Rtu);
        f.problem = FrameProblem::BadCrc;
        return {f};
    }
    return {framed(b, n, direction, FrameFraming::Bare)};
}

QByteArray MonitorLineBytes(const QString &line)
{
    // "TxD (12.5)  " ahead of the bytes; a line without it is all bytes.
    qsizetype from = 0;
    const qsizetype stamp = line.indexOf(QStringLiteral(")  "));
    if ((line.startsWith(QStringLiteral("TxD (")) || line.startsWith(QStringLiteral("RxD ("))) && stamp > 0)
        from = stamp + 3;
    QByteArray bytes;
    int high = -1;
    for (qsizetype i = from; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            if (high >= 0)
                return {}; // a lone digit
            continue;
        }
        const int digit = hexDigit(c);
        if (digit < 0)
            return {};
        if (high < 0) {
            high = digit;
        } else {
            bytes.append(static_cast<char>((high << 4) | digit));
            high = -1;
        }
    }
    return high >= 0 ? QByteArray() : bytes;
}

QString DecodedFrameText(const DecodedFrame &f, const std::function<QString(const QString &)> &lookup)
{
    QStringList lines;
    QString head = lookup(f.direction == FrameDirection::Request ? QStringLiteral("@idDEC_REQUEST")
                                                                 : QStringLiteral("@idDEC_REPLY"));
    switch (f.framing) {
    case FrameFraming::Tcp:
        head += QStringLiteral(", Modbus/TCP, ") + lookup(QStringLiteral("@idDEC_TRANSACTION")) +
                QStringLiteral(" %1").arg(f.transactionId);
        break;
    case FrameFraming::Rtu:
        head += QStringLiteral(", RTU");
        break;
    case FrameFraming::Bare:
        break;
    }
    lines << head;
    if (f.problem != FrameProblem::None)
        lines << QStringLiteral("! ") + lookup(problemId(f.problem));
    if (f.unit >= 0)
        lines << lookup(QStringLiteral("@idDEC_UNIT")) + QStringLiteral(": %1 (%2)").arg(f.unit).arg(hex(f.unit, 2));
    if (f.function >= 0) {
        const QString name = functionName(f.function);
        lines << lookup(QStringLiteral("@idDEC_FUNCTION")) +
                     QStringLiteral(": %1 (%2)").arg(f.function).arg(hex(f.function, 2)) +
                     (name.isEmpty() ? QString() : QStringLiteral(" ") + name);
    }
    if (f.exception) {
        if (f.exceptionCode >= 0) {
            const QString name = exceptionName(f.exceptionCode);
            lines << lookup(QStringLiteral("@idDEC_EXCEPTION")) + QStringLiteral(": %1").arg(f.exceptionCode) +
                         (name.isEmpty() ? QString() : QStringLiteral(" ") + name);
        }
        return lines.join(QLatin1Char('\n'));
    }
    const bool readWrite = f.function == 23 && f.direction == FrameDirection::Request;
    const QString start = lookup(QStringLiteral("@idDEC_START"));
    const QString quantity = lookup(QStringLiteral("@idDEC_QUANTITY"));
    if (readWrite) {
        if (f.start >= 0)
            lines << lookup(QStringLiteral("@idDEC_READ")) + QStringLiteral(": ") + start + QStringLiteral(" ") +
                         hexAndDecimal(f.start) + QStringLiteral(", ") + quantity +
                         QStringLiteral(" %1").arg(f.quantity);
        if (f.writeStart >= 0)
            lines << lookup(QStringLiteral("@idDEC_WRITE")) + QStringLiteral(": ") + start + QStringLiteral(" ") +
                         hexAndDecimal(f.writeStart) + QStringLiteral(", ") + quantity +
                         QStringLiteral(" %1").arg(f.writeQuantity);
    } else if (f.start >= 0) {
        QString line = start + QStringLiteral(": ") + hexAndDecimal(f.start);
        if (f.quantity >= 0)
            line += QStringLiteral(", ") + quantity + QStringLiteral(" %1").arg(f.quantity);
        lines << line;
    }
    if (f.byteCount >= 0)
        lines << lookup(QStringLiteral("@idDEC_BYTECOUNT")) + QStringLiteral(": %1").arg(f.byteCount);
    if (!f.values.empty()) {
        const QString label =
            readWrite ? lookup(QStringLiteral("@idDEC_WRITEVALUES")) : lookup(QStringLiteral("@idDEC_VALUES"));
        lines << label + QStringLiteral(": ") + registerList(f.values);
    }
    if (!f.data.isEmpty())
        lines << lookup(QStringLiteral("@idDEC_DATA")) + QStringLiteral(": ") + byteList(f.data);
    return lines.join(QLatin1Char('\n'));
}

QString DecodedLineText(const QString &line, FrameDirection direction,
                        const std::function<QString(const QString &)> &lookup, int maxFrames)
{
    const std::vector<DecodedFrame> frames = DecodeFrames(MonitorLineBytes(line), direction);
    if (frames.empty())
        return lookup(QStringLiteral("@idDEC_NOBYTES"));
    QStringList parts;
    const int shown = std::min(static_cast<int>(frames.size()), std::max(1, maxFrames));
    for (int i = 0; i < shown; ++i)
        parts << DecodedFrameText(frames[static_cast<size_t>(i)], lookup);
    if (static_cast<int>(frames.size()) > shown)
        parts << lookup(QStringLiteral("@idDEC_MORE")).arg(static_cast<int>(frames.size()) - shown);
    return parts.join(QStringLiteral("\n\n"));
}

QStringList FrameDecoderWords()
{
    return {
        u"@idDEC_REQUEST"_qs,
        u"Anfrage"_qs,
        u"Request"_qs,
        u"@idDEC_REPLY"_qs,
        u"Antwort"_qs,
        u"Reply"_qs,
        u"@idDEC_TRANSACTION"_qs,
        u"Transaktion"_qs,
        u"Transaction"_qs,
        u"@idDEC_UNIT"_qs,
        u"Teilnehmer"_qs,
        u"Unit"_qs,
        u"@idDEC_FUNCTION"_qs,
        u"Funktion"_qs,
        u"Function"_qs,
        u"@idDEC_EXCEPTION"_qs,
        u"Ausnahme"_qs,
        u"Exception"_qs,
        u"@idDEC_START"_qs,
        u"Startregister"_qs,
        u"Start register"_qs,
        u"@idDEC_QUANTITY"_qs,
        u"Anzahl"_qs,
        u"Quantity"_qs,
        u"@idDEC_READ"_qs,
        u"Lesen"_qs,
        u"Read"_qs,
        u"@idDEC_WRITE"_qs,
        u"Schreiben"_qs,
        u"Write"_qs,
        u"@idDEC_BYTECOUNT"_qs,
        u"Bytezahl"_qs,
        u"Byte count"_qs,
        u"@idDEC_VALUES"_qs,
        u"Werte"_qs,
        u"Values"_qs,
        u"@idDEC_WRITEVALUES"_qs,
        u"Werte zum Schreiben"_qs,
        u"Values to write"_qs,
        u"@idDEC_DATA"_qs,
        u"Daten"_qs,
        u"Data"_qs,
        u"@idDEC_TOOSHORT"_qs,
        u"Rahmen zu kurz"_qs,
        u"Frame too short"_qs,
        u"@idDEC_TOOLONG"_qs,
        u"Rahmen zu lang"_qs,
        u"Frame too long"_qs,
        u"@idDEC_COUNTBAD"_qs,
        u"Bytezahl passt nicht"_qs,
        u"Byte count does not fit"_qs,
        u"@idDEC_BADCRC"_qs,
        u"CRC falsch"_qs,
        u"Wrong CRC"_qs,
        u"@idDEC_BADLENGTH"_qs,
        u"Länge im Kopf passt nicht"_qs,
        u"Header length does not fit"_qs,
        u"@idDEC_NOBYTES"_qs,
        u"Keine Bytes in dieser Zeile"_qs,
        u"No bytes in this line"_qs,
        u"@idDEC_MORE"_qs,
        u"... und %1 weitere Rahmen"_qs,
        u"... and %1 more frames"_qs,
    };
}
