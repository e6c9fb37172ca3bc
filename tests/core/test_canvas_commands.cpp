#include "editor/CanvasCommands.h"
#include "text/NumberText.h"

#include "ScriptedEditorHost.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// An 800 x 600 drawing area on the start window (-36, -36)-(36, 36): margins 80 and 30.
struct Canvas {
    Editor editor;
    ScriptedHost host;
    Canvas(InteractionMode mode, std::initializer_list<CurvePoint> points = {})
    {
        host.editor = &editor;
        editor.mapping = CanvasMapping::make(editor.view.current, 800, 600);
        editor.interactionMode = mode;
        for (CurvePoint p : points)
            editor.document.appendPoint(p);
        editor.document.takeSnapshot();
    }
    CommandOutcome click(MouseButton button, CurvePoint world)
    {
        return canvasClick(editor, host, button, editor.mapping.worldToPixel(world.x, world.y));
    }
    CurvePoint at(PixelPoint p) const { return editor.mapping.pixelToWorld(p); }
};

} // namespace

TEST(CanvasClicks, PointEntryAddsAtTheClickAndKeepsTheMode)
{
    Canvas c(InteractionMode::PointEntry, {{0, 0}, {20, 5}});
    const PixelPoint pixel = c.editor.mapping.worldToPixel(9, 3);
    CommandOutcome out = canvasClick(c.editor, c.host, MouseButton::Left, pixel);
    const CurvePoint added = c.at(pixel);
    ASSERT_EQ(c.editor.document.count(), 3);
    EXPECT_EQ(c.editor.document.points()[1], added) << "sorted into place";
    EXPECT_EQ(c.editor.document.undoCount(), 2) << "the snapshot comes before the point";
    EXPECT_EQ(c.host.statusShown.back(), cformat("Acquisition du point n°%d en (%.3f , %.3f)", {3, added.x, added.y}));
    EXPECT_EQ(out.redraw, RedrawKind::Incremental);
    EXPECT_TRUE(out.showCount);
    EXPECT_EQ(c.editor.interactionMode, InteractionMode::PointEntry);

    // A click within 0.0005 in x of a point: added, then thinned away.
    c.click(MouseButton::Left, added);
    EXPECT_EQ(c.editor.document.count(), 3);
}

TEST(CanvasClicks, PointEntryRefusesAPointPastTheDoubles)
{
    // Typed bounds at the ends of the doubles: the left and lower margins map past them.
    struct Case {
        ViewWindow window;
        PixelPoint pixel;
    };
    const Case cases[] = {
        {{-1.7e308, -1, 0, 1}, {0, 300}},
        {{-1, -1.75e308, 1, 0}, {400, 599}},
    };
    for (const Case& k : cases) {
        Canvas c(InteractionMode::PointEntry, {{-1, 0}, {0, 0}});
        c.editor.document.appendPoint({0.5, 0}); // after the snapshot
        c.editor.mapping = CanvasMapping::make(k.window, 800, 600);
        CommandOutcome out = canvasClick(c.editor, c.host, MouseButton::Left, k.pixel);
        EXPECT_EQ(c.editor.document.count(), 3);
        EXPECT_EQ(c.editor.document.undoCount(), 2) << "the undo copy is kept";
        EXPECT_EQ(out.redraw, RedrawKind::None);
        EXPECT_EQ(c.editor.interactionMode, InteractionMode::PointEntry);
    }
}

TEST(CanvasClicks, PointEntryStopsAtTheCapacity)
{
    Canvas c(InteractionMode::PointEntry);
    for (int i = 0; i < MaxCurvePoints - 1; ++i)
        c.editor.document.appendPoint({i * 0.01, 0});
    c.click(MouseButton::Left, {30, 1});
    EXPECT_EQ(c.editor.document.count(), MaxCurvePoints) << "the 1024th point is taken";
    EXPECT_TRUE(c.host.messages.empty());
    for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
        c.editor.interactionMode = InteractionMode::PointEntry;
        CommandOutcome out = c.click(button, {31, 1});
        EXPECT_EQ(c.editor.document.count(), MaxCurvePoints);
        EXPECT_EQ(out.redraw, RedrawKind::None);
        EXPECT_EQ(c.editor.interactionMode, InteractionMode::ModeFinished);
        EXPECT_EQ(c.host.messages.back(),
                  (UserMessage{"La limite de points a été atteinte !!!", "Attention", MessageButtons::Ok,
                               MessageIcon::Error, MessageOwner::DrawingArea}));
    }
    EXPECT_EQ(c.host.messages.size(), 2u);
}

TEST(CanvasClicks, RightButtonInPointEntryTypesAPointWithoutSnapshot)
{
    struct Case {
        bool accepted;
        int count;
    };
    for (Case k : {Case{true, 3}, Case{false, 2}}) {
        Canvas c(InteractionMode::PointEntry, {{0, 0}, {5, 5}});
        c.editor.document.setPoint(0, {9, 9}); // unsorted: normalized whatever the answer
        c.host.dialogAnswers = {{k.accepted, {2.5, -1.0}}};
        CommandOutcome out = c.click(MouseButton::Right, {1, 1});
        ASSERT_EQ(c.host.dialogsOpened.size(), 1u);
        EXPECT_EQ(c.host.dialogsOpened[0].dialog, ParameterDialog::Point);
        EXPECT_EQ(c.host.dialogsOpened[0].title, "");
        EXPECT_EQ(c.editor.document.count(), k.count);
        EXPECT_LT(c.editor.document.points()[0].x, c.editor.document.points()[1].x);
        EXPECT_EQ(c.editor.document.undoCount(), 2);
        EXPECT_EQ(out.redraw, RedrawKind::Full);
        if (k.accepted) {
            EXPECT_EQ(c.editor.document.points()[0], (CurvePoint{2.5, -1}));
        }
    }
}

TEST(CanvasClicks, ATypedPointThatIsNotFiniteIsRefusedWithAMessage)
{
    constexpr double Inf = std::numeric_limits<double>::infinity();
    for (CurvePoint typed : {CurvePoint{Inf, 1}, CurvePoint{1, -Inf}, CurvePoint{std::nan(""), 0}}) {
        Canvas c(InteractionMode::PointEntry, {{0, 0}, {5, 5}});
        c.host.dialogAnswers = {{true, {typed.x, typed.y}}};
        c.click(MouseButton::Right, {1, 1});
        EXPECT_EQ(c.editor.document.count(), 2);
        ASSERT_EQ(c.host.messages.size(), 1u);
        EXPECT_EQ(c.host.messages[0],
                  (UserMessage{"Coordonnées incorrectes !!!\nLe point n'est pas ajouté", "Attention",
                               MessageButtons::Ok, MessageIcon::Error, MessageOwner::DrawingArea}));
        EXPECT_EQ(c.editor.interactionMode, InteractionMode::PointEntry);
    }
}

TEST(CanvasClicks, CentrePickRecentresOnceWithTheWindowsHalfSize)
{
    Canvas c(InteractionMode::PickCentre);
    const PixelPoint pixel = c.editor.mapping.worldToPixel(5, 2);
    const CurvePoint centre = c.at(pixel);
    CommandOutcome out = canvasClick(c.editor, c.host, MouseButton::Left, pixel);
    EXPECT_EQ(out.redraw, RedrawKind::Full);
    EXPECT_EQ(c.editor.view.current, (ViewWindow{centre.x - 36, centre.y - 36, centre.x + 36, centre.y + 36}));
    EXPECT_EQ(c.host.statusShown.back(), cformat("Nouveau centre en %8.3f,%8.3f", {centre.x, centre.y}));
    EXPECT_EQ(c.editor.interactionMode, InteractionMode::ModeFinished);
    EXPECT_EQ(canvasClick(c.editor, c.host, MouseButton::Left, pixel).redraw, RedrawKind::None) << "once";
    EXPECT_EQ(cformat("Nouveau centre en %8.3f,%8.3f", {5.0, 2.0}), "Nouveau centre en    5.000,   2.000");
}

TEST(CanvasClicks, DeleteTakesTheNearestAndTheRightButtonBringsItBack)
{
    Canvas c(InteractionMode::PointDelete);
    const PixelPoint pixel = c.editor.mapping.worldToPixel(-5, 0);
    const CurvePoint w = c.at(pixel);
    // The first two are equally near the click: the first goes.
    for (double dx : {-5.0, 5.0, 15.0})
        c.editor.document.appendPoint({w.x + dx, w.y});
    c.editor.document.takeSnapshot();
    CommandOutcome out = canvasClick(c.editor, c.host, MouseButton::Left, pixel);
    EXPECT_EQ(c.host.statusShown.back(), "Suppression du point n°0");
    EXPECT_EQ(c.editor.document.count(), 2);
    EXPECT_EQ(c.editor.document.points()[0], (CurvePoint{w.x + 5, w.y}));
    EXPECT_EQ(out.redraw, RedrawKind::Incremental);
    EXPECT_EQ(out.cursor, CursorRequest::Cross);

    out = c.click(MouseButton::Right, {0, 0});
    EXPECT_EQ(c.editor.document.count(), 3);
    EXPECT_EQ(out.redraw, RedrawKind::Full);
    EXPECT_TRUE(out.showCount);
    c.click(MouseButton::Right, {0, 0});
    EXPECT_EQ(c.editor.document.count(), 3) << "a second undo changes nothing more";

    Canvas empty(InteractionMode::PointDelete);
    EXPECT_EQ(empty.click(MouseButton::Left, {0, 0}).redraw, RedrawKind::None);
    EXPECT_TRUE(empty.host.statusShown.empty());
}

TEST(CanvasClicks, OtherModesIgnoreClicks)
{
    for (InteractionMode mode : {InteractionMode::Idle, InteractionMode::ModeFinished, InteractionMode::Translate,
                                 InteractionMode::BoundsEntry}) {
        Canvas c(mode, {{0, 0}});
        for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
            CommandOutcome out = c.click(button, {1, 1});
            EXPECT_EQ(out.redraw, RedrawKind::None);
            EXPECT_EQ(c.editor.document.count(), 1);
        }
    }
}
