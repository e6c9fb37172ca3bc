#include "draw/RecordingSurface.h"
#include "output/CurvePage.h"
#include "view/SmoothCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;
using Texts = std::vector<std::string>;

// A printer page of 2400 x 3300 units (unit 4.95) and a picture of 800 x 600 (unit 0.9).
constexpr PixelSize PaperSize{2400, 3300};
constexpr PixelSize PictureSize{800, 600};

CurvePageTexts paperTexts()
{
    return {std::string(PageTitle), "essai", std::string(PrintedHeading), "Temps", "Course"};
}

CurvePageTexts pictureTexts()
{
    return {std::nullopt, std::nullopt, std::nullopt, "Temps", "Course"};
}

RecordingSurface drawPage(PageKind kind, const std::vector<CurvePoint>& points)
{
    RecordingSurface s(kind == PageKind::Paper ? PaperSize : PictureSize);
    drawCurvePage(s, kind, points, Aucun, {}, kind == PageKind::Paper ? paperTexts() : pictureTexts());
    return s;
}

std::vector<CurvePoint> line(double x0, double y0, double x1, double y1)
{
    return {{x0, y0}, {x1, y1}};
}

bool isGridPen(const Pen& p)
{
    return p == Pen{Colours::Green, 1, PenStyle::Dot};
}

// The texts of the grid labels of y, in drawing order: the only right-aligned texts.
Texts yLabelTexts(const RecordingSurface& s)
{
    Texts result;
    for (const Primitive& p : s.ofKind(Kind::Text))
        if (p.align == TextAlign{HAlign::Right, VAlign::Baseline})
            result.push_back(p.text);
    return result;
}

// The texts of the grid labels of x, in drawing order: each follows its vertical grid line.
Texts xLabelTexts(const RecordingSurface& s)
{
    Texts result;
    const auto& all = s.primitives();
    for (std::size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i].kind == Kind::Line && isGridPen(all[i].pen) && all[i].points[0].x == all[i].points[1].x
            && all[i + 1].kind == Kind::Text)
            result.push_back(all[i + 1].text);
    return result;
}

std::vector<Primitive> withPen(const RecordingSurface& s, Kind kind, Rgb colour)
{
    std::vector<Primitive> result;
    for (const Primitive& p : s.ofKind(kind))
        if (p.pen.colour == colour)
            result.push_back(p);
    return result;
}

bool hasText(const RecordingSurface& s, const std::string& text)
{
    const Texts all = s.texts();
    return std::find(all.begin(), all.end(), text) != all.end();
}

// Every y range of 0 to 8 on paper: steps of 1, always six decimals.
const Texts PaperYLabels{"0.000000", "1.000000", "2.000000", "3.000000", "4.000000",
                         "5.000000", "6.000000", "7.000000", "8.000000"};

struct LabelCase {
    const char* name;
    PageKind kind;
    std::vector<CurvePoint> points;
    Texts y;
    Texts x;
};

class CurvePageLabels : public testing::TestWithParam<LabelCase> { };

TEST_P(CurvePageLabels, GraduatesBothAxesOnWholeSteps)
{
    const LabelCase& c = GetParam();
    const RecordingSurface s = drawPage(c.kind, c.points);
    EXPECT_EQ(yLabelTexts(s), c.y);
    EXPECT_EQ(xLabelTexts(s), c.x);
}

INSTANTIATE_TEST_SUITE_P(
    CurvePage, CurvePageLabels,
    testing::Values(LabelCase{"PaperSixDecimalsOnY",
                              PageKind::Paper,
                              line(0, 0.3, 8, 7.3),
                              PaperYLabels,
                              {"0", "1", "2", "3", "4", "5", "6", "7", "8"}},
                    LabelCase{"PictureFourDivisions",
                              PageKind::Picture,
                              line(0, 0.3, 8, 7.3),
                              {"0", "2", "4", "6", "8"},
                              {"0", "2", "4", "6", "8"}},
                    LabelCase{"StepOfOneAndThreeQuarters",
                              PageKind::Paper,
                              line(-3.27, 0, 10, 8),
                              PaperYLabels,
                              {"-3.5", "-1.8", "0.0", "1.8", "3.5", "5.2", "7.0", "8.8", "10.5"}},
                    LabelCase{"XAboveThousandInENotation",
                              PageKind::Paper,
                              line(0, 0, 4000, 8),
                              PaperYLabels,
                              {"+0.00e+000", "+5.00e+002", "+1.00e+003", "+1.50e+003", "+2.00e+003", "+2.50e+003",
                               "+3.00e+003", "+3.50e+003", "+4.00e+003"}},
                    LabelCase{"PictureYAboveThousandInENotation",
                              PageKind::Picture,
                              line(0, 0, 8, 2500),
                              {"+0.00e+000", "+6.25e+002", "+1.25e+003", "+1.88e+003", "+2.50e+003"},
                              {"0", "2", "4", "6", "8"}},
                    LabelCase{"NegativeYBelowTheZeroLine",
                              PageKind::Picture,
                              line(0, -3, 8, 5),
                              {"0", "2", "4", "6", "-2", "-4"},
                              {"0", "2", "4", "6", "8"}},
                    LabelCase{
                        "XAllNegativeOnlyTheFirstLine", PageKind::Paper, line(-10, 1, -2, 8), PaperYLabels, {"-10"}}),
    CaseName());

// Grid values are sums of steps, not multiples: a label may read one last digit off.
struct SumCase {
    const char* name;
    PageKind kind;
    std::vector<CurvePoint> points;
    bool xAxis;
    std::size_t index;
    std::string label;
};

class CurvePageSums : public testing::TestWithParam<SumCase> { };

TEST_P(CurvePageSums, LabelsShowTheAccumulatedValue)
{
    const SumCase& c = GetParam();
    const RecordingSurface s = drawPage(c.kind, c.points);
    const Texts labels = c.xAxis ? xLabelTexts(s) : yLabelTexts(s);
    ASSERT_GT(labels.size(), c.index);
    EXPECT_EQ(labels[c.index], c.label);
}

INSTANTIATE_TEST_SUITE_P(
    CurvePage, CurvePageSums,
    testing::Values(
        // -0.03375 + 3 x 0.01125 is -3.47e-18, not 0.
        SumCase{"PaperXJustBelowZero", PageKind::Paper, line(-0.03, 0.02, 0.06, 0.07), true, 3, "-0.00"},
        SumCase{"PaperXLastDigitUp", PageKind::Paper, line(-0.001, 1, 0.004, 2), true, 8, "0.0038"},
        SumCase{"PictureXLastDigitUp", PageKind::Picture, line(-0.001, 1, 0.004, 2), true, 3, "0.003"},
        SumCase{"PaperYUpwardsLastDigitDown", PageKind::Paper, line(0, 0, 1, 0.00085), false, 7, "0.000787"},
        SumCase{"PaperYDownwardsLastDigitDown", PageKind::Paper, line(0, -0.00085, 1, 0), false, 7, "-0.000787"}),
    CaseName());

TEST(CurvePage, PaperFrameTitlesAndAxesFollowThePageSize)
{
    const RecordingSurface s = drawPage(PageKind::Paper, line(0, 0.3, 8, 7.3));
    // Label width 9 + 1 characters of 6 units: plot left 48 + 60, width 2400 - 240 - 108;
    // curve above 0: plot bottom 3300 - 220, height 3080 - 412.
    const auto axes = withPen(s, Kind::Line, Colours::Black);
    ASSERT_EQ(axes.size(), 6u);
    EXPECT_EQ(axes[0].points, (std::vector<PixelPoint>{{108, 3080}, {2221, 3080}}));
    EXPECT_EQ(axes[3].points, (std::vector<PixelPoint>{{108, 3080}, {108, 358}}));
    EXPECT_EQ(axes[0].pen.width, 3);

    struct Expected {
        std::string text;
        PixelPoint at;
        Font font;
    };
    const std::vector<Expected> expected{
        {"Editeur", {1200, 106}, {69, FontFamily::SansSerif}},
        {"essai", {1200, 186}, {59, FontFamily::SansSerif}},
        {std::string(PrintedHeading), {1200, 3273}, {49, FontFamily::Serif}},
        {"Temps", {2221, 3053}, {39, FontFamily::SansSerif}},
        {"Course", {134, 358}, {39, FontFamily::SansSerif}},
        {"0.300000", {1134, 2973}, {29, FontFamily::SansSerif}},
        {"7.300000", {1134, 645}, {29, FontFamily::SansSerif}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.text);
        const auto texts = s.ofKind(Kind::Text);
        const auto it = std::find_if(texts.begin(), texts.end(), [&](const Primitive& p) { return p.text == e.text; });
        ASSERT_NE(it, texts.end());
        EXPECT_EQ(it->points[0], e.at);
        EXPECT_EQ(it->font, e.font);
    }
    EXPECT_TRUE(std::string_view(PrintedHeading).starts_with("Editeur de courbes"));
}

TEST(CurvePage, PictureEstimatesLabelWidthAndOmitsPageTexts)
{
    const RecordingSurface s = drawPage(PageKind::Picture, line(0, 0.3, 8, 7.3));
    // Font 10: "-1" counts 2 x 10 / 2, the "0" 10 / 2: plot left 16 + 15, labels at 31 - 5.
    for (const Primitive& p : s.ofKind(Kind::Text)) {
        if (p.align.horizontal == HAlign::Right) {
            EXPECT_EQ(p.points[0].x, 26) << p.text;
        }
    }
    EXPECT_FALSE(hasText(s, "0.300000"));
    EXPECT_FALSE(hasText(s, "Editeur"));
    EXPECT_TRUE(hasText(s, "Temps"));
    EXPECT_TRUE(hasText(s, "Course"));
}

struct PenCase {
    const char* name;
    PageKind kind;
    int thick;  // axes
    int medium; // curve, circles, extremes
};

class CurvePagePens : public testing::TestWithParam<PenCase> { };

TEST_P(CurvePagePens, EachPartHasItsColourStyleAndWidth)
{
    const PenCase c = GetParam();
    const RecordingSurface s = drawPage(c.kind, line(0, 0.3, 8, 7.3));
    const auto curve = s.ofKind(Kind::Polyline);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0].pen, (Pen{Colours::Red, c.medium, PenStyle::Solid}));
    EXPECT_EQ(curve[0].points.size(), 33u);
    EXPECT_EQ(curve[0].mode, DrawMode::Copy);
    const auto extremes = withPen(s, Kind::Line, Colours::Magenta);
    ASSERT_EQ(extremes.size(), 3u);
    EXPECT_EQ(extremes[0].pen, (Pen{Colours::Magenta, c.medium, PenStyle::Dash}));
    const auto circles = s.ofKind(Kind::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].pen, (Pen{Colours::Blue, c.medium, PenStyle::Solid}));
    EXPECT_TRUE(circles[0].brush.hollow);
    EXPECT_EQ(withPen(s, Kind::Line, Colours::Black)[0].pen.width, c.thick);
    for (const Primitive& p : withPen(s, Kind::Line, Colours::Green))
        EXPECT_TRUE(isGridPen(p.pen));
}

INSTANTIATE_TEST_SUITE_P(CurvePage, CurvePagePens,
                         testing::Values(PenCase{"Paper", PageKind::Paper, 3, 2},
                                         PenCase{"Picture", PageKind::Picture, 1, 1}),
                         CaseName());

struct CircleCase {
    const char* name;
    PageKind kind;
    int points;
    int circles;
};

class CurvePageCircles : public testing::TestWithParam<CircleCase> { };

TEST_P(CurvePageCircles, MarksThePointsOnlyBelowTheLimit)
{
    const CircleCase c = GetParam();
    std::vector<CurvePoint> points;
    for (int i = 0; i < c.points; ++i)
        points.push_back({i * 0.5, (i % 7) - 2.0});
    const RecordingSurface s = drawPage(c.kind, points);
    EXPECT_EQ(static_cast<int>(s.ofKind(Kind::Ellipse).size()), c.circles);
}

INSTANTIATE_TEST_SUITE_P(CurvePage, CurvePageCircles,
                         testing::Values(CircleCase{"PaperMarks100Points", PageKind::Paper, 100, 100},
                                         CircleCase{"PaperMarksNoneOf101Points", PageKind::Paper, 101, 0},
                                         CircleCase{"PictureMarks80Points", PageKind::Picture, 80, 80},
                                         CircleCase{"PictureMarksNoneOf81Points", PageKind::Picture, 81, 0}),
                         CaseName());

class CurvePageWithoutCurve : public testing::TestWithParam<int> { };

TEST_P(CurvePageWithoutCurve, StillDrawsFrameTitlesAndAxes)
{
    const int n = GetParam();
    const std::vector<CurvePoint> points(static_cast<std::size_t>(n), CurvePoint{2.0, 3.0});
    const RecordingSurface s = drawPage(PageKind::Paper, points);
    for (const char* text : {"Editeur", "essai", "Temps", "Course"})
        EXPECT_TRUE(hasText(s, text)) << text;
    EXPECT_TRUE(hasText(s, std::string(PrintedHeading)));
    EXPECT_EQ(withPen(s, Kind::Line, Colours::Black).size(), 6u);
    EXPECT_FALSE(yLabelTexts(s).empty());
    EXPECT_FALSE(xLabelTexts(s).empty());
    EXPECT_TRUE(s.ofKind(Kind::Polyline).empty());
    EXPECT_TRUE(withPen(s, Kind::Line, Colours::Magenta).empty());
    EXPECT_EQ(static_cast<int>(s.ofKind(Kind::Ellipse).size()), n);
}

INSTANTIATE_TEST_SUITE_P(CurvePage, CurvePageWithoutCurve, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == 0 ? "NoPoint" : "OnePoint");
                         });

struct DegenerateCase {
    const char* name;
    std::vector<CurvePoint> points;
    bool curve = true; // false where smoothCurve drops every interval (flat or too long)
};

class CurvePageDegenerate : public testing::TestWithParam<DegenerateCase> { };

TEST_P(CurvePageDegenerate, EndsWithFewPrimitivesOnTheDevice)
{
    for (PageKind kind : {PageKind::Paper, PageKind::Picture}) {
        SCOPED_TRACE(kind == PageKind::Paper ? "paper" : "picture");
        const RecordingSurface s = drawPage(kind, GetParam().points);
        // Grid passes, titles, extremes, axes and circles: a hundred or so at most.
        EXPECT_LT(s.primitives().size(), 150u);
        EXPECT_FALSE(yLabelTexts(s).empty());
        EXPECT_FALSE(xLabelTexts(s).empty());
        EXPECT_EQ(s.ofKind(Kind::Polyline).size(), GetParam().curve ? 1u : 0u);
        // Far off the page perhaps, but nowhere near overflowing a device coordinate.
        for (const Primitive& p : s.primitives())
            for (const PixelPoint& q : p.points) {
                EXPECT_LE(std::abs(q.x), 1 << 29);
                EXPECT_LE(std::abs(q.y), 1 << 29);
            }
    }
}

INSTANTIATE_TEST_SUITE_P(CurvePage, CurvePageDegenerate,
                         testing::Values(DegenerateCase{"AllPointsEqual", {{5, 5}, {5, 5}, {5, 5}}, false},
                                         DegenerateCase{"AllOnZero", {{0, 0}, {0, 0}}, false},
                                         DegenerateCase{"HugeYSpan", line(0, -1e300, 1, 1e300)},
                                         DegenerateCase{"HugeXSpan", line(-1e300, 0, 1e300, 1)},
                                         DegenerateCase{"BeyondTheLimit", line(-1.7e308, -1.7e308, 1.7e308, 1.7e308),
                                                        false},
                                         DegenerateCase{"TinySpans", line(0, 0, 1e-300, 1e-300)},
                                         DegenerateCase{"TinySpansFarFromZero", line(1e-300, 1, 2e-300, 1 + 1e-300)},
                                         DegenerateCase{"FlatFarFromZero", {{1e300, 1}, {1e300, 2}}, false},
                                         DegenerateCase{"StepsLostToRounding", line(1e15, 0, 1e15 + 0.125, 1)},
                                         DegenerateCase{"MicroStepFarFromZero", line(1.0, 0, 1.0 + 2e-6, 1e-7)}),
                         CaseName());

TEST(CurvePage, TextsStandOnWhiteOnPaperAndOnThePlotInThePicture)
{
    struct Case {
        PageKind kind;
        std::optional<Rgb> background;
    };
    for (const Case& c : {Case{PageKind::Paper, Colours::White}, Case{PageKind::Picture, std::nullopt}}) {
        RecordingSurface s(c.kind == PageKind::Paper ? PaperSize : PictureSize);
        s.setTextBackground(Colours::Cyan); // whatever the caller left
        drawCurvePage(s, c.kind, line(0, 0.3, 8, 7.3), Aucun, {},
                      c.kind == PageKind::Paper ? paperTexts() : pictureTexts());
        const auto texts = s.ofKind(Kind::Text);
        ASSERT_FALSE(texts.empty());
        for (const Primitive& p : texts)
            EXPECT_EQ(p.textBackground, c.background) << p.text;
    }
}

TEST(CurvePage, LeavesTheSurfaceStateAsItWas)
{
    RecordingSurface s(PictureSize);
    const Pen pen{Colours::Yellow, 5, PenStyle::Dash};
    s.setPen(pen);
    s.setMode(DrawMode::Xor);
    s.setClipRect({1, 2, 3, 4});
    s.setTextBackground(Colours::Cyan);
    drawCurvePage(s, PageKind::Picture, line(0, 0, 1, 1), Cubique, Derivative1, pictureTexts());
    EXPECT_EQ(s.pen(), pen);
    EXPECT_EQ(s.mode(), DrawMode::Xor);
    EXPECT_EQ(s.clipRect(), (PixelRect{1, 2, 3, 4}));
    EXPECT_EQ(s.textBackground(), Colours::Cyan);
}

} // namespace
