#include "editor/CanvasCommands.h"

#include "text/NumberText.h"
#include "transform/TransformOperations.h"

#include <cmath>

namespace {

// "&Point" at the capacity: the message, and the mode ends.
bool refusedAtCapacity(Editor& editor, EditorHost& host)
{
    if (editor.document.count() < MaxCurvePoints)
        return false;
    host.showMessage({std::string(PointLimitMessage), std::string(PointLimitCaption), MessageButtons::Ok,
                      MessageIcon::Error, MessageOwner::DrawingArea});
    editor.interactionMode = InteractionMode::ModeFinished;
    return true;
}

CommandOutcome addPointAt(Editor& editor, EditorHost& host, PixelPoint at)
{
    CurveDocument& doc = editor.document;
    const CurvePoint p = editor.mapping.pixelToWorld(at);
    // The margins of a window reaching the ends of the doubles lie past them: such a
    // point could not be read back once saved, so the click adds nothing.
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return {};
    doc.takeSnapshot();
    doc.appendPoint(p);
    host.showStatus(cformat(PointAddedFormat, {doc.count(), p.x, p.y}));
    doc.normalize();
    CommandOutcome out;
    out.showCount = true;
    out.redraw = RedrawKind::Incremental;
    return out;
}

CommandOutcome typePoint(Editor& editor, EditorHost& host)
{
    CurveDocument& doc = editor.document;
    // No snapshot: the typed point is not undone on its own.
    if (host.runParameterDialog(ParameterDialog::Point, "")) {
        const CurvePoint p = editor.entered.point();
        if (std::isfinite(p.x) && std::isfinite(p.y))
            doc.appendPoint(p);
        else
            host.showMessage({std::string(TypedPointRefusedText), std::string(TypedPointRefusedCaption),
                              MessageButtons::Ok, MessageIcon::Error, MessageOwner::DrawingArea});
    }
    doc.normalize();
    CommandOutcome out;
    out.showCount = true;
    out.redraw = RedrawKind::Full;
    return out;
}

CommandOutcome recentreAt(Editor& editor, EditorHost& host, PixelPoint at)
{
    const CurvePoint c = editor.mapping.pixelToWorld(at);
    const ViewWindow& w = editor.view.current;
    const double hx = std::abs((w.xmax - w.xmin) / 2);
    const double hy = std::abs((w.ymax - w.ymin) / 2);
    editor.interactionMode = InteractionMode::ModeFinished;
    CommandOutcome out;
    out.redraw = RedrawKind::Full;
    setViewWindow(editor.view, ViewWindow{c.x - hx, c.y - hy, c.x + hx, c.y + hy});
    host.showStatus(cformat(NewCentreFormat, {c.x, c.y}));
    return out;
}

CommandOutcome deleteNearestAt(Editor& editor, EditorHost& host, PixelPoint at)
{
    CommandOutcome out;
    out.cursor = CursorRequest::Cross;
    if (editor.document.count() <= 0)
        return out;
    const int index = deleteNearestPoint(editor.document, editor.mapping.pixelToWorld(at));
    host.showStatus(deletedPointText(index));
    out.showCount = true;
    out.redraw = RedrawKind::Incremental;
    return out;
}

CommandOutcome undoDeletion(Editor& editor)
{
    editor.document.restoreSnapshot();
    CommandOutcome out;
    // The count shown follows the points brought back.
    out.showCount = true;
    out.redraw = RedrawKind::Full;
    return out;
}

} // namespace

CommandOutcome canvasClick(Editor& editor, EditorHost& host, MouseButton button, PixelPoint at)
{
    switch (editor.interactionMode) {
    case InteractionMode::PointEntry:
        if (refusedAtCapacity(editor, host))
            return {};
        return button == MouseButton::Left ? addPointAt(editor, host, at) : typePoint(editor, host);
    case InteractionMode::PickCentre:
        return button == MouseButton::Left ? recentreAt(editor, host, at) : CommandOutcome{};
    case InteractionMode::PointDelete:
        return button == MouseButton::Left ? deleteNearestAt(editor, host, at) : undoDeletion(editor);
    default: return {};
    }
}
