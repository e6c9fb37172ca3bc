#pragma once

// The formula dialog's preview: the computed points mapped onto the preview area with
// no margin, drawn as a light red polyline with small yellow markers over white axes
// on black, and the exclusive-or cross that marks a picked point.

#include "curve/CurvePoint.h"
#include "draw/Surface.h"
#include "view/CanvasMapping.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Shown by the dialog when the preview could not get storage for its pixels; the
// computed points stay.
inline constexpr std::string_view PreviewMemoryMessage = "Pas assez de memoire !";
inline constexpr std::string_view PreviewMemoryCaption = "Attention !";

inline constexpr Rgb PreviewCurveColour{255, 120, 120};
// A best distance no pick can reach: a click farther than this from every point picks nothing.
inline constexpr double PickDistanceLimit = 10000.0;
// Half the size of the pick cross, in pixels.
inline constexpr int PickCrossHalf = 5;

// Smallest and largest y of the computed points, as Ymin and Ymax show them. The
// search starts from ymin = 1e308 and ymax = 1e-306, so ymax is never below 1e-306
// (an all-negative curve shows Ymax 0.00000000).
struct PreviewRange {
    double ymin = 1e308;
    double ymax = 1e-306;
    friend bool operator==(const PreviewRange&, const PreviewRange&) = default;
};
PreviewRange previewRange(std::span<const CurvePoint> points);

// The range the preview maps: a flat curve (ymin = ymax) gets 0 as its other end,
// its top when the value is negative, its bottom otherwise.
PreviewRange adjustedPreviewRange(PreviewRange found);

// World to preview pixels: (a, ymin) at the bottom-left corner, b on the right edge,
// ymax on the top edge. a > b mirrors the picture.
struct PreviewMapping {
    int width = 0;
    int height = 0;
    double a = 0.0;
    double ymin = 0.0;
    double scaleX = 1.0; // world units per pixel
    double scaleY = 1.0;

    // A negative size counts as 0 and a size of 0 scales as if it were 1 pixel.
    static PreviewMapping make(int width, int height, double a, double b, double ymin, double ymax);
    // A zero or non-finite scale (a = b, a flat range) puts every coordinate on the
    // origin's edge; far coordinates are clamped, so the result is always a valid int.
    PixelPoint toPixel(double x, double y) const;
};

// What the preview shows after a computation, kept for picks and repaints.
struct FormulaPreview {
    double a = 0.0;
    double b = 0.0;
    PreviewRange found;             // before adjustment: the values shown and the y axis's ends
    PreviewMapping mapping;         // from the adjusted range
    std::vector<PixelPoint> pixels; // one per computed point
    // False when there was no storage for the pixels: only the background and the
    // axes were drawn.
    bool complete = false;
};

// Whether a pick cross is drawn, and at which point.
struct PreviewPick {
    bool shown = false;
    std::size_t index = 0;
};

// Paints the whole surface black, clipped to it.
void paintPreviewBackground(Surface& surface);

// Maps and draws the computed points over the preview already painted black: the
// axes from the range found, the polyline and the markers. The surface's size is
// the preview area's. Nothing throws.
FormulaPreview drawFormulaPreview(Surface& surface, std::span<const CurvePoint> points, double a, double b);

// Paints the background again and draws the kept preview as it was computed: same
// mapping, same axes, the kept pixels (not mapped again). Any pick cross is gone.
void repaintFormulaPreview(Surface& surface, const FormulaPreview& preview);

// The point whose pixel lies nearest `at`; the first of equally near points wins.
// None when there are no pixels or all lie PickDistanceLimit or farther.
std::optional<std::size_t> nearestPreviewPoint(std::span<const PixelPoint> pixels, PixelPoint at);

// The diagonal cross, white in exclusive-or: drawing it twice restores the picture.
void drawPickCross(Surface& surface, PixelPoint at);

// A click at `at`: erases the cross that `pick` shows, draws one on the nearest point
// and returns its index. When no point is near enough nothing changes.
std::optional<std::size_t> pickPreviewPoint(Surface& surface, std::span<const PixelPoint> pixels, PreviewPick& pick,
                                            PixelPoint at);
