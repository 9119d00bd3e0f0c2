#pragma once

#include <cmath>

// The rule every setter of the model follows: store the value and return 1 when it is
// accepted, else return 0 and leave the field as it was.

// Accepts low <= v <= high.
inline int rxSetInRange(int v, int low, int high, int *field)
{
    if (v < low || v > high)
        return 0;
    *field = v;
    return 1;
}

// Accepts a finite v > 0.
inline int rxSetPositive(float v, float *field)
{
    if (!(v > 0) || !std::isfinite(v))
        return 0;
    *field = v;
    return 1;
}
