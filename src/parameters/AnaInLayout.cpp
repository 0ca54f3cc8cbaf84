#include "parameters/AnaInLayout.h"

#include <algorithm>
#include <cmath>

AnaInLayout AnaInActivationLayout(int n, int h, int memoHeight)
{
    AnaInLayout l;
    l.groupHeight = static_cast<int>(std::lround(n * 1.75 * h + 2.0 * h));
    l.controlsTop = static_cast<int>(std::lround(l.groupHeight + 0.75 * h));
    l.clientHeight = l.groupHeight + memoHeight + 2 * h;
    return l;
}

int AnaInFirstRowTop(int h, int headingBottom)
{
    const int lowest = static_cast<int>(std::lround(1.9 * h));
    const int highest = static_cast<int>(std::lround(2.65 * h));
    return std::clamp(headingBottom, lowest, highest);
}

int AnaInRowTop(int row, int h, int firstTop)
{
    return firstTop + static_cast<int>(std::lround((row - 1) * 1.75 * h));
}
