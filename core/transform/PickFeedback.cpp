#include "transform/PickFeedback.h"

#include <algorithm>
#include <cmath>

namespace {

void drawBandRectangle(Surface& surface, PixelPoint a, PixelPoint b)
{
    surface.setMode(DrawMode::Xor);
    surface.setPen(FeedbackPens::Rectangle);
    surface.setBrush(BandBrush);
    surface.rectangle({a.x, a.y, b.x, b.y});
}

void drawRubberLine(Surface& surface, PixelPoint a, PixelPoint b)
{
    surface.setMode(DrawMode::Xor);
    surface.setPen(FeedbackPens::RubberLine);
    surface.line(a, b);
}

} // namespace

// RectangleBand

void RectangleBand::start(Surface& surface, PixelPoint at)
{
    anchor = corner = at;
    active = true;
    surface.setMode(DrawMode::Xor);
}

void RectangleBand::moveTo(Surface& surface, PixelPoint at)
{
    if (!active)
        return;
    drawBandRectangle(surface, anchor, corner);
    drawBandRectangle(surface, anchor, at);
    corner = at;
}

BandEnds RectangleBand::finish(Surface& surface)
{
    active = false;
    drawBandRectangle(surface, anchor, corner);
    surface.setMode(DrawMode::Copy);
    return {anchor, corner};
}

void RectangleBand::discard(Surface& surface)
{
    if (active)
        drawBandRectangle(surface, anchor, corner);
    active = false;
    surface.setMode(DrawMode::Copy);
}

void RectangleBand::redraw(Surface& surface) const
{
    drawBandRectangle(surface, anchor, corner);
}

// CurvePreview

CurvePreview::CurvePreview() : points_(MaxCurvePoints), pixels_(MaxCurvePoints)
{
}

std::span<const CurvePoint> CurvePreview::compute(const CurveDocument& doc, const Selection& selection,
                                                  PreviewOperation operation, bool copy, CurvePoint a, CurvePoint b)
{
    const std::span<const CurvePoint> curve = doc.points();
    count_ = 0;
    for (const CurvePoint& p : curve)
        if (selection.contains(p))
            points_[count_++] = p;

    // The operations' own formulas, so that the preview is what the click will give.
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    switch (operation) {
    case PreviewOperation::Translation:
        for (int i = 0; i < count_; ++i)
            points_[i] = {points_[i].x + dx, points_[i].y + dy};
        break;
    case PreviewOperation::Mirror:
    case PreviewOperation::Rotation: {
        const double theta = directionAngle(dx, dy);
        const Transform2D t =
            operation == PreviewOperation::Mirror ? Transform2D::mirror(a, theta) : Transform2D::rotation(a, theta);
        for (int i = 0; i < count_; ++i)
            points_[i] = t.apply(points_[i]);
        break;
    }
    }

    for (std::size_t i = 0; i < curve.size() && count_ < MaxCurvePoints; ++i)
        if (copy || !selection.contains(curve[i]))
            points_[count_++] = curve[i];

    count_ = normalizer_.normalize(std::span(points_).first(static_cast<std::size_t>(count_)));
    return {points_.data(), static_cast<std::size_t>(count_)};
}

void CurvePreview::draw(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping,
                        const Selection& selection, PreviewOperation operation, bool copy, PixelPoint from,
                        PixelPoint to)
{
    const std::span<const CurvePoint> world =
        compute(doc, selection, operation, copy, mapping.pixelToWorld(from), mapping.pixelToWorld(to));
    for (std::size_t i = 0; i < world.size(); ++i)
        pixels_[i] = mapping.worldToPixel(world[i].x, world[i].y);
    surface.setMode(DrawMode::Xor);
    surface.setPen(FeedbackPens::Preview);
    surface.polyline(std::span<const PixelPoint>(pixels_.data(), world.size()));
}

void SegmentPreview::draw(Surface& surface, PixelPoint from, PixelPoint to) const
{
    if (operation)
        buffer.draw(surface, document, mapping, selection, *operation, copy, from, to);
}

// SegmentBand

void SegmentBand::start(Surface& surface, const SegmentPreview& preview, PixelPoint at)
{
    anchor = end = at;
    worldAnchor = preview.mapping.pixelToWorld(at);
    active = true;
    surface.setMode(DrawMode::Xor);
    preview.draw(surface, anchor, end);
}

void SegmentBand::moveTo(Surface& surface, const SegmentPreview& preview, PixelPoint at)
{
    if (!active)
        return;
    preview.draw(surface, anchor, end);
    drawRubberLine(surface, anchor, end);
    preview.draw(surface, anchor, at);
    drawRubberLine(surface, anchor, at);
    end = at;
}

BandEnds SegmentBand::finish(Surface& surface)
{
    active = false;
    surface.setMode(DrawMode::Copy);
    return {anchor, end};
}

void SegmentBand::discard(Surface& surface)
{
    active = false;
    surface.setMode(DrawMode::Copy);
}

void SegmentBand::redraw(Surface& surface, const SegmentPreview& preview)
{
    anchor = preview.mapping.worldToPixel(worldAnchor.x, worldAnchor.y);
    preview.draw(surface, anchor, end);
    drawRubberLine(surface, anchor, end);
}

// PickFeedback

void PickFeedback::drawHighlight(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping,
                                 const Selection& selection)
{
    selectionSaved = selection;
    redrawHighlight(surface, doc, mapping);
}

void PickFeedback::redrawHighlight(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping) const
{
    // Drawn normally, also while a band keeps the surface in exclusive-or.
    SurfaceStateGuard guard(surface);
    surface.setMode(DrawMode::Copy);
    surface.setPen(FeedbackPens::Highlight);
    surface.setBrush(Brush::none());
    const int rx = surface.logicalDpiX() / 26;
    const int ry = surface.logicalDpiY() / 26;
    for (const CurvePoint& point : doc.points()) {
        if (!selectionSaved.contains(point))
            continue;
        const PixelPoint p = mapping.worldToPixel(point.x, point.y);
        surface.ellipse({p.x - rx, p.y - ry, p.x + rx, p.y + ry});
    }
}

SegmentPreview PickFeedback::segmentPreview(const CurveDocument& doc, const CanvasMapping& mapping,
                                            std::optional<PreviewOperation> operation, bool copy)
{
    return {preview, doc, mapping, selectionSaved, operation, copy};
}
