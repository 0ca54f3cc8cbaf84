#include "parameters/AnaInLayout.h"

#include <cmath>

AnaInLayout AnaInActivationLayout(int n, int h, int memoHeight)
{
    AnaInLayout l;
    l.groupHeight = static_cast<int>(std::lround(n * 1.75 * h + 2.0 * h));
    l.controlsTop = static_cast<int>(std::lround(l.groupHeight + 0.75 * h));
    l.clientHeight = l.groupHeight + memoHeight + 2 * h;
    return l;
}

int AnaInRowTop(int row, int h)
{
    return static_cast<int>(std::lround(1.9 * h + (row - 1) * 1.75 * h));
}
