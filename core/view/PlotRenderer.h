#pragma once

#include "common/LargeArray.h"
#include "curve/CurveDocument.h"
#include "draw/PixelGeometry.h"
#include "view/CanvasMapping.h"
#include "view/SmoothCurve.h"
#include "view/ViewWindow.h"

#include <string_view>
#include <vector>

class Surface;

// Steps of the current window's extent per axis.
inline constexpr int GraduationCount = 6;

// Shown by the caller when drawCurve could not draw a curve for lack of memory.
inline constexpr std::string_view CurveMemoryMessage = "Impossible d'allouer de la mémoire !";
inline constexpr std::string_view CurveMemoryCaption = "Attention !";

// Sizes that follow the device's resolution: tick half-lengths (which also size the
// point markers) and the cell height of the graduation labels.
struct PlotTicks {
    int tickX = 0;
    int tickY = 0;
    int labelHeight = 0;
};
PlotTicks plotTicks(const Surface& surface);

// One curve as it is drawn: polylines of pixels, run r being points[ends[r - 1]]
// (points[0] for the first) up to, not including, points[ends[r]]; each has 2 or more
// vertices.
struct PixelRuns {
    LargeArray<PixelPoint> points;
    std::vector<std::size_t> ends;
    void clear()
    {
        points.clear();
        ends.clear();
    }
    std::size_t segmentCount() const { return points.size() - ends.size(); }
};

// The arrays a redraw fills: kept by the window from one redraw to the next, so that
// redrawing allocates nothing once they have grown to the curve's size.
struct PlotBuffers {
    SmoothedCurve curve;    // the curve drawn
    SmoothedCurve previous; // the undo snapshot's, erased by an incremental redraw
    LargeArray<ExactPixel> pixels;
    LargeArray<ExactPixel> previousPixels;
    PixelRuns drawn;
    PixelRuns erased;
};

// What a full redraw drew: the mapping of its window onto the surface, and whether
// every curve could be drawn (false when one was left out for lack of memory; the
// caller then shows CurveMemoryMessage). wholePicture is false for a redraw after an
// edit that drew over the picture as it was.
struct PlotPicture {
    CanvasMapping mapping;
    bool curvesDrawn = true;
    bool wholePicture = true;
};

// Full redraw of `window`: background, axes through the world origin, graduations,
// markers and curves for the surface's whole size. The window is the caller's choice
// (commands set the view window beforehand); it only draws.
PlotPicture renderPlot(Surface& surface, const ViewWindow& window, const CurveDocument& doc, DisplayFlags flags,
                       PlotBuffers& buffers);
// The same with arrays of its own, for a one-off picture.
PlotPicture renderPlot(Surface& surface, const ViewWindow& window, const CurveDocument& doc, DisplayFlags flags);

// Draws the point markers, the curve and the derived curves shown by `flags` over the
// picture. When `incremental`, first erases what the undo snapshot drew: its markers
// in white, its curves by drawing them again in exclusive-or, so the snapshot must be
// what is on the picture. False when a curve was left out for lack of memory (the
// rest is drawn); the caller then shows CurveMemoryMessage.
bool drawCurve(Surface& surface, const CanvasMapping& mapping, const CurveDocument& doc, DisplayFlags flags,
               bool incremental, PlotBuffers& buffers);
bool drawCurve(Surface& surface, const CanvasMapping& mapping, const CurveDocument& doc, DisplayFlags flags,
               bool incremental);

// The redraw after an edit of a picture drawn with `mapping` that shows the undo
// snapshot: drawCurve's incremental redraw, unless the curves have so little in common
// at their ends that it would draw more than the full redraw of `window` (renderPlot),
// which is then drawn instead, the same picture, on the current curve already smoothed.
// Which one is decided on the smoothed curves before anything is drawn. The mapping
// returned is the one the picture now has: `mapping`, or the full redraw's.
PlotPicture redrawEditedCurve(Surface& surface, const ViewWindow& window, const CanvasMapping& mapping,
                              const CurveDocument& doc, DisplayFlags flags, PlotBuffers& buffers);
