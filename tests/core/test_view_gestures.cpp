#include "editor/Editor.h"
#include "editor/ViewGestures.h"
#include "view/CanvasMapping.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

namespace {

constexpr double Root2 = 1.4142135623730951;

// An 800 x 600 drawing area showing `window`, drawn: the mapping follows each change of
// view as the redraw makes it follow.
struct View {
    Editor editor;
    explicit View(ViewWindow window = {-36, -36, 36, 36})
    {
        editor.view.current = window;
        editor.view.previousWindow = {-10, -10, 10, 10};
        redraw();
    }
    void redraw() { editor.mapping = CanvasMapping::make(editor.view.current, 800, 600); }
    CommandOutcome wheel(PixelPoint at, int delta, std::uint64_t time)
    {
        return redrawn(wheelTurned(editor, at, delta, time));
    }
    CommandOutcome redrawn(CommandOutcome out)
    {
        if (out.redraw == RedrawKind::Full)
            redraw();
        return out;
    }
    const ViewWindow& current() const { return editor.view.current; }
    const ViewWindow& previous() const { return editor.view.previousWindow; }
    double width() const { return current().xmax - current().xmin; }
};

} // namespace

TEST(WheelZoom, TheWorldPointUnderThePointerStaysOnItsPixel)
{
    struct Case {
        const char* what;
        ViewWindow window;
        PixelPoint at;
        int delta;
        double widthFactor;
    };
    const Case cases[] = {
        {"one notch away zooms in at the middle", {-36, -36, 36, 36}, {400, 300}, 120, 1 / Root2},
        {"one notch back zooms out", {-36, -36, 36, 36}, {400, 300}, -120, Root2},
        {"two notches at once zoom by 2", {-36, -36, 36, 36}, {123, 457}, 240, 0.5},
        {"about a corner of the plot", {0, 0, 10, 5}, {80, 570}, 120, 1 / Root2},
        {"about a pixel of the margin", {0, 0, 10, 5}, {5, 2}, -120, Root2},
        {"a window far from the origin", {1e6, -3e5, 1e6 + 2, -3e5 + 1}, {611, 77}, 120, 1 / Root2},
        {"a tiny window", {1e-200, 1e-200, 3e-200, 2e-200}, {700, 20}, -360, 2 * Root2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        View v(c.window);
        const CurvePoint under = v.editor.mapping.pixelToWorld(c.at);
        const double width = v.width();
        const CommandOutcome out = v.wheel(c.at, c.delta, 1000);
        EXPECT_EQ(out.redraw, RedrawKind::Full);
        EXPECT_NEAR(v.width() / width, c.widthFactor, 1e-9); // the bounds round far from 0
        EXPECT_EQ(v.editor.mapping.worldToPixel(under.x, under.y), c.at);
        EXPECT_EQ(v.previous(), c.window) << "\"&Préc\" goes back to the view before the turn";
    }
}

TEST(WheelZoom, StepsAddUpToNotchesAndARunIsOneChangeForPrevious)
{
    struct Step {
        int delta;
        std::uint64_t time;
    };
    // Where "&Préc" goes back to afterwards.
    enum class Previous {
        Untouched,  // the view never changed
        BeforeTurn, // the view before the first step
        AfterFirst, // the view after the first notch: a second run began
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int notches; // net notches in, all told
        Previous previous;
    };
    const Case cases[] = {
        {"a touchpad's eighths add up to a notch", {{15, 100}, {45, 120}, {60, 140}}, 1, Previous::BeforeTurn},
        {"fractions left for longer than the run are forgotten", {{60, 100}, {60, 700}}, 0, Previous::Untouched},
        {"notches close together are one run", {{120, 100}, {120, 500}, {120, 900}}, 3, Previous::BeforeTurn},
        {"a pause ends the run", {{120, 100}, {120, 700}}, 2, Previous::AfterFirst},
        {"in then out within the run", {{120, 100}, {-120, 300}}, 0, Previous::BeforeTurn},
        {"a clock that goes back starts a new run", {{120, 900}, {120, 100}}, 2, Previous::AfterFirst},
        {"events with no time stamp are notches of their own", {{120, 0}, {120, 0}}, 2, Previous::AfterFirst},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        View v;
        const ViewWindow start = v.current();
        ViewWindow afterFirst = start;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            v.wheel({400, 300}, c.steps[i].delta, c.steps[i].time);
            if (i == 0)
                afterFirst = v.current();
        }
        EXPECT_NEAR(v.width(), 72 * std::exp2(-c.notches / 2.0), 1e-9);
        switch (c.previous) {
        case Previous::Untouched: EXPECT_EQ(v.previous(), (ViewWindow{-10, -10, 10, 10})); break;
        case Previous::BeforeTurn: EXPECT_EQ(v.previous(), start); break;
        case Previous::AfterFirst: EXPECT_EQ(v.previous(), afterFirst); break;
        }
    }
}

TEST(WheelZoom, AnotherChangeOfViewEndsTheRun)
{
    View v;
    v.wheel({400, 300}, 120, 100);
    const ViewWindow afterNotch = v.current();
    // "&Plus" (every bound halved) between two notches.
    v.editor.view.current = {afterNotch.xmin / 2, afterNotch.ymin / 2, afterNotch.xmax / 2, afterNotch.ymax / 2};
    v.redraw();
    const ViewWindow zoomed = v.current();
    v.wheel({400, 300}, 120, 200);
    EXPECT_EQ(v.previous(), zoomed);
}

TEST(WheelZoom, NothingChangesDuringAPickOrADragOrPastWhatCanBeDrawn)
{
    struct Case {
        const char* what;
        ViewWindow window;
        bool pick;
        bool drag;
        int delta;
    };
    const Case cases[] = {
        {"during a pick", {-36, -36, 36, 36}, true, false, 120},
        {"during a drag of the view", {-36, -36, 36, 36}, false, true, 120},
        {"a horizontal wheel", {-36, -36, 36, 36}, false, false, 0},
        {"zoomed in past the smallest extent", {1, 1, 1 + 1.2e-12, 1 + 1.2e-12}, false, false, 120},
        {"zoomed out past the doubles", {-1e308, -1e308, 1e308, 1e308}, false, false, -120},
        {"a turn of a billion notches", {-36, -36, 36, 36}, false, false, 2'000'000'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        View v(c.window);
        v.editor.pickRunning = c.pick;
        if (c.drag)
            panPressed(v.editor, {10, 10});
        const CommandOutcome out = v.wheel({400, 300}, c.delta, 100);
        EXPECT_EQ(out.redraw, RedrawKind::None);
        EXPECT_EQ(v.current(), c.window);
        EXPECT_EQ(v.previous(), (ViewWindow{-10, -10, 10, 10}));
    }
}

TEST(MiddleButtonPan, TheGrabbedPointFollowsThePointerAndTheReleaseIsOneChange)
{
    struct Case {
        const char* what;
        ViewWindow window;
        std::vector<PixelPoint> moves; // the last one is where the button is released
        bool changed;
    };
    const Case cases[] = {
        {"a drag right and down", {-36, -36, 36, 36}, {{410, 310}, {500, 420}}, true},
        {"a drag out of the area", {0, 0, 10, 5}, {{-300, 900}}, true},
        {"far from the origin", {1e9, 1e9, 1e9 + 1, 1e9 + 1}, {{401, 299}, {380, 250}}, true},
        {"back where it started", {-36, -36, 36, 36}, {{500, 420}, {400, 300}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        View v(c.window);
        const PixelPoint grab{400, 300};
        const CurvePoint grabbed = v.editor.mapping.pixelToWorld(grab);
        v.redrawn(panPressed(v.editor, grab));
        for (std::size_t i = 0; i + 1 < c.moves.size(); ++i) {
            v.redrawn(panMoved(v.editor, c.moves[i]));
            EXPECT_EQ(v.editor.mapping.worldToPixel(grabbed.x, grabbed.y), c.moves[i]);
            EXPECT_EQ(v.previous(), (ViewWindow{-10, -10, 10, 10})) << "no change for \"&Préc\" while dragging";
        }
        v.redrawn(panReleased(v.editor, c.moves.back()));
        EXPECT_EQ(v.editor.mapping.worldToPixel(grabbed.x, grabbed.y), c.moves.back());
        EXPECT_FALSE(v.editor.panDrag.active);
        EXPECT_EQ(v.previous(), (c.changed ? c.window : ViewWindow{-10, -10, 10, 10}));
        EXPECT_EQ(v.current() == c.window, !c.changed);
    }
}

TEST(MiddleButtonPan, ADragEndedWhereItStandsOrDuringAPick)
{
    // A command runs during the drag: the view dragged to is one change.
    View v;
    v.redrawn(panPressed(v.editor, {400, 300}));
    v.redrawn(panMoved(v.editor, {450, 300}));
    const ViewWindow dragged = v.current();
    panEnded(v.editor);
    EXPECT_FALSE(v.editor.panDrag.active);
    EXPECT_EQ(v.current(), dragged);
    EXPECT_EQ(v.previous(), (ViewWindow{-36, -36, 36, 36}));
    // A release with no drag under way, and a drag during a pick, do nothing.
    EXPECT_EQ(panReleased(v.editor, {0, 0}).redraw, RedrawKind::None);
    View p;
    p.editor.pickRunning = true;
    panPressed(p.editor, {400, 300});
    EXPECT_FALSE(p.editor.panDrag.active);
    EXPECT_EQ(panMoved(p.editor, {450, 300}).redraw, RedrawKind::None);
    EXPECT_EQ(p.current(), (ViewWindow{-36, -36, 36, 36}));
}
