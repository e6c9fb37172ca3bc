#pragma once

#include "draw/PixelGeometry.h"

#include <cstddef>
#include <cstdint>
#include <span>

// A closed box of pixels, left <= x <= right and top <= y <= bottom; empty when
// right < left or bottom < top.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool isEmpty() const { return left > right || top > bottom; }
};

// 32-bit pixels (0xAARRGGBB, one per std::uint32_t, rows bytesPerLine bytes apart) on
// which thin solid lines and dotted outlines are stepped directly, as the screen's
// renderer draws them: a segment leaves its end pixel unpainted, only the pixels inside
// `box` are touched, and in exclusive-or drawing twice restores the picture.
struct PixelRaster {
    unsigned char* bits = nullptr;
    std::ptrdiff_t bytesPerLine = 0;
    PixelBox box;             // within the pixels
    std::uint32_t colour = 0; // 0x00RRGGBB
    bool exclusiveOr = false;

    void plot(int x, int y) const
    {
        std::uint32_t* p = reinterpret_cast<std::uint32_t*>(bits + y * bytesPerLine) + x;
        *p = exclusiveOr ? *p ^ colour : 0xff000000u | colour; // alpha stays opaque
    }
    void segment(PixelPoint a, PixelPoint b) const;
    // Connected segments, each leaving its end out for the next to paint as its start.
    void polyline(std::span<const PixelPoint> points) const;
    // The outline of `outline` (its pixels included) walked once round, `on` pixels
    // in the pen colour then `off` in `gapColour`, over and over, each combined by
    // exclusive-or: a dotted band that drawing twice erases.
    void patternedOutline(const PixelBox& outline, int on, int off, std::uint32_t gapColour) const;

private:
    // Paints a step from `a` to a neighbouring (or the same) pixel `b`, its start pixel
    // only; false, painting nothing, when `b` is farther.
    bool shortStep(PixelPoint a, PixelPoint b) const;
};
