// The simulator as a program: identity, diagnostics, commands, lifetime.
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace simtest;
using namespace std::chrono;

namespace
{

// The identity texts as the configuration window takes them from the
// reply, indices into its receive buffer (unit identifier at 6).
struct Texts {
    std::string manufacturer, product, version;
};

Texts decodeLikeTheTool(const Bytes &f)
{
    auto text = [&f](size_t from, size_t n) {
        return from + n <= f.size() ? std::string(f.begin() + from, f.begin() + from + n) : "<past the end>";
    };
    if (f.size() < 17)
        return {};
    const size_t l1 = f[16];
    const size_t l2 = f.size() > 18 + l1 ? f[18 + l1] : 0;
    const size_t l3 = f.size() > 20 + l1 + l2 ? f[20 + l1 + l2] : 0;
    return {text(17, l1), text(19 + l1, l2), text(21 + l1 + l2, l3 + 1)};
}

} // namespace

TEST(StationOverLinks, IdentityOverTcpAndRtu)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess sim({"--tcp", "127.0.0.1:0", "--rtu", pty.simSide(), "--identity", "ACME Automation,VO3112 Sim,2.10"});
    ASSERT_TRUE(sim.ready());

    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send({0x00, 0x01, 0, 0, 0, 5, 0x08, 0x2B, 0x0E, 0x01, 0x00}));
    const auto tcpReply = tcp.receiveOnce(seconds(5));
    ASSERT_TRUE(tcpReply);
    ASSERT_GE(tcpReply->size(), 8u);
    EXPECT_EQ((*tcpReply)[0], 0x00);
    EXPECT_EQ((*tcpReply)[1], 0x01);
    EXPECT_EQ(((*tcpReply)[4] << 8) | (*tcpReply)[5], int(tcpReply->size() - 6));
    Texts t = decodeLikeTheTool(*tcpReply);
    EXPECT_EQ(t.manufacturer, "ACME Automation");
    EXPECT_EQ(t.product, "VO3112 Sim");
    EXPECT_EQ(t.version, "2.10");

    // On the serial line the reply lands at byte 6 of the same buffer.
    const int fd = openRawSerial(pty.masterSide());
    ASSERT_GE(fd, 0);
    const Bytes request = withCrc({0x08, 0x2B, 0x0E, 0x01, 0x00});
    ASSERT_EQ(write(fd, request.data(), request.size()), ssize_t(request.size()));
    Bytes buffer(6, 0);
    const Bytes rtuReply = readSerialUntilQuiet(fd, milliseconds(300), seconds(5));
    close(fd);
    ASSERT_GE(rtuReply.size(), 4u);
    EXPECT_EQ(withCrc(Bytes(rtuReply.begin(), rtuReply.end() - 2)), rtuReply);
    buffer.insert(buffer.end(), rtuReply.begin(), rtuReply.end() - 2);
    t = decodeLikeTheTool(buffer);
    EXPECT_EQ(t.manufacturer, "ACME Automation");
    EXPECT_EQ(t.product, "VO3112 Sim");
    EXPECT_EQ(t.version, "2.10");
}

TEST(StationOverLinks, ErrorsSetOnStandardInputAndResetOverTheLink)
{
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    EXPECT_EQ(sim.command("error 0x8005"), "ok\n");
    EXPECT_EQ(sim.command("status do 1 0x31"), "ok\n");
    EXPECT_EQ(sim.command("status ai 3 3"), "ok\n");
    Master m = Master::tcp(sim.port());
    ASSERT_TRUE(m.connected());
    uint16_t word[2], modules[2], channels[8];
    ASSERT_EQ(modbus_read_input_registers(m.get(), 0x1500, 2, word), 2);
    EXPECT_EQ(word[0], 0x8005);
    ASSERT_EQ(modbus_read_input_registers(m.get(), 0x1570, 2, modules), 2);
    EXPECT_EQ(modules[0], 0x31);
    ASSERT_EQ(modbus_read_input_registers(m.get(), 0x1510, 8, channels), 8);
    EXPECT_EQ(channels[2], 3);

    EXPECT_EQ(modbus_write_register(m.get(), 0x1500, 0x0001), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    ASSERT_EQ(modbus_write_register(m.get(), 0x1501, 0x8041), 1);
    ASSERT_EQ(modbus_write_register(m.get(), 0x1500, 0xFFFF), 1);
    ASSERT_EQ(modbus_read_input_registers(m.get(), 0x1500, 2, word), 2);
    EXPECT_EQ(word[0], 0);
    EXPECT_EQ(word[1], 0x8041);
    ASSERT_EQ(modbus_read_input_registers(m.get(), 0x1570, 2, modules), 2);
    EXPECT_EQ(modules[0], 0);
}

TEST(StationOverLinks, UnknownFunctionAndBadQuantity)
{
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    Master m = Master::tcp(sim.port());
    ASSERT_TRUE(m.connected());
    uint8_t bits[8];
    EXPECT_EQ(modbus_read_bits(m.get(), 0, 8, bits), -1);
    EXPECT_EQ(errno, EMBXILFUN);
    // libmodbus refuses a quantity of 0 itself, so it goes by hand.
    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send({0, 3, 0, 0, 0, 6, 0x08, 0x04, 0x10, 0x00, 0x00, 0x00}));
    EXPECT_EQ(tcp.receive(9, seconds(5)), (Bytes{0, 3, 0, 0, 0, 3, 0x08, 0x84, 0x03}));
}

TEST(StationOverLinks, BroadcastWritesAreCarriedOutSilently)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess sim({"--rtu", pty.simSide()});
    ASSERT_TRUE(sim.ready());
    const int fd = openRawSerial(pty.masterSide());
    ASSERT_GE(fd, 0);
    const Bytes broadcast = withCrc({0x00, 0x06, 0x15, 0x01, 0x12, 0x34});
    ASSERT_EQ(write(fd, broadcast.data(), broadcast.size()), ssize_t(broadcast.size()));
    EXPECT_TRUE(readSerialUntilQuiet(fd, milliseconds(100), milliseconds(400)).empty());
    close(fd);
    EXPECT_NE(sim.command("show").find("alarm mask 1234"), std::string::npos);
}

TEST(StationOverLinks, EndsOnSignalsAndOnEndOfInput)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SimProcess sim({"--tcp", "127.0.0.1:0"});
        ASSERT_TRUE(sim.ready());
        sim.sendSignal(signal);
        EXPECT_EQ(sim.waitForExit(seconds(5)), 0) << signal;
    }
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    sim.closeStdin();
    EXPECT_EQ(sim.waitForExit(seconds(5)), 0);

    SimProcess background({"--tcp", "127.0.0.1:0", "--no-stdin"});
    ASSERT_TRUE(background.ready());
    background.closeStdin();
    EXPECT_FALSE(background.waitForExit(milliseconds(300))) << "ended without being told";
    background.sendSignal(SIGTERM);
    EXPECT_EQ(background.waitForExit(seconds(5)), 0);
}

TEST(StationOverLinks, HelpAndRefusedOptions)
{
    SimProcess help({"--help"});
    EXPECT_FALSE(help.ready());
    EXPECT_EQ(help.waitForExit(seconds(5)), 0);

    SimProcess bad({"--frame", "9"});
    EXPECT_FALSE(bad.ready());
    EXPECT_EQ(bad.waitForExit(seconds(5)), 2);

    SimProcess missing({"--rtu", "/nonexistent/tty"});
    EXPECT_FALSE(missing.ready());
    EXPECT_EQ(missing.waitForExit(seconds(5)), 1);
}
