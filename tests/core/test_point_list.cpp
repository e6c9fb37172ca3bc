#include "curve/PointList.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A document of `points`, saved as it is.
CurveDocument documentWith(const std::vector<CurvePoint>& points)
{
    CurveDocument doc = documentOf(points);
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

// The columns show the line's own texts, and the widest texts of a column cover every
// field whatever the widths of the characters: each table of widths (5 for the
// characters it leaves out) makes another digit or sign the widest.
TEST(PointList, ColumnsShowTheLineTextsAndNoFieldIsWiderThanTheWidestTexts)
{
    const CPointList full(documentOfSize(MaxCurvePoints));
    const CPointList extremes(
        documentWith({{-1.7976931348623157e308, -3.7561234e-05}, {2.2250738585072014e-308, 9e99}}));
    std::vector<PointLineFields> shown;
    for (int i : {0, 7, 1023})
        shown.push_back(full.lineFields(i));
    for (int i : {0, 1})
        shown.push_back(extremes.lineFields(i));
    EXPECT_EQ(shown[2], (PointLineFields{"1023", "+1.023e+003", "-1.023e+003"}));
    EXPECT_EQ(shown[3], (PointLineFields{"000", "-1.798e+308", "-3.756e-005"}));
    for (int i : {0, 1}) {
        std::istringstream words(extremes.lineText(i));
        PointLineFields line;
        for (std::string& word : line)
            words >> word;
        EXPECT_EQ(extremes.lineFields(i), line) << i;
    }
    EXPECT_EQ(full.lineFields(MaxCurvePoints), PointLineFields{}) << "past the last point";

    const std::vector<std::map<char, int>> fonts = {
        {{'1', 9}},
        {{'8', 12}, {'.', 1}},
        {{'-', 30}, {'+', 1}},
        {{'+', 30}, {'-', 1}, {'0', 7}},
    };
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        const auto width = [&](const std::string& text) {
            int w = 0;
            for (char ch : text)
                w += fonts[f].contains(ch) ? fonts[f].at(ch) : 5;
            return w;
        };
        for (std::size_t c = 0; c < PointListColumnCount; ++c) {
            int widest = 0;
            for (const std::string& text : widestColumnTexts(static_cast<PointListColumn>(c)))
                widest = std::max(widest, width(text));
            for (const PointLineFields& fields : shown)
                EXPECT_LE(width(fields[c]), widest) << "font " << f << ": " << fields[c];
        }
    }
}

TEST(PointList, ColumnsTakeTheirWidestTextAndShareOutTheRoomLeft)
{
    using Widths = std::array<int, PointListColumnCount>;
    struct Case {
        const char* what;
        Widths field, heading;
        int room, minGap;
        PointListColumns expected;
    } cases[] = {
        {"room to spare", {20, 60, 60}, {15, 10, 10}, 200, 6, {{10, 50, 130}, {20, 60, 60}, {10, 50, 130}, 0}},
        {"a heading wider than its fields",
         {20, 60, 60},
         {15, 90, 10},
         200,
         6,
         {{5, 35, 135}, {20, 90, 60}, {5, 50, 135}, 0}},
        {"too little room", {30, 80, 80}, {10, 10, 10}, 150, 10, {{5, 45, 135}, {30, 80, 80}, {5, 45, 135}, 70}},
        {"no room at all", {30, 80, 80}, {10, 10, 10}, -4, 0, {{0, 30, 110}, {30, 80, 80}, {0, 30, 110}, 194}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layoutPointListColumns(c.field, c.heading, c.room, c.minGap), c.expected) << c.what;
}

TEST(PointList, TypedNumbersArePlainDecimalsOfFifteenCharacters)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"", 0},           {"pi", 0},      {"2*3", 2},   {"1,5", 1},
                 {"  -2.5e1", -25}, {"-.5x", -0.5}, {"1e999", 0}, {"123456789012345678", 123456789012345.0}};
    for (const Case& c : cases)
        EXPECT_EQ(readPointField(c.text), c.value) << c.text;
}

TEST(PointList, OpeningSortsAndThinsTheCopyAndOkWritesItBack)
{
    CurveDocument doc = documentWith({{3, 30}, {1.0003, 2}, {-1, -10}, {1.0, 1}, {1.0006, 3}});
    CPointList list(doc);
    const std::vector<CurvePoint> sorted{{-1, -10}, {1.0003, 2}, {1.0006, 3}, {3, 30}};
    EXPECT_EQ(pointsOf(list), sorted);
    EXPECT_EQ(doc.points()[0], (CurvePoint{3, 30}));
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
              (UserMessage{"Limite des points atteinte\nImpossible d'inserer un point", "Attention", MessageButtons::Ok,
                           MessageIcon::Warning, MessageOwner::Dialog}));
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
        EXPECT_EQ(doc.count(), ok ? 0 : 2);
    }
}

TEST(PointList, FileReadChangesTheDocumentSettingsEvenWhenTheListIsDropped)
{
    struct Case {
        const char* data;
        const char* name; // the reader is chosen by ".crb" in any case
        int read;
        std::vector<CurvePoint> listed;
        SmoothingMode smoothingMode;
        const char* unit;
    } cases[] = {
        {"current.crb", "CURVE.CRB", 3, {{0, 0}, {1.5, -2.25}, {3, 4.125}}, Akima, "mm"},
        {"mixed.txt", "Points.TXT", 6, {{-15, 2.5}, {0, 0}, {0.5, 0.25}, {1, 2}, {3, 4}}, Aucun, "m"},
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
        }                                        // dropped, as "&Arrêt" does
        EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{7, 7}}));
        EXPECT_EQ(doc.filePath, path); // the real name
        EXPECT_EQ(doc.smoothingMode, c.smoothingMode);
        EXPECT_EQ(doc.unitName, c.unit);
        EXPECT_EQ(doc.savedCount(), c.read);
        EXPECT_TRUE(doc.isModified());
    }
    fs::remove_all(dir);
}
