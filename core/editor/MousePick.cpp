#include "editor/MousePick.h"

#include "draw/Surface.h"
#include "editor/Editor.h"
#include "editor/EditorHost.h"
#include "editor/PlotRedraw.h"
#include "editor/Transformations.h"
#include "transform/TransformOperations.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

using Mode = InteractionMode;

bool inside(PixelPoint p, PixelSize size)
{
    // Row 0 and column 0 do not count as the drawing area.
    return p.x > 0 && p.x < size.width && p.y > 0 && p.y < size.height;
}

// What the rectangle of a pick is for: a transformation's selection, or the command
// that made it ("&Effac Fen" deletes the points inside, "&Fenêtre" shows it as the view).
enum class RectangleUse {
    None,
    Selection,
    Erase,
    Zoom
};

struct RectanglePurpose {
    RectangleUse use = RectangleUse::None;
    std::string_view name; // the prompts of the pick start with it
};

// The rectangle picks of the commands that are not transformations.
struct WindowPick {
    Mode mode;
    RectanglePurpose purpose;
};
constexpr WindowPick WindowPicks[] = {
    {Mode::EraseWindow, {RectangleUse::Erase, "Effacer : "}},
    {Mode::ZoomWindow, {RectangleUse::Zoom, "Zoom : "}},
};

RectanglePurpose rectanglePurposeOf(Mode mode)
{
    if (const Transformation* t = findTransformation(mode))
        return {RectangleUse::Selection, t->name};
    for (const WindowPick& pick : WindowPicks)
        if (pick.mode == mode)
            return pick.purpose;
    return {};
}

// The transformation of `mode` when a pick of `kind` takes its second input.
const Transformation* secondInputOf(Mode mode, PickKind kind)
{
    const Transformation* t = findTransformation(mode);
    return t && t->secondPick == kind ? t : nullptr;
}

// The live preview of a segment drag in the editor's mode: the transformation's own, with
// the selected points left beside their images in its copy variant.
SegmentPreview segmentPreviewOf(Editor& editor)
{
    const Mode mode = editor.interactionMode;
    const Transformation* t = findTransformation(mode);
    const std::optional<PreviewOperation> operation = t ? t->preview : std::nullopt;
    const bool previewShowsCopies = operation && mode == t->copyMode;
    return editor.pickFeedback.segmentPreview(editor.document, editor.mapping, operation, previewShowsCopies);
}

} // namespace

void showPhasePrompt(EditorHost& host, InteractionMode mode, PickKind kind)
{
    if (kind == PickKind::Rectangle) {
        const std::string_view name = rectanglePurposeOf(mode).name;
        if (!name.empty())
            host.showStatus(std::string(name) + "Gauche-Sélection / Droit,Esc-Arrêt");
    } else if (const Transformation* t = findTransformation(mode); t && !t->secondPhasePrompt.empty()) {
        host.showStatus(std::string(t->secondPhasePrompt));
    }
}

void showClickPrompt(EditorHost& host, InteractionMode mode, PickKind kind)
{
    if (kind == PickKind::Rectangle) {
        const std::string_view name = rectanglePurposeOf(mode).name;
        if (!name.empty())
            host.showStatus(std::string(name) + "Gauche-Fin sélection / Droit,Esc-Arrêt");
    } else if (const Transformation* t = findTransformation(mode); t && !t->secondClickPrompt.empty()) {
        host.showStatus(std::string(t->secondClickPrompt));
    }
}

MousePick::MousePick(Editor& editor, EditorHost& host, PickKind kind) : editor_(editor), host_(host), kind_(kind)
{
}

bool MousePick::handle(const PickEvent& event, Surface& picture)
{
    if (!running_)
        return false;
    // Whatever the event, the feedback it erases or finishes must be on the picture
    // first; a band erased by a repaint and drawn again by its discard would stay.
    restoreAfterRepaint(picture);
    switch (event.type) {
    case PickEvent::Type::LeftRelease: leftRelease(event.at, picture); break;
    case PickEvent::Type::ClickElsewhere: clickElsewhere(picture); break;
    case PickEvent::Type::MouseMove:
        if (inside(event.at, picture.size()))
            mouseMove(event.at, picture);
        break;
    case PickEvent::Type::RightPress: rightPress(picture); break;
    case PickEvent::Type::Key: key(event.escape, picture); break;
    case PickEvent::Type::Close:
        quit_ = true;
        end(false);
        break;
    }
    return running_;
}

void MousePick::end(bool result)
{
    result_ = result;
    running_ = false;
    clickCount_ = 0;
}

void MousePick::redrawCurrentView(Surface& picture)
{
    redrawPlot(editor_, host_, picture);
}

void MousePick::leftRelease(PixelPoint at, Surface& picture)
{
    if (!inside(at, picture.size()))
        return;
    if (clickCount_ == 0)
        firstClick(at, picture);
    else
        secondClick(picture);
}

void MousePick::firstClick(PixelPoint at, Surface& picture)
{
    const Mode mode = editor_.interactionMode;
    showClickPrompt(host_, mode, kind_);
    clickCount_ = 1;
    PickFeedback& feedback = editor_.pickFeedback;
    switch (kind_) {
    case PickKind::Rectangle: feedback.rectangle.start(picture, at); break;
    case PickKind::Segment: feedback.segment.start(picture, segmentPreviewOf(editor_), at); break;
    case PickKind::Centre:
        // The centre goes where the point dialog would put it; the factor follows.
        editor_.entered.setPoint(editor_.mapping.pixelToWorld(at));
        end(host_.runParameterDialog(ParameterDialog::Factor, ""));
        break;
    }
}

void MousePick::secondClick(Surface& picture)
{
    const Mode mode = editor_.interactionMode;
    PickFeedback& feedback = editor_.pickFeedback;
    BandEnds ends;
    if (kind_ == PickKind::Rectangle)
        ends = feedback.rectangle.finish(picture);
    else
        ends = feedback.segment.finish(picture); // the preview stays for the redraw that follows
    first_ = editor_.mapping.pixelToWorld(ends.anchor);
    second_ = editor_.mapping.pixelToWorld(ends.last);
    if (kind_ == PickKind::Rectangle) {
        if (second_.x < first_.x)
            std::swap(first_.x, second_.x);
        if (second_.y < first_.y)
            std::swap(first_.y, second_.y);
    }
    // A zero-size pick fails silently; a rectangle of zero width and some height passes.
    if (first_ == second_) {
        end(false);
        // The rectangle is already erased, but a segment leaves its preview and the
        // circles of the selection, which only the plot drawn again takes away.
        if (kind_ == PickKind::Segment)
            redrawCurrentView(picture);
        return;
    }

    if (kind_ == PickKind::Rectangle) {
        const Selection rect{first_, second_};
        switch (rectanglePurposeOf(mode).use) {
        case RectangleUse::Selection:
            feedback.drawHighlight(picture, editor_.document, editor_.mapping, rect);
            end(true);
            break;
        case RectangleUse::Erase:
            host_.showStatus(deletedPointsText(deletePointsInRect(editor_.document, rect)));
            redrawCurrentView(picture);
            end(true);
            break;
        case RectangleUse::Zoom:
            setViewWindow(editor_.view, ViewWindow{first_.x, first_.y, second_.x, second_.y});
            redrawPlot(editor_, host_, picture);
            end(true);
            break;
        case RectangleUse::None: end(false); break;
        }
        return;
    }

    // The two ends as they are: the transformation reads them as it needs them.
    end(secondInputOf(mode, kind_) != nullptr);
}

void MousePick::rightPress(Surface& picture)
{
    const Mode mode = editor_.interactionMode;
    PickFeedback& feedback = editor_.pickFeedback;
    const Transformation* t = secondInputOf(mode, kind_);
    if (kind_ == PickKind::Segment && t) {
        if (host_.runParameterDialog(t->dialog, std::string(t->dialogTitle))) {
            feedback.segment.finish(picture);
            typed_ = true;
            end(true);
        } else {
            end(false);
            feedback.segment.discard(picture);
            host_.showStatus(std::string(CancelledFunctionText));
            redrawCurrentView(picture);
        }
    } else if (kind_ == PickKind::Centre && t) {
        const bool accepted = host_.runParameterDialog(t->dialog, std::string(t->dialogTitle))
            && host_.runParameterDialog(ParameterDialog::Factor, "");
        end(accepted);
        redrawCurrentView(picture);
    } else if (kind_ == PickKind::Rectangle && rectanglePurposeOf(mode).use != RectangleUse::None) {
        feedback.rectangle.discard(picture);
        host_.showStatus(std::string(CancelledFunctionText));
        end(false);
    }
}

void MousePick::mouseMove(PixelPoint at, Surface& picture)
{
    PickFeedback& feedback = editor_.pickFeedback;
    const SegmentPreview preview = segmentPreviewOf(editor_);
    const CurvePoint world = editor_.mapping.pixelToWorld(at);
    host_.showCoordinates(world.x, world.y);
    if (clickCount_ == 1) {
        if (kind_ == PickKind::Rectangle)
            feedback.rectangle.moveTo(picture, at);
        else if (kind_ == PickKind::Segment)
            feedback.segment.moveTo(picture, preview, at);
    }
}

void MousePick::restoreAfterRepaint(Surface& picture)
{
    if (!editor_.plotRepainted)
        return;
    // The repaint wiped the feedback: put it back as it was.
    editor_.plotRepainted = false;
    PickFeedback& feedback = editor_.pickFeedback;
    if (kind_ == PickKind::Segment)
        feedback.redrawHighlight(picture, editor_.document, editor_.mapping);
    if (clickCount_ == 0)
        return;
    if (kind_ == PickKind::Rectangle) {
        feedback.rectangle.redraw(picture);
    } else if (kind_ == PickKind::Segment) {
        feedback.segment.redraw(picture, segmentPreviewOf(editor_));
    }
}

void MousePick::key(bool escape, Surface& picture)
{
    PickFeedback& feedback = editor_.pickFeedback;
    if (escape) {
        if (kind_ == PickKind::Rectangle)
            feedback.rectangle.discard(picture);
        else if (kind_ == PickKind::Segment)
            feedback.segment.discard(picture);
        end(false);
        if (kind_ != PickKind::Rectangle)
            redrawCurrentView(picture);
        return;
    }
    // Another key ends the pick at once, leaving the feedback on screen until the next
    // redraw; the bands no longer count as shown, so that no later discard draws them.
    feedback.rectangle.active = false;
    feedback.segment.active = false;
    picture.setMode(DrawMode::Copy);
    end(false);
}

void MousePick::clickElsewhere(Surface& picture)
{
    PickFeedback& feedback = editor_.pickFeedback;
    if (kind_ == PickKind::Rectangle)
        feedback.rectangle.discard(picture);
    else if (kind_ == PickKind::Segment)
        feedback.segment.discard(picture);
    end(false);
    replay_ = true;
    redrawCurrentView(picture);
}
