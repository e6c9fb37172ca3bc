#include "formula/FormulaPreview.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Pixels from the origin for a world distance; see PreviewMapping::toPixel.
int pixelOffset(double distance, double scale)
{
    if (scale == 0.0 || !std::isfinite(scale))
        return 0;
    return roundHalfAway(distance / scale);
}

PixelRect wholeArea(const Surface& surface)
{
    const PixelSize size = surface.size();
    return {0, 0, size.width, size.height};
}

void drawAxes(Surface& surface, const FormulaPreview& preview)
{
    const PreviewMapping& m = preview.mapping;
    surface.setMode(DrawMode::Copy);
    surface.setPen({Colours::White, 2, PenStyle::Solid});
    surface.line(m.toPixel(preview.a, 0.0), m.toPixel(preview.b, 0.0));
    surface.line(m.toPixel(0.0, preview.found.ymin), m.toPixel(0.0, preview.found.ymax));
}

void drawCurve(Surface& surface, std::span<const PixelPoint> pixels)
{
    surface.setMode(DrawMode::Copy);
    if (pixels.size() > 1) {
        surface.setPen({PreviewCurveColour, 1, PenStyle::Solid});
        surface.polyline(pixels);
    }
    surface.setPen({Colours::Yellow, 1, PenStyle::Solid});
    surface.setBrush(Brush::solid(Colours::Black));
    for (const PixelPoint& p : pixels)
        surface.rectangle({p.x - 1, p.y - 1, p.x + 1, p.y + 1});
}

} // namespace

PreviewRange previewRange(std::span<const CurvePoint> points)
{
    PreviewRange r;
    for (const CurvePoint& p : points) {
        if (p.y > r.ymax)
            r.ymax = p.y;
        if (p.y < r.ymin)
            r.ymin = p.y;
    }
    return r;
}

PreviewRange adjustedPreviewRange(PreviewRange found)
{
    if (found.ymin == found.ymax) {
        if (found.ymin < 0.0)
            found.ymax = 0.0;
        else
            found.ymin = 0.0;
    }
    return found;
}

PreviewMapping PreviewMapping::make(int width, int height, double a, double b, double ymin, double ymax)
{
    PreviewMapping m;
    // Far beyond any screen, and small enough that height - offset stays an int.
    m.width = std::clamp(width, 0, PixelLimit);
    m.height = std::clamp(height, 0, PixelLimit);
    m.a = a;
    m.ymin = ymin;
    m.scaleX = (b - a) / std::max(m.width, 1);
    m.scaleY = (ymax - ymin) / std::max(m.height, 1);
    return m;
}

PixelPoint PreviewMapping::toPixel(double x, double y) const
{
    return {pixelOffset(x - a, scaleX), height - pixelOffset(y - ymin, scaleY)};
}

void paintPreviewBackground(Surface& surface)
{
    SurfaceStateGuard guard(surface);
    const PixelRect area = wholeArea(surface);
    surface.setClipRect(area);
    surface.setMode(DrawMode::Copy);
    surface.setPen({Colours::Black, 1, PenStyle::Solid});
    surface.setBrush(Brush::solid(Colours::Black));
    surface.rectangle(area);
}

FormulaPreview drawFormulaPreview(Surface& surface, std::span<const CurvePoint> points, double a, double b)
{
    SurfaceStateGuard guard(surface);
    surface.setClipRect(wholeArea(surface));

    FormulaPreview preview;
    preview.a = a;
    preview.b = b;
    preview.found = previewRange(points);
    const PreviewRange mapped = adjustedPreviewRange(preview.found);
    const PixelSize size = surface.size();
    preview.mapping = PreviewMapping::make(size.width, size.height, a, b, mapped.ymin, mapped.ymax);
    drawAxes(surface, preview);

    try {
        preview.pixels.reserve(points.size());
    } catch (const std::bad_alloc&) {
        return preview;
    }
    for (const CurvePoint& p : points)
        preview.pixels.push_back(preview.mapping.toPixel(p.x, p.y));
    preview.complete = true;
    drawCurve(surface, preview.pixels);
    return preview;
}

void repaintFormulaPreview(Surface& surface, const FormulaPreview& preview)
{
    paintPreviewBackground(surface);
    SurfaceStateGuard guard(surface);
    surface.setClipRect(wholeArea(surface));
    drawAxes(surface, preview);
    drawCurve(surface, preview.pixels);
}

std::optional<std::size_t> nearestPreviewPoint(std::span<const PixelPoint> pixels, PixelPoint at)
{
    std::optional<std::size_t> nearest;
    double best = PickDistanceLimit;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        // In doubles: clamped far pixels would overflow an int square.
        const double dx = static_cast<double>(pixels[i].x) - at.x;
        const double dy = static_cast<double>(pixels[i].y) - at.y;
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void drawPickCross(Surface& surface, PixelPoint at)
{
    SurfaceStateGuard guard(surface);
    surface.setMode(DrawMode::Xor);
    surface.setPen({Colours::White, 1, PenStyle::Solid});
    const int h = PickCrossHalf;
    surface.line({at.x - h, at.y - h}, {at.x + h, at.y + h});
    surface.line({at.x + h, at.y - h}, {at.x - h, at.y + h});
}

std::optional<std::size_t> pickPreviewPoint(Surface& surface, std::span<const PixelPoint> pixels, PreviewPick& pick,
                                            PixelPoint at)
{
    const std::optional<std::size_t> nearest = nearestPreviewPoint(pixels, at);
    if (!nearest)
        return std::nullopt;
    if (pick.shown && pick.index < pixels.size())
        drawPickCross(surface, pixels[pick.index]);
    drawPickCross(surface, pixels[*nearest]);
    pick.shown = true;
    pick.index = *nearest;
    return nearest;
}
