#include "RequestHandler.h"

#include <gtest/gtest.h>

using namespace sim;
using Kind = Outcome::Kind;

namespace
{

Station demo()
{
    return Station(deriveLayout(demoSlots()), Identity{});
}

std::vector<uint8_t> fc23(uint16_t readAddress, uint16_t readQuantity, uint16_t writeAddress,
                          const std::vector<uint16_t> &values)
{
    std::vector<uint8_t> pdu = {23,
                                uint8_t(readAddress >> 8),
                                uint8_t(readAddress),
                                uint8_t(readQuantity >> 8),
                                uint8_t(readQuantity),
                                uint8_t(writeAddress >> 8),
                                uint8_t(writeAddress),
                                uint8_t(values.size() >> 8),
                                uint8_t(values.size()),
                                uint8_t(2 * values.size())};
    for (uint16_t v : values) {
        pdu.push_back(uint8_t(v >> 8));
        pdu.push_back(uint8_t(v));
    }
    return pdu;
}

} // namespace

TEST(RequestHandler, OutcomeOfEachRequest)
{
    struct Row {
        const char *what;
        std::vector<uint8_t> pdu;
        Kind kind;
        uint8_t exception;
    };
    const Row rows[] = {
        {"slot list", {4, 0x10, 0x00, 0x00, 0x0E}, Kind::Standard, 0},
        {"slot list with 3", {3, 0x10, 0x00, 0x00, 0x0E}, Kind::Standard, 0},
        {"quantity 0", {4, 0x10, 0x00, 0x00, 0x00}, Kind::Exception, 3},
        {"quantity 126", {4, 0x01, 0x00, 0x00, 0x7E}, Kind::Exception, 3},
        {"past the slot list", {4, 0x10, 0x00, 0x00, 0x0F}, Kind::Exception, 2},
        {"cut short", {4, 0x10, 0x00}, Kind::Exception, 3},
        {"error reset", {6, 0x15, 0x00, 0xFF, 0xFF}, Kind::Standard, 0},
        {"error word other value", {6, 0x15, 0x00, 0x00, 0x01}, Kind::Exception, 3},
        {"write read-only", {6, 0x10, 0x00, 0x00, 0x01}, Kind::Exception, 2},
        {"write two outputs", {16, 0x09, 0x00, 0x00, 0x02, 0x04, 1, 2, 3, 4}, Kind::Standard, 0},
        {"byte count off", {16, 0x09, 0x00, 0x00, 0x02, 0x03, 1, 2, 3, 4}, Kind::Exception, 3},
        {"data missing", {16, 0x09, 0x00, 0x00, 0x02, 0x04, 1, 2}, Kind::Exception, 3},
        {"write quantity 0", {16, 0x09, 0x00, 0x00, 0x00, 0x00}, Kind::Exception, 3},
        {"process data", fc23(0x0100, 11, 0x0900, {0, 0, 0, 0, 0}), Kind::Standard, 0},
        {"process data reads too far", fc23(0x0100, 12, 0x0900, {0}), Kind::Exception, 2},
        {"process data writes inputs", fc23(0x0100, 11, 0x0100, {0}), Kind::Exception, 2},
        {"process data, no outputs", fc23(0x0100, 11, 0x0900, {}), Kind::Own, 0},
        {"restart", {42}, Kind::Restart, 0},
        {"identity", {43, 0x0E, 0x01, 0x00}, Kind::Own, 0},
        {"identity, one object", {43, 0x0E, 0x04, 0x01}, Kind::Own, 0},
        {"identity, no such object", {43, 0x0E, 0x04, 0x03}, Kind::Exception, 2},
        {"identity, bad code", {43, 0x0E, 0x05, 0x00}, Kind::Exception, 3},
        {"other MEI type", {43, 0x0D, 0x01, 0x00}, Kind::Exception, 1},
        {"read coils", {1, 0x00, 0x00, 0x00, 0x01}, Kind::Exception, 1},
        {"write coil", {5, 0x00, 0x00, 0xFF, 0x00}, Kind::Exception, 1},
        {"diagnostics", {8, 0x00, 0x00, 0x00, 0x00}, Kind::Exception, 1},
    };
    for (const Row &r : rows) {
        Station s = demo();
        const Outcome o = handleRequest(s, Link::Tcp, r.pdu, 0, Faults{});
        EXPECT_EQ(o.kind, r.kind) << r.what;
        EXPECT_EQ(o.exception, r.exception) << r.what;
    }
}

TEST(RequestHandler, ProcessDataFeedsOutputsBackInTheSameReply)
{
    Station s = demo();
    // Four analog outputs, then the digital register: bytes 0xA5 and 0x3C.
    const Outcome o = handleRequest(s, Link::Tcp, fc23(0x0100, 11, 0x0900, {1, 2, 3, 4, 0xA53C}), 0, {});
    ASSERT_EQ(o.kind, Kind::Standard);
    EXPECT_EQ(o.readAddress, 0x0100);
    ASSERT_EQ(o.readValues.size(), 11u);
    EXPECT_EQ(o.readValues[10], 0xA50C) << "12 channels: the upper half of byte 1 has none";
    EXPECT_EQ(s.outputs(), (std::vector<uint16_t>{1, 2, 3, 4, 0xA53C}));
}

TEST(RequestHandler, ZeroQuantitiesOfProcessDataAreAnswered)
{
    // A station of inputs only gets write quantity 0 from the tool, one of
    // outputs only read quantity 0; both still get a reply.
    Station inputsOnly(deriveLayout({6}), Identity{});
    inputsOnly.forceDigitalInput(0, true);
    Outcome o = handleRequest(inputsOnly, Link::Tcp, fc23(0x0100, 1, 0x0900, {}), 0, {});
    ASSERT_EQ(o.kind, Kind::Own);
    EXPECT_EQ(o.pdu, (std::vector<uint8_t>{23, 2, 0x01, 0x00}));

    Station outputsOnly(deriveLayout({1}), Identity{});
    o = handleRequest(outputsOnly, Link::Tcp, fc23(0x0100, 0, 0x0900, {0x5500}), 0, {});
    ASSERT_EQ(o.kind, Kind::Own);
    EXPECT_EQ(o.pdu, (std::vector<uint8_t>{23, 0}));
    EXPECT_EQ(outputsOnly.outputs(), (std::vector<uint16_t>{0x5500}));
}

TEST(RequestHandler, InjectedExceptionLeavesTheStationAlone)
{
    Station s = demo();
    Faults faults;
    faults.exceptions[6] = 4;
    const Outcome o = handleRequest(s, Link::Tcp, std::vector<uint8_t>{6, 0x15, 0x01, 0x12, 0x34}, 0, faults);
    EXPECT_EQ(o.kind, Kind::Exception);
    EXPECT_EQ(o.exception, 4);
    EXPECT_EQ(s.alarmMask, 0);
    EXPECT_EQ(handleRequest(s, Link::Tcp, std::vector<uint8_t>{4, 0x15, 0x01, 0x00, 0x01}, 0, faults).kind,
              Kind::Standard);
}

TEST(RequestHandler, IdentityReadsBackAsTheConfigurationWindowReadsIt)
{
    const Identity identities[] = {
        {"VO Simulation", "VO3112", "1.00"},
        {"", "VO3112", "2"},
        {"ACME Automation", "", "V2.10.3"},
    };
    for (const Identity &id : identities) {
        Station s(deriveLayout({}), id);
        const Outcome o = handleRequest(s, Link::Tcp, std::vector<uint8_t>{43, 0x0E, 0x01, 0x00}, 0, {});
        ASSERT_EQ(o.kind, Kind::Own);
        // As it lands in the tool's receive buffer: unit identifier at 6,
        // function code at 7.
        std::vector<uint8_t> f(7, 0);
        f[6] = 8;
        f.insert(f.end(), o.pdu.begin(), o.pdu.end());
        auto text = [&f](size_t from, size_t n) { return std::string(f.begin() + from, f.begin() + from + n); };
        const size_t l1 = f[16];
        ASSERT_LT(18 + l1, f.size());
        const size_t l2 = f[18 + l1];
        ASSERT_LT(20 + l1 + l2, f.size());
        const size_t l3 = f[20 + l1 + l2];
        ASSERT_EQ(f.size(), 21 + l1 + l2 + l3 + 1) << "the version ends the reply";
        EXPECT_EQ(text(17, l1), id.manufacturer);
        EXPECT_EQ(text(19 + l1, l2), id.product);
        EXPECT_EQ(text(21 + l1 + l2, l3 + 1), id.version);
        EXPECT_EQ(f[8], 0x0E);
        EXPECT_EQ(f[13], 3) << "three objects";
    }
}
