#include "draw/RecordingSurface.h"
#include "editor/MainControl.h"
#include "editor/MousePick.h"
#include "editor/PickCommands.h"
#include "editor/PlotRedraw.h"

#include "ScriptedEditorHost.h"
#include "TestSupport.h"
#include "XorFigures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Kind = RecordingSurface::Kind;
using Script = std::vector<PickEvent>;

using DialogAnswer = ScriptedHost::DialogAnswer;
using OpenedDialog = ScriptedHost::OpenedDialog;

// Helpers that read as the user's gestures.
Script dragRectangle(PixelPoint from, PixelPoint to)
{
    return {PickEvent::moveTo(from), PickEvent::leftRelease(from), PickEvent::moveTo({(from.x + to.x) / 2, to.y}),
            PickEvent::moveTo(to), PickEvent::leftRelease(to)};
}
Script dragSegment(PixelPoint from, PixelPoint to)
{
    return dragRectangle(from, to);
}

// A curve of 41 points on y = x / 2 over the default view, drawn on the picture.
struct Fixture {
    Editor editor;
    ScriptedHost host;
    CommandOutcome outcome;

    Fixture(int points = 41)
    {
        host.editor = &editor;
        for (int i = 0; i < points; ++i)
            editor.document.appendPoint({i - 20.0, (i - 20.0) / 2});
        editor.document.markSaved();
        redrawPlot(editor, host, host.picture);
        host.picture.clear();
    }
    CurvePoint world(PixelPoint p) const { return editor.mapping.pixelToWorld(p); }
    Selection selectionOf(PixelPoint a, PixelPoint b) const
    {
        const CurvePoint p = world(a);
        const CurvePoint q = world(b);
        return {{std::min(p.x, q.x), std::min(p.y, q.y)}, {std::max(p.x, q.x), std::max(p.y, q.y)}};
    }
    bool backgroundDrawn() const
    {
        for (const auto& r : host.picture.ofKind(Kind::Rectangle))
            if (r.points[0] == PixelPoint{0, 0} && r.points[1] == PixelPoint{800, 600})
                return true;
        return false;
    }
};

// The band's rectangle, the preview and the rubber line drawn since the last full
// redraw: each an even number of times, so that none is left on the picture.
bool noFeedbackLeft(const RecordingSurface& surface)
{
    const auto& all = surface.primitives();
    std::size_t from = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].kind == Kind::Rectangle && all[i].points[0] == PixelPoint{0, 0}
            && all[i].points[1] == PixelPoint{800, 600})
            from = i;
    return xorFiguresCancel(surface, from, [](const RecordingSurface::Primitive& p) {
        return p.pen == FeedbackPens::Rectangle || p.pen == FeedbackPens::Preview || p.pen == FeedbackPens::RubberLine;
    });
}

constexpr PixelPoint R1{300, 500}; // selects x in (-11.25, 11.25): points -11 to 11
constexpr PixelPoint R2{500, 100};
constexpr PixelPoint A{420, 300};
constexpr PixelPoint B{470, 240};

} // namespace

// Each row: a transformation button, what the user does in the picks and dialogs, the
// operation the document must show afterwards (none: the document is unchanged and
// nothing is redrawn by the command), and how the picks leave the picture and the
// status line.
TEST(TransformationCommand, EveryWayThroughThePicksEndsInTheRightOperation)
{
    using Op = std::function<void(CurveDocument&, const Fixture&, const Selection&)>;
    struct After {
        bool annulled = false;   // "Annulation de la fonction" is the last status written
        bool redrawn = false;    // the pick redrew the plot
        bool figureLeft = false; // an exclusive-or figure stays for the next redraw
    };
    struct Case {
        const char* what;
        MainControl id;
        bool copy;
        std::vector<Script> picks;
        std::deque<DialogAnswer> answers;
        Op expected;
        std::vector<OpenedDialog> dialogs;
        After after;
    };
    const Script rectangle = dragRectangle(R1, R2);
    const double quarter = std::numbers::pi / 2;
    auto translatedByMouse = [](bool copy) {
        return [copy](CurveDocument& d, const Fixture& f, const Selection& s) {
            const CurvePoint a = f.world(A), b = f.world(B);
            translatePoints(d, s, b.x - a.x, b.y - a.y, copy);
        };
    };
    const Case cases[] = {
        {"translation vector by mouse",
         MainControl::Translate,
         false,
         {rectangle, dragSegment(A, B)},
         {},
         translatedByMouse(false),
         {},
         {.figureLeft = true}},
        {"translation copy",
         MainControl::Translate,
         true,
         {rectangle, dragSegment(A, B)},
         {},
         translatedByMouse(true),
         {},
         {.figureLeft = true}},
        {"mirror line, nearer point second",
         MainControl::Mirror,
         false,
         {rectangle, dragSegment(B, A)},
         {},
         [](CurveDocument& d, const Fixture& f, const Selection& s) {
             mirrorPoints(d, s, f.world(A), f.world(B), false);
         },
         {},
         {.figureLeft = true}},
        {"mirror copy",
         MainControl::Mirror,
         true,
         {rectangle, dragSegment(A, B)},
         {},
         [](CurveDocument& d, const Fixture& f, const Selection& s) {
             mirrorPoints(d, s, f.world(A), f.world(B), true);
         },
         {},
         {.figureLeft = true}},
        {"rotation centre and angle by mouse",
         MainControl::Rotate,
         false,
         {rectangle, dragSegment(B, A)},
         {},
         [](CurveDocument& d, const Fixture& f, const Selection& s) {
             rotatePoints(d, s, f.world(B), f.world(A), false);
         },
         {},
         {.figureLeft = true}},
        {"homothety centre clicked, factor typed",
         MainControl::Homothety,
         false,
         {rectangle, {PickEvent::moveTo(A), PickEvent::leftRelease(A)}},
         {{true, {2}}},
         [](CurveDocument& d, const Fixture& f, const Selection& s) { scalePoints(d, s, f.world(A), 2, false); },
         {{ParameterDialog::Factor, ""}},
         {}},
        {"homothety copy, centre and factor typed",
         MainControl::Homothety,
         true,
         {rectangle, {PickEvent::rightPress()}},
         {{true, {1, 2}}, {true, {0.5}}},
         [](CurveDocument& d, const Fixture&, const Selection& s) {
             scalePoints(d, s, {1, 2}, 0.5, true);
         },
         {{ParameterDialog::Point, "Centre de l'homothétie"}, {ParameterDialog::Factor, ""}},
         {.redrawn = true}},
        {"homothety centre dialog cancelled",
         MainControl::Homothety,
         false,
         {rectangle, {PickEvent::rightPress()}},
         {{false}},
         nullptr,
         {{ParameterDialog::Point, "Centre de l'homothétie"}},
         {.redrawn = true}},
        {"homothety factor cancelled",
         MainControl::Homothety,
         false,
         {rectangle, {PickEvent::leftRelease(A)}},
         {{false}},
         nullptr,
         {{ParameterDialog::Factor, ""}},
         {}},
        {"affinity, copy ignored",
         MainControl::Affinity,
         true,
         {rectangle},
         {{true, {1, 2}}},
         [](CurveDocument& d, const Fixture&, const Selection& s) { stretchPoints(d, s, 1, 2); },
         {{ParameterDialog::Affinity, ""}},
         {}},
        {"affinity cancelled",
         MainControl::Affinity,
         false,
         {rectangle},
         {{false}},
         nullptr,
         {{ParameterDialog::Affinity, ""}},
         {}},
        {"typed translation vector",
         MainControl::Translate,
         false,
         {rectangle, {PickEvent::rightPress()}},
         {{true, {0, 1}}},
         [](CurveDocument& d, const Fixture&, const Selection& s) { translatePoints(d, s, 0, 1, false); },
         {{ParameterDialog::Point, "Vecteur translation"}},
         {}},
        {"typed rotation angle while dragging, copy",
         MainControl::Rotate,
         true,
         {rectangle, {PickEvent::leftRelease(A), PickEvent::moveTo(B), PickEvent::rightPress()}},
         {{true, {1, 2, quarter}}},
         [quarter](CurveDocument& d, const Fixture&, const Selection& s) {
             rotatePoints(d, s, {1, 2}, {quarter, AngleMarker}, true);
         },
         {{ParameterDialog::PointAndAngle, "Vecteur de Rotation"}},
         {.figureLeft = true}},
        {"typed mirror",
         MainControl::Mirror,
         false,
         {rectangle, {PickEvent::rightPress()}},
         {{true, {0, 1, 0.25}}},
         [](CurveDocument& d, const Fixture&, const Selection& s) {
             mirrorPoints(d, s, {0, 1}, {0.25, AngleMarker}, false);
         },
         {{ParameterDialog::PointAndAngle, "Vecteur Miroir"}},
         {}},
        {"parameter dialog cancelled while dragging",
         MainControl::Translate,
         false,
         {rectangle, {PickEvent::leftRelease(A), PickEvent::moveTo(B), PickEvent::rightPress()}},
         {{false}},
         nullptr,
         {{ParameterDialog::Point, "Vecteur translation"}},
         {.annulled = true, .redrawn = true}},
        {"right button before the first corner",
         MainControl::Rotate,
         false,
         {{PickEvent::rightPress()}},
         {},
         nullptr,
         {},
         {.annulled = true}},
        {"right button while the rectangle is dragged",
         MainControl::Mirror,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::moveTo(R2), PickEvent::rightPress()}},
         {},
         nullptr,
         {},
         {.annulled = true}},
        {"Escape before the first corner",
         MainControl::Translate,
         false,
         {{PickEvent::escapeKey()}},
         {},
         nullptr,
         {},
         {}},
        {"Escape while the rectangle is dragged",
         MainControl::Translate,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::moveTo(R2), PickEvent::escapeKey()}},
         {},
         nullptr,
         {},
         {}},
        {"Escape while the segment is dragged",
         MainControl::Translate,
         false,
         {rectangle, {PickEvent::leftRelease(A), PickEvent::moveTo(B), PickEvent::escapeKey()}},
         {},
         nullptr,
         {},
         {.redrawn = true}},
        {"another key leaves the rectangle on screen",
         MainControl::Rotate,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::moveTo(R2), PickEvent::otherKey()}},
         {},
         nullptr,
         {},
         {.figureLeft = true}},
        {"zero-size rectangle",
         MainControl::Translate,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::leftRelease(R1)}},
         {},
         nullptr,
         {},
         {}},
        {"rectangle of zero width: the operation runs on no point",
         MainControl::Translate,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::moveTo({R1.x, R2.y}), PickEvent::leftRelease(R2)}, dragSegment(A, B)},
         {},
         [](CurveDocument&, const Fixture&, const Selection&) {},
         {},
         {.figureLeft = true}},
        {"click on another window",
         MainControl::Translate,
         false,
         {{PickEvent::leftRelease(R1), PickEvent::moveTo(R2), PickEvent::clickElsewhere()}},
         {},
         nullptr,
         {},
         {.redrawn = true}},
        {"clicks outside the drawing area count for nothing",
         MainControl::Translate,
         false,
         {{PickEvent::leftRelease({0, 300}), PickEvent::leftRelease({300, 600}), PickEvent::moveTo(R1),
           PickEvent::leftRelease(R1), PickEvent::moveTo(R2), PickEvent::leftRelease(R2)},
          {PickEvent::leftRelease({800, 10}), PickEvent::leftRelease(A), PickEvent::moveTo({A.x, 0}),
           PickEvent::moveTo(B), PickEvent::leftRelease(B)}},
         {},
         translatedByMouse(false),
         {},
         {.figureLeft = true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.host.copyTicked = c.copy;
        f.host.picks.assign(c.picks.begin(), c.picks.end());
        f.host.dialogAnswers = c.answers;
        CurveDocument expected = f.editor.document;
        if (c.expected)
            c.expected(expected, f, f.selectionOf(R1, R2));

        const CommandOutcome out = transformationCommand(f.editor, f.host, c.id);

        EXPECT_TRUE(f.host.picks.empty() && !f.host.unfinishedPick) << "every scripted pick ran to its end";
        EXPECT_EQ(f.host.dialogsOpened, c.dialogs);
        EXPECT_EQ(pointsOf(f.editor.document), pointsOf(expected));
        EXPECT_EQ(f.editor.document.undoCount(), 41) << "the snapshot holds the curve before the command";
        EXPECT_EQ(out.redraw, c.expected ? RedrawKind::Full : RedrawKind::None);
        EXPECT_EQ(out.cursor, CursorRequest::Arrow);
        EXPECT_TRUE(out.showCount);
        EXPECT_EQ(f.host.cursors, std::vector<CursorRequest>{CursorRequest::Cross});
        EXPECT_TRUE(f.host.messages.empty());
        EXPECT_EQ(f.editor.statusText, "") << "the prompts go to the status line only";
        EXPECT_EQ(f.host.statusShown.back() == "Annulation de la fonction", c.after.annulled);
        EXPECT_EQ(f.backgroundDrawn(), c.after.redrawn);
        EXPECT_EQ(!noFeedbackLeft(f.host.picture), c.after.figureLeft);
    }
}

namespace {

// The figures of the last full redraw of the plot and those drawn after it. A line
// keeps no brush: the one left in force by earlier figures paints nothing.
std::vector<RecordingSurface::Primitive> sinceLastRedraw(const RecordingSurface& surface)
{
    const auto& all = surface.primitives();
    auto from = all.end();
    for (auto it = all.begin(); it != all.end(); ++it)
        if (it->kind == Kind::Rectangle && it->points[0] == PixelPoint{0, 0} && it->points[1] == PixelPoint{800, 600})
            from = it;
    std::vector<RecordingSurface::Primitive> figures(from, all.end());
    for (auto& p : figures)
        if (p.kind == Kind::Line || p.kind == Kind::Polyline)
            p.brush = {};
    return figures;
}

} // namespace

// Both points of the segment on one pixel: the pick fails, and neither the preview it
// started nor the circles of the selection may stay on the plot.
TEST(TransformationCommand, ASegmentOfZeroSizeLeavesThePlotAsBeforeTheCommand)
{
    struct Case {
        const char* what;
        MainControl id;
        bool copy;
    };
    const Case cases[] = {
        {"translation", MainControl::Translate, false},
        {"mirror, copy", MainControl::Mirror, true},
        {"rotation", MainControl::Rotate, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        RecordingSurface before;
        redrawPlot(f.editor, f.host, before);
        const CurveDocument document = f.editor.document;
        f.host.copyTicked = c.copy;
        f.host.picks = {dragRectangle(R1, R2),
                        {PickEvent::moveTo(A), PickEvent::leftRelease(A), PickEvent::leftRelease(A)}};

        const CommandOutcome out = transformationCommand(f.editor, f.host, c.id);

        EXPECT_TRUE(f.host.picks.empty() && !f.host.unfinishedPick);
        EXPECT_EQ(pointsOf(f.editor.document), pointsOf(document));
        EXPECT_TRUE(f.host.messages.empty());
        redrawFor(f.editor, f.host, f.host.picture, out.redraw); // as the window ends a command
        EXPECT_TRUE(sinceLastRedraw(f.host.picture) == sinceLastRedraw(before))
            << "the plot drawn again and nothing over it";
    }
}

TEST(TransformationCommand, WithoutAPointDoesNothingAtAll)
{
    Fixture f(0);
    const CommandOutcome out = transformationCommand(f.editor, f.host, MainControl::Translate);
    EXPECT_EQ(out.cursor, CursorRequest::Unchanged);
    EXPECT_FALSE(out.showCount);
    EXPECT_TRUE(f.host.cursors.empty());
    EXPECT_TRUE(f.host.statusShown.empty());
    EXPECT_EQ(f.host.picksRun, 0);
    EXPECT_EQ(f.editor.interactionMode, InteractionMode::Idle);
}

TEST(TransformationCommand, PromptsEachPhaseAndEachFirstClick)
{
    Fixture f;
    f.host.picks = {dragRectangle(R1, R2), dragSegment(A, B)};
    transformationCommand(f.editor, f.host, MainControl::Translate);
    EXPECT_EQ(f.host.statusShown,
              (std::vector<std::string>{
                  "Translation : Gauche-Sélection / Droit,Esc-Arrêt",
                  "Translation : Gauche-Fin sélection / Droit,Esc-Arrêt",
                  "Translation : Gauche-Origine / Droit-Saisie / Escape-Arrêt",
                  "Translation : Gauche-Fin / Droit-Saisie / Escape-Arrêt",
              }));
}

TEST(MousePick, AClickOnAnotherWindowEndsThePickWithNoFigureLeftAndAsksForTheReplay)
{
    for (PickKind kind : {PickKind::Rectangle, PickKind::Segment}) {
        SCOPED_TRACE(int(kind));
        Fixture f;
        f.editor.interactionMode = InteractionMode::TranslateCopy;
        f.editor.pickFeedback.drawHighlight(f.host.picture, f.editor.document, f.editor.mapping, f.selectionOf(R1, R2));
        MousePick pick(f.editor, f.host, kind);
        EXPECT_TRUE(pick.handle(PickEvent::leftRelease(A), f.host.picture));
        EXPECT_TRUE(pick.handle(PickEvent::moveTo(B), f.host.picture));
        EXPECT_FALSE(pick.clickToReplay());
        EXPECT_FALSE(pick.handle(PickEvent::clickElsewhere(), f.host.picture));
        EXPECT_TRUE(pick.clickToReplay());
        EXPECT_FALSE(pick.result());
        EXPECT_TRUE(f.backgroundDrawn()) << "the plot is redrawn with the current view";
        EXPECT_TRUE(noFeedbackLeft(f.host.picture));
        EXPECT_FALSE(f.editor.pickFeedback.rectangle.active);
        EXPECT_FALSE(f.editor.pickFeedback.segment.active);
        EXPECT_FALSE(pick.handle(PickEvent::leftRelease(A), f.host.picture)) << "an ended pick takes nothing more";
    }
}

TEST(MousePick, CloseEndsThePickAndAsksToQuit)
{
    Fixture f;
    f.editor.interactionMode = InteractionMode::ZoomWindow;
    MousePick pick(f.editor, f.host, PickKind::Rectangle);
    pick.handle(PickEvent::leftRelease(R1), f.host.picture);
    EXPECT_FALSE(pick.handle(PickEvent::close(), f.host.picture));
    EXPECT_TRUE(pick.quitRequested());
    EXPECT_FALSE(pick.result());
}

TEST(MousePick, MouseMovesShowCoordinatesMoveTheBandAndRestoreItAfterARepaint)
{
    Fixture f;
    f.editor.interactionMode = InteractionMode::EraseWindow;
    RecordingSurface& picture = f.host.picture;
    MousePick pick(f.editor, f.host, PickKind::Rectangle);
    pick.handle(PickEvent::moveTo({0, 200}), picture); // column 0 is outside
    EXPECT_TRUE(f.host.coordinates.empty());
    pick.handle(PickEvent::moveTo(R1), picture);
    ASSERT_EQ(f.host.coordinates.size(), 1u);
    EXPECT_EQ(f.host.coordinates[0], f.world(R1));
    EXPECT_TRUE(picture.primitives().empty()) << "before the first corner nothing follows the mouse";

    pick.handle(PickEvent::leftRelease(R1), picture);
    pick.handle(PickEvent::moveTo(A), picture);
    ASSERT_EQ(picture.ofKind(Kind::Rectangle).size(), 2u);

    picture.clear(); // a repaint of the plot wiped the rectangle
    f.editor.plotRepainted = true;
    pick.handle(PickEvent::moveTo(B), picture);
    EXPECT_FALSE(f.editor.plotRepainted);
    const auto rects = picture.ofKind(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0].points, (std::vector<PixelPoint>{R1, A})) << "drawn again as it was";
    EXPECT_EQ(rects[1].points, (std::vector<PixelPoint>{R1, A})) << "then erased";
    EXPECT_EQ(rects[2].points, (std::vector<PixelPoint>{R1, B})) << "and drawn at the mouse";
}

TEST(MousePick, AfterARepaintEveryWayOutOfARectanglePickLeavesNoBand)
{
    struct Case {
        const char* what;
        PickEvent event;
    };
    const Case cases[] = {
        {"Escape", PickEvent::escapeKey()},
        {"right button", PickEvent::rightPress()},
        {"second corner", PickEvent::leftRelease(B)},
        {"click on another window", PickEvent::clickElsewhere()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.editor.interactionMode = InteractionMode::ZoomWindow;
        RecordingSurface& picture = f.host.picture;
        MousePick pick(f.editor, f.host, PickKind::Rectangle);
        pick.handle(PickEvent::leftRelease(R1), picture);
        pick.handle(PickEvent::moveTo(A), picture);
        picture.clear(); // a repaint of the plot wiped the rectangle
        f.editor.plotRepainted = true;
        pick.handle(c.event, picture);
        EXPECT_FALSE(pick.running());
        EXPECT_TRUE(noFeedbackLeft(picture));
    }
}

TEST(MousePick, AfterARepaintASegmentPickCirclesTheSelectionAgain)
{
    Fixture f;
    f.editor.interactionMode = InteractionMode::Rotate;
    const Selection sel = f.selectionOf(R1, R2);
    f.editor.pickFeedback.drawHighlight(f.host.picture, f.editor.document, f.editor.mapping, sel);
    const std::size_t circles = f.host.picture.ofKind(Kind::Ellipse).size();
    EXPECT_EQ(circles, 23u);
    MousePick pick(f.editor, f.host, PickKind::Segment);
    f.host.picture.clear();
    f.editor.plotRepainted = true;
    pick.handle(PickEvent::moveTo(A), f.host.picture); // before the first point: circles only
    EXPECT_EQ(f.host.picture.ofKind(Kind::Ellipse).size(), circles);
    EXPECT_TRUE(f.host.picture.ofKind(Kind::Polyline).empty());
}

TEST(EraseWindowCommand, DeletesThePointsInsideAndSaysHowMany)
{
    struct Case {
        const char* what;
        PixelPoint from;
        PixelPoint to;
        int deleted;
    };
    const Case cases[] = {
        {"23 points", R1, R2, 23},
        {"none inside", {700, 500}, {750, 450}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.host.picks = {dragRectangle(c.from, c.to)};
        const CommandOutcome out = eraseWindowCommand(f.editor, f.host);
        EXPECT_EQ(f.editor.interactionMode, InteractionMode::EraseWindow);
        EXPECT_EQ(f.editor.document.count(), 41 - c.deleted);
        EXPECT_EQ(f.editor.document.undoCount(), 41);
        EXPECT_EQ(f.host.statusShown.back(), "Suppression de " + std::to_string(c.deleted) + " point(s)");
        EXPECT_EQ(f.host.statusShown.front(), "Effacer : Gauche-Sélection / Droit,Esc-Arrêt");
        EXPECT_TRUE(f.backgroundDrawn());
        EXPECT_TRUE(noFeedbackLeft(f.host.picture));
        EXPECT_EQ(f.host.cursors, std::vector<CursorRequest>{CursorRequest::Cross});
        EXPECT_EQ(out.cursor, CursorRequest::Arrow);
        EXPECT_TRUE(out.showCount);
    }
}

TEST(ZoomWindowCommand, EitherCornerOrderGivesTheSameView)
{
    const std::pair<PixelPoint, PixelPoint> orders[] = {{R1, R2}, {R2, R1}, {{R2.x, R1.y}, {R1.x, R2.y}}};
    std::optional<ViewWindow> first;
    for (const auto& [from, to] : orders) {
        Fixture f;
        const ViewWindow before = f.editor.view.current;
        const Selection expected = f.selectionOf(from, to);
        f.host.picks = {dragRectangle(from, to)};
        const CommandOutcome out = zoomWindowCommand(f.editor, f.host);
        EXPECT_EQ(f.editor.interactionMode, InteractionMode::ZoomWindow);
        EXPECT_EQ(f.editor.view.current, (ViewWindow{expected.min.x, expected.min.y, expected.max.x, expected.max.y}));
        EXPECT_EQ(f.editor.view.previousWindow, before);
        EXPECT_EQ(f.editor.mapping.scaleX, (expected.max.x - expected.min.x) / 640) << "the new view is drawn";
        EXPECT_EQ(out.cursor, CursorRequest::Arrow);
        EXPECT_EQ(f.host.statusShown.front(), "Zoom : Gauche-Sélection / Droit,Esc-Arrêt");
        if (first) {
            EXPECT_EQ(f.editor.view.current, *first);
        }
        first = f.editor.view.current;
    }

    Fixture f; // the same place twice: no new view
    f.host.picks = {{PickEvent::leftRelease(R1), PickEvent::leftRelease(R2)}};
    zoomWindowCommand(f.editor, f.host);
    EXPECT_EQ(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
}

TEST(Prompts, EachModeHasItsPhaseAndClickTexts)
{
    using M = InteractionMode;
    struct Case {
        M mode;
        PickKind kind;
        const char* phase; // nullptr: nothing written
        const char* click;
    };
    const Case cases[] = {
        {M::Homothety, PickKind::Rectangle, "Homothétie : Gauche-Sélection / Droit,Esc-Arrêt",
         "Homothétie : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::HomothetyCopy, PickKind::Rectangle, "Homothétie : Gauche-Sélection / Droit,Esc-Arrêt",
         "Homothétie : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::EraseWindow, PickKind::Rectangle, "Effacer : Gauche-Sélection / Droit,Esc-Arrêt",
         "Effacer : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::TranslateCopy, PickKind::Rectangle, "Translation : Gauche-Sélection / Droit,Esc-Arrêt",
         "Translation : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::ZoomWindow, PickKind::Rectangle, "Zoom : Gauche-Sélection / Droit,Esc-Arrêt",
         "Zoom : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::Mirror, PickKind::Rectangle, "Miroir : Gauche-Sélection / Droit,Esc-Arrêt",
         "Miroir : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::RotateCopy, PickKind::Rectangle, "Rotation : Gauche-Sélection / Droit,Esc-Arrêt",
         "Rotation : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::Affinity, PickKind::Rectangle, "Affinité : Gauche-Sélection / Droit,Esc-Arrêt",
         "Affinité : Gauche-Fin sélection / Droit,Esc-Arrêt"},
        {M::Homothety, PickKind::Centre, "Homothétie : Gauche-Centre homothétie / Droit-Saisie / Escape-Arrêt", " "},
        {M::HomothetyCopy, PickKind::Segment, "Homothétie : Gauche-Centre homothétie / Droit-Saisie / Escape-Arrêt",
         " "},
        {M::Translate, PickKind::Segment, "Translation : Gauche-Origine / Droit-Saisie / Escape-Arrêt",
         "Translation : Gauche-Fin / Droit-Saisie / Escape-Arrêt"},
        {M::MirrorCopy, PickKind::Segment, "Miroir : Gauche-Origine / Droit-Saisie / Escape-Arrêt",
         "Miroir : Gauche-Angle / Droit-Saisie / Escape-Arrêt"},
        {M::Rotate, PickKind::Segment, "Rotation : Gauche-Centre Rotation / Droit-Saisie / Escape-Arrêt",
         "Rotation : Gauche-Angle / Droit-Saisie / Escape-Arrêt"},
        {M::Affinity, PickKind::Segment, "Affinité : Axe et facteur", nullptr},
        {M::EraseWindow, PickKind::Segment, nullptr, nullptr},
        {M::PointEntry, PickKind::Rectangle, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.mode)) + " kind " + std::to_string(int(c.kind)));
        ScriptedHost host;
        showPhasePrompt(host, c.mode, c.kind);
        EXPECT_EQ(host.statusShown, c.phase ? std::vector<std::string>{c.phase} : std::vector<std::string>{});
        host.statusShown.clear();
        showClickPrompt(host, c.mode, c.kind);
        EXPECT_EQ(host.statusShown, c.click ? std::vector<std::string>{c.click} : std::vector<std::string>{});
    }
}

TEST(TransformationCommand, ShowsTheCapacityWarningOverTheDrawingArea)
{
    Fixture f;
    while (f.editor.document.count() < 1010) // 23 selected copies, 14 fit
        f.editor.document.appendPoint({f.editor.document.count() * 1.0, 100});
    f.host.picks = {dragRectangle(R1, R2), dragSegment(A, B)};
    f.host.copyTicked = true;
    transformationCommand(f.editor, f.host, MainControl::Translate);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0],
              (UserMessage{"Attention le nombre de points\nest superieur au maxi autorisé ", "Translation",
                           MessageButtons::Ok, MessageIcon::Warning, MessageOwner::DrawingArea}));
}
