#include "editor/MousePick.h"

#include "draw/Surface.h"
#include "editor/Editor.h"
#include "editor/EditorHost.h"
#include "editor/PlotRedraw.h"
#include "transform/TransformOperations.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

using Mode = InteractionMode;

// The nine modes of the transformation buttons, copy variants included.
bool isTransformation(Mode m)
{
    switch (m) {
    case Mode::Homothety:
    case Mode::HomothetyCopy:
    case Mode::Affinity:
    case Mode::Translate:
    case Mode::TranslateCopy:
    case Mode::Mirror:
    case Mode::MirrorCopy:
    case Mode::Rotate:
    case Mode::RotateCopy:
        return true;
    default:
        return false;
    }
}

bool isTranslation(Mode m) { return m == Mode::Translate || m == Mode::TranslateCopy; }
bool isMirror(Mode m) { return m == Mode::Mirror || m == Mode::MirrorCopy; }
bool isRotation(Mode m) { return m == Mode::Rotate || m == Mode::RotateCopy; }
bool isHomothety(Mode m) { return m == Mode::Homothety || m == Mode::HomothetyCopy; }
bool isCopy(Mode m)
{
    return m == Mode::TranslateCopy || m == Mode::MirrorCopy || m == Mode::RotateCopy;
}

std::optional<PreviewOperation> previewOf(Mode m)
{
    if (isTranslation(m))
        return PreviewOperation::Translation;
    if (isMirror(m))
        return PreviewOperation::Mirror;
    if (isRotation(m))
        return PreviewOperation::Rotation;
    return std::nullopt;
}

bool inside(PixelPoint p, PixelSize size)
{
    // Row 0 and column 0 do not count as the drawing area.
    return p.x > 0 && p.x < size.width && p.y > 0 && p.y < size.height;
}

// The name each prompt of the selection phase starts with.
const char* selectionPromptName(Mode m)
{
    if (isHomothety(m))
        return "Homothétie : ";
    if (isTranslation(m))
        return "Translation : ";
    if (isMirror(m))
        return "Miroir : ";
    if (isRotation(m))
        return "Rotation : ";
    switch (m) {
    case Mode::EraseWindow:
        return "Effacer : ";
    case Mode::ZoomWindow:
        return "Zoom : ";
    case Mode::Affinity:
        return "Affinité : ";
    default:
        return nullptr;
    }
}

const char* secondPhasePrompt(Mode m)
{
    if (isHomothety(m))
        return "Homothétie : Gauche-Centre homothétie / Droit-Saisie / Escape-Arrêt";
    if (isTranslation(m))
        return "Translation : Gauche-Origine / Droit-Saisie / Escape-Arrêt";
    if (isMirror(m))
        return "Miroir : Gauche-Origine / Droit-Saisie / Escape-Arrêt";
    if (isRotation(m))
        return "Rotation : Gauche-Centre Rotation / Droit-Saisie / Escape-Arrêt";
    if (m == Mode::Affinity)
        return "Affinité : Axe et facteur";
    return nullptr;
}

const char* secondClickPrompt(Mode m)
{
    if (isHomothety(m))
        return " "; // while the factor dialog is open
    if (isTranslation(m))
        return "Translation : Gauche-Fin / Droit-Saisie / Escape-Arrêt";
    if (isMirror(m))
        return "Miroir : Gauche-Angle / Droit-Saisie / Escape-Arrêt";
    if (isRotation(m))
        return "Rotation : Gauche-Angle / Droit-Saisie / Escape-Arrêt";
    return nullptr;
}

// The titles the point dialogs take for the mode they serve.
constexpr std::string_view TranslationVectorTitle = "Vecteur translation";
constexpr std::string_view HomothetyCentreTitle = "Centre de l'homothétie";
constexpr std::string_view MirrorTitle = "Vecteur Miroir";
constexpr std::string_view RotationTitle = "Vecteur de Rotation";

} // namespace

void showPhasePrompt(EditorHost& host, InteractionMode mode, PickKind kind)
{
    if (kind == PickKind::Rectangle) {
        if (const char* name = selectionPromptName(mode))
            host.showStatus(std::string(name) + "Gauche-Sélection / Droit,Esc-Arrêt");
    } else if (const char* text = secondPhasePrompt(mode)) {
        host.showStatus(text);
    }
}

void showClickPrompt(EditorHost& host, InteractionMode mode, PickKind kind)
{
    if (kind == PickKind::Rectangle) {
        if (const char* name = selectionPromptName(mode))
            host.showStatus(std::string(name) + "Gauche-Fin sélection / Droit,Esc-Arrêt");
    } else if (const char* text = secondClickPrompt(mode)) {
        host.showStatus(text);
    }
}

MousePick::MousePick(Editor& editor, EditorHost& host, PickKind kind) : editor_(editor), host_(host), kind_(kind) {}

bool MousePick::handle(const PickEvent& event, Surface& picture)
{
    if (!running_)
        return false;
    // Whatever the event, the feedback it erases or finishes must be on the picture
    // first; a band erased by a repaint and drawn again by its discard would stay.
    restoreAfterRepaint(picture);
    switch (event.type) {
    case PickEvent::Type::LeftRelease:
        leftRelease(event.at, picture);
        break;
    case PickEvent::Type::ClickElsewhere:
        clickElsewhere(picture);
        break;
    case PickEvent::Type::MouseMove:
        if (inside(event.at, picture.size()))
            mouseMove(event.at, picture);
        break;
    case PickEvent::Type::RightPress:
        rightPress(picture);
        break;
    case PickEvent::Type::Key:
        key(event.escape, picture);
        break;
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
    case PickKind::Rectangle:
        feedback.rectangle.start(picture, at);
        break;
    case PickKind::Segment:
        feedback.segment.start(
            picture, feedback.segmentPreview(editor_.document, editor_.mapping, previewOf(mode), isCopy(mode)), at);
        break;
    case PickKind::Centre: {
        const CurvePoint centre = editor_.mapping.pixelToWorld(at);
        editor_.entered.x = centre.x;
        editor_.entered.y = centre.y;
        first_ = centre;
        end(host_.runParameterDialog(ParameterDialog::Factor, ""));
        break;
    }
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
        if (isTransformation(mode)) {
            feedback.drawHighlight(picture, editor_.document, editor_.mapping, rect);
            end(true);
        } else if (mode == Mode::EraseWindow) {
            const int deleted = deletePointsInRect(editor_.document, rect);
            host_.showStatus(deletedPointsText(deleted));
            redrawCurrentView(picture);
            end(true);
        } else if (mode == Mode::ZoomWindow) {
            setViewWindow(editor_.view, ViewWindow{first_.x, first_.y, second_.x, second_.y});
            redrawPlot(editor_, host_, picture);
            end(true);
        } else {
            end(false);
        }
        return;
    }

    if (isTranslation(mode)) {
        first_ = {second_.x - first_.x, second_.y - first_.y};
        end(true);
    } else if (isMirror(mode)) {
        // The point nearer to the world origin comes first.
        if (std::sqrt(second_.x * second_.x + second_.y * second_.y)
            < std::sqrt(first_.x * first_.x + first_.y * first_.y))
            std::swap(first_, second_);
        end(true);
    } else if (isRotation(mode)) {
        end(true); // the centre, then the point that gives the angle
    } else {
        end(false);
    }
}

void MousePick::rightPress(Surface& picture)
{
    const Mode mode = editor_.interactionMode;
    PickFeedback& feedback = editor_.pickFeedback;
    if (kind_ == PickKind::Segment && previewOf(mode)) {
        const bool translation = isTranslation(mode);
        const bool accepted =
            translation ? host_.runParameterDialog(ParameterDialog::Point, std::string(TranslationVectorTitle))
                        : host_.runParameterDialog(ParameterDialog::PointAndAngle,
                                                   std::string(isMirror(mode) ? MirrorTitle : RotationTitle));
        if (accepted) {
            feedback.segment.finish(picture);
            first_ = {editor_.entered.x, editor_.entered.y};
            if (!translation)
                second_ = {editor_.entered.value, AngleMarker}; // the typed angle, in radians
            end(true);
        } else {
            end(false);
            feedback.segment.discard(picture);
            host_.showStatus(std::string(CancelledFunctionText));
            redrawCurrentView(picture);
        }
    } else if (kind_ == PickKind::Centre && isHomothety(mode)) {
        bool accepted = host_.runParameterDialog(ParameterDialog::Point, std::string(HomothetyCentreTitle));
        if (accepted) {
            first_ = {editor_.entered.x, editor_.entered.y};
            accepted = host_.runParameterDialog(ParameterDialog::Factor, "");
        }
        end(accepted);
        redrawCurrentView(picture);
    } else if (kind_ == PickKind::Rectangle && (isTransformation(mode) || mode == Mode::EraseWindow
                                                || mode == Mode::ZoomWindow)) {
        feedback.rectangle.discard(picture);
        host_.showStatus(std::string(CancelledFunctionText));
        end(false);
    }
}

void MousePick::mouseMove(PixelPoint at, Surface& picture)
{
    const Mode mode = editor_.interactionMode;
    PickFeedback& feedback = editor_.pickFeedback;
    const SegmentPreview preview =
        feedback.segmentPreview(editor_.document, editor_.mapping, previewOf(mode), isCopy(mode));
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
        const Mode mode = editor_.interactionMode;
        feedback.segment.redraw(
            picture, feedback.segmentPreview(editor_.document, editor_.mapping, previewOf(mode), isCopy(mode)));
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
