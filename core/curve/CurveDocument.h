#pragma once

#include "curve/CurvePoints.h"
#include "curve/SmoothingMode.h"
#include "text/Utf8Text.h"

#include <span>
#include <string>
#include <string_view>

// The one curve being edited, with its one-level undo copy and the settings saved
// with it. Texts are UTF-8 inside the program. The points change only through the
// operations below, so that their count never leaves 0..MaxCurvePoints.
class CurveDocument {
public:
    SmoothingMode smoothingMode = Aucun;
    int periodic = 0;
    std::string unitName; // at most MaxNameLength characters
    std::string filePath;
    std::string documentName = "Unnamed";
    std::string xAxisName = "X";
    std::string yAxisName = "Y";

    static constexpr int MaxNameLength = 15;

    // The points of the curve.
    int count() const { return points_.count(); }
    std::span<const CurvePoint> points() const { return points_.points(); }

    void setPoint(int index, CurvePoint p) { points_.setPoint(index, p); }
    // Adds one point at the end; false (and nothing changed) when the curve is full.
    bool appendPoint(CurvePoint p) { return points_.appendPoint(p); }
    // Adds the points that fit at the end; returns how many were added.
    int appendPoints(std::span<const CurvePoint> batch) { return points_.appendPoints(batch); }
    // The curve becomes the first MaxCurvePoints of `points`.
    void replacePoints(std::span<const CurvePoint> points) { points_.replacePoints(points); }
    void removePoint(int index) { points_.removePoint(index); }
    void clearPoints() { points_.clearPoints(); }
    // Sorts the points by x and thins them (normalizePoints).
    void normalize() { points_.normalize(); }

    // The undo copy: "&Undo" brings back the points of the last snapshot.
    int undoCount() const { return undo_.count(); }
    std::span<const CurvePoint> undoPoints() const { return undo_.points(); }
    void takeSnapshot() { undo_.replacePoints(points_.points()); }
    void restoreSnapshot() { points_.replacePoints(undo_.points()); }

    // True when what a save would write differs from what was last read or written:
    // the points (a moved point counts, not only the number of points), the smoothing
    // mode, the periodicity or the unit, with `unitShown` as the unit that would be
    // written (the unit box shows a listed unit in its own letter case, so case alone
    // is no change). A curve brought back to that state counts as unchanged.
    bool isModified(std::string_view unitShown) const;
    bool isModified() const { return isModified(unitName); }
    // The number of points last read or written (or of the curve as the editing run opened).
    int savedCount() const { return saved_.count(); }
    // The points and settings become what was last read or written.
    void markSaved() { markSavedAs(points_.points()); }
    // The same, when what was read went to another list than the curve (the point
    // list's working copy): `read` and the current settings become the saved state.
    void markSavedAs(std::span<const CurvePoint> read);

private:
    CurvePoints points_;
    CurvePoints undo_;
    // What was last read or written (or the curve as the editing run opened), to tell
    // whether the curve would be saved any differently now.
    CurvePoints saved_;
    SmoothingMode savedSmoothingMode_ = Aucun;
    int savedPeriodic_ = 0;
    std::string savedUnitName_;
};
