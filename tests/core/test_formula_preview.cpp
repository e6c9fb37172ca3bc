#include "draw/RecordingSurface.h"
#include "formula/FormulaEvaluation.h"
#include "formula/FormulaPreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;

constexpr PixelSize Area{200, 100};
constexpr PixelRect WholeArea{0, 0, 200, 100};

std::vector<CurvePoint> squares()
{
    FormulaCurve curve = evaluateFormula("x^2", -1, 1, 0.5);
    EXPECT_TRUE(curve.ok());
    return curve.points;
}

bool sameDrawing(const Primitive& p, const Primitive& q)
{
    return p.kind == q.kind && p.points == q.points && p.pen == q.pen && p.brush == q.brush && p.mode == q.mode
        && p.clip == q.clip;
}

} // namespace

TEST(PreviewMapping, IntervalEndsFallOnTheEdgesAndHalvesRoundAwayFromZero)
{
    const PreviewMapping m = PreviewMapping::make(4, 4, 0, 4, 0, 4);
    const PreviewMapping mirrored = PreviewMapping::make(100, 50, 1, 0, -1, 1); // a > b
    struct Case {
        const PreviewMapping& m;
        double x, y;
        PixelPoint expected;
    };
    const Case cases[] = {
        {m, 0, 0, {0, 4}},       {m, 4, 4, {4, 0}},          {m, 2.5, 1.5, {3, 2}},      {m, -2.5, -0.5, {-3, 5}},
        {m, 1.49, 2.51, {1, 1}}, {mirrored, 1, -1, {0, 50}}, {mirrored, 0, 1, {100, 0}}, {mirrored, 0.25, 0, {75, 25}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.m.toPixel(c.x, c.y), c.expected) << c.x << ", " << c.y;
}

TEST(PreviewMapping, DegenerateSizesAndRangesGiveUsablePixels)
{
    constexpr double Big = 1e300;
    struct Case {
        int width, height;
        double a, b, ymin, ymax;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 0, 1},               // a preview of no size
        {-5, -5, 0, 1, 0, 1},             // negative sizes count as 0
        {200, 100, 3, 3, 0, 1},           // a = b
        {200, 100, 0, 1, 2, 2},           // flat range
        {200, 100, -Big, Big, -Big, Big}, // extents that overflow to infinity
        {200, 100, 0, 1e-300, 0, 1e-300}, // tiny extents, far points
    };
    for (const Case& c : cases) {
        const PreviewMapping m = PreviewMapping::make(c.width, c.height, c.a, c.b, c.ymin, c.ymax);
        for (double x : {c.a, c.b, 0.0, 1e308, -1e308}) {
            for (double y : {c.ymin, c.ymax, 0.0, 1e308, -1e308}) {
                const PixelPoint p = m.toPixel(x, y);
                EXPECT_LE(std::abs(p.x), PixelLimit);
                EXPECT_LE(std::abs(p.y), PixelLimit + std::max(c.height, 0));
            }
        }
    }
    // With a = b every x sits on the left edge; with a flat range every y on the bottom.
    EXPECT_EQ(PreviewMapping::make(200, 100, 3, 3, 0, 1).toPixel(3, 1).x, 0);
    EXPECT_EQ(PreviewMapping::make(200, 100, 0, 1, 2, 2).toPixel(1, 2), (PixelPoint{200, 100}));
    // A size of 0 scales as if it were one pixel.
    EXPECT_EQ(PreviewMapping::make(0, 0, 0, 1, 0, 1).toPixel(1, 1), (PixelPoint{1, -1}));
}

TEST(PreviewRange, FoundFromFloorsThenFlatCurvesGetZeroAsTheirOtherEnd)
{
    struct Case {
        const char* name;
        std::vector<CurvePoint> points;
        PreviewRange found;
        PreviewRange mapped;
    };
    const Case cases[] = {
        {"x^2", squares(), {0, 1}, {0, 1}},
        {"constant 3", {{0, 3}, {1, 3}, {2, 3}}, {3, 3}, {0, 3}},
        {"all negative", {{0, -1}, {1, -4}}, {-4, 1e-306}, {-4, 1e-306}},
        {"constant 0", {{0, 0}, {1, 0}}, {0, 1e-306}, {0, 1e-306}},
        {"below the floor", {{0, 1e-310}}, {1e-310, 1e-306}, {1e-310, 1e-306}},
        {"the floor itself", {{0, 1e-306}}, {1e-306, 1e-306}, {0, 1e-306}},
        {"no point", {}, {1e308, 1e-306}, {1e308, 1e-306}},
    };
    for (const Case& c : cases) {
        const PreviewRange found = previewRange(c.points);
        EXPECT_EQ(found, c.found) << c.name;
        EXPECT_EQ(adjustedPreviewRange(found), c.mapped) << c.name;
    }
    // A negative flat range keeps its bottom and gets 0 as its top.
    EXPECT_EQ(adjustedPreviewRange({-2, -2}), (PreviewRange{-2, 0}));
}

TEST(FormulaPreviewDrawing, BackgroundIsBlackAndClippedToTheArea)
{
    RecordingSurface s(Area);
    s.setPen({Colours::Red, 3, PenStyle::Dot});
    paintPreviewBackground(s);
    ASSERT_EQ(s.primitives().size(), 1u);
    const Primitive& back = s.primitives()[0];
    EXPECT_EQ(back.kind, Kind::Rectangle);
    EXPECT_EQ(back.points, (std::vector<PixelPoint>{{0, 0}, {200, 100}}));
    EXPECT_EQ(back.brush, Brush::solid(Colours::Black));
    EXPECT_EQ(back.pen.colour, Colours::Black);
    EXPECT_EQ(back.clip, WholeArea);
    EXPECT_EQ(s.pen(), (Pen{Colours::Red, 3, PenStyle::Dot})); // state given back
    EXPECT_FALSE(s.clipRect());
}

TEST(FormulaPreviewDrawing, SquaresDrawAxesPolylineAndMarkers)
{
    RecordingSurface s(Area);
    const std::vector<CurvePoint> points = squares();
    const FormulaPreview preview = drawFormulaPreview(s, points, -1, 1);

    const std::vector<PixelPoint> expected{{0, 0}, {50, 75}, {100, 100}, {150, 75}, {200, 0}};
    EXPECT_TRUE(preview.complete);
    EXPECT_EQ(preview.pixels, expected);
    EXPECT_EQ(preview.found, (PreviewRange{0, 1}));

    const auto axes = s.ofKind(Kind::Line);
    ASSERT_EQ(axes.size(), 2u);
    EXPECT_EQ(axes[0].points, (std::vector<PixelPoint>{{0, 100}, {200, 100}}));
    EXPECT_EQ(axes[1].points, (std::vector<PixelPoint>{{100, 100}, {100, 0}}));
    for (const Primitive& axis : axes) {
        EXPECT_EQ(axis.pen, (Pen{Colours::White, 2, PenStyle::Solid}));
        EXPECT_EQ(axis.mode, DrawMode::Copy);
    }

    const auto curve = s.ofKind(Kind::Polyline);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0].points, expected);
    EXPECT_EQ(curve[0].pen, (Pen{PreviewCurveColour, 1, PenStyle::Solid}));

    const auto markers = s.ofKind(Kind::Rectangle);
    ASSERT_EQ(markers.size(), expected.size());
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const PixelPoint p = expected[i];
        EXPECT_EQ(markers[i].points, (std::vector<PixelPoint>{{p.x - 1, p.y - 1}, {p.x + 1, p.y + 1}}));
        EXPECT_EQ(markers[i].pen.colour, Colours::Yellow);
        EXPECT_EQ(markers[i].brush, Brush::solid(Colours::Black));
    }
    for (const Primitive& p : s.primitives())
        EXPECT_EQ(p.clip, WholeArea);
    EXPECT_FALSE(s.clipRect());
}

TEST(FormulaPreviewDrawing, RepaintDrawsTheSamePictureFromTheKeptPixels)
{
    for (const std::vector<CurvePoint>& points : {squares(), std::vector<CurvePoint>{{0, 3}, {1, 3}}}) {
        RecordingSurface first(Area);
        paintPreviewBackground(first);
        FormulaPreview preview = drawFormulaPreview(first, points, points.front().x, points.back().x);

        RecordingSurface again(Area);
        repaintFormulaPreview(again, preview);
        ASSERT_EQ(again.primitives().size(), first.primitives().size());
        for (std::size_t i = 0; i < first.primitives().size(); ++i)
            EXPECT_TRUE(sameDrawing(first.primitives()[i], again.primitives()[i])) << "primitive " << i;

        // The kept pixels are drawn as they are, not mapped again.
        preview.pixels[0] = {7, 8};
        RecordingSurface moved(Area);
        repaintFormulaPreview(moved, preview);
        EXPECT_EQ(moved.ofKind(Kind::Rectangle)[1].points.front(), (PixelPoint{6, 7}));
    }
}

TEST(PreviewPick, NearestPointFirstOfEquallyNearAndNothingBeyondTheLimit)
{
    const std::vector<PixelPoint> pixels{{0, 0}, {10, 0}, {5, 5}};
    struct Case {
        PixelPoint at;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {{5, 0}, 0}, // all three 5 pixels away: the first wins
        {{9, 1}, 1},
        {{5, 4}, 2},
        {{-3, -3}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nearestPreviewPoint(pixels, c.at), c.expected) << c.at.x << ", " << c.at.y;

    // The search starts from a best distance of 10000, which no point beats by equalling it.
    const std::vector<PixelPoint> origin{{0, 0}};
    EXPECT_EQ(nearestPreviewPoint(origin, {6000, 8000}), std::nullopt);
    EXPECT_EQ(nearestPreviewPoint(origin, {10000, 0}), std::nullopt);
    EXPECT_EQ(nearestPreviewPoint(origin, {9999, 0}), 0u);

    EXPECT_EQ(nearestPreviewPoint({}, {0, 0}), std::nullopt);
    // Clamped far pixels: no overflow, just too far.
    const std::vector<PixelPoint> far{{PixelLimit, -PixelLimit}};
    EXPECT_EQ(nearestPreviewPoint(far, {-PixelLimit, PixelLimit}), std::nullopt);
}

TEST(PreviewPick, CrossIsDrawnInXorAndTheNextPickErasesIt)
{
    const std::vector<PixelPoint> pixels{{20, 30}, {100, 50}};
    RecordingSurface s(Area);
    PreviewPick pick;
    const Pen xorPen{Colours::White, 1, PenStyle::Solid};

    EXPECT_EQ(pickPreviewPoint(s, pixels, pick, {22, 29}), 0u);
    EXPECT_TRUE(pick.shown);
    const std::vector<std::vector<PixelPoint>> firstCross{{{15, 25}, {25, 35}}, {{25, 25}, {15, 35}}};
    const std::vector<std::vector<PixelPoint>> secondCross{{{95, 45}, {105, 55}}, {{105, 45}, {95, 55}}};
    ASSERT_EQ(s.primitives().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(s.primitives()[i].points, firstCross[i]);
        EXPECT_EQ(s.primitives()[i].pen, xorPen);
        EXPECT_EQ(s.primitives()[i].mode, DrawMode::Xor);
    }
    EXPECT_EQ(s.mode(), DrawMode::Copy);

    s.clear();
    EXPECT_EQ(pickPreviewPoint(s, pixels, pick, {90, 60}), 1u);
    ASSERT_EQ(s.primitives().size(), 4u);
    EXPECT_EQ(s.primitives()[0].points, firstCross[0]);
    EXPECT_EQ(s.primitives()[1].points, firstCross[1]);
    EXPECT_EQ(s.primitives()[2].points, secondCross[0]);
    EXPECT_EQ(s.primitives()[3].points, secondCross[1]);
    for (const Primitive& p : s.primitives())
        EXPECT_EQ(p.mode, DrawMode::Xor);
    EXPECT_EQ(pick.index, 1u);

    // Nothing near enough: the cross stays where it is.
    s.clear();
    EXPECT_EQ(pickPreviewPoint(s, pixels, pick, {20000, 0}), std::nullopt);
    EXPECT_TRUE(s.primitives().empty());
    EXPECT_TRUE(pick.shown);
    EXPECT_EQ(pick.index, 1u);
}
