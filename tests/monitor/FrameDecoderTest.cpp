#include "monitor/FrameDecoder.h"
#include "../link/LinkTestSupport.h"

#include <QMap>
#include <gtest/gtest.h>

namespace
{

using Dir = FrameDirection;
using P = FrameProblem;

struct Vector {
    const char *name;
    Dir direction;
    Bytes pdu; // unit first, no framing
    int function;
    int exceptionCode; // -1: no exception
    int start, quantity, writeStart, writeQuantity, byteCount;
    std::vector<quint16> values;
    int dataBytes;
    P problem;
};

// Every function the tool sends or receives, exceptions, malformed and short frames.
const Vector Vectors[] = {
    {"fc4 read request", Dir::Request, {8, 4, 0x10, 0x00, 0x00, 0x0E}, 4, -1, 0x1000, 14, -1, -1, -1, {}, 0, P::None},
    {"fc3 read request", Dir::Request, {8, 3, 0x20, 0x00, 0x00, 0x02}, 3, -1, 0x2000, 2, -1, -1, -1, {}, 0, P::None},
    {"fc4 reply",
     Dir::Reply,
     {8, 4, 4, 0x12, 0x34, 0xFF, 0xFE},
     4,
     -1,
     -1,
     -1,
     -1,
     -1,
     4,
     {0x1234, 0xFFFE},
     0,
     P::None},
    {"fc3 reply", Dir::Reply, {8, 3, 2, 0x00, 0x07}, 3, -1, -1, -1, -1, -1, 2, {7}, 0, P::None},
    {"fc6 request", Dir::Request, {8, 6, 0x15, 0x00, 0xFF, 0xFF}, 6, -1, 0x1500, -1, -1, -1, -1, {0xFFFF}, 0, P::None},
    {"fc6 reply (echo)", Dir::Reply, {8, 6, 0x15, 0x01, 0x00, 0x03}, 6, -1, 0x1501, -1, -1, -1, -1, {3}, 0, P::None},
    {"fc16 request",
     Dir::Request,
     {8, 16, 0x30, 0x00, 0x00, 0x02, 4, 0x00, 0x01, 0xAB, 0xCD},
     16,
     -1,
     0x3000,
     2,
     -1,
     -1,
     4,
     {1, 0xABCD},
     0,
     P::None},
    {"fc16 reply", Dir::Reply, {8, 16, 0x30, 0x00, 0x00, 0x27}, 16, -1, 0x3000, 39, -1, -1, -1, {}, 0, P::None},
    {"fc23 request",
     Dir::Request,
     {8, 23, 0x01, 0x00, 0x00, 0x08, 0x09, 0x00, 0x00, 0x02, 4, 0x00, 0x10, 0x0F, 0x00},
     23,
     -1,
     0x0100,
     8,
     0x0900,
     2,
     4,
     {0x0010, 0x0F00},
     0,
     P::None},
    {"fc23 request without outputs",
     Dir::Request,
     {8, 23, 0x01, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x00, 0},
     23,
     -1,
     0x0100,
     1,
     0x0900,
     0,
     0,
     {},
     0,
     P::None},
    {"fc23 reply",
     Dir::Reply,
     {8, 23, 6, 0x04, 0xD2, 0xFF, 0xFE, 0x00, 0x05},
     23,
     -1,
     -1,
     -1,
     -1,
     -1,
     6,
     {1234, 0xFFFE, 5},
     0,
     P::None},
    {"fc43 request", Dir::Request, {8, 43, 0x0E, 0x01, 0x00}, 43, -1, -1, -1, -1, -1, -1, {}, 3, P::None},
    {"fc43 reply",
     Dir::Reply,
     {8, 43, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x02, 'V', 'O'},
     43,
     -1,
     -1,
     -1,
     -1,
     -1,
     -1,
     {},
     10,
     P::None},
    {"fc42 restart", Dir::Request, {8, 42}, 42, -1, -1, -1, -1, -1, -1, {}, 0, P::None},
    {"fc1 reply", Dir::Reply, {8, 1, 2, 0x55, 0x01}, 1, -1, -1, -1, -1, -1, 2, {}, 2, P::None},
    {"fc15 request",
     Dir::Request,
     {8, 15, 0x00, 0x10, 0x00, 0x0A, 2, 0xFF, 0x03},
     15,
     -1,
     0x0010,
     10,
     -1,
     -1,
     2,
     {},
     2,
     P::None},
    {"exception 2", Dir::Reply, {8, 0x84, 2}, 4, 2, -1, -1, -1, -1, -1, {}, 0, P::None},
    {"exception 1 on fc23", Dir::Reply, {8, 0x97, 1}, 23, 1, -1, -1, -1, -1, -1, {}, 0, P::None},
    {"exception without code", Dir::Reply, {8, 0x83}, 3, -1, -1, -1, -1, -1, -1, {}, 0, P::TooShort},
    {"unit only", Dir::Reply, {8}, -1, -1, -1, -1, -1, -1, -1, {}, 0, P::TooShort},
    {"fc4 request cut short", Dir::Request, {8, 4, 0x10}, 4, -1, -1, -1, -1, -1, -1, {}, 0, P::TooShort},
    {"fc4 request too long", Dir::Request, {8, 4, 0x10, 0, 0, 1, 9}, 4, -1, 0x1000, 1, -1, -1, -1, {}, 0, P::TooLong},
    {"fc4 reply short of its byte count",
     Dir::Reply,
     {8, 4, 4, 0x12, 0x34, 0x56},
     4,
     -1,
     -1,
     -1,
     -1,
     -1,
     4,
     {0x1234},
     0,
     P::TooShort},
    {"fc3 reply with an odd byte count",
     Dir::Reply,
     {8, 3, 3, 1, 2, 3},
     3,
     -1,
     -1,
     -1,
     -1,
     -1,
     3,
     {0x0102},
     0,
     P::ByteCountMismatch},
    {"fc16 count not twice the quantity",
     Dir::Request,
     {8, 16, 0x30, 0x00, 0x00, 0x02, 2, 0x00, 0x01},
     16,
     -1,
     0x3000,
     2,
     -1,
     -1,
     2,
     {1},
     0,
     P::ByteCountMismatch},
    {"fc23 write half cut short",
     Dir::Request,
     {8, 23, 0x01, 0x00, 0x00, 0x08, 0x09},
     23,
     -1,
     0x0100,
     8,
     -1,
     -1,
     -1,
     {},
     0,
     P::TooShort},
    {"fc23 data beyond the count",
     Dir::Request,
     {8, 23, 0x01, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x01, 2, 0x00, 0x01, 0x77},
     23,
     -1,
     0x0100,
     1,
     0x0900,
     1,
     2,
     {1},
     0,
     P::TooLong},
};

void expectVector(const DecodedFrame &f, const Vector &v, const std::string &how)
{
    SCOPED_TRACE(std::string(v.name) + " " + how);
    EXPECT_EQ(f.unit, v.pdu.front());
    EXPECT_EQ(f.function, v.function);
    EXPECT_EQ(f.exception, v.exceptionCode >= 0 || (v.pdu.size() >= 2 && (v.pdu[1] & 0x80)));
    EXPECT_EQ(f.exceptionCode, v.exceptionCode);
    EXPECT_EQ(f.start, v.start);
    EXPECT_EQ(f.quantity, v.quantity);
    EXPECT_EQ(f.writeStart, v.writeStart);
    EXPECT_EQ(f.writeQuantity, v.writeQuantity);
    EXPECT_EQ(f.byteCount, v.byteCount);
    EXPECT_EQ(f.values, v.values);
    EXPECT_EQ(f.data.size(), v.dataBytes);
    EXPECT_EQ(f.problem, v.problem);
}

QByteArray bytes(const Bytes &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), static_cast<qsizetype>(b.size()));
}

Bytes tcp(quint16 id, const Bytes &pdu)
{
    Bytes adu = {quint8(id >> 8), quint8(id), 0, 0, quint8(pdu.size() >> 8), quint8(pdu.size())};
    adu.insert(adu.end(), pdu.begin(), pdu.end());
    return adu;
}

TEST(FrameDecoder, VectorsBareOnRtuAndOnTcp)
{
    for (const Vector &v : Vectors) {
        expectVector(DecodePdu(v.pdu.data(), int(v.pdu.size()), v.direction), v, "bare");
        if (v.pdu.size() < 2)
            continue; // no frame on either link is that short
        // Frames whose fields do not fit still go on the line whole: their
        // framing is right, their content is what is wrong.
        const auto rtu = DecodeFrames(bytes(WithCrc(v.pdu)), v.direction);
        if (v.problem == P::None) {
            ASSERT_EQ(rtu.size(), 1u) << v.name;
            EXPECT_EQ(rtu[0].framing, FrameFraming::Rtu) << v.name;
            expectVector(rtu[0], v, "rtu");
        }
        const auto overTcp = DecodeFrames(bytes(tcp(0x1234, v.pdu)), v.direction);
        ASSERT_EQ(overTcp.size(), 1u) << v.name;
        EXPECT_EQ(overTcp[0].framing, FrameFraming::Tcp) << v.name;
        EXPECT_EQ(overTcp[0].transactionId, 0x1234) << v.name;
        expectVector(overTcp[0], v, "tcp");
    }
}

TEST(FrameDecoder, DamagedFraming)
{
    // RTU reply with its CRC spoilt: the fields are still read, the CRC named.
    Bytes reply = WithCrc({8, 4, 2, 0x00, 0x2A});
    reply.back() ^= 0xFF;
    auto frames = DecodeFrames(bytes(reply), Dir::Reply);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].framing, FrameFraming::Rtu);
    EXPECT_EQ(frames[0].problem, P::BadCrc);
    EXPECT_EQ(frames[0].values, std::vector<quint16>{0x2A});

    // Modbus/TCP header announcing one byte more than follows.
    Bytes adu = tcp(7, {8, 4, 2, 0x00, 0x2A});
    adu[5] += 1;
    frames = DecodeFrames(bytes(adu), Dir::Reply);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].framing, FrameFraming::Tcp);
    EXPECT_EQ(frames[0].problem, P::LengthMismatch);
    EXPECT_EQ(frames[0].transactionId, 7);
    EXPECT_EQ(frames[0].values, std::vector<quint16>{0x2A});

    // Three bytes: neither link carries a frame that short.
    frames = DecodeFrames(bytes({8, 0x84, 2}), Dir::Reply);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].framing, FrameFraming::Bare);
    EXPECT_EQ(frames[0].exceptionCode, 2);

    EXPECT_TRUE(DecodeFrames(QByteArray(), Dir::Reply).empty());
}

TEST(FrameDecoder, SeveralFramesOnOneLine)
{
    // Sends faster than the monitor period share one line.
    Bytes line = WithCrc({8, 4, 0x15, 0x00, 0x00, 0x01});
    const Bytes second = WithCrc({8, 16, 0x30, 0x00, 0x00, 0x01, 2, 0x12, 0x34});
    line.insert(line.end(), second.begin(), second.end());
    auto frames = DecodeFrames(bytes(line), Dir::Request);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].function, 4);
    EXPECT_EQ(frames[1].function, 16);
    EXPECT_EQ(frames[1].values, std::vector<quint16>{0x1234});

    // A damaged second frame does not hide the first.
    line.back() ^= 0x01;
    frames = DecodeFrames(bytes(line), Dir::Request);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].problem, P::None);
    EXPECT_EQ(frames[1].problem, P::BadCrc);

    Bytes tcpLine = tcp(1, {8, 4, 0x10, 0x00, 0x00, 0x0E});
    const Bytes other = tcp(2, {8, 6, 0x15, 0x00, 0xFF, 0xFF});
    tcpLine.insert(tcpLine.end(), other.begin(), other.end());
    frames = DecodeFrames(bytes(tcpLine), Dir::Request);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].transactionId, 1);
    EXPECT_EQ(frames[1].transactionId, 2);
    EXPECT_EQ(frames[1].values, std::vector<quint16>{0xFFFF});
}

TEST(FrameDecoder, MonitorLineBytes)
{
    struct Case {
        QString line;
        QByteArray expected;
    };
    const Case cases[] = {
        {u"TxD (12.345)  08 04 10 00 "_qs, QByteArray::fromHex("08041000")},
        {u"RxD (1,5)  0804020001"_qs, QByteArray::fromHex("0804020001")}, // serial: no blanks, locale comma
        {u"RxD (3)  08  04  02  "_qs, QByteArray::fromHex("080402")},     // TCP: two blanks
        {u"0a 0B"_qs, QByteArray::fromHex("0a0b")},                       // hand-made, no stamp
        {u"TxD (1)  08 4 10"_qs, QByteArray()},                           // a lone digit
        {u"TxD (1)  08 XY"_qs, QByteArray()},
        {u"Senden"_qs, QByteArray()},
        {u" "_qs, QByteArray()},
        {u"RS485: not supported"_qs, QByteArray()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MonitorLineBytes(c.line), c.expected) << c.line.toStdString();
}

QString lookupIn(const QStringList &words, int language, const QString &id)
{
    for (int i = 0; i + 2 < words.size(); i += 3)
        if (words[i] == id)
            return words[i + 1 + language];
    return id.toLower();
}

TEST(FrameDecoder, TextsInBothLanguages)
{
    const QStringList words = FrameDecoderWords();
    auto german = [&](const QString &id) { return lookupIn(words, 0, id); };
    auto english = [&](const QString &id) { return lookupIn(words, 1, id); };
    // Every id the text uses has both texts.
    for (int i = 0; i + 2 < words.size(); i += 3) {
        EXPECT_TRUE(words[i].startsWith(u"@idDEC_"_qs)) << words[i].toStdString();
        EXPECT_FALSE(words[i + 1].isEmpty());
        EXPECT_FALSE(words[i + 2].isEmpty());
    }

    const Bytes request = WithCrc({8, 23, 0x01, 0x00, 0x00, 0x02, 0x09, 0x00, 0x00, 0x01, 2, 0x00, 0x0F});
    const QString line = u"TxD (1)  "_qs + QString::fromLatin1(bytes(request).toHex(' ').toUpper());
    const QString de = DecodedLineText(line, Dir::Request, german);
    EXPECT_TRUE(de.contains(u"Teilnehmer: 8 (0x08)"_qs)) << de.toStdString();
    EXPECT_TRUE(de.contains(u"Funktion: 23 (0x17) Read/Write Multiple Registers"_qs)) << de.toStdString();
    EXPECT_TRUE(de.contains(u"Lesen: Startregister 0x0100 (256), Anzahl 2"_qs)) << de.toStdString();
    EXPECT_TRUE(de.contains(u"Schreiben: Startregister 0x0900 (2304), Anzahl 1"_qs)) << de.toStdString();
    EXPECT_TRUE(de.contains(u"Werte zum Schreiben: [0] 0x000F (15)"_qs)) << de.toStdString();
    const QString en = DecodedLineText(line, Dir::Request, english);
    EXPECT_TRUE(en.contains(u"Read: Start register 0x0100 (256), Quantity 2"_qs)) << en.toStdString();
    EXPECT_TRUE(en.contains(u"Byte count: 2"_qs)) << en.toStdString();

    // Exception names as the tool shows them elsewhere, odd spelling kept.
    const QString ex = DecodedLineText(u"RxD (2)  "_qs + QString::fromLatin1(bytes(WithCrc({8, 0x84, 2})).toHex()),
                                       Dir::Reply, english);
    EXPECT_TRUE(ex.contains(u"Exception: 2 Illegal Data Adress"_qs)) << ex.toStdString();
    EXPECT_TRUE(ex.contains(u"Reply, RTU"_qs)) << ex.toStdString();

    EXPECT_EQ(DecodedLineText(u"Empfangen"_qs, Dir::Reply, german), u"Keine Bytes in dieser Zeile"_qs);

    // Many frames on a line: the first few and how many more.
    Bytes many;
    for (int i = 0; i < 6; ++i) {
        const Bytes f = WithCrc({8, 4, 0x10, 0x00, 0x00, quint8(i + 1)});
        many.insert(many.end(), f.begin(), f.end());
    }
    const QString more = DecodedLineText(QString::fromLatin1(bytes(many).toHex(' ')), Dir::Request, english, 4);
    EXPECT_EQ(more.count(u"Function: 4"_qs), 4);
    EXPECT_TRUE(more.endsWith(u"... and 2 more frames"_qs)) << more.toStdString();
}

} // namespace
