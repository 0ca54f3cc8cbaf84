#include "link/ModbusFrame.h"
#include "LinkTestSupport.h"

#include <gtest/gtest.h>

namespace
{

constexpr quint8 Untouched = 0xAA;

ModbusBuffer bufferWithRequest(const Bytes &request)
{
    ModbusBuffer tx;
    tx.fill(Untouched);
    std::copy(request.begin(), request.end(), tx.begin() + ModbusHeaderSize);
    return tx;
}

Bytes toBytes(const QByteArray &array)
{
    return Bytes(array.begin(), array.end());
}

struct TcpCase {
    const char *name;
    quint16 transactionId;
    quint8 length;
    Bytes request; // TxFrame[6..]
    Bytes expected;
    QString expectedText;
};

TEST(BuildTcpFrame, HeaderPayloadAndRendering)
{
    const TcpCase cases[] = {
        {"read one input register",
         5,
         12,
         {0x08, 0x04, 0x10, 0x00, 0x00, 0x01},
         {0x00, 0x05, 0x00, 0x00, 0x00, 0x06, 0x08, 0x04, 0x10, 0x00, 0x00, 0x01},
         QStringLiteral("00 05 00 00 00 06 08 04 10 00 00 01 ")},
        {"slot list request, transaction high byte first",
         0x1234,
         12,
         {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E},
         {0x12, 0x34, 0x00, 0x00, 0x00, 0x06, 0x08, 0x04, 0x10, 0x00, 0x00, 0x0E},
         QStringLiteral("12 34 00 00 00 06 08 04 10 00 00 0E ")},
        {"restart command, two bytes",
         0xFFFF,
         8,
         {0x08, 0x2A},
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x02, 0x08, 0x2A},
         QStringLiteral("FF FF 00 00 00 02 08 2A ")},
        {"length 6 sends the bare header",
         7,
         6,
         {},
         {0x00, 0x07, 0x00, 0x00, 0x00, 0x00},
         QStringLiteral("00 07 00 00 00 00 ")},
        {"length below 6 sends the bare header",
         7,
         2,
         {},
         {0x00, 0x07, 0x00, 0x00, 0x00, 0x00},
         QStringLiteral("00 07 00 00 00 00 ")},
    };
    for (const TcpCase &c : cases) {
        ModbusBuffer tx = bufferWithRequest(c.request);
        const OutgoingFrame frame = BuildTcpFrame(tx, c.length, c.transactionId);
        EXPECT_EQ(toBytes(frame.bytes), c.expected) << c.name;
        EXPECT_EQ(frame.hexText, c.expectedText) << c.name;
        EXPECT_TRUE(std::equal(c.expected.begin(), c.expected.begin() + 5, tx.begin())) << c.name;
        EXPECT_EQ(tx[5], Untouched) << c.name;
    }
}

TEST(BuildTcpFrame, LongestRequestCarriesItsLengthInTheSixthByte)
{
    Bytes request(249);
    for (size_t i = 0; i < request.size(); ++i)
        request[i] = static_cast<quint8>(i);
    ModbusBuffer tx = bufferWithRequest(request);
    const OutgoingFrame frame = BuildTcpFrame(tx, 255, 1);
    ASSERT_EQ(frame.bytes.size(), 255);
    EXPECT_EQ(static_cast<quint8>(frame.bytes[4]), 0);
    EXPECT_EQ(static_cast<quint8>(frame.bytes[5]), 249);
    EXPECT_EQ(toBytes(frame.bytes.mid(6)), request);
    EXPECT_EQ(frame.hexText.size(), 255 * 3);
}

struct RtuCase {
    const char *name;
    quint8 length;
    Bytes request;
    quint8 crcLow;
    quint8 crcHigh;
};

TEST(BuildRtuFrame, RequestFollowedByCrcLowByteFirst)
{
    const RtuCase cases[] = {
        {"read one holding register", 12, {0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, 0x84, 0x0A},
        {"slot list request", 12, {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E}, 0x75, 0x97},
        {"unit identifier only", 7, {0x08}, 0xBE, 0x86},
    };
    for (const RtuCase &c : cases) {
        ModbusBuffer tx = bufferWithRequest(c.request);
        const ModbusBuffer before = tx;
        const OutgoingFrame frame = BuildRtuFrame(tx, c.length);
        Bytes expected = c.request;
        expected.push_back(c.crcLow);
        expected.push_back(c.crcHigh);
        EXPECT_EQ(toBytes(frame.bytes), expected) << c.name;
        EXPECT_EQ(tx[c.length], c.crcLow) << c.name;
        EXPECT_EQ(tx[c.length + 1], c.crcHigh) << c.name;
        // Nothing else in the buffer changes.
        for (int i = 0; i < static_cast<int>(tx.size()); ++i) {
            if (i != c.length && i != c.length + 1) {
                ASSERT_EQ(tx[i], before[i]) << c.name << " index " << i;
            }
        }
    }
}

TEST(BuildRtuFrame, RenderingHasOneBlankAfterEveryByte)
{
    ModbusBuffer tx = bufferWithRequest({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    EXPECT_EQ(BuildRtuFrame(tx, 12).hexText, QStringLiteral("01 03 00 00 00 01 84 0A "));
}

TEST(BuildRtuFrame, LongestRequestKeepsTheCrcInsideTheBuffer)
{
    Bytes request(249, 0x5A);
    ModbusBuffer tx = bufferWithRequest(request);
    const OutgoingFrame frame = BuildRtuFrame(tx, 255);
    const Bytes expected = WithCrc(request);
    EXPECT_EQ(toBytes(frame.bytes), expected);
    EXPECT_EQ(tx[255], expected[249]);
    EXPECT_EQ(tx[256], expected[250]);
    EXPECT_EQ(tx[257], Untouched);
}

TEST(BuildRtuFrame, WithoutUnitIdentifierNothingIsSentAndTheBufferStays)
{
    for (const quint8 length : {quint8(0), quint8(1), quint8(5), quint8(6)}) {
        ModbusBuffer tx = bufferWithRequest({0x08, 0x04});
        const ModbusBuffer before = tx;
        const OutgoingFrame frame = BuildRtuFrame(tx, length);
        EXPECT_TRUE(frame.bytes.isEmpty()) << int(length);
        EXPECT_TRUE(frame.hexText.isEmpty()) << int(length);
        EXPECT_EQ(tx, before) << int(length);
    }
}

TEST(ExceptionText, CodesOneToThreeHaveTexts)
{
    const struct {
        quint8 code;
        QString text;
    } cases[] = {
        {1, QStringLiteral(" Fehler Illegal Function")},
        {2, QStringLiteral(" Fehler Illegal Data Adress")},
        {3, QStringLiteral(" Fehler Illegal Data Value")},
        {0, QStringLiteral(" Fehler ")},
        {4, QStringLiteral(" Fehler ")},
        {0xFF, QStringLiteral(" Fehler ")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExceptionText(c.code), c.text) << int(c.code);
}

TEST(HexRenderings, EachDirectionHasItsSeparator)
{
    const struct {
        Bytes bytes;
        QString send;
        QString serial;
        QString tcp;
    } cases[] = {
        {{}, QString(), QString(), QString()},
        {{0x00}, QStringLiteral("00 "), QStringLiteral("00"), QStringLiteral("00  ")},
        {{0x0A, 0xBC, 0xFF}, QStringLiteral("0A BC FF "), QStringLiteral("0ABCFF"), QStringLiteral("0A  BC  FF  ")},
    };
    for (const auto &c : cases) {
        const int n = static_cast<int>(c.bytes.size());
        EXPECT_EQ(SendHexText(c.bytes.data(), n), c.send);
        EXPECT_EQ(SerialReceiveText(c.bytes.data(), n), c.serial);
        EXPECT_EQ(TcpReceiveText(c.bytes.data(), n), c.tcp);
    }
    EXPECT_TRUE(SerialReceiveText(nullptr, 4).isEmpty());
}

} // namespace
