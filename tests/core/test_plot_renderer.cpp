#include "draw/PixelRaster.h"
#include "draw/RecordingSurface.h"
#include "editor/Editor.h"
#include "editor/NullEditorHost.h"
#include "editor/PlotRedraw.h"
#include "view/PlotRenderer.h"
#include "view/SmoothCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;
using Labels = std::multiset<std::string>;

// 800 x 600 at 96 dpi: margins 80 and 30, usable 640 x 540, ticks of 3 pixels,
// labels 11 pixels high.
constexpr PixelSize AreaSize{800, 600};
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

CurveDocument documentWith(const std::vector<CurvePoint>& points, SmoothingMode mode = Aucun)
{
    CurveDocument doc = documentOf(points);
    doc.smoothingMode = mode;
    return doc;
}

struct Plot {
    RecordingSurface surface{AreaSize};
    ViewState view;
    CanvasMapping mapping;
};

Plot render(ViewWindow window, const CurveDocument& doc = {}, DisplayFlags flags = {})
{
    Plot plot;
    // As a command would: the request becomes the window when it is usable.
    setViewWindow(plot.view, window);
    plot.mapping = renderPlot(plot.surface, plot.view.current, doc, flags).mapping;
    return plot;
}

// The x axis writes its labels centred; the y axis aligns them left or right.
std::vector<Primitive> xLabels(const RecordingSurface& s)
{
    std::vector<Primitive> result;
    for (const Primitive& p : s.ofKind(Kind::Text))
        if (p.align.horizontal == HAlign::Centre)
            result.push_back(p);
    return result;
}

std::vector<Primitive> yLabels(const RecordingSurface& s)
{
    std::vector<Primitive> result;
    for (const Primitive& p : s.ofKind(Kind::Text))
        if (p.align.horizontal != HAlign::Centre)
            result.push_back(p);
    return result;
}

// Distinct label texts (the origin is handled by both passes of an axis).
std::set<std::string> textsOf(const std::vector<Primitive>& labels)
{
    std::set<std::string> result;
    for (const Primitive& p : labels)
        result.insert(p.text);
    return result;
}

std::vector<Primitive> linesWithPen(const RecordingSurface& s, Rgb colour)
{
    std::vector<Primitive> result;
    for (const Primitive& p : s.ofKind(Kind::Line))
        if (p.pen.colour == colour)
            result.push_back(p);
    return result;
}

std::optional<Primitive> findText(const std::vector<Primitive>& labels, const std::string& text)
{
    auto it = std::find_if(labels.begin(), labels.end(), [&](const Primitive& p) { return p.text == text; });
    return it == labels.end() ? std::nullopt : std::optional<Primitive>(*it);
}

} // namespace

TEST(PlotRenderer, GraduatesTheInitialWindowInStepsOfTwelve)
{
    Plot plot = render({-36, -36, 36, 36});
    const std::set<std::string> values{"-36.00", "-24.00", "-12.00", "12.00", "24.00", "36.00"};
    std::set<std::string> withZero = values;
    withZero.insert("0");
    EXPECT_EQ(textsOf(xLabels(plot.surface)), withZero);
    EXPECT_EQ(textsOf(yLabels(plot.surface)), values);

    // Origin at (400, 300): the x axis is not above the middle, so its labels go below
    // it; the y axis is not right of the middle, so its labels go to its left.
    struct Place {
        std::string text;
        PixelPoint at;
        TextAlign align;
        bool xAxis;
    };
    const Place places[] = {
        {"0", {400 - 24 - 3, 303}, {HAlign::Centre, VAlign::Top}, true}, // left of the width of "0.00"
        {"12.00", {506, 303}, {HAlign::Centre, VAlign::Top}, true},
        // 400 - 3 x 106.67, accumulated, ends an ulp short of 80 and is truncated.
        {"-36.00", {79, 303}, {HAlign::Centre, VAlign::Top}, true},
        {"36.00", {720, 303}, {HAlign::Centre, VAlign::Top}, true},
        {"12.00", {394, 210 - 5}, {HAlign::Right, VAlign::Top}, false},
        {"-36.00", {394, 570 - 5}, {HAlign::Right, VAlign::Top}, false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.text);
        const std::optional<Primitive> label =
            findText(place.xAxis ? xLabels(plot.surface) : yLabels(plot.surface), place.text);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->points.front(), place.at);
        EXPECT_EQ(label->align, place.align);
        EXPECT_EQ(label->font.cellHeight, 11);
        EXPECT_EQ(label->textColour, Colours::Black);
    }
}

TEST(PlotRenderer, LabelsSitWhereLessOfTheWindowLies)
{
    // Origin in the upper left quarter: x labels above the axis, y labels to its left.
    Plot upperLeft = render({-10, -50, 50, 10});
    std::optional<Primitive> x = findText(xLabels(upperLeft.surface), "10.00");
    ASSERT_TRUE(x);
    const int y0 = upperLeft.mapping.worldToPixel(0, 0).y;
    EXPECT_EQ(x->points.front().y, y0 - 3 - 11);
    // Origin in the lower right quarter: x labels below, y labels to its right.
    Plot lowerRight = render({-50, -10, 10, 50});
    const PixelPoint origin = lowerRight.mapping.worldToPixel(0, 0);
    x = findText(xLabels(lowerRight.surface), "-10.00");
    ASSERT_TRUE(x);
    EXPECT_EQ(x->points.front().y, origin.y + 3);
    const std::optional<Primitive> y = findText(yLabels(lowerRight.surface), "10.00");
    ASSERT_TRUE(y);
    EXPECT_EQ(y->points.front().x, origin.x + 6);
    EXPECT_EQ(y->align.horizontal, HAlign::Left);
}

TEST(PlotRenderer, WindowsAwayFromTheOriginGraduateOnlyTheirOwnValues)
{
    struct Case {
        ViewWindow window;
        std::set<std::string> x, y;
    };
    const Case cases[] = {
        {{1, 1, 7, 7},
         {"1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00"},
         {"1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00"}},
        // Six thousand steps from the origin: the x axis is in view, the y axis far away.
        // The accumulated value stops short of 1000.
        {{1000, -1, 1001, 1},
         {"1000.17", "1000.33", "1000.50", "1000.67", "1000.83", "1001.00"},
         {"-1.00", "-0.67", "-0.33", "0.33", "0.67", "1.00"}},
        {{-7e9, -6, -1e9, 6},
         {"-7000000000.00", "-6000000000.00", "-5000000000.00", "-4000000000.00", "-3000000000.00", "-2000000000.00",
          "-1000000000.00"},
         {"-6.00", "-4.00", "-2.00", "2.00", "4.00", "6.00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window.xmin);
        Plot plot = render(c.window);
        EXPECT_EQ(textsOf(xLabels(plot.surface)), c.x);
        EXPECT_EQ(textsOf(yLabels(plot.surface)), c.y);
    }
}

TEST(PlotRenderer, EdgeValuesFollowTheAccumulatedSteps)
{
    // The step (0.7 - 0.1) / 6 is 0.09999999999999999: the first value stops short of
    // the window's 0.1, so that edge has no label while 0.70 is reached.
    Plot plot = render({0.1, 0.1, 0.7, 0.7});
    auto x = textsOf(xLabels(plot.surface));
    EXPECT_FALSE(x.count("0.10"));
    EXPECT_TRUE(x.count("0.70"));
    // Thirty-six additions of 1/6 pass 6 by a few ulps: no 6.00 label.
    plot = render({5, 5, 6, 6});
    x = textsOf(xLabels(plot.surface));
    EXPECT_TRUE(x.count("5.00"));
    EXPECT_FALSE(x.count("6.00"));
}

TEST(PlotRenderer, WindowsFarFromTheOriginAreReachedStepByStep)
{
    // The x graduations of windows a hundred to ten thousand steps from the origin, as
    // the accumulated walk places them: the column of each tick and its label.
    using Ticks = std::vector<std::pair<int, std::string>>;
    struct Case {
        const char* what;
        ViewWindow window;
        Ticks x;
    };
    const Case cases[] = {
        // A hundred additions of the step, 0.09999999999999994, end at 9.999999999999979:
        // no label at 10.
        {"left edge missed",
         {10, -1, 10.6, 1},
         {{186, "10.10"}, {292, "10.20"}, {399, "10.30"}, {506, "10.40"}, {612, "10.50"}, {719, "10.60"}}},
        // 10006 additions of 0.1000000000000038 give 1000.6000000001693: no label at 1000.60.
        {"right edge missed",
         {1000, -1, 1000.6, 1},
         {{79, "1000.00"}, {186, "1000.10"}, {292, "1000.20"}, {399, "1000.30"}, {506, "1000.40"}, {612, "1000.50"}}},
        // From the origin's column, rounded a third of a pixel to the left, the
        // additions of 106.67 pixels end just short of columns 293 and 613.
        {"accumulated columns",
         {10000, -1, 10006, 1},
         {{79, "10000.00"},
          {186, "10001.00"},
          {292, "10002.00"},
          {399, "10003.00"},
          {506, "10004.00"},
          {612, "10005.00"},
          {719, "10006.00"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Plot plot = render(c.window);
        Ticks labels;
        for (const Primitive& p : xLabels(plot.surface))
            labels.emplace_back(p.points.front().x, p.text);
        std::vector<int> columns;
        for (const Primitive& p : linesWithPen(plot.surface, Colours::Black))
            if (p.pen.width == 1 && p.points[0].x == p.points[1].x)
                columns.push_back(p.points[0].x);
        std::sort(labels.begin(), labels.end());
        std::sort(columns.begin(), columns.end());
        EXPECT_EQ(labels, c.x);
        std::vector<int> expectedColumns;
        for (const auto& tick : c.x)
            expectedColumns.push_back(tick.first);
        EXPECT_EQ(columns, expectedColumns);
    }
}

TEST(PlotRenderer, NarrowWindowsLabelEveryGraduationZero)
{
    for (ViewWindow window : {ViewWindow{-0.002, -1, 0.002, 1}, ViewWindow{0.0001, -1, 0.0041, 1}}) {
        SCOPED_TRACE(window.xmin);
        Plot plot = render(window);
        const std::vector<Primitive> labels = xLabels(plot.surface);
        EXPECT_GE(labels.size(), 6u);
        EXPECT_EQ(textsOf(labels), std::set<std::string>{"0"});
    }
    // The y axis never labels 0, so a narrow y window has no y label at all.
    Plot narrowY = render({-1, -0.002, 1, 0.002});
    EXPECT_TRUE(yLabels(narrowY.surface).empty());
}

TEST(PlotRenderer, BackgroundAndAxesComeFirstInCopyMode)
{
    Plot plot = render({-36, -36, 36, 36});
    const auto& all = plot.surface.primitives();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].kind, Kind::Rectangle);
    EXPECT_EQ(all[0].points, (std::vector<PixelPoint>{{0, 0}, {800, 600}}));
    EXPECT_EQ(all[0].brush, Brush::solid(Colours::White));
    EXPECT_EQ(all[0].pen, (Pen{Colours::White, 2, PenStyle::Solid}));
    EXPECT_EQ(all[1].points, (std::vector<PixelPoint>{{80, 300}, {720, 300}}));
    EXPECT_EQ(all[2].points, (std::vector<PixelPoint>{{400, 570}, {400, 30}}));
    for (int i : {1, 2})
        EXPECT_EQ(all[i].pen, (Pen{Colours::Black, 2, PenStyle::Solid}));
    for (const Primitive& p : all)
        EXPECT_EQ(p.mode, DrawMode::Copy);
    // Ticks: 7 per axis, the origin's handled by both passes.
    const std::vector<Primitive> ticks = linesWithPen(plot.surface, Colours::Black);
    EXPECT_EQ(std::count_if(ticks.begin(), ticks.end(), [](const Primitive& p) { return p.pen.width == 1; }), 16);
}

TEST(PlotRenderer, EmptyDocumentDrawsNoMarkerAndNoCurve)
{
    Plot plot = render({-36, -36, 36, 36});
    EXPECT_TRUE(linesWithPen(plot.surface, Colours::Red).empty());
    EXPECT_TRUE(plot.surface.ofKind(Kind::Polyline).empty());
}

TEST(PlotRenderer, OnePointGetsItsMarkerAndNoCurve)
{
    // (0, 0) maps to (400, 300); world x -44.8875 maps to column 1, whose marker
    // starts at 1 - 3.75, truncated toward zero.
    struct Case {
        CurvePoint point;
        PixelPoint h1, h2, v1, v2;
    };
    const Case cases[] = {
        {{0, 0}, {396, 300}, {404, 300}, {400, 296}, {400, 304}},
        {{-44.8875, 0}, {-2, 300}, {5, 300}, {1, 296}, {1, 304}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point.x);
        Plot plot = render({-36, -36, 36, 36}, documentWith({c.point}));
        const std::vector<Primitive> strokes = linesWithPen(plot.surface, Colours::Red);
        ASSERT_EQ(strokes.size(), 2u);
        EXPECT_EQ(strokes[0].points, (std::vector<PixelPoint>{c.h1, c.h2}));
        EXPECT_EQ(strokes[1].points, (std::vector<PixelPoint>{c.v1, c.v2}));
        for (const Primitive& s : strokes) {
            EXPECT_EQ(s.mode, DrawMode::Copy);
            EXPECT_EQ(s.pen.width, 1);
        }
        EXPECT_TRUE(plot.surface.ofKind(Kind::Polyline).empty());
    }
}

TEST(PlotRenderer, CurvesAreDrawnInExclusiveOrWithTheirPens)
{
    const CurveDocument doc = documentWith({{-2, 4}, {0, 0}, {2, 4}}, Cubique);
    struct Case {
        DisplayFlags flags;
        std::vector<Rgb> pens;
    };
    const Case cases[] = {
        {{}, {Colours::White}},
        {Derivative1, {Colours::White, Colours::Yellow}},
        {Integral, {Colours::White, Colours::Magenta}},
        {Derivative1 | Integral, {Colours::White, Colours::Yellow}},
        {Derivative2, {Colours::White, Colours::Cyan}},
        {Derivative1 | Derivative2, {Colours::White, Colours::Yellow, Colours::Cyan}},
        {Integral | Derivative2, {Colours::White, Colours::Magenta, Colours::Cyan}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags.bits());
        Plot plot = render({-36, -36, 36, 36}, doc, c.flags);
        const std::vector<Primitive> curves = plot.surface.ofKind(Kind::Polyline);
        ASSERT_EQ(curves.size(), c.pens.size());
        for (std::size_t i = 0; i < curves.size(); ++i) {
            EXPECT_EQ(curves[i].pen, (Pen{c.pens[i], 1, PenStyle::Solid}));
            EXPECT_EQ(curves[i].mode, DrawMode::Xor);
            EXPECT_EQ(curves[i].points.size(), 65u);
        }
        // Drawing leaves the surface in copy mode for whoever draws next.
        EXPECT_EQ(plot.surface.mode(), DrawMode::Copy);
    }
}

TEST(PlotRenderer, DerivedCurvesShareTheCurveScale)
{
    const CurveDocument doc = documentWith({{-2, 4}, {0, 0}, {2, 4}}, Cubique);
    Plot plot = render({-36, -36, 36, 36}, doc, Derivative2);
    const SmoothedCurve curve = smoothCurve(doc.points(), Cubique, Derivative2);
    const std::vector<Primitive> curves = plot.surface.ofKind(Kind::Polyline);
    ASSERT_EQ(curves.size(), 2u);
    ASSERT_EQ(curves[1].points.size(), curve.secondDerived.size());
    for (std::size_t i = 0; i < curve.secondDerived.size(); ++i)
        EXPECT_EQ(curves[1].points[i], plot.mapping.worldToPixel(curve.samples[i].x, curve.secondDerived[i]));
}

// The exclusive-or curves of the surfaces stepped, in their pen colours, on one blank
// picture of the area's size, as the screen steps them.
std::vector<std::uint32_t> xorCurves(std::initializer_list<const RecordingSurface*> surfaces)
{
    std::vector<std::uint32_t> pixels(std::size_t(AreaSize.width) * std::size_t(AreaSize.height), 0);
    PixelRaster raster;
    raster.bits = reinterpret_cast<unsigned char*>(pixels.data());
    raster.bytesPerLine = AreaSize.width * 4;
    raster.box = {0, 0, AreaSize.width - 1, AreaSize.height - 1};
    raster.exclusiveOr = true;
    for (const RecordingSurface* s : surfaces)
        for (const Primitive& p : s->ofKind(Kind::Polyline)) {
            EXPECT_EQ(p.mode, DrawMode::Xor);
            raster.colour =
                (std::uint32_t{p.pen.colour.r} << 16) | (std::uint32_t{p.pen.colour.g} << 8) | p.pen.colour.b;
            raster.polyline(p.points);
        }
    return pixels;
}

std::size_t segmentsOf(const std::vector<Primitive>& polylines)
{
    std::size_t count = 0;
    for (const Primitive& p : polylines)
        count += p.points.size() - 1;
    return count;
}

struct IncrementalCase {
    const char* edit;
    SmoothingMode mode;
    void (*apply)(CurveDocument&);
    // Of the segments that erasing everything and drawing everything again would draw,
    // at most this share is drawn: what the edit left as it was is left alone.
    double drawnShareAtMost;
    friend void PrintTo(const IncrementalCase& c, std::ostream* os) { *os << c.edit; }
};

// The case's name in GoogleTest and ctest: the words of its edit run together, each
// with a capital ("every y raised" gives EveryYRaised).
std::string incrementalCaseName(const ::testing::TestParamInfo<IncrementalCase>& info)
{
    std::string name;
    bool wordStart = true;
    for (const char* c = info.param.edit; *c; ++c) {
        const auto ch = static_cast<unsigned char>(*c);
        if (std::isalnum(ch)) {
            name += static_cast<char>(wordStart ? std::toupper(ch) : ch);
            wordStart = false;
        } else {
            wordStart = true;
        }
    }
    return name;
}

class IncrementalRedraw : public ::testing::TestWithParam<IncrementalCase> { };

// The snapshot's markers go in white and the current ones in red; the curves drawn over
// the full redraw's picture leave it as a full redraw of the edited curve would.
TEST_P(IncrementalRedraw, TurnsTheSnapshotsPictureIntoTheEditedCurves)
{
    const IncrementalCase& c = GetParam();
    CurveDocument doc = documentWith({{-10, -5}, {-6, 2}, {-2, -1}, {0, 3}, {4, 1}, {10, 4}}, c.mode);
    const DisplayFlags flags = Derivative1 | Derivative2;
    RecordingSurface full{AreaSize};
    ViewState view;
    const CanvasMapping mapping = renderPlot(full, view.current, doc, flags).mapping;

    doc.takeSnapshot();
    c.apply(doc);
    RecordingSurface incremental{AreaSize};
    drawCurve(incremental, mapping, doc, flags, true);
    RecordingSurface edited{AreaSize};
    drawCurve(edited, mapping, doc, flags, false);

    const auto& all = incremental.primitives();
    const int before = doc.undoCount();
    const int now = doc.count();
    ASSERT_GE(all.size(), std::size_t(2 * (before + now)));
    for (int i = 0; i < 2 * before; ++i)
        EXPECT_EQ(all[std::size_t(i)].pen.colour, Colours::White) << i;
    for (int i = 2 * before; i < 2 * (before + now); ++i)
        EXPECT_EQ(all[std::size_t(i)].pen.colour, Colours::Red) << i;

    EXPECT_EQ(xorCurves({&full, &incremental}), xorCurves({&edited})) << c.edit;
    const std::size_t everything = segmentsOf(full.ofKind(Kind::Polyline)) + segmentsOf(edited.ofKind(Kind::Polyline));
    EXPECT_LE(double(segmentsOf(incremental.ofKind(Kind::Polyline))), c.drawnShareAtMost * double(everything))
        << c.edit;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, IncrementalRedraw,
    ::testing::Values(IncrementalCase{"nothing", Akima, [](CurveDocument&) {}, 0.0},
                      // The derived curves stay as they were: the curve alone is redrawn.
                      IncrementalCase{"every y raised", Cubique,
                                      [](CurveDocument& d) {
                                          for (int i = 0; i < d.count(); ++i)
                                              d.setPoint(i, {d.points()[i].x, d.points()[i].y + 0.5});
                                      },
                                      0.34},
                      // Akima is local: the start of every curve is as it was.
                      IncrementalCase{"a point appended", Akima,
                                      [](CurveDocument& d) {
                                          d.appendPoint({20, -8});
                                      },
                                      0.8},
                      IncrementalCase{"the last point moved", Aucun,
                                      [](CurveDocument& d) {
                                          d.setPoint(d.count() - 1, {d.points().back().x, 0});
                                      },
                                      0.3},
                      IncrementalCase{"every point moved", Cubique,
                                      [](CurveDocument& d) {
                                          for (int i = 0; i < d.count(); ++i)
                                              d.setPoint(i, {d.points()[i].x, d.points()[i].y * 1.5});
                                      },
                                      1.0},
                      IncrementalCase{"the curve emptied", Akima, [](CurveDocument& d) { d.clearPoints(); }, 1.0}),
    incrementalCaseName);

TEST(PlotRenderer, IncrementalRedrawOfAnEmptiedCurveStillErasesTheOldMarkers)
{
    CurveDocument doc = documentWith({{1, 1}, {2, 2}});
    doc.takeSnapshot();
    doc.clearPoints();
    RecordingSurface surface{AreaSize};
    const CanvasMapping mapping = CanvasMapping::make({-36, -36, 36, 36}, AreaSize.width, AreaSize.height);
    drawCurve(surface, mapping, doc, {}, true);
    EXPECT_EQ(linesWithPen(surface, Colours::White).size(), 4u);
    EXPECT_TRUE(linesWithPen(surface, Colours::Red).empty());
    EXPECT_EQ(surface.ofKind(Kind::Polyline).size(), 1u); // the old curve, erased
}

TEST(PlotRenderer, DegenerateWindowsAndDevicesTerminate)
{
    const ViewWindow windows[] = {
        {0, 0, 0, 0},
        {5, -1, 5, 1},
        {NaN, NaN, NaN, NaN},
        {-Inf, -Inf, Inf, Inf},
        {1, 1, -1, -1},
        {-1e308, -1e308, 1e308, 1e308},
        {1e300, 1e300, 1.0000001e300, 1.0000001e300},
        {0, 0, 1e-300, 1e-300},
        {-1e-9, -1e-9, 1e-9, 1e-9},
    };
    const PixelSize sizes[] = {{800, 600}, {0, 0}, {1, 1}, {-5, -5}, {99, 99}};
    const CurveDocument doc = documentWith({{-1, 1}, {0, 2}, {1, 1e300}}, Carlson);
    for (const ViewWindow& w : windows) {
        for (PixelSize size : sizes) {
            for (int dpi : {96, 0, 600}) {
                SCOPED_TRACE(testing::Message() << w.xmin << " " << size.width << " " << dpi);
                RecordingSurface surface{size, dpi, dpi};
                renderPlot(surface, w, doc, Derivative1 | Derivative2); // whatever the window
                // Background, axes, at most four bounded passes and the curve.
                EXPECT_LT(surface.primitives().size(), 300u);
            }
        }
    }
}

TEST(PlotRenderer, WindowsNextToTheLargestDoubleLabelOnlyFiniteValues)
{
    constexpr double Max = std::numeric_limits<double>::max();
    struct Case {
        const char* what;
        ViewWindow window;
        bool graduated;
    };
    // No command leads to these windows but the one from 0 (|min| + |max| or the
    // extent overflows); the renderer still draws what it is given. One step beyond
    // the first ones overflows, and so does an edge plus its slack.
    const Case cases[] = {
        {"x up to the largest", {1.7959e308, -1, Max, 1}, true},
        {"x down to the lowest", {-Max, -1, -1.7959e308, 1}, true},
        {"y up to the largest", {-1, 1.7959e308, 1, Max}, true},
        {"x far from the origin", {-1.7976931348618134e308, -1, -1.6676676259456809e308, 1}, true},
        {"narrow at the largest", {Max * (1 - 1e-11), -1, Max, 1}, true},
        {"narrow at the lowest", {-Max, -1, -Max * (1 - 1e-11), 1}, true},
        {"from 0 to the largest", {0, 0, Max, Max}, true},
        // The extents overflow: only the axes and the markers are drawn.
        {"spanning both signs", {-1.7e308, -1.7e308, 1.7e308, 1.7e308}, false},
        {"spanning every double", {-Max, -Max, Max, Max}, false},
    };
    const CurveDocument doc =
        documentWith({{-Max, -Max}, {-1.7e308, 1.7e308}, {0, 0}, {1.7e308, -1.7e308}, {Max, Max}}, Akima);
    const PixelSize sizes[] = {AreaSize, {1, 1}, {2, 2}};
    // Far beyond any screen, yet inside int: the pixel limit plus what ticks and labels add.
    constexpr long long Reach = PixelLimit + 10'000LL;
    for (const Case& c : cases) {
        for (PixelSize size : sizes) {
            SCOPED_TRACE(testing::Message() << c.what << " " << size.width);
            RecordingSurface surface{size};
            renderPlot(surface, c.window, doc, Derivative1 | Derivative2);
            const std::vector<Primitive> texts = surface.ofKind(Kind::Text);
            EXPECT_EQ(!texts.empty(), c.graduated);
            for (const Primitive& p : texts) {
                std::string lower = p.text;
                for (char& ch : lower)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                EXPECT_EQ(lower.find("inf"), std::string::npos) << p.text;
                EXPECT_EQ(lower.find("nan"), std::string::npos) << p.text;
            }
            for (const Primitive& p : surface.primitives())
                for (const PixelPoint& v : p.points) {
                    EXPECT_LE(std::llabs(v.x), Reach);
                    EXPECT_LE(std::llabs(v.y), Reach);
                }
        }
    }
}

TEST(PlotRenderer, DegenerateRequestKeepsTheWindow)
{
    Plot plot = render({3, -1, 3, 1});
    EXPECT_EQ(plot.view.current, (ViewWindow{-36, -36, 36, 36}));
    EXPECT_EQ(textsOf(yLabels(plot.surface)).size(), 6u);
}

TEST(PlotRenderer, ACurveLeavingFarBeyondThePictureKeepsItsSlope)
{
    struct Case {
        const char* what;
        CurvePoint a, b;
        ViewWindow window;
        CurvePoint inView;
    };
    const Case cases[] = {
        // Deep zoom: the second point maps some 6e8 pixels away, beyond what a pixel holds.
        {"deep zoom", {0, 0}, {2000, 1000}, {0, 0, 0.001, 0.001}, {0, 0}},
        // The first point lies 1e300 away: cutting from it would cancel every digit.
        {"astronomically far end", {-1e300, -2e300}, {10, 5}, {-36, -36, 36, 36}, {10, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurveDocument doc;
        doc.appendPoint(c.a);
        doc.appendPoint(c.b);
        Plot plot = render(c.window, doc);
        std::vector<Primitive> curves;
        for (const Primitive& p : plot.surface.ofKind(Kind::Polyline))
            if (p.mode == DrawMode::Xor)
                curves.push_back(p);
        ASSERT_EQ(curves.size(), 1u);
        // The end in view is drawn where it maps, and what is drawn lies on the line
        // through both points, inside the far box.
        const double expected = -((c.b.y - c.a.y) / plot.mapping.scaleY) / ((c.b.x - c.a.x) / plot.mapping.scaleX);
        const PixelPoint nearEnd = plot.mapping.worldToPixel(c.inView.x, c.inView.y);
        const PixelPoint p = curves[0].points.front();
        const PixelPoint q = curves[0].points.back();
        EXPECT_TRUE(p == nearEnd || q == nearEnd);
        EXPECT_NEAR(double(q.y - p.y) / double(q.x - p.x), expected, 1e-4 * std::abs(expected));
        for (const PixelPoint& v : curves[0].points) {
            EXPECT_LE(std::abs(v.x - 400), 400 + 1'000'000);
            EXPECT_LE(std::abs(v.y - 300), 300 + 1'000'000);
        }
    }
}

namespace {

bool sameMapping(const CanvasMapping& a, const CanvasMapping& b)
{
    return a.width == b.width && a.height == b.height && a.marginX == b.marginX && a.marginY == b.marginY
        && a.usableWidth == b.usableWidth && a.usableHeight == b.usableHeight && sameBits(a.scaleX, b.scaleX)
        && sameBits(a.scaleY, b.scaleY) && sameBits(a.xmin, b.xmin) && sameBits(a.ymin, b.ymin);
}

// Sixty points of a wave over most of the initial window.
CurveDocument waveDocument(SmoothingMode mode)
{
    std::vector<CurvePoint> points;
    for (int i = 0; i < 60; ++i)
        points.push_back({-30.0 + i, 20 * std::sin(i * 0.3) + 5 * std::cos(i * 1.1)});
    return documentWith(points, mode);
}

void moveMiddlePoint(CurveDocument& d)
{
    const CurvePoint p = d.points()[30];
    d.setPoint(30, {p.x, p.y + 3});
}

void raiseEveryPoint(CurveDocument& d)
{
    for (int i = 0; i < d.count(); ++i)
        d.setPoint(i, {d.points()[i].x, d.points()[i].y + 4});
}

void scaleEveryY(CurveDocument& d)
{
    for (int i = 0; i < d.count(); ++i)
        d.setPoint(i, {d.points()[i].x, d.points()[i].y * 1.5});
}

struct EditedRedrawCase {
    const char* name;
    SmoothingMode mode;
    DisplayFlags flags;
    void (*edit)(CurveDocument&);
    bool wholePicture;
};

const EditedRedrawCase EditedRedrawCases[] = {
    {"one point moved, every curve shown", Cubique, Derivative1 | Derivative2, moveMiddlePoint, false},
    {"one point moved, running integral", Carlson, Integral | Derivative2, moveMiddlePoint, false},
    // The derived curves stay as they were: only the curve itself is erased and drawn.
    {"every point raised", Cubique, Derivative1 | Derivative2, raiseEveryPoint, false},
    {"nothing changed", Akima, Derivative1, [](CurveDocument&) {}, false},
    {"a curve drawn where there was none",
     Akima,
     {},
     [](CurveDocument& d) {
         d.appendPoint({-5, 3});
         d.appendPoint({5, 7});
     },
     false},
    // Every curve changes: erasing and drawing both would draw each one twice.
    {"every y scaled", Cubique, Derivative1 | Derivative2, scaleEveryY, true},
    {"every y scaled, running integral", Carlson, Integral, scaleEveryY, true},
    {"the curve emptied", Akima, Derivative2, [](CurveDocument& d) { d.clearPoints(); }, true},
};

} // namespace

// After an edit, the incremental redraw where the curves keep enough in common, exactly
// as drawCurve draws it; the whole picture otherwise, exactly as renderPlot draws it,
// with renderPlot's mapping.
TEST(PlotRenderer, RedrawAfterAnEditIsIncrementalOrTheFullRedraw)
{
    for (const EditedRedrawCase& c : EditedRedrawCases) {
        SCOPED_TRACE(c.name);
        CurveDocument doc = c.name == std::string("a curve drawn where there was none") ? documentWith({}, c.mode)
                                                                                        : waveDocument(c.mode);
        ViewState view;
        RecordingSurface before{AreaSize};
        const CanvasMapping mapping = renderPlot(before, view.current, doc, c.flags).mapping;
        doc.takeSnapshot();
        c.edit(doc);

        RecordingSurface after{AreaSize};
        PlotBuffers buffers;
        const PlotPicture picture = redrawEditedCurve(after, view.current, mapping, doc, c.flags, buffers);
        EXPECT_EQ(picture.wholePicture, c.wholePicture);
        EXPECT_TRUE(picture.curvesDrawn);
        RecordingSurface expected{AreaSize};
        CanvasMapping expectedMapping = mapping;
        if (c.wholePicture)
            expectedMapping = renderPlot(expected, view.current, doc, c.flags).mapping;
        else
            drawCurve(expected, mapping, doc, c.flags, true);
        EXPECT_TRUE(after.primitives() == expected.primitives());
        EXPECT_TRUE(sameMapping(picture.mapping, expectedMapping));
        EXPECT_EQ(after.mode(), DrawMode::Copy);

        // The arrays kept from that redraw give the same picture again.
        RecordingSurface again{AreaSize};
        redrawEditedCurve(again, view.current, mapping, doc, c.flags, buffers);
        EXPECT_TRUE(again.primitives() == after.primitives());
    }
}

// The editor's mapping follows the picture: kept after an incremental redraw, the full
// redraw's after the whole picture, even when it was not that window's (a size changed
// since, say).
TEST(PlotRedraw, TheMappingFollowsAWholePictureDrawnAfterAnEdit)
{
    struct Case {
        const char* name;
        void (*edit)(CurveDocument&);
        bool follows;
    };
    const Case cases[] = {
        {"one point moved: drawn over the picture", moveMiddlePoint, false},
        {"every y scaled: the whole picture", scaleEveryY, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor;
        editor.document = waveDocument(Cubique);
        editor.displayFlags = Derivative1 | Derivative2;
        NullEditorHost host;
        RecordingSurface surface{AreaSize};
        EXPECT_TRUE(redrawPlot(editor, host, surface));
        const CanvasMapping full = editor.mapping;
        const CanvasMapping stale = CanvasMapping::make(editor.view.current, AreaSize.width / 2, AreaSize.height);
        editor.mapping = stale;
        editor.document.takeSnapshot();
        c.edit(editor.document);
        EXPECT_TRUE(redrawFor(editor, host, surface, RedrawKind::Incremental));
        EXPECT_TRUE(sameMapping(editor.mapping, c.follows ? full : stale));
    }
}

// Every vertex of a curve is its sample mapped as worldToPixel maps it, halves of a pixel
// rounded away from zero, on windows of one world unit a pixel where the samples fall on
// halves (which the quick rounding would take to the even neighbour).
TEST(PlotRenderer, CurveVerticesAreTheSamplesMappedAsThePoints)
{
    struct Case {
        const char* name;
        ViewWindow window;
        std::vector<CurvePoint> points;
    };
    const Case cases[] = {
        {"positive halves", {0, 0, 640, 540}, {{0.5, 10.5}, {64.5, 200.5}, {128.5, 0.5}}},
        {"negative halves", {-320, -270, 320, 270}, {{-100.5, -50.5}, {-36.5, 20.5}, {27.5, -3.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CurveDocument doc = documentWith(c.points, Aucun);
        const Plot plot = render(c.window, doc, Derivative1);
        const SmoothedCurve curve = smoothCurve(doc.points(), Aucun, Derivative1);
        const std::vector<Primitive> curves = plot.surface.ofKind(Kind::Polyline);
        ASSERT_EQ(curves.size(), 2u);
        ASSERT_EQ(curves[0].points.size(), curve.samples.size());
        ASSERT_EQ(curves[1].points.size(), curve.samples.size());
        for (std::size_t i = 0; i < curve.samples.size(); ++i) {
            const CurvePoint s = curve.samples[i];
            EXPECT_EQ(curves[0].points[i], plot.mapping.worldToPixel(s.x, s.y)) << i;
            EXPECT_EQ(curves[1].points[i], plot.mapping.worldToPixel(s.x, curve.firstDerived[i])) << i;
        }
    }
}
