#include "transform/TransformOperations.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

using Points = std::vector<CurvePoint>;
using Operation = std::function<TransformResult(CurveDocument&, const Selection&)>;

constexpr double Big = std::numeric_limits<double>::max();
const Selection Everything{{-Big, -Big}, {Big, Big}};
constexpr double OldPi = 3.141592654; // written out so a wrong constant in the code cannot be the expectation
const std::string CapacityText = "Attention le nombre de points\nest superieur au maxi autorisé !";

// `n` points along the x axis from x = firstX, one apart.
Points alongX(int firstX, int n)
{
    Points points;
    for (int i = 0; i < n; ++i)
        points.push_back({double(firstX + i), 0});
    return points;
}

bool holds(const CurveDocument& doc, CurvePoint p)
{
    return std::ranges::find(doc.points(), p) != doc.points().end();
}

void expectPointsNear(const Points& actual, const Points& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        double tol = 1e-12 * std::max({1.0, std::abs(expected[i].x), std::abs(expected[i].y)});
        EXPECT_NEAR(actual[i].x, expected[i].x, tol) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tol) << "point " << i;
    }
}

// Rotation written apart from the matrix: centre + R(theta)(p - centre).
CurvePoint turned(CurvePoint p, CurvePoint c, double t)
{
    return {c.x + std::cos(t) * (p.x - c.x) - std::sin(t) * (p.y - c.y),
            c.y + std::sin(t) * (p.x - c.x) + std::cos(t) * (p.y - c.y)};
}

} // namespace

TEST(TransformAngles, DirectionByQuadrantWithTheOldConstantsAndTheTypedAngle)
{
    struct Case {
        double dx, dy, expected;
    };
    const double a = std::atan(0.5);
    for (Case c : {Case{2, 1, a},
                   {2, -1, -a},
                   {2, 0, 0},
                   {-2, 1, OldPi - a},
                   {-2, -1, a - OldPi},
                   {-2, 0, OldPi},
                   {0, 3, 1.5707963267948966},
                   {0, -3, -1.5707963267948966},
                   {0, 0, 0}}) {
        EXPECT_DOUBLE_EQ(directionAngle(c.dx, c.dy), c.expected) << c.dx << ", " << c.dy;
        EXPECT_NEAR(directionAngle(c.dx, c.dy), std::atan2(c.dy, c.dx), 1e-9); // quadrant check apart
    }
    EXPECT_EQ(angleOf({5, 5}, {-2, AngleMarker}), -2);
    EXPECT_DOUBLE_EQ(angleOf({1, 1}, {3, 2}), a);
}

TEST(TransformFormulas, MoveModeMapsEverySelectedPoint)
{
    const double q = std::numbers::pi / 4;
    struct Case {
        const char* name;
        Operation run;
        Points before, after;
    };
    const Case cases[] = {
        {"translation",
         [](auto& d, auto& s) { return translatePoints(d, s, 2.5, -1, false); },
         {{0, 0}, {1, 2}, {3, -4}},
         {{2.5, -1}, {3.5, 1}, {5.5, -5}}},
        {"homothety",
         [](auto& d, auto& s) {
             return scalePoints(d, s, {1, 2}, 3, false);
         },
         {{0, 0}, {2, 5}, {4, 2}},
         {{-2, -4}, {4, 11}, {10, 2}}},
        {"homothety by -1",
         [](auto& d, auto& s) {
             return scalePoints(d, s, {0, 0}, -1, false);
         },
         {{1, 2}, {3, 1}},
         {{-3, -1}, {-1, -2}}},
        {"affinity 0: y",
         [](auto& d, auto& s) { return stretchPoints(d, s, 0, 2); },
         {{1, 3}, {2, -1}},
         {{1, 6}, {2, -2}}},
        {"affinity 1: x",
         [](auto& d, auto& s) { return stretchPoints(d, s, 1, 2); },
         {{1, 3}, {2, -1}},
         {{2, 3}, {4, -1}}},
        {"affinity 7: x",
         [](auto& d, auto& s) { return stretchPoints(d, s, 7, 0.5); },
         {{2, 3}, {6, 1}},
         {{1, 3}, {3, 1}}},
        {"mirror, horizontal line",
         [](auto& d, auto& s) {
             return mirrorPoints(d, s, {0, 2}, {5, 2}, false);
         },
         {{1, 1}, {2, -3}},
         {{1, 3}, {2, 7}}},
        {"mirror, vertical line",
         [](auto& d, auto& s) {
             return mirrorPoints(d, s, {1, 0}, {1, 5}, false);
         },
         {{0, 7}, {3, 1}},
         {{-1, 1}, {2, 7}}},
        {"mirror, y = x typed",
         [q](auto& d, auto& s) {
             return mirrorPoints(d, s, {0, 0}, {q, AngleMarker}, false);
         },
         {{1, 3}, {2, 5}, {4, 4}},
         {{3, 1}, {4, 4}, {5, 2}}},
        {"rotation typed",
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {1, 1}, {0.5, AngleMarker}, false);
         },
         {{1, 4}, {3, 1}},
         {turned({1, 4}, {1, 1}, 0.5), turned({3, 1}, {1, 1}, 0.5)}},
        {"rotation, second point above: quarter turn",
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {2, 3}, {2, 10}, false);
         },
         {{2, 1}, {5, 3}},
         {{2, 6}, {4, 3}}},
        {"rotation, second point left: the old pi",
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {0, 0}, {-4, 0}, false);
         },
         {{0, 500}, {1000, 0}},
         {turned({1000, 0}, {0, 0}, OldPi), turned({0, 500}, {0, 0}, OldPi)}},
        {"homothety by 0, thinned",
         [](auto& d, auto& s) {
             return scalePoints(d, s, {10, 20}, 0, false);
         },
         {{1, 1}, {3, 3}},
         {{10, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument doc = documentOf(c.before);
        TransformResult r = c.run(doc, Everything);
        EXPECT_TRUE(r.changed && !r.notice);
        expectPointsNear(pointsOf(doc), c.after);
    }
    // The old pi leaves a residue of 1000 * 4.1e-10 where the exact one would not.
    CurveDocument doc = documentOf({{1000, 0}});
    rotatePoints(doc, Everything, {0, 0}, {-4, 0}, false);
    EXPECT_GT(std::abs(doc.points()[0].y), 1e-7);
}

TEST(TransformSelection, PointsOnTheBorderAreNeverTransformedAndTranslationThinsNearOthers)
{
    const Points border{{0, 5}, {3, 0}, {7, 10}, {10, 10}};
    struct Case {
        const char* name;
        Operation run;
        int count;
    };
    const Case cases[] = {
        {"translation", [](auto& d, auto& s) { return translatePoints(d, s, 100, 100, true); }, 6},
        {"mirror",
         [](auto& d, auto& s) {
             return mirrorPoints(d, s, {50, 0}, {50, 1}, true);
         },
         6},
        {"rotation",
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {50, 50}, {1.0, AngleMarker}, true);
         },
         6},
        {"homothety",
         [](auto& d, auto& s) {
             return scalePoints(d, s, {100, 100}, 2, true);
         },
         6},
        {"affinity", [](auto& d, auto& s) { return stretchPoints(d, s, 1, 3); }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument doc = documentOf(border);
        doc.appendPoint({5, 5});
        c.run(doc, Selection{{0, 0}, {10, 10}});
        EXPECT_EQ(doc.count(), c.count);
        for (CurvePoint p : border)
            EXPECT_TRUE(holds(doc, p)) << p.x << ", " << p.y;
    }
    // Moved by (1, 0) to within 0.0005 of an unselected point: normalize thins the pair.
    CurveDocument doc = documentOf({{0, 0}, {1.0003, 5}, {3, 0}});
    translatePoints(doc, Selection{{-0.5, -0.5}, {0.5, 0.5}}, 1, 0, false);
    EXPECT_EQ(pointsOf(doc), (Points{{1.0003, 5}, {3, 0}}));
}

TEST(TransformCopies, VerticalCopiesShareTheirXAndAreThinnedAway)
{
    CurveDocument doc = documentOf(alongX(1, 5));
    translatePoints(doc, Everything, 0, 10, true);
    EXPECT_EQ(doc.count(), 5);
}

TEST(TransformCopies, FullCurveKeepsTheCopiesThatFitAndWarnsOnce)
{
    // x = 0..999 with x = 100..129 selected; every image lands away from the curve.
    const Selection thirty{{99.5, -1}, {129.5, 1}};
    struct Case {
        const char* name;
        Operation run;
        std::string text, caption;
    };
    const Case cases[] = {
        {"translation", [](auto& d, auto& s) { return translatePoints(d, s, 2000, 0, true); },
         "Attention le nombre de points\nest superieur au maxi autorisé ", "Translation"},
        {"mirror",
         [](auto& d, auto& s) {
             return mirrorPoints(d, s, {1500, 0}, {1500, 1}, true);
         },
         CapacityText, "Miroir"},
        {"rotation",
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {1500, 0}, {3.14, AngleMarker}, true);
         },
         CapacityText, "Erreur"},
        {"homothety",
         [](auto& d, auto& s) {
             return scalePoints(d, s, {0, 0}, 10, true);
         },
         CapacityText, "Homothétie"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument doc = documentOf(alongX(0, 1000));
        TransformResult r = c.run(doc, thirty);
        EXPECT_EQ(doc.count(), 1024);
        ASSERT_TRUE(r.changed && r.notice);
        EXPECT_EQ(r.notice->text, c.text);
        EXPECT_EQ(r.notice->caption, c.caption);
    }
    CurveDocument doc = documentOf(alongX(0, 1000)); // the first 24 in visiting order are copied
    translatePoints(doc, thirty, 2000, 0, true);
    EXPECT_TRUE(holds(doc, {2123, 0}) && !holds(doc, {2124, 0}));

    CurveDocument exact = documentOf(alongX(0, 994)); // exactly filling the curve is no overflow
    EXPECT_FALSE(translatePoints(exact, thirty, 2000, 0, true).notice);
    EXPECT_EQ(exact.count(), 1024);
}

TEST(TransformDeletions, RectangleAndNearestPoint)
{
    // Positions 1, 2 and 4 are inside (1 and 2 adjacent); (4, 1) lies on the border.
    CurveDocument doc = documentOf({{5, 0}, {1, 0}, {2, 0}, {0, 0}, {3, 0}, {4, 1}});
    EXPECT_EQ(deletePointsInRect(doc, Selection{{0.5, -1}, {4.5, 1}}), 3);
    EXPECT_EQ(pointsOf(doc), (Points{{0, 0}, {4, 1}, {5, 0}}));
    EXPECT_EQ(deletePointsInRect(doc, Selection{{1, 1}, {4, 4}}), 0);
    EXPECT_EQ(deletedPointsText(0), "Suppression de 0 point(s)");

    struct Case {
        Points before;
        CurvePoint at;
        int index;
        Points after;
    };
    for (const Case& c : {Case{{{0, 0}, {2, 0}, {5, 5}}, {1, 0}, 0, {{2, 0}, {5, 5}}},
                          Case{{{0, 10}, {1, 0}, {3, 0}}, {2, 0}, 1, {{0, 10}, {3, 0}}},
                          Case{{{0, 0}, {2, 0}, {5, 5}}, {4.9, 5}, 2, {{0, 0}, {2, 0}}}}) {
        CurveDocument d = documentOf(c.before);
        EXPECT_EQ(deleteNearestPoint(d, c.at), c.index);
        EXPECT_EQ(pointsOf(d), c.after);
    }
    EXPECT_EQ(deletedPointText(0), "Suppression du point n°0");

    CurveDocument empty = documentOf({{1, 1}});
    empty.takeSnapshot();
    empty.clearPoints();
    EXPECT_EQ(deleteNearestPoint(empty, {0, 0}), -1);
    EXPECT_EQ(empty.undoCount(), 1);
}

namespace {

// A document holding `points` whose undo copy holds another state.
CurveDocument withOlderUndo(const Points& points)
{
    CurveDocument doc = documentOf({{-3, 3}, {-2, 2}});
    doc.takeSnapshot();
    doc.replacePoints(points);
    return doc;
}

} // namespace

TEST(TransformUndo, EveryOperationSnapshotsTheStateBeforeIt)
{
    const Points before{{0, 0}, {1, 1}, {2, 4}, {3, 9}};
    const Selection some{{0.5, -10}, {2.5, 10}};
    for (const std::function<void(CurveDocument&)>& run : std::initializer_list<std::function<void(CurveDocument&)>>{
             [&](auto& d) { translatePoints(d, some, 0.25, 1, true); },
             [&](auto& d) {
                 mirrorPoints(d, some, {0, 0}, {1, 1}, false);
             },
             [&](auto& d) {
                 rotatePoints(d, some, {0, 0}, {0.3, AngleMarker}, false);
             },
             [&](auto& d) {
                 scalePoints(d, some, {1, 1}, 0, false);
             },
             [&](auto& d) { stretchPoints(d, some, 1, 1.1); }, [&](auto& d) { deletePointsInRect(d, some); },
             [&](auto& d) {
                 deleteNearestPoint(d, {2, 3});
             }}) {
        CurveDocument doc = withOlderUndo(before);
        run(doc);
        EXPECT_NE(pointsOf(doc), before);
        doc.restoreSnapshot();
        EXPECT_EQ(pointsOf(doc), before);
    }
}

TEST(TransformRefusal, NonFiniteImagesLeaveTheDocumentAsItWas)
{
    const double nan = std::nan("");
    struct Case {
        const char* name;
        Points points;
        Operation run;
    };
    const Case cases[] = {
        {"translation, second point overflows",
         {{1, 1}, {1e308, 0}},
         [](auto& d, auto& s) { return translatePoints(d, s, 1e308, 0, false); }},
        {"translated copy",
         {{1, 1}, {2, 1e308}},
         [](auto& d, auto& s) { return translatePoints(d, s, 0, 1e308, true); }},
        {"homothety by 1e308",
         {{0.5, 0.5}, {10, 1}},
         [](auto& d, auto& s) {
             return scalePoints(d, s, {0, 0}, 1e308, false);
         }},
        {"affinity in y", {{1, 10}}, [](auto& d, auto& s) { return stretchPoints(d, s, 0, 1e308); }},
        {"affinity by NaN", {{10, 1}}, [nan](auto& d, auto& s) { return stretchPoints(d, s, 1, nan); }},
        {"rotation",
         {{1.5e308, 1.5e308}},
         [](auto& d, auto& s) {
             return rotatePoints(d, s, {0, 0}, {std::numbers::pi / 4, AngleMarker}, false);
         }},
        {"mirror",
         {{-1e308, 0}},
         [](auto& d, auto& s) {
             return mirrorPoints(d, s, {1e308, 0}, {1e308, 1}, false);
         }},
        {"rotation towards NaN",
         {{1, 1}},
         [nan](auto& d, auto& s) {
             return rotatePoints(d, s, {0, 0}, {nan, 0}, false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument doc = withOlderUndo(c.points);
        const CurveDocument before = doc;
        TransformResult r = c.run(doc, Everything);
        EXPECT_FALSE(r.changed);
        ASSERT_TRUE(r.notice);
        EXPECT_EQ(r.notice->text, "Transformation impossible : le résultat sort des nombres représentables");
        EXPECT_EQ(r.notice->caption, "Attention");
        EXPECT_EQ(pointsOf(doc), pointsOf(before));
        EXPECT_TRUE(std::ranges::equal(doc.undoPoints(), before.undoPoints()));
    }
    // An image dropped for lack of room is never stored, so it is not refused.
    Points nearlyFull = alongX(0, 1023);
    nearlyFull.push_back({1e308, 5});
    CurveDocument full = documentOf(nearlyFull);
    TransformResult r = translatePoints(full, Selection{{1e307, 4}, {Big, 6}}, 1e308, 0, true);
    EXPECT_TRUE(r.changed && r.notice && r.notice->caption == "Translation");
}
