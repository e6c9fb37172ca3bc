#pragma once

#include "common/LargeArray.h"
#include "curve/CurvePoint.h"
#include "curve/SmoothingMode.h"
#include "view/DisplayFlags.h"

#include <span>
#include <vector>

// Sub-steps per interval of the sampled curve.
inline constexpr int SmoothSubSteps = 32;

// Working arrays of smoothCurve. A caller that smooths again and again (every redraw)
// keeps them with its SmoothedCurve, so that once grown nothing is allocated any more.
struct SmoothWorkspace {
    std::vector<double> x, y, h, delta;         // knots, interval lengths and slopes
    std::vector<double> slope, curvature, jerk; // each interval's cubic at its left end
    std::vector<double> a, b, c, d, e;          // scratch of the slope computations
    std::size_t knots = 0;                      // of the curve last prepared
    bool cubic = false;                         // its intervals are the mode's cubics, not straight
};

struct SmoothedCurve {
    LargeArray<CurvePoint> samples;   // 32 per interval and the last point itself; none for fewer than 2 points
    LargeArray<double> firstDerived;  // y' (Derivative1) or the running integral (Integral wins); empty otherwise
    LargeArray<double> secondDerived; // y'' when Derivative2; empty otherwise
    SmoothWorkspace workspace;
    int sampleCount() const { return static_cast<int>(samples.size()); }
};

// Interpolates the points by the piecewise cubic of `mode` (a value outside the four
// modes joins them by straight segments) and samples it, with the derived curves asked by `flags`.
// The last sample is the last point itself.
//
// Points are taken in the given order; decreasing x works like increasing x. An
// interval of zero length (two successive points with the same x, as an unnormalized
// file can hold), or one too short or too long to sample, is dropped together with its
// first point, and the interval that takes its place is checked again; so such a curve
// has 32 * (kept points - 1) + 1 samples. When x goes back and forth so that a cubic
// mode would divide by zero, or a cubic would overflow, the points are joined by
// straight segments instead. Finite points never give a NaN or an infinite sample; a
// running integral too large for a double is held at the largest one.
SmoothedCurve smoothCurve(std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags);

// The same into `out`, reusing its arrays' capacity: what a redraw calls.
void smoothCurve(std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags, SmoothedCurve& out);

// smoothCurve in two steps, for a caller that looks at the knots before it has them
// sampled: prepareSmoothing puts the knots of `points` and their interval cubics (y,
// slope, curvature and jerk at each knot) in out.workspace and returns how many knots
// there are, leaving out's samples as they were; samplePreparedSmoothing then samples
// them. The two give what smoothCurve gives, except that a cubic which overflows once
// sampled gives way to straight segments only in the second.
std::size_t prepareSmoothing(std::span<const CurvePoint> points, SmoothingMode mode, SmoothedCurve& out);
void samplePreparedSmoothing(DisplayFlags flags, SmoothedCurve& out);
