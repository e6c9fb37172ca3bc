#include "curve/PointList.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

CurveDocument documentWith(std::vector<CurvePoint> points)
{
    CurveDocument doc;
    doc.appendPoints(points);
    doc.markSaved();
    return doc;
}

CurveDocument documentOfSize(int n)
{
    std::vector<CurvePoint> points;
    for (int i = 0; i < n; ++i)
        points.push_back({double(i), double(-i)});
    return documentWith(points);
}

std::vector<CurvePoint> pointsOf(const CPointList& list)
{
    return {list.points().begin(), list.points().end()};
}

} // namespace

TEST(PointList, LinesAndCountShowThreeDigitNumbersAndExponents)
{
    struct Case {
        CurvePoint p;
        const char* line;
    } cases[] = {
        {{12.5, -0.03}, " 000       +1.250e+001         -3.000e-002"},
        {{-1234.5678, 1e100}, " 000       -1.235e+003         +1.000e+100"},
        {{1e-300, -9.99999}, " 000       +1.000e-300         -1.000e+001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPointList(documentWith({c.p})).lineText(0), c.line);
    CPointList full(documentOfSize(MaxCurvePoints));
    EXPECT_EQ(full.lineTexts().at(7), " 007       +7.000e+000         -7.000e+000");
    EXPECT_EQ(full.lineTexts().at(1023), " 1023       +1.023e+003         -1.023e+003");
    EXPECT_EQ(full.countText(), "1024 Points");
    EXPECT_EQ(CPointList(documentOfSize(7)).countText(), "007 Points");
}

TEST(PointList, TypedNumbersArePlainDecimalsOfFifteenCharacters)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"", 0},         {"pi", 0},        {"2*3", 2},       {"1,5", 1},
                 {"  -2.5e1", -25}, {"-.5x", -0.5},  {"1e999", 0},     {"123456789012345678", 123456789012345.0}};
    for (const Case& c : cases)
        EXPECT_EQ(readPointField(c.text), c.value) << c.text;
}

TEST(PointList, OpeningSortsAndThinsTheCopyAndOkWritesItBack)
{
    CurveDocument doc = documentWith({{3, 30}, {1.0003, 2}, {-1, -10}, {1.0, 1}, {1.0006, 3}});
    CPointList list(doc);
    const std::vector<CurvePoint> sorted{{-1, -10}, {1.0003, 2}, {1.0006, 3}, {3, 30}};
    EXPECT_EQ(pointsOf(list), sorted);
    EXPECT_EQ(doc.points[0], (CurvePoint{3, 30}));
    list.writeBack(doc);
    EXPECT_EQ(pointsOf(doc), sorted);
}

TEST(PointList, ModifyWithTheSelectedLineTextsRoundsToFourDigits)
{
    CPointList list(documentWith({{5, 5}, {1.23456, -0.000987654}}));
    const std::optional<PointFieldTexts> fields = list.fieldTexts(0);
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields, (PointFieldTexts{"+1.235e+000", "-9.877e-004"}));
    EXPECT_FALSE(list.fieldTexts(NoSelectedLine));
    list.modify(0, fields->x, fields->y);
    EXPECT_EQ(pointsOf(list), (std::vector<CurvePoint>{{1.235, -0.0009877}, {5, 5}}));
}

TEST(PointList, InsertIsRefusedOnlyAtTheCapacity)
{
    CPointList list(documentOfSize(MaxCurvePoints - 1));
    EXPECT_FALSE(list.insert("-1", "1"));
    EXPECT_EQ(list.points().front(), (CurvePoint{-1, 1}));
    const std::vector<CurvePoint> full = pointsOf(list);
    EXPECT_EQ(list.insert("-2", "1"),
              (UserMessage{"Limite des points atteinte\nImpossible d'inserer un point", "Attention",
                           MessageButtons::Ok, MessageIcon::Warning, MessageOwner::Dialog}));
    EXPECT_EQ(pointsOf(list), full);
}

TEST(PointList, FormulaPointsAreAppendedAsFarAsTheyFit)
{
    struct Case {
        int listed, computed, kept;
    } cases[] = {{1020, 50, 4}, {1024, 3, 0}, {0, 50, 50}};
    for (const Case& c : cases) {
        CPointList list(documentOfSize(c.listed));
        std::vector<CurvePoint> computed;
        for (int i = 0; i < c.computed; ++i)
            computed.push_back({-1.0 - i, double(i)});
        EXPECT_EQ(list.appendFormulaPoints(computed), c.kept);
        EXPECT_EQ(list.listCount(), c.listed + c.kept);
        // The first ones are kept, and sorted in.
        if (c.kept > 0) {
            EXPECT_EQ(list.points().front(), (CurvePoint{-double(c.kept), double(c.kept - 1)}));
        }
    }
}

TEST(PointList, EmptyingReachesTheDocumentOnlyOnOk)
{
    for (bool ok : {true, false}) {
        CurveDocument doc = documentOfSize(2);
        CPointList list(doc);
        list.empty();
        EXPECT_EQ(list.countText(), "000 Points");
        if (ok)
            list.writeBack(doc);
        EXPECT_EQ(doc.count, ok ? 0 : 2);
    }
}

TEST(PointList, FileReadChangesTheDocumentSettingsEvenWhenTheListIsDropped)
{
    struct Case {
        const char* data;
        const char* name; // the reader is chosen by ".crb" in any case
        int read;
        std::vector<CurvePoint> listed;
        int smoothingMode;
        const char* unit;
    } cases[] = {
        {"current.crb", "CURVE.CRB", 3, {{0, 0}, {1.5, -2.25}, {3, 4.125}}, 2, "mm"},
        {"mixed.txt", "Points.TXT", 6, {{-15, 2.5}, {0, 0}, {0.5, 0.25}, {1, 2}, {3, 4}}, 0, "m"},
    };
    const fs::path dir = fs::temp_directory_path() / "crbedit-point-list-test";
    for (const Case& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string path = (dir / c.name).string();
        fs::copy_file(fs::path(CRB_TEST_DATA) / c.data, path);
        CurveDocument doc = documentWith({{7, 7}});
        doc.unitName = "m";
        {
            CPointList list(doc);
            EXPECT_FALSE(list.readFile(path, doc));
            EXPECT_EQ(pointsOf(list), c.listed); // sorted and thinned
        } // dropped, as "&Arrêt" does
        EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{7, 7}}));
        EXPECT_EQ(doc.filePath, path); // the real name
        EXPECT_EQ(doc.smoothingMode, c.smoothingMode);
        EXPECT_EQ(doc.unitName, c.unit);
        EXPECT_EQ(doc.savedCount, c.read);
        EXPECT_TRUE(doc.isModified());
    }
    fs::remove_all(dir);
}
