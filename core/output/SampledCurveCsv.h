#pragma once

#include "curve/CurvePoint.h"
#include "curve/SmoothingMode.h"

#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view SampledCurveCsvHeader = "x,y,dy/dx,d2y/dx2,integral";

// The curve as the plot samples it in `mode` (32 samples per interval and the last point
// itself), with its first and second derivative and its running integral at each sample:
// the header line, then one line per sample, comma-separated, every number with "." and
// as few digits as read back the same double, each line ended by LF. Fewer than two
// points have no interval: their lines hold the points themselves, with 0 for the
// derivatives and the integral.
std::string sampledCurveCsv(std::span<const CurvePoint> points, SmoothingMode mode);

// The shortest of "%.15g", "%.16g" and "%.17g" that reads back as `value` itself.
std::string roundTripNumber(double value);
