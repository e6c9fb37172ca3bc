#pragma once

#include "curve/CurvePoint.h"
#include "draw/PixelGeometry.h"
#include "view/ViewWindow.h"

#include <ostream>

// Lets GoogleTest show points as (x, y), pixels as px(x, y) and view windows as
// (xmin, ymin)-(xmax, ymax) in failure messages.
inline void PrintTo(const CurvePoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

inline void PrintTo(const PixelPoint& p, std::ostream* os)
{
    *os << "px(" << p.x << ", " << p.y << ")";
}

inline void PrintTo(const ViewWindow& w, std::ostream* os)
{
    *os << "(" << w.xmin << ", " << w.ymin << ")-(" << w.xmax << ", " << w.ymax << ")";
}
