#include "draw/RecordingSurface.h"
#include "transform/PickFeedback.h"

#include "TestSupport.h"
#include "XorFigures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Points = std::vector<CurvePoint>;
using Kind = RecordingSurface::Kind;

constexpr double Big = std::numeric_limits<double>::max();
const Selection Everything{{-Big, -Big}, {Big, Big}};

// A drawing area of 800 x 600 over the default window (-36, -36)-(36, 36).
CanvasMapping areaMapping()
{
    return CanvasMapping::make({-36, -36, 36, 36}, 800, 600);
}

} // namespace

// While nothing is dropped for lack of room and no two points share an x, the preview
// is the curve the operation will leave once the user clicks.
TEST(CurvePreview, IsWhatTheOperationLeaves)
{
    Points curve;
    for (int i = 0; i < 300; ++i)
        curve.push_back({i * 0.1 - 15, std::sin(i * 0.1) * 8});
    const CurveDocument doc = documentOf(curve);
    const Selection sel{{-5, -6}, {9, 6}};
    struct Case {
        const char* what;
        PreviewOperation op;
        CurvePoint a;
        CurvePoint b;
        bool copyToo; // false where copies share the x of their originals
    };
    const Case cases[] = {
        {"translation", PreviewOperation::Translation, {1, 2}, {3.71831, -1.25}, true},
        {"vertical translation", PreviewOperation::Translation, {1, 2}, {1, 5}, false},
        {"mirror", PreviewOperation::Mirror, {0.5, 1}, {2, 3}, true},
        {"mirror at the start", PreviewOperation::Mirror, {0.5, 1}, {0.5, 1}, false},
        {"rotation", PreviewOperation::Rotation, {-2, 1}, {-1, 4}, true},
        {"quarter turn", PreviewOperation::Rotation, {-2, 1}, {-2, 4}, true},
        {"half turn", PreviewOperation::Rotation, {-2, 1}, {-5, 1}, true},
    };
    CurvePreview preview;
    for (const Case& c : cases) {
        for (bool copy : {false, true}) {
            if (copy && !c.copyToo)
                continue;
            SCOPED_TRACE(std::string(c.what) + (copy ? ", copy" : ", move"));
            CurveDocument expected = doc;
            switch (c.op) {
            case PreviewOperation::Translation:
                translatePoints(expected, sel, c.b.x - c.a.x, c.b.y - c.a.y, copy);
                break;
            case PreviewOperation::Mirror: mirrorPoints(expected, sel, c.a, c.b, copy); break;
            case PreviewOperation::Rotation: rotatePoints(expected, sel, c.a, c.b, copy); break;
            }
            const auto shown = preview.compute(doc, sel, c.op, copy, c.a, c.b);
            EXPECT_TRUE(sameBits(Points(shown.begin(), shown.end()), pointsOf(expected)));
        }
    }
}

// A copy that keeps the x of its original ties with it; which of the two the preview
// keeps is what the document's procedure keeps from the moved points followed by the
// curve.
TEST(CurvePreview, CopiesOnTheirOriginalsResolveAsTheMovedPointsFollowedByTheCurve)
{
    const CurveDocument doc = documentOf({{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}});
    const Selection sel{{0.5, -1}, {3.5, 20}};
    const CurvePoint a{2, 3};
    struct Case {
        const char* what;
        PreviewOperation op;
        CurvePoint b;
        Points moved; // the selected points as the operation moves them
    };
    const Case cases[] = {
        {"vertical translation", PreviewOperation::Translation, {2, 5}, {{1, 3}, {2, 6}, {3, 11}}},
        {"mirror at the start", PreviewOperation::Mirror, a, {{1, 5}, {2, 2}, {3, -3}}},
    };
    CurvePreview preview;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Points expected = c.moved;
        expected.insert(expected.end(), doc.points().begin(), doc.points().end());
        expected.resize(static_cast<std::size_t>(normalizePoints(expected)));
        const auto shown = preview.compute(doc, sel, c.op, true, a, c.b);
        EXPECT_EQ(Points(shown.begin(), shown.end()), expected);
    }
}

TEST(CurvePreview, AtTheStartShowsTheSelectionInPlaceTurnedByZeroOrMirroredAboutTheHorizontal)
{
    const CurveDocument doc = documentOf({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    const Selection sel{{0.5, 0}, {2.5, 5}};
    const CurvePoint a{1.5, 2.5};
    CurvePreview preview;

    auto shown = preview.compute(doc, sel, PreviewOperation::Translation, false, a, a);
    EXPECT_EQ(Points(shown.begin(), shown.end()), pointsOf(doc));
    shown = preview.compute(doc, sel, PreviewOperation::Rotation, false, a, a);
    EXPECT_EQ(Points(shown.begin(), shown.end()), pointsOf(doc));
    shown = preview.compute(doc, sel, PreviewOperation::Mirror, false, a, a);
    EXPECT_EQ(Points(shown.begin(), shown.end()), (Points{{0, 1}, {1, 3}, {2, 2}, {3, 4}}));
}

TEST(CurvePreview, CopyModeKeepsTheFirstDocumentPointsThatFit)
{
    Points curve;
    for (int i = 0; i < 1000; ++i)
        curve.push_back({double(i), double(i % 7)});
    const CurveDocument doc = documentOf(curve);
    const Selection sel{{99.5, -1}, {899.5, 10}}; // points 100 to 899
    CurvePreview preview;
    const auto shown = preview.compute(doc, sel, PreviewOperation::Translation, true, {0, 0}, {0.25, 20});

    Points expected;
    for (int i = 100; i < 900; ++i)
        expected.push_back({i + 0.25, i % 7 + 20.0});
    for (int i = 0; i < 224; ++i)
        expected.push_back(curve[i]);
    std::sort(expected.begin(), expected.end(), [](CurvePoint p, CurvePoint q) { return p.x < q.x; });
    ASSERT_EQ(shown.size(), std::size_t(MaxCurvePoints));
    EXPECT_EQ(Points(shown.begin(), shown.end()), expected);
}

TEST(RectangleBand, DrawsADottedXorRectangleThatDrawingAgainErases)
{
    RecordingSurface surface;
    RectangleBand band;
    band.start(surface, {100, 100});
    EXPECT_TRUE(band.active);
    EXPECT_EQ(surface.mode(), DrawMode::Xor);
    EXPECT_TRUE(surface.primitives().empty()) << "nothing is drawn at the start";

    band.moveTo(surface, {200, 150});
    band.moveTo(surface, {50, 300});
    const auto rectangles = surface.ofKind(Kind::Rectangle);
    ASSERT_EQ(rectangles.size(), 4u);
    EXPECT_EQ(rectangles.back().points, (std::vector<PixelPoint>{{100, 100}, {50, 300}}));
    for (const auto& r : rectangles) {
        EXPECT_EQ(r.mode, DrawMode::Xor);
        EXPECT_EQ(r.pen, (Pen{Colours::Black, 1, PenStyle::Dot}));
        EXPECT_EQ(r.brush, Brush::solid(Colours::Black));
    }

    band.moveTo(surface, {100, 100}); // back to the anchor: an empty rectangle
    EXPECT_EQ(surface.ofKind(Kind::Rectangle).back().points, (std::vector<PixelPoint>{{100, 100}, {100, 100}}));
    EXPECT_TRUE(xorFiguresCancel(surface));

    const BandEnds ends = band.finish(surface);
    EXPECT_EQ(ends.anchor, (PixelPoint{100, 100}));
    EXPECT_EQ(ends.last, (PixelPoint{100, 100}));
    EXPECT_FALSE(band.active);
    EXPECT_EQ(surface.mode(), DrawMode::Copy);
    EXPECT_TRUE(xorFiguresCancel(surface));
}

TEST(RectangleBand, FinishAndDiscardEraseWhatIsShownAndRedrawPutsItBack)
{
    struct Case {
        const char* what;
        bool moved;
        bool discard;
        bool repaintedFirst; // a repaint wiped the rectangle and the band drew it again
    };
    const Case cases[] = {
        {"finish", true, false, false},
        {"discard", true, true, false},
        {"discard before any move", false, true, false},
        {"finish after a repaint", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSurface surface;
        RectangleBand band;
        band.start(surface, {10, 20});
        if (c.moved)
            band.moveTo(surface, {60, 80});
        if (c.repaintedFirst) {
            surface.clear();
            band.redraw(surface);
        }
        if (c.discard)
            band.discard(surface);
        else
            EXPECT_EQ(band.finish(surface).last, (PixelPoint{c.moved ? 60 : 10, c.moved ? 80 : 20}));
        EXPECT_TRUE(xorFiguresCancel(surface));
        EXPECT_EQ(surface.mode(), DrawMode::Copy);
        EXPECT_FALSE(band.active);
    }

    RecordingSurface surface;
    RectangleBand idle;
    idle.discard(surface);
    EXPECT_TRUE(surface.primitives().empty()) << "an inactive band draws nothing when discarded";
}

TEST(SegmentBand, DrawsTheRedPreviewAndTheBlueLineThatDrawingAgainErases)
{
    const CurveDocument doc = documentOf({{-10, -5}, {-5, 0}, {0, 5}, {5, 0}, {10, -5}});
    const CanvasMapping mapping = areaMapping();
    const Selection sel{{-6, -1}, {1, 6}};
    CurvePreview buffer;
    const SegmentPreview preview{buffer, doc, mapping, sel, PreviewOperation::Rotation, true};
    RecordingSurface surface;
    SegmentBand band;

    band.start(surface, preview, {400, 300});
    EXPECT_EQ(surface.mode(), DrawMode::Xor);
    ASSERT_EQ(surface.primitives().size(), 1u) << "the preview only, no rubber line at the start";
    EXPECT_EQ(surface.primitives()[0].kind, Kind::Polyline);
    EXPECT_EQ(band.worldAnchor, mapping.pixelToWorld({400, 300}));

    band.moveTo(surface, preview, {450, 250});
    band.moveTo(surface, preview, {300, 200});
    for (const auto& p : surface.ofKind(Kind::Polyline)) {
        EXPECT_EQ(p.pen, (Pen{Colours::Red, 1, PenStyle::Solid}));
        EXPECT_EQ(p.mode, DrawMode::Xor);
    }
    const auto lines = surface.ofKind(Kind::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back().points, (std::vector<PixelPoint>{{400, 300}, {300, 200}}));
    for (const auto& l : lines) {
        EXPECT_EQ(l.pen, (Pen{Colours::Blue, 1, PenStyle::Solid}));
        EXPECT_EQ(l.mode, DrawMode::Xor);
    }
    // The last preview is what the mouse position gives.
    std::vector<PixelPoint> expected;
    for (CurvePoint p : buffer.compute(doc, sel, PreviewOperation::Rotation, true, mapping.pixelToWorld({400, 300}),
                                       mapping.pixelToWorld({300, 200})))
        expected.push_back(mapping.worldToPixel(p.x, p.y));
    EXPECT_EQ(surface.ofKind(Kind::Polyline).back().points, expected);

    // Drawing the current figures once more is what a repaint needs; here it erases.
    band.redraw(surface, preview);
    EXPECT_TRUE(xorFiguresCancel(surface));

    const std::size_t before = surface.primitives().size();
    const BandEnds ends = band.finish(surface);
    EXPECT_EQ(ends.anchor, (PixelPoint{400, 300}));
    EXPECT_EQ(ends.last, (PixelPoint{300, 200}));
    EXPECT_EQ(surface.primitives().size(), before) << "finishing erases nothing";
    EXPECT_EQ(surface.mode(), DrawMode::Copy);
}

TEST(SegmentBand, RedrawPlacesTheAnchorForTheViewShownNow)
{
    const CurveDocument doc = documentOf({{0, 0}, {1, 1}});
    const CanvasMapping before = areaMapping();
    const CanvasMapping after = CanvasMapping::make({-18, -18, 18, 18}, 800, 600);
    CurvePreview buffer;
    RecordingSurface surface;
    SegmentBand band;
    band.start(surface, {buffer, doc, before, Everything, PreviewOperation::Translation, false}, {400, 300});
    band.moveTo(surface, {buffer, doc, before, Everything, PreviewOperation::Translation, false}, {500, 300});
    surface.clear();
    band.redraw(surface, {buffer, doc, after, Everything, PreviewOperation::Translation, false});
    EXPECT_EQ(band.anchor, after.worldToPixel(band.worldAnchor.x, band.worldAnchor.y));
    EXPECT_EQ(surface.ofKind(Kind::Line).at(0).points, (std::vector<PixelPoint>{band.anchor, {500, 300}}));
}

TEST(Highlight, CirclesThePointsStrictlyInsideInCopyModeSizedByTheResolution)
{
    const CurveDocument doc = documentOf({{-2, 0}, {-1, 0}, {0, 0}, {1, 1}, {2, 0}});
    const CanvasMapping mapping = areaMapping();
    const Selection sel{{-2, -1}, {2, 1}}; // (-2, 0) and (2, 0) lie on the border, (1, 1) too
    for (int dpi : {96, 120}) {
        SCOPED_TRACE(dpi);
        RecordingSurface surface({800, 600}, dpi, dpi);
        surface.setMode(DrawMode::Xor); // as a running band leaves it
        PickFeedback feedback;
        feedback.drawHighlight(surface, doc, mapping, sel);
        EXPECT_EQ(feedback.selectionSaved.min, sel.min);
        EXPECT_EQ(feedback.selectionSaved.max, sel.max);
        const int r = dpi / 26;
        std::vector<std::vector<PixelPoint>> boxes;
        for (const auto& e : surface.ofKind(Kind::Ellipse)) {
            EXPECT_EQ(e.mode, DrawMode::Copy);
            EXPECT_EQ(e.pen, (Pen{Colours::Black, 1, PenStyle::Solid}));
            EXPECT_TRUE(e.brush.hollow);
            boxes.push_back(e.points);
        }
        std::vector<std::vector<PixelPoint>> expected;
        for (CurvePoint p : {CurvePoint{-1, 0}, CurvePoint{0, 0}}) {
            const PixelPoint c = mapping.worldToPixel(p.x, p.y);
            expected.push_back({{c.x - r, c.y - r}, {c.x + r, c.y + r}});
        }
        EXPECT_EQ(boxes, expected);
        EXPECT_EQ(surface.mode(), DrawMode::Xor) << "the band's mode is left as it was";

        surface.clear();
        feedback.redrawHighlight(surface, doc, mapping);
        EXPECT_EQ(surface.ofKind(Kind::Ellipse).size(), 2u) << "the saved selection is circled again";
    }
}
