#include "HandReply.h"

#include "link/Transport.h"

#include <algorithm>

void HandReply(Deklarat &d, const std::vector<quint8> &frame)
{
    const size_t room = d.RxFrame.size() - ModbusHeaderSize;
    const size_t n = std::min(frame.size(), room);
    std::copy_n(frame.begin(), n, d.RxFrame.begin() + ModbusHeaderSize);
    d.RxCount = static_cast<quint16>(ModbusHeaderSize + n);
    if (d.Link)
        d.Link->frameComplete();
}

void HandReply(Deklarat &d, std::initializer_list<quint8> frame)
{
    HandReply(d, std::vector<quint8>(frame));
}
