#include "process/ProcessImage.h"
#include "StationFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

using Bytes = std::vector<int>;

StationConfiguration counts(int ai16, int ai32, int ao, int di, int dout)
{
    StationConfiguration c;
    c.AnaInCount = static_cast<quint16>(ai16);
    c.AnaIn32Count = static_cast<quint16>(ai32);
    c.AnaOutCount = static_cast<quint16>(ao);
    c.DigInCount = static_cast<quint16>(di);
    c.DigOutCount = static_cast<quint16>(dout);
    c.ConfigValid = 1;
    return c;
}

TEST(ProcessDataRequest, LayoutForTheCountCombinations)
{
    AnalogOutTable anaOut{};
    anaOut[0] = 0x1234;
    anaOut[1] = 0xFFFF;
    anaOut[2] = 0x0001;
    anaOut[3] = 0x8000;
    DigitalImage digOut{0xA5, 0x0F, 0x3C, 0x81, 0x77};

    struct Case {
        const char *name;
        StationConfiguration config;
        int length;
        Bytes bytes; // from TxFrame[6] on
        int digitalInputsAt;
    };
    const Case cases[] = {
        {"no_outputs",
         counts(4, 0, 0, 4, 0),
         17,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x05, 0x09, 0x00, 0x00, 0x00, 0x00},
         17},
        {"mixed_counts",
         counts(5, 1, 2, 8, 12),
         23,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x08, 0x09, 0x00, 0x00, 0x03, 0x06, 0x12, 0x34, 0xFF, 0xFF, 0xA5, 0x0F},
         23},
        {"sixteen_digital_each_way",
         counts(0, 0, 0, 16, 16),
         19,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x01, 0x02, 0xA5, 0x0F},
         9},
        {"seventeen_digital_outputs_take_two_registers",
         counts(0, 0, 0, 17, 17),
         21,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x02, 0x09, 0x00, 0x00, 0x02, 0x04, 0xA5, 0x0F, 0x3C, 0x81},
         9},
        {"analog_outputs_only",
         counts(0, 0, 4, 0, 0),
         25,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x04, 0x08, 0x12, 0x34, 0xFF, 0xFF, 0x00, 0x01, 0x80,
          0x00},
         9},
        {"empty_station",
         counts(0, 0, 0, 0, 0),
         17,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00},
         9},
        {"demo_station",
         counts(6, 2, 4, 12, 12),
         27,
         {0x08, 0x17, 0x01, 0x00, 0x00, 0x0B, 0x09, 0x00, 0x00, 0x05, 0x0A,
          0x12, 0x34, 0xFF, 0xFF, 0x00, 0x01, 0x80, 0x00, 0xA5, 0x0F},
         29},
    };
    for (const Case &c : cases) {
        ModbusBuffer tx{};
        tx.fill(0xEE);
        const quint8 length = BuildProcessDataRequest(c.config, 8, anaOut, digOut, tx);
        EXPECT_EQ(length, c.length) << c.name;
        for (size_t i = 0; i < c.bytes.size(); ++i)
            EXPECT_EQ(tx[6 + i], c.bytes[i]) << c.name << " byte " << 6 + i;
        EXPECT_EQ(tx[6 + c.bytes.size()], 0xEE) << c.name << ": nothing behind the request";
        for (size_t i = 0; i < 6; ++i)
            EXPECT_EQ(tx[i], 0xEE) << c.name << ": header room untouched";
        EXPECT_EQ(DigitalInputReplyStart(c.config), c.digitalInputsAt) << c.name;
    }
}

TEST(ProcessDataRequest, LengthAndByteCountKeepEightBits)
{
    // 120 analog outputs: 257 bytes would not fit the length byte.
    AnalogOutTable anaOut{};
    DigitalImage digOut{};
    ModbusBuffer tx{};
    const quint8 length = BuildProcessDataRequest(counts(0, 0, 120, 0, 0), 8, anaOut, digOut, tx);
    EXPECT_EQ(length, (17 + 240) & 0xFF);
    EXPECT_EQ(tx[16], 240);
    EXPECT_EQ(tx[14] << 8 | tx[15], 120);
}

TEST(DigitalOutputPacking, SlotLayouts)
{
    struct Case {
        const char *name;
        std::array<quint16, SlotCount> ids;
        std::array<quint8, SlotCount> slotBytes;
        Bytes image; // leading bytes of DigOutBytes; the rest keeps 0xEE
    };
    const Case cases[] = {
        {"four_eight_four", {7, 1, 7}, {0x0A, 0xC3, 0x05}, {0x3A, 0x5C}},
        {"two_eight_channel_modules", {1, 1}, {0x81, 0x42}, {0x81, 0x42}},
        // The second module puts only its low four bits into the upper half.
        {"two_four_channel_modules_share_a_byte", {7, 7}, {0x03, 0xFC}, {0xC3}},
        {"lone_four_channel_module_sends_its_whole_byte", {7}, {0xF3}, {0xF3}},
        {"other_slots_are_skipped", {2, 1, 0, 6, 7}, {0xFF, 0x5A, 0xFF, 0xFF, 0x09}, {0x5A, 0x09}},
        {"eight_after_eight_after_four", {1, 7, 1}, {0x11, 0x0B, 0xD2}, {0x11, 0x2B, 0x0D}},
        {"demo_station", {2, 6, 7, 1, 4, 10, 14, 5, 0}, {0, 0, 0x05, 0xA6}, {0x65, 0x0A}},
        {"no_output_module", {2, 6, 4}, {0x12, 0x34, 0x56}, {}},
    };
    for (const Case &c : cases) {
        SlotIdTable ids{};
        SlotByteTable slotBytes{};
        for (int s = 1; s <= SlotCount; ++s) {
            ids[static_cast<size_t>(s)] = c.ids[static_cast<size_t>(s - 1)];
            slotBytes[static_cast<size_t>(s)] = c.slotBytes[static_cast<size_t>(s - 1)];
        }
        DigitalImage image;
        image.fill(0xEE);
        PackDigitalOutputs(ids, slotBytes, image);
        for (size_t i = 0; i < image.size(); ++i) {
            const int expected = i < c.image.size() ? c.image[i] : 0xEE;
            EXPECT_EQ(image[i], expected) << c.name << " byte " << i;
        }
    }
}

// A process data reply of the size the configuration's request asks for.
struct Reply {
    explicit Reply(const StationConfiguration &config, bool tcp = true)
    {
        const int byteCount = 2 * ProcessReadQuantity(config);
        rx[6] = 8;
        rx[7] = 0x17;
        rx[8] = static_cast<quint8>(byteCount);
        count = static_cast<quint16>(9 + byteCount + (tcp ? 0 : 2));
    }
    void put(int position, Bytes bytes)
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            rx[static_cast<size_t>(position) + i] = static_cast<quint8>(bytes[i]);
    }
    ModbusBuffer rx{};
    quint16 count = 0;
};

TEST(ProcessDataReply, OnlyAWholeFunction23ReplyOfTheRequestedSizeCounts)
{
    const StationConfiguration demo = counts(6, 2, 4, 12, 12); // 11 registers
    struct Case {
        const char *name;
        int function;
        int byteCount;
        int rxCount;
        bool tcp;
        bool accepted;
    };
    const Case cases[] = {
        {"tcp_reply", 0x17, 22, 31, true, true},
        {"rtu_reply_with_crc", 0x17, 22, 33, false, true},
        {"rtu_length_without_crc", 0x17, 22, 31, false, false},
        {"tcp_reply_with_two_bytes_too_many", 0x17, 22, 33, true, false},
        {"slot_list_reply_of_another_window", 0x04, 28, 37, true, false},
        {"holding_register_reply_of_the_same_size", 0x03, 22, 31, true, false},
        {"function_23_reply_to_another_request", 0x17, 20, 29, true, false},
        {"cut_short", 0x17, 22, 30, true, false},
        {"exception", 0x97, 2, 9, true, false},
    };
    for (const Case &c : cases) {
        ModbusBuffer rx{};
        rx[7] = static_cast<quint8>(c.function);
        rx[8] = static_cast<quint8>(c.byteCount);
        EXPECT_EQ(IsProcessDataReply(rx, static_cast<quint16>(c.rxCount), demo, c.tcp), c.accepted) << c.name;
    }
    // A read quantity whose byte count does not fit one byte has no valid reply.
    ModbusBuffer rx{};
    rx[7] = 0x17;
    rx[8] = static_cast<quint8>(2 * 130);
    EXPECT_FALSE(IsProcessDataReply(rx, 9 + 4, counts(130, 0, 0, 0, 0), true));
}

TEST(ProcessDataReply, DecodesSixteenBitWithSignAndThirtyTwoBitChannels)
{
    StationConfiguration config = counts(3, 2, 0, 12, 0);
    config.AnaInFormat = {1, 1, 0, 1, 0};
    Reply reply(config);                     // 3 + 4 + 1 registers
    reply.put(9, {0x7F, 0xFF, 0x80, 0x00});  // 32767, -32768
    reply.put(13, {0xFF, 0xFE, 0xEE, 0x90}); // -70000 as 32 bit
    reply.put(17, {0xFF, 0xFF});             // -1
    reply.put(19, {0x00, 0x01, 0x23, 0x45}); // 74565
    reply.put(23, {0x05, 0x0F});             // digital inputs
    ASSERT_TRUE(IsProcessDataReply(reply.rx, reply.count, config, true));

    AnalogInTable values{};
    values[5] = 99;
    EXPECT_EQ(DecodeAnalogInputs(reply.rx, config, values), 5);
    const std::array<qint32, 6> expected{32767, -32768, -70000, -1, 74565, 99};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(values[i], expected[i]) << "channel " << i;

    DigitalImage image;
    image.fill(0xEE);
    EXPECT_EQ(DecodeDigitalInputs(reply.rx, config, image), 2);
    EXPECT_EQ(image[0], 0x05);
    EXPECT_EQ(image[1], 0x0F);
    EXPECT_EQ(image[2], 0xEE);
}

TEST(ProcessDataReply, MoreThanSixteenChannelsAreAllDecoded)
{
    StationConfiguration config;
    stationfixture::LoadStation(config, {4, 4, 4, 4, 4, 10, 6});
    ASSERT_EQ(AnalogInputChannels(config), 22);
    Reply reply(config);
    for (int ch = 0; ch < 20; ++ch)
        reply.put(9 + 2 * ch, {0xFF, 0xFF - ch});                    // -1, -2, ...
    reply.put(49, {0x00, 0x0F, 0x42, 0x40, 0xFF, 0xF0, 0xBD, 0xC0}); // 1000000, -1000000
    reply.put(57, {0x81});
    AnalogInTable values{};
    EXPECT_EQ(DecodeAnalogInputs(reply.rx, config, values), 22);
    EXPECT_EQ(values[0], -1);
    EXPECT_EQ(values[16], -17);
    EXPECT_EQ(values[19], -20);
    EXPECT_EQ(values[20], 1000000);
    EXPECT_EQ(values[21], -1000000);
    DigitalImage image{};
    DecodeDigitalInputs(reply.rx, config, image);
    EXPECT_EQ(image[0], 0x81);
}

TEST(ProcessDataReply, DigitalBytesTakenFollowTheChannelCount)
{
    struct Case {
        int channels;
        int taken;
    };
    for (const Case c : {Case{4, 1}, Case{8, 1}, Case{12, 2}, Case{16, 2}, Case{17, 3}, Case{0, 0}}) {
        const StationConfiguration config = counts(0, 0, 0, c.channels, 0);
        Reply reply(config);
        reply.put(9, {0x11, 0x22, 0x33, 0x44});
        DigitalImage image;
        image.fill(0xEE);
        EXPECT_EQ(DecodeDigitalInputs(reply.rx, config, image), c.taken) << c.channels;
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(image[static_cast<size_t>(j)], j < c.taken ? 0x11 * (j + 1) : 0xEE)
                << c.channels << " byte " << j;
    }
}

TEST(ProcessDataReply, DecodingStopsAtTheEndOfTheReplyData)
{
    // Counts that disagree with the format table: two 16-bit channels by the
    // counts, two 32-bit ones by the table. Only what the reply holds is read.
    StationConfiguration config = counts(2, 0, 0, 0, 0);
    config.AnaInFormat = {0, 0};
    Reply reply(config);
    reply.put(9, {0x00, 0x00, 0x01, 0x00});
    reply.rx[13] = 0x55; // behind the reply's data
    AnalogInTable values{};
    values[1] = 7;
    EXPECT_EQ(DecodeAnalogInputs(reply.rx, config, values), 1);
    EXPECT_EQ(values[0], 256);
    EXPECT_EQ(values[1], 7);
}

TEST(DigitalInputDisplay, EachInputSlotTakesTheNextBits)
{
    struct Case {
        const char *name;
        std::array<quint16, SlotCount> ids;
        std::array<int, SlotCount> firstBit;
        std::array<int, SlotCount> channels;
    };
    const Case cases[] = {
        {"four_then_eight", {2, 6}, {0, 4, 12, 12, 12, 12, 12, 12, 12}, {4, 8}},
        {"gaps_and_other_modules", {6, 1, 2, 0, 9, 4}, {0, 8, 8, 12, 12, 16, 16, 16, 16}, {8, 0, 4, 0, 4}},
        {"demo_station", {2, 6, 7, 1, 4, 10, 14, 5, 0}, {0, 4, 12, 12, 12, 12, 12, 12, 12}, {4, 8}},
    };
    for (const Case &c : cases) {
        SlotIdTable ids{};
        for (int s = 1; s <= SlotCount; ++s)
            ids[static_cast<size_t>(s)] = c.ids[static_cast<size_t>(s - 1)];
        const DigitalInputLayout layout = LayOutDigitalInputs(ids);
        for (int s = 1; s <= SlotCount; ++s) {
            EXPECT_EQ(layout.channels[static_cast<size_t>(s)], c.channels[static_cast<size_t>(s - 1)])
                << c.name << " slot " << s;
            if (layout.channels[static_cast<size_t>(s)] > 0) {
                EXPECT_EQ(layout.firstBit[static_cast<size_t>(s)], c.firstBit[static_cast<size_t>(s - 1)])
                    << c.name << " slot " << s;
            }
        }
    }
    const DigitalImage image{0x05, 0x80};
    EXPECT_TRUE(ImageBit(image, 0));
    EXPECT_FALSE(ImageBit(image, 1));
    EXPECT_TRUE(ImageBit(image, 2));
    EXPECT_TRUE(ImageBit(image, 15));
    EXPECT_FALSE(ImageBit(image, 96));
}

} // namespace
