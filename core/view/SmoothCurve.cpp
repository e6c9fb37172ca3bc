#include "view/SmoothCurve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace {

// Taylor coefficients of one interval's cubic at its left end.
struct SplineSegment {
    double value = 0.0;     // c0
    double slope = 0.0;     // c1
    double curvature = 0.0; // c2
    double jerk = 0.0;      // c3

    double at(double t) const { return value + t * (slope + t * (curvature / 2 + t * jerk / 6)); }
    double firstDerivative(double t) const { return slope + t * (curvature + t * jerk / 2); }
    double secondDerivative(double t) const { return curvature + t * jerk; }
    double integral(double t) const
    {
        return t * (value + t * (slope / 2 + t * (curvature / 6 + t * jerk / 24)));
    }
};

struct Knots {
    std::vector<double> x, y;
    std::vector<double> h, delta; // interval lengths and slopes, one fewer than the knots
    std::size_t size() const { return x.size(); }
};

// Copies the points into x and y arrays. A zero-length interval would divide by zero in
// every formula below, so it is dropped: the later point of the pair replaces the earlier
// one, as the document's thinning keeps the later point too. An interval so short that
// its slope overflows, or so long that its sub-steps overflow, is dropped the same way.
Knots knotsOf(std::span<const CurvePoint> points)
{
    Knots k;
    k.x.reserve(points.size());
    k.y.reserve(points.size());
    for (const CurvePoint& p : points) {
        if (!k.x.empty()) {
            double h = p.x - k.x.back();
            if (h == 0 || !std::isfinite(h * SmoothSubSteps) || !std::isfinite((p.y - k.y.back()) / h)) {
                k.x.back() = p.x;
                k.y.back() = p.y;
                continue;
            }
        }
        k.x.push_back(p.x);
        k.y.push_back(p.y);
    }
    std::size_t n = k.x.size();
    if (n >= 2) {
        k.h.resize(n - 1);
        k.delta.resize(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i) {
            k.h[i] = k.x[i + 1] - k.x[i];
            k.delta[i] = (k.y[i + 1] - k.y[i]) / k.h[i];
        }
    }
    return k;
}

std::vector<SplineSegment> straightSegments(const Knots& k)
{
    std::vector<SplineSegment> s(k.size());
    for (std::size_t i = 0; i + 1 < k.size(); ++i)
        s[i] = {k.y[i], k.delta[i], 0.0, 0.0};
    std::size_t last = k.size() - 1;
    s[last] = {k.y[last], last > 0 ? k.delta[last - 1] : 0.0, 0.0, 0.0};
    return s;
}

std::vector<SplineSegment> segmentsFromSlopes(const Knots& k, const std::vector<double>& d)
{
    std::size_t n = k.size();
    std::vector<SplineSegment> s(n);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        double h = k.h[i];
        double u = d[i] + d[i + 1] - 2 * k.delta[i];
        s[i] = {k.y[i], d[i], 2 * (k.delta[i] - d[i] - u) / h, (u / h) * (6 / h)};
    }
    const SplineSegment& before = s[n - 2];
    s[n - 1] = {k.y[n - 1], d[n - 1], before.curvature + k.h[n - 2] * before.jerk, before.jerk};
    return s;
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

void setThreePointEndSlopes(const Knots& k, std::vector<double>& d)
{
    std::size_t n = k.size();
    {
        double h1 = k.h[0], h2 = k.h[1], S = h1 + h2;
        double d0 = ((h1 + S) / S) * k.delta[0] - (h1 / S) * k.delta[1];
        d[0] = shapeLimited(d0, k.delta[0], k.delta[1]);
    }
    {
        double h1 = k.h[n - 3], h2 = k.h[n - 2], S = h1 + h2;
        double dn = -(h2 / S) * k.delta[n - 3] + ((h2 + S) / S) * k.delta[n - 2];
        d[n - 1] = shapeLimited(dn, k.delta[n - 2], k.delta[n - 3]);
    }
}

std::vector<double> cubicSlopes(const Knots& k)
{
    std::size_t n = k.size();
    std::vector<double> d(n);
    setThreePointEndSlopes(k, d);

    // lambda_i * d_{i-1} + 2 d_i + (1 - lambda_i) * d_{i+1} = rhs_i; the end rows pin the
    // end slopes (lambda_0 = 1, lambda_{n-1} = 0).
    std::vector<double> lambda(n), rhs(n);
    lambda[0] = 1.0;
    rhs[0] = 2 * d[0];
    for (std::size_t i = 1; i + 1 < n; ++i) {
        lambda[i] = k.h[i] / (k.h[i - 1] + k.h[i]);
        rhs[i] = 3 * (lambda[i] * k.delta[i - 1] + (1 - lambda[i]) * k.delta[i]);
    }
    lambda[n - 1] = 0.0;
    rhs[n - 1] = 2 * d[n - 1];

    // Forward elimination and back substitution, no pivoting (diagonally dominant for
    // monotone x).
    std::vector<double> m(n), q(n), r(n);
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
    return d;
}

std::vector<double> akimaSlopes(const Knots& k)
{
    std::size_t n = k.size();
    const std::vector<double>& delta = k.delta;
    std::vector<double> w(n), d(n);
    for (std::size_t i = 1; i + 1 < n; ++i)
        w[i] = std::abs(delta[i] - delta[i - 1]);
    w[0] = w[1];
    w[n - 1] = w[n - 2];

    auto weighted = [](double wa, double a, double wb, double b) {
        double W = wa + wb;
        return W == 0 ? (a + b) * 0.5 : (wa * a + wb * b) / W;
    };
    // The ends use the end interval's slope extrapolated one interval further out.
    d[0] = weighted(w[1], 2 * delta[0] - delta[1], w[0], delta[0]);
    for (std::size_t i = 1; i + 1 < n; ++i)
        d[i] = weighted(w[i + 1], delta[i - 1], w[i - 1], delta[i]);
    d[n - 1] = weighted(w[n - 2], 2 * delta[n - 2] - delta[n - 3], w[n - 1], delta[n - 2]);
    return d;
}

std::vector<double> carlsonSlopes(const Knots& k)
{
    std::size_t n = k.size();
    std::vector<double> d(n);
    setThreePointEndSlopes(k, d);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        double a = k.delta[i - 1], b = k.delta[i];
        if (a * b <= 0) {
            d[i] = 0.0; // extremum or flat part: a non-zero slope would overshoot
            continue;
        }
        double h1 = k.h[i - 1], h2 = k.h[i], S = h1 + h2;
        double w1 = (S + h1) / (3 * S), w2 = (S + h2) / (3 * S);
        double dmax = std::max(std::abs(a), std::abs(b));
        double dmin = std::min(std::abs(a), std::abs(b));
        d[i] = dmin / (w1 * (a / dmax) + w2 * (b / dmax));
    }
    return d;
}

bool allFinite(const std::vector<SplineSegment>& segments)
{
    return std::all_of(segments.begin(), segments.end(), [](const SplineSegment& s) {
        return std::isfinite(s.value) && std::isfinite(s.slope) && std::isfinite(s.curvature)
            && std::isfinite(s.jerk);
    });
}

std::vector<SplineSegment> segmentsFor(const Knots& k, int mode)
{
    if (k.size() < 3 || mode < Cubique || mode > Carlson)
        return straightSegments(k);
    std::vector<double> slopes = mode == Cubique ? cubicSlopes(k)
                               : mode == Akima   ? akimaSlopes(k)
                                                 : carlsonSlopes(k);
    std::vector<SplineSegment> segments = segmentsFromSlopes(k, slopes);
    // Points out of x order can make two successive intervals cancel (h1 + h2 = 0) or
    // the elimination meet a zero pivot; straight segments are then the honest answer.
    if (!allFinite(segments))
        return straightSegments(k);
    return segments;
}

SmoothedCurve sample(const Knots& k, const std::vector<SplineSegment>& segments, int flags)
{
    SmoothedCurve out;
    std::size_t intervals = k.size() - 1;
    std::size_t count = SmoothSubSteps * intervals + 1;
    bool integral = (flags & Integral) != 0;
    bool first = integral || (flags & Derivative1) != 0;
    bool second = (flags & Derivative2) != 0;
    out.samples.reserve(count);
    if (first)
        out.firstDerived.reserve(count);
    if (second)
        out.secondDerived.reserve(count);

    // Integral of the intervals already passed, added interval by interval in order.
    double passed = 0.0;
    for (std::size_t i = 0; i < intervals; ++i) {
        const SplineSegment& s = segments[i];
        double x0 = k.x[i], x1 = k.x[i + 1];
        int steps = i + 1 == intervals ? SmoothSubSteps + 1 : SmoothSubSteps;
        for (int j = 0; j < steps; ++j) {
            double x = j * (x1 - x0) / SmoothSubSteps + x0;
            double t = x - x0;
            out.samples.push_back({x, s.at(t)});
            if (integral)
                out.firstDerived.push_back(passed + s.integral(t));
            else if (first)
                out.firstDerived.push_back(s.firstDerivative(t));
            if (second)
                out.secondDerived.push_back(s.secondDerivative(t));
        }
        if (integral)
            passed += s.integral(k.h[i]);
    }
    return out;
}

} // namespace

SmoothedCurve smoothCurve(std::span<const CurvePoint> points, int mode, int flags)
{
    // A failed allocation draws nothing rather than leaving the drawing code.
    try {
        Knots k = knotsOf(points);
        if (k.size() < 2)
            return {};
        return sample(k, segmentsFor(k, mode), flags);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
