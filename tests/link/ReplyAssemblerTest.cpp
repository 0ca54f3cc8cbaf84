#include "link/ReplyAssembler.h"
#include "LinkTestSupport.h"
#include "link/ModbusFrame.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace
{

constexpr quint8 Stale = 0xEE; // what RxFrame held before the reply

Bytes Repeat(size_t count, quint8 value)
{
    return Bytes(count, value);
}

Bytes Counting(size_t count, quint8 first = 0)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<quint8>(first + i);
    return bytes;
}

// Replies of the coupler, unit identifier first, as they go over the serial line.
const Bytes NineByteReply = WithCrc({0x08, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02});
const Bytes SlotListReply = WithCrc(Concat({{0x08, 0x04, 0x1C}, Counting(28, 0x30)}));
const Bytes ExceptionReply = WithCrc({0x08, 0x84, 0x02});
const Bytes WriteReply = WithCrc({0x08, 0x06, 0x15, 0x00, 0xFF, 0xFF});
const Bytes IdentityReply = WithCrc(Concat({{0x08, 0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x03},
                                            {0x00, 0x05, 'V', 'A', 'L', 'K', 'O'},
                                            {0x01, 0x06, 'V', 'O', '3', '1', '1', '2'},
                                            {0x02, 0x04, 'V', '1', '.', '0'}}));
// The coupler's own layout: a reserved byte before the objects, the version's
// length one short of its text.
const Bytes CouplerIdentityReply = WithCrc(Concat({{0x08, 0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x03, 0x00},
                                                   {0x00, 0x04, 'A', 'C', 'M', 'E'},
                                                   {0x01, 0x06, 'V', 'O', '3', '1', '1', '2'},
                                                   {0x02, 0x03, '2', '.', '0', '1'}}));
const Bytes UserFunctionReply = WithCrc({0x08, 0x41, 0x01, 0x02, 0x03});
const Bytes LargestSerialReply = WithCrc(Concat({{0x08, 0x03, 253}, Counting(253)}));
const Bytes SlotListRequestEcho = WithCrc({0x08, 0x04, 0x10, 0x00, 0x00, 0x0E});

Bytes Corrupted(Bytes frame, size_t index)
{
    frame[index] ^= 0x01;
    return frame;
}

Bytes Without(Bytes frame, size_t lastBytes)
{
    frame.resize(frame.size() - lastBytes);
    return frame;
}

struct FeedCase {
    const char *name;
    std::vector<Bytes> events;
    Bytes expected; // the frame that must arrive; empty: none
};

class ReplyAssemblerTest : public ::testing::Test
{
protected:
    void SetUp() override { rx.fill(Stale); }

    void restart()
    {
        assembler.reset();
        rx.fill(Stale);
        rxCount = 0;
    }

    QString tcp(const Bytes &bytes)
    {
        return assembler.feedTcp(bytes.data(), static_cast<int>(bytes.size()), rx, rxCount);
    }

    QString serial(const Bytes &bytes)
    {
        return assembler.feedSerial(bytes.data(), static_cast<int>(bytes.size()), rx, rxCount);
    }

    Bytes received(int from) const
    {
        return from >= rxCount ? Bytes() : Bytes(rx.begin() + from, rx.begin() + rxCount);
    }

    bool staleFrom(int from) const
    {
        return std::all_of(rx.begin() + from, rx.end(), [](quint8 b) { return b == Stale; });
    }

    bool staleBetween(int from, int to) const
    {
        return std::all_of(rx.begin() + from, rx.begin() + to, [](quint8 b) { return b == Stale; });
    }

    ReplyAssembler assembler;
    ModbusBuffer rx{};
    quint16 rxCount = 0;
};

// ---- Modbus/TCP ----------------------------------------------------------

const Bytes ReadReplyTcp = TcpReply(0x0001, {0x08, 0x04, 0x02, 0x12, 0x34});
const Bytes SlotListReplyTcp = TcpReply(0x0102, Concat({{0x08, 0x04, 0x1C}, Counting(28, 0x30)}));
const Bytes FullBufferTcp = TcpReply(0x0003, Concat({{0x08, 0x17, 0xFF}, Counting(255)}));

Bytes WithTcpLength(Bytes frame, int length)
{
    frame[4] = static_cast<quint8>(length >> 8);
    frame[5] = static_cast<quint8>(length & 0xFF);
    return frame;
}

TEST_F(ReplyAssemblerTest, TcpFramesBecomeRepliesOnlyWhenComplete)
{
    const Bytes head(ReadReplyTcp.begin(), ReadReplyTcp.begin() + 6);
    const Bytes body(ReadReplyTcp.begin() + 6, ReadReplyTcp.end());
    const Bytes oversized = Concat({WithTcpLength(ReadReplyTcp, 261), Repeat(300, 0x55)});
    const FeedCase cases[] = {
        {"read reply in one segment", {ReadReplyTcp}, ReadReplyTcp},
        {"exception reply", {TcpReply(2, {0x08, 0x84, 0x02})}, TcpReply(2, {0x08, 0x84, 0x02})},
        {"frame filling the whole buffer", {FullBufferTcp}, FullBufferTcp},
        {"header and body in two segments", {head, body}, ReadReplyTcp},
        {"empty segments around the reply", {{}, ReadReplyTcp, {}}, ReadReplyTcp},
        {"bytes behind the frame are left out", {Concat({ReadReplyTcp, Repeat(20, 0x77)})}, ReadReplyTcp},
        {"length field promises more than arrives", {WithTcpLength(ReadReplyTcp, 6)}, {}},
        {"header only", {head}, {}},
        {"protocol identifier not 0",
         {Concat({{0x00, 0x01, 0x00, 0x01}, Bytes(ReadReplyTcp.begin() + 4, ReadReplyTcp.end())})},
         {}},
        {"length field 0", {WithTcpLength(Bytes(ReadReplyTcp.begin(), ReadReplyTcp.begin() + 6), 0)}, {}},
        {"length field 2: no byte behind the function code", {TcpReply(4, {0x08, 0x04})}, {}},
        {"length field beyond the buffer, 300 more bytes", {oversized}, {}},
        {"300 bytes of garbage", {Repeat(300, 0xFF)}, {}},
    };
    for (const FeedCase &c : cases) {
        restart();
        for (const Bytes &event : c.events)
            tcp(event);
        EXPECT_EQ(rxCount, c.expected.size()) << c.name;
        EXPECT_EQ(received(0), c.expected) << c.name;
        EXPECT_TRUE(staleFrom(static_cast<int>(c.expected.size()))) << c.name;
        EXPECT_EQ(assembler.complete(), !c.expected.empty()) << c.name;
    }
}

TEST_F(ReplyAssemblerTest, TcpReplySplitAtEveryPoint)
{
    const Bytes &frame = SlotListReplyTcp;
    for (size_t cut = 1; cut < frame.size(); ++cut) {
        restart();
        tcp(Bytes(frame.begin(), frame.begin() + static_cast<long>(cut)));
        ASSERT_EQ(rxCount, 0) << "cut " << cut;
        ASSERT_TRUE(staleFrom(0)) << "cut " << cut;
        tcp(Bytes(frame.begin() + static_cast<long>(cut), frame.end()));
        ASSERT_EQ(received(0), frame) << "cut " << cut;
    }
    restart();
    for (size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(rxCount, 0) << "byte " << i;
        tcp({frame[i]});
    }
    EXPECT_EQ(received(0), frame);
}

TEST_F(ReplyAssemblerTest, TcpSegmentsAfterACompleteFrameChangeNothing)
{
    tcp(ReadReplyTcp);
    const ModbusBuffer before = rx;
    const QString text = tcp(SlotListReplyTcp);
    EXPECT_EQ(rxCount, ReadReplyTcp.size());
    EXPECT_EQ(rx, before);
    EXPECT_EQ(text, TcpReceiveText(SlotListReplyTcp.data(), static_cast<int>(SlotListReplyTcp.size())));
}

TEST_F(ReplyAssemblerTest, ResetForgetsHalfAFrame)
{
    tcp(Bytes(SlotListReplyTcp.begin(), SlotListReplyTcp.begin() + 10));
    restart();
    tcp(ReadReplyTcp);
    EXPECT_EQ(received(0), ReadReplyTcp);

    restart();
    serial(Bytes(SlotListReply.begin(), SlotListReply.begin() + 10));
    restart();
    serial(NineByteReply);
    EXPECT_EQ(received(6), NineByteReply);
}

TEST_F(ReplyAssemblerTest, EveryTcpSegmentIsRenderedForTheMonitor)
{
    const Bytes garbage = Repeat(300, 0xA5);
    const QString text = tcp(garbage);
    EXPECT_EQ(text.size(), 300 * 4);
    EXPECT_TRUE(text.startsWith(QStringLiteral("A5  A5  ")));
    EXPECT_EQ(tcp({0x00, 0x1F}), QStringLiteral("00  1F  "));
    EXPECT_EQ(tcp({}), QString());
}

// ---- Modbus RTU ----------------------------------------------------------

TEST_F(ReplyAssemblerTest, SerialFramesBecomeRepliesOnlyWhenComplete)
{
    const Bytes half(SlotListReply.begin(), SlotListReply.begin() + 16);
    const FeedCase cases[] = {
        {"nine-byte reply in one event", {NineByteReply}, NineByteReply},
        {"exception reply", {ExceptionReply}, ExceptionReply},
        {"write reply", {WriteReply}, WriteReply},
        {"device identification", {IdentityReply}, IdentityReply},
        {"device identification as the coupler lays it out", {CouplerIdentityReply}, CouplerIdentityReply},
        {"function code that does not tell its length", {UserFunctionReply}, UserFunctionReply},
        {"largest reply that fits", {LargestSerialReply}, LargestSerialReply},
        {"empty events around the reply", {{}, NineByteReply, {}}, NineByteReply},
        {"bytes behind the frame are left out", {Concat({NineByteReply, {0x00, 0x00}})}, NineByteReply},
        {"a noise byte in front", {Concat({{0x00}, NineByteReply})}, NineByteReply},
        {"two noise bytes in front, separate event", {{0xFF, 0xFF}, SlotListReply}, SlotListReply},
        {"echo of the request in front", {SlotListRequestEcho, SlotListReply}, SlotListReply},
        {"wrong CRC", {Corrupted(NineByteReply, 8)}, {}},
        {"wrong data byte", {Corrupted(SlotListReply, 12)}, {}},
        {"wrong CRC, more bytes follow", {Corrupted(NineByteReply, 7), Repeat(10, 0x00)}, {}},
        {"half a reply", {half}, {}},
        {"CRC missing", {Without(NineByteReply, 2)}, {}},
        {"byte count promises more than arrives", {WithCrc({0x08, 0x04, 0x08, 0x00, 0x01})}, {}},
        {"four bytes with a right CRC are too short", {WithCrc({0x08, 0x41})}, {}},
        {"byte count too large for the buffer", {WithCrc(Concat({{0x08, 0x03, 0xFF}, Counting(255)}))}, {}},
        {"300 bytes of a function without told length", {Concat({{0x08, 0x41}, Repeat(298, 0x11)})}, {}},
        {"300 bytes of garbage", {Repeat(300, 0xFF)}, {}},
    };
    for (const FeedCase &c : cases) {
        restart();
        for (const Bytes &event : c.events)
            serial(event);
        const int expectedCount = c.expected.empty() ? 0 : 6 + static_cast<int>(c.expected.size());
        EXPECT_EQ(rxCount, expectedCount) << c.name;
        EXPECT_EQ(received(6), c.expected) << c.name;
        EXPECT_TRUE(staleBetween(0, 6)) << c.name << ": header room must stay as it was";
        EXPECT_TRUE(staleFrom(6 + static_cast<int>(c.expected.size()))) << c.name;
    }
}

TEST_F(ReplyAssemblerTest, SerialReplySplitAtEveryPoint)
{
    for (const Bytes *frame : {&SlotListReply, &IdentityReply, &CouplerIdentityReply, &UserFunctionReply}) {
        for (size_t cut = 1; cut < frame->size(); ++cut) {
            restart();
            serial(Bytes(frame->begin(), frame->begin() + static_cast<long>(cut)));
            ASSERT_EQ(rxCount, 0) << frame->size() << "-byte frame, cut " << cut;
            ASSERT_TRUE(staleFrom(0)) << "cut " << cut;
            serial(Bytes(frame->begin() + static_cast<long>(cut), frame->end()));
            ASSERT_EQ(received(6), *frame) << frame->size() << "-byte frame, cut " << cut;
        }
        restart();
        for (size_t i = 0; i < frame->size(); ++i) {
            ASSERT_EQ(rxCount, 0) << "byte " << i;
            serial({(*frame)[i]});
        }
        EXPECT_EQ(received(6), *frame);
    }
}

// A read reply whose first five bytes are followed by their own CRC: a rule
// that only looks at the last two bytes would take the first seven as a reply.
TEST_F(ReplyAssemblerTest, CrcMatchingInsideAReplyDoesNotCutItShort)
{
    Bytes start{0x08, 0x04, 0x06, 0x12, 0x34};
    const Bytes prefix = WithCrc(start);
    const Bytes frame = WithCrc(Concat({prefix, {0x56, 0x78}}));
    ASSERT_EQ(frame.size(), 11u);
    for (size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(rxCount, 0) << "after " << i << " bytes";
        serial({frame[i]});
    }
    EXPECT_EQ(received(6), frame);
}

TEST_F(ReplyAssemblerTest, SerialBytesAfterACompleteFrameChangeNothing)
{
    serial(ExceptionReply);
    const ModbusBuffer before = rx;
    serial(NineByteReply);
    EXPECT_EQ(rxCount, 6 + ExceptionReply.size());
    EXPECT_EQ(rx, before);
}

TEST_F(ReplyAssemblerTest, EverySerialEventIsRenderedForTheMonitor)
{
    const QString text = serial(NineByteReply);
    EXPECT_EQ(text.size(), 18);
    EXPECT_EQ(text, SerialReceiveText(NineByteReply.data(), 9));
    EXPECT_EQ(serial({0xAB, 0x01}), QStringLiteral("AB01"));
    EXPECT_EQ(serial(Repeat(300, 0x5A)).size(), 600);
}

// ---- Replies behind noise ------------------------------------------------

// Every kind of request the windows send, with its reply as the coupler
// sends it (unit identifier first, CRC behind).
struct RequestAndReply {
    const char *name;
    Bytes request; // unit identifier to the last data byte, as sent
    Bytes reply;
};

const Bytes IdentityRequest{0x08, 0x2B, 0x0E, 0x01, 0x00};
const Bytes ProcessDataRequest{0x08, 0x17, 0x01, 0x00, 0x00, 0x04, 0x09, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00};

const RequestAndReply ReplyKinds[] = {
    {"read holding registers (3)", {0x08, 0x03, 0x20, 0x00, 0x00, 0x02}, WithCrc({0x08, 0x03, 0x04, 0, 1, 0, 2})},
    {"read input registers (4)", {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E}, SlotListReply},
    {"write single register (6)", {0x08, 0x06, 0x15, 0x00, 0xFF, 0xFF}, WriteReply},
    {"write multiple registers (16)",
     {0x08, 0x10, 0x20, 0x00, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x02},
     WithCrc({0x08, 0x10, 0x20, 0x00, 0x00, 0x02})},
    {"read/write multiple registers (23)", ProcessDataRequest,
     WithCrc(Concat({{0x08, 0x17, 0x08}, Counting(8, 0xF0)}))},
    {"device identification (43)", IdentityRequest, IdentityReply},
    {"device identification, coupler layout (43)", IdentityRequest, CouplerIdentityReply},
    {"exception to 3", {0x08, 0x03, 0x20, 0x00, 0x00, 0x02}, WithCrc({0x08, 0x83, 0x02})},
    {"exception to 4", {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E}, ExceptionReply},
    {"exception to 6", {0x08, 0x06, 0x15, 0x00, 0xFF, 0xFF}, WithCrc({0x08, 0x86, 0x03})},
    {"exception to 16", {0x08, 0x10, 0x20, 0x00, 0x00, 0x01, 0x02, 0x00, 0x01}, WithCrc({0x08, 0x90, 0x02})},
    {"exception to 23", ProcessDataRequest, WithCrc({0x08, 0x97, 0x04})},
    {"exception to 43", IdentityRequest, WithCrc({0x08, 0xAB, 0x01})},
    {"another unit", {0x11, 0x04, 0x10, 0x00, 0x00, 0x01}, WithCrc({0x11, 0x04, 0x02, 0x00, 0x05})},
};

struct NoiseCase {
    const char *name;
    Bytes noise;
};

const NoiseCase Noises[] = {
    {"one zero byte", {0x00}},
    {"three 0xFF", {0xFF, 0xFF, 0xFF}},
    {"a start whose function code tells no length", {0x55, 0x50, 0x33}},
    {"a read start promising 245 bytes", {0x12, 0x03, 0xF0}},
    {"a write start that the reply completes", {0x12, 0x06}},
    {"an exception start", {0x12, 0x81}},
    {"identification of another unit", {0x12, 0x2B, 0x0E}},
    {"unit and function of the awaited reply", {0x08, 0x2B}},
    {"a burst of 40 counting bytes", Counting(40, 0x61)},
};

class NoisyLine : public ReplyAssemblerTest
{
protected:
    void expect(const Bytes &request)
    {
        restart();
        assembler.expectReplyTo(request.data(), static_cast<int>(request.size()));
    }
};

// The noise as an event of its own, in one event with the reply, and the
// reply byte by byte behind it: the awaited reply is found whole every time.
TEST_F(NoisyLine, EveryReplyKindIsFoundBehindNoise)
{
    for (const RequestAndReply &kind : ReplyKinds) {
        for (const NoiseCase &noise : Noises) {
            const std::string name = std::string(kind.name) + " behind " + noise.name;
            expect(kind.request);
            serial(noise.noise);
            serial(kind.reply);
            EXPECT_EQ(received(6), kind.reply) << name << ", separate events";

            expect(kind.request);
            serial(Concat({noise.noise, kind.reply}));
            EXPECT_EQ(received(6), kind.reply) << name << ", one event";

            expect(kind.request);
            serial(noise.noise);
            for (quint8 b : kind.reply)
                serial({b});
            EXPECT_EQ(received(6), kind.reply) << name << ", byte by byte";
            EXPECT_TRUE(staleBetween(0, 6)) << name;
        }
    }
}

// As the simulator's --noise does: N random bytes, then the reply.
TEST_F(NoisyLine, RandomNoiseInFrontNeverLosesTheReply)
{
    std::mt19937 random(0x0A15Eu);
    for (const RequestAndReply &kind : ReplyKinds) {
        for (int round = 0; round < 3000; ++round) {
            Bytes noise(static_cast<size_t>(1 + round % 8));
            for (quint8 &b : noise)
                b = static_cast<quint8>(random());
            expect(kind.request);
            serial(noise);
            serial(kind.reply);
            // As the transport does: a frame that is no reply to the request
            // is passed over and the bytes behind it are looked at.
            auto notAwaited = [&] { return rx[6] != kind.request[0] || (rx[7] & 0x7F) != kind.request[1]; };
            while (rxCount > 0 && notAwaited() && assembler.skipFrame(rx, rxCount)) {
            }
            ASSERT_EQ(received(6), kind.reply) << kind.name << ", round " << round;
        }
    }
}

// An adapter that hears its own transmission hands the request back first.
TEST_F(NoisyLine, AnEchoOfTheIdentificationRequestIsNoReply)
{
    const Bytes echo = WithCrc(IdentityRequest);
    for (const Bytes &reply : {IdentityReply, CouplerIdentityReply}) {
        expect(IdentityRequest);
        serial(echo);
        EXPECT_EQ(rxCount, 0);
        serial(reply);
        EXPECT_EQ(received(6), reply);
    }
    // Without the request known, a lone CRC-correct frame is taken as before.
    restart();
    serial(echo);
    EXPECT_EQ(received(6), echo);
}

// Inside a reply still arriving, nothing that looks like a frame of its own
// is taken: the device identification's texts are free bytes.
TEST_F(NoisyLine, AFrameInsideTheAwaitedReplyIsNotTakenForIt)
{
    const Bytes inner = WithCrc({0x30, 0x06, 0x01, 0x02, 0x03, 0x04});
    const Bytes reply = WithCrc(Concat({{0x08, 0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x01}, {0x00, 0x08}, inner}));
    expect(IdentityRequest);
    for (size_t i = 0; i + 1 < reply.size(); ++i) {
        serial({reply[i]});
        ASSERT_EQ(rxCount, 0) << "after " << i + 1 << " bytes";
    }
    serial({reply.back()});
    EXPECT_EQ(received(6), reply);
}

// ---- Random streams ------------------------------------------------------

class StreamMaker
{
public:
    explicit StreamMaker(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    quint8 byte() { return static_cast<quint8>(below(256)); }
    Bytes bytes(int count)
    {
        Bytes b(static_cast<size_t>(count));
        for (quint8 &x : b)
            x = byte();
        return b;
    }
    // Mostly short, sometimes up to the limit.
    int size(int limit) { return below(4) == 0 ? below(limit + 1) : below(std::min(limit, 40) + 1); }

    // A serial reply; `known` tells whether its function code tells its length.
    Bytes rtuReply(bool &known)
    {
        known = true;
        const quint8 unit = byte();
        switch (below(7)) {
        case 0:
            return WithCrc({unit, static_cast<quint8>(0x80 | byte()), byte()});
        case 1: {
            static constexpr quint8 Reads[] = {1, 2, 3, 4, 12, 17, 23};
            const int count = size(253);
            return WithCrc(Concat({{unit, Reads[below(7)], static_cast<quint8>(count)}, bytes(count)}));
        }
        case 2: {
            static constexpr quint8 Writes[] = {5, 6, 11, 15, 16};
            return WithCrc(Concat({{unit, Writes[below(5)]}, bytes(4)}));
        }
        case 3:
            return WithCrc(Concat({{unit, 22}, bytes(6)}));
        case 4: {
            Bytes frame{unit, 0x2B, 0x0E, 0x01, 0x01, 0x00, 0x00, 0x00};
            int objects = 0;
            for (int left = below(6); left > 0; --left) {
                const int length = size(60);
                if (frame.size() + 2 + static_cast<size_t>(length) + 2 > 258)
                    break;
                frame.push_back(static_cast<quint8>(objects));
                frame.push_back(static_cast<quint8>(length));
                const Bytes value = bytes(length);
                frame.insert(frame.end(), value.begin(), value.end());
                ++objects;
            }
            frame[7] = static_cast<quint8>(objects);
            // Identification replies end where their CRC checks, which a
            // random payload may do early.
            known = false;
            return WithCrc(frame);
        }
        default:
            known = false;
            return WithCrc(Concat({{unit, static_cast<quint8>(0x41 + below(20))}, bytes(1 + size(100))}));
        }
    }

    Bytes tcpReply()
    {
        const int pdu = 3 + size(255);
        return TcpReply(static_cast<quint16>(below(65536)), bytes(pdu));
    }

    // Cuts a stream into events, empty ones included.
    std::vector<Bytes> events(const Bytes &stream)
    {
        std::vector<Bytes> result;
        size_t at = 0;
        for (int left = 1 + below(6); left > 1 && at < stream.size(); --left) {
            const size_t take = static_cast<size_t>(below(static_cast<int>(stream.size() - at) + 1));
            result.emplace_back(stream.begin() + static_cast<long>(at), stream.begin() + static_cast<long>(at + take));
            at += take;
        }
        result.emplace_back(stream.begin() + static_cast<long>(at), stream.end());
        return result;
    }

private:
    std::mt19937 random_;
};

enum class Shape { Clean, Truncated, NoiseInFront, OneByteChanged, Garbage, TrailingBytes };

bool contains(const Bytes &stream, const Bytes &frame)
{
    return std::search(stream.begin(), stream.end(), frame.begin(), frame.end()) != stream.end();
}

// Whatever arrives, RxCount stays within the buffer, nothing shows before a
// frame is complete, and what shows is one intact frame of the stream.
TEST_F(ReplyAssemblerTest, RandomStreamsOnlyEverYieldCompleteIntactFrames)
{
    StreamMaker make(0x5EED1234u);
    int delivered[2] = {0, 0};
    for (int round = 0; round < 200000; ++round) {
        const bool onTcp = round % 2 == 0;
        bool known = true;
        const Bytes frame = onTcp ? make.tcpReply() : make.rtuReply(known);
        const auto shape = static_cast<Shape>(make.below(6));
        Bytes stream;
        switch (shape) {
        case Shape::Clean:
            stream = frame;
            break;
        case Shape::Truncated:
            stream = Without(frame, 1 + static_cast<size_t>(make.below(static_cast<int>(frame.size()))));
            break;
        case Shape::NoiseInFront:
            stream = Concat({make.bytes(1 + make.below(4)), frame});
            break;
        case Shape::OneByteChanged:
            stream = frame;
            stream[static_cast<size_t>(make.below(static_cast<int>(stream.size())))] ^=
                static_cast<quint8>(1 + make.below(255));
            break;
        case Shape::Garbage:
            stream = make.bytes(make.size(320));
            break;
        case Shape::TrailingBytes:
            stream = Concat({frame, make.bytes(1 + make.size(60))});
            break;
        }

        restart();
        quint16 firstCount = 0;
        ModbusBuffer firstFrame{};
        for (const Bytes &event : make.events(stream)) {
            if (onTcp)
                tcp(event);
            else
                serial(event);
            ASSERT_LE(rxCount, 264) << "round " << round;
            if (rxCount == 0) {
                ASSERT_TRUE(staleFrom(0)) << "round " << round << ": bytes visible before completion";
                continue;
            }
            if (firstCount == 0) {
                firstCount = rxCount;
                firstFrame = rx;
            }
            ASSERT_EQ(rxCount, firstCount) << "round " << round << ": reply changed";
            ASSERT_EQ(rx, firstFrame) << "round " << round << ": reply changed";
        }
        if (rxCount != 0) {
            ++delivered[onTcp ? 0 : 1];
            if (onTcp) {
                const Bytes got = received(0);
                ASSERT_GE(got.size(), 9u) << "round " << round;
                ASSERT_EQ(got[2] | got[3], 0) << "round " << round;
                ASSERT_EQ(((got[4] << 8) | got[5]) + 6, rxCount) << "round " << round;
                ASSERT_TRUE(std::equal(got.begin(), got.end(), stream.begin())) << "round " << round;
            } else {
                const Bytes got = received(6);
                ASSERT_GE(got.size(), 5u) << "round " << round;
                ASSERT_TRUE(staleBetween(0, 6)) << "round " << round;
                ASSERT_EQ(BitwiseCrc16(got.data(), got.size()), 0) << "round " << round << ": CRC";
                ASSERT_TRUE(contains(stream, got)) << "round " << round << ": not from the stream";
            }
            ASSERT_TRUE(staleFrom(rxCount)) << "round " << round;
        }
        // Where the outcome is certain, check it too.
        if (known && (shape == Shape::Clean || shape == Shape::TrailingBytes)) {
            ASSERT_EQ(received(onTcp ? 0 : 6), frame) << "round " << round << ": reply lost";
        }
        if (known && shape == Shape::Truncated) {
            ASSERT_EQ(rxCount, 0) << "round " << round << ": truncated frame taken";
        }
    }
    // The loop must have exercised delivery on both links.
    EXPECT_GT(delivered[0], 10000);
    EXPECT_GT(delivered[1], 10000);
}

} // namespace

namespace
{

// Both links open at once: bytes of one never stitch onto the other's.
TEST_F(ReplyAssemblerTest, BytesOfTheOtherLinkStartOver)
{
    Bytes garbage(300, 0x11); // protocol id 0x1111: never a TCP frame
    tcp(garbage);
    ASSERT_EQ(rxCount, 0);
    serial(NineByteReply);
    EXPECT_EQ(received(6), NineByteReply);
    restart();
    serial(Bytes(NineByteReply.begin(), NineByteReply.begin() + 4));
    tcp(ReadReplyTcp);
    EXPECT_EQ(received(0), ReadReplyTcp);
}

} // namespace
