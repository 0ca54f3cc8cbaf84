#include "RegisterMap.h"

#include <gtest/gtest.h>

using namespace sim;

namespace
{

// The demo station: 8 analog input channels (2 of them 32-bit, 2 compensated),
// 4 analog outputs, 2 digital output and 2 digital input modules.
Station demo()
{
    return Station(deriveLayout(demoSlots()), Identity{});
}

} // namespace

TEST(RegisterMap, WhichRequestsTheMapTakes)
{
    struct Row {
        Link link;
        bool write;
        uint16_t address;
        uint16_t quantity;
        uint8_t expected;
    };
    const Row rows[] = {
        {Link::Tcp, false, 0x0100, 11, NoException},
        {Link::Tcp, false, 0x0100, 12, IllegalDataAddress},
        {Link::Tcp, false, 0x00FF, 1, IllegalDataAddress},
        {Link::Tcp, false, 0x0900, 5, NoException},
        {Link::Tcp, false, 0x1000, 14, NoException},
        {Link::Tcp, false, 0x1000, 15, IllegalDataAddress},
        {Link::Tcp, false, 0x100D, 1, NoException},
        {Link::Tcp, false, 0x1500, 2, NoException},
        {Link::Tcp, false, 0x1501, 2, IllegalDataAddress},
        {Link::Tcp, false, 0x1510, 8, NoException},
        {Link::Tcp, false, 0x1510, 9, IllegalDataAddress},
        {Link::Tcp, false, 0x1530, 2, NoException},
        {Link::Tcp, false, 0x1530, 3, IllegalDataAddress},
        {Link::Tcp, false, 0x1550, 4, NoException},
        {Link::Tcp, false, 0x1570, 2, NoException},
        {Link::Tcp, false, 0x1572, 1, IllegalDataAddress},
        {Link::Tcp, false, 0x2000, 48, NoException}, // six registers a channel
        {Link::Tcp, false, 0x2030, 1, IllegalDataAddress},
        {Link::Tcp, false, 0x2200, 16, NoException}, // eight a 32-bit channel
        {Link::Tcp, false, 0x2207, 7, NoException},
        {Link::Tcp, false, 0x2400, 4, NoException},
        {Link::Tcp, false, 0x2604, 4, NoException},
        {Link::Tcp, false, 0x2608, 1, IllegalDataAddress},
        {Link::Tcp, false, 0x2801, 1, NoException},
        {Link::Tcp, false, 0x2802, 1, IllegalDataAddress},
        {Link::Tcp, false, 0x3000, 39, NoException},
        {Link::Tcp, false, 0x3000, 40, IllegalDataAddress},
        {Link::Rtu, false, 0x3000, 1, NoException},
        {Link::Rtu, false, 0x3000, 39, IllegalDataAddress},
        {Link::Tcp, false, 0x3027, 1, NoException},
        {Link::Tcp, false, 0x4000, 1, IllegalDataAddress},
        {Link::Tcp, true, 0x0100, 1, IllegalDataAddress}, // inputs are read-only
        {Link::Tcp, true, 0x0900, 5, NoException},
        {Link::Tcp, true, 0x0900, 6, IllegalDataAddress},
        {Link::Tcp, true, 0x1000, 1, IllegalDataAddress},
        {Link::Tcp, true, 0x1510, 1, IllegalDataAddress},
        {Link::Tcp, true, 0x1570, 1, IllegalDataAddress},
        {Link::Tcp, true, 0x2000, 48, NoException},
        {Link::Tcp, true, 0x2600, 2, NoException},
        {Link::Tcp, true, 0x3000, 39, NoException},
        {Link::Rtu, true, 0x3000, 1, NoException},
        {Link::Rtu, true, 0x3001, 1, IllegalDataAddress},
    };
    Station s = demo();
    for (const Row &r : rows) {
        RegisterMap map(s, r.link, 0);
        SCOPED_TRACE((r.write ? "write " : "read ") + std::to_string(r.address) + " x" + std::to_string(r.quantity) +
                     (r.link == Link::Tcp ? " tcp" : " rtu"));
        const std::vector<uint16_t> values(r.quantity, 0x1234);
        EXPECT_EQ(r.write ? map.checkWrite(r.address, values) : map.checkRead(r.address, r.quantity), r.expected);
    }
}

TEST(RegisterMap, CommandRegistersTakeOnlyTheirCommand)
{
    struct Row {
        uint16_t address;
        std::vector<uint16_t> values;
        uint8_t expected;
    };
    const Row rows[] = {
        {0x1500, {0xFFFF}, NoException},
        {0x1500, {0x0000}, IllegalDataValue},
        {0x1500, {0x8005}, IllegalDataValue},
        {0x1500, {0xFFFF, 0x1234}, NoException},
        {0x1500, {0x0001, 0x1234}, IllegalDataValue},
        {0x1501, {0x0000}, NoException},
        {0x3027, {0xFFFF}, NoException},
        {0x3027, {0x0001}, IllegalDataValue},
    };
    Station s = demo();
    RegisterMap map(s, Link::Tcp, 0);
    for (const Row &r : rows)
        EXPECT_EQ(map.checkWrite(r.address, r.values), r.expected) << r.address;
}

TEST(RegisterMap, SlotListCarriesCountsThenModuleIds)
{
    Station s(deriveLayout({8, 10, 14, 0, 0x0105, 1}), Identity{});
    RegisterMap map(s, Link::Tcp, 0);
    EXPECT_EQ(map.read(0x1000, 14), (std::vector<uint16_t>{6, 2, 0, 0, 8, 8, 10, 14, 0, 0x0105, 1, 0, 0, 0}));
    EXPECT_EQ(map.read(0x1003, 3), (std::vector<uint16_t>{0, 8, 8}));
}

TEST(RegisterMap, ErrorWordResetAndAlarmMask)
{
    Station s = demo();
    s.errorWord = 0x8005;
    s.anaInStatus[0] = 3;
    s.compStatus[1] = 1;
    RegisterMap map(s, Link::Tcp, 0);
    EXPECT_EQ(map.read(0x1500, 2), (std::vector<uint16_t>{0x8005, 0}));
    const uint16_t mask[] = {0x8041};
    map.write(0x1501, mask);
    const uint16_t reset[] = {0xFFFF};
    map.write(0x1500, reset);
    EXPECT_EQ(map.read(0x1500, 2), (std::vector<uint16_t>{0, 0x8041}));
    EXPECT_EQ(map.read(0x1510, 1), (std::vector<uint16_t>{0}));
    EXPECT_EQ(map.read(0x1530, 2), (std::vector<uint16_t>{0, 0}));
}

TEST(RegisterMap, CommunicationBlockPerLinkAndItsReset)
{
    Station s = demo();
    RegisterMap tcp(s, Link::Tcp, 0);
    RegisterMap rtu(s, Link::Rtu, 0);
    EXPECT_EQ(tcp.read(0x3000, 4), (std::vector<uint16_t>{0xC0A8, 0x000A, 0xFFFF, 0xFF00}));
    EXPECT_EQ(rtu.read(0x3000, 1), (std::vector<uint16_t>{DefaultSerialTime}));

    std::vector<uint16_t> block(39, 0);
    block[0] = 0x0A00;
    block[6] = 0x0105; // route 1 metric
    tcp.write(0x3000, block);
    const uint16_t time[] = {0x1000};
    rtu.write(0x3000, time);
    EXPECT_EQ(tcp.read(0x3000, 39), block);
    EXPECT_EQ(rtu.read(0x3000, 1), (std::vector<uint16_t>{0x1000}));

    const uint16_t reset[] = {0xFFFF};
    tcp.write(0x3027, reset);
    EXPECT_EQ(tcp.read(0x3000, 39), defaultNetworkBlock());
    EXPECT_EQ(rtu.read(0x3000, 1), (std::vector<uint16_t>{0x1000})) << "only the link's own settings";
    rtu.write(0x3027, reset);
    EXPECT_EQ(rtu.read(0x3000, 1), (std::vector<uint16_t>{DefaultSerialTime}));
}

TEST(RegisterMap, ParametersReadBackWhatWasWritten)
{
    Station s = demo();
    RegisterMap map(s, Link::Tcp, 0);
    const std::vector<uint16_t> values = {0x8028, 51, 0xFFF6};
    for (uint16_t start : {0x2000, 0x2200, 0x2400, 0x2600}) {
        map.write(start + 1, values);
        EXPECT_EQ(map.read(start + 1, 3), values) << start;
    }
    const uint16_t one[] = {0x00FF};
    map.write(0x2801, one);
    EXPECT_EQ(map.read(0x2800, 2), (std::vector<uint16_t>{0, 0x00FF}));
}

// The blocks the additional I/O editor and the coupler editor address, each
// written and read back whole: digital outputs 4 registers a module, digital
// inputs one, analog inputs 6 a channel (the strain gauge's first block 3),
// the strain gauge's second block 7 a channel, analog outputs one a channel,
// and the 39-register network block.
TEST(RegisterMap, EditorBlocksKeepWhatIsWritten)
{
    // DO, DI, AI 4ch, thermocouple, two strain gauges, AO, DO, DI.
    Station s(deriveLayout({1, 2, 4, 14, 10, 10, 5, 1, 2}), Identity{});
    RegisterMap map(s, Link::Tcp, 0);
    struct Block {
        uint16_t start;
        uint16_t quantity;
    };
    const Block blocks[] = {
        {0x2600, 4}, {0x2604, 4}, {0x2800, 1}, {0x2801, 1}, {0x2012, 4}, {0x201E, 6},  {0x2024, 6},
        {0x2036, 3}, {0x2200, 7}, {0x220E, 7}, {0x2215, 7}, {0x2403, 1}, {0x3000, 39},
    };
    for (const Block &b : blocks) {
        SCOPED_TRACE(b.start);
        std::vector<uint16_t> values(b.quantity);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<uint16_t>(b.start + 0x1111 * (i + 1));
        ASSERT_EQ(map.checkWrite(b.start, values), NoException);
        map.write(b.start, values);
        ASSERT_EQ(map.checkRead(b.start, b.quantity), NoException);
        EXPECT_EQ(map.read(b.start, b.quantity), values);
    }
    // Beyond the station's blocks: refused.
    EXPECT_EQ(map.checkRead(0x2802, 1), IllegalDataAddress);
    EXPECT_EQ(map.checkRead(0x2608, 4), IllegalDataAddress);
    EXPECT_EQ(map.checkRead(0x2404, 1), IllegalDataAddress);
}
