#include "curve/CurveDocument.h"
#include "curve/PointNormalizer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

CurveDocument documentWithX(std::initializer_list<double> xs)
{
    CurveDocument doc;
    double y = 0;
    for (double x : xs)
        doc.appendPoint({x, y++});
    return doc;
}

using Points = std::vector<CurvePoint>;

} // namespace

TEST(CurveDocumentNormalize, SortsByXKeepingPairsTogether)
{
    CurveDocument doc;
    doc.appendPoint({3, 30});
    doc.appendPoint({-1, -10});
    doc.appendPoint({2, 20});
    doc.normalize();
    EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{-1, -10}, {2, 20}, {3, 30}}));
}

TEST(CurveDocumentNormalize, OnePassThinsEveryOtherPointOfACloseRun)
{
    // In any input order, 1.0 goes and 1.0003 / 1.0006 stay: the point moved into
    // place i is not compared again.
    for (auto order : {std::vector<double>{1.0, 1.0003, 1.0006}, std::vector<double>{1.0006, 1.0, 1.0003},
                       std::vector<double>{1.0003, 1.0006, 1.0}}) {
        CurveDocument doc;
        for (double x : order)
            doc.appendPoint({x, 0});
        doc.normalize();
        ASSERT_EQ(doc.count(), 2);
        EXPECT_DOUBLE_EQ(doc.points()[0].x, 1.0003);
        EXPECT_DOUBLE_EQ(doc.points()[1].x, 1.0006);
    }
}

TEST(CurveDocumentNormalize, BoundsAreStrict)
{
    CurveDocument doc = documentWithX({2.0, 2.0005, 5.0, 5.0004999});
    doc.normalize();
    ASSERT_EQ(doc.count(), 3);
    EXPECT_DOUBLE_EQ(doc.points()[0].x, 2.0);
    EXPECT_DOUBLE_EQ(doc.points()[1].x, 2.0005);
    EXPECT_DOUBLE_EQ(doc.points()[2].x, 5.0004999);
}

TEST(CurveDocumentNormalize, EqualXKeepsTheLaterPointAfterSorting)
{
    // Exchange sort: (1,a) (0,b) (1,c) -> i=0 swaps with j=1 -> (0,b) (1,a) (1,c);
    // equal x are never exchanged, so (1,c) comes later and survives.
    CurveDocument doc;
    doc.appendPoint({1, 100});
    doc.appendPoint({0, 7});
    doc.appendPoint({1, 200});
    doc.normalize();
    EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{0, 7}, {1, 200}}));

    // The exchange procedure can reorder equal x: (2,a) (2,b) (1,c): i=0 swaps with
    // j=2 -> (1,c) (2,b) (2,a), so (2,a) is the later one.
    CurveDocument other;
    other.appendPoint({2, 1});
    other.appendPoint({2, 2});
    other.appendPoint({1, 3});
    other.normalize();
    EXPECT_EQ(pointsOf(other), (std::vector<CurvePoint>{{1, 3}, {2, 1}}));
}

TEST(CurveDocumentNormalize, EmptyAndSinglePointAreUntouched)
{
    CurveDocument doc;
    doc.normalize();
    EXPECT_EQ(doc.count(), 0);
    doc.appendPoint({4, 5});
    doc.normalize();
    EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{4, 5}}));
}

TEST(CurveDocumentSnapshot, UndoRestoresTheSnapshotAndRepeatsIdentically)
{
    CurveDocument doc = documentWithX({1, 2, 3});
    doc.takeSnapshot();
    doc.appendPoint({9, 9});
    doc.setPoint(0, {-5, -5});
    doc.restoreSnapshot();
    auto once = pointsOf(doc);
    EXPECT_EQ(once, (std::vector<CurvePoint>{{1, 0}, {2, 1}, {3, 2}}));
    doc.restoreSnapshot();
    EXPECT_EQ(pointsOf(doc), once);
}

TEST(CurveDocumentSnapshot, SnapshotOfAnEmptyCurveEmptiesIt)
{
    CurveDocument doc;
    doc.takeSnapshot();
    doc.appendPoint({1, 1});
    doc.restoreSnapshot();
    EXPECT_EQ(doc.count(), 0);
}

TEST(CurveDocumentCapacity, The1024thPointFitsThe1025thIsRefused)
{
    CurveDocument doc;
    for (int i = 0; i < MaxCurvePoints - 1; ++i)
        ASSERT_TRUE(doc.appendPoint({double(i), 0}));
    EXPECT_TRUE(doc.appendPoint({2000, 0}));
    EXPECT_FALSE(doc.appendPoint({3000, 0}));
    EXPECT_EQ(doc.count(), MaxCurvePoints);
    EXPECT_DOUBLE_EQ(doc.points()[MaxCurvePoints - 1].x, 2000);
}

TEST(CurveDocumentCapacity, ABatchKeepsWhatFits)
{
    CurveDocument doc;
    std::vector<CurvePoint> batch(1000, CurvePoint{1, 1});
    EXPECT_EQ(doc.appendPoints(batch), 1000);
    EXPECT_EQ(doc.appendPoints(batch), 24);
    EXPECT_EQ(doc.appendPoints(batch), 0);
    EXPECT_EQ(doc.count(), MaxCurvePoints);
}

// Whatever is asked, the curve keeps at most MaxCurvePoints points and an index outside
// the points changes nothing.
TEST(CurveDocumentCapacity, NoOperationLeavesTheRangeOfTheCount)
{
    auto along = [](int n) {
        Points p;
        for (int i = 0; i < n; ++i)
            p.push_back({double(i), double(-i)});
        return p;
    };
    const Points full = along(MaxCurvePoints);
    const Points more = along(MaxCurvePoints + 476);
    struct Case {
        const char* what;
        std::function<void(CurveDocument&)> change;
        Points expected; // the points left
    };
    const Case cases[] = {
        {"a point appended to a full curve",
         [&](CurveDocument& d) {
             d.replacePoints(full);
             d.appendPoint({-1, 1});
         },
         full},
        {"a batch appended to a nearly full curve",
         [&](CurveDocument& d) {
             d.replacePoints(along(MaxCurvePoints - 2));
             d.appendPoints(more);
         },
         [&] {
             Points p = along(MaxCurvePoints - 2);
             p.push_back(more[0]);
             p.push_back(more[1]);
             return p;
         }()},
        {"more points than the capacity replacing the curve", [&](CurveDocument& d) { d.replacePoints(more); }, full},
        {"the curve replaced by its own last points",
         [&](CurveDocument& d) {
             d.replacePoints(full);
             d.replacePoints(d.points().last(3));
         },
         {{1021, -1021}, {1022, -1022}, {1023, -1023}}},
        {"the curve replaced by its own points",
         [&](CurveDocument& d) {
             d.replacePoints(full);
             d.replacePoints(d.points());
         },
         full},
        {"a full snapshot restored over a shorter curve",
         [&](CurveDocument& d) {
             d.replacePoints(full);
             d.takeSnapshot();
             d.clearPoints();
             d.appendPoint({7, 7});
             d.restoreSnapshot();
         },
         full},
        {"points removed and set outside the curve",
         [&](CurveDocument& d) {
             d.replacePoints(along(2));
             d.removePoint(-1);
             d.removePoint(2);
             d.setPoint(-1, {9, 9});
             d.setPoint(2, {9, 9});
         },
         along(2)},
        {"a point removed from an empty curve", [&](CurveDocument& d) { d.removePoint(0); }, {}},
        {"the last point removed",
         [&](CurveDocument& d) {
             d.replacePoints(along(3));
             d.removePoint(2);
         },
         along(2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurveDocument doc;
        c.change(doc);
        ASSERT_EQ(doc.count(), static_cast<int>(c.expected.size()));
        EXPECT_EQ(pointsOf(doc), c.expected);
    }
}

TEST(CurveDocumentModified, WhatASaveWouldWriteCounts)
{
    struct Case {
        const char* what;
        void (*change)(CurveDocument&);
        const char* unitShown;
        bool modified;
    };
    const Case cases[] = {
        {"nothing", [](CurveDocument&) {}, "mm", false},
        {"a point moved, same count",
         [](CurveDocument& d) {
             d.setPoint(0, {7, 7});
         },
         "mm", true},
        {"one deleted, one added",
         [](CurveDocument& d) {
             d.removePoint(1);
             d.appendPoint({4, 4});
         },
         "mm", true},
        {"a point added",
         [](CurveDocument& d) {
             d.appendPoint({3, 3});
         },
         "mm", true},
        {"smoothing", [](CurveDocument& d) { d.smoothingMode = Akima; }, "mm", true},
        {"periodicity", [](CurveDocument& d) { d.periodic = 1; }, "mm", true},
        {"another unit shown", [](CurveDocument&) {}, "cm", true},
        {"changed and undone",
         [](CurveDocument& d) {
             d.takeSnapshot();
             d.setPoint(1, {2, 9});
             d.restoreSnapshot();
         },
         "mm", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurveDocument doc = documentWithX({1, 2});
        doc.unitName = "mm";
        doc.markSaved();
        c.change(doc);
        EXPECT_EQ(doc.isModified(c.unitShown), c.modified);
    }
}

TEST(CurveDocumentText, TruncationNeverSplitsACharacter)
{
    EXPECT_EQ(truncateUtf8("abcdefghijklmnopq", 15), "abcdefghijklmno");
    EXPECT_EQ(truncateUtf8("ééé", 2), "éé");
    EXPECT_EQ(truncateUtf8("mm", 15), "mm");
}

// The fast sort must leave exactly what the document's own procedure leaves, including
// which of several points of equal x survives.
TEST(PointNormalizer, GivesExactlyWhatNormalizePointsGives)
{
    std::mt19937 random(20020704);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    using Generator = std::function<Points(int)>;
    const std::vector<std::pair<const char*, Generator>> generators = {
        {"few x values, many ties",
         [&](int n) {
             Points p(n);
             for (auto& q : p)
                 q = {double(integer(0, 9)), double(integer(0, 1000))};
             return p;
         }},
        {"close x values, thinning",
         [&](int n) {
             Points p(n);
             for (auto& q : p)
                 q = {integer(0, 40) * 0.0003, uniform(-1, 1)};
             return p;
         }},
        {"a shifted copy before the sorted curve",
         [&](int n) {
             const int m = n / 2;
             Points curve(n - m);
             for (int i = 0; i < n - m; ++i)
                 curve[i] = {double(i / 2), uniform(-5, 5)};
             Points p;
             for (int i = 0; i < m; ++i)
                 p.push_back({curve[i].x + (integer(0, 2) == 0 ? 0.0 : 0.5), curve[i].y + 1});
             p.insert(p.end(), curve.begin(), curve.end());
             return p;
         }},
        {"a reversed piece before the sorted curve",
         [&](int n) {
             Points p(n);
             const int m = integer(0, n);
             for (int i = 0; i < m; ++i)
                 p[i] = {double(m - i - integer(0, 1)), uniform(0, 1)};
             for (int i = m; i < n; ++i)
                 p[i] = {double(i - m) + (integer(0, 3) == 0 ? 0.0002 : 0.0), uniform(0, 1)};
             return p;
         }},
        {"wavy pieces",
         [&](int n) {
             Points p(n);
             const double f = uniform(0.01, 0.5);
             for (int i = 0; i < n; ++i)
                 p[i] = {std::round(std::sin(i * f) * 50) / 4, double(i)};
             return p;
         }},
        {"one x value, signed zeros and infinities",
         [&](int n) {
             const double values[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(), 1.0};
             Points p(n);
             for (auto& q : p)
                 q = {values[integer(0, 4)], uniform(0, 1)};
             return p;
         }},
    };

    PointNormalizer normalizer;
    for (const auto& [name, generate] : generators) {
        SCOPED_TRACE(name);
        for (int trial = 0; trial < 300; ++trial) {
            const int n = trial < 20 ? trial : integer(0, MaxCurvePoints);
            Points expected = generate(n);
            Points actual = expected;
            const int expectedCount = normalizePoints(expected);
            const int actualCount = normalizer.normalize(actual);
            ASSERT_EQ(actualCount, expectedCount) << "n = " << n;
            expected.resize(expectedCount);
            actual.resize(actualCount);
            ASSERT_TRUE(sameBits(actual, expected)) << "n = " << n << ", trial " << trial;
        }
    }
}

TEST(PointNormalizer, LeavesANotANumberToTheDocumentsProcedure)
{
    Points expected{{3, 0}, {std::nan(""), 1}, {1, 2}, {1, 3}, {2, 4}};
    Points actual = expected;
    const int expectedCount = normalizePoints(expected);
    const int actualCount = PointNormalizer().normalize(actual);
    ASSERT_EQ(actualCount, expectedCount);
    expected.resize(expectedCount);
    actual.resize(actualCount);
    EXPECT_TRUE(sameBits(actual, expected));
}
