#pragma once

#include "curve/CurvePoint.h"
#include "curve/SmoothingMode.h"
#include "view/DisplayFlags.h"

#include <span>

struct SmoothedCurve;

// A world rectangle shown by the drawing area.
struct ViewWindow {
    double xmin = 0.0;
    double ymin = 0.0;
    double xmax = 0.0;
    double ymax = 0.0;
    friend bool operator==(const ViewWindow&, const ViewWindow&) = default;
};

// The windows the program keeps while it runs.
struct ViewState {
    ViewWindow current{-36.0, -36.0, 36.0, 36.0};
    ViewWindow previousWindow{-10.0, -10.0, 10.0, 10.0};
    ViewWindow dataExtent{};
};

// True when the window can be mapped to pixels: finite bounds, xmax > xmin and
// ymax > ymin with a finite extent, and on each axis an extent that is neither so
// small that world units per pixel underflow (below 1e-250) nor so small against
// the bounds' magnitude that successive pixels would map to the same double
// (below 1e-12 of |min| + |max|).
bool isUsableWindow(const ViewWindow& w);

// How a command moves to another window that "&Préc" can come back from (the bounds,
// "&Tout", "&Préc" itself, a zoom rectangle, a new centre): orders each axis, then,
// when any value differs from the current window, previous := current and current :=
// requested. A request that is not usable changes neither window. True when current
// changed. "&Plus", "&Moins" and the fitting after a read change the current window
// alone (zoomIn, zoomOut, fitView).
bool setViewWindow(ViewState& view, ViewWindow requested);

// Fills view.dataExtent with the extent of the smoothed curve and of the derived
// curves shown by `flags`, widened to include 0 where the curve is flat. False, and
// nothing done, when the points give no sampled curve (fewer than 2 points of
// different x).
bool fitToData(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags);
// The same, sampling into `samples` (a plot's buffers, kept between calls): arrays that
// have served before cost no fresh memory, and the first plot after the fit finds them
// ready rather than faulting in arrays of its own.
bool fitToData(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags,
               SmoothedCurve& samples);

// Fits the view after a file, a formula or the point list changed the curve: the
// current window becomes the data extent directly (previous untouched), only when the
// extent is usable.
void fitView(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags);
void fitView(ViewState& view, std::span<const CurvePoint> points, SmoothingMode mode, DisplayFlags flags,
             SmoothedCurve& samples);

// "&Plus" / "&Moins": every bound halved / doubled in place (the zoom is about the
// world origin); the window stays as it is when the result would not be usable.
void zoomIn(ViewState& view);
void zoomOut(ViewState& view);
