#include "editor/PickCommands.h"

#include "editor/MainControl.h"
#include "editor/MousePick.h"
#include "transform/TransformOperations.h"

#include <optional>

namespace {

using Mode = InteractionMode;

// The mode of a transformation button; the affinity has no copy variant.
std::optional<Mode> transformationMode(MainControl control, bool copy)
{
    switch (control) {
    case MainControl::Homothety:
        return copy ? Mode::HomothetyCopy : Mode::Homothety;
    case MainControl::Translate:
        return copy ? Mode::TranslateCopy : Mode::Translate;
    case MainControl::Mirror:
        return copy ? Mode::MirrorCopy : Mode::Mirror;
    case MainControl::Rotate:
        return copy ? Mode::RotateCopy : Mode::Rotate;
    case MainControl::Affinity:
        return Mode::Affinity;
    default:
        return std::nullopt;
    }
}

CommandOutcome ended(bool showCount)
{
    CommandOutcome out;
    out.cursor = CursorRequest::Arrow;
    out.showCount = showCount;
    return out;
}

// Runs one pick of `kind` for the current mode; true when it succeeded.
bool pick(Editor& editor, EditorHost& host, PickKind kind, CurvePoint* first = nullptr, CurvePoint* second = nullptr)
{
    MousePick mousePick(editor, host, kind);
    const bool ok = host.runPick(mousePick) && mousePick.result();
    if (first)
        *first = mousePick.firstPoint();
    if (second)
        *second = mousePick.secondPoint();
    return ok;
}

TransformResult applyTransformation(Editor& editor, Mode mode, const Selection& sel, CurvePoint first,
                                    CurvePoint second)
{
    CurveDocument& doc = editor.document;
    const EnteredValues& entered = editor.entered;
    switch (mode) {
    case Mode::Homothety:
    case Mode::HomothetyCopy:
        return scalePoints(doc, sel, {entered.x, entered.y}, entered.value, mode == Mode::HomothetyCopy);
    case Mode::Translate:
    case Mode::TranslateCopy:
        return translatePoints(doc, sel, first.x, first.y, mode == Mode::TranslateCopy);
    case Mode::Mirror:
    case Mode::MirrorCopy:
        return mirrorPoints(doc, sel, first, second, mode == Mode::MirrorCopy);
    case Mode::Rotate:
    case Mode::RotateCopy:
        return rotatePoints(doc, sel, first, second, mode == Mode::RotateCopy);
    default:
        // The dialog writes 1 for "X" and 0 for "Y".
        return stretchPoints(doc, sel, entered.x == 0.0 ? 0 : 1, entered.y);
    }
}

} // namespace

CommandOutcome transformationCommand(Editor& editor, EditorHost& host, MainControl control)
{
    if (editor.document.count() < 1)
        return {};
    const std::optional<Mode> chosen = transformationMode(control, host.copyModeTicked());
    if (!chosen)
        return {};
    const Mode mode = *chosen;

    editor.document.takeSnapshot();
    host.showCursor(CursorRequest::Cross);
    showPhasePrompt(host, mode, PickKind::Rectangle);
    editor.interactionMode = mode;

    CurvePoint selMin;
    CurvePoint selMax;
    if (!pick(editor, host, PickKind::Rectangle, &selMin, &selMax))
        return ended(true);

    showPhasePrompt(host, mode, PickKind::Segment);
    CurvePoint first;
    CurvePoint second;
    bool ok = false;
    if (mode == Mode::Homothety || mode == Mode::HomothetyCopy)
        ok = pick(editor, host, PickKind::Centre);
    else if (mode == Mode::Affinity)
        ok = host.runParameterDialog(ParameterDialog::Affinity, ""); // refuses a factor <= 0 itself
    else
        ok = pick(editor, host, PickKind::Segment, &first, &second);
    if (!ok)
        return ended(true);

    const TransformResult result = applyTransformation(editor, mode, {selMin, selMax}, first, second);
    if (result.notice)
        host.showMessage(*result.notice);
    CommandOutcome out = ended(true);
    out.redraw = RedrawKind::Full;
    return out;
}

CommandOutcome eraseWindowCommand(Editor& editor, EditorHost& host)
{
    editor.interactionMode = Mode::EraseWindow;
    host.showCursor(CursorRequest::Cross);
    showPhasePrompt(host, Mode::EraseWindow, PickKind::Rectangle);
    pick(editor, host, PickKind::Rectangle); // deletes and redraws itself
    return ended(true);
}

CommandOutcome zoomWindowCommand(Editor& editor, EditorHost& host)
{
    showPhasePrompt(host, Mode::ZoomWindow, PickKind::Rectangle);
    host.showCursor(CursorRequest::Cross);
    editor.interactionMode = Mode::ZoomWindow;
    pick(editor, host, PickKind::Rectangle); // shows the new view itself
    return ended(false);
}
