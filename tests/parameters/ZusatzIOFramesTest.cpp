// Where the additional I/O editor reads and writes a module's parameter
// objects, for every module kind, and how the registers fill the entries.
#include "parameters/ZusatzIOFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

constexpr quint8 AI = ModuleKind::AnalogInput;
constexpr quint8 AO = ModuleKind::AnalogOutput;
constexpr quint8 DI = ModuleKind::DigitalInput;
constexpr quint8 DO = ModuleKind::DigitalOutput;

TEST(ZusatzIORegisterMap, EveryKindFromOneTable)
{
    struct Case {
        const char *what;
        quint8 kind;
        quint8 id;
        int t, t32, c;
        bool second;
        int start;
        int registers;
    };
    const Case cases[] = {
        {"temperature, 6 registers", AI, 8, 0, 0, 0, false, 0x2000, 6},
        {"thermocouple, channel tab 2", AI, 14, 4, 0, 1, false, 0x201E, 6},
        {"-3..3 V, 6 registers", AI, 15, 2, 0, 1, false, 0x2012, 6},
        {"current, 4 registers", AI, 4, 8, 0, 3, false, 0x2042, 4},
        {"12-bit temperature, 4 registers", AI, 3, 0, 0, 0, false, 0x2000, 4},
        {"other analog input id", AI, 77, 1, 0, 0, false, 0x2006, 4},
        {"strain gauge, first block", AI, 10, 0, 2, 0, false, 0x2000, 3},
        {"strain gauge, second block", AI, 10, 0, 2, 0, true, 0x220E, 7},
        {"strain gauge, channel 2", AI, 10, 4, 0, 1, true, 0x2207, 7},
        {"analog output", AO, 5, 4, 0, 2, false, 0x2406, 1},
        {"digital input, third module", DI, 2, 2, 0, 0, false, 0x2802, 1},
        {"second digital output module", DO, 1, 1, 0, 0, false, 0x2604, 4},
        {"digital output, channel ignored", DO, 7, 0, 0, 3, false, 0x2600, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<ParameterBlock> block = ParameterBlockOf(c.kind, c.id, c.t, c.t32, c.c, c.second);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->Start, c.start);
        EXPECT_EQ(block->Registers, c.registers);
        EXPECT_EQ(block->Wide, c.second);
        ModbusBuffer tx{};
        EXPECT_EQ(BuildParameterReadRequest(tx, 8, *block), 12);
        EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 4, c.start >> 8, c.start & 0xFF, 0, c.registers}));
        ModbusBuffer w{};
        EXPECT_EQ(BuildParameterWriteRequest(w, 8, *block, ParameterRecord::ForChannel()), 2 * c.registers + 13);
        EXPECT_EQ(bytes(w, 6, 7),
                  (std::vector<int>{8, 0x10, c.start >> 8, c.start & 0xFF, 0, c.registers, 2 * c.registers}));
    }
}

TEST(ZusatzIORegisterMap, KindsWithoutABlock)
{
    EXPECT_FALSE(ParameterBlockOf(0, 245, 0, 0, 0, false));
    EXPECT_FALSE(ParameterBlockOf(3, 1, 0, 0, 0, false));
    EXPECT_FALSE(ParameterBlockOf(AI, 4, 0, 0, 0, true)) << "only the strain gauge has a second block";
    EXPECT_FALSE(ParameterBlockOf(DO, 10, 0, 0, 0, true));
}

ParameterRecord SampleRecord()
{
    ParameterRecord r = ParameterRecord::ForChannel();
    const qint64 values[] = {0x1234, -2, 0x1ABCD, 0x7F, 0x12345678, -100, 0x100000001LL};
    for (int e = 0; e < 7; ++e)
        r.ObjectEntries[size_t(e)] = {QStringLiteral("E%1").arg(e), values[e], 1};
    return r;
}

TEST(ZusatzIORegisterMap, WriteCarriesLowBitsOfTheEntries)
{
    const ParameterRecord r = SampleRecord();
    ModbusBuffer w{};
    BuildParameterWriteRequest(w, 8, *ParameterBlockOf(AI, 10, 0, 0, 0, false), r);
    EXPECT_EQ(bytes(w, 13, 7), (std::vector<int>{0x12, 0x34, 0xFF, 0xFE, 0xAB, 0xCD, 0}));

    // The second block: entry 3 in one register, 4, 5, 6 in two each.
    ModbusBuffer w2{};
    EXPECT_EQ(BuildParameterWriteRequest(w2, 8, *ParameterBlockOf(AI, 10, 0, 2, 0, true), r), 27);
    EXPECT_EQ(bytes(w2, 6, 7), (std::vector<int>{8, 0x10, 0x22, 0x0E, 0, 7, 14}));
    EXPECT_EQ(bytes(w2, 13, 14),
              (std::vector<int>{0x00, 0x7F, 0x12, 0x34, 0x56, 0x78, 0xFF, 0xFF, 0xFF, 0x9C, 0x00, 0x00, 0x00, 0x01}));
}

TEST(ZusatzIORegisterMap, ReplyFillsTheEntriesAsUnsignedValues)
{
    ParameterRecord r = SampleRecord();
    ModbusBuffer rx{};
    const std::vector<int> reply = {8, 4, 8, 0xFF, 0xFE, 0x00, 0x01, 0x80, 0x00, 0x12, 0x34};
    std::copy(reply.begin(), reply.end(), rx.begin() + 6);
    const ParameterBlock four = *ParameterBlockOf(DO, 1, 1, 0, 0, false);
    ASSERT_TRUE(DecodeParameterReply(rx, quint16(6 + reply.size()), four, r));
    EXPECT_EQ(r.ObjectEntries[0], (ObjectEntry{"E0", 0xFFFE, 0}));
    EXPECT_EQ(r.ObjectEntries[1], (ObjectEntry{"E1", 1, 0}));
    EXPECT_EQ(r.ObjectEntries[2], (ObjectEntry{"E2", 0x8000, 0}));
    EXPECT_EQ(r.ObjectEntries[3], (ObjectEntry{"E3", 0x1234, 0}));
    EXPECT_EQ(r.ObjectEntries[4], SampleRecord().ObjectEntries[4]) << "not in the block";

    // One register short: nothing is taken.
    ParameterRecord untouched = SampleRecord();
    EXPECT_FALSE(DecodeParameterReply(rx, quint16(6 + reply.size() - 1), four, untouched));
    EXPECT_EQ(untouched, SampleRecord());
}

TEST(ZusatzIORegisterMap, SecondBlockReplyFillsEntriesThreeToSix)
{
    ParameterRecord r = SampleRecord();
    ModbusBuffer rx{};
    const std::vector<int> reply = {8,    4,    14,   0x00, 0x20, 0x00, 0x01, 0x86, 0xA0,
                                    0xFF, 0xFF, 0xFF, 0x9C, 0x80, 0x00, 0x00, 0x00};
    std::copy(reply.begin(), reply.end(), rx.begin() + 6);
    ASSERT_TRUE(DecodeParameterReply(rx, quint16(6 + reply.size()), *ParameterBlockOf(AI, 10, 0, 0, 1, true), r));
    EXPECT_EQ(r.ObjectEntries[2], SampleRecord().ObjectEntries[2]);
    EXPECT_EQ(r.ObjectEntries[3], (ObjectEntry{"E3", 0x20, 0}));
    EXPECT_EQ(r.ObjectEntries[4], (ObjectEntry{"E4", 100000, 0}));
    EXPECT_EQ(r.ObjectEntries[5], (ObjectEntry{"E5", 0xFFFFFF9CLL, 0}));
    EXPECT_EQ(r.ObjectEntries[6], (ObjectEntry{"E6", 0x80000000LL, 0}));
}

} // namespace
