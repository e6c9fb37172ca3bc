// Feeds smoothCurve with up to MaxCurvePoints finite points, in any smoothing mode (the
// four of the "Lissage" group and values outside them) and any derived-curve flags,
// the points prepared as the document holds them (sorted and thinned by
// normalizePoints), as a file may hand them over (any order, repeated x), or sorted
// by decreasing x.
// Beyond "no crash" it checks:
// - finite points give only finite samples and derived values;
// - the arrays have the documented sizes (32 samples per kept interval and one more,
//   derived arrays only when asked);
// - the curve passes through its knots: every 32nd sample is one of the points, in
//   the points' order, and the last sample is exactly the last point;
// - a SmoothedCurve reused after another curve (what every redraw does) gives the
//   same bits as a fresh call.
#include "curve/CurvePoints.h"
#include "view/SmoothCurve.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

using fuzz::Input;
using fuzz::sameBits;

namespace {

// The mode, flags and point count go with the message: enough to rebuild the case.
[[noreturn]] void broken(const char* what, int mode, int flags, std::size_t count)
{
    char details[96];
    std::snprintf(details, sizeof details, "  mode=%d flags=%d points=%zu\n", mode, flags, count);
    fuzz::broken(what, details);
}

bool sameValues(std::span<const double> u, std::span<const double> v)
{
    return u.size() == v.size() && std::equal(u.begin(), u.end(), v.begin(), sameBits);
}

bool sameCurve(const SmoothedCurve& u, const SmoothedCurve& v)
{
    if (u.samples.size() != v.samples.size())
        return false;
    for (std::size_t i = 0; i < u.samples.size(); ++i)
        if (!sameBits(u.samples[i].x, v.samples[i].x) || !sameBits(u.samples[i].y, v.samples[i].y))
            return false;
    return sameValues(u.firstDerived, v.firstDerived) && sameValues(u.secondDerived, v.secondDerived);
}

// Points from the rest of the input: either pairs of int16 scaled by a power of two
// (curves of ordinary shape, repeated and close x, any magnitude), or raw doubles (the
// ones that are not finite are left out).
std::vector<CurvePoint> readPoints(Input& in, bool rawDoubles, int exponentX, int exponentY)
{
    std::vector<CurvePoint> points;
    while (in.remaining() > 0 && points.size() < static_cast<std::size_t>(MaxCurvePoints)) {
        CurvePoint p;
        if (rawDoubles) {
            p = {in.raw(), in.raw()};
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                continue;
        } else {
            p = {std::ldexp(in.i16(), exponentX), std::ldexp(in.i16(), exponentY)};
        }
        points.push_back(p);
    }
    return points;
}

void checkCurve(std::span<const CurvePoint> points, int mode, int flags, const SmoothedCurve& curve)
{
    const std::size_t n = curve.samples.size();
    const bool first = DisplayFlags::fromBits(flags).hasAny(Derivative1 | Integral);
    const bool second = (flags & Derivative2) != 0;
    if (n == 0) {
        if (!curve.firstDerived.empty() || !curve.secondDerived.empty())
            broken("derived values without samples", mode, flags, points.size());
        return;
    }
    if (points.size() < 2 || (n - 1) % SmoothSubSteps != 0 || (n - 1) / SmoothSubSteps > points.size() - 1)
        broken("the sample count is not 32 per interval and one", mode, flags, points.size());
    if (curve.firstDerived.size() != (first ? n : 0) || curve.secondDerived.size() != (second ? n : 0))
        broken("a derived array has the wrong size", mode, flags, points.size());

    for (const CurvePoint& s : curve.samples)
        if (!std::isfinite(s.x) || !std::isfinite(s.y))
            broken("a sample is not finite", mode, flags, points.size());
    for (double v : curve.firstDerived)
        if (!std::isfinite(v))
            broken("a first derived value is not finite", mode, flags, points.size());
    for (double v : curve.secondDerived)
        if (!std::isfinite(v))
            broken("a second derived value is not finite", mode, flags, points.size());

    const CurvePoint& last = curve.samples.back();
    if (!sameBits(last.x, points.back().x) || !sameBits(last.y, points.back().y))
        broken("the last sample is not the last point", mode, flags, points.size());

    // Knots are kept points in their order; == since a knot of -0 may come out as +0.
    std::size_t j = 0;
    for (std::size_t k = 0; k < n; k += SmoothSubSteps) {
        while (j < points.size() && !(points[j] == curve.samples[k]))
            ++j;
        if (j == points.size())
            broken("a knot sample is not the next of the points", mode, flags, points.size());
        ++j;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    // Modes 0..3 and a few outside, negative ones included.
    const int mode = static_cast<std::int8_t>(in.byte()) % 6;
    const int flags = in.byte() & 7;
    const std::uint8_t setup = in.byte();
    const int otherMode = (setup >> 4) & 3;
    const int otherFlags = (setup >> 1) & 7;
    const std::uint8_t layout = in.byte();
    const bool rawDoubles = (layout & 1) != 0;
    const int preparation = (layout >> 1) & 3;
    const int exponentX = static_cast<std::int8_t>(in.byte()) % 64 - 10;
    const int exponentY = static_cast<std::int8_t>(in.byte());

    std::vector<CurvePoint> points = readPoints(in, rawDoubles, exponentX, exponentY);
    if (preparation == 0 || preparation == 3) {
        // As the document keeps them after every edit and every file read.
        points.resize(static_cast<std::size_t>(normalizePoints(points)));
        if (preparation == 3)
            std::reverse(points.begin(), points.end());
    }
    // preparation 1 and 2: as given, any order (2 differs only in the reused curve).

    const SmoothedCurve fresh = smoothCurve(points, SmoothingMode(mode), DisplayFlags::fromBits(flags));
    checkCurve(points, mode, flags, fresh);

    // The redraw path: the same SmoothedCurve, grown by another curve first.
    SmoothedCurve reused;
    if (preparation == 2) {
        std::vector<CurvePoint> reversed(points.rbegin(), points.rend());
        smoothCurve(reversed, SmoothingMode(otherMode), DisplayFlags::fromBits(otherFlags), reused);
    } else {
        smoothCurve(std::span(points).first(points.size() / 2), SmoothingMode(otherMode),
                    DisplayFlags::fromBits(otherFlags), reused);
        smoothCurve(points, SmoothingMode(otherMode), DisplayFlags::fromBits(otherFlags), reused);
    }
    smoothCurve(points, SmoothingMode(mode), DisplayFlags::fromBits(flags), reused);
    if (!sameCurve(fresh, reused))
        broken("a reused SmoothedCurve gave other samples than a fresh one", mode, flags, points.size());
    return 0;
}
