#pragma once

#include "curve/CurvePoint.h"
#include "draw/PixelGeometry.h"
#include "view/ViewWindow.h"

#include <span>
#include <vector>

// Farthest a mapped coordinate goes from the origin of the drawing area: far outside any
// screen or page, yet far inside int, so that callers may still add offsets to it.
inline constexpr int PixelLimit = 100'000'000;

// Rounds halves away from zero (2.5 -> 3, -2.5 -> -3). Values beyond +-PixelLimit are
// clamped to it and NaN gives 0, so the result is always a valid int.
int roundHalfAway(double v);

// The world-to-pixel mapping of the drawing area: the window fills the middle 80 % of
// the width and 90 % of the height, world y growing upwards.
struct CanvasMapping {
    int width = 0, height = 0, marginX = 0, marginY = 0, usableWidth = 0, usableHeight = 0;
    double scaleX = 1.0, scaleY = 1.0, xmin = 0.0, ymin = 0.0; // world units per pixel; origin

    // A negative size counts as 0; a usable size of 0 pixels scales as if it were 1.
    static CanvasMapping make(const ViewWindow& window, int width, int height);
    PixelPoint worldToPixel(double x, double y) const;
    std::vector<PixelPoint> worldToPixel(std::span<const CurvePoint> points) const;
    CurvePoint pixelToWorld(PixelPoint p) const;
};
