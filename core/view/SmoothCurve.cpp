#include "view/SmoothCurve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>

// The sampling is compiled twice on x86-64 with GCC or Clang, the second time for
// processors with AVX, chosen when the program runs; its pieces are inlined into both.
// Not on Windows, whose 16-byte stack alignment MinGW's GCC does not raise for the
// 32-byte values AVX spills there.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(_WIN32)
#define CRB_SAMPLING_WITH_AVX 1
#define SAMPLING_INLINE [[gnu::always_inline]] inline
#else
#define CRB_SAMPLING_WITH_AVX 0
#define SAMPLING_INLINE inline
#endif

namespace {

using Array = std::vector<double>;

// Copies the points into the knot arrays, with the intervals' lengths and slopes, when
// no interval is to be dropped (see makeKnots); false otherwise. The common case,
// increasing x, thus costs one division a point, two at a time in a loop the compiler
// vectorizes, rather than the two of the general loop.
bool takeEveryPoint(std::span<const CurvePoint> points, SmoothWorkspace& w)
{
    const std::size_t n = points.size();
    w.x.resize(n);
    w.y.resize(n);
    w.h.resize(n - 1);
    w.delta.resize(n - 1);
    double* x = w.x.data();
    double* y = w.y.data();
    double* h = w.h.data();
    double* delta = w.delta.data();
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        h[i] = x[i + 1] - x[i];
        delta[i] = (y[i + 1] - y[i]) / h[i];
    }
    bool kept = true;
    for (std::size_t i = 0; i + 1 < n; ++i)
        kept &= (h[i] != 0) & std::isfinite(h[i] * SmoothSubSteps) & std::isfinite(delta[i]);
    return kept;
}

// Copies the points into the knot arrays. A zero-length interval would divide by zero in
// every formula below, so it is dropped: the later point of the pair replaces the earlier
// one, as the document's thinning keeps the later point too. An interval so short that
// its slope overflows, or so long that its sub-steps overflow, is dropped the same way.
// The interval that then reaches back to the point before is checked again, since it
// may be just as bad (x going back and forth in an unsorted file).
std::size_t makeKnots(std::span<const CurvePoint> points, SmoothWorkspace& w)
{
    if (points.size() >= 2 && takeEveryPoint(points, w))
        return points.size();
    w.x.clear();
    w.y.clear();
    for (const CurvePoint& p : points) {
        while (!w.x.empty()) {
            const double h = p.x - w.x.back();
            if (h != 0 && std::isfinite(h * SmoothSubSteps) && std::isfinite((p.y - w.y.back()) / h))
                break;
            w.x.pop_back();
            w.y.pop_back();
        }
        w.x.push_back(p.x);
        w.y.push_back(p.y);
    }
    const std::size_t n = w.x.size();
    if (n >= 2) {
        w.h.resize(n - 1);
        w.delta.resize(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i) {
            w.h[i] = w.x[i + 1] - w.x[i];
            w.delta[i] = (w.y[i + 1] - w.y[i]) / w.h[i];
        }
    }
    return n;
}

// Each interval's cubic is kept as its Taylor coefficients at the left end: the knot's
// y, then slope, curvature and jerk. The last knot's entries continue the last interval.
void straightSegments(SmoothWorkspace& w, std::size_t n)
{
    w.slope.resize(n);
    w.curvature.assign(n, 0.0);
    w.jerk.assign(n, 0.0);
    for (std::size_t i = 0; i + 1 < n; ++i)
        w.slope[i] = w.delta[i];
    w.slope[n - 1] = n > 1 ? w.delta[n - 2] : 0.0;
}

// Curvature and jerk of each interval from the slopes at its ends (in w.slope).
void segmentsFromSlopes(SmoothWorkspace& w, std::size_t n)
{
    w.curvature.resize(n);
    w.jerk.resize(n);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double h = w.h[i];
        const double u = w.slope[i] + w.slope[i + 1] - 2 * w.delta[i];
        w.curvature[i] = 2 * (w.delta[i] - w.slope[i] - u) / h;
        w.jerk[i] = (u / h) * (6 / h);
    }
    w.curvature[n - 1] = w.curvature[n - 2] + w.h[n - 2] * w.jerk[n - 2];
    w.jerk[n - 1] = w.jerk[n - 2];
}

// End slope from the three points at one end, limited so that it keeps the sign of the
// end interval and does not overshoot where the data turn.
double shapeLimited(double d, double deltaNear, double deltaFar)
{
    if (d * deltaNear <= 0)
        return 0.0;
    if (deltaNear * deltaFar < 0 && std::abs(3 * deltaNear) < std::abs(d))
        return 3 * deltaNear;
    return d;
}

void setThreePointEndSlopes(SmoothWorkspace& w, std::size_t n)
{
    const Array& h = w.h;
    const Array& delta = w.delta;
    {
        double h1 = h[0], h2 = h[1], S = h1 + h2;
        double d0 = ((h1 + S) / S) * delta[0] - (h1 / S) * delta[1];
        w.slope[0] = shapeLimited(d0, delta[0], delta[1]);
    }
    {
        double h1 = h[n - 3], h2 = h[n - 2], S = h1 + h2;
        double dn = -(h2 / S) * delta[n - 3] + ((h2 + S) / S) * delta[n - 2];
        w.slope[n - 1] = shapeLimited(dn, delta[n - 2], delta[n - 3]);
    }
}

void cubicSlopes(SmoothWorkspace& w, std::size_t n)
{
    Array& d = w.slope;
    setThreePointEndSlopes(w, n);

    // lambda_i * d_{i-1} + 2 d_i + (1 - lambda_i) * d_{i+1} = rhs_i; the end rows pin the
    // end slopes (lambda_0 = 1, lambda_{n-1} = 0).
    Array& lambda = w.a;
    Array& rhs = w.b;
    lambda.resize(n);
    rhs.resize(n);
    lambda[0] = 1.0;
    rhs[0] = 2 * d[0];
    for (std::size_t i = 1; i + 1 < n; ++i) {
        lambda[i] = w.h[i] / (w.h[i - 1] + w.h[i]);
        rhs[i] = 3 * (lambda[i] * w.delta[i - 1] + (1 - lambda[i]) * w.delta[i]);
    }
    lambda[n - 1] = 0.0;
    rhs[n - 1] = 2 * d[n - 1];

    // Forward elimination and back substitution, no pivoting (diagonally dominant for
    // monotone x).
    Array& m = w.c;
    Array& q = w.d;
    Array& r = w.e;
    m.resize(n);
    q.resize(n);
    r.resize(n);
    m[0] = 2.0;
    r[0] = rhs[0] / 2;
    for (std::size_t i = 1; i < n; ++i) {
        q[i - 1] = (1 - lambda[i - 1]) / m[i - 1];
        m[i] = 2 - lambda[i] * q[i - 1];
        r[i] = (rhs[i] - lambda[i] * r[i - 1]) / m[i];
    }
    d[n - 1] = r[n - 1];
    for (std::size_t i = n - 1; i-- > 0;)
        d[i] = r[i] - q[i] * d[i + 1];
}

void akimaSlopes(SmoothWorkspace& w, std::size_t n)
{
    const Array& delta = w.delta;
    Array& weight = w.a;
    Array& d = w.slope;
    weight.assign(n, 0.0);
    for (std::size_t i = 1; i + 1 < n; ++i)
        weight[i] = std::abs(delta[i] - delta[i - 1]);
    weight[0] = weight[1];
    weight[n - 1] = weight[n - 2];

    auto weighted = [](double wa, double a, double wb, double b) {
        double W = wa + wb;
        return W == 0 ? (a + b) * 0.5 : (wa * a + wb * b) / W;
    };
    // The ends use the end interval's slope extrapolated one interval further out.
    d[0] = weighted(weight[1], 2 * delta[0] - delta[1], weight[0], delta[0]);
    for (std::size_t i = 1; i + 1 < n; ++i)
        d[i] = weighted(weight[i + 1], delta[i - 1], weight[i - 1], delta[i]);
    d[n - 1] = weighted(weight[n - 2], 2 * delta[n - 2] - delta[n - 3], weight[n - 1], delta[n - 2]);
}

void carlsonSlopes(SmoothWorkspace& w, std::size_t n)
{
    setThreePointEndSlopes(w, n);
    double* d = w.slope.data();
    const double* h = w.h.data();
    const double* delta = w.delta.data();
    // Two loops without a branch, which the compiler vectorizes: in a single loop the
    // divisions would sit behind the test of the turn, where they are not vectorized.
    // The quotient is thus also computed where it is dropped (0 / 0 perhaps).
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double a = delta[i - 1], b = delta[i];
        const double h1 = h[i - 1], h2 = h[i], S = h1 + h2;
        const double w1 = (S + h1) / (3 * S), w2 = (S + h2) / (3 * S);
        const double dmax = std::max(std::abs(a), std::abs(b));
        const double dmin = std::min(std::abs(a), std::abs(b));
        d[i] = dmin / (w1 * (a / dmax) + w2 * (b / dmax));
    }
    // At an extremum or on a flat part a non-zero slope would overshoot.
    for (std::size_t i = 1; i + 1 < n; ++i)
        d[i] = delta[i - 1] * delta[i] <= 0 ? 0.0 : d[i];
}

bool allFinite(const Array& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The segments of `mode`; false when they are straight (asked for, or forced).
bool makeSegments(SmoothWorkspace& w, std::size_t n, SmoothingMode mode)
{
    if (n < 3 || mode < Cubique || mode > Carlson) {
        straightSegments(w, n);
        return false;
    }
    w.slope.resize(n);
    if (mode == Cubique)
        cubicSlopes(w, n);
    else if (mode == Akima)
        akimaSlopes(w, n);
    else
        carlsonSlopes(w, n);
    segmentsFromSlopes(w, n);
    // Points out of x order can make two successive intervals cancel (h1 + h2 = 0) or
    // the elimination meet a zero pivot; straight segments are then the honest answer.
    if (!allFinite(w.slope) || !allFinite(w.curvature) || !allFinite(w.jerk)) {
        straightSegments(w, n);
        return false;
    }
    return true;
}

// The largest double of the value's sign for an overflow; 0 for NaN.
double held(double v)
{
    if (std::isnan(v))
        return 0.0;
    constexpr double Largest = std::numeric_limits<double>::max();
    return std::clamp(v, -Largest, Largest);
}

// What the first derived array holds.
enum class FirstDerived {
    None,
    Slope,
    Integral
};

// One interval's cubic in the Taylor form at its left end, with the halves and sixths
// its Horner forms use. Passed by value, so that the stores of the sample loop cannot
// be taken for writes into it and every coefficient stays in a register.
struct IntervalCubic {
    double x0, span;
    double value, slope, curvature, jerk;
    double halfSlope, halfCurvature, sixthCurvature;
    double passed; // integral of the intervals before
};

// The sub-step numbers as doubles, read rather than converted in the sampling loops.
constexpr double Steps[SmoothSubSteps] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                          16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

// The 32 sub-steps of one interval. x, t and t * jerk are computed once for every
// array, and in stages over the sub-steps rather than sample by sample: each sample's
// chain of dependent operations (x, t, the division, the Horner forms) is long, and the
// processor overlaps the independent sub-steps of one stage far better than it can
// reach ahead to the next sample's. The expressions are term by term those of the Taylor
// form, so that each value keeps its bits whichever arrays are asked. The 24th of
// t * jerk in the integral is divided with QuarterSixths false, and taken as the quarter
// of its sixth otherwise, which needs the interval to pass quarterSixthsAreExact.
template <FirstDerived First, bool Second, bool QuarterSixths>
SAMPLING_INLINE void sampleInterval(IntervalCubic c, CurvePoint* samples, double* firstDerived, double* secondDerived)
{
    double xs[SmoothSubSteps], ts[SmoothSubSteps], tjs[SmoothSubSteps], sixths[SmoothSubSteps];
    for (int j = 0; j < SmoothSubSteps; ++j) {
        xs[j] = Steps[j] * c.span / SmoothSubSteps + c.x0;
        ts[j] = xs[j] - c.x0;
        tjs[j] = ts[j] * c.jerk;
        sixths[j] = tjs[j] / 6;
    }
    for (int j = 0; j < SmoothSubSteps; ++j) {
        const double t = ts[j];
        samples[j] = {xs[j], c.value + t * (c.slope + t * (c.halfCurvature + sixths[j]))};
    }
    if constexpr (First == FirstDerived::Integral) {
        for (int j = 0; j < SmoothSubSteps; ++j) {
            const double t = ts[j];
            const double twentyFourth = QuarterSixths ? sixths[j] / 4 : tjs[j] / 24;
            firstDerived[j] = c.passed + t * (c.value + t * (c.halfSlope + t * (c.sixthCurvature + twentyFourth)));
        }
    } else if constexpr (First == FirstDerived::Slope) {
        for (int j = 0; j < SmoothSubSteps; ++j)
            firstDerived[j] = c.slope + ts[j] * (c.curvature + tjs[j] / 2);
    }
    if constexpr (Second)
        for (int j = 0; j < SmoothSubSteps; ++j)
            secondDerived[j] = c.curvature + tjs[j];
}

// True when (t * jerk) / 24 is the quarter of (t * jerk) / 6 at every sub-step of the
// interval, which saves a division a sample. Scaling by a power of two commutes with
// rounding as long as the result is a normal double: true for every sixth that is 0 or
// at least 2^-1020 in size. |t| grows with the sub-step and every rounding keeps the
// order, so the first sub-step after the knot has the smallest sixth.
SAMPLING_INLINE bool quarterSixthsAreExact(const IntervalCubic& c)
{
    if (c.jerk == 0)
        return true;
    const double t = 1 * c.span / SmoothSubSteps + c.x0 - c.x0;
    return std::abs(t * c.jerk / 6) >= 0x1p-1020;
}

// True when no value of the interval's cubic, of the derivatives or of the integral can
// come near the largest double: |t| <= |span| at every sub-step, so bounding each Horner
// form by the absolute values of its terms at |span| bounds every partial result. Most
// intervals are so, and their samples need no check afterwards.
SAMPLING_INLINE bool surelyFinite(const IntervalCubic& c)
{
    constexpr double Safe = 1e300; // far enough below the largest double for the roundings
    const double a = std::abs(c.span);
    const double second = std::abs(c.curvature) + a * std::abs(c.jerk);
    const double first = std::abs(c.slope) + a * second;
    const double curve = std::abs(c.value) + a * first;
    const double integral = std::abs(c.passed) + a * curve;
    return second < Safe && first < Safe && curve < Safe && integral < Safe;
}

// Checks and holds one interval's samples as the whole curve's would be: false when a
// sample of the curve or of a derivative is not finite; the integral is held instead.
template <FirstDerived First, bool Second>
bool checkSamples(CurvePoint* samples, double* firstDerived, double* secondDerived, std::size_t count)
{
    bool finite = true;
    for (std::size_t k = 0; k < count; ++k) {
        finite &= std::isfinite(samples[k].y);
        if constexpr (First == FirstDerived::Integral)
            firstDerived[k] = held(firstDerived[k]);
        else if constexpr (First == FirstDerived::Slope)
            finite &= std::isfinite(firstDerived[k]);
        if constexpr (Second)
            finite &= std::isfinite(secondDerived[k]);
    }
    return finite;
}

// Samples the segments into the arrays, already of their size; false when a sample of
// the curve or of a derivative came out non-finite (an overflowing cubic).
template <FirstDerived First, bool Second>
SAMPLING_INLINE bool sampleSegments(const SmoothWorkspace& w, std::size_t n, CurvePoint* samples, double* firstDerived,
                                    double* secondDerived)
{
    const std::size_t intervals = n - 1;
    const std::size_t count = SmoothSubSteps * intervals + 1;
    bool finite = true;
    // Integral of the intervals already passed, added interval by interval in order.
    double passed = 0.0;
    for (std::size_t i = 0; i < intervals; ++i) {
        IntervalCubic c;
        c.x0 = w.x[i];
        c.span = w.x[i + 1] - c.x0;
        c.value = w.y[i];
        c.slope = w.slope[i];
        c.curvature = w.curvature[i];
        c.jerk = w.jerk[i];
        c.halfSlope = c.slope / 2;
        c.halfCurvature = c.curvature / 2;
        c.sixthCurvature = c.curvature / 6;
        c.passed = passed;
        const std::size_t base = i * SmoothSubSteps;
        CurvePoint* s = samples + base;
        double* d1 = First == FirstDerived::None ? nullptr : firstDerived + base;
        double* d2 = Second ? secondDerived + base : nullptr;
        if (!surelyFinite(c)) {
            sampleInterval<First, Second, false>(c, s, d1, d2);
            finite &= checkSamples<First, Second>(s, d1, d2, SmoothSubSteps);
        } else if (First != FirstDerived::Integral || !quarterSixthsAreExact(c)) {
            sampleInterval<First, Second, false>(c, s, d1, d2);
        } else {
            sampleInterval<First, Second, First == FirstDerived::Integral>(c, s, d1, d2);
        }
        if constexpr (First == FirstDerived::Integral) {
            const double h = w.h[i];
            passed = held(passed + h * (c.value + h * (c.halfSlope + h * (c.sixthCurvature + h * c.jerk / 24))));
        }
    }
    // The last sample is the last point itself: x0 + (x1 - x0) may not give x1 back.
    const std::size_t last = intervals - 1;
    const double t = w.x[last + 1] - w.x[last];
    samples[count - 1] = {w.x[last + 1], w.y[last + 1]};
    if constexpr (First == FirstDerived::Integral)
        firstDerived[count - 1] = passed;
    else if constexpr (First == FirstDerived::Slope)
        firstDerived[count - 1] = w.slope[last] + t * (w.curvature[last] + t * w.jerk[last] / 2);
    if constexpr (Second)
        secondDerived[count - 1] = w.curvature[last] + t * w.jerk[last];
    finite &= checkSamples<First, Second>(samples + count - 1, firstDerived ? firstDerived + count - 1 : nullptr,
                                          secondDerived ? secondDerived + count - 1 : nullptr, 1);
    return finite;
}

// The sampling of the arrays asked by the flags.
SAMPLING_INLINE bool sampleArrays(const SmoothWorkspace& w, std::size_t n, bool integral, bool first, bool second,
                                  CurvePoint* s, double* d1, double* d2)
{
    if (integral)
        return second ? sampleSegments<FirstDerived::Integral, true>(w, n, s, d1, d2)
                      : sampleSegments<FirstDerived::Integral, false>(w, n, s, d1, d2);
    if (first)
        return second ? sampleSegments<FirstDerived::Slope, true>(w, n, s, d1, d2)
                      : sampleSegments<FirstDerived::Slope, false>(w, n, s, d1, d2);
    return second ? sampleSegments<FirstDerived::None, true>(w, n, s, d1, d2)
                  : sampleSegments<FirstDerived::None, false>(w, n, s, d1, d2);
}

bool sampleArraysPlain(const SmoothWorkspace& w, std::size_t n, bool integral, bool first, bool second, CurvePoint* s,
                       double* d1, double* d2)
{
    return sampleArrays(w, n, integral, first, second, s, d1, d2);
}

#if CRB_SAMPLING_WITH_AVX
// The same code for processors with AVX, which sample four values an instruction rather
// than two: the same operations on each value, correctly rounded whatever the width of
// the registers (nothing is fused), so the same bits.
[[gnu::target("avx")]] bool sampleArraysAvx(const SmoothWorkspace& w, std::size_t n, bool integral, bool first,
                                            bool second, CurvePoint* s, double* d1, double* d2)
{
    return sampleArrays(w, n, integral, first, second, s, d1, d2);
}
#endif

// Samples the segments into `out`; false when a sample of the curve or of a derivative
// came out non-finite (an overflowing cubic).
bool sample(const SmoothWorkspace& w, std::size_t n, DisplayFlags flags, SmoothedCurve& out)
{
    const std::size_t count = SmoothSubSteps * (n - 1) + 1;
    const bool integral = flags.has(Integral);
    const bool first = integral || flags.has(Derivative1);
    const bool second = flags.has(Derivative2);
    out.samples.resize(count);
    out.firstDerived.resize(first ? count : 0);
    out.secondDerived.resize(second ? count : 0);
    CurvePoint* s = out.samples.data();
    double* d1 = out.firstDerived.data();
    double* d2 = out.secondDerived.data();
#if CRB_SAMPLING_WITH_AVX
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        return sampleArraysAvx(w, n, integral, first, second, s, d1, d2);
#endif
    return sampleArraysPlain(w, n, integral, first, second, s, d1, d2);
}

void clearCurve(SmoothedCurve& out)
{
    out.samples.clear();
    out.firstDerived.clear();
    out.secondDerived.clear();
}

// Straight segments can still reach past the largest double by rounding, next to it.
void holdSamples(SmoothedCurve& out)
{
    for (CurvePoint& p : out.samples)
        p.y = held(p.y);
    for (double& v : out.firstDerived)
        v = held(v);
    for (double& v : out.secondDerived)
        v = held(v);
}

} // namespace

std::size_t prepareSmoothing(std::span<const CurvePoint> points, SmoothingMode mode, SmoothedCurve& out)
{
    // A failed allocation draws nothing rather than leaving the drawing code.
    SmoothWorkspace& w = out.workspace;
    try {
        w.knots = makeKnots(points, w);
        w.cubic = w.knots >= 2 && makeSegments(w, w.knots, mode);
    } catch (const std::bad_alloc&) {
        w.knots = 0;
        clearCurve(out);
    }
    return w.knots;
}

void samplePreparedSmoothing(DisplayFlags flags, SmoothedCurve& out)
{
    try {
        SmoothWorkspace& w = out.workspace;
        const std::size_t n = w.knots;
        if (n < 2) {
            clearCurve(out);
            return;
        }
        if (sample(w, n, flags, out))
            return;
        if (w.cubic) {
            straightSegments(w, n);
            w.cubic = false;
            if (sample(w, n, flags, out))
                return;
        }
        holdSamples(out);
    } catch (const std::bad_alloc&) {
        clearCurve(out);
    }
}

void smoothCurve(std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags, SmoothedCurve& out)
{
    prepareSmoothing(points, mode, out);
    samplePreparedSmoothing(flags, out);
}

SmoothedCurve smoothCurve(std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags)
{
    SmoothedCurve out;
    smoothCurve(points, mode, flags, out);
    return out;
}
