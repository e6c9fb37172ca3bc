#pragma once

#include "editor/Editor.h"
#include "view/ViewWindow.h"

#include <optional>

class Surface;

// Full redraw of the drawing area's picture on `surface` with the current view window,
// or with `requested`, which then becomes the view window (the former one the previous
// window) when it differs. The editor's mapping follows. False when a curve was left
// out for lack of memory (the caller shows CurveMemoryMessage).
bool redrawPlot(Editor& editor, Surface& surface, const std::optional<ViewWindow>& requested = std::nullopt);

// Erases the undo snapshot's curve and markers and draws the document's over the
// picture as it is; same result as redrawPlot.
bool redrawCurveIncrementally(Editor& editor, Surface& surface);
