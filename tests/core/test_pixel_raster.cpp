#include "draw/PixelRaster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixels = std::set<std::pair<int, int>>; // (x, y)

constexpr std::uint32_t Background = 0xff102030u;
constexpr std::uint32_t Colour = 0x00c0a080u;
constexpr int Far = 1 << 30; // beyond the exact stepping's range

// Pixels from (left, top) to (right, bottom) around the origin, so that coordinates may
// be negative; left <= 0 <= right and top <= 0 <= bottom.
struct Canvas {
    int left, top, right, bottom;
    std::vector<std::uint32_t> pixels;

    Canvas(int l, int t, int r, int b)
        : left(l), top(t), right(r), bottom(b), pixels(std::size_t(r - l + 1) * std::size_t(b - t + 1), Background)
    {
    }
    int width() const { return right - left + 1; }
    PixelBox bounds() const { return {left, top, right, bottom}; }
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y - top) * width() + std::size_t(x - left)]; }

    PixelRaster raster(PixelBox box, bool exclusiveOr = false, std::uint32_t colour = Colour)
    {
        PixelRaster r;
        r.bits = reinterpret_cast<unsigned char*>(&at(0, 0));
        r.bytesPerLine = std::ptrdiff_t(width()) * std::ptrdiff_t(sizeof(std::uint32_t));
        r.box = box;
        r.colour = colour;
        r.exclusiveOr = exclusiveOr;
        return r;
    }
    PixelRaster raster(bool exclusiveOr = false) { return raster(bounds(), exclusiveOr); }

    // The pixels no longer showing the background.
    Pixels changed()
    {
        Pixels p;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (at(x, y) != Background)
                    p.insert({x, y});
        return p;
    }
};

struct Segment {
    PixelPoint a, b;
};

} // namespace

TEST(PixelRasterSegment, PaintsFromItsStartToJustBeforeItsEnd)
{
    struct Case {
        const char* what;
        Segment segment;
        Pixels painted;
    };
    const Case cases[] = {
        {"rightwards", {{1, 1}, {5, 1}}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"leftwards", {{5, 1}, {1, 1}}, {{5, 1}, {4, 1}, {3, 1}, {2, 1}}},
        {"downwards", {{1, 1}, {1, 4}}, {{1, 1}, {1, 2}, {1, 3}}},
        {"upwards", {{1, 4}, {1, 1}}, {{1, 4}, {1, 3}, {1, 2}}},
        {"diagonal", {{0, 0}, {3, 3}}, {{0, 0}, {1, 1}, {2, 2}}},
        {"shallow, halves rounded toward the end", {{0, 0}, {4, 2}}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {"the same reversed", {{4, 2}, {0, 0}}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {"steep", {{0, 0}, {1, 3}}, {{0, 0}, {0, 1}, {1, 2}}},
        {"steep from the right", {{5, 0}, {2, 5}}, {{5, 0}, {4, 1}, {4, 2}, {3, 3}, {3, 4}}},
        {"from the left of the origin", {{-3, -1}, {1, 1}}, {{-3, -1}, {-2, 0}, {-1, 0}, {0, 1}}},
        {"a step to the right", {{2, 2}, {3, 2}}, {{2, 2}}},
        {"a step up and left", {{2, 2}, {1, 1}}, {{2, 2}}},
        {"a step down", {{2, 2}, {2, 3}}, {{2, 2}}},
        {"a single point", {{2, 2}, {2, 2}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas(-4, -4, 8, 8);
        canvas.raster().segment(c.segment.a, c.segment.b);
        EXPECT_EQ(canvas.changed(), c.painted);
        for (const auto& [x, y] : c.painted)
            EXPECT_EQ(canvas.at(x, y), 0xff000000u | Colour);
    }
}

TEST(PixelRasterSegment, ClippedPaintsWhatTheWholeSegmentPaintsInsideTheBox)
{
    const PixelBox box{10, 12, 30, 25};
    const Segment segments[] = {
        {{0, 0}, {40, 40}},    {{40, 40}, {0, 0}},   {{-20, 18}, {60, 18}}, {{20, -30}, {20, 50}},
        {{0, 30}, {39, 11}},   {{5, 13}, {35, 14}},  {{11, 0}, {29, 39}},   {{29, 39}, {11, 0}},
        {{10, 12}, {30, 25}},  {{30, 25}, {10, 12}}, {{-5, 26}, {40, 26}},  {{31, 0}, {31, 40}},
        {{15, 15}, {16, 16}},  {{9, 11}, {10, 12}},  {{12, 20}, {200, 21}}, {{25, 24}, {-100, -80}},
        {{-60, 40}, {50, -3}}, {{9, 25}, {30, 11}},
    };
    for (const Segment& s : segments) {
        SCOPED_TRACE(testing::Message() << "(" << s.a.x << ", " << s.a.y << ")-(" << s.b.x << ", " << s.b.y << ")");
        Canvas whole(-128, -128, 255, 255);
        whole.raster().segment(s.a, s.b);
        Pixels inside;
        for (const auto& [x, y] : whole.changed())
            if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom)
                inside.insert({x, y});

        Canvas clipped(-128, -128, 255, 255);
        clipped.raster(box).segment(s.a, s.b);
        EXPECT_EQ(clipped.changed(), inside);
    }
}

TEST(PixelRasterSegment, FarEndsAreCutToTheBoxOnTheTrueLine)
{
    struct Case {
        const char* what;
        Segment segment;
        Pixels painted;
    };
    Pixels row, diagonal, column;
    for (int x = 0; x < 6; ++x)
        row.insert({x, 3});
    for (int v = 0; v <= 7; ++v)
        diagonal.insert({v, v});
    for (int y = 0; y <= 7; ++y)
        column.insert({4, y});
    const Case cases[] = {
        {"a row from far left", {{-Far, 3}, {6, 3}}, row},
        {"a diagonal between far ends", {{-Far, -Far}, {Far, Far}}, diagonal},
        {"a column between far ends", {{4, Far}, {4, -Far}}, column},
        {"far away, outside", {{-Far, 20}, {Far, 20}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas(0, 0, 7, 7);
        canvas.raster().segment(c.segment.a, c.segment.b);
        EXPECT_EQ(canvas.changed(), c.painted);
    }
}

TEST(PixelRasterSegment, AnEmptyBoxPaintsNothing)
{
    Canvas canvas(0, 0, 7, 7);
    canvas.raster(PixelBox{4, 4, 3, 7}).segment({0, 5}, {7, 5});
    canvas.raster(PixelBox{}).segment({0, 0}, {7, 7});
    EXPECT_EQ(canvas.changed(), Pixels{});
}

TEST(PixelRasterSegment, ExclusiveOrCombinesAndDrawingTwiceRestores)
{
    Canvas canvas(0, 0, 15, 15);
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] = 0xff000000u | std::uint32_t(i * 0x010305u);
    const std::vector<std::uint32_t> before = canvas.pixels;
    const Segment segments[] = {{{0, 0}, {15, 9}}, {{3, 14}, {12, 1}}, {{7, 7}, {8, 8}}, {{-5, 4}, {30, 5}}};

    const PixelRaster raster = canvas.raster(true);
    raster.segment(segments[0].a, segments[0].b);
    EXPECT_EQ(canvas.at(0, 0), before[0] ^ Colour);
    EXPECT_EQ(canvas.at(15, 9), before[9 * 16 + 15]) << "the end pixel is left as it was";
    raster.segment(segments[0].a, segments[0].b);
    for (std::size_t i = 1; i < std::size(segments); ++i)
        raster.segment(segments[i].a, segments[i].b);
    for (std::size_t i = 1; i < std::size(segments); ++i)
        raster.segment(segments[i].a, segments[i].b);
    EXPECT_EQ(canvas.pixels, before);
}

TEST(PixelRasterPolyline, PaintsWhatItsSegmentsPaintOneAfterTheOther)
{
    // Repeated vertices, neighbour steps, long strokes, a clipped part and far ends, in
    // copy and in exclusive-or: the polyline's own walk must leave what the segments do.
    const std::vector<PixelPoint> points{{1, 1},  {1, 1},  {2, 1},  {3, 2},  {3, 2},   {3, 3},   {12, 7},
                                         {12, 7}, {11, 8}, {-4, 9}, {5, -3}, {6, -2},  {Far, 5}, {-Far, 6},
                                         {8, 14}, {9, 14}, {9, 15}, {9, 15}, {15, 15}, {14, 14}};
    for (bool exclusiveOr : {false, true}) {
        SCOPED_TRACE(exclusiveOr ? "exclusive-or" : "copy");
        for (PixelBox box : {PixelBox{0, 0, 15, 15}, PixelBox{2, 2, 10, 12}}) {
            Canvas bySegments(-2, -4, 17, 17), byPolyline(-2, -4, 17, 17);
            const PixelRaster segments = bySegments.raster(box, exclusiveOr);
            for (std::size_t i = 1; i < points.size(); ++i)
                segments.segment(points[i - 1], points[i]);
            byPolyline.raster(box, exclusiveOr).polyline(points);
            EXPECT_EQ(byPolyline.pixels, bySegments.pixels);
            EXPECT_FALSE(byPolyline.changed().empty());
        }
    }
}

TEST(PixelRasterPlot, CopiesOpaqueOrCombinesByExclusiveOr)
{
    Canvas canvas(0, 0, 3, 3);
    canvas.raster().plot(1, 2);
    canvas.raster(true).plot(2, 1);
    EXPECT_EQ(canvas.at(1, 2), 0xff000000u | Colour);
    EXPECT_EQ(canvas.at(2, 1), Background ^ Colour);
    EXPECT_EQ(canvas.changed(), (Pixels{{1, 2}, {2, 1}}));
}

namespace {

// The outline's pixels in the order the pattern numbers them: the top from left to
// right, the right side downwards, the bottom from right to left, the left side upwards.
std::vector<std::pair<int, int>> outlineWalk(const PixelBox& o)
{
    std::vector<std::pair<int, int>> walk;
    for (int x = o.left; x <= o.right; ++x)
        walk.push_back({x, o.top});
    for (int y = o.top + 1; y <= o.bottom; ++y)
        walk.push_back({o.right, y});
    if (o.bottom > o.top)
        for (int x = o.right - 1; x >= o.left; --x)
            walk.push_back({x, o.bottom});
    if (o.right > o.left)
        for (int y = o.bottom - 1; y > o.top; --y)
            walk.push_back({o.left, y});
    return walk;
}

constexpr std::uint32_t Gap = 0x00ffffffu;

} // namespace

TEST(PixelRasterOutline, DotsThreeOnThreeOffAlongTheTopEdge)
{
    Canvas canvas(0, 0, 31, 15);
    const PixelBox outline{2, 3, 26, 9};
    canvas.raster(true).patternedOutline(outline, 3, 3, Gap);
    for (int x = outline.left; x <= outline.right; ++x) {
        const bool dot = (x - outline.left) % 6 < 3;
        EXPECT_EQ(canvas.at(x, outline.top), Background ^ (dot ? Colour : Gap)) << "x = " << x;
    }
}

TEST(PixelRasterOutline, WalksEveryPixelOfTheOutlineOnceThePatternGoingRoundTheCorners)
{
    const PixelBox outlines[] = {
        {2, 3, 26, 9}, {5, 5, 6, 6}, {4, 4, 4, 4}, {2, 7, 12, 7}, {9, 1, 9, 12}, {0, 0, 31, 15}, {3, 2, 4, 10},
    };
    for (const PixelBox& o : outlines) {
        SCOPED_TRACE(testing::Message() << o.left << ", " << o.top << ", " << o.right << ", " << o.bottom);
        Canvas canvas(0, 0, 31, 15);
        canvas.raster(true).patternedOutline(o, 3, 2, Gap);
        const std::vector<std::pair<int, int>> walk = outlineWalk(o);
        EXPECT_EQ(canvas.changed(), Pixels(walk.begin(), walk.end()));
        for (std::size_t i = 0; i < walk.size(); ++i)
            EXPECT_EQ(canvas.at(walk[i].first, walk[i].second), Background ^ (i % 5 < 3 ? Colour : Gap))
                << "pixel " << i << " of the walk";
    }
}

TEST(PixelRasterOutline, ClippedKeepsThePatternOfTheWholeOutlineInsideTheBox)
{
    const PixelBox outline{-6, -4, 20, 12};
    const PixelBox boxes[] = {{0, 0, 15, 10}, {3, 3, 8, 8}, {-6, -4, -6, 12}, {21, 0, 25, 5}};
    for (const PixelBox& box : boxes) {
        SCOPED_TRACE(testing::Message() << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom);
        Canvas whole(-8, -8, 23, 15);
        whole.raster(true).patternedOutline(outline, 3, 3, Gap);
        Canvas clipped(-8, -8, 23, 15);
        clipped.raster(box, true).patternedOutline(outline, 3, 3, Gap);
        for (int y = whole.top; y <= whole.bottom; ++y)
            for (int x = whole.left; x <= whole.right; ++x) {
                const bool inside = x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
                ASSERT_EQ(clipped.at(x, y), inside ? whole.at(x, y) : Background) << x << ", " << y;
            }
    }
}

TEST(PixelRasterOutline, DrawingTwiceRestoresAndAnEmptyOutlinePaintsNothing)
{
    Canvas canvas(0, 0, 15, 15);
    const PixelRaster raster = canvas.raster(true);
    raster.patternedOutline({1, 2, 13, 11}, 3, 3, Gap);
    EXPECT_NE(canvas.changed(), Pixels{});
    raster.patternedOutline({1, 2, 13, 11}, 3, 3, Gap);
    raster.patternedOutline({5, 5, 4, 9}, 3, 3, Gap);
    raster.patternedOutline(PixelBox{}, 3, 3, Gap);
    EXPECT_EQ(canvas.changed(), Pixels{});
}
