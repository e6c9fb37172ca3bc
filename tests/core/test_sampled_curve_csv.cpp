#include "output/SampledCurveCsv.h"
#include "text/NumberText.h"
#include "view/SmoothCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The numbers of each line after the header, each read back whole.
std::vector<std::vector<double>> rowsOf(const std::string& csv)
{
    std::vector<std::string> lines = split(csv, '\n');
    EXPECT_EQ(lines.front(), SampledCurveCsvHeader);
    EXPECT_EQ(lines.back(), ""); // the last line ends with LF too
    std::vector<std::vector<double>> rows;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        std::vector<double> row;
        for (const std::string& field : split(lines[i], ',')) {
            double value = 0.0;
            EXPECT_EQ(parseDecimalPrefix(field, value), field.size()) << field;
            row.push_back(value);
        }
        EXPECT_EQ(row.size(), 5u) << lines[i];
        rows.push_back(row);
    }
    return rows;
}

const std::vector<CurvePoint> Came = {{0.0, 0.0}, {0.7, 1.3}, {1.1, 2.9}, {2.5, 3.1}, {3.0, 0.4}, {4.2, -1.7}};

TEST(SampledCurveCsv, EachLineHoldsTheSmoothingsOwnValuesForEveryMode)
{
    struct Case {
        const char* name;
        SmoothingMode mode;
    };
    const Case cases[] = {
        {"segments", Aucun},
        {"cubic spline", Cubique},
        {"Akima", Akima},
        {"Fritsch-Carlson", Carlson},
        {"a mode beyond the four joins by segments", static_cast<SmoothingMode>(7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::vector<double>> rows = rowsOf(sampledCurveCsv(Came, c.mode));
        const SmoothedCurve derived = smoothCurve(Came, c.mode, Derivative1 | Derivative2);
        const SmoothedCurve integrated = smoothCurve(Came, c.mode, Integral);
        ASSERT_EQ(rows.size(), std::size_t(SmoothSubSteps * (Came.size() - 1) + 1));
        ASSERT_EQ(derived.sampleCount(), int(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(sameBits(rows[i][0], derived.samples[i].x));
            EXPECT_TRUE(sameBits(rows[i][1], derived.samples[i].y));
            EXPECT_TRUE(sameBits(rows[i][2], derived.firstDerived[i]));
            EXPECT_TRUE(sameBits(rows[i][3], derived.secondDerived[i]));
            EXPECT_TRUE(sameBits(rows[i][4], integrated.firstDerived[i]));
        }
        EXPECT_TRUE(sameBits(rows.back()[0], Came.back().x));
        EXPECT_TRUE(sameBits(rows.back()[1], Came.back().y));
    }
}

TEST(SampledCurveCsv, FewerThanTwoPointsGiveThePointsWithZeros)
{
    struct Case {
        const char* name;
        std::vector<CurvePoint> points;
        std::string csv;
    };
    const Case cases[] = {
        {"no point: the header alone", {}, "x,y,dy/dx,d2y/dx2,integral\n"},
        {"one point", {{1.5, -0.25}}, "x,y,dy/dx,d2y/dx2,integral\n1.5,-0.25,0,0,0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sampledCurveCsv(c.points, Carlson), c.csv);
    }
}

TEST(SampledCurveCsv, NumbersTakeTheFewestDigitsThatReadBackTheSameDouble)
{
    struct Case {
        const char* name;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"a short decimal stays short", 0.1, "0.1"},
        {"a whole number has no point", 42.0, "42"},
        {"negative zero keeps its sign", -0.0, "-0"},
        {"a third needs 16 digits", 1.0 / 3.0, "0.3333333333333333"},
        {"a sum off by one bit needs 17", 0.1 + 0.2, "0.30000000000000004"},
        {"a tiny number in e-notation", 1e-300, "1e-300"},
        {"the largest double needs 17, 16 would overflow", 1.7976931348623157e308, "1.7976931348623157e+308"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = roundTripNumber(c.value);
        double back = 0.0;
        EXPECT_EQ(parseDecimalPrefix(text, back), text.size());
        EXPECT_TRUE(sameBits(back, c.value)) << text;
        EXPECT_EQ(text, c.text);
    }
}

} // namespace
