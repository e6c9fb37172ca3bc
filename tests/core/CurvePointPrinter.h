#pragma once

#include "curve/CurvePoint.h"

#include <ostream>

// Lets GoogleTest show points as (x, y) in failure messages.
inline void PrintTo(const CurvePoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}
