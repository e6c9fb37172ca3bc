#pragma once

// Pixel coordinates of a drawing surface, and the geometry every renderer shares.

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A point in pixel units before it is made whole.
struct ExactPixel {
    double x = 0.0;
    double y = 0.0;
};

// A closed box of pixel coordinates: left <= x <= right, top <= y <= bottom.
struct ExactBox {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool contains(const ExactPixel& p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// Cuts the segment a-b to `box`; false when nothing of it lies inside (or an end is not
// finite). The cut points are computed from the end that lies in the box, or nearest
// to it, so that the visible part stays on the true line even when the other end lies
// astronomically far away; they never land outside the box.
bool clipSegment(ExactPixel& a, ExactPixel& b, const ExactBox& box);
