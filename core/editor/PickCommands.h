#pragma once

#include "common/CommandOutcome.h"
#include "editor/Editor.h"
#include "editor/EditorHost.h"
#include "editor/MainControl.h"

// The commands that take their input with mouse picks on the drawing area. Each sets
// the cross cursor while it runs and asks for the arrow when it ends; the status line
// then shows statusText again, replacing what the picks wrote there.

// The button of a transformation (`control`, a row of Transformations.h): nothing
// without a point; otherwise the copy variant when "&Copie" is ticked and the row has
// one, the snapshot, the selection rectangle, then the row's second input (its pick or
// its dialog) and its operation.
CommandOutcome transformationCommand(Editor& editor, EditorHost& host, MainControl control);

// "&Effac Fen": the points inside a rectangle are deleted by the pick itself.
CommandOutcome eraseWindowCommand(Editor& editor, EditorHost& host);

// The zoom group's "&Fenêtre": the pick itself shows the rectangle as the new view.
CommandOutcome zoomWindowCommand(Editor& editor, EditorHost& host);
