#pragma once
// The analog windows handle a fixed number of channels; a station with more is
// told so once per count, not at every activation. A count within the limit
// lets the next larger one be told again.
class ChannelLimitNotice
{
public:
    // True when `count` above `limit` is to be told now.
    bool due(int count, int limit)
    {
        if (count <= limit) {
            reported_ = 0;
            return false;
        }
        if (count == reported_)
            return false;
        reported_ = count;
        return true;
    }

private:
    int reported_ = 0; // the count above the limit last told
};
