#pragma once

// What a command hands back to the window around it, beside the messages it showed.

enum class SaveOutcome {
    Written,
    Cancelled,
    Failed
};
enum class CursorRequest {
    Unchanged,
    Arrow,
    Cross
};

// A full redraw draws the whole plot with the current view window; an incremental one
// erases the undo snapshot's curve and draws the document's over the picture as it is.
enum class RedrawKind {
    None,
    Full,
    Incremental
};

// What the window must do once a command has changed the editor: which widgets to
// bring up to date and whether to redraw. The command has already set the view window
// it wants; the status line always shows the editor's statusText afterwards.
struct CommandOutcome {
    RedrawKind redraw = RedrawKind::None;
    bool showCount = false;         // the point count field
    bool showCurveSettings = false; // smoothing radio buttons and "Périodicité" from the document
    bool selectUnit = false;        // the "Unités" entry from the document's unit
    bool showDisplayFlags = false;  // the three display boxes from the editor's flags
    CursorRequest cursor = CursorRequest::Unchanged;
    bool stop = false; // the editing run ends
};

// The outcome of a command that changed the view or the curve as a whole: a full redraw
// and nothing else.
inline CommandOutcome fullRedraw()
{
    CommandOutcome out;
    out.redraw = RedrawKind::Full;
    return out;
}
