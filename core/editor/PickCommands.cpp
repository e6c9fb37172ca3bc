#include "editor/PickCommands.h"

#include "editor/MainControl.h"
#include "editor/MousePick.h"
#include "editor/Transformations.h"
#include "transform/TransformOperations.h"

#include <string>

namespace {

CommandOutcome ended(bool showCount)
{
    CommandOutcome out;
    out.cursor = CursorRequest::Arrow;
    out.showCount = showCount;
    return out;
}

// What a pick gave: whether it succeeded, and its two points with the flag of a typed
// segment (MousePick says what they are for each kind).
struct PickResult {
    bool ok = false;
    CurvePoint first;
    CurvePoint second;
    bool typed = false;
};

// Runs one pick of `kind` for the current mode.
PickResult pick(Editor& editor, EditorHost& host, PickKind kind)
{
    MousePick mousePick(editor, host, kind);
    editor.pickRunning = true;
    const bool ran = host.runPick(mousePick);
    editor.pickRunning = false;
    const bool ok = ran && mousePick.result();
    return {ok, mousePick.firstPoint(), mousePick.secondPoint(), mousePick.typed()};
}

// The commands whose pick is a rectangle that does the work itself: the cross cursor,
// the prompt, then the pick.
void runWindowPick(Editor& editor, EditorHost& host, InteractionMode mode)
{
    editor.interactionMode = mode;
    host.showCursor(CursorRequest::Cross);
    showPhasePrompt(host, mode, PickKind::Rectangle);
    pick(editor, host, PickKind::Rectangle);
}

} // namespace

CommandOutcome transformationCommand(Editor& editor, EditorHost& host, MainControl control)
{
    if (editor.document.count() < 1)
        return {};
    const bool copyTicked = host.copyModeTicked();
    const Transformation* transformation = findTransformation(control);
    if (!transformation)
        return {};
    const Transformation& t = *transformation;
    const bool copy = copyTicked && t.copyMode.has_value();
    const InteractionMode mode = copy ? *t.copyMode : t.mode;

    editor.document.takeSnapshot();
    host.showCursor(CursorRequest::Cross);
    showPhasePrompt(host, mode, PickKind::Rectangle);
    editor.interactionMode = mode;

    const PickResult selection = pick(editor, host, PickKind::Rectangle);
    if (!selection.ok)
        return ended(true);

    showPhasePrompt(host, mode, t.secondPick.value_or(PickKind::Segment)); // a dialog alone has its prompt too
    PickResult second;
    if (t.secondPick)
        second = pick(editor, host, *t.secondPick);
    else
        second.ok = host.runParameterDialog(t.dialog, std::string(t.dialogTitle));
    if (!second.ok)
        return ended(true);

    const bool dragged = t.secondPick == PickKind::Segment && !second.typed;
    const TransformInput input{editor.entered, dragged, second.first, second.second};
    const TransformResult result = t.apply(editor.document, {selection.first, selection.second}, input, copy);
    if (result.notice)
        host.showMessage(*result.notice);
    CommandOutcome out = ended(true);
    out.redraw = RedrawKind::Full;
    return out;
}

CommandOutcome eraseWindowCommand(Editor& editor, EditorHost& host)
{
    runWindowPick(editor, host, InteractionMode::EraseWindow); // deletes and redraws itself
    return ended(true);
}

CommandOutcome zoomWindowCommand(Editor& editor, EditorHost& host)
{
    runWindowPick(editor, host, InteractionMode::ZoomWindow); // shows the new view itself
    return ended(false);
}
