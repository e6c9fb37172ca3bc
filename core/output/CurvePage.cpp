#include "output/CurvePage.h"

#include "common/LargeArray.h"
#include "curve/CurveDocument.h"
#include "draw/Surface.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"
#include "view/SmoothCurve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

CurvePageTexts paperPageTexts(const CurveDocument& doc)
{
    return {std::string(PageTitle), doc.documentName, std::string(PrintedHeading), doc.xAxisName, doc.yAxisName};
}

CurvePageTexts picturePageTexts(const CurveDocument& doc)
{
    return {std::nullopt, std::nullopt, std::nullopt, doc.xAxisName, doc.yAxisName};
}

namespace {

// Values beyond this are drawn at it: the ranges, their steps and the products with the
// plot size then stay finite.
constexpr double ValueLimit = 1e300;
// Device coordinates are kept within this, whatever the value.
constexpr double DeviceLimit = 1 << 28;
// Point circles are drawn only below these counts.
constexpr int PaperCircleLimit = 101;
constexpr int PictureCircleLimit = 81;

constexpr std::string_view PaperYFormat = "%.6lf";

// Integer part of a device coordinate, kept within the device's reach.
int whole(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -DeviceLimit, DeviceLimit));
}

double rounded(double r)
{
    if (r > 1.0)
        return std::ceil(r);
    constexpr double Scales[] = {10.0, 100.0, 1000.0, 10000.0};
    for (double scale : Scales)
        if (r > 1.0 / scale)
            return std::ceil(r * scale) / scale;
    return std::ceil(r * 100000.0) / 100000.0;
}

// k * step for the smallest whole k >= kMin with k * step >= v. Counting from 0 one
// step at a time would take billions of turns on a range far from 0, so start at the
// quotient and correct it by the same comparison.
double firstMultipleAtLeast(double v, double step, double kMin)
{
    double k = std::max(kMin, std::ceil(v / step));
    for (int i = 0; i < 4 && k > kMin && (k - 1.0) * step >= v; ++i)
        k -= 1.0;
    for (int i = 0; i < 4 && k * step < v; ++i)
        k += 1.0;
    return k * step;
}

// k * step for the largest whole k <= kMax with k * step <= v.
double lastMultipleAtMost(double v, double step, double kMax)
{
    double k = std::min(kMax, std::floor(v / step));
    for (int i = 0; i < 4 && k < kMax && (k + 1.0) * step <= v; ++i)
        k += 1.0;
    for (int i = 0; i < 4 && k * step > v; ++i)
        k -= 1.0;
    return k * step;
}

struct Axis {
    double lo = 0.0;
    double hi = 1.0;
    double step = 0.125;
    std::string format;

    std::string label(double v) const { return cformat(format, {v}); }
};

// Where the values are so large that adding the widening leaves the range flat, widen
// by a part of the value instead, so that the mapping never divides by zero.
void keepOpen(double& lo, double& hi)
{
    if (hi > lo)
        return;
    const double half = std::max(0.5, std::max(std::abs(lo), std::abs(hi)) * 1e-9);
    lo -= half;
    hi += half;
}

void graduate(Axis& axis, int divisions)
{
    axis.step = rounded(axis.hi - axis.lo) / divisions;
}

std::string labelFormat(const Axis& axis)
{
    if (std::max(std::abs(axis.lo), std::abs(axis.hi)) > 1000.0)
        return "%+.2e";
    const double f = axis.step - std::floor(axis.step);
    if (f < 1e-6)
        return "%.0lf";
    if (f < 0.0001)
        return "%+.2e";
    if (f < 0.001)
        return "%.4lf";
    if (f < 0.01)
        return "%.3lf";
    if (f < 0.1)
        return "%.2lf";
    return "%.1lf";
}

struct Extent {
    bool curve = false; // the sampled curve gave the ranges
    double xmin = 0.0, xmax = 1.0, ymin = 0.0, ymax = 1.0, ymean = 0.0;
};

Extent extentOf(std::span<const CurvePoint> samples, std::span<const CurvePoint> points)
{
    Extent e;
    // Without a curve a single point still gives its own range; none gives 0..1.
    const std::span<const CurvePoint> source =
        !samples.empty() ? samples : points.first(std::min<std::size_t>(points.size(), 1));
    double sum = 0.0;
    int used = 0;
    for (const CurvePoint& p : source) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        const double x = std::clamp(p.x, -ValueLimit, ValueLimit);
        const double y = std::clamp(p.y, -ValueLimit, ValueLimit);
        if (used == 0) {
            e.xmin = e.xmax = x;
            e.ymin = e.ymax = y;
        }
        e.xmin = std::min(e.xmin, x);
        e.xmax = std::max(e.xmax, x);
        e.ymin = std::min(e.ymin, y);
        e.ymax = std::max(e.ymax, y);
        sum += y;
        ++used;
    }
    e.curve = !samples.empty() && used > 0;
    if (used > 0)
        e.ymean = sum / used;
    return e;
}

struct Layout {
    bool paper = true;
    int width = 0, height = 0;
    double unit = 0.0;
    int divisions = 8;
    Axis x, y;
    int labelFontHeight = 0;
    int labelWidth = 0;
    int zeroWidth = 0;
    int plotLeft = 0, plotWidth = 0, plotBottom = 0, plotHeight = 0;

    int deviceX(double v) const { return whole(plotLeft + scaled(plotWidth, v - x.lo, x.hi - x.lo)); }
    int deviceY(double v) const { return whole(plotBottom - scaled(plotHeight, v - y.lo, y.hi - y.lo)); }

    static double scaled(int size, double offset, double range)
    {
        const double product = size * offset;
        return std::isfinite(product) ? product / range : size * (offset / range);
    }
};

Axis axisOver(double lo, double hi)
{
    Axis a;
    a.lo = lo;
    a.hi = hi;
    return a;
}

// Ranges, steps, whole-step ends and label formats.
void graduateAxes(Layout& l, const Extent& e)
{
    double x0 = e.xmin, x1 = e.xmax, y0 = e.ymin, y1 = e.ymax;
    if (y0 > 0.0)
        y0 = 0.0;
    if (y1 < 0.0)
        y1 = 0.0;
    if (std::abs(x1 - x0) < 1e-6) {
        x1 = x0 + 0.5;
        x0 = x0 - 0.5;
    }
    if (std::abs(y1 - y0) < 1e-6)
        y1 = y0 + 1.0;
    if (std::abs(y0) < 1e-6)
        y0 = 0.0;
    keepOpen(x0, x1);
    keepOpen(y0, y1);

    l.x = axisOver(x0, x1);
    l.y = axisOver(y0, y1);
    graduate(l.x, l.divisions);
    graduate(l.y, l.divisions);

    Axis y = l.y;
    y.hi = firstMultipleAtLeast(y.hi, y.step, 0.0);
    y.lo = lastMultipleAtMost(y.lo, y.step, 0.0);
    Axis x = l.x;
    if (x.hi > 0.0)
        x.hi = firstMultipleAtLeast(x.hi, x.step, 1.0);
    if (x.lo < 0.0)
        x.lo = lastMultipleAtMost(x.lo, x.step, -1.0);
    // Far from 0 the multiples can lose the range to rounding: keep the unrounded ends then.
    if (std::isfinite(y.lo) && std::isfinite(y.hi) && y.hi > y.lo)
        l.y = y;
    if (std::isfinite(x.lo) && std::isfinite(x.hi) && x.hi > x.lo)
        l.x = x;

    l.x.format = labelFormat(l.x);
    l.y.format = l.paper ? std::string(PaperYFormat) : labelFormat(l.y);
}

void measureLabels(Surface& s, Layout& l)
{
    const double fontScale = l.paper ? 6.0 : 5.0;
    l.labelFontHeight = whole(std::max(10.0, fontScale * l.unit));
    s.setFont({l.labelFontHeight, FontFamily::SansSerif});
    const std::string widest = l.y.label(-1.0);
    if (l.paper) {
        l.zeroWidth = s.measureText("0").width;
        l.labelWidth = s.measureText(widest).width + l.zeroWidth;
    } else {
        // A picture cannot measure text: a character counts as half the font height.
        const int h = l.labelFontHeight;
        l.zeroWidth = h / 2;
        l.labelWidth = utf8CharacterCount(widest) * h / 2 + l.zeroWidth;
    }
}

void placePlot(Layout& l)
{
    const int W = l.width, H = l.height;
    l.plotLeft = W / 50 + l.labelWidth;
    l.plotWidth = W - W / 10 - l.plotLeft;
    if (l.paper) {
        l.plotBottom = l.y.lo < 0.0 ? H - H / 30 : H - H / 15;
        l.plotHeight = l.plotBottom - H / 8;
    } else {
        l.plotBottom = l.y.lo < 0.0 ? H - H / 40 : H - H / 10;
        l.plotHeight = l.plotBottom - H / 10;
    }
}

// Lines per grid pass: the ends lie at most one step beyond the data, so a pass has
// divisions + 3 lines at most; the bound only matters where the steps are lost to
// rounding far from 0.
int gridPassLimit(const Layout& l)
{
    return 2 * l.divisions + 4;
}

void drawTitles(Surface& s, const Layout& l, const CurvePageTexts& texts)
{
    const int middle = l.width / 2;
    const TextAlign topCentred{HAlign::Centre, VAlign::Top};
    if (texts.title) {
        const double scale = utf8CharacterCount(*texts.title) >= 32 ? 12.0 : 14.0;
        s.setFont({whole(scale * l.unit), FontFamily::SansSerif});
        s.text({middle, whole(0.04 * l.plotHeight)}, *texts.title, topCentred);
    }
    if (texts.subtitle) {
        const double scale = utf8CharacterCount(*texts.subtitle) >= 45 ? 10.0 : 12.0;
        s.setFont({whole(scale * l.unit), FontFamily::SansSerif});
        s.text({middle, whole(0.03 * l.plotHeight + 0.04 * l.plotHeight)}, *texts.subtitle, topCentred);
    }
}

void drawHorizontalGrid(Surface& s, const Layout& l)
{
    const int left = l.plotLeft, right = l.plotLeft + l.plotWidth;
    const int labelX = l.deviceX(l.x.lo) - l.zeroWidth;
    auto gridLine = [&](double v) {
        const int y = l.deviceY(v);
        s.line({left, y}, {right, y});
        s.text({labelX, y}, l.y.label(v), {HAlign::Right, VAlign::Baseline});
    };
    // Each value is the previous one plus the step, and the labels show these sums,
    // which may differ from i * step in the last digit written.
    const double step = l.y.step;
    double v = 0.0;
    for (int i = 0; i < gridPassLimit(l) && v < l.y.hi + step / 2; ++i, v += step)
        gridLine(v);
    // The line at 0 is drawn once, by the upward pass.
    v = -step;
    for (int i = 1; i < gridPassLimit(l) && v > l.y.lo - step / 2; ++i, v -= step)
        gridLine(v);
}

void drawVerticalGrid(Surface& s, const Layout& l)
{
    const int top = l.plotBottom - l.plotHeight;
    const int labelY = l.deviceY(0.0) + 3 * l.zeroWidth;
    auto gridLine = [&](double v) {
        const int x = l.deviceX(v);
        s.line({x, l.plotBottom}, {x, top});
        s.text({x, labelY}, l.x.label(v), {HAlign::Centre, VAlign::Baseline});
    };
    // Accumulated from the left end, as the horizontal grid is from 0.
    const double step = l.x.step;
    if (l.x.hi > 0.0) {
        double v = l.x.lo;
        for (int i = 0; i < gridPassLimit(l) && v < l.x.hi + step / 2; ++i, v += step)
            gridLine(v);
    } else if (l.x.lo < 0.0) {
        gridLine(l.x.lo);
    }
}

// Written after the horizontal grid, so the values stand over its lines.
void writeExtremes(Surface& s, const Layout& l, const Extent& e)
{
    const int middle = l.plotLeft + l.plotWidth / 2;
    const TextAlign centred{HAlign::Centre, VAlign::Baseline};
    s.text({middle, l.deviceY(e.ymin) - l.zeroWidth}, l.y.label(e.ymin), centred);
    s.text({middle, l.deviceY(e.ymean)}, l.y.label(e.ymean), centred);
    s.text({middle, l.deviceY(e.ymax)}, l.y.label(e.ymax), centred);
}

void drawExtremeLines(Surface& s, const Layout& l, const Extent& e)
{
    s.setPen({Colours::Magenta, l.paper ? 2 : 1, PenStyle::Dash});
    for (double v : {e.ymin, e.ymax, e.ymean}) {
        const int y = l.deviceY(v);
        s.line({l.plotLeft, y}, {l.plotLeft + l.plotWidth, y});
    }
}

void drawAxes(Surface& s, const Layout& l, const CurvePageTexts& texts)
{
    s.setPen({Colours::Black, l.paper ? 3 : 1, PenStyle::Solid});
    const int axisX = l.deviceX(l.x.lo);
    const int axisY = l.deviceY(0.0);
    const double pw = l.plotWidth, ph = l.plotHeight;

    const int tipX = whole(l.plotLeft + pw + 0.03 * pw);
    s.line({axisX, axisY}, {tipX, axisY});
    s.line({tipX, axisY}, {whole(tipX - 0.01 * pw), whole(axisY - 0.005 * pw)});
    s.line({tipX, axisY}, {whole(tipX - 0.01 * pw), whole(axisY + 0.005 * pw)});

    const int tipY = whole(l.plotBottom - ph - 0.02 * ph);
    s.line({axisX, l.plotBottom}, {axisX, tipY});
    s.line({axisX, tipY}, {whole(axisX - 0.005 * ph), whole(tipY + 0.01 * ph)});
    s.line({axisX, tipY}, {whole(axisX + 0.005 * ph), whole(tipY + 0.01 * ph)});

    s.setFont({whole(std::max(12.0, 8.0 * l.unit)), FontFamily::SansSerif});
    s.text({tipX, whole(axisY - 0.01 * ph)}, texts.xAxisName, {HAlign::Centre, VAlign::Baseline});
    s.text({whole(axisX + 0.01 * ph), tipY}, texts.yAxisName, {HAlign::Left, VAlign::Baseline});
}

void drawCurve(Surface& s, const Layout& l, std::span<const CurvePoint> samples)
{
    s.setPen({Colours::Red, l.paper ? 2 : 1, PenStyle::Solid});
    LargeArray<PixelPoint> line;
    line.reserve(samples.size());
    for (const CurvePoint& p : samples)
        line.push_back({l.deviceX(p.x), l.deviceY(p.y)});
    s.polyline(line);
}

void drawPointCircles(Surface& s, const Layout& l, std::span<const CurvePoint> points)
{
    const int limit = l.paper ? PaperCircleLimit : PictureCircleLimit;
    if (points.size() >= static_cast<std::size_t>(limit))
        return;
    s.setPen({Colours::Blue, l.paper ? 2 : 1, PenStyle::Solid});
    s.setBrush(Brush::none());
    const int r = std::clamp(whole(4.0 * l.unit), 2, 10);
    for (const CurvePoint& p : points) {
        const int x = l.deviceX(p.x), y = l.deviceY(p.y);
        s.ellipse({x - r, y - r, x + r, y + r});
    }
}

} // namespace

void drawCurvePage(Surface& surface, PageKind kind, std::span<const CurvePoint> points, SmoothingMode smoothingMode,
                   DisplayFlags displayFlags, const CurvePageTexts& texts)
{
    SurfaceStateGuard restore(surface);
    Surface& s = surface;

    const SmoothedCurve curve = smoothCurve(points, smoothingMode, displayFlags);
    const Extent extent = extentOf(curve.samples, points);

    Layout l;
    l.paper = kind == PageKind::Paper;
    l.width = s.size().width;
    l.height = s.size().height;
    l.unit = l.height * 0.0015;
    l.divisions = l.paper ? 8 : 4;
    graduateAxes(l, extent);
    measureLabels(s, l);
    placePlot(l);

    s.clearClip();
    s.setMode(DrawMode::Copy);
    s.setTextColour(Colours::Black);
    // A printer's texts keep the device's opaque white background, so that a label hides
    // the grid line it stands on; the picture's stand on the plot.
    s.setTextBackground(l.paper ? std::optional<Rgb>(Colours::White) : std::nullopt);
    s.setPen({Colours::White, 1, PenStyle::Solid});
    s.setBrush(Brush::solid(Colours::White));
    s.rectangle({0, 0, l.width, l.height});
    s.setBrush(Brush::none());

    drawTitles(s, l, texts);

    s.setFont({l.labelFontHeight, FontFamily::SansSerif});
    s.setPen({Colours::Green, 1, PenStyle::Dot});
    drawHorizontalGrid(s, l);
    // Without a curve there is no minimum, mean or maximum to show.
    if (extent.curve && l.paper)
        writeExtremes(s, l, extent);
    drawVerticalGrid(s, l);
    if (extent.curve)
        drawExtremeLines(s, l, extent);
    drawAxes(s, l, texts);
    if (extent.curve)
        drawCurve(s, l, curve.samples);
    drawPointCircles(s, l, points);

    if (texts.closingLine) {
        s.setFont({whole(10.0 * l.unit), FontFamily::Serif});
        s.text({l.width / 2, whole(l.height - 0.01 * l.plotHeight)}, *texts.closingLine,
               {HAlign::Centre, VAlign::Baseline});
    }
}
