// Each fault the simulator can inject, seen from the master's side.
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace simtest;
using namespace std::chrono;

namespace
{

const Bytes ReadSlotListTcp = {0x00, 0x11, 0, 0, 0, 6, 0x08, 0x04, 0x10, 0x00, 0x00, 0x0E};
constexpr size_t SlotListReplyTcp = 9 + 28;
constexpr size_t SlotListReplyRtu = 5 + 28;

int readSlotList(const Master &m)
{
    uint16_t regs[14];
    return modbus_read_input_registers(m.get(), 0x1000, 14, regs);
}

} // namespace

TEST(FaultInjection, DropIgnoresItsShareOfRequests)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--drop", "100"});
    ASSERT_TRUE(sim.ready());
    Master m = Master::tcp(sim.port());
    ASSERT_TRUE(m.connected());
    m.setTimeout(milliseconds(200));
    EXPECT_EQ(readSlotList(m), -1);
    EXPECT_EQ(errno, ETIMEDOUT);

    EXPECT_EQ(sim.command("drop 50"), "ok\n");
    int answered = 0;
    const int requests = 30;
    for (int i = 0; i < requests; ++i)
        answered += readSlotList(m) == 14;
    EXPECT_GT(answered, 0);
    EXPECT_LT(answered, requests);

    EXPECT_EQ(sim.command("drop 0"), "ok\n");
    EXPECT_EQ(readSlotList(m), 14);
}

TEST(FaultInjection, DelayHoldsTheReplyBack)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--delay", "600"});
    ASSERT_TRUE(sim.ready());
    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    // The reply cannot come before its delay; it does come after it.
    EXPECT_EQ(tcp.receiveOnce(milliseconds(200)), Bytes{});
    EXPECT_EQ(tcp.receive(SlotListReplyTcp, seconds(5)).size(), SlotListReplyTcp);
}

TEST(FaultInjection, ExceptionAnswersAFunctionCodeWithItsCode)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--exception", "4:2"});
    ASSERT_TRUE(sim.ready());
    Master m = Master::tcp(sim.port());
    ASSERT_TRUE(m.connected());
    EXPECT_EQ(readSlotList(m), -1);
    EXPECT_EQ(errno, EMBXILADD);

    EXPECT_EQ(sim.command("exception 4 0"), "ok\n");
    EXPECT_EQ(readSlotList(m), 14);

    EXPECT_EQ(sim.command("exception 23 4"), "ok\n");
    uint16_t out[5] = {}, in[11];
    EXPECT_EQ(modbus_write_and_read_registers(m.get(), 0x0900, 5, out, 0x0100, 11, in), -1);
    EXPECT_EQ(errno, EMBXSFAIL);
}

// The random shares for long runs: some requests hit, some not, and none
// when the share is 0.
TEST(FaultInjection, ExceptionShareAnswersSomeRequestsWithAnyCode)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--exception-share", "50", "--jitter", "20"});
    ASSERT_TRUE(sim.ready());
    Master m = Master::tcp(sim.port());
    ASSERT_TRUE(m.connected());
    m.setTimeout(milliseconds(1000));
    int answered = 0;
    int exceptions = 0;
    const int requests = 40;
    for (int i = 0; i < requests; ++i) {
        if (readSlotList(m) == 14)
            ++answered;
        else if (errno >= EMBXILFUN && errno <= EMBXGTAR)
            ++exceptions;
    }
    EXPECT_GT(answered, 0);
    EXPECT_GT(exceptions, 0);
    EXPECT_EQ(answered + exceptions, requests) << "nothing is lost, only answered otherwise";

    EXPECT_EQ(sim.command("exception-share 0"), "ok\n");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(readSlotList(m), 14);
}

TEST(FaultInjection, SplitShareSplitsSomeReplies)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--split", "150", "--split-share", "50"});
    ASSERT_TRUE(sim.ready());
    RawTcp tcp(sim.port());
    int split = 0;
    const int requests = 16;
    for (int i = 0; i < requests; ++i) {
        ASSERT_TRUE(tcp.send(ReadSlotListTcp));
        // The first segment comes at once; a split reply's rest 150 ms later.
        const auto first = tcp.receive(SlotListReplyTcp, milliseconds(75));
        if (first.size() < SlotListReplyTcp) {
            ++split;
            EXPECT_EQ(tcp.receive(SlotListReplyTcp - first.size(), seconds(5)).size(), SlotListReplyTcp - first.size());
        }
    }
    EXPECT_GT(split, 0);
    EXPECT_LT(split, requests);
}

TEST(FaultInjection, ResetMidReplySendsHalfAReplyThenResets)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--reset-mid-reply"});
    ASSERT_TRUE(sim.ready());
    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    // At most the first half gets through (a reset may overtake it), then
    // the connection ends with a reset, not a close.
    errno = 0;
    const Bytes got = tcp.receive(SlotListReplyTcp, seconds(5));
    EXPECT_LE(got.size(), SlotListReplyTcp / 2);
    EXPECT_EQ(errno, ECONNRESET);

    EXPECT_EQ(sim.command("reset off"), "ok\n");
    RawTcp again(sim.port());
    ASSERT_TRUE(again.send(ReadSlotListTcp));
    EXPECT_EQ(again.receive(SlotListReplyTcp, seconds(5)).size(), SlotListReplyTcp);
}

TEST(FaultInjection, SplitSendsTcpRepliesInTwoSegments)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--split", "400"});
    ASSERT_TRUE(sim.ready());
    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    const auto first = tcp.receiveOnce(seconds(5));
    ASSERT_TRUE(first);
    EXPECT_GT(first->size(), 0u);
    EXPECT_LT(first->size(), SlotListReplyTcp);
    Bytes whole = *first;
    const Bytes rest = tcp.receive(SlotListReplyTcp - whole.size(), seconds(5));
    whole.insert(whole.end(), rest.begin(), rest.end());

    EXPECT_EQ(sim.command("split 0"), "ok\n");
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    const auto unsplit = tcp.receiveOnce(seconds(5));
    ASSERT_TRUE(unsplit);
    EXPECT_EQ(unsplit->size(), SlotListReplyTcp);
    EXPECT_EQ(whole, *unsplit);
}

TEST(FaultInjection, BadLengthCorruptsTheMbapLengthField)
{
    SimProcess sim({"--tcp", "127.0.0.1:0", "--bad-length"});
    ASSERT_TRUE(sim.ready());
    RawTcp tcp(sim.port());
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    const Bytes reply = tcp.receive(SlotListReplyTcp, seconds(5));
    ASSERT_EQ(reply.size(), SlotListReplyTcp);
    EXPECT_NE((reply[4] << 8) | reply[5], int(reply.size() - 6));

    EXPECT_EQ(sim.command("bad-length off"), "ok\n");
    ASSERT_TRUE(tcp.send(ReadSlotListTcp));
    const Bytes good = tcp.receive(SlotListReplyTcp, seconds(5));
    ASSERT_EQ(good.size(), SlotListReplyTcp);
    EXPECT_EQ((good[4] << 8) | good[5], int(good.size() - 6));
}

TEST(FaultInjection, BadCrcIsCaughtByTheMaster)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess sim({"--rtu", pty.simSide(), "--bad-crc"});
    ASSERT_TRUE(sim.ready());
    Master m = Master::rtu(pty.masterSide());
    ASSERT_TRUE(m.connected());
    EXPECT_EQ(readSlotList(m), -1);
    EXPECT_EQ(errno, EMBBADCRC);
    EXPECT_EQ(sim.command("bad-crc off"), "ok\n");
    modbus_flush(m.get());
    EXPECT_EQ(readSlotList(m), 14);
}

TEST(FaultInjection, NoiseComesAheadOfTheRtuReply)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess sim({"--rtu", pty.simSide(), "--noise", "5", "--seed", "3"});
    ASSERT_TRUE(sim.ready());
    const int fd = openRawSerial(pty.masterSide());
    ASSERT_GE(fd, 0);
    const Bytes request = withCrc({0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});
    ASSERT_EQ(write(fd, request.data(), request.size()), ssize_t(request.size()));
    const Bytes line = readSerialUntilQuiet(fd, milliseconds(300), seconds(5));
    ASSERT_EQ(line.size(), 5 + SlotListReplyRtu);
    const Bytes reply(line.begin() + 5, line.end());
    EXPECT_EQ(withCrc(Bytes(reply.begin(), reply.end() - 2)), reply) << "the reply stays intact";
    EXPECT_EQ(reply[0], 0x08);
    EXPECT_EQ(reply[1], 0x04);

    EXPECT_EQ(sim.command("noise 0"), "ok\n");
    ASSERT_EQ(write(fd, request.data(), request.size()), ssize_t(request.size()));
    EXPECT_EQ(readSerialUntilQuiet(fd, milliseconds(300), seconds(5)), reply);
    close(fd);
}

TEST(FaultInjection, NoiseFromTheMasterIsDroppedAtTheNextSilence)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready());
    SimProcess sim({"--rtu", pty.simSide()});
    ASSERT_TRUE(sim.ready());
    const int fd = openRawSerial(pty.masterSide());
    ASSERT_GE(fd, 0);
    const Bytes garbage = {0x08, 0x04, 0x55, 0x13, 0x77, 0x01, 0x02, 0x03};
    ASSERT_EQ(write(fd, garbage.data(), garbage.size()), ssize_t(garbage.size()));
    EXPECT_TRUE(readSerialUntilQuiet(fd, milliseconds(100), milliseconds(300)).empty());
    const Bytes request = withCrc({0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});
    ASSERT_EQ(write(fd, request.data(), request.size()), ssize_t(request.size()));
    EXPECT_EQ(readSerialUntilQuiet(fd, milliseconds(300), seconds(5)).size(), SlotListReplyRtu);
    close(fd);
}
