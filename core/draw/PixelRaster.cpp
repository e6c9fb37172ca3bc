#include "draw/PixelRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Beyond this many pixels from the origin a segment is first cut to the image in
// floating point, so that the exact stepping below stays within 64 bits.
constexpr std::int64_t ExactLimit = std::int64_t{1} << 24;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) // b > 0
{
    return -floorDiv(-a, b);
}

// Cuts the segment to `box` (inclusive bounds) with the renderers' clipping, from the
// end nearest the box; false when nothing of it is inside.
bool cutToBox(PixelPoint& a, PixelPoint& b, const PixelBox& box)
{
    ExactPixel from{double(a.x), double(a.y)};
    ExactPixel to{double(b.x), double(b.y)};
    if (!clipSegment(from, to, ExactBox{double(box.left), double(box.top), double(box.right), double(box.bottom)}))
        return false;
    a = {int(std::lround(from.x)), int(std::lround(from.y))};
    b = {int(std::lround(to.x)), int(std::lround(to.y))};
    return true;
}

} // namespace

void PixelRaster::polyline(std::span<const PixelPoint> points) const
{
    if (points.size() < 2 || box.isEmpty())
        return;
    // A curve of 32 000 samples over a few thousand pixels mostly stays on a pixel (a
    // segment that paints nothing) or steps to a neighbour (which paints its start
    // pixel only): both are taken here, without a call per sample.
    PixelPoint a = points[0];
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PixelPoint b = points[i];
        if (b == a)
            continue;
        if (!shortStep(a, b))
            segment(a, b);
        a = b;
    }
}

bool PixelRaster::shortStep(PixelPoint a, PixelPoint b) const
{
    // A step to a neighbouring pixel paints its start pixel only.
    const std::int64_t stepX = std::int64_t{b.x} - a.x;
    const std::int64_t stepY = std::int64_t{b.y} - a.y;
    if (stepX < -1 || stepX > 1 || stepY < -1 || stepY > 1)
        return false;
    if (a.x >= box.left && a.x <= box.right && a.y >= box.top && a.y <= box.bottom)
        plot(a.x, a.y);
    return true;
}

// Aligned to a cache line: the speed of its loops, which paint nearly every pixel of a
// redraw or a pick move, then no longer changes by a fifth with where unrelated code
// happens to place it.
[[gnu::aligned(64)]] void PixelRaster::segment(PixelPoint a, PixelPoint b) const
{
    // A curve of 32 000 samples is mostly steps to a neighbouring pixel.
    if (a == b || box.isEmpty() || shortStep(a, b))
        return;
    if (std::max({std::abs(std::int64_t{a.x}), std::abs(std::int64_t{a.y}), std::abs(std::int64_t{b.x}),
                  std::abs(std::int64_t{b.y})})
        > ExactLimit) {
        if (!cutToBox(a, b, {box.left - 2, box.top - 2, box.right + 2, box.bottom + 2}) || a == b)
            return;
    }
    // Step along the major axis u, one pixel per step, the end pixel left out; pixel i
    // has the minor offset k(i) = floor((2 i m + n) / 2n): the exact line rounded half
    // toward the end.
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t u0 = xMajor ? a.x : a.y;
    const std::int64_t v0 = xMajor ? a.y : a.x;
    const std::int64_t n = std::abs(xMajor ? dx : dy);
    const std::int64_t m = std::abs(xMajor ? dy : dx);
    const int su = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int sv = (xMajor ? dy : dx) >= 0 ? 1 : -1;

    std::int64_t first = 0;
    std::int64_t last = n - 1;
    // Plain comparisons: this runs once per segment of a 32 000-vertex curve.
    const auto inBox = [this](PixelPoint p) {
        return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
    };
    if (!inBox(a) || !inBox(b)) {
        // Only the steps inside the box, found in closed form: u bounds i directly,
        // and k(i), never decreasing, bounds it through the minor axis.
        const std::int64_t uLo = xMajor ? box.left : box.top;
        const std::int64_t uHi = xMajor ? box.right : box.bottom;
        const std::int64_t vLo = xMajor ? box.top : box.left;
        const std::int64_t vHi = xMajor ? box.bottom : box.right;
        first = std::max<std::int64_t>(first, su > 0 ? uLo - u0 : u0 - uHi);
        last = std::min<std::int64_t>(last, su > 0 ? uHi - u0 : u0 - uLo);
        const std::int64_t kLo = std::max<std::int64_t>(0, sv > 0 ? vLo - v0 : v0 - vHi);
        const std::int64_t kHi = sv > 0 ? vHi - v0 : v0 - vLo;
        if (kHi < kLo || (m == 0 && kLo > 0))
            return;
        if (m > 0) {
            first = std::max(first, ceilDiv(2 * n * kLo - n, 2 * m));
            last = std::min(last, floorDiv(2 * n * (kHi + 1) - n - 1, 2 * m));
        }
        if (first > last)
            return;
    }

    // From the segment's start (the usual case) the error term starts at n, without the
    // 64-bit division a clipped start needs.
    const std::int64_t numerator = 2 * first * m + n;
    const std::int64_t k = first == 0 ? 0 : numerator / (2 * n);
    std::int64_t r = first == 0 ? n : numerator % (2 * n);
    // From the first pixel on, the address steps along: one pixel on the major axis
    // every step, one on the minor axis whenever the error term wraps.
    const std::int64_t u = u0 + su * first;
    const std::int64_t v = v0 + sv * k;
    const std::int64_t x = xMajor ? u : v;
    const std::int64_t y = xMajor ? v : u;
    const std::ptrdiff_t pixelStep = sizeof(std::uint32_t);
    const std::ptrdiff_t majorStep = xMajor ? su * pixelStep : su * std::ptrdiff_t(bytesPerLine);
    const std::ptrdiff_t minorStep = xMajor ? sv * std::ptrdiff_t(bytesPerLine) : sv * pixelStep;
    unsigned char* address = bits + y * bytesPerLine + x * pixelStep;
    const std::int64_t wrap = 2 * n;
    const std::int64_t advance = 2 * m;
    auto walk = [&](auto paint) {
        for (std::int64_t i = first; i <= last; ++i) {
            paint(reinterpret_cast<std::uint32_t*>(address));
            address += majorStep;
            r += advance;
            if (r >= wrap) {
                r -= wrap;
                address += minorStep;
            }
        }
    };
    if (exclusiveOr)
        walk([c = colour](std::uint32_t* p) { *p ^= c; });
    else
        walk([c = 0xff000000u | colour](std::uint32_t* p) { *p = c; }); // alpha stays opaque
}

void PixelRaster::patternedOutline(const PixelBox& outline, int on, int off, std::uint32_t gapColour) const
{
    if (outline.isEmpty() || box.isEmpty())
        return;
    const std::int64_t L = outline.left, T = outline.top, R = outline.right, B = outline.bottom;
    const std::int64_t period = std::int64_t{on} + off;
    const auto xorAt = [&](std::int64_t x, std::int64_t y, std::int64_t index) {
        std::uint32_t* p = reinterpret_cast<std::uint32_t*>(bits + y * bytesPerLine) + x;
        *p ^= index % period < on ? colour : gapColour;
    };
    // Each side as a run of pixels along one axis, numbered on from where the side
    // before ended, so that every pixel of the outline is walked once and the pattern
    // goes on round the corners. Only the pixels inside the box are visited.
    struct Side {
        bool horizontal;
        std::int64_t fixed, start, count;
        int step;
    };
    const std::int64_t width = R - L + 1;
    const std::int64_t height = B - T + 1;
    // A box one pixel high or wide has its top or its left side only.
    const Side sides[] = {
        {true, T, L, width, 1},
        {false, R, T + 1, height - 1, 1},
        {true, B, R - 1, height > 1 ? width - 1 : 0, -1},
        {false, L, B - 1, width > 1 ? height - 2 : 0, -1},
    };
    std::int64_t firstIndex = 0;
    for (const Side& side : sides) {
        if (side.count <= 0)
            continue;
        const std::int64_t boxLo = side.horizontal ? box.left : box.top;
        const std::int64_t boxHi = side.horizontal ? box.right : box.bottom;
        const std::int64_t fixedLo = side.horizontal ? box.top : box.left;
        const std::int64_t fixedHi = side.horizontal ? box.bottom : box.right;
        if (side.fixed >= fixedLo && side.fixed <= fixedHi) {
            const std::int64_t kLo = std::max<std::int64_t>(0, side.step > 0 ? boxLo - side.start : side.start - boxHi);
            const std::int64_t kHi = std::min(side.count - 1, side.step > 0 ? boxHi - side.start : side.start - boxLo);
            for (std::int64_t k = kLo; k <= kHi; ++k) {
                const std::int64_t v = side.start + side.step * k;
                if (side.horizontal)
                    xorAt(v, side.fixed, firstIndex + k);
                else
                    xorAt(side.fixed, v, firstIndex + k);
            }
        }
        firstIndex += side.count;
    }
}
