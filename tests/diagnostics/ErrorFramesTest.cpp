// Requests and replies of the error registers, without any window.
#include "diagnostics/ErrorFrames.h"
#include "link/RegisterRequests.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &tx, int length)
{
    return std::vector<int>(tx.begin() + ModbusHeaderSize, tx.begin() + length);
}

StationConfiguration counts(int anaIn, int anaIn32, int temp, int anaOut, int digOutModules, int digOut = 0)
{
    StationConfiguration c;
    c.AnaInCount = static_cast<quint16>(anaIn);
    c.AnaIn32Count = static_cast<quint16>(anaIn32);
    c.TempChannelCount = static_cast<quint16>(temp);
    c.AnaOutCount = static_cast<quint16>(anaOut);
    c.DigOutModuleCount = static_cast<quint16>(digOutModules);
    c.DigOutCount = static_cast<quint16>(digOut);
    return c;
}

// Every request of a sequence from step 1, as the window walks it.
std::vector<StatusRead> walk(const StationConfiguration &c)
{
    std::vector<StatusRead> reads;
    for (auto read = NextStatusRead(1, c); read; read = NextStatusRead(read->step + 1, c))
        reads.push_back(*read);
    return reads;
}

TEST(StatusReads, StepsWithoutRegistersAreSkipped)
{
    struct Case {
        const char *name;
        StationConfiguration config;
        std::vector<StatusRead> reads;
    };
    const Case cases[] = {
        {"nothing counted", counts(0, 0, 0, 0, 0), {{1, 0x1500, 1}}},
        {"only digital output modules", counts(0, 0, 0, 0, 2), {{1, 0x1500, 1}, {5, 0x1570, 2}}},
        {"only analog outputs", counts(0, 0, 0, 8, 0), {{1, 0x1500, 1}, {4, 0x1550, 8}}},
        {"32-bit inputs count as inputs", counts(0, 4, 0, 0, 0), {{1, 0x1500, 1}, {2, 0x1510, 4}}},
        {"every kind",
         counts(12, 2, 7, 4, 2),
         {{1, 0x1500, 1}, {2, 0x1510, 14}, {3, 0x1530, 7}, {4, 0x1550, 4}, {5, 0x1570, 2}}},
        // Counts no read can carry: never more than one request may ask for.
        {"absurd counts",
         counts(0xFFFF, 0xFFFF, 0xFFFF, 126, 0xFFFF),
         {{1, 0x1500, 1}, {2, 0x1510, 125}, {3, 0x1530, 125}, {4, 0x1550, 125}, {5, 0x1570, 125}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(walk(c.config), c.reads);
    }
    // Past the last step, and the mask step, there is nothing to read.
    EXPECT_FALSE(NextStatusRead(6, counts(1, 1, 1, 1, 1)));
    EXPECT_EQ(NextStatusRead(0, counts(0, 0, 0, 0, 0)), (StatusRead{1, 0x1500, 1}));
}

TEST(StatusReads, RequestBytes)
{
    ModbusBuffer tx{};
    EXPECT_EQ(BuildStatusRead(tx, 8, {2, 0x1510, 14}), 12);
    EXPECT_EQ(bytes(tx, 12), (std::vector<int>{8, 4, 0x15, 0x10, 0, 14}));
    EXPECT_EQ(BuildErrorReset(tx, 0x11), 12);
    EXPECT_EQ(bytes(tx, 12), (std::vector<int>{0x11, 6, 0x15, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(BuildAlarmMaskRead(tx, 8), 12);
    EXPECT_EQ(bytes(tx, 12), (std::vector<int>{8, 4, 0x15, 0x01, 0, 1}));
    EXPECT_EQ(BuildAlarmMaskWrite(tx, 8, 0x8040), 12);
    EXPECT_EQ(bytes(tx, 12), (std::vector<int>{8, 6, 0x15, 0x01, 0x80, 0x40}));
}

TEST(StatusReads, ReplyWordsStayInsideTheReply)
{
    // A serial reply: unit, 4, byte count 6, three words, CRC.
    ModbusBuffer rx{};
    const std::vector<quint8> reply = {8, 4, 6, 0x00, 0x03, 0x80, 0x05, 0x12, 0x34, 0xAA, 0xBB};
    std::copy(reply.begin(), reply.end(), rx.begin() + 6);
    const int count = 6 + static_cast<int>(reply.size());
    struct Case {
        int rxCount;
        int quantity;
        std::vector<quint16> words;
    };
    const Case cases[] = {
        {count, 3, {0x0003, 0x8005, 0x1234}},
        {count, 2, {0x0003, 0x8005}},          // never more than asked for
        {count, 10, {0x0003, 0x8005, 0x1234}}, // nor more than the byte count says
        {6 + 3 + 3, 3, {0x0003}},              // only whole words received
        {6 + 2, 3, {}},
        {0, 3, {}},
        {1000, 200, {0x0003, 0x8005, 0x1234}},
        {count, 0, {}},
        {count, -1, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReplyWords(rx, c.rxCount, c.quantity), c.words) << c.rxCount << " " << c.quantity;
    // A byte count larger than the buffer holds.
    ModbusBuffer full{};
    full.fill(0x01);
    full[8] = 0xFF;
    EXPECT_EQ(ReplyWords(full, 264, 300).size(), size_t(127));
}

TEST(ModuleGrid, RowsFromTheLargestCount)
{
    EXPECT_EQ(ModuleGridRows(counts(0, 0, 0, 0, 0)), 0);
    EXPECT_EQ(ModuleGridRows(counts(6, 2, 2, 4, 2, 12)), 12);  // digital output channels
    EXPECT_EQ(ModuleGridRows(counts(12, 2, 7, 4, 2, 12)), 14); // analog inputs
    EXPECT_EQ(ModuleGridRows(counts(0, 0, 0, 20, 0, 8)), 20);  // analog outputs
    EXPECT_EQ(ModuleGridRows(counts(0xFFFF, 0xFFFF, 0, 0, 0)), MaxReadRegisters);
}

TEST(AlarmMask, ReservedBitsKeepWhatWasRead)
{
    struct Case {
        quint16 previous;
        quint16 boxes;
        quint16 sent;
    };
    const Case cases[] = {
        {0x8041, 0x8000, 0x8040},                           // CBErrDigIn unchecked after reading 0x8041
        {0x0000, 0xFFFF, 0xCFBF},                           // before any read the reserved bits go as 0
        {0xFFFF, 0x0000, 0x3040}, {0x3040, 0x3040, 0x3040}, // the reserved boxes themselves do not count
        {0x1000, 0x0001, 0x1001},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MergeAlarmMask(c.previous, c.boxes), c.sent) << std::hex << c.previous << " " << c.boxes;
}

} // namespace
