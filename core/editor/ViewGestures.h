#pragma once

#include "common/CommandOutcome.h"
#include "draw/PixelGeometry.h"
#include "view/ViewWindow.h"

#include <cstdint>

struct Editor;

// The view changes no control sends: the wheel zooms about the pointer, the middle
// button drags the view. Both go through setViewWindow, so that "&Préc" comes back
// from them, and neither does anything while a pick runs (it draws on the picture
// with exclusive-or and works on the points shown).

// One notch of a wheel: 120 eighths of a degree. Finer steps (touchpads) add up.
inline constexpr int WheelNotch = 120;
// Notches closer together than this are one change of view for "&Préc", and the
// fraction of a notch left over is kept for the next step only as long.
inline constexpr std::uint64_t WheelRunMilliseconds = 500;

// What a run of wheel steps keeps between its events.
struct WheelRun {
    bool started = false;
    std::uint64_t lastStepTime = 0;   // of the last step, a notch or a fraction
    std::uint64_t lastChangeTime = 0; // of the last notch that changed the view
    std::int64_t remainder = 0;       // eighths of a degree short of a notch
    ViewWindow shown{};               // the window the last notch made current
};

// A drag of the middle button under way.
struct PanDrag {
    bool active = false;
    PixelPoint start{};
    ViewWindow startWindow{};
    double scaleX = 0.0, scaleY = 0.0; // world units per pixel of the view dragged
};

// The wheel turned by `angleDelta` eighths of a degree (positive away from the user)
// with the pointer on pixel `at` of the drawing area, at `timeMs` (milliseconds, as the
// window system stamps its events). Each whole notch zooms in (away from the user) or
// out by a factor of √2 about the world point under the pointer, which stays on that
// pixel. The first notch of a run goes through setViewWindow; later notches of the run
// (each within WheelRunMilliseconds of the one before, nothing else having changed the
// view) change the current window alone, so that "&Préc" returns to the view before
// the turn. A window that cannot be drawn is refused and nothing changes.
CommandOutcome wheelTurned(Editor& editor, PixelPoint at, int angleDelta, std::uint64_t timeMs);

// The middle button pressed on pixel `at`: the world point there is grabbed.
CommandOutcome panPressed(Editor& editor, PixelPoint at);
// The pointer moved to `at` with the middle button held: the view follows, the world
// point grabbed staying under the pointer, as the current window alone.
CommandOutcome panMoved(Editor& editor, PixelPoint at);
// The middle button released on `at`: one setViewWindow change from the view before
// the drag to the view dragged to.
CommandOutcome panReleased(Editor& editor, PixelPoint at);
// Ends a drag under way where it stands (a command runs, the button's release went
// elsewhere), as a release there would.
void panEnded(Editor& editor);

// The world window after `notches` notches of the wheel about the world point `centre`:
// each notch divides the extents by √2 (multiplies for a negative count).
ViewWindow wheelZoomedWindow(const ViewWindow& window, CurvePoint centre, std::int64_t notches);
