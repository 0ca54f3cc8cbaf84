#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace sim
{

// Length of the RTU request that `start` begins, CRC included; 0 while too
// few bytes have arrived to tell, -1 for a function code whose request
// length the simulator does not know (such a frame ends at a silence).
int rtuRequestLength(std::span<const uint8_t> start);

// Cuts the byte stream of the serial line into request frames. A frame ends
// when its function code says it is complete, or at a silence of 3.5
// characters; a frame with a bad CRC is dropped together with everything up
// to the next silence, as a slave on a noisy line does.
class RtuFramer
{
public:
    void feed(std::span<const uint8_t> bytes);
    void silence();
    bool hasFrame() const { return !frames_.empty(); }
    std::vector<uint8_t> takeFrame();
    bool midFrame() const { return !buffer_.empty() || discarding_; }

private:
    void cut();
    void finish(std::vector<uint8_t> frame);

    std::vector<uint8_t> buffer_;
    bool discarding_ = false;
    std::deque<std::vector<uint8_t>> frames_;
};

} // namespace sim
