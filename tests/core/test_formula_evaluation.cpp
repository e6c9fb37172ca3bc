#include "formula/CurveParser.h"
#include "formula/FormulaEvaluation.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> xsOf(const FormulaCurve& curve)
{
    std::vector<double> xs;
    for (const CurvePoint& p : curve.points)
        xs.push_back(p.x);
    return xs;
}

} // namespace

TEST(EvaluateNumberField, ExpressionsWithoutVariable)
{
    struct Case {
        std::string_view text;
        std::optional<double> expected;
    };
    for (const Case& c : {
             Case{"", 0.0},
             Case{"2.5", 2.5},
             Case{"-3", -3.0},
             Case{"1e-3", 0.001},
             Case{"sqrt(16) + 1", 5.0},
             Case{"2*PI", std::nullopt}, // taken as typed: PI is no name
             Case{"x", std::nullopt},
             Case{"1,5", std::nullopt},
             Case{" ", std::nullopt},
             Case{"abc", std::nullopt},
             Case{"1/0", Inf}, // a value: the caller refuses it with its message
             Case{"-fact(200)", -Inf},
             Case{"1e308*10", Inf},
             Case{"5 % 0", std::nullopt}, // the parser's error
             Case{std::string_view("1\0"
                                   "9",
                                   3),
                  std::nullopt},
         }) {
        EXPECT_EQ(evaluateNumberField(c.text), c.expected) << "'" << c.text << "'";
    }
    EXPECT_NEAR(evaluateNumberField("2*pi").value_or(0), 6.283185307179586, 1e-15);
    const std::optional<double> nan = evaluateNumberField("0/0");
    ASSERT_TRUE(nan.has_value()) << "not-a-number is typed, not rejected";
    EXPECT_TRUE(std::isnan(*nan));
}

TEST(EvaluateFormula, StepCountRoundsHalvesUp)
{
    struct Case {
        double a, b, inc;
        int count;
    };
    for (const Case& c : {
             Case{-1, 1, 0.5, 5},
             Case{0, 1, 0.4, 4}, // last x 1.2, beyond b
             Case{0, 1, 0.3, 4}, // last x 0.9, short of b
             Case{0, 1023.6, 1, 1025},
             Case{1, 0, 1, 1},     // reversed interval, positive step: only a
             Case{1, 0, -0.25, 5}, // reversed interval, negative step
             Case{0, 1, -0.25, 1},
             Case{0, 1, 1, 2},
         }) {
        SCOPED_TRACE(testing::Message() << c.a << ".." << c.b << " by " << c.inc);
        const FormulaCurve curve = evaluateFormula("x", c.a, c.b, c.inc);
        ASSERT_TRUE(curve.ok());
        ASSERT_EQ(static_cast<int>(curve.points.size()), c.count);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(curve.points[i].x, i * c.inc + c.a);
            EXPECT_EQ(curve.points[i].y, curve.points[i].x);
        }
    }
}

TEST(EvaluateFormula, SquareOnMinusOneToOne)
{
    const FormulaCurve curve = evaluateFormula("x^2", -1, 1, 0.5);
    ASSERT_TRUE(curve.ok());
    EXPECT_EQ(curve.points, (std::vector<CurvePoint>{{-1, 1}, {-0.5, 0.25}, {0, 0}, {0.5, 0.25}, {1, 1}}));
    EXPECT_EQ(curve.skippedCount, 0);
}

TEST(EvaluateFormula, RefusedIntervals)
{
    struct Case {
        const char* formula;
        double a, b, inc;
        FormulaFailure failure;
    };
    for (const Case& c : {
             Case{"x", 0, 1, 0, FormulaFailure::ZeroIncrement},
             Case{"y+1", 0, 0, 0, FormulaFailure::ZeroIncrement}, // checked first
             Case{"x", 0, 1024, 1, FormulaFailure::BadInterval},
             Case{"x", 0, -1024, -1, FormulaFailure::BadInterval},
             Case{"x", 1e6, 0, -1e-3, FormulaFailure::BadInterval}, // a billion points
             Case{"x", 2, 2, 1, FormulaFailure::BadInterval},
             Case{"y+1", 2, 2, 1, FormulaFailure::BadInterval}, // before the formula
             Case{"x", NaN, 1, 1, FormulaFailure::BadInterval},
             Case{"x", 0, Inf, 1, FormulaFailure::BadInterval},
             Case{"x", 0, 1, NaN, FormulaFailure::BadInterval},
             Case{"x", -1e308, 1e308, 1e306, FormulaFailure::BadInterval}, // b - a overflows
             Case{"x", 0, 1, 1e-320, FormulaFailure::BadInterval},
         }) {
        SCOPED_TRACE(testing::Message() << c.a << ".." << c.b << " by " << c.inc);
        const FormulaCurve curve = evaluateFormula(c.formula, c.a, c.b, c.inc);
        EXPECT_EQ(curve.failure, c.failure);
        EXPECT_TRUE(curve.points.empty());
    }
}

TEST(EvaluateFormula, FormulaIsReadInLowerCase)
{
    const FormulaCurve upper = evaluateFormula("SIN(X) + PI", 0, 1, 0.25);
    const FormulaCurve lower = evaluateFormula("sin(x) + pi", 0, 1, 0.25);
    ASSERT_TRUE(upper.ok());
    EXPECT_EQ(upper.points, lower.points);
}

TEST(EvaluateFormula, ParserErrorsFailTheWholeComputation)
{
    for (const char* formula : {"y+1", "", "sin(x", "x,1", "1 % x", "fact(x)"}) {
        const FormulaCurve curve = evaluateFormula(formula, -1, 1, 0.5);
        EXPECT_EQ(curve.failure, FormulaFailure::SyntaxError) << "'" << formula << "'";
        EXPECT_TRUE(curve.points.empty());
    }
}

TEST(EvaluateFormula, UndefinedValuesAreLeftOut)
{
    const FormulaCurve inverse = evaluateFormula("1/x", -1, 1, 0.5);
    ASSERT_TRUE(inverse.ok());
    EXPECT_EQ(xsOf(inverse), (std::vector<double>{-1, -0.5, 0.5, 1}));
    EXPECT_EQ(inverse.skippedCount, 1);

    const FormulaCurve root = evaluateFormula("sqrt(x)", -2, 2, 1);
    ASSERT_TRUE(root.ok());
    EXPECT_EQ(xsOf(root), (std::vector<double>{0, 1, 2}));

    const FormulaCurve nowhere = evaluateFormula("ln(x)", -2, -1, 0.5);
    EXPECT_EQ(nowhere.failure, FormulaFailure::NoFiniteValue);
    EXPECT_TRUE(nowhere.points.empty());
    EXPECT_EQ(nowhere.skippedCount, 3);
}

TEST(EvaluateFormula, ConstantAndRandomFormulas)
{
    const FormulaCurve constant = evaluateFormula("3", 0, 1, 1);
    EXPECT_EQ(constant.points, (std::vector<CurvePoint>{{0, 3}, {1, 3}}));

    resetFormulaRandom();
    const FormulaCurve noise = evaluateFormula("rand(0, 32767)", 0, 2, 1);
    EXPECT_EQ(noise.points, (std::vector<CurvePoint>{{0, 41}, {1, 18467}, {2, 6334}}));
}

TEST(EvaluateFormula, AssignmentMovesThePoint)
{
    const FormulaCurve curve = evaluateFormula("x = 2*x", 1, 2, 1);
    EXPECT_EQ(curve.points, (std::vector<CurvePoint>{{2, 2}, {4, 4}}));
}
