// Coverage-guided variant of fuzz_receive for clang's libFuzzer. The input is
// a list of read events: each starts with one control byte whose low 7 bits
// are the event's length (0: the next send, i.e. a reset) and whose top bit
// switches to the other link when FUZZ_RECEIVE_MIXED_LINKS is set.
#include "ReceiveChecker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
bool mixedLinks = false;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    mixedLinks = std::getenv("FUZZ_RECEIVE_MIXED_LINKS") != nullptr;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    fuzz::ReceiveChecker checker;
    fuzz::Link link = (data[0] & 1) ? fuzz::Link::Tcp : fuzz::Link::Serial;
    size_t at = 1;
    while (at < size) {
        const quint8 control = data[at++];
        const size_t length = std::min<size_t>(control & 0x7F, size - at);
        if (length == 0) {
            checker.reset();
            continue;
        }
        if (mixedLinks && (control & 0x80))
            link = link == fuzz::Link::Tcp ? fuzz::Link::Serial : fuzz::Link::Tcp;
        // Its own block, so reading past the event is caught.
        const std::unique_ptr<quint8[]> event(new quint8[length]);
        std::memcpy(event.get(), data + at, length);
        at += length;
        if (!checker.feed(link, event.get(), static_cast<int>(length))) {
            std::fprintf(stderr, "%s\n", checker.failure().c_str());
            std::abort();
        }
    }
    return 0;
}
