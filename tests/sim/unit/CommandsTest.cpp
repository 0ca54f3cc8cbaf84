#include "Commands.h"

#include <gtest/gtest.h>

using namespace sim;

namespace
{

struct Fixture {
    Station station{deriveLayout(demoSlots()), Identity{}};
    Faults faults;
    CommandInterpreter commands{station, faults};
    std::string run(const std::string &line) { return commands.execute(line, 0); }
};

bool endsWith(const std::string &s, const std::string &tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

TEST(Commands, ChangeTheStation)
{
    Fixture f;
    EXPECT_EQ(f.run("error 0x8005"), "ok\n");
    EXPECT_EQ(f.station.errorWord, 0x8005);
    EXPECT_EQ(f.run("status ai 8 3"), "ok\n");
    EXPECT_EQ(f.station.anaInStatus[7], 3);
    EXPECT_EQ(f.run("status comp 2 1"), "ok\n");
    EXPECT_EQ(f.station.compStatus[1], 1);
    EXPECT_EQ(f.run("status ao 1 9"), "ok\n");
    EXPECT_EQ(f.station.anaOutStatus[0], 9);
    EXPECT_EQ(f.run("  status   do 2 0x31  "), "ok\n");
    EXPECT_EQ(f.station.digOutStatus[1], 0x31);

    EXPECT_EQ(f.run("ai 1 -100"), "ok\n");
    EXPECT_EQ(f.station.analogInput(0, 0), -100);
    EXPECT_EQ(f.run("ai 2 0xFFFF"), "ok\n");
    EXPECT_EQ(f.station.analogInput(1, 0), -1) << "a 16-bit channel keeps the bit pattern";
    EXPECT_EQ(f.run("ai 5 -200000"), "ok\n");
    EXPECT_EQ(f.station.analogInput(4, 0), -200000);
    EXPECT_EQ(f.run("ai 1 free"), "ok\n");
    EXPECT_NE(f.station.analogInput(0, 0), -100);

    EXPECT_EQ(f.run("loopback off"), "ok\n");
    EXPECT_FALSE(f.station.loopback);
    EXPECT_EQ(f.run("di 12 1"), "ok\n");
    EXPECT_TRUE(f.station.digitalInput(11));
    EXPECT_EQ(f.run("di 12 free"), "ok\n");
    EXPECT_FALSE(f.station.digitalInput(11));
}

TEST(Commands, SwitchFaults)
{
    Fixture f;
    EXPECT_EQ(f.run("drop 30"), "ok\n");
    EXPECT_EQ(f.run("delay 250"), "ok\n");
    EXPECT_EQ(f.run("split 20"), "ok\n");
    EXPECT_EQ(f.run("noise 4"), "ok\n");
    EXPECT_EQ(f.run("bad-crc on"), "ok\n");
    EXPECT_EQ(f.run("bad-length on"), "ok\n");
    EXPECT_EQ(f.run("exception 23 4"), "ok\n");
    EXPECT_EQ(f.faults.dropPercent, 30);
    EXPECT_EQ(f.faults.delayMs, 250);
    EXPECT_EQ(f.faults.splitMs, 20);
    EXPECT_EQ(f.faults.noiseBytes, 4);
    EXPECT_TRUE(f.faults.badCrc);
    EXPECT_TRUE(f.faults.badLength);
    EXPECT_EQ(f.faults.exceptions.at(23), 4);
    EXPECT_EQ(f.run("exception 23 0"), "ok\n");
    EXPECT_TRUE(f.faults.exceptions.empty());
    EXPECT_EQ(f.run("faults off"), "ok\n");
    EXPECT_EQ(f.faults.dropPercent, 0);
    EXPECT_FALSE(f.faults.badCrc);
}

TEST(Commands, RefusedLinesChangeNothing)
{
    const char *lines[] = {
        "error 0x10000", "error",       "status ai 9 1", "status ai 0 1", "status xx 1 1",
        "ai 9 1",        "ai 1 40000x", "ai 1 70000",    "di 13 1",       "di 1 2",
        "drop 101",      "delay -1",    "exception 0 2", "bad-crc maybe", "frobnicate",
    };
    for (const char *line : lines) {
        Fixture f;
        const std::string answer = f.run(line);
        EXPECT_EQ(answer.rfind("error: ", 0), 0u) << line << " -> " << answer;
        EXPECT_EQ(f.station.errorWord, 0) << line;
        EXPECT_EQ(f.faults.dropPercent, 0) << line;
        EXPECT_FALSE(f.faults.badCrc) << line;
    }
}

TEST(Commands, ShowReportsTheState)
{
    Fixture f;
    f.station.outputs()[4] = 0xA500;
    f.run("error 0x8005");
    f.run("exception 4 2");
    const std::string text = f.run("show");
    EXPECT_TRUE(endsWith(text, "ok\n"));
    EXPECT_NE(text.find("slots 2 6 7 1 4 10 14 5 0"), std::string::npos) << text;
    EXPECT_NE(text.find("counts ai16 6 ai32 2 ao 4 di 12 do 12"), std::string::npos) << text;
    EXPECT_NE(text.find("outputs 0000 0000 0000 0000 A500"), std::string::npos) << text;
    EXPECT_NE(text.find(" A500\n"), text.find("outputs")) << "the inputs show the fed-back outputs";
    EXPECT_NE(text.find("error word 8005"), std::string::npos) << text;
    EXPECT_NE(text.find("exception 4:2"), std::string::npos) << text;
}
