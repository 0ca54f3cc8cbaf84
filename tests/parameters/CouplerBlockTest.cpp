// The coupler's network parameter block: address texts, the metric, and the
// 39 registers of the read and write requests and the read reply.
#include "parameters/CouplerBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

TEST(CouplerBlock, AddressTexts)
{
    struct Case {
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {
        {"192.168.1.300", "192.168.1.44"},
        {"10.1", "10.0.0.1"},
        {"1.2.3.4.5", "1.2.3.0"},
        {"abc", "0.0.0.0"},
        {"", "0.0.0.0"},
        {"192.168.0.10", "192.168.0.10"},
        {"256.257.-1.511", "0.1.255.255"},
        {"1..3.4", "1.0.3.4"},
        {" 7 . 8 .9. 10", "7.8.9.10"},
        {"x.2.3.4", "0.2.3.4"},
        {"0x10.$20.3.4", "16.32.3.4"},
        {"99999999999999999999.1.1.1", "0.1.1.1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AddressText(ParseAddress(QString::fromUtf8(c.typed))), QString::fromUtf8(c.shown)) << c.typed;
}

TEST(CouplerBlock, Metric)
{
    // Beyond one register a metric is refused, not wrapped into another one.
    EXPECT_EQ(ParseMetric(QStringLiteral("70000")), std::nullopt);
    EXPECT_EQ(ParseMetric(QStringLiteral("65536")), std::nullopt);
    EXPECT_EQ(ParseMetric(QStringLiteral("65535")), 0xFFFF);
    EXPECT_EQ(ParseMetric(QStringLiteral("0")), 0);
    EXPECT_EQ(ParseMetric(QStringLiteral("5")), 5);
    EXPECT_EQ(ParseMetric(QStringLiteral("-1")), std::nullopt);
    EXPECT_EQ(ParseMetric(QStringLiteral("0x10")), 16);
    EXPECT_EQ(ParseMetric(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(ParseMetric(QString()), std::nullopt);
}

TEST(CouplerBlock, RouteObjects)
{
    EXPECT_EQ(RouteOfObject(0x15502), 1);
    EXPECT_EQ(RouteOfObject(0x55502), 5);
    EXPECT_EQ(RouteOfObject(0x65502), 0);
    EXPECT_EQ(RouteOfObject(0x5500), 0);
    EXPECT_EQ(RouteOfObject(0x5502), 0);
}

CouplerParameterBlock SampleBlock()
{
    CouplerParameterBlock block;
    block.LocalIp = {192, 168, 0, 10};
    block.LocalMask = {255, 255, 255, 0};
    for (int r = 1; r <= 5; ++r) {
        CouplerRoute &route = block.Routes[size_t(r - 1)];
        route.Destination = {10, quint8(r), 0, 0};
        route.NetMask = {255, 255, 0, quint8(r)};
        route.Gateway = {192, 168, quint8(r), 1};
        route.Metric = quint16(0x0100 * r + r);
    }
    return block;
}

TEST(CouplerBlock, WriteRequestCarriesTheWholeBlock)
{
    ModbusBuffer tx{};
    EXPECT_EQ(BuildCouplerWriteRequest(tx, 8, SampleBlock()), 91);
    EXPECT_EQ(bytes(tx, 6, 7), (std::vector<int>{8, 0x10, 0x30, 0x00, 0x00, 39, 78}));
    // Local address and mask in 0x3000..0x3003.
    EXPECT_EQ(bytes(tx, 13, 8), (std::vector<int>{192, 168, 0, 10, 255, 255, 255, 0}));
    for (int r = 1; r <= 5; ++r) {
        SCOPED_TRACE(r);
        const int at = 13 + 2 * (4 + 7 * (r - 1)); // register 0x3004 + 7(r - 1)
        EXPECT_EQ(bytes(tx, at, 14), (std::vector<int>{10, r, 0, 0, 255, 255, 0, r, 192, 168, r, 1, r, r}));
    }
    // Route 5's metric is the last register, 0x3026.
    EXPECT_EQ(bytes(tx, 13 + 2 * 38, 2), (std::vector<int>{5, 5}));
    EXPECT_EQ(tx[91], 0);
}

TEST(CouplerBlock, ReadRequestAndReply)
{
    ModbusBuffer tx{};
    EXPECT_EQ(BuildCouplerReadRequest(tx, 0x11), 12);
    EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{0x11, 4, 0x30, 0x00, 0x00, 39}));

    // The write request's data are what a read reply carries.
    ModbusBuffer written{};
    BuildCouplerWriteRequest(written, 8, SampleBlock());
    ModbusBuffer rx{};
    rx[6] = 8;
    rx[7] = 4;
    rx[8] = 78;
    std::copy_n(written.begin() + 13, 78, rx.begin() + 9);
    const std::optional<CouplerParameterBlock> block = DecodeCouplerReply(rx, 9 + 78);
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, SampleBlock());
    EXPECT_EQ(AddressText(block->LocalIp), QStringLiteral("192.168.0.10"));

    EXPECT_FALSE(DecodeCouplerReply(rx, 9 + 77));
    rx[8] = 76;
    EXPECT_FALSE(DecodeCouplerReply(rx, 9 + 78));
}

} // namespace
