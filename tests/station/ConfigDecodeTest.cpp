#include "station/StationConfigDecode.h"

#include <gtest/gtest.h>

namespace
{

using Frame = std::array<quint8, FrameBufferSize>;

// An identity reply as the coupler sends it on TCP: objects 0, 1, 2 with id and length.
Frame identityReply(const QByteArray &vendor, const QByteArray &product, const QByteArray &version, int &count)
{
    Frame rx{};
    // unit, function, MEI type, read code, conformity, more follows, next object,
    // count and one more byte: the manufacturer's length is at index 16.
    const QByteArray pdu = QByteArray::fromHex("082B0E010100000300");
    QByteArray objects;
    objects += char(0) + QByteArray(1, char(vendor.size())) + vendor;
    objects += char(1) + QByteArray(1, char(product.size())) + product;
    objects += char(2) + QByteArray(1, char(version.size())) + version;
    const QByteArray all = QByteArray(6, 0) + pdu + objects;
    count = static_cast<int>(all.size());
    std::copy(all.begin(), all.end(), rx.begin());
    return rx;
}

TEST(IdentityDecode, ThreeTextsByTheirLengths)
{
    int count = 0;
    const Frame rx = identityReply("ACME", "VO3112", "1.0", count);
    const DeviceIdentity id = DecodeIdentity(rx, count);
    EXPECT_EQ(id.Manufacturer, QStringLiteral("ACME"));
    EXPECT_EQ(id.Product, QStringLiteral("VO3112"));
    // The version takes its length + 1 characters; the last is cut at the end of the reply.
    EXPECT_EQ(id.Version, QStringLiteral("1.0"));
}

TEST(IdentityDecode, EmptyProductAndLyingLengthsStayInsideTheReply)
{
    int count = 0;
    Frame rx = identityReply("ACME", "", "2", count);
    EXPECT_EQ(DecodeIdentity(rx, count).Product, QString());
    EXPECT_EQ(DecodeIdentity(rx, count).Version, QStringLiteral("2"));
    // A manufacturer length of 255 in a short reply: no read beyond the reply.
    rx[16] = 255;
    const DeviceIdentity id = DecodeIdentity(rx, count);
    EXPECT_EQ(id.Manufacturer.size(), count - 17);
    EXPECT_TRUE(id.Product.isEmpty());
    // Lengths pointing past the buffer itself.
    Frame full{};
    full.fill(0xFF);
    const DeviceIdentity big = DecodeIdentity(full, FrameBufferSize);
    EXPECT_EQ(big.Manufacturer.size(), FrameBufferSize - 17);
    EXPECT_TRUE(big.Version.isEmpty());
    EXPECT_TRUE(DecodeIdentity(full, 0).Manufacturer.isEmpty());
}

Frame slotListReply(std::array<quint16, 14> registers, int &count)
{
    Frame rx{};
    rx[6] = 8;
    rx[7] = 4;
    rx[8] = 28;
    for (int i = 0; i < 14; ++i) {
        rx[9 + 2 * i] = static_cast<quint8>(registers[i] >> 8);
        rx[10 + 2 * i] = static_cast<quint8>(registers[i]);
    }
    count = 37;
    return rx;
}

TEST(SlotListDecode, CountsSlotsAndDerivedTables)
{
    struct Case {
        const char *name;
        std::array<quint16, 9> ids;
        std::array<quint8, MaxAnalogChannels> format;
        quint16 temp;
        quint16 digOutModules;
    };
    const Case cases[] = {
        {"output_first", {5, 0, 1, 0, 0, 0, 0, 0, 0}, {}, 0, 1},
        {"temp_strain_thermo", {8, 10, 14, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 0, 0, 1, 1}, 6, 0},
        {"variants", {68, 75, 132, 139, 15, 7, 1, 7, 0}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 1, 3},
        {"more_than_16_channels",
         {3, 4, 11, 8, 14, 0, 0, 0, 0},
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
         6,
         0},
        {"strain_gauges_only", {10, 10, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0}, 0, 0},
    };
    for (const Case &c : cases) {
        std::array<quint16, 14> regs{6, 2, 4, 12, 12};
        std::copy(c.ids.begin(), c.ids.end(), regs.begin() + 5);
        int count = 0;
        const Frame rx = slotListReply(regs, count);
        StationConfiguration config;
        for (int round = 0; round < 2; ++round) { // reading the same station twice
            DecodeSlotList(rx, count, config);
            DeriveAnalogTables(config);
        }
        EXPECT_EQ(config.AnaInCount, 6) << c.name;
        EXPECT_EQ(config.DigOutCount, 12) << c.name;
        for (int s = 0; s < 9; ++s)
            EXPECT_EQ(config.SlotModuleIds[s + 1], c.ids[s]) << c.name;
        EXPECT_EQ(config.AnaInFormat, c.format) << c.name;
        EXPECT_EQ(config.TempChannelCount, c.temp) << c.name;
        EXPECT_EQ(CountDigitalOutputModules(config), c.digOutModules) << c.name;
    }
}

TEST(SlotListDecode, ShortReplyLeavesMissingRegistersZero)
{
    std::array<quint16, 14> regs{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    int count = 0;
    Frame rx = slotListReply(regs, count);
    StationConfiguration config;
    DecodeSlotList(rx, 9 + 6, config);
    EXPECT_EQ(config.AnaInCount, 1);
    EXPECT_EQ(config.AnaOutCount, 3);
    EXPECT_EQ(config.DigInCount, 0);
    EXPECT_EQ(config.SlotModuleIds[9], 0);
}

TEST(ConfigLog, DataLinesSixteenBytesEach)
{
    Frame rx{};
    for (int i = 0; i < 40; ++i)
        rx[i] = static_cast<quint8>(i);
    const QStringList lines = ReplyDataLines(rx, 37);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("  Data :   00  01  02  03  04  05  06  07  08  09  0A  0B  0C  0D  0E  0F"));
    EXPECT_EQ(lines[2], QStringLiteral("  Data :   20  21  22  23  24"));
    EXPECT_EQ(ReplyDataLines(rx, 32).size(), 2); // no empty last line
    rx[6] = 8;
    rx[7] = 0x84;
    EXPECT_EQ(ReplyHeaderText(rx), QStringLiteral("ADR: 08  Code: 84"));
}

TEST(DataSheet, FileNameRuleForBothBrands)
{
    struct Case {
        quint8 brand;
        const char *folder;
        const char *shortName;
        const char *path;
    };
    const Case cases[] = {
        {1, "/opt/vo/", "QA3125", "/opt/vo/Pdf/VALKO/QA3125FB.pdf"},
        {1, "/opt/vo", "QA3131 extra", "/opt/vo/Pdf/VALKO/QA3131FB.pdf"},
        {0, "/opt/vo/", "NX 651", "/opt/vo/Pdf/NUV/NX 651FB.pdf"},
        {0, "/opt/vo/", "NX 624-1", "/opt/vo/Pdf/NUV/NX 624-1FB.pdf"},
        {0, "/opt/vo/", "NX 624-2 x", "/opt/vo/Pdf/NUV/NX 624-2FB.pdf"},
        {0, "/opt/vo/", "NX 625-1", "/opt/vo/Pdf/NUV/NX 625FB.pdf"},
        {1, "/opt/vo/", "NX 624-1", "/opt/vo/Pdf/VALKO/NX 624FB.pdf"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DataSheetPath(QString::fromLatin1(c.folder), c.brand, QString::fromLatin1(c.shortName)),
                  QString::fromLatin1(c.path))
            << c.shortName;
    EXPECT_EQ(GridShortName(QString()), QStringLiteral("----"));
    EXPECT_EQ(GridShortName(QStringLiteral("NX 624-1")), QStringLiteral("NX 624"));
}

} // namespace
