#include "view/CanvasMapping.h"
#include "view/SmoothCurve.h"
#include "view/ViewWindow.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

namespace {

using Points = std::vector<CurvePoint>;
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

const ViewWindow Initial{-36, -36, 36, 36};
const ViewWindow InitialPrevious{-10, -10, 10, 10};

} // namespace

TEST(CanvasMapping, FourHundredByThreeHundred)
{
    CanvasMapping m = CanvasMapping::make({0, 0, 32, 27}, 400, 300);
    EXPECT_EQ(m.marginX, 40);
    EXPECT_EQ(m.marginY, 15);
    EXPECT_EQ(m.usableWidth, 320);
    EXPECT_EQ(m.usableHeight, 270);
    EXPECT_EQ(m.worldToPixel(16, 13.5), (PixelPoint{200, 150}));
    EXPECT_EQ(m.worldToPixel(0, 0), (PixelPoint{40, 285}));
    EXPECT_EQ(m.worldToPixel(32, 27), (PixelPoint{360, 15}));
    EXPECT_EQ(m.pixelToWorld({200, 150}), (CurvePoint{16, 13.5}));

    Points points{{0, 0}, {16, 13.5}};
    EXPECT_EQ(m.worldToPixel(points), (std::vector<PixelPoint>{{40, 285}, {200, 150}}));
}

TEST(CanvasMapping, MarginsUseIntegerDivisionFirst)
{
    CanvasMapping m = CanvasMapping::make(Initial, 399, 199);
    EXPECT_EQ(m.marginX, 30);
    EXPECT_EQ(m.marginY, 5);
    EXPECT_EQ(m.usableWidth, 339);
    EXPECT_EQ(m.usableHeight, 189);
}

TEST(CanvasMapping, RoundHalfAwayFromZero)
{
    struct Case {
        double v;
        int expected;
    };
    for (Case c : {Case{2.5, 3}, Case{-2.5, -3}, Case{2.4999, 2}, Case{-2.4999, -2}, Case{0.0, 0}, Case{-0.4, 0},
                   Case{0.5, 1}, Case{1e300, PixelLimit}, Case{-Inf, -PixelLimit}, Case{Inf, PixelLimit}, Case{NaN, 0},
                   // The largest doubles below a half: adding 0.5 would round them up.
                   Case{0.49999999999999994, 0}, Case{-0.49999999999999994, 0}, Case{99999999.5, PixelLimit},
                   Case{-99999998.5, -99999999}}) {
        EXPECT_EQ(roundHalfAway(c.v), c.expected) << c.v;
    }
    // One world unit per pixel: 2.5 units land on .5 exactly.
    CanvasMapping m = CanvasMapping::make({0, 0, 320, 270}, 400, 300);
    EXPECT_EQ(m.worldToPixel(2.5, 2.5), (PixelPoint{43, 282}));
    EXPECT_EQ(m.worldToPixel(-2.5, -2.5), (PixelPoint{37, 288}));
}

TEST(CanvasMapping, PixelToWorldRoundTrips)
{
    for (ViewWindow w : {ViewWindow{0, 0, 32, 27}, Initial, ViewWindow{-0.003, 1e6, 0.007, 1e6 + 3}}) {
        CanvasMapping m = CanvasMapping::make(w, 617, 433);
        for (int px = -20; px < 640; px += 7)
            for (int py = -20; py < 450; py += 11) {
                CurvePoint world = m.pixelToWorld({px, py});
                ASSERT_EQ(m.worldToPixel(world.x, world.y), (PixelPoint{px, py})) << px << "," << py;
            }
    }
}

TEST(CanvasMapping, ExtremeValuesStayInsideInt)
{
    CanvasMapping m = CanvasMapping::make(Initial, 400, 300);
    EXPECT_EQ(m.worldToPixel(1e300, -1e300), (PixelPoint{PixelLimit + 40, 285 + PixelLimit}));
    EXPECT_EQ(m.worldToPixel(NaN, NaN), (PixelPoint{40, 285}));

    // No usable pixels, a zero-size window, a huge drawing area: still defined ints.
    CanvasMapping empty = CanvasMapping::make(Initial, 0, 0);
    EXPECT_TRUE(std::isfinite(empty.scaleX) && std::isfinite(empty.scaleY));
    EXPECT_EQ(empty.worldToPixel(0, 0), (PixelPoint{1, -1}));
    CanvasMapping flat = CanvasMapping::make({1, 1, 1, 1}, 400, 300);
    EXPECT_EQ(flat.worldToPixel(2, 0), (PixelPoint{PixelLimit + 40, 285 + PixelLimit}));
    CanvasMapping huge = CanvasMapping::make(Initial, std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    EXPECT_GT(huge.worldToPixel(0, -1e300).y, 2'000'000'000);
    CanvasMapping negative = CanvasMapping::make(Initial, -50, -7);
    EXPECT_EQ(negative.usableWidth, 0);
}

TEST(ViewWindow, UsableWindows)
{
    struct Case {
        ViewWindow w;
        bool usable;
    };
    const Case cases[] = {
        {Initial, true},
        {{0, 0, 1e-200, 1e-200}, true},
        {{1e6, 0, 1e6 + 1e-3, 1}, true},
        {{5, 0, 5, 1}, false}, // zero width
        {{0, 2, 1, 1}, false}, // reversed
        {{0, 0, Inf, 1}, false},
        {{0, NaN, 1, 1}, false},
        {{-1e308, 0, 1e308, 1}, false},                                  // the extent overflows
        {{1.7959e308, 0, std::numeric_limits<double>::max(), 1}, false}, // |min| + |max| overflows
        {{0, 0, 1e-300, 1}, false},                                      // world units per pixel would underflow
        {{1e6, 0, 1e6 + 1e-7, 1}, false},                                // successive pixels would share a double
    };
    for (const Case& c : cases)
        EXPECT_EQ(isUsableWindow(c.w), c.usable) << testing::PrintToString(c.w);
}

TEST(ViewWindow, SetViewWindowOrdersAxesAndKeepsThePrevious)
{
    ViewState view;
    EXPECT_TRUE(setViewWindow(view, {5, 8, -5, 2}));
    EXPECT_EQ(view.current, (ViewWindow{-5, 2, 5, 8}));
    EXPECT_EQ(view.previousWindow, Initial);

    // The same window again changes nothing, a degenerate one neither.
    EXPECT_FALSE(setViewWindow(view, {-5, 2, 5, 8}));
    EXPECT_FALSE(setViewWindow(view, {5, 0, 5, 1}));
    EXPECT_FALSE(setViewWindow(view, {0, NaN, 1, 1}));
    EXPECT_EQ(view.current, (ViewWindow{-5, 2, 5, 8}));
    EXPECT_EQ(view.previousWindow, Initial);
}

TEST(ViewWindow, PrecTwiceReturns)
{
    ViewState view;
    EXPECT_TRUE(setViewWindow(view, view.previousWindow));
    EXPECT_EQ(view.current, InitialPrevious);
    EXPECT_EQ(view.previousWindow, Initial);
    EXPECT_TRUE(setViewWindow(view, view.previousWindow));
    EXPECT_EQ(view.current, Initial);
    EXPECT_EQ(view.previousWindow, InitialPrevious);
}

TEST(ViewWindow, ZoomIsAboutTheOriginAndLeavesThePrevious)
{
    ViewState view;
    zoomIn(view);
    EXPECT_EQ(view.current, (ViewWindow{-18, -18, 18, 18}));
    EXPECT_EQ(view.previousWindow, InitialPrevious);

    view.current = {10, 20, 30, 40};
    zoomOut(view);
    EXPECT_EQ(view.current, (ViewWindow{20, 40, 60, 80}));

    // "&Plus" then "&Préc" returns to the window before the last change, not before the zoom.
    ViewState other;
    setViewWindow(other, {0, 0, 8, 8});
    zoomIn(other);
    setViewWindow(other, other.previousWindow);
    EXPECT_EQ(other.current, Initial);
    EXPECT_EQ(other.previousWindow, (ViewWindow{0, 0, 4, 4}));
}

TEST(ViewWindow, RepeatedZoomNeverReachesAnUnusableWindow)
{
    for (ViewWindow start : {Initial, ViewWindow{10, 20, 30, 40}, ViewWindow{-1e-3, 5, 1e-3, 5.5}}) {
        for (void (*zoom)(ViewState&) : {zoomIn, zoomOut}) {
            ViewState view;
            view.current = start;
            for (int i = 0; i < 2000; ++i) {
                zoom(view);
                ASSERT_TRUE(isUsableWindow(view.current)) << i;
            }
            CanvasMapping m = CanvasMapping::make(view.current, 400, 300);
            EXPECT_GT(m.scaleX, 0);
            EXPECT_TRUE(std::isfinite(m.scaleY));
        }
    }
}

TEST(ViewWindow, FitToDataRules)
{
    struct Case {
        const char* what;
        Points points;
        SmoothingMode mode;
        DisplayFlags flags;
        ViewWindow extent;
    };
    const Case cases[] = {
        {"flat positive y reaches 0", {{1, 5}, {3, 5}}, Aucun, {}, {1, 0, 3, 5}},
        {"all negative y", {{0, -10}, {1, -2}, {2, -6}}, Aucun, {}, {0, -10, 2, 0.4}},
        {"flat negative y", {{-4, -5}, {-2, -5}}, Carlson, {}, {-4, -5, -2, 0.2}},
        {"all zero takes the current ymax", {{1, 0}, {2, 0}, {4, 0}}, Cubique, {}, {1, 0, 4, 36}},
        {"first derivative widens", {{0, 0}, {0.5, 2}}, Aucun, Derivative1, {0, 0, 0.5, 4}},
        {"integral widens", {{0, 1}, {4, 2}}, Akima, Integral, {0, 0, 4, 6}},
        {"second derivative widens", {{0, 1}, {1, 2}, {2, 5}}, Aucun, Derivative2, {0, 0, 2, 5}},
    };
    // Arrays that served a longer curve with every derived curve, as a plot's buffers may
    // have, leave nothing of it in a fit.
    SmoothedCurve used;
    const Points longer{{-100, -100}, {0, 300}, {50, -70}, {100, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState view;
        ASSERT_TRUE(fitToData(view, c.points, c.mode, c.flags));
        EXPECT_EQ(view.dataExtent, c.extent);
        EXPECT_EQ(view.current, Initial);

        smoothCurve(longer, Cubique, Derivative1 | Derivative2, used);
        ViewState reusing;
        ASSERT_TRUE(fitToData(reusing, c.points, c.mode, c.flags, used));
        EXPECT_EQ(reusing.dataExtent, c.extent);
    }

    // The curve itself counts, not only the points: the cubic overshoots the data.
    ViewState view;
    // Slopes 0.5 and -0.5 at the top pair: the middle peaks at 1 + 0.5 / 4.
    Points plateau{{0, 0}, {1, 1}, {2, 1}, {3, 0}};
    ASSERT_TRUE(fitToData(view, plateau, Cubique, {}));
    EXPECT_NEAR(view.dataExtent.ymax, 1.125, 1e-12);
}

TEST(ViewWindow, FitToDataNeedsTwoDistinctX)
{
    ViewState view;
    view.dataExtent = {1, 2, 3, 4};
    EXPECT_FALSE(fitToData(view, Points{{1, 5}}, Aucun, {}));
    EXPECT_FALSE(fitToData(view, Points{}, Aucun, {}));
    EXPECT_FALSE(fitToData(view, Points{{1, 5}, {1, 7}}, Cubique, {}));
    EXPECT_EQ(view.dataExtent, (ViewWindow{1, 2, 3, 4}));
}

TEST(ViewWindow, FitViewSetsTheCurrentWindowOnlyWhenUsable)
{
    ViewState view;
    fitView(view, Points{{1, 5}, {3, 5}}, Aucun, {});
    EXPECT_EQ(view.current, (ViewWindow{1, 0, 3, 5}));
    EXPECT_EQ(view.previousWindow, InitialPrevious);

    // One point: nothing changes.
    fitView(view, Points{{7, 7}}, Aucun, {});
    EXPECT_EQ(view.current, (ViewWindow{1, 0, 3, 5}));

    // y all 0 under a window whose ymax is not positive: the extent has no height,
    // so the window stays.
    view.current = {-5, -8, 5, -1};
    fitView(view, Points{{0, 0}, {1, 0}}, Aucun, {});
    EXPECT_EQ(view.current, (ViewWindow{-5, -8, 5, -1}));
}
