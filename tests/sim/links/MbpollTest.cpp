// The simulator against mbpoll, a Modbus master written elsewhere.
#include "SimHarness.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace
{

// Slots 8, 10, 14, 1, 7, 6, 5, 9: analog in 4 + 2 (16 bit) and 2 (32 bit),
// analog out 4, digital in 8 + 4, digital out 8 + 4.
const std::string Slots = "8,10,14,1,7,6,5,9";
const std::map<int, long> SlotListReply = {
    {4096, 6},  {4097, 2}, {4098, 4}, {4099, 12}, {4100, 12}, {4101, 8}, {4102, 10},
    {4103, 14}, {4104, 1}, {4105, 7}, {4106, 6},  {4107, 5},  {4108, 9}, {4109, 0},
};

std::vector<std::string> readSlotList(const std::string &unit)
{
    return {"-a", unit, "-t", "3", "-0", "-r", "4096", "-c", "14", "-1", "-o", "1"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(Mbpoll, SlotListOverTcp)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--slots", Slots});
    ASSERT_TRUE(sim.ready());
    const auto r = runMbpoll(std::vector<std::string>{"-m", "tcp", "-p", std::to_string(sim.port())} +
                             readSlotList("8") + std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.values, SlotListReply) << r.output;
}

TEST(Mbpoll, SlotListOverRtuInEveryFrameFormat)
{
    struct Row {
        const char *frame;
        const char *parity;
        const char *stopBits;
    };
    const Row rows[] = {{"1", "none", "2"}, {"2", "even", "1"}, {"3", "odd", "1"}, {"4", "none", "1"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("frame ") + row.frame);
        PtyPair pty;
        ASSERT_TRUE(pty.ready());
        SimProcess sim({"--rtu", pty.simSide(), "--frame", row.frame, "--slots", Slots});
        ASSERT_TRUE(sim.ready());
        const auto r =
            runMbpoll(std::vector<std::string>{"-m", "rtu", "-b", "38400", "-P", row.parity, "-s", row.stopBits} +
                      readSlotList("8") + std::vector<std::string>{pty.masterSide()});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_EQ(r.values, SlotListReply) << r.output;
    }
}

TEST(Mbpoll, OtherUnitsGetNoReply)
{
    SimProcess tcpSim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(tcpSim.ready());
    auto r = runMbpoll(std::vector<std::string>{"-m", "tcp", "-p", std::to_string(tcpSim.port())} + readSlotList("9") +
                       std::vector<std::string>{"127.0.0.1"});
    EXPECT_NE(r.exitCode, 0) << r.output;
    EXPECT_TRUE(r.values.empty()) << r.output;

    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess rtuSim({"--rtu", pty.simSide()});
    ASSERT_TRUE(rtuSim.ready());
    r = runMbpoll(std::vector<std::string>{"-m", "rtu", "-b", "38400", "-P", "none"} + readSlotList("9") +
                  std::vector<std::string>{pty.masterSide()});
    EXPECT_NE(r.exitCode, 0) << r.output;
    EXPECT_TRUE(r.values.empty()) << r.output;
}

TEST(Mbpoll, WritesParametersAndReadsThemBack)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--unit", "16"});
    ASSERT_TRUE(sim.ready());
    const std::vector<std::string> tcp = {"-m", "tcp", "-p", std::to_string(sim.port()), "-a", "16"};
    // Three registers of the analog input block 0x2000, written with 16.
    auto w = runMbpoll(
        tcp + std::vector<std::string>{"-t", "4", "-0", "-r", "8192", "-1", "127.0.0.1", "32808", "51", "65526"});
    ASSERT_EQ(w.exitCode, 0) << w.output;
    auto r = runMbpoll(tcp + std::vector<std::string>{"-t", "3", "-0", "-r", "8192", "-c", "3", "-1", "127.0.0.1"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.values, (std::map<int, long>{{8192, 32808}, {8193, 51}, {8194, 65526}})) << r.output;
}
