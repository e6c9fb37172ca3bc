#include "editor/ViewGestures.h"

#include "editor/Editor.h"

#include <cmath>

namespace {

// The previous step is close enough in time for its run to go on. A clock that went
// backwards (another source of events, a wrap of a 32-bit stamp) starts a new run.
bool withinRun(std::uint64_t last, std::uint64_t now)
{
    return now >= last && now - last <= WheelRunMilliseconds;
}

} // namespace

ViewWindow wheelZoomedWindow(const ViewWindow& w, CurvePoint c, std::int64_t notches)
{
    // Away from the user the extents shrink. A huge count gives a factor of 0 or
    // infinity, a window the bounds test refuses.
    const double factor = std::exp2(-static_cast<double>(notches) / 2);
    return {c.x + (w.xmin - c.x) * factor, c.y + (w.ymin - c.y) * factor, c.x + (w.xmax - c.x) * factor,
            c.y + (w.ymax - c.y) * factor};
}

CommandOutcome wheelTurned(Editor& editor, PixelPoint at, int angleDelta, std::uint64_t timeMs)
{
    WheelRun& run = editor.wheelRun;
    if (editor.pickRunning || editor.panDrag.active || angleDelta == 0)
        return {};
    if (!run.started || !withinRun(run.lastStepTime, timeMs))
        run.remainder = 0;
    run.remainder += angleDelta;
    run.lastStepTime = timeMs;
    const std::int64_t notches = run.remainder / WheelNotch;
    if (notches == 0) {
        run.started = true;
        return {};
    }
    run.remainder -= notches * WheelNotch;

    ViewState& view = editor.view;
    // The world point under the pointer, as the plot shown maps it.
    const CurvePoint centre = editor.mapping.pixelToWorld(at);
    const ViewWindow zoomed = wheelZoomedWindow(view.current, centre, notches);
    const bool continuesRun =
        run.started && run.lastChangeTime != 0 && withinRun(run.lastChangeTime, timeMs) && view.current == run.shown;
    run.started = true;
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y))
        return {};
    if (continuesRun) {
        if (!isUsableWindow(zoomed) || zoomed == view.current)
            return {};
        view.current = zoomed;
    } else if (!setViewWindow(view, zoomed)) {
        return {};
    }
    // A stamp of 0 is no time: the next notch starts a run of its own.
    run.lastChangeTime = timeMs;
    run.shown = view.current;
    return fullRedraw();
}

CommandOutcome panPressed(Editor& editor, PixelPoint at)
{
    if (editor.pickRunning)
        return {};
    panEnded(editor);
    PanDrag& drag = editor.panDrag;
    drag.active = true;
    drag.start = at;
    drag.startWindow = editor.view.current;
    // The plot shown maps the current window: its scale is the one the pointer drags.
    drag.scaleX = editor.mapping.scaleX;
    drag.scaleY = editor.mapping.scaleY;
    return {};
}

CommandOutcome panMoved(Editor& editor, PixelPoint at)
{
    const PanDrag& drag = editor.panDrag;
    if (!drag.active || editor.pickRunning)
        return {};
    // Right and down on the screen move the window left and up in the world.
    const double dx = (static_cast<double>(at.x) - drag.start.x) * drag.scaleX;
    const double dy = (static_cast<double>(at.y) - drag.start.y) * drag.scaleY;
    const ViewWindow& w = drag.startWindow;
    const ViewWindow moved{w.xmin - dx, w.ymin + dy, w.xmax - dx, w.ymax + dy};
    if (!isUsableWindow(moved) || moved == editor.view.current)
        return {};
    editor.view.current = moved;
    return fullRedraw();
}

CommandOutcome panReleased(Editor& editor, PixelPoint at)
{
    const CommandOutcome out = panMoved(editor, at);
    panEnded(editor);
    return out;
}

void panEnded(Editor& editor)
{
    PanDrag& drag = editor.panDrag;
    if (!drag.active)
        return;
    drag.active = false;
    ViewState& view = editor.view;
    const ViewWindow dragged = view.current;
    view.current = drag.startWindow;
    setViewWindow(view, dragged);
}
