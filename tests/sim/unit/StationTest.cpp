#include "Station.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sim;

namespace
{

Station stationWith(SlotIds slots)
{
    return Station(deriveLayout(slots), Identity{});
}

// Puts the tool's packed output bytes into the digital output registers.
void setDigitalOutputs(Station &s, std::vector<uint8_t> bytes)
{
    bytes.resize(2 * s.layout().digitalOutputRegisters(), 0);
    for (int r = 0; r < s.layout().digitalOutputRegisters(); ++r)
        s.outputs()[s.layout().anaOutCount + r] = static_cast<uint16_t>((bytes[2 * r] << 8) | bytes[2 * r + 1]);
}

uint16_t digitalInputRegister(const Station &s, int r)
{
    return s.inputImage(0)[s.layout().anaInCount + 2 * s.layout().anaIn32Count + r];
}

} // namespace

TEST(Station, DigitalInputsFollowOutputsBitForBit)
{
    // Outputs 7, 1, 7 (16 channels) and inputs 2, 6, 2 (16 channels): channel
    // p of the inputs shows channel p of the outputs, across the 4/8 seams.
    struct Row {
        std::vector<uint8_t> outputBytes;
        uint16_t expected;
    };
    const Row rows[] = {
        {{0x00, 0x00}, 0x0000}, {{0xA5, 0x3C}, 0xA53C}, {{0x10, 0x00}, 0x1000},
        {{0x00, 0x80}, 0x0080}, {{0xFF, 0xFF}, 0xFFFF},
    };
    Station s = stationWith({7, 1, 7, 2, 6, 2});
    for (const Row &r : rows) {
        setDigitalOutputs(s, r.outputBytes);
        EXPECT_EQ(digitalInputRegister(s, 0), r.expected);
    }
}

TEST(Station, OnlyChannelsBothSidesHaveAreFedBack)
{
    // 12 outputs (bytes 0 and low half of 1), 8 inputs: input byte 1 stays
    // empty, and output bits beyond the 12th channel never show.
    Station s = stationWith({7, 1, 6});
    setDigitalOutputs(s, {0xFF, 0xFF});
    EXPECT_EQ(digitalInputRegister(s, 0), 0xFF00);

    Station wide = stationWith({7, 1, 6, 6});
    setDigitalOutputs(wide, {0xFF, 0xFF});
    EXPECT_EQ(digitalInputRegister(wide, 0), 0xFF0F);
}

TEST(Station, LoopbackOffAndForcedInputs)
{
    Station s = stationWith({1, 6});
    setDigitalOutputs(s, {0x81});
    s.loopback = false;
    EXPECT_EQ(digitalInputRegister(s, 0), 0x0000);
    s.forceDigitalInput(3, true);
    EXPECT_EQ(digitalInputRegister(s, 0), 0x0800);
    s.loopback = true;
    s.forceDigitalInput(0, false);
    EXPECT_EQ(digitalInputRegister(s, 0), 0x8800);
    s.forceDigitalInput(0, std::nullopt);
    s.forceDigitalInput(3, std::nullopt);
    EXPECT_EQ(digitalInputRegister(s, 0), 0x8100);
}

TEST(Station, InputImagePacksAnalogChannelsAsTheToolDecodesThem)
{
    // 16-bit, 32-bit (most significant word first), 16-bit, then digital.
    Station s = stationWith({14, 10, 2});
    s.forceAnalogInput(0, -2);
    s.forceAnalogInput(1, 1234);
    s.forceAnalogInput(2, 0x00012345);
    s.forceAnalogInput(3, -70000);
    EXPECT_EQ(s.inputImage(0), (std::vector<uint16_t>{0xFFFE, 1234, 0x0001, 0x2345, 0xFFFE, 0xEE90, 0}));
}

TEST(Station, AnalogInputsLiveAndDifferPerChannel)
{
    Station s = stationWith({4, 10});
    std::vector<std::vector<int32_t>> traces(6);
    for (double t = 0; t < 60; t += 0.5)
        for (int ch = 0; ch < 6; ++ch)
            traces[ch].push_back(s.analogInput(ch, t));
    for (int ch = 0; ch < 6; ++ch) {
        const auto [low, high] = std::minmax_element(traces[ch].begin(), traces[ch].end());
        EXPECT_LT(*low, *high) << "channel " << ch << " does not move";
        for (int other = 0; other < ch; ++other)
            EXPECT_NE(traces[ch], traces[other]);
        if (ch < 4) {
            EXPECT_GE(*low, -32768);
            EXPECT_LE(*high, 32767);
        } else {
            EXPECT_GT(std::max(-*low, *high), 0xFFFF) << "a 32-bit channel stays within 16 bits";
        }
    }
}

TEST(Station, RestartClearsOutputsAndResetClearsErrors)
{
    Station s = stationWith({5, 1, 6});
    s.outputs() = {1, 2, 3, 4, 0xFF00};
    s.errorWord = 0x8005;
    s.anaOutStatus[2] = 9;
    s.digOutStatus[0] = 0x31;
    s.alarmMask = 0x8041;
    s.restart();
    EXPECT_EQ(s.outputs(), (std::vector<uint16_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(digitalInputRegister(s, 0), 0);
    s.resetErrors();
    EXPECT_EQ(s.errorWord, 0);
    EXPECT_EQ(s.anaOutStatus, (std::vector<uint16_t>{0, 0, 0, 0}));
    EXPECT_EQ(s.digOutStatus, (std::vector<uint16_t>{0}));
    EXPECT_EQ(s.alarmMask, 0x8041) << "the mask is a setting, not an error";
}
