#include "curve/CurvePoints.h"

#include <algorithm>
#include <utility>

int normalizePoints(std::span<CurvePoint> points)
{
    int count = static_cast<int>(points.size());
    // Exchange sort: the order in which points of equal x survive thinning depends
    // on this exact procedure, so it is kept rather than replaced by std::sort.
    for (int i = 0; i < count - 1; ++i)
        for (int j = i + 1; j < count; ++j)
            if (points[j].x < points[i].x)
                std::swap(points[i], points[j]);

    // One thinning pass: the later point of a close pair survives, and the point
    // moved into place i is not compared again.
    constexpr double tolerance = 0.0005;
    for (int i = 0; i < count - 1; ++i) {
        double xi = points[i].x;
        double next = points[i + 1].x;
        if (xi - tolerance < next && next < xi + tolerance) {
            std::copy(points.begin() + i + 1, points.begin() + count, points.begin() + i);
            --count;
        }
    }
    return count;
}

void CurvePoints::setPoint(int index, CurvePoint p)
{
    if (index >= 0 && index < count_)
        items_[static_cast<std::size_t>(index)] = p;
}

bool CurvePoints::appendPoint(CurvePoint p)
{
    if (isFull())
        return false;
    items_[static_cast<std::size_t>(count_++)] = p;
    return true;
}

int CurvePoints::appendPoints(std::span<const CurvePoint> batch)
{
    const int n = static_cast<int>(std::min(batch.size(), static_cast<std::size_t>(MaxCurvePoints - count_)));
    std::copy_n(batch.begin(), n, items_.begin() + count_);
    count_ += n;
    return n;
}

void CurvePoints::replacePoints(std::span<const CurvePoint> points)
{
    const std::size_t n = std::min(points.size(), items_.size());
    // `points` may be a later part of these very points, copied forward to the front.
    if (points.data() != items_.data())
        std::copy(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(n), items_.begin());
    count_ = static_cast<int>(n);
}

void CurvePoints::removePoint(int index)
{
    if (index < 0 || index >= count_)
        return;
    std::copy(items_.begin() + index + 1, items_.begin() + count_, items_.begin() + index);
    --count_;
}

void CurvePoints::normalize()
{
    count_ = normalizePoints(std::span(items_).first(static_cast<std::size_t>(count_)));
}
