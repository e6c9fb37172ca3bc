#pragma once

#include "curve/CurvePoint.h"

#include <span>
#include <vector>

// How the points are joined ("Lissage" group of the main window).
enum SmoothingMode : int { Aucun = 0, Cubique = 1, Akima = 2, Carlson = 3 };

// Derived curves shown with the curve; a bit set.
enum DisplayFlag : int { Derivative1 = 1, Derivative2 = 2, Integral = 4 };

// Sub-steps per interval of the sampled curve.
inline constexpr int SmoothSubSteps = 32;

struct SmoothedCurve {
    std::vector<CurvePoint> samples;   // 32 per interval and the last point itself; none for fewer than 2 points
    std::vector<double> firstDerived;  // y' (Derivative1) or the running integral (Integral wins); empty otherwise
    std::vector<double> secondDerived; // y'' when Derivative2; empty otherwise
    int sampleCount() const { return static_cast<int>(samples.size()); }
};

// Interpolates the points by the piecewise cubic of `mode` (a value outside 0..3 joins
// them by straight segments) and samples it, with the derived curves asked by `flags`.
//
// Points are taken in the given order; decreasing x works like increasing x. An
// interval of zero length (two successive points with the same x, as an unnormalized
// file can hold) is dropped together with its first point, so such a curve has
// 32 * (kept points - 1) + 1 samples. When x goes back and forth so that a cubic mode
// would divide by zero, the points are joined by straight segments instead: equal or
// unordered x never produce NaN or infinity.
SmoothedCurve smoothCurve(std::span<const CurvePoint> points, int mode, int flags);
