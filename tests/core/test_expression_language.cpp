#include "formula/CurveParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <muParserError.h>

#include <clocale>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <locale>
#include <optional>
#include <string>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Pi = 3.141592653589793;

// Evaluates with the one variable x, as the formula dialog does; no value on error.
std::optional<double> evaluate(const std::string& expression, double xValue = 0.0)
{
    try {
        double x = xValue;
        CCurveParser parser;
        parser.DefineVar("x", &x);
        parser.SetExpr(expression);
        return parser.Eval();
    } catch (const mu::ParserError&) {
        return std::nullopt;
    }
}

::testing::AssertionResult near(double expected, double actual)
{
    if (expected == actual || (std::isnan(expected) && std::isnan(actual)))
        return ::testing::AssertionSuccess();
    const double scale = std::fmax(1.0, std::fabs(expected));
    if (std::fabs(expected - actual) <= 1e-12 * scale)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

struct ValueCase {
    const char* expression;
    double expected;
};

void expectValues(std::initializer_list<ValueCase> cases, double x = 0.0)
{
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.expression);
        const std::optional<double> value = evaluate(c.expression, x);
        ASSERT_TRUE(value.has_value());
        EXPECT_TRUE(near(c.expected, *value));
    }
}

} // namespace

TEST(ExpressionLanguage, DefinitionsThatDifferFromMuParser)
{
    expectValues({
        {"log(100)", 4.605170185988092},
        {"ln(100)", 4.605170185988092},
        {"log10(100)", 2},
        {"!0", 1},
        {"!2.5", 0},
        {"if(2, 5, 6)", 6},
        {"if(1, 5, 6)", 5},
        {"if(0.9999999, 5, 6)", 6},
        {"round(2.2)", 2.7},
        {"round(-2.2)", -2.7},
        {"round(0)", 0.5},
        {"rint(2.5)", 3},
        {"rint(-2.5)", -2},
        {"fact(5)", 120},
        {"fact(5.9)", 120},
        {"fact(0)", 1},
        {"fact(0.5)", 1},
        {"pi", Pi},
        {"e", 2.718281828459045},
        {"2*pi", 2 * Pi},
        {"1e-3", 0.001},
        {".5", 0.5},
        {"2.5e+2", 250},
    });
}

TEST(ExpressionLanguage, Priorities)
{
    expectValues(
        {
            {"-2^2", -4},
            {"-x^2", -9},
            // 7 % 4, 5 % 4, then left to right
            {"7 % 3 + 1", 3},
            {"5 % 3 + 1", 1},
            {"10 % 4 % 3", 2},
            {"2 | 4 * 1", 6},
            {"6 | 1 + 1", 6},
            {"3 & 5", 1},
            // the same level: (12 & 10) | 1, then (1 < 2) % 2
            {"12 & 10 | 1", 9},
            {"1 < 2 % 2", 1},
            // and, or, xor share one level
            {"1 or 0 and 0", 0},
            {"0 and 0 or 1", 1},
            {"1 xor 1 or 1", 1},
            // arithmetic, then comparisons, before the logical operators
            {"1 + 1 xor 2", 0},
            {"1 and 2 == 2", 1},
            {"2 < 3 + 1", 1},
            {"1 + 2 * 3", 7},
            {"2 * 3 ^ 2", 18},
            {"!0 + 1", 2},
            {"2 - -3", 5},
            {"2 * -3", -6},
            {"x = 7 % 4", 3},
        },
        3.0);
}

TEST(ExpressionLanguage, OperatorResults)
{
    expectValues({
        {"-7 % 3", -1}, // remainder of the truncated operands, sign of the left one
        {"7.9 % 3.9", 1},
        {"-2147483648 % -1", 0}, // would trap in integer arithmetic
        {"3 and 0.5", 1},
        {"0 or 0", 0},
        {"2 xor 0", 1},
        {"2 xor 3", 0},
        {"2 <= 2", 1},
        {"2 >= 3", 0},
        {"2 != 2", 0},
        {"2 == 2", 1},
        {"3 > 2", 1},
        {"-1 | 0", -1},
    });
}

TEST(ExpressionLanguage, EveryFunction)
{
    expectValues({
        {"sin(pi/2)", 1},
        {"cos(0)", 1},
        {"tan(pi/4)", 1},
        {"asin(1)", Pi / 2},
        {"acos(1)", 0},
        {"atan(1)", Pi / 4},
        {"sinh(1)", 1.1752011936438014},
        {"cosh(1)", 1.5430806348152437},
        {"tanh(1)", 0.7615941559557649},
        {"asinh(1)", 0.881373587019543},
        {"acosh(2)", 1.3169578969248166},
        {"atanh(0.5)", 0.5493061443340549},
        {"log2(8)", 3},
        {"exp(1)", 2.718281828459045},
        {"sqrt(16)", 4},
        {"sign(-3)", -1},
        {"sign(0)", 0},
        {"sign(0.1)", 1},
        {"abs(-3)", 3},
        {"sum(1, 2, 3)", 6},
        {"sum(4)", 4},
        {"avg(1, 2, 6)", 3},
        {"min(3, 1, 2)", 1},
        {"max(3, 1, 2)", 3},
        {"rad(180)", Pi},
        {"deg(pi)", 180},
        {"sqr(-3)", 9},
        {"ceil(1.2)", 2},
        {"floor(-1.2)", -2},
        {"j0(1)", 0.7651976865579666},
        {"j1(1)", 0.44005058574493355},
        {"jn(2, 1)", 0.11490348493190049},
        {"jn(2.9, 1)", 0.11490348493190049},      // order truncated
        {"jn(1000, 1000) - jn(1000, 1000)", 0.0}, // the highest order is accepted
        {"y0(1)", 0.08825696421567697},
        {"y1(1)", -0.7812128213002887},
        {"yn(2, 1)", -1.6506826068162546},
        // Outside their domain the Y functions answer as the C library of Linux does on
        // every platform: not a number below 0, an infinity at 0.
        {"y0(-1)", NaN},
        {"y1(-0.5)", NaN},
        {"yn(2, -1)", NaN},
        {"y0(0)", -Inf},
        {"y1(0)", -Inf},
        {"yn(2, 0)", -Inf},
        {"yn(-1, 0)", Inf}, // an odd negative order changes the sign
        {"yn(-2, 0)", -Inf},
    });
}

TEST(ExpressionLanguage, LargeFactorialsOverflowToInfinity)
{
    EXPECT_TRUE(near(7.257415615307994e306, evaluate("fact(170)").value_or(0)));
    EXPECT_EQ(evaluate("fact(171)").value_or(0), Inf);
    EXPECT_EQ(evaluate("fact(1e300)").value_or(0), Inf);
}

TEST(ExpressionLanguage, ErrorsAreParserErrors)
{
    for (const char* expression : {
             "_pi",
             "_e",
             "PI",
             "y+1",
             "foo(1)",
             "sum()",
             "avg()",
             "min()",
             "max()",
             "sin(1, 2)",
             "1,5",
             "2,5*x",
             "(1,2)",
             "max(1, 2), 3", // a comma is never a decimal separator
             "",
             "   ",
             "+2",
             "- -2",
             "2e",
             "1e999",
             "1 2",
             "\xc3\xa9",
             "1 # 2",
             "\"text\"",
             "1 && 1",
             "1 || 0",
             "1 ? 2 : 3", // muParser's own, not ours
             "1 % 0",
             "1 % 0.5",
             "1 % x",
             "1e300 % 2",
             "2 & 1e10",
             "1 | (0/0)",
             "fact(-1)",
             "fact(-0.5)",
             "fact(0/0)",
             "jn(1e6, 1)",
             "yn(-1e6, 1)",
             "jn(0/0, 1)",
             "jn(1001, 1)",
             "yn(-1001, 1)", // orders whose recurrence would hold the window
         }) {
        EXPECT_FALSE(evaluate(expression).has_value()) << "'" << expression << "'";
    }
}

TEST(ExpressionLanguage, VariableAndAssignment)
{
    double x = 3;
    CCurveParser parser;
    parser.DefineVar("x", &x);
    parser.SetExpr("x = x + 1");
    EXPECT_EQ(parser.Eval(), 4);
    EXPECT_EQ(x, 4);
    parser.SetExpr("x^2");
    x = -2;
    EXPECT_EQ(parser.Eval(), 4);
}

TEST(ExpressionLanguage, RandomSequenceOfTheRunTimeLibrary)
{
    resetFormulaRandom();
    CCurveParser parser;
    parser.SetExpr("rand(0, 32767)"); // never folded: a new value at every evaluation
    EXPECT_EQ(parser.Eval(), 41);
    EXPECT_EQ(parser.Eval(), 18467);
    EXPECT_EQ(parser.Eval(), 6334);
    EXPECT_EQ(parser.Eval(), 26500);

    resetFormulaRandom();
    parser.SetExpr("rand(1, 3)");
    EXPECT_TRUE(near(1 + 41.0 / 32767 * 2, parser.Eval()));
    EXPECT_EQ(nextFormulaRandom(), 18467); // one sequence shared with every parser
}

TEST(ExpressionLanguage, NumbersIgnoreTheCommaDecimalLocale)
{
    std::optional<double> point, comma, argument;
    {
        CommaDecimalLocale french;
        ASSERT_FALSE(french.name().empty()) << "no French locale on this machine";
        point = evaluate("2.5 + 1e-1");
        comma = evaluate("2,5");
        argument = evaluate("max(2,5)");
    }
    ASSERT_TRUE(point.has_value());
    EXPECT_TRUE(near(2.6, *point));
    EXPECT_FALSE(comma.has_value());
    EXPECT_EQ(argument.value_or(0), 5);
}
