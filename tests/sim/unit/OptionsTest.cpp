#include "Options.h"

#include <gtest/gtest.h>

using namespace sim;

namespace
{

std::optional<Options> parse(std::vector<std::string_view> args)
{
    std::string error;
    auto o = parseOptions(args, error);
    EXPECT_EQ(o.has_value(), error.empty()) << error;
    return o;
}

} // namespace

TEST(Options, Defaults)
{
    const auto o = parse({});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->tcpAddress, "127.0.0.1");
    EXPECT_EQ(o->tcpPort, 1502);
    EXPECT_FALSE(o->rtu);
    EXPECT_EQ(o->unit, 8);
    EXPECT_EQ(o->slots, demoSlots());
    EXPECT_EQ(o->restartMs, 500);
    EXPECT_TRUE(o->loopback);
    EXPECT_TRUE(o->readStdin);
}

TEST(Options, LinksAndStation)
{
    auto o = parse({"--rtu", "/dev/pts/9", "--baud", "9600", "--frame", "2", "--unit", "0x10", "--slots", "1,0x0104,10",
                    "--identity", "ACME,Box,3.2", "--seed", "7", "--restart-ms", "50", "--no-loopback", "--no-stdin"});
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->tcpAddress) << "only the serial line was asked for";
    ASSERT_TRUE(o->rtu);
    EXPECT_EQ(o->rtu->device, "/dev/pts/9");
    EXPECT_EQ(o->rtu->baud, 9600);
    EXPECT_EQ(o->rtu->frame, 2);
    EXPECT_EQ(o->unit, 16);
    EXPECT_EQ(o->slots, (SlotIds{1, 0x0104, 10, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(o->identity.manufacturer, "ACME");
    EXPECT_EQ(o->identity.product, "Box");
    EXPECT_EQ(o->identity.version, "3.2");
    EXPECT_EQ(o->seed, 7u);
    EXPECT_EQ(o->restartMs, 50);
    EXPECT_FALSE(o->loopback);
    EXPECT_FALSE(o->readStdin);

    o = parse({"--rtu", "/dev/ttyS0", "--tcp", "0.0.0.0:0", "--slots", ""});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->tcpAddress, "0.0.0.0");
    EXPECT_EQ(o->tcpPort, 0);
    EXPECT_TRUE(o->rtu);
    EXPECT_EQ(o->slots, SlotIds{});
}

TEST(Options, Faults)
{
    const auto o = parse({"--drop", "25", "--delay", "300", "--exception", "4:2", "--exception", "23:0x0B", "--split",
                          "40", "--bad-crc", "--bad-length", "--noise", "6"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->faults.dropPercent, 25);
    EXPECT_EQ(o->faults.delayMs, 300);
    EXPECT_EQ(o->faults.exceptions, (std::map<uint8_t, uint8_t>{{4, 2}, {23, 11}}));
    EXPECT_EQ(o->faults.splitMs, 40);
    EXPECT_TRUE(o->faults.badCrc);
    EXPECT_TRUE(o->faults.badLength);
    EXPECT_EQ(o->faults.noiseBytes, 6);
    EXPECT_EQ(o->faults.jitterMs, 0);
    EXPECT_EQ(o->faults.exceptionPercent, 0);
    EXPECT_EQ(o->faults.splitPercent, 100) << "--split alone splits every reply";
    EXPECT_EQ(o->faults.badCrcPercent, 100) << "--bad-crc alone corrupts every reply";
}

TEST(Options, RandomFaultShares)
{
    const auto o = parse(
        {"--jitter", "100", "--exception-share", "5", "--split", "3", "--split-share", "30", "--bad-crc-share", "2"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->faults.jitterMs, 100);
    EXPECT_EQ(o->faults.exceptionPercent, 5);
    EXPECT_EQ(o->faults.splitMs, 3);
    EXPECT_EQ(o->faults.splitPercent, 30);
    EXPECT_TRUE(o->faults.badCrc);
    EXPECT_EQ(o->faults.badCrcPercent, 2);
}

TEST(Options, RefusedCommandLines)
{
    const std::vector<std::vector<std::string_view>> rows = {
        {"--tcp", "127.0.0.1"},
        {"--tcp", "127.0.0.1:70000"},
        {"--tcp"},
        {"--frame", "5"},
        {"--frame", "0"},
        {"--unit", "0"},
        {"--unit", "248"},
        {"--slots", "1,2,3,4,5,6,7,8,9,10"},
        {"--slots", "1,x"},
        {"--slots", "70000"},
        {"--identity", "A,B"},
        {"--identity", "A,B,"},
        {"--drop", "101"},
        {"--exception-share", "101"},
        {"--split-share", "-1"},
        {"--bad-crc-share"},
        {"--jitter", "x"},
        {"--exception", "4"},
        {"--exception", "4:0"},
        {"--baud", "fast"},
        {"--bogus"},
    };
    for (const auto &args : rows) {
        std::string error;
        EXPECT_FALSE(parseOptions(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(Options, NumbersDecimalOrHex)
{
    EXPECT_EQ(parseNumber("42"), 42);
    EXPECT_EQ(parseNumber("0x1F"), 31);
    EXPECT_EQ(parseNumber("-5"), -5);
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("0x"));
    EXPECT_FALSE(parseNumber("12a"));
}
