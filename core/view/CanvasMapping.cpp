#include "view/CanvasMapping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

int roundHalfAway(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, -static_cast<double>(PixelLimit), static_cast<double>(PixelLimit));
    // Not v + 0.5 truncated: that sum rounds 0.49999999999999994 up to 1, one pixel
    // away from the curve, which rounds exactly. The fraction is exact at these sizes.
    const int whole = static_cast<int>(v);
    const double fraction = v - whole;
    return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

namespace {

// Margins and offsets stay within a few PixelLimits of the size, so the sum fits in
// 64 bits; the clamp keeps the result an int whatever the drawing area's size.
int toPixel(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

CanvasMapping CanvasMapping::make(const ViewWindow& window, int width, int height)
{
    CanvasMapping m;
    m.width = std::max(width, 0);
    m.height = std::max(height, 0);
    // Integer division first: a 399-pixel width gives a margin of 30.
    m.marginX = (m.width / 100) * 10;
    m.marginY = (m.height / 100) * 5;
    m.usableWidth = m.width - 2 * m.marginX;
    m.usableHeight = m.height - 2 * m.marginY;
    m.scaleX = (window.xmax - window.xmin) / std::max(m.usableWidth, 1);
    m.scaleY = (window.ymax - window.ymin) / std::max(m.usableHeight, 1);
    m.xmin = window.xmin;
    m.ymin = window.ymin;
    return m;
}

PixelPoint CanvasMapping::worldToPixel(double x, double y) const
{
    // A zero or infinite scale (a window no command lets through) gives inf or NaN
    // here, which roundHalfAway turns into a far-away pixel or 0.
    std::int64_t px = std::int64_t{roundHalfAway((x - xmin) / scaleX)} + marginX;
    std::int64_t py = std::int64_t{usableHeight} + marginY - roundHalfAway((y - ymin) / scaleY);
    return {toPixel(px), toPixel(py)};
}

std::vector<PixelPoint> CanvasMapping::worldToPixel(std::span<const CurvePoint> points) const
{
    std::vector<PixelPoint> pixels;
    pixels.reserve(points.size());
    for (const CurvePoint& p : points)
        pixels.push_back(worldToPixel(p.x, p.y));
    return pixels;
}

CurvePoint CanvasMapping::pixelToWorld(PixelPoint p) const
{
    double x = (static_cast<double>(p.x) - marginX) * scaleX + xmin;
    double y = (static_cast<double>(usableHeight) + marginY - p.y) * scaleY + ymin;
    return {x, y};
}
