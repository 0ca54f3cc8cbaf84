#include "StationLayout.h"

#include <gtest/gtest.h>

using namespace sim;

TEST(StationLayout, ChannelsOfEachKnownModule)
{
    struct Row {
        uint16_t id;
        int ai16, ai32, ao, di, dout;
    };
    const Row rows[] = {
        {1, 0, 0, 0, 0, 8},  {7, 0, 0, 0, 0, 4},   {6, 0, 0, 0, 8, 0},      {2, 0, 0, 0, 4, 0},   {9, 0, 0, 0, 4, 0},
        {3, 4, 0, 0, 0, 0},  {4, 4, 0, 0, 0, 0},   {8, 4, 0, 0, 0, 0},      {11, 4, 0, 0, 0, 0},  {68, 4, 0, 0, 0, 0},
        {75, 4, 0, 0, 0, 0}, {132, 4, 0, 0, 0, 0}, {139, 4, 0, 0, 0, 0},    {14, 2, 0, 0, 0, 0},  {15, 2, 0, 0, 0, 0},
        {10, 0, 2, 0, 0, 0}, {5, 0, 0, 4, 0, 0},   {69, 0, 0, 4, 0, 0},     {133, 0, 0, 4, 0, 0}, {0, 0, 0, 0, 0, 0},
        {12, 0, 0, 0, 0, 0}, {245, 0, 0, 0, 0, 0}, {0x0104, 0, 0, 0, 0, 0},
    };
    for (const Row &r : rows) {
        const ModuleChannels c = channelsOf(r.id);
        SCOPED_TRACE("module " + std::to_string(r.id));
        EXPECT_EQ(c.anaIn16, r.ai16);
        EXPECT_EQ(c.anaIn32, r.ai32);
        EXPECT_EQ(c.anaOut, r.ao);
        EXPECT_EQ(c.digIn, r.di);
        EXPECT_EQ(c.digOut, r.dout);
    }
}

TEST(StationLayout, CountsAndDerivedTablesOfStations)
{
    struct Row {
        SlotIds slots;
        uint16_t ai16, ai32, ao, di, dout, temp, doModules, diModules;
        int inputRegs, outputRegs;
    };
    const Row rows[] = {
        // The demo station: 6 + 2x2 + 1 input registers, 4 + 1 output registers.
        {demoSlots(), 6, 2, 4, 12, 12, 2, 2, 2, 11, 5},     {{}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {{8, 10, 14}, 6, 2, 0, 0, 0, 6, 0, 0, 10, 0},       {{1, 1, 7, 6, 6, 6}, 0, 0, 0, 24, 20, 0, 3, 3, 2, 2},
        {{15, 15, 8, 5, 69}, 8, 0, 8, 0, 0, 6, 0, 0, 8, 8}, {{9, 9, 9, 9, 2}, 0, 0, 0, 20, 0, 0, 0, 5, 2, 0},
    };
    for (const Row &r : rows) {
        const StationLayout l = deriveLayout(r.slots);
        SCOPED_TRACE("slot 1 holds " + std::to_string(r.slots[0]));
        EXPECT_EQ(l.anaInCount, r.ai16);
        EXPECT_EQ(l.anaIn32Count, r.ai32);
        EXPECT_EQ(l.anaOutCount, r.ao);
        EXPECT_EQ(l.digInCount, r.di);
        EXPECT_EQ(l.digOutCount, r.dout);
        EXPECT_EQ(l.tempChannelCount, r.temp);
        EXPECT_EQ(l.digOutModuleCount, r.doModules);
        EXPECT_EQ(l.digInModuleCount, r.diModules);
        EXPECT_EQ(l.inputRegisters(), r.inputRegs);
        EXPECT_EQ(l.outputRegisters(), r.outputRegs);
    }
}

TEST(StationLayout, AnalogChannelFormatsFollowSlotOrder)
{
    // The same order the tool's format table has: 4, 10 and 14 give
    // 16, 16, 16, 16, 32, 32, 16, 16.
    const StationLayout l = deriveLayout({4, 10, 14});
    EXPECT_EQ(l.anaInIs32, (std::vector<bool>{false, false, false, false, true, true, false, false}));
}
