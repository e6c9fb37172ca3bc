#pragma once

#include "curve/CurvePoint.h"

#include <array>
#include <span>

// Sorts `points` by x and thins points closer than 0.0005 in x; returns how many are
// left, at the front of `points`. Shared by every list of curve points and by the
// preview's fast normalizer, which must leave exactly what it leaves.
int normalizePoints(std::span<CurvePoint> points);

// The points of one curve: at most MaxCurvePoints, held in place (no allocation). The
// count stays within 0..MaxCurvePoints whatever is asked: what does not fit is left
// out and an index outside the points changes nothing. The document's curve, its undo
// copy and saved state, and the point list's working copy are each one of these.
class CurvePoints {
public:
    int count() const { return count_; }
    bool isFull() const { return count_ == MaxCurvePoints; }
    std::span<const CurvePoint> points() const { return {items_.data(), static_cast<std::size_t>(count_)}; }

    // Replaces point `index`, when there is one.
    void setPoint(int index, CurvePoint p);
    // Adds one point at the end; false (and nothing changed) when the curve is full.
    bool appendPoint(CurvePoint p);
    // Adds the points that fit at the end; returns how many were added.
    int appendPoints(std::span<const CurvePoint> batch);
    // Becomes the first MaxCurvePoints of `points`.
    void replacePoints(std::span<const CurvePoint> points);
    // Removes point `index`, when there is one; the later points move down.
    void removePoint(int index);
    void clearPoints() { count_ = 0; }
    // Sorted by x and thinned by normalizePoints.
    void normalize();

private:
    std::array<CurvePoint, MaxCurvePoints> items_{};
    int count_ = 0;
};
