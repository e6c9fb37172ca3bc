#include "view/SmoothCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace {

using Points = std::vector<CurvePoint>;

constexpr SmoothingMode AllModes[] = {Aucun, Cubique, Akima, Carlson};
constexpr DisplayFlags Derivatives = Derivative1 | Derivative2;

bool allFinite(const SmoothedCurve& c)
{
    auto finite = [](double v) { return std::isfinite(v); };
    return std::all_of(c.samples.begin(), c.samples.end(),
                       [&](const CurvePoint& p) { return finite(p.x) && finite(p.y); })
        && std::all_of(c.firstDerived.begin(), c.firstDerived.end(), finite)
        && std::all_of(c.secondDerived.begin(), c.secondDerived.end(), finite);
}

// The slope at knot k (k < N-1): the first sample of interval k.
double slopeAtKnot(const SmoothedCurve& c, int k)
{
    return c.firstDerived.at(32 * k);
}

} // namespace

TEST(SmoothCurve, TwoPointsGiveTheStraightLineInEveryMode)
{
    const Points points{{0, 0}, {1, 2}};
    for (SmoothingMode mode : {Aucun, Cubique, Akima, Carlson, SmoothingMode(7), SmoothingMode(-1)}) {
        SCOPED_TRACE(mode);
        SmoothedCurve d = smoothCurve(points, mode, Derivatives);
        ASSERT_EQ(d.sampleCount(), 33);
        ASSERT_EQ(d.firstDerived.size(), 33u);
        ASSERT_EQ(d.secondDerived.size(), 33u);
        for (int j = 0; j <= 32; ++j) {
            EXPECT_DOUBLE_EQ(d.samples[j].x, j / 32.0);
            EXPECT_DOUBLE_EQ(d.samples[j].y, 2 * j / 32.0);
            EXPECT_DOUBLE_EQ(d.firstDerived[j], 2.0);
            EXPECT_EQ(d.secondDerived[j], 0.0);
        }
        SmoothedCurve i = smoothCurve(points, mode, Integral);
        ASSERT_EQ(i.firstDerived.size(), 33u);
        EXPECT_EQ(i.firstDerived.front(), 0.0);
        EXPECT_DOUBLE_EQ(i.firstDerived.back(), 1.0);
    }
}

TEST(SmoothCurve, FlagsChooseTheDerivedArrays)
{
    const Points points{{0, 0}, {1, 1}, {2, 4}};
    struct Case {
        DisplayFlags flags;
        bool first, second;
    };
    for (Case c : {Case{{}, false, false}, Case{Derivative1, true, false}, Case{Derivative2, false, true},
                   Case{Derivatives, true, true}, Case{Integral, true, false}}) {
        SCOPED_TRACE(c.flags.bits());
        SmoothedCurve r = smoothCurve(points, Cubique, c.flags);
        EXPECT_EQ(r.firstDerived.size(), c.first ? 65u : 0u);
        EXPECT_EQ(r.secondDerived.size(), c.second ? 65u : 0u);
    }
    // Both bits set: the integral wins (it is 0 at the start, unlike the slope).
    SmoothedCurve both = smoothCurve(points, Aucun, Integral | Derivative1);
    EXPECT_EQ(both.firstDerived.front(), 0.0);
    EXPECT_DOUBLE_EQ(both.firstDerived.back(), 0.5 + 2.5);
}

TEST(SmoothCurve, SampleCountAndKnotsAreSampled)
{
    const Points points{{-3, 1}, {-1.7, 4}, {0.1, -2}, {2.3, 0}, {7.9, 5}};
    for (SmoothingMode mode : AllModes) {
        SCOPED_TRACE(mode);
        SmoothedCurve c = smoothCurve(points, mode, {});
        ASSERT_EQ(c.sampleCount(), 32 * 4 + 1);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(c.samples[32 * k], points[k]) << "knot " << k;
        EXPECT_DOUBLE_EQ(c.samples.back().x, 7.9);
        EXPECT_NEAR(c.samples.back().y, 5.0, 1e-12);
    }
    EXPECT_EQ(smoothCurve(Points{{1, 2}}, Cubique, Integral).sampleCount(), 0);
    EXPECT_EQ(smoothCurve(Points{}, Aucun, {}).sampleCount(), 0);
    EXPECT_TRUE(smoothCurve(Points{{1, 2}}, Cubique, Integral).firstDerived.empty());
}

TEST(SmoothCurve, ThreePointPeakSlopes)
{
    // delta = (1, -1): every mode that bends gives slopes 2, 0, -2 here.
    const Points peak{{0, 0}, {1, 1}, {2, 0}};
    for (SmoothingMode mode : {Cubique, Akima, Carlson}) {
        SCOPED_TRACE(mode);
        SmoothedCurve c = smoothCurve(peak, mode, Derivative1);
        EXPECT_NEAR(slopeAtKnot(c, 0), 2.0, 1e-12);
        EXPECT_NEAR(slopeAtKnot(c, 1), 0.0, 1e-12);
        EXPECT_NEAR(c.firstDerived.back(), -2.0, 1e-12);
        EXPECT_EQ(c.samples[32], (CurvePoint{1, 1}));
    }
    // The monotone cubic peaks exactly at the data point.
    SmoothedCurve carlson = smoothCurve(peak, Carlson, {});
    for (const CurvePoint& p : carlson.samples)
        EXPECT_LE(p.y, 1.0) << p.x;
}

TEST(SmoothCurve, SlopesAtTheKnotsByMode)
{
    // delta = (1, 2, 0) on unit steps; the modes differ at every interior knot or end.
    const Points points{{0, 0}, {1, 1}, {2, 3}, {3, 3}};
    struct Case {
        SmoothingMode mode;
        double d[4];
    };
    const Case cases[] = {
        {Aucun, {1, 2, 0, 0}}, // each interval's own slope, the last one continued
        // C2 system with end slopes 0.5 and 0 (the last one flattened by the shape limit).
        {Cubique, {0.5, 28.0 / 15, 31.0 / 30, 0}},
        // Weights (1, 1, 2, 2); the ends average the end slope with its extrapolation.
        {Akima, {0.5, 4.0 / 3, 4.0 / 3, -1}},
        // Weighted harmonic mean inside, 0 next to the flat interval.
        {Carlson, {0.5, 4.0 / 3, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SmoothedCurve r = smoothCurve(points, c.mode, Derivative1);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(slopeAtKnot(r, k), c.d[k], 1e-12) << "knot " << k;
        EXPECT_NEAR(r.firstDerived.back(), c.d[3], 1e-12) << "last knot";
    }
}

TEST(SmoothCurve, CarlsonSlopesAtFlatPartsAndTurns)
{
    // Unit steps; the inner knots' slopes, then the harmonic mean where the data rise on.
    struct Case {
        const char* what;
        Points points;
        double d[3]; // knots 1 to 3
    };
    const Case cases[] = {
        // delta = (0, 0, 1, 2): 0 between two flat intervals (0 / 0 in the mean) and
        // next to one; 1 / (0.5 * 0.5 + 0.5 * 1) where the slopes are 1 and 2.
        {"flat run", {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {4, 4}}, {0, 0, 4.0 / 3}},
        // delta = (1, -1, -2, 1): 0 at both turns, the mean in between.
        {"two turns", {{0, 0}, {1, 1}, {2, 0}, {3, -2}, {4, -1}}, {0, -4.0 / 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmoothedCurve r = smoothCurve(c.points, Carlson, Derivative1);
        ASSERT_TRUE(allFinite(r));
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(slopeAtKnot(r, k), c.d[k - 1]) << "knot " << k;
    }
}

TEST(SmoothCurve, EndSlopeShapeLimits)
{
    struct Case {
        const char* what;
        Points points;
        SmoothingMode mode;
        bool lastEnd;
        double slope;
    };
    const Case cases[] = {
        // h = (1, 0.25), delta = (1, -4): d0 = 1.8 + 3.2 = 5, data turn, cut to 3 * delta_0.
        {"cut at the start", {{0, 0}, {1, 1}, {1.25, 0}}, Carlson, false, 3.0},
        // Mirror image at the last point: -5 cut to 3 * delta_1 = -3.
        {"cut at the end", {{0, 0}, {0.25, 1}, {1.25, 0}}, Cubique, true, -3.0},
        // h = (1, 2), delta = (1, 2): d0 = 4/3 - 2/3, same sign, no turn: kept.
        {"kept", {{0, 0}, {1, 1}, {3, 5}}, Carlson, false, 2.0 / 3.0},
        // h = (1, 0.1), delta = (0.1, 19): d0 = 0.19 - 17.3 < 0, against delta_0: 0.
        {"against the data", {{0, 0}, {1, 0.1}, {1.1, 2}}, Cubique, false, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmoothedCurve r = smoothCurve(c.points, c.mode, Derivative1);
        EXPECT_NEAR(c.lastEnd ? r.firstDerived.back() : slopeAtKnot(r, 0), c.slope, 1e-12);
    }
}

TEST(SmoothCurve, StraightLinesAreReproducedInEveryMode)
{
    const Points rising{{0, 1}, {1, 3}, {2.5, 6}, {4, 9}};
    const Points falling{{4, 9}, {2.5, 6}, {1, 3}, {0, 1}}; // decreasing x, same formulas
    for (const Points& points : {rising, falling}) {
        for (SmoothingMode mode : AllModes) {
            SCOPED_TRACE(mode);
            SmoothedCurve c = smoothCurve(points, mode, Derivatives);
            ASSERT_EQ(c.sampleCount(), 97);
            for (int n = 0; n < c.sampleCount(); ++n) {
                EXPECT_NEAR(c.samples[n].y, 2 * c.samples[n].x + 1, 1e-12) << n;
                EXPECT_NEAR(c.firstDerived[n], 2.0, 1e-12) << n;
                EXPECT_NEAR(c.secondDerived[n], 0.0, 1e-12) << n;
            }
        }
    }
}

TEST(SmoothCurve, CubiqueReproducesAQuadraticAndItsIntegral)
{
    // The three-point end slopes are exact for a parabola, and so is the C2 spline with
    // exact end slopes, whatever the spacing.
    Points points;
    for (double x : {1.0, 1.5, 3.0, 4.0, 6.0})
        points.push_back({x, x * x});
    SmoothedCurve c = smoothCurve(points, Cubique, Derivatives);
    SmoothedCurve i = smoothCurve(points, Cubique, Integral);
    for (int n = 0; n < c.sampleCount(); ++n) {
        double x = c.samples[n].x;
        EXPECT_NEAR(c.samples[n].y, x * x, 1e-11) << x;
        EXPECT_NEAR(c.firstDerived[n], 2 * x, 1e-11) << x;
        EXPECT_NEAR(c.secondDerived[n], 2.0, 1e-10) << x;
        EXPECT_NEAR(i.firstDerived[n], (x * x * x - 1) / 3, 1e-10) << x;
    }
    EXPECT_NEAR(i.firstDerived.back(), (216.0 - 1.0) / 3, 1e-10);
}

TEST(SmoothCurve, IntegralOfStraightSegmentsAddsTrapezoids)
{
    const Points points{{0, 0}, {1, 1}, {3, -1}, {3.5, 4}};
    SmoothedCurve c = smoothCurve(points, Aucun, Integral);
    EXPECT_DOUBLE_EQ(c.firstDerived[32], 0.5);
    EXPECT_DOUBLE_EQ(c.firstDerived[64], 0.5);
    EXPECT_DOUBLE_EQ(c.firstDerived[96], 0.5 + 0.5 * (-1 + 4) / 2);
    // Half-way along the first interval: integral of y = x from 0 to 0.5.
    EXPECT_DOUBLE_EQ(c.firstDerived[16], 0.125);
}

TEST(SmoothCurve, CarlsonStaysMonotoneWhereCubiqueOvershoots)
{
    const Points step{{0, 0}, {1, 0.1}, {2, 5}, {3, 5.1}, {4, 5.2}};
    SmoothedCurve carlson = smoothCurve(step, Carlson, {});
    for (int n = 1; n < carlson.sampleCount(); ++n)
        EXPECT_GE(carlson.samples[n].y, carlson.samples[n - 1].y) << carlson.samples[n].x;

    SmoothedCurve cubic = smoothCurve(step, Cubique, {});
    bool decreases = false;
    for (int n = 1; n < cubic.sampleCount(); ++n)
        decreases = decreases || cubic.samples[n].y < cubic.samples[n - 1].y;
    EXPECT_TRUE(decreases);
}

TEST(SmoothCurve, AkimaIsLocalAndCubiqueIsNot)
{
    Points points{{0, 0}, {1, 2}, {2, 1}, {3, 3}, {4, 2}, {5, 4}, {6, 3}, {7, 5}};
    Points moved = points;
    moved[6].y = 40;
    for (SmoothingMode mode : {Akima, Cubique}) {
        SmoothedCurve a = smoothCurve(points, mode, {});
        SmoothedCurve b = smoothCurve(moved, mode, {});
        bool sameFirstInterval = std::equal(a.samples.begin(), a.samples.begin() + 33, b.samples.begin());
        EXPECT_EQ(sameFirstInterval, mode == Akima) << mode;
    }
}

TEST(SmoothCurve, EqualXDropsTheIntervalAndStaysFinite)
{
    // The later point of an equal-x pair is kept.
    const Points points{{0, 0}, {1, 1}, {1, 5}, {2, 0}, {2, 0}, {3, 1}};
    for (SmoothingMode mode : AllModes) {
        for (DisplayFlags flags : {Derivatives, DisplayFlags(Integral)}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " flags " << flags.bits());
            SmoothedCurve c = smoothCurve(points, mode, flags);
            ASSERT_EQ(c.sampleCount(), 32 * 3 + 1);
            EXPECT_TRUE(allFinite(c));
            EXPECT_EQ(c.samples[32], (CurvePoint{1, 5}));
            EXPECT_EQ(c.samples[64], (CurvePoint{2, 0}));
        }
    }
    EXPECT_EQ(smoothCurve(Points{{2, 1}, {2, 3}, {2, 5}}, Cubique, Integral).sampleCount(), 0);
}

TEST(SmoothCurve, AnIntervalTooLongToSampleIsDropped)
{
    // x - x0 overflows between -1e308 and 1e308: such an interval cannot be sampled.
    const Points points{{-1e308, 0}, {1e308, 1}, {1e308 + 1e300, 2}};
    for (SmoothingMode mode : AllModes) {
        SmoothedCurve c = smoothCurve(points, mode, Derivatives);
        EXPECT_TRUE(allFinite(c)) << mode;
    }
}

TEST(SmoothCurve, UnorderedXStaysFinite)
{
    // h1 + h2 = 0 would divide by zero in the three-point slopes and in Carlson's weights.
    const Points points{{0, 0}, {1, 1}, {0, 2}, {1, 3}, {5e-324, 1}};
    for (SmoothingMode mode : AllModes) {
        SmoothedCurve c = smoothCurve(points, mode, Derivatives);
        EXPECT_GT(c.sampleCount(), 0);
        EXPECT_TRUE(allFinite(c)) << mode;
    }
}

TEST(SmoothCurve, UnknownModeJoinsWithStraightSegments)
{
    const Points points{{0, 0}, {1, 3}, {2, 1}, {4, 2}};
    SmoothedCurve straight = smoothCurve(points, Aucun, Derivatives);
    for (SmoothingMode mode : {SmoothingMode(4), SmoothingMode(-1), SmoothingMode(1000)}) {
        SmoothedCurve c = smoothCurve(points, mode, Derivatives);
        EXPECT_EQ(c.samples, straight.samples);
        EXPECT_EQ(c.firstDerived, straight.firstDerived);
    }
}

TEST(SmoothCurve, FinitePointsNeverGiveANonFiniteSample)
{
    constexpr double Largest = 1.7976931348623157e308;
    struct Case {
        const char* what;
        Points points;
    };
    const Case cases[] = {
        // Dropping (1e-310, 0) leaves an interval of 1e-310 whose slope overflows.
        {"equal x after a tiny step", {{0, 0}, {1e-310, 0}, {1e-310, 1}}},
        // Dropping (1, 1) leaves an interval too long to sample.
        {"far point after a drop", {{0, 0}, {1, 1}, {-Largest, 0}}},
        {"huge values overshoot", {{0, Largest / 4}, {1, -Largest / 4}, {2, Largest / 4}, {3, -Largest / 4}}},
        {"integral overflows", {{0, Largest / 2}, {1e300, Largest / 2}}},
    };
    for (const Case& c : cases) {
        for (SmoothingMode mode : AllModes) {
            for (DisplayFlags flags : {DisplayFlags(), Derivatives, DisplayFlags(Integral)}) {
                SCOPED_TRACE(testing::Message() << c.what << ", mode " << mode << ", flags " << flags.bits());
                SmoothedCurve r = smoothCurve(c.points, mode, flags);
                EXPECT_TRUE(allFinite(r));
            }
        }
    }
}

TEST(SmoothCurve, TheLastSampleIsTheLastPointExactly)
{
    const Points cases[] = {
        {{-1e20, -2e20}, {10, 5}},
        {{-532, 1.5}, {57.24, -3.25}},
        {{0, 0}, {0.1, 0.3}, {0.7, 0.2}, {57.24, 1.0 / 3}},
    };
    for (const Points& points : cases) {
        for (SmoothingMode mode : AllModes) {
            SCOPED_TRACE(testing::Message() << points.back().x << ", mode " << mode);
            SmoothedCurve r = smoothCurve(points, mode, Derivatives);
            ASSERT_GT(r.sampleCount(), 0);
            EXPECT_EQ(r.samples.back(), points.back());
        }
    }
}

TEST(SmoothCurve, ReusedArraysGiveTheSameSamples)
{
    const Points small{{0, 0}, {1, 2}, {2, 1}};
    const Points large{{0, 1}, {1, 3}, {2.5, 2}, {4, 9}, {5, 4}, {7, 7}};
    SmoothedCurve reused;
    for (const Points* points : {&large, &small, &large}) {
        for (SmoothingMode mode : AllModes) {
            for (DisplayFlags flags :
                 {DisplayFlags(), Derivatives, DisplayFlags(Integral), DisplayFlags(Derivative1)}) {
                smoothCurve(*points, mode, flags, reused);
                SmoothedCurve fresh = smoothCurve(*points, mode, flags);
                EXPECT_EQ(reused.samples, fresh.samples);
                EXPECT_EQ(reused.firstDerived, fresh.firstDerived);
                EXPECT_EQ(reused.secondDerived, fresh.secondDerived);
            }
        }
    }
    smoothCurve(Points{{1, 1}}, Akima, Integral, reused);
    EXPECT_EQ(reused.sampleCount(), 0);
    EXPECT_TRUE(reused.firstDerived.empty());
}

namespace {

// The curve sampled the plain way, one sample at a time with every sixth and 24th
// divided, from the interval cubics smoothCurve left in its workspace: what every
// faster way of sampling them must give bit for bit.
SmoothedCurve plainSamples(const SmoothWorkspace& w, DisplayFlags flags)
{
    auto held = [](double v) {
        constexpr double Largest = std::numeric_limits<double>::max();
        return std::isnan(v) ? 0.0 : std::clamp(v, -Largest, Largest);
    };
    const bool integral = flags.has(Integral);
    const bool first = integral || flags.has(Derivative1);
    const bool second = flags.has(Derivative2);
    SmoothedCurve c;
    double passed = 0;
    const std::size_t n = w.x.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double x0 = w.x[i], span = w.x[i + 1] - x0;
        const double y = w.y[i], slope = w.slope[i], curvature = w.curvature[i], jerk = w.jerk[i];
        auto add = [&](double x, double t, bool last) {
            c.samples.push_back({x, last ? w.y[i + 1] : y + t * (slope + t * (curvature / 2 + t * jerk / 6))});
            const double integrated = passed + t * (y + t * (slope / 2 + t * (curvature / 6 + t * jerk / 24)));
            if (integral)
                c.firstDerived.push_back(held(integrated));
            else if (first)
                c.firstDerived.push_back(slope + t * (curvature + t * jerk / 2));
            if (second)
                c.secondDerived.push_back(curvature + t * jerk);
            return integrated;
        };
        for (int j = 0; j < 32; ++j) {
            const double x = j * span / 32 + x0;
            add(x, x - x0, false);
        }
        passed = held(passed + span * (y + span * (slope / 2 + span * (curvature / 6 + span * jerk / 24))));
        if (i + 2 == n) {
            add(w.x[i + 1], span, true);
            if (integral)
                c.firstDerived.back() = passed;
        }
    }
    return c;
}

bool sameValues(std::span<const double> a, std::span<const double> b)
{
    return std::ranges::equal(a, b, [](double u, double v) { return sameBits(u, v); });
}

} // namespace

TEST(SmoothCurve, EverySampleIsThePlainTaylorFormBitForBit)
{
    constexpr double Largest = std::numeric_limits<double>::max();
    auto wave = [](int count, double step, double scale) {
        Points points;
        for (int i = 0; i < count; ++i)
            points.push_back({i * step + 0.25 * std::sin(i), scale * (std::sin(i * 0.9) + 0.3 * std::cos(i * 2.3))});
        return points;
    };
    auto shifted = [](Points points, double dx) {
        for (CurvePoint& p : points)
            p.x += dx;
        return points;
    };
    struct Case {
        const char* name;
        Points points;
    };
    const Case cases[] = {
        {"increasing x", wave(40, 1.0, 10)},
        {"decreasing x", wave(40, -0.5, 3)},
        // t * jerk / 6 below 2^-1020: its quarter is not t * jerk / 24 any more.
        {"sixths near the smallest doubles", wave(40, 1.0, 0x1p-1015)},
        {"subnormal values", wave(40, 1.0, 0x1p-1060)},
        // The first sub-steps add nothing to x: t is 0 there, and after a jump.
        {"sub-steps below the spacing of x", shifted(wave(20, 1e5, 1), 1e20)},
        {"negative zeros", {{0, -0.0}, {1, -0.0}, {2, -0.0}, {3, 1}, {4, -0.0}, {5, -0.0}}},
        {"values near the largest double", {{0, Largest / 8}, {1, -Largest / 8}, {2, Largest / 8}, {3, 0}}},
        {"integral held at the largest double", {{0, Largest / 2}, {1e300, Largest / 2}, {2e300, Largest / 4}}},
    };
    for (const Case& c : cases) {
        for (SmoothingMode mode : AllModes) {
            for (int bits : {0, 1, 2, 3, 4, 6}) {
                const DisplayFlags flags = DisplayFlags::fromBits(bits);
                SCOPED_TRACE(testing::Message() << c.name << ", mode " << mode << ", flags " << bits);
                const SmoothedCurve r = smoothCurve(c.points, mode, flags);
                const SmoothedCurve plain = plainSamples(r.workspace, flags);
                ASSERT_GT(r.sampleCount(), 0);
                EXPECT_TRUE(sameBits(r.samples, plain.samples));
                EXPECT_TRUE(sameValues(r.firstDerived, plain.firstDerived));
                EXPECT_TRUE(sameValues(r.secondDerived, plain.secondDerived));
            }
        }
    }
}

// Preparing the knots and sampling them afterwards gives smoothCurve's result, whatever
// the arrays held before, the straight segments that replace an overflowing cubic
// included; the knots prepared are those the samples go through.
TEST(SmoothCurve, PreparedThenSampledIsSmoothCurve)
{
    constexpr double Largest = std::numeric_limits<double>::max();
    struct Case {
        const char* name;
        Points points;
        std::size_t knots;
    };
    const Case cases[] = {
        {"increasing x", {{0, 1}, {1, 3}, {2.5, 2}, {4, 9}, {5, 4}}, 5},
        {"an equal x dropped", {{0, 0}, {1, 5}, {1, 2}, {2, 0}}, 3},
        {"one point", {{1, 1}}, 1},
        {"no point", {}, 0},
        {"a cubic that overflows", {{0, Largest / 4}, {1, -Largest / 4}, {2, Largest / 4}, {3, -Largest / 4}}, 4},
    };
    const Points earlier{{0, 2}, {3, 1}, {4, 4}, {6, 0}, {7, 2}, {9, 9}};
    for (const Case& c : cases) {
        for (SmoothingMode mode : AllModes) {
            for (DisplayFlags flags : {DisplayFlags(), Derivatives, DisplayFlags(Integral)}) {
                SCOPED_TRACE(testing::Message() << c.name << ", mode " << mode << ", flags " << flags.bits());
                SmoothedCurve twoSteps = smoothCurve(earlier, Akima, Derivatives);
                EXPECT_EQ(prepareSmoothing(c.points, mode, twoSteps), c.knots);
                samplePreparedSmoothing(flags, twoSteps);
                const SmoothedCurve oneStep = smoothCurve(c.points, mode, flags);
                EXPECT_TRUE(sameBits(twoSteps.samples, oneStep.samples));
                EXPECT_TRUE(sameValues(twoSteps.firstDerived, oneStep.firstDerived));
                EXPECT_TRUE(sameValues(twoSteps.secondDerived, oneStep.secondDerived));
            }
        }
    }
}
