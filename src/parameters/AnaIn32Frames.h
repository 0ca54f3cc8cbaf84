#pragma once
// Requests and replies of the 32-bit analog input parameter block: eight
// registers per channel from 0x2200, read with function code 4 and written
// with function code 16, and the memo lines that record them.
#include "link/ModbusFrame.h"
#include "parameters/AnaIn32Params.h"

#include <QStringList>
#include <vector>

constexpr quint16 AnaIn32StartRegister = 0x2200;
constexpr int AnaIn32RegistersPerChannel = 8;
constexpr int AnaIn32BytesPerChannel = 16;
// One write's byte count is one byte (at most 240 = 15 channels) and one read
// may ask for at most 125 registers: 16 channels never fit one request.
constexpr int AnaIn32ChannelsPerRequest = 15;

// Channels first .. first + count - 1, counted from 0.
struct ChannelRange {
    int first = 0;
    int count = 0;
    bool operator==(const ChannelRange &) const = default;
};

// The requests that carry channels 1..n, one after the other; n is limited to
// the 16 channels the window holds. n = 0 gives one empty range (a read of
// quantity 0 still goes out, a write does not).
std::vector<ChannelRange> SplitChannels(int n);

// Unit id, 0x04, start register, quantity 8 x count into tx[6..11]; returns
// the frame length 12.
quint8 BuildReadRequest(ModbusBuffer &tx, quint8 unit, ChannelRange range);
// Unit id, 0x10, start register, quantity 8 x count, byte count 16 x count,
// then the channels' 16 bytes each; returns the frame length 13 + 16 x count.
quint8 BuildWriteRequest(ModbusBuffer &tx, quint8 unit, ChannelRange range, const AnaIn32Block &block);

// tx[6 .. 6 + count - 1] in decimal, separated by blanks.
QString RequestMemoLine(const ModbusBuffer &tx, int count);
// A blank, then per channel the four bytes of SetupWord and ModeWord in
// decimal, each followed by a blank.
QString WriteDataMemoLine(const AnaIn32Block &block, ChannelRange range);

// How many data bytes of a read reply were received: never more than the
// reply's own byte count nor beyond RxCount (an RTU reply ends in its CRC).
int ReplyDataBytes(const ModbusBuffer &rx, quint16 rxCount);
// Decodes the range's channels from rx[9] on into `block` and returns the five
// memo lines per channel ("i :" and the value in hex); false, with nothing
// changed, when the reply does not hold all of them.
bool DecodeReadReply(const ModbusBuffer &rx, quint16 rxCount, ChannelRange range, AnaIn32Block &block,
                     QStringList &memoLines);

// rx[9..14] in decimal, separated by blanks; only the bytes received.
QString WriteReplyMemoLine(const ModbusBuffer &rx, quint16 rxCount);
