#pragma once

#include "editor/Editor.h"
#include "editor/EditorHost.h"

class Surface;

// Full redraw of the drawing area's picture on `surface` with the current view window;
// the editor's mapping follows. A curve left out for lack of memory is said through
// the host (CurveMemoryMessage). False in that case.
bool redrawPlot(Editor& editor, EditorHost& host, Surface& surface);

// Erases the undo snapshot's curve and markers and draws the document's over the
// picture as it is, or draws the whole picture again where that costs less (the
// editor's mapping then follows, as after redrawPlot); the memory warning as for
// redrawPlot.
bool redrawCurveIncrementally(Editor& editor, EditorHost& host, Surface& surface);

// Draws what a command's outcome asks for: nothing, the full redraw or the incremental one.
bool redrawFor(Editor& editor, EditorHost& host, Surface& surface, RedrawKind redraw);

// The start of an editing run, as the main window opens over a drawing area of
// `width` x `height` pixels: the start windows, no derived curve, the view fitted to
// the curve (two points at least) and the curve as it stands counted as saved.
void startEditingRun(Editor& editor, int width, int height);
