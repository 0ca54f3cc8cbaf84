#include "parameters/AnaIn32Layout.h"

#include <cmath>

AnaIn32Layout ActivationLayout(int n, int h, int memoHeight)
{
    AnaIn32Layout l;
    l.groupHeight = static_cast<int>(std::lround(n * 2.25 * h + 2.0 * h));
    l.controlsTop = static_cast<int>(std::lround(l.groupHeight + 1.25 * h));
    l.clientHeight = l.groupHeight + memoHeight + 2 * h;
    return l;
}

int RowTop(int row, int h)
{
    return static_cast<int>(std::lround(1.8 * h + (row - 1) * 2.25 * h));
}
