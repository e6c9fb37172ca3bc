#pragma once

#include "curve/CurvePoint.h"
#include "draw/PixelGeometry.h"
#include "editor/InteractionMode.h"

#include <string_view>

struct Editor;
class EditorHost;
class Surface;

// What one pick collects: two corners of a rectangle, two points joined by a rubber
// line with the preview, or a centre followed by the factor dialog.
enum class PickKind {
    Rectangle,
    Segment,
    Centre
};

inline constexpr std::string_view CancelledFunctionText = "Annulation de la fonction";

// An input the window hands to a running pick. Positions are pixels of the drawing area.
struct PickEvent {
    enum class Type {
        LeftRelease,    // left button released on the drawing area at `at`
        ClickElsewhere, // left button released on another window: the window replays it once the pick ended
        MouseMove,      // mouse moved on the drawing area to `at`
        RightPress,     // right button pressed, anywhere
        Key,            // a key pressed: Escape or another
        Close,          // the window closes or the session ends
    };
    Type type = Type::MouseMove;
    PixelPoint at{};
    bool escape = false;

    static PickEvent leftRelease(PixelPoint p) { return {Type::LeftRelease, p}; }
    static PickEvent clickElsewhere() { return {Type::ClickElsewhere}; }
    static PickEvent moveTo(PixelPoint p) { return {Type::MouseMove, p}; }
    static PickEvent rightPress() { return {Type::RightPress}; }
    static PickEvent escapeKey() { return {Type::Key, {}, true}; }
    static PickEvent otherKey() { return {Type::Key, {}, false}; }
    static PickEvent close() { return {Type::Close}; }
};

// One mouse pick, for the mode in editor.interactionMode: the window feeds it events
// until handle() returns false, drawing the feedback on the drawing area's picture
// given with each event. A rectangle pick of a transformation ends with the selection
// circled; of "&Effac Fen" with the points deleted; of the zoom window with the new
// view drawn. Segment and centre picks only collect their points; the command applies
// the transformation.
class MousePick {
public:
    MousePick(Editor& editor, EditorHost& host, PickKind kind);

    // Handles one event; false once the pick has ended (also for events after it).
    bool handle(const PickEvent& event, Surface& picture);

    PickKind kind() const { return kind_; }
    bool running() const { return running_; }
    bool result() const { return result_; }
    // Rectangle: lower-left and upper-right corners. Segment: where the drag started
    // and ended, unless the values were typed. Centre: the centre and factor are in the
    // editor's EnteredValues.
    CurvePoint firstPoint() const { return first_; }
    CurvePoint secondPoint() const { return second_; }
    // A segment pick ended with its values typed into the transformation's dialog
    // (they are in the editor's EnteredValues) rather than dragged.
    bool typed() const { return typed_; }
    // The pick ended on a click on another window, which the window must now replay.
    bool clickToReplay() const { return replay_; }
    // The pick ended because the program is closing: the window posts the quit.
    bool quitRequested() const { return quit_; }

private:
    void leftRelease(PixelPoint at, Surface& picture);
    void firstClick(PixelPoint at, Surface& picture);
    void secondClick(Surface& picture);
    void rightPress(Surface& picture);
    void mouseMove(PixelPoint at, Surface& picture);
    void key(bool escape, Surface& picture);
    void clickElsewhere(Surface& picture);
    void end(bool result);
    void redrawCurrentView(Surface& picture);
    // After a repaint of the plot (editor.plotRepainted), the highlight and the band as
    // they were before it.
    void restoreAfterRepaint(Surface& picture);

    Editor& editor_;
    EditorHost& host_;
    PickKind kind_;
    bool running_ = true;
    int clickCount_ = 0;
    bool result_ = false;
    CurvePoint first_{};
    CurvePoint second_{};
    bool typed_ = false;
    bool replay_ = false;
    bool quit_ = false;
};

// The prompt at the start of a phase and the one at its first left click, written into
// the status line without changing statusText. Segment and Centre mean the second
// input of a transformation. Nothing is written for a mode without a prompt there.
void showPhasePrompt(EditorHost& host, InteractionMode mode, PickKind kind);
void showClickPrompt(EditorHost& host, InteractionMode mode, PickKind kind);
