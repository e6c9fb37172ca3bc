#include "draw/PixelGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

bool isFinite(const ExactPixel& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// How far p lies outside the box, per axis, the larger of the two; 0 inside.
double distanceOutside(const ExactPixel& p, const ExactBox& box)
{
    const double dx = std::max({box.left - p.x, p.x - box.right, 0.0});
    const double dy = std::max({box.top - p.y, p.y - box.bottom, 0.0});
    return std::max(dx, dy);
}

ExactPixel clampToBox(const ExactPixel& p, const ExactBox& box)
{
    return {std::clamp(p.x, box.left, box.right), std::clamp(p.y, box.top, box.bottom)};
}

} // namespace

bool clipSegment(ExactPixel& a, ExactPixel& b, const ExactBox& box)
{
    if (!isFinite(a) || !isFinite(b))
        return false;
    // Walk from the nearer end q towards the farther end p: the parameter of each cut
    // is then small where precision matters, and q + s * d stays exact to the pixel.
    const bool fromA = distanceOutside(a, box) <= distanceOutside(b, box);
    const ExactPixel q = fromA ? a : b;
    const ExactPixel p = fromA ? b : a;
    // Halved differences cannot overflow; the parameter runs over [0, 2] instead.
    const double dx = p.x / 2 - q.x / 2;
    const double dy = p.y / 2 - q.y / 2;
    double s0 = 0.0;
    double s1 = 2.0;
    const double dir[4] = {-dx, dx, -dy, dy};
    const double room[4] = {q.x - box.left, box.right - q.x, q.y - box.top, box.bottom - q.y};
    for (int i = 0; i < 4; ++i) {
        if (dir[i] == 0.0) {
            if (room[i] < 0.0)
                return false;
            continue;
        }
        const double r = room[i] / dir[i];
        if (dir[i] < 0.0)
            s0 = std::max(s0, r);
        else
            s1 = std::min(s1, r);
        if (s0 > s1)
            return false;
    }
    const ExactPixel near = s0 > 0.0 ? clampToBox({q.x + s0 * dx, q.y + s0 * dy}, box) : q;
    const ExactPixel far = s1 < 2.0 ? clampToBox({q.x + s1 * dx, q.y + s1 * dy}, box) : p;
    a = fromA ? near : far;
    b = fromA ? far : near;
    return true;
}
