#pragma once

// One point of the curve, in the user's unit.
struct CurvePoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// Capacity of the document, of its undo copy and of every working copy of a point list.
inline constexpr int MaxCurvePoints = 1024;
