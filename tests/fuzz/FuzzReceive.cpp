// The receive paths against whatever may arrive: tables of near-valid replies,
// then a bounded random loop with fixed seeds. Built with AddressSanitizer and
// UBSan, so a read or write outside RxFrame or the input ends the run; the
// checker catches every other broken rule. Exits 1 at the first violation with
// what was fed.
#include "Frames.h"
#include "ReceiveChecker.h"
#include "WindowFuzz.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace fuzz;

namespace
{

struct Part {
    Link link;
    Bytes bytes;
};

enum class Expect { Delivered, Nothing, Any };

struct Case {
    std::string name;
    std::vector<Part> parts;
    Expect expect;
    int rxCount = 0;        // when delivered
    bool wholeOnly = false; // a split may end on a chance CRC match first
};

// Event boundaries of one part, cut at the given offsets; no cuts: one event.
std::vector<size_t> Bounds(size_t size, std::vector<size_t> cuts)
{
    std::vector<size_t> bounds{0};
    cuts.push_back(size);
    for (size_t cut : cuts)
        bounds.push_back(std::min(std::max(cut, bounds.back()), size));
    return bounds;
}

std::vector<size_t> RandomCuts(std::mt19937 &rng, size_t size)
{
    std::uniform_int_distribution<size_t> at(0, size);
    std::vector<size_t> cuts(std::uniform_int_distribution<size_t>(0, 12)(rng));
    for (size_t &cut : cuts)
        cut = at(rng);
    std::sort(cuts.begin(), cuts.end());
    return cuts; // equal cuts give zero-length events
}

std::vector<size_t> EveryByte(size_t size)
{
    std::vector<size_t> cuts;
    for (size_t i = 1; i < size; ++i)
        cuts.push_back(i);
    return cuts;
}

std::vector<size_t> EveryN(size_t size, size_t n)
{
    std::vector<size_t> cuts;
    for (size_t i = n; i < size; i += n)
        cuts.push_back(i);
    return cuts;
}

// Feeds bytes[from..to) as one event, in a block of its own size so that
// reading past the event is caught too.
bool FeedEvent(ReceiveChecker &checker, Link link, const Bytes &bytes, size_t from, size_t to)
{
    if (from == to) {
        static const quint8 one = 0;
        return checker.feed(link, nullptr, 0) && checker.feed(link, &one, 0);
    }
    const std::unique_ptr<quint8[]> block(new quint8[to - from]);
    std::memcpy(block.get(), bytes.data() + from, to - from);
    return checker.feed(link, block.get(), static_cast<int>(to - from));
}

[[noreturn]] void Abort(const std::string &where, const ReceiveChecker &checker)
{
    std::fprintf(stderr, "FAILED %s: %s\n", where.c_str(), checker.failure().c_str());
    std::exit(1);
}

const char *LinkName(Link link)
{
    return link == Link::Tcp ? "tcp" : "serial";
}

std::vector<Case> TcpCases()
{
    const Bytes slotList = TcpFrame(1, Concat({{0x08, 0x04, 28}, Counting(28, 0x30)}));
    auto ofSize = [](size_t total) { return TcpFrame(2, Concat({{0x08, 0x41}, Counting(total - 8)})); };
    auto tcp = [](Bytes bytes) { return std::vector<Part>{{Link::Tcp, std::move(bytes)}}; };
    std::vector<Case> cases = {
        {"slot list reply", tcp(slotList), Expect::Delivered, 37},
        {"exception reply", tcp(TcpFrame(3, {0x08, 0x84, 0x02})), Expect::Delivered, 9},
        {"smallest reply", tcp(TcpFrame(3, {0x08, 0x41, 0x00})), Expect::Delivered, 9},
        {"255-byte frame", tcp(ofSize(255)), Expect::Delivered, 255},
        {"256-byte frame", tcp(ofSize(256)), Expect::Delivered, 256},
        {"264-byte frame", tcp(ofSize(264)), Expect::Delivered, 264},
        {"265-byte frame", tcp(ofSize(265)), Expect::Nothing},
        {"600-byte frame", tcp(ofSize(600)), Expect::Nothing},
        {"length field one short", tcp(WithTcpLength(slotList, 30)), Expect::Delivered, 36},
        {"length field one long", tcp(WithTcpLength(slotList, 32)), Expect::Nothing},
        {"length field one long, more bytes behind", tcp(Concat({WithTcpLength(slotList, 32), slotList})),
         Expect::Delivered, 38},
        {"length field 0", tcp(Concat({WithTcpLength(slotList, 0), slotList})), Expect::Nothing},
        {"length field 2", tcp(Concat({WithTcpLength(slotList, 2), slotList})), Expect::Nothing},
        {"length field 258 with 600 bytes", tcp(WithTcpLength(ofSize(600), 258)), Expect::Delivered, 264},
        {"length field 259 with 600 bytes", tcp(WithTcpLength(ofSize(600), 259)), Expect::Nothing},
        {"length field 0xFFFF", tcp(WithTcpLength(ofSize(600), 0xFFFF)), Expect::Nothing},
        {"protocol identifier 1", tcp([&] {
             Bytes b = slotList;
             b[3] = 1;
             return b;
         }()),
         Expect::Nothing},
        {"bare header", tcp(TcpFrame(4, {})), Expect::Nothing},
        {"two replies in one segment", tcp(Concat({slotList, slotList})), Expect::Delivered, 37},
        {"600 bytes 0xFF", tcp(Bytes(600, 0xFF)), Expect::Nothing},
        {"600 zero bytes", tcp(Bytes(600, 0x00)), Expect::Nothing},
        {"nothing at all", tcp({}), Expect::Nothing},
    };
    for (size_t i = 0; i < slotList.size(); ++i) {
        Bytes flipped = slotList;
        flipped[i] ^= 0x5A;
        // Header bytes decide; the checker's TCP rule knows each outcome.
        cases.push_back({"slot list reply, byte " + std::to_string(i) + " flipped", tcp(flipped),
                         i >= 6 ? Expect::Delivered : Expect::Any, 37});
    }
    return cases;
}

std::vector<Case> SerialCases()
{
    const Bytes slotList = WithCrc(Concat({{0x08, 0x04, 28}, Counting(28, 0x30)}));
    const Bytes identity = WithCrc(
        DeviceIdentification({{'V', 'A', 'L', 'K', 'O'}, {'V', 'O', '3', '1', '1', '2'}, {'V', '1', '.', '0'}}));
    auto read = [](size_t total) { // function 3, byte count total - 5
        return WithCrc(Concat({{0x08, 0x03, static_cast<quint8>(total - 5)}, Counting(total - 5)}));
    };
    auto user = [](size_t total) { return WithCrc(Concat({{0x08, 0x41}, Counting(total - 4, 0x80)})); };
    auto serial = [](Bytes bytes) { return std::vector<Part>{{Link::Serial, std::move(bytes)}}; };
    Bytes countOneMore = slotList;
    countOneMore[2] += 1;
    countOneMore = WithCrc(Bytes(countOneMore.begin(), countOneMore.end() - 2));
    Bytes countOneLess = slotList;
    countOneLess[2] -= 1;
    countOneLess = WithCrc(Bytes(countOneLess.begin(), countOneLess.end() - 2));
    std::vector<Case> cases = {
        {"slot list reply", serial(slotList), Expect::Delivered, 6 + 33},
        {"exception reply", serial(WithCrc({0x08, 0x84, 0x02})), Expect::Delivered, 6 + 5},
        {"write register reply", serial(WithCrc({0x08, 0x06, 0x15, 0x00, 0xFF, 0xFF})), Expect::Delivered, 6 + 8},
        {"exception status reply", serial(WithCrc({0x08, 0x07, 0x5A})), Expect::Delivered, 6 + 5},
        {"mask write reply", serial(WithCrc({0x08, 0x16, 0, 1, 2, 3, 4, 5})), Expect::Delivered, 6 + 10},
        {"device identification", serial(identity), Expect::Delivered, 6 + static_cast<int>(identity.size())},
        {"device identification, object count lies", serial([&] {
             Bytes b = identity;
             b[7] = 200;
             return WithCrc(Bytes(b.begin(), b.end() - 2));
         }()),
         Expect::Any},
        {"device identification, object length lies", serial([&] {
             Bytes b = identity;
             b[9] = 250;
             return WithCrc(Bytes(b.begin(), b.end() - 2));
         }()),
         Expect::Any},
        {"255-byte read reply", serial(read(255)), Expect::Delivered, 6 + 255},
        {"256-byte read reply", serial(read(256)), Expect::Delivered, 6 + 256},
        {"258-byte read reply, the largest that fits", serial(read(258)), Expect::Delivered, 264},
        {"259-byte read reply", serial(read(259)), Expect::Any},
        {"260-byte read reply", serial(read(260)), Expect::Any},
        {"264-byte reply", serial(user(264)), Expect::Any},
        {"265-byte reply", serial(user(265)), Expect::Any},
        {"600-byte reply", serial(user(600)), Expect::Any},
        {"258-byte reply of a function without told length", serial(user(258)), Expect::Delivered, 264, true},
        {"5-byte reply of a function without told length", serial(user(5)), Expect::Delivered, 11, true},
        {"byte count one more than sent", serial(countOneMore), Expect::Nothing},
        {"byte count one less than sent", serial(countOneLess), Expect::Any},
        {"request echo before the reply", serial(Concat({WithCrc({0x08, 0x04, 0x10, 0x00, 0x00, 0x0E}), slotList})),
         Expect::Delivered, 6 + 33},
        {"function code 0 before the reply", serial(Concat({{0x00, 0x00}, slotList})), Expect::Delivered, 6 + 33},
        {"600 zero bytes", serial(Bytes(600, 0x00)), Expect::Nothing},
        {"600 bytes 0xFF", serial(Bytes(600, 0xFF)), Expect::Any},
        {"nothing at all", serial({}), Expect::Nothing},
    };
    for (const Bytes *frame : {&slotList, &identity}) {
        for (size_t i = 0; i < frame->size(); ++i) {
            Bytes flipped = *frame;
            flipped[i] ^= 0x01;
            cases.push_back({std::string(frame == &slotList ? "slot list" : "identity") + " reply, byte " +
                                 std::to_string(i) + " flipped",
                             serial(flipped), Expect::Any});
        }
    }
    return cases;
}

// Both links feeding one assembler between two sends: the transport connects
// the serial port and the TCP socket to the same one, and both can be open.
std::vector<Case> MixedCases()
{
    const Bytes serialReply = WithCrc(Concat({{0x08, 0x04, 28}, Counting(28, 0x30)}));
    return {
        {"TCP bytes that never complete, then a serial reply",
         {{Link::Tcp, Bytes(264, 0xFF)}, {Link::Serial, serialReply}},
         Expect::Any},
        {"260 TCP bytes, then serial bytes",
         {{Link::Tcp, Bytes(260, 0x01)}, {Link::Serial, Bytes(40, 0x41)}},
         Expect::Any},
        {"half a serial reply, then a TCP reply",
         {{Link::Serial, Bytes(serialReply.begin(), serialReply.begin() + 20)},
          {Link::Tcp, TcpFrame(1, {0x08, 0x04, 0x02, 0x00, 0x01})}},
         Expect::Any},
    };
}

int RunCases(const std::vector<Case> &cases)
{
    std::mt19937 rng(20240501);
    int runs = 0;
    for (const Case &c : cases) {
        // Whole parts, byte by byte, in 7-byte pieces, and a few random splits.
        for (int split = 0; split < (c.wholeOnly ? 1 : 8); ++split) {
            ReceiveChecker checker;
            checker.reset();
            for (const Part &part : c.parts) {
                std::vector<size_t> cuts;
                if (split == 1)
                    cuts = EveryByte(part.bytes.size());
                else if (split == 2)
                    cuts = EveryN(part.bytes.size(), 7);
                else if (split > 2)
                    cuts = RandomCuts(rng, part.bytes.size());
                const std::vector<size_t> bounds = Bounds(part.bytes.size(), cuts);
                for (size_t e = 1; e < bounds.size(); ++e)
                    if (!FeedEvent(checker, part.link, part.bytes, bounds[e - 1], bounds[e]))
                        Abort(c.name + " (split " + std::to_string(split) + ")", checker);
            }
            const bool ok = c.expect == Expect::Any || (c.expect == Expect::Nothing && checker.rxCount() == 0) ||
                            (c.expect == Expect::Delivered && checker.rxCount() == c.rxCount);
            if (!ok) {
                std::fprintf(stderr, "FAILED %s (%s, split %d): rxCount %d, expected %s %d\n", c.name.c_str(),
                             LinkName(c.parts.front().link), split, checker.rxCount(),
                             c.expect == Expect::Nothing ? "nothing, 0" : "a frame,", c.rxCount);
                std::exit(1);
            }
            ++runs;
        }
    }
    return runs;
}

// One random stream: raw bytes, or pieces of TCP or RTU replies, some of them
// cut, lying about their length or with a flipped byte.
Bytes RandomStream(std::mt19937 &rng, int kind)
{
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const size_t target = static_cast<size_t>(below(601));
    if (kind == 0)
        return RandomBytes(rng, target);
    Bytes stream;
    while (stream.size() < target) {
        Bytes piece;
        if (kind == 1) {
            piece = TcpFrame(static_cast<quint16>(below(65536)),
                             below(3) ? RandomReplyPdu(rng) : RandomBytes(rng, static_cast<size_t>(below(262))));
            if (below(4) == 0)
                piece =
                    WithTcpLength(piece, below(2) ? static_cast<int>(piece.size()) - 6 + below(3) - 1 : below(65536));
            if (below(8) == 0)
                piece[2 + below(2)] = static_cast<quint8>(1 + below(255));
        } else {
            if (below(3) == 0)
                stream = Concat({stream, RandomBytes(rng, static_cast<size_t>(below(7)))});
            piece = RandomReplyPdu(rng);
            piece = below(5) ? WithCrc(piece) : Concat({piece, RandomBytes(rng, 2)});
        }
        if (below(6) == 0)
            piece[static_cast<size_t>(below(static_cast<int>(piece.size())))] ^= static_cast<quint8>(1 << below(8));
        stream = Concat({stream, piece});
    }
    stream.resize(target);
    return stream;
}

struct Totals {
    long streams = 0, events = 0, tcpFrames = 0, serialFrames = 0;
};

void RunRandom(unsigned seed, long streams, bool mixedLinks, Totals &totals)
{
    std::mt19937 rng(seed);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto checker = std::make_unique<ReceiveChecker>();
    Link lastLink = Link::Tcp;
    for (long n = 0; n < streams; ++n) {
        if (below(16) == 0)
            checker = std::make_unique<ReceiveChecker>();
        const int kind = below(3);
        const Link streamLink = kind == 1 ? Link::Tcp : kind == 2 ? Link::Serial : below(2) ? Link::Tcp : Link::Serial;
        const bool mixed = mixedLinks && below(2);
        // Without a send in between, only the mixed runs switch links.
        if (n == 0 || below(2) || (streamLink != lastLink && !mixedLinks))
            checker->reset();
        lastLink = streamLink;
        const Bytes stream = RandomStream(rng, kind);
        // One event, one per byte (the serial port's usual pace), or random cuts.
        const int style = below(20);
        const std::vector<size_t> cuts = style < 2    ? std::vector<size_t>{}
                                         : style == 2 ? EveryByte(stream.size())
                                                      : RandomCuts(rng, stream.size());
        const quint16 before = checker->rxCount();
        Link link = streamLink;
        const std::vector<size_t> bounds = Bounds(stream.size(), cuts);
        for (size_t e = 1; e < bounds.size(); ++e) {
            if (mixed)
                link = below(2) ? Link::Tcp : Link::Serial;
            ++totals.events;
            if (!FeedEvent(*checker, link, stream, bounds[e - 1], bounds[e]))
                Abort("seed " + std::to_string(seed) + " stream " + std::to_string(n) + " (" + LinkName(link) + ")",
                      *checker);
        }
        if (before == 0 && checker->rxCount() != 0)
            ++(link == Link::Tcp ? totals.tcpFrames : totals.serialFrames);
        ++totals.streams;
    }
}

} // namespace

int main(int argc, char **argv)
{
    long streams = 200000;
    bool mixedLinks = false;
    bool windows = false;
    unsigned seed = 1;
    int rounds = 150;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--streams") && i + 1 < argc)
            streams = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--mixed-links"))
            mixedLinks = true;
        else if (!std::strcmp(argv[i], "--windows"))
            windows = true;
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            seed = static_cast<unsigned>(std::atol(argv[++i]));
        else if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--streams N] [--mixed-links] | --windows [--seed N] [--rounds N]\n",
                         argv[0]);
            return 2;
        }
    }
    if (windows) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const int failures = RunWindowFuzz(seed, rounds);
        return failures == 0 ? 0 : 1;
    }

    std::vector<Case> cases = TcpCases();
    for (Case &c : SerialCases())
        cases.push_back(std::move(c));
    if (mixedLinks)
        for (Case &c : MixedCases())
            cases.push_back(std::move(c));
    const int runs = RunCases(cases);
    std::printf("%zu near-valid cases, %d runs: ok\n", cases.size(), runs);

    Totals totals;
    for (unsigned seed : {1u, 2u, 3u})
        RunRandom(seed, streams / 3, mixedLinks, totals);
    std::printf("%ld random streams, %ld read events, %ld TCP and %ld serial frames delivered: ok\n", totals.streams,
                totals.events, totals.tcpFrames, totals.serialFrames);
    return 0;
}
