#pragma once

#include "curve/CurvePoint.h"
#include "curve/SmoothingMode.h"
#include "text/Utf8Text.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

using PointArray = std::array<CurvePoint, MaxCurvePoints>;

// Sorts points[0..count) by x and thins points closer than 0.0005 in x; may lower
// `count`. Shared by the document and by the point list's working copy.
void normalizePoints(std::span<CurvePoint> points, int& count);

// The one curve being edited, with its one-level undo copy and the settings saved
// with it. Texts are UTF-8 inside the program.
struct CurveDocument {
    PointArray points{};
    int count = 0;
    PointArray undoPoints{};
    int undoCount = 0;
    int savedCount = 0;
    SmoothingMode smoothingMode = Aucun;
    int periodic = 0;
    std::string unitName;      // at most MaxNameLength characters
    std::string filePath;
    std::string documentName = "Unnamed";
    std::string xAxisName = "X";
    std::string yAxisName = "Y";

    static constexpr int MaxNameLength = 15;

    // What was last read or written (or the curve as the editing run opened), to tell
    // whether the curve would be saved any differently now.
    PointArray savedPoints{};
    SmoothingMode savedSmoothingMode = Aucun;
    int savedPeriodic = 0;
    std::string savedUnitName;

    // The points of the curve, count kept within the capacity.
    std::span<const CurvePoint> currentPoints() const
    {
        return {points.data(), static_cast<std::size_t>(count < 0 ? 0 : count > MaxCurvePoints ? MaxCurvePoints : count)};
    }

    void normalize() { normalizePoints(points, count); }
    void takeSnapshot();
    void restoreSnapshot();
    // True when what a save would write differs from what was last read or written:
    // the points (a moved point counts, not only the number of points), the smoothing
    // mode, the periodicity or the unit, with `unitShown` as the unit that would be
    // written (the unit box shows a listed unit in its own letter case, so case alone
    // is no change). A curve brought back to that state counts as unchanged.
    bool isModified(std::string_view unitShown) const;
    bool isModified() const { return isModified(unitName); }
    void markSaved();
    // The same, when what was read went to another list than `points` (the point
    // list's working copy): `read` and the current settings become the saved state.
    void markSavedAs(std::span<const CurvePoint> read);
    void clearPoints();

    // Adds one point at the end; false (and nothing changed) when the curve is full.
    bool appendPoint(CurvePoint p);
    // Adds the points that fit at the end; returns how many were added.
    int appendPoints(std::span<const CurvePoint> batch);
};
