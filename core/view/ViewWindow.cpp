#include "view/ViewWindow.h"

#include "view/SmoothCurve.h"

#include <cmath>
#include <utility>

namespace {

constexpr double MinExtent = 1e-250;
constexpr double MinRelativeExtent = 1e-12;

bool usableAxis(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo))
        return false;
    double extent = hi - lo;
    return std::isfinite(extent) && extent >= MinExtent && extent >= MinRelativeExtent * (std::abs(lo) + std::abs(hi));
}

ViewWindow scaled(const ViewWindow& w, double factor)
{
    return {w.xmin * factor, w.ymin * factor, w.xmax * factor, w.ymax * factor};
}

} // namespace

bool isUsableWindow(const ViewWindow& w)
{
    return usableAxis(w.xmin, w.xmax) && usableAxis(w.ymin, w.ymax);
}

bool setViewWindow(ViewState& view, ViewWindow requested)
{
    if (requested.xmax < requested.xmin)
        std::swap(requested.xmin, requested.xmax);
    if (requested.ymax < requested.ymin)
        std::swap(requested.ymin, requested.ymax);
    // A degenerate window would divide by zero in the mapping: keep what is shown.
    if (!isUsableWindow(requested) || requested == view.current)
        return false;
    view.previousWindow = view.current;
    view.current = requested;
    return true;
}

bool fitToData(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags)
{
    SmoothedCurve samples;
    return fitToData(view, points, mode, flags, samples);
}

bool fitToData(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags,
               SmoothedCurve& curve)
{
    if (points.size() < 2)
        return false;
    smoothCurve(points, mode, flags, curve);
    if (curve.samples.empty())
        return false;

    double xmin = 1e301, ymin = 1e301, xmax = -1e301, ymax = -1e301;
    auto widenY = [&](double y) {
        if (y < ymin)
            ymin = y;
        if (y > ymax)
            ymax = y;
    };
    for (const CurvePoint& p : curve.samples) {
        if (p.x < xmin)
            xmin = p.x;
        if (p.x > xmax)
            xmax = p.x;
        widenY(p.y);
    }
    // The derived curves are drawn in the curve's own world coordinates. smoothCurve
    // fills each array only when its flag asks for it.
    for (double v : curve.firstDerived)
        widenY(v);
    for (double v : curve.secondDerived)
        widenY(v);

    // A flat extent is widened to reach 0.
    if (xmax == xmin) {
        if (xmin >= 0)
            xmin = 0;
        else
            xmax = 0;
    }
    if (ymax == ymin) {
        if (ymin == 0)
            ymax = view.current.ymax;
        else if (ymin > 0)
            ymin = 0;
        else
            ymax = 0;
    }
    if (ymax <= 0)
        ymax = std::abs(ymin / 25);

    view.dataExtent = {xmin, ymin, xmax, ymax};
    return true;
}

void fitView(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags)
{
    SmoothedCurve samples;
    fitView(view, points, mode, flags, samples);
}

void fitView(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags,
             SmoothedCurve& samples)
{
    if (fitToData(view, points, mode, flags, samples) && isUsableWindow(view.dataExtent))
        view.current = view.dataExtent;
}

void zoomIn(ViewState& view)
{
    ViewWindow w = scaled(view.current, 0.5);
    if (isUsableWindow(w))
        view.current = w;
}

void zoomOut(ViewState& view)
{
    ViewWindow w = scaled(view.current, 2.0);
    if (isUsableWindow(w))
        view.current = w;
}
