#pragma once

#include "curve/CurveDocument.h"
#include "curve/PointNormalizer.h"
#include "draw/Surface.h"
#include "transform/TransformOperations.h"
#include "view/CanvasMapping.h"

#include <optional>
#include <span>
#include <vector>

// What the drawing area shows while a mouse pick runs: the rubber-band rectangle, the
// circles around the selected points, and the live preview of a translation, mirror or
// rotation with its rubber line. The bands and the preview are drawn in exclusive-or,
// so that drawing a figure again at the same place erases it and the plot never has
// to be redrawn while the mouse moves; the circles are drawn normally.

namespace FeedbackPens {
inline constexpr Pen Rectangle{Colours::Black, 1, PenStyle::Dot};
inline constexpr Pen Preview{Colours::Red, 1, PenStyle::Solid};
inline constexpr Pen RubberLine{Colours::Blue, 1, PenStyle::Solid};
inline constexpr Pen Highlight{Colours::Black, 1, PenStyle::Solid};
} // namespace FeedbackPens
// Black leaves the inside of the band's rectangle as it is in exclusive-or.
inline constexpr Brush BandBrush = Brush::solid(Colours::Black);

// Where a band was started and where the mouse last took it.
struct BandEnds {
    PixelPoint anchor;
    PixelPoint last;
};

// The dotted rectangle spanned from the first corner to the mouse.
struct RectangleBand {
    PixelPoint anchor;
    PixelPoint corner; // the opposite corner as last drawn
    bool active = false;

    // Puts the surface in exclusive-or; nothing is drawn yet.
    void start(Surface& surface, PixelPoint at);
    void moveTo(Surface& surface, PixelPoint at);
    // Erases the rectangle and goes back to copy mode.
    BandEnds finish(Surface& surface);
    // Erases the rectangle when one is shown, and goes back to copy mode.
    void discard(Surface& surface);
    // Draws the rectangle as it was, after a repaint wiped it.
    void redraw(Surface& surface) const;
};

// The transformation a segment drag previews.
enum class PreviewOperation {
    Translation,
    Mirror,
    Rotation
};

// The curve as a segment drag from world point a to world point b would leave it: the
// selected points transformed, then in copy mode every document point and in move
// mode the unselected ones, while fewer than MaxCurvePoints; sorted and thinned as the
// document would be. One buffer, reserved once, serves every move.
class CurvePreview {
public:
    CurvePreview();

    std::span<const CurvePoint> compute(const CurveDocument& doc, const Selection& selection,
                                        PreviewOperation operation, bool copy, CurvePoint a, CurvePoint b);
    // Computes the preview from the pixels `from` to `to` and draws it as one red
    // polyline in exclusive-or.
    void draw(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping, const Selection& selection,
              PreviewOperation operation, bool copy, PixelPoint from, PixelPoint to);

private:
    std::vector<CurvePoint> points_;
    int count_ = 0;
    std::vector<PixelPoint> pixels_;
    PointNormalizer normalizer_;
};

// What a segment drag previews, gathered for one event: the buffer, the curve, how the
// drawing area maps it now, the selection and the transformation. Without an
// operation no preview is drawn.
struct SegmentPreview {
    CurvePreview& buffer;
    const CurveDocument& document;
    const CanvasMapping& mapping;
    Selection selection;
    std::optional<PreviewOperation> operation;
    bool copy = false;

    void draw(Surface& surface, PixelPoint from, PixelPoint to) const;
};

// The preview and the blue rubber line from the first point to the mouse.
struct SegmentBand {
    PixelPoint anchor;
    PixelPoint end;         // the mouse position as last drawn
    CurvePoint worldAnchor; // to place the anchor again after the view changed
    bool active = false;

    // Exclusive-or; draws the preview from the anchor to itself, no rubber line yet.
    void start(Surface& surface, const SegmentPreview& preview, PixelPoint at);
    void moveTo(Surface& surface, const SegmentPreview& preview, PixelPoint at);
    // Back to copy mode; nothing is erased, since the caller redraws the whole plot.
    BandEnds finish(Surface& surface);
    void discard(Surface& surface);
    // Places the anchor from worldAnchor again and draws preview and line as they were.
    void redraw(Surface& surface, const SegmentPreview& preview);
};

// The feedback of the program's one pick at a time: the two bands, the selection of the
// current command and the preview buffer. Nothing is cleared between picks; a new
// start overwrites.
struct PickFeedback {
    RectangleBand rectangle;
    SegmentBand segment;
    Selection selectionSaved; // ordered corners, world coordinates
    CurvePreview preview;

    // Saves the selection, then circles the points strictly inside it.
    void drawHighlight(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping,
                       const Selection& selection);
    void redrawHighlight(Surface& surface, const CurveDocument& doc, const CanvasMapping& mapping) const;

    SegmentPreview segmentPreview(const CurveDocument& doc, const CanvasMapping& mapping,
                                  std::optional<PreviewOperation> operation, bool copy);
};
