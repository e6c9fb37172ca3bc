#include "view/PlotRenderer.h"

#include "draw/Surface.h"
#include "text/NumberText.h"
#include "view/SmoothCurve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

// A pass walks from the origin step by step, as the graduations have always been
// placed (values and positions accumulate, and their rounding decides which edge
// values are labelled and where the ticks fall). The walk is an addition per step and
// takes a few milliseconds at this many steps; a window farther from the origin (one
// typed in "&Bornes", say) is reached by one jump instead. A pass never handles more
// than MaxTicksPerPass ticks once at the window, whatever the arithmetic does.
constexpr int MaxWalkSteps = 1'000'000;
constexpr int MaxTicksPerPass = 32;

// Graduation values this close to 0 are written as 0.
constexpr double ZeroSnap = 0.001;

// Pixel position of a computed coordinate, truncated toward zero like every other
// conversion here; NaN gives 0 and far values stay within PixelLimit.
int toPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -static_cast<double>(PixelLimit), static_cast<double>(PixelLimit)));
}

// One pass of graduations from the origin: value v = 0 at position q = origin, then
// v += valueStep and q += pixelStep while q has not gone beyond `end`. `handle` gets
// v, q and the slack allowed at the window's edges, and returns the value to go on
// from (0 when it snapped v to 0). When the window's edge on the origin's side
// (`entry`) lies more than MaxWalkSteps steps away, the pass jumps to just before it:
// those ticks are outside the window anyway. A value reached by a jump may land an
// ulp beyond an edge that the walk would have reached, so there, and only there, the
// edges get a slack of a billionth of a step.
template <typename Handle>
void graduationPass(double origin, double pixelStep, double valueStep, double entry, double end, Handle handle)
{
    const bool forward = pixelStep > 0;
    double v = 0.0;
    double q = origin;
    const double stepsBefore = (forward ? entry - origin : origin - entry) / std::abs(pixelStep);
    int budget = MaxTicksPerPass;
    double slack = 0.0;
    if (stepsBefore > MaxWalkSteps) {
        slack = std::abs(valueStep) * 1e-9;
        const double k = std::floor(stepsBefore) - 1.0;
        v = k * valueStep;
        q = origin + k * pixelStep;
    } else if (stepsBefore > 0) {
        budget += static_cast<int>(stepsBefore) + 1;
    }
    for (int i = 0; i < budget; ++i) {
        if (!(forward ? q <= end : q >= end))
            break;
        v = handle(v, q, slack);
        v += valueStep;
        q += pixelStep;
    }
}

// Whether a graduation value lies in lo..hi, give or take the slack. Next to the
// largest double hi + slack overflows, and so does the value one step beyond the
// window: a value that is not finite lies beyond every window.
bool withinWindow(double v, double lo, double hi, double slack)
{
    return std::isfinite(v) && lo - slack <= v && v <= hi + slack;
}

bool usableStep(double pixelStep, double valueStep, double origin)
{
    return std::isfinite(pixelStep) && pixelStep != 0.0 && std::isfinite(valueStep) && valueStep > 0.0
        && std::isfinite(origin);
}

void drawXGraduations(Surface& s, const CanvasMapping& m, const ViewWindow& w, const PlotTicks& t, PixelPoint a1,
                      PixelPoint a2, int clientHeight)
{
    const double p = (a2.x - a1.x) / static_cast<double>(GraduationCount);
    const double step = (w.xmax - w.xmin) / GraduationCount;
    // The origin's column unclamped, so that the passes count steps from the true 0.
    const double x0 = m.marginX + std::round((0.0 - m.xmin) / m.scaleX);
    if (!(p > 0) || !usableStep(p, step, x0))
        return;
    const int y0 = a1.y;
    const TextAlign align{HAlign::Centre, VAlign::Top};
    auto handle = [&](double v, double q, double slack) {
        if (!withinWindow(v, w.xmin, w.xmax, slack))
            return v;
        const int x = toPixel(q);
        s.line({x, y0 - t.tickY}, {x, y0 + t.tickY});
        const bool zero = -ZeroSnap < v && v < ZeroSnap;
        if (zero)
            v = 0.0;
        const std::string label = cformat("%.2lf", {v});
        const TextExtent extent = s.measureText(label);
        if (zero) // left of the origin, below the axis
            s.text({x - extent.width - t.tickX, y0 + t.tickY}, "0", align);
        else if (y0 < clientHeight / 2) // labels on the side where less of the window lies
            s.text({x, y0 - t.tickY - extent.height}, label, align);
        else
            s.text({x, y0 + t.tickY}, label, align);
        return v;
    };
    graduationPass(x0, p, step, a1.x, a2.x + p / 20, handle);
    graduationPass(x0, -p, -step, a2.x, a1.x - p / 20, handle);
}

void drawYGraduations(Surface& s, const CanvasMapping& m, const ViewWindow& w, const PlotTicks& t, PixelPoint b1,
                      PixelPoint b2, int clientWidth)
{
    // Negative: world y grows upwards.
    const double p = (b2.y - b1.y) / static_cast<double>(GraduationCount);
    const double step = (w.ymax - w.ymin) / GraduationCount;
    const double y0 = m.usableHeight + m.marginY - std::round((0.0 - m.ymin) / m.scaleY);
    if (!(p < 0) || !usableStep(p, step, y0))
        return;
    const int x0 = b1.x;
    auto handle = [&](double v, double q, double slack) {
        if (!withinWindow(v, w.ymin, w.ymax, slack))
            return v;
        const int y = toPixel(q);
        s.line({x0 - t.tickX, y}, {x0 + t.tickX, y});
        if (-ZeroSnap < v && v < ZeroSnap)
            return 0.0; // the x axis labels the origin
        const std::string label = cformat("%.2lf", {v});
        const int top = y - s.measureText(label).height / 2;
        if (clientWidth / 2 < x0)
            s.text({x0 + 2 * t.tickX, top}, label, {HAlign::Left, VAlign::Top});
        else
            s.text({x0 - 2 * t.tickX, top}, label, {HAlign::Right, VAlign::Top});
        return v;
    };
    graduationPass(y0, -p, -step, b2.y, b1.y - p / 20, handle); // downwards
    graduationPass(y0, p, step, b1.y, b2.y + p / 20, handle);   // upwards
}

// A plus sign, longer toward the right and the bottom; each stroke leaves its end
// pixel unpainted.
void drawMarkers(Surface& s, const CanvasMapping& m, std::span<const CurvePoint> points, const PlotTicks& t)
{
    for (const CurvePoint& point : points) {
        const PixelPoint c = m.worldToPixel(point.x, point.y);
        s.line({toPixel(c.x - 1.25 * t.tickX), c.y}, {toPixel(c.x + 1.5 * t.tickX), c.y});
        s.line({c.x, toPixel(c.y - 1.25 * t.tickY)}, {c.x, toPixel(c.y + 1.5 * t.tickY)});
    }
}

// How far beyond the picture a curve is still drawn as mapped; a segment reaching
// farther is cut at this distance in floating point first, so that it keeps its true
// slope across the picture (rounding each far end on its own would tilt it).
constexpr double FarPixels = 1e6;

// std::round (halves away from zero) without the library call, for the 100 000 values
// of a redraw: the fraction v - trunc(v) is exact below 2^52, and larger values, the
// infinities and NaN are already whole (or stay what they are). Only the sign of a
// zero result may differ, which no pixel shows.
double roundHalfAwayExact(double v)
{
    constexpr double Whole = 4503599627370496.0; // 2^52
    if (!(std::abs(v) < Whole))
        return v;
    const double t = static_cast<double>(static_cast<long long>(v));
    const double fraction = v - t;
    return fraction >= 0.5 ? t + 1 : fraction <= -0.5 ? t - 1 : t;
}

// One axis of the mapping with its scale's reciprocal: a redraw maps 100 000 values,
// and a multiplication costs a fraction of a division.
struct AxisScale {
    double origin = 0.0;
    double scale = 1.0;
    double inverse = 1.0;
    AxisScale(double o, double s) : origin(o), scale(s), inverse(1.0 / s) { }

    // roundHalfAwayExact((v - origin) / scale), always the same integer: the product
    // differs from the quotient by a few units in the last place, which changes the
    // rounding only next to a half; there the quotient itself is taken.
    double rounded(double v) const
    {
        // Adding 1.5 * 2^52 and taking it off again rounds to the nearest whole number
        // (below 2^51), without a conversion to an integer and back; a half, where the
        // rounding direction matters, goes to the quotient.
        constexpr double Whole = 6755399441055744.0;
        const double a = v - origin;
        const double q = a * inverse;
        const double r = (q + Whole) - Whole;
        if (std::abs(q) < 1e15 && std::abs(std::abs(q - r) - 0.5) > std::abs(q) * 1e-12)
            return r;
        return roundHalfAwayExact(a / scale);
    }

    // rounded(v) where the product alone decides it, NaN where rounded takes the
    // quotient (a NaN v among them): without a branch, so that a loop over a curve's
    // samples is vectorized, and those few values are taken again afterwards.
    double roundedOrNaN(double v) const
    {
        constexpr double Whole = 6755399441055744.0;
        const double a = v - origin;
        const double q = a * inverse;
        const double r = (q + Whole) - Whole;
        const bool sure = (std::abs(q) < 1e15) & (std::abs(std::abs(q - r) - 0.5) > std::abs(q) * 1e-12);
        return sure ? r : std::numeric_limits<double>::quiet_NaN();
    }
};

// The mapping of CanvasMapping::worldToPixel before it is made an int: the same pixel
// for every point near the picture.
struct ExactMapping {
    AxisScale x, y;
    double left, bottom;
    explicit ExactMapping(const CanvasMapping& m)
        : x(m.xmin, m.scaleX), y(m.ymin, m.scaleY), left(m.marginX), bottom(m.usableHeight + m.marginY)
    {
    }
    double pixelX(double wx) const { return x.rounded(wx) + left; }
    double pixelY(double wy) const { return bottom - y.rounded(wy); }
};

// The mapped points as connected segments: runs that stay near the picture are kept
// as mapped; a segment that reaches far beyond is cut first.
void toPixelRuns(PixelSize size, std::span<const ExactPixel> points, PixelRuns& runs)
{
    const ExactBox box{-FarPixels, -FarPixels, size.width + FarPixels, size.height + FarPixels};
    // NaN compares false, so a point that is not finite is never near.
    auto near = [&](const ExactPixel& p) { return box.contains(p); };
    auto finite = [](const ExactPixel& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    // Near points are within a few million pixels: a plain conversion is exact there.
    auto pixel = [](const ExactPixel& p) { return PixelPoint{static_cast<int>(p.x), static_cast<int>(p.y)}; };
    auto farPixel = [](const ExactPixel& p) { return PixelPoint{toPixel(p.x), toPixel(p.y)}; };

    runs.clear();
    std::size_t start = 0; // of the run under way
    auto flush = [&] {
        if (runs.points.size() - start > 1)
            runs.ends.push_back(runs.points.size());
        else
            runs.points.resize(start); // a lone vertex draws nothing
        start = runs.points.size();
    };
    auto inRun = [&] { return runs.points.size() > start; };
    if (points.empty())
        return;
    runs.points.reserve(points.size());
    bool previousNear = near(points[0]);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool currentNear = near(points[i]);
        if (previousNear && currentNear) {
            // The common case: both ends near the picture, drawn as mapped, and so are
            // the near points that follow.
            if (!inRun())
                runs.points.push_back(pixel(points[i - 1]));
            std::size_t end = i + 1;
            while (end < points.size() && near(points[end]))
                ++end;
            const std::size_t at = runs.points.size();
            runs.points.resize(at + (end - i));
            std::transform(points.begin() + std::ptrdiff_t(i), points.begin() + std::ptrdiff_t(end),
                           runs.points.begin() + std::ptrdiff_t(at), pixel);
            i = end - 1;
            continue;
        }
        previousNear = currentNear;
        ExactPixel a = points[i - 1];
        ExactPixel b = points[i];
        if (!finite(a) || !finite(b)) {
            flush(); // a value too large to map breaks the curve there
            continue;
        }
        const bool continues = near(a) && inRun();
        if (!clipSegment(a, b, box)) {
            flush();
            continue;
        }
        if (!continues) {
            flush();
            runs.points.push_back(farPixel(a));
        }
        runs.points.push_back(farPixel(b));
        if (!currentNear)
            flush();
    }
    flush();
}

// Draws segments from..to (numbered along the runs) as polylines.
void drawSegments(Surface& s, const PixelRuns& runs, std::size_t from, std::size_t to)
{
    std::size_t first = 0; // the run's first segment
    std::size_t start = 0; // the run's first vertex
    for (const std::size_t end : runs.ends) {
        const std::size_t count = end - start - 1;
        const std::size_t lo = std::max(from, first);
        const std::size_t hi = std::min(to, first + count);
        if (lo < hi)
            s.polyline(std::span(runs.points).subspan(start + (lo - first), hi - lo + 1));
        first += count;
        start = end;
    }
}

// How many segments, from the first on, the two drawings have in common.
std::size_t commonLeadingSegments(const PixelRuns& a, const PixelRuns& b)
{
    std::size_t count = 0;
    std::size_t ra = 0, rb = 0, pa = 0, pb = 0; // run, and vertex where the segment starts
    while (ra < a.ends.size() && rb < b.ends.size() && a.points[pa] == b.points[pb]
           && a.points[pa + 1] == b.points[pb + 1]) {
        ++count;
        if (++pa + 1 == a.ends[ra])
            ++pa, ++ra;
        if (++pb + 1 == b.ends[rb])
            ++pb, ++rb;
    }
    return count;
}

// How many segments, from the last back, the two drawings have in common, at most `limit`.
std::size_t commonTrailingSegments(const PixelRuns& a, const PixelRuns& b, std::size_t limit)
{
    std::size_t count = 0;
    // The run, and the vertex where the segment ends.
    std::size_t ra = a.ends.size(), rb = b.ends.size();
    std::size_t pa = a.points.size() - 1, pb = b.points.size() - 1;
    auto runStart = [](const PixelRuns& r, std::size_t run) { return run ? r.ends[run - 1] : 0; };
    while (count < limit && ra > 0 && rb > 0 && a.points[pa] == b.points[pb] && a.points[pa - 1] == b.points[pb - 1]) {
        ++count;
        if (--pa == runStart(a, ra - 1))
            --pa, --ra;
        if (--pb == runStart(b, rb - 1))
            --pb, --rb;
    }
    return count;
}

// Which of the curves a redraw draws: the smoothed curve, then its derived curves.
enum class CurveKind {
    Smoothed,
    First,
    Second
};

// The pixels of one kind of curve of `curve`, its x already mapped in `pixels`: empty
// when the curve has nothing to draw of that kind.
void mapCurve(const SmoothedCurve& curve, CurveKind kind, const ExactMapping& map, PixelSize size,
              LargeArray<ExactPixel>& pixels, PixelRuns& runs)
{
    runs.clear();
    if (curve.sampleCount() <= 1)
        return;
    const LargeArray<double>* ys = kind == CurveKind::First ? &curve.firstDerived
        : kind == CurveKind::Second                         ? &curve.secondDerived
                                                            : nullptr;
    // Mapped in two loops: the first, vectorized, leaves NaN where the quotient decides
    // the pixel (a mapped pixel is never NaN otherwise), the second maps those again.
    const std::size_t n = curve.samples.size();
    ExactPixel* const p = pixels.data();
    if (ys) {
        if (ys->size() != n || pixels.size() != n)
            return;
        const double* const y = ys->data();
        for (std::size_t i = 0; i < n; ++i)
            p[i].y = map.bottom - map.y.roundedOrNaN(y[i]);
        for (std::size_t i = 0; i < n; ++i)
            if (std::isnan(p[i].y))
                p[i].y = map.pixelY(y[i]);
    } else {
        pixels.resize(n);
        ExactPixel* const q = pixels.data();
        const CurvePoint* const s = curve.samples.data();
        for (std::size_t i = 0; i < n; ++i)
            q[i] = {map.x.roundedOrNaN(s[i].x) + map.left, map.bottom - map.y.roundedOrNaN(s[i].y)};
        for (std::size_t i = 0; i < n; ++i) {
            if (std::isnan(q[i].x))
                q[i].x = map.pixelX(s[i].x);
            if (std::isnan(q[i].y))
                q[i].y = map.pixelY(s[i].y);
        }
    }
    toPixelRuns(size, pixels, runs);
}

// Smooths `points` into `curve`; false, the curve left empty, for lack of memory.
bool smoothInto(std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags, SmoothedCurve& curve)
{
    try {
        smoothCurve(points, mode, flags, curve);
        return true;
    } catch (const std::bad_alloc&) {
        curve.samples.clear();
        return false;
    }
}

// Smooths `erased` into buffers.previous and `drawn` into buffers.curve (either empty
// for none); false when one was left out for lack of memory.
bool smoothCurves(std::span<const CurvePoint> erased, std::span<const CurvePoint> drawn, SmoothingMode mode,
                  DisplayFlags flags, PlotBuffers& buffers)
{
    bool complete = true;
    buffers.previous.samples.clear();
    buffers.curve.samples.clear();
    if (!erased.empty())
        complete = smoothInto(erased, mode, flags, buffers.previous) && complete;
    if (!drawn.empty())
        complete = smoothInto(drawn, mode, flags, buffers.curve) && complete;
    return complete;
}

// Whether a kind of curve is drawn with `flags`.
bool shows(CurveKind kind, DisplayFlags flags)
{
    return kind == CurveKind::Smoothed || (kind == CurveKind::First && flags.hasAny(Derivative1 | Integral))
        || (kind == CurveKind::Second && flags.has(Derivative2));
}

// The smoothed curve of buffers.curve and its derived curves in exclusive-or, after
// erasing those of buffers.previous (empty for none) by drawing them again. Exclusive-or
// adds up in any order, so a segment that both draw the same is left alone: an
// unchanged derived curve, or the ends of a curve that a local edit left as they were,
// cost nothing. False when a curve was left out for lack of memory.
bool drawSmoothedCurves(Surface& s, const CanvasMapping& m, DisplayFlags flags, PlotBuffers& buffers)
{
    if (buffers.previous.sampleCount() <= 1 && buffers.curve.sampleCount() <= 1)
        return true;

    const ExactMapping map(m);
    const PixelSize size = s.size();
    s.setMode(DrawMode::Xor);
    for (const CurveKind kind : {CurveKind::Smoothed, CurveKind::First, CurveKind::Second}) {
        if (!shows(kind, flags))
            continue;
        // A surface may allocate to draw (a recording, a painter's polygon).
        try {
            mapCurve(buffers.previous, kind, map, size, buffers.previousPixels, buffers.erased);
            mapCurve(buffers.curve, kind, map, size, buffers.pixels, buffers.drawn);
            const std::size_t leading = commonLeadingSegments(buffers.erased, buffers.drawn);
            const std::size_t trailing =
                commonTrailingSegments(buffers.erased, buffers.drawn,
                                       std::min(buffers.erased.segmentCount(), buffers.drawn.segmentCount()) - leading);
            const Rgb colour = kind == CurveKind::Smoothed ? Colours::White
                : kind == CurveKind::Second                ? Colours::Cyan
                : flags.has(Derivative1)                   ? Colours::Yellow
                                                           : Colours::Magenta;
            s.setPen({colour, 1, PenStyle::Solid});
            drawSegments(s, buffers.erased, leading, buffers.erased.segmentCount() - trailing);
            drawSegments(s, buffers.drawn, leading, buffers.drawn.segmentCount() - trailing);
        } catch (const std::bad_alloc&) {
            // The derived curves take their x from the smoothed one's pixels.
            return false;
        }
    }
    return true;
}

// Probes per curve and end when a redraw after an edit weighs its two ways.
constexpr std::size_t CostProbes = 64;

// The knots of a smoothed or prepared curve, and what each kind of curve is at them.
struct Knots {
    const SmoothWorkspace& w;
    std::size_t count;
    double x(std::size_t k) const { return w.x[k]; }
    double value(CurveKind kind, std::size_t k) const
    {
        return kind == CurveKind::Smoothed ? w.y[k] : kind == CurveKind::First ? w.slope[k] : w.curvature[k];
    }
};

// How many knots from the start, and how many from the end, the erased and the drawn
// curve of one kind have at the same pixel, estimated by probing every 64th knot of the
// shorter one while they do: off by a probe step at most at each end.
std::pair<std::size_t, std::size_t> commonKnots(const Knots& a, const Knots& b, CurveKind kind, const ExactMapping& map)
{
    const std::size_t shorter = std::min(a.count, b.count);
    if (shorter < 2)
        return {0, 0};
    auto same = [&](std::size_t ka, std::size_t kb) {
        return map.pixelX(a.x(ka)) == map.pixelX(b.x(kb))
            && map.pixelY(a.value(kind, ka)) == map.pixelY(b.value(kind, kb));
    };
    const std::size_t step = (shorter + CostProbes - 1) / CostProbes;
    std::size_t leading = 0;
    for (std::size_t k = 0; k < shorter && same(k, k); k += step)
        leading = k;
    std::size_t trailing = 0;
    for (std::size_t k = 0; k < shorter - leading && same(a.count - 1 - k, b.count - 1 - k); k += step)
        trailing = k;
    return {leading, trailing};
}

// Whether drawing the whole picture again costs less than the incremental redraw, over
// a picture drawn with `mapping`, of the snapshot's curve and the current one prepared
// (not sampled) in buffers.previous and buffers.curve, with markers at the
// `erasedMarkers` points of the snapshot. Drawing the segments is what costs: the
// incremental redraw draws the segments of both curves that are not common to their
// ends, and the snapshot's markers besides (two lines each); the full redraw draws the
// current curves once, with a background, axes and labels that are not counted, so that
// it is taken only where it surely costs less. The common ends are estimated at the
// knots, where the curves are known before they are sampled: a running integral is
// taken to share the start that the curve itself shares, and no end.
bool wholePictureCostsLess(const CanvasMapping& mapping, std::size_t erasedMarkers, DisplayFlags flags,
                           const PlotBuffers& buffers)
{
    const ExactMapping map(mapping);
    const Knots erased{buffers.previous.workspace, buffers.previous.workspace.knots};
    const Knots drawn{buffers.curve.workspace, buffers.curve.workspace.knots};
    const std::size_t erasedSegments = erased.count > 1 ? SmoothSubSteps * (erased.count - 1) : 0;
    const std::size_t drawnSegments = drawn.count > 1 ? SmoothSubSteps * (drawn.count - 1) : 0;
    const std::size_t fewerSegments = std::min(erasedSegments, drawnSegments);
    const std::size_t leadingCurve = commonKnots(erased, drawn, CurveKind::Smoothed, map).first;
    std::size_t incremental = 2 * erasedMarkers;
    std::size_t whole = 0;
    for (const CurveKind kind : {CurveKind::Smoothed, CurveKind::First, CurveKind::Second}) {
        if (!shows(kind, flags))
            continue;
        const auto [leading, trailing] = kind == CurveKind::First && flags.has(Integral)
            ? std::pair<std::size_t, std::size_t>(leadingCurve, 0)
            : commonKnots(erased, drawn, kind, map);
        const std::size_t common = std::min(SmoothSubSteps * (leading + trailing), fewerSegments);
        incremental += erasedSegments + drawnSegments - 2 * common;
        whole += drawnSegments;
    }
    return incremental > whole;
}

// The markers of the points in red, after erasing in white those of the snapshot's
// `erased` points (empty for none).
void drawPointMarkers(Surface& surface, const CanvasMapping& mapping, std::span<const CurvePoint> erased,
                      std::span<const CurvePoint> current, const PlotTicks& ticks)
{
    surface.setMode(DrawMode::Copy);
    // The snapshot's markers go even when the curve is now empty, or they would stay.
    if (!erased.empty()) {
        surface.setPen({Colours::White, 1, PenStyle::Solid});
        drawMarkers(surface, mapping, erased, ticks);
    }
    if (!current.empty()) {
        surface.setPen({Colours::Red, 1, PenStyle::Solid});
        drawMarkers(surface, mapping, current, ticks);
    }
}

// The points that have a curve: none for fewer than two.
std::span<const CurvePoint> curvePoints(const CurveDocument& doc)
{
    return doc.points().size() > 1 ? doc.points() : std::span<const CurvePoint>();
}

// The full redraw of `window` once the document's curve is prepared in buffers.curve
// (prepareSmoothing). It is sampled after the background is painted, just before it is
// mapped: painting the whole picture would push the samples out of the processor's
// caches, and mapping them back from memory would cost more than the sampling itself.
PlotPicture drawWholePicture(Surface& surface, const ViewWindow& window, const CurveDocument& doc, DisplayFlags flags,
                             PlotBuffers& buffers)
{
    const PlotTicks ticks = plotTicks(surface);
    const PixelSize size = surface.size();
    const CanvasMapping mapping = CanvasMapping::make(window, size.width, size.height);
    {
        SurfaceStateGuard guard(surface);
        surface.setMode(DrawMode::Copy);
        surface.setPen({Colours::White, 2, PenStyle::Solid});
        surface.setBrush(Brush::solid(Colours::White));
        surface.rectangle({0, 0, size.width, size.height});

        const ViewWindow& w = window;
        const PixelPoint a1 = mapping.worldToPixel(w.xmin, 0.0);
        const PixelPoint a2 = mapping.worldToPixel(w.xmax, 0.0);
        const PixelPoint b1 = mapping.worldToPixel(0.0, w.ymin);
        const PixelPoint b2 = mapping.worldToPixel(0.0, w.ymax);
        surface.setPen({Colours::Black, 2, PenStyle::Solid});
        surface.line(a1, a2);
        surface.line(b1, b2);

        surface.setPen({Colours::Black, 1, PenStyle::Solid});
        surface.setFont({ticks.labelHeight, FontFamily::SansSerif, false});
        surface.setTextColour(Colours::Black);
        drawXGraduations(surface, mapping, w, ticks, a1, a2, size.height);
        drawYGraduations(surface, mapping, w, ticks, b1, b2, size.width);
    }
    SurfaceStateGuard guard(surface);
    drawPointMarkers(surface, mapping, {}, doc.points(), ticks);
    buffers.previous.samples.clear();
    samplePreparedSmoothing(flags, buffers.curve);
    return {mapping, drawSmoothedCurves(surface, mapping, flags, buffers)};
}

} // namespace

PlotTicks plotTicks(const Surface& surface)
{
    PlotTicks t;
    t.tickX = surface.logicalDpiX() / 26;
    t.tickY = surface.logicalDpiY() / 26;
    t.labelHeight = surface.logicalDpiY() * 3 / 26;
    return t;
}

PlotPicture renderPlot(Surface& surface, const ViewWindow& window, const CurveDocument& doc, DisplayFlags flags)
{
    PlotBuffers buffers;
    return renderPlot(surface, window, doc, flags, buffers);
}

PlotPicture renderPlot(Surface& surface, const ViewWindow& window, const CurveDocument& doc, DisplayFlags flags,
                       PlotBuffers& buffers)
{
    prepareSmoothing(curvePoints(doc), doc.smoothingMode, buffers.curve);
    return drawWholePicture(surface, window, doc, flags, buffers);
}

bool drawCurve(Surface& surface, const CanvasMapping& mapping, const CurveDocument& doc, DisplayFlags flags,
               bool incremental)
{
    PlotBuffers buffers;
    return drawCurve(surface, mapping, doc, flags, incremental, buffers);
}

bool drawCurve(Surface& surface, const CanvasMapping& mapping, const CurveDocument& doc, DisplayFlags flags,
               bool incremental, PlotBuffers& buffers)
{
    const std::span<const CurvePoint> erased = incremental ? doc.undoPoints() : std::span<const CurvePoint>();
    SurfaceStateGuard guard(surface);
    drawPointMarkers(surface, mapping, erased, doc.points(), plotTicks(surface));
    const bool smoothed = smoothCurves(erased, curvePoints(doc), doc.smoothingMode, flags, buffers);
    const bool drawn = drawSmoothedCurves(surface, mapping, flags, buffers);
    return smoothed && drawn;
}

PlotPicture redrawEditedCurve(Surface& surface, const ViewWindow& window, const CanvasMapping& mapping,
                              const CurveDocument& doc, DisplayFlags flags, PlotBuffers& buffers)
{
    // Both curves are sampled only once the way is chosen, each as it is to be drawn.
    const std::span<const CurvePoint> erased = doc.undoPoints();
    prepareSmoothing(erased, doc.smoothingMode, buffers.previous);
    prepareSmoothing(curvePoints(doc), doc.smoothingMode, buffers.curve);
    if (wholePictureCostsLess(mapping, erased.size(), flags, buffers))
        return drawWholePicture(surface, window, doc, flags, buffers);
    SurfaceStateGuard guard(surface);
    drawPointMarkers(surface, mapping, erased, doc.points(), plotTicks(surface));
    samplePreparedSmoothing(flags, buffers.previous);
    samplePreparedSmoothing(flags, buffers.curve);
    return {mapping, drawSmoothedCurves(surface, mapping, flags, buffers), false};
}
