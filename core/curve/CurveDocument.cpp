#include "curve/CurveDocument.h"

#include <algorithm>
#include <utility>

void normalizePoints(std::span<CurvePoint> points, int& count)
{
    count = std::clamp(count, 0, static_cast<int>(points.size()));
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
}

void CurveDocument::takeSnapshot()
{
    undoCount = std::clamp(count, 0, MaxCurvePoints);
    std::copy_n(points.begin(), undoCount, undoPoints.begin());
}

void CurveDocument::restoreSnapshot()
{
    count = std::clamp(undoCount, 0, MaxCurvePoints);
    std::copy_n(undoPoints.begin(), count, points.begin());
}

bool CurveDocument::isModified(std::string_view unitShown) const
{
    const int n = std::clamp(count, 0, MaxCurvePoints);
    return count != savedCount || smoothingMode != savedSmoothingMode || periodic != savedPeriodic
        || !equalIgnoringLatin1Case(unitShown, savedUnitName)
        || !std::equal(points.begin(), points.begin() + n, savedPoints.begin());
}

void CurveDocument::markSaved()
{
    const int n = std::clamp(count, 0, MaxCurvePoints);
    markSavedAs(std::span<const CurvePoint>(points.data(), static_cast<std::size_t>(n)));
}

void CurveDocument::markSavedAs(std::span<const CurvePoint> read)
{
    savedCount = static_cast<int>(std::min(read.size(), savedPoints.size()));
    std::copy_n(read.begin(), savedCount, savedPoints.begin());
    savedSmoothingMode = smoothingMode;
    savedPeriodic = periodic;
    savedUnitName = unitName;
}

void CurveDocument::clearPoints()
{
    std::fill_n(points.begin(), std::clamp(count, 0, MaxCurvePoints), CurvePoint{});
    count = 0;
}

bool CurveDocument::appendPoint(CurvePoint p)
{
    if (count >= MaxCurvePoints)
        return false;
    points[count++] = p;
    return true;
}

int CurveDocument::appendPoints(std::span<const CurvePoint> batch)
{
    int room = MaxCurvePoints - count;
    int n = std::min(static_cast<int>(batch.size()), std::max(room, 0));
    std::copy_n(batch.begin(), n, points.begin() + count);
    count += n;
    return n;
}
