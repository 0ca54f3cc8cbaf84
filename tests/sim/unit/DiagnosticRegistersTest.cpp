// The coupler's error word, status blocks and alarm mask as the error window
// reads, resets and writes them, for stations of different layouts.
#include "Commands.h"
#include "RegisterMap.h"
#include "RequestHandler.h"

#include <gtest/gtest.h>

using namespace sim;

namespace
{

struct Layout {
    const char *name;
    SlotIds slots;
    // Registers of 0x1510, 0x1530, 0x1550, 0x1570.
    uint16_t anaIn, comp, anaOut, digOut;
};

const Layout Layouts[] = {
    {"only digital output modules", {1, 0, 7}, 0, 0, 0, 2},
    {"nothing counted", {2, 6, 9}, 0, 0, 0, 0},
    {"every kind", {1, 7, 4, 10, 8, 14, 15, 5, 2}, 14, 7, 4, 2},
    // Nine analog input modules: more channels than the block between
    // 0x1510 and 0x1530 has room for.
    {"36 analog inputs", {4, 4, 4, 4, 4, 4, 4, 4, 4}, 32, 0, 0, 0},
};

Outcome request(Station &s, std::vector<uint8_t> pdu)
{
    return handleRequest(s, Link::Tcp, pdu, 0, Faults{});
}

Outcome readInputs(Station &s, uint16_t address, uint16_t quantity)
{
    return request(s, {4, uint8_t(address >> 8), uint8_t(address), uint8_t(quantity >> 8), uint8_t(quantity)});
}

} // namespace

TEST(DiagnosticRegisters, StatusBlocksHoldTheirCountAndNoMore)
{
    for (const Layout &l : Layouts) {
        SCOPED_TRACE(l.name);
        Station s(deriveLayout(l.slots), Identity{});
        const std::pair<uint16_t, uint16_t> blocks[] = {
            {0x1510, l.anaIn}, {0x1530, l.comp}, {0x1550, l.anaOut}, {0x1570, l.digOut}};
        for (auto [start, count] : blocks) {
            SCOPED_TRACE(start);
            if (count > 0) {
                const Outcome whole = readInputs(s, start, count);
                EXPECT_EQ(whole.kind, Outcome::Kind::Standard);
                EXPECT_EQ(whole.readValues.size(), count);
            }
            const Outcome past = readInputs(s, start, uint16_t(count + 1));
            EXPECT_EQ(past.kind, Outcome::Kind::Exception);
            EXPECT_EQ(past.exception, IllegalDataAddress);
        }
        EXPECT_EQ(readInputs(s, 0x1500, 1).kind, Outcome::Kind::Standard);
        EXPECT_EQ(readInputs(s, 0x1501, 1).kind, Outcome::Kind::Standard);
    }
}

TEST(DiagnosticRegisters, ResetClearsEveryErrorButNotTheMask)
{
    Station s(deriveLayout({1, 7, 4, 10, 8, 14, 15, 5, 2}), Identity{});
    Faults faults;
    CommandInterpreter commands(s, faults);
    for (const char *line :
         {"error 0x8005", "status ai all 3", "status comp 7 1", "status ao 4 9", "status do 2 0x31", "mask 0x8041"})
        ASSERT_EQ(commands.execute(line, 0), "ok\n") << line;
    EXPECT_EQ(readInputs(s, 0x1500, 2).readValues, (std::vector<uint16_t>{0x8005, 0x8041}));
    EXPECT_EQ(readInputs(s, 0x1510, 14).readValues, std::vector<uint16_t>(14, 3));
    EXPECT_EQ(readInputs(s, 0x1530, 7).readValues[6], 1);
    EXPECT_EQ(readInputs(s, 0x1550, 4).readValues[3], 9);
    EXPECT_EQ(readInputs(s, 0x1570, 2).readValues, (std::vector<uint16_t>{0, 0x31}));

    const Outcome reset = request(s, {6, 0x15, 0x00, 0xFF, 0xFF});
    EXPECT_EQ(reset.kind, Outcome::Kind::Standard);
    EXPECT_EQ(readInputs(s, 0x1500, 2).readValues, (std::vector<uint16_t>{0, 0x8041}));
    for (auto [start, count] : {std::pair<uint16_t, uint16_t>{0x1510, 14}, {0x1530, 7}, {0x1550, 4}, {0x1570, 2}})
        EXPECT_EQ(readInputs(s, start, count).readValues, std::vector<uint16_t>(count, 0)) << start;

    // The mask written by function 6 reads back.
    EXPECT_EQ(request(s, {6, 0x15, 0x01, 0x80, 0x40}).kind, Outcome::Kind::Standard);
    EXPECT_EQ(readInputs(s, 0x1501, 1).readValues, (std::vector<uint16_t>{0x8040}));
    EXPECT_EQ(s.alarmMask, 0x8040);
}

TEST(DiagnosticRegisters, MaskAndStatusCommands)
{
    Station s(deriveLayout(demoSlots()), Identity{});
    Faults faults;
    CommandInterpreter commands(s, faults);
    EXPECT_EQ(commands.execute("mask 0xFFFF", 0), "ok\n");
    EXPECT_EQ(s.alarmMask, 0xFFFF);
    EXPECT_EQ(commands.execute("status do all 4", 0), "ok\n");
    EXPECT_EQ(s.digOutStatus, (std::vector<uint16_t>{4, 4}));
    EXPECT_NE(commands.execute("show", 0).find("alarm mask FFFF"), std::string::npos);
    EXPECT_NE(commands.execute("help", 0).find("mask WORD"), std::string::npos);
    for (const char *line : {"mask 0x10000", "mask", "mask -1", "status do all", "status do all 0x10000",
                             "status xx all 1", "status do 3 1"}) {
        const std::string answer = commands.execute(line, 0);
        EXPECT_EQ(answer.rfind("error: ", 0), 0u) << line << " -> " << answer;
    }
    EXPECT_EQ(s.alarmMask, 0xFFFF);
    EXPECT_EQ(s.digOutStatus, (std::vector<uint16_t>{4, 4}));
}
