// Process data with function code 23 over both links, as the tool's cycle
// exchanges it, and the restart command.
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace simtest;
using namespace std::chrono;

namespace
{

// The demo station: 11 input registers (analog 4 + 2x2 + 2, one digital),
// 5 output registers (analog 4, one digital).
constexpr int InputRegisters = 11;
constexpr int OutputRegisters = 5;

class ProcessData : public ::testing::TestWithParam<bool>
{
protected:
    bool rtu() const { return GetParam(); }
    void start(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args;
        if (rtu()) {
            pty_ = std::make_unique<PtyPair>();
            ASSERT_TRUE(pty_->ready());
            args = {"--rtu", pty_->simSide()};
        } else {
            args = {"--tcp", "127.0.0.1:0"};
        }
        args.insert(args.end(), extra.begin(), extra.end());
        sim_ = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim_->ready());
        master_ = std::make_unique<Master>(rtu() ? Master::rtu(pty_->masterSide()) : Master::tcp(sim_->port()));
        ASSERT_TRUE(master_->connected());
    }
    // One exchange as the tool sends it: outputs to 0x0900, inputs from 0x0100.
    std::vector<uint16_t> exchange(std::vector<uint16_t> outputs, int readCount = InputRegisters)
    {
        std::vector<uint16_t> inputs(readCount, 0xDEAD);
        const int n = modbus_write_and_read_registers(master_->get(), 0x0900, int(outputs.size()), outputs.data(),
                                                      0x0100, readCount, inputs.data());
        if (n != readCount) {
            ADD_FAILURE() << "exchange failed: " << modbus_strerror(errno);
            return {};
        }
        return inputs;
    }

    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<Master> master_;
};

int32_t joined(uint16_t high, uint16_t low)
{
    return int32_t((uint32_t(high) << 16) | low);
}

} // namespace

TEST_P(ProcessData, DigitalInputsFollowTheOutputs)
{
    start();
    // Output bytes 0xA5 and 0x3C: only the low half of byte 1 has channels.
    const struct {
        uint16_t outputs;
        uint16_t inputs;
    } rows[] = {{0x0000, 0x0000}, {0xA53C, 0xA50C}, {0xFF0F, 0xFF0F}, {0x0100, 0x0100}, {0x0000, 0x0000}};
    for (const auto &row : rows) {
        const auto in = exchange({100, 200, 300, 400, row.outputs});
        ASSERT_EQ(in.size(), size_t(InputRegisters));
        EXPECT_EQ(in[10], row.inputs);
    }
}

TEST_P(ProcessData, NoLoopbackHoldsInputsAtZero)
{
    start({"--no-loopback"});
    EXPECT_EQ(exchange({0, 0, 0, 0, 0xFFFF}).at(10), 0);
    EXPECT_EQ(sim_->command("loopback on"), "ok\n");
    EXPECT_EQ(exchange({0, 0, 0, 0, 0xFFFF}).at(10), 0xFF0F);
}

TEST_P(ProcessData, AnalogInputsCarryHeldValuesInChannelOrder)
{
    start();
    EXPECT_EQ(sim_->command("ai 1 -2"), "ok\n");
    EXPECT_EQ(sim_->command("ai 5 -200000"), "ok\n");
    EXPECT_EQ(sim_->command("ai 6 123456"), "ok\n");
    EXPECT_EQ(sim_->command("ai 8 7"), "ok\n");
    const auto in = exchange({0, 0, 0, 0, 0});
    ASSERT_EQ(in.size(), size_t(InputRegisters));
    EXPECT_EQ(in[0], 0xFFFE);
    EXPECT_EQ(joined(in[4], in[5]), -200000);
    EXPECT_EQ(joined(in[6], in[7]), 123456);
    EXPECT_EQ(in[9], 7);
}

TEST_P(ProcessData, ReadingBeyondTheStationIsRefused)
{
    start();
    std::vector<uint16_t> outputs(OutputRegisters, 0), inputs(InputRegisters + 1);
    EXPECT_EQ(modbus_write_and_read_registers(master_->get(), 0x0900, OutputRegisters, outputs.data(), 0x0100,
                                              InputRegisters + 1, inputs.data()),
              -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_write_and_read_registers(master_->get(), 0x0900, OutputRegisters + 1, outputs.data(), 0x0100,
                                              InputRegisters, inputs.data()),
              -1);
    EXPECT_EQ(errno, EMBXILADD);
}

TEST_P(ProcessData, RestartTurnsOutputsOffAndComesBack)
{
    start({"--restart-ms", "800"});
    ASSERT_EQ(exchange({1, 2, 3, 4, 0xFF0F}).at(10), 0xFF0F);
    // Function code 42 has no reply; send it by hand.
    ASSERT_EQ(modbus_send_raw_request(master_->get(), std::vector<uint8_t>{8, 42}.data(), 2), rtu() ? 4 : 8);

    uint16_t regs[OutputRegisters] = {};
    master_->setTimeout(milliseconds(200));
    if (rtu()) {
        EXPECT_EQ(modbus_read_input_registers(master_->get(), 0x0900, 1, regs), -1) << "answered while restarting";
    } else {
        // The connection is gone.
        EXPECT_EQ(modbus_read_input_registers(master_->get(), 0x0900, 1, regs), -1);
    }
    // Back after the restart time; TCP needs a new connection.
    const auto end = steady_clock::now() + seconds(10);
    int n = -1;
    while (n < 0 && steady_clock::now() < end) {
        if (!rtu())
            master_ = std::make_unique<Master>(Master::tcp(sim_->port()));
        master_->setTimeout(milliseconds(200));
        n = modbus_read_input_registers(master_->get(), 0x0900, OutputRegisters, regs);
        if (n < 0)
            std::this_thread::sleep_for(milliseconds(100));
    }
    ASSERT_EQ(n, OutputRegisters);
    EXPECT_EQ(std::vector<uint16_t>(regs, regs + OutputRegisters), std::vector<uint16_t>(OutputRegisters, 0));
}

INSTANTIATE_TEST_SUITE_P(Links, ProcessData, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Rtu" : "Tcp"; });

TEST(Restart, DropsTcpConnectionsAndRefusesNewOnesWhileAway)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--restart-ms", "1500"});
    ASSERT_TRUE(sim.ready());
    RawTcp first(sim.port());
    RawTcp bystander(sim.port());
    ASSERT_TRUE(first.connected());
    ASSERT_TRUE(bystander.connected());
    ASSERT_TRUE(first.send({0, 7, 0, 0, 0, 2, 8, 42}));
    EXPECT_FALSE(first.receiveOnce(seconds(3))) << "still connected";
    EXPECT_FALSE(bystander.receiveOnce(seconds(3))) << "still connected";
    RawTcp during(sim.port());
    EXPECT_FALSE(during.receiveOnce(seconds(3))) << "a new connection was served";
}
