#include "formula/FormulaEvaluation.h"

#include "formula/CurveParser.h"

#include <muParserError.h>

#include <cmath>
#include <exception>
#include <new>
#include <string>

namespace {

std::string asciiLowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Number of steps, or -1 when the interval is refused.
int stepCount(double a, double b, double increment)
{
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(increment))
        return -1;
    const double span = b - a;
    const double steps = span / increment;
    if (span == 0.0 || !std::isfinite(steps))
        return -1;
    if (std::fabs(span) / increment >= MaxFormulaSteps || steps >= MaxFormulaSteps)
        return -1;
    const double rounded = steps + 0.5;
    return rounded > 0.0 ? static_cast<int>(rounded) : 0;
}

} // namespace

std::optional<double> evaluateNumberField(std::string_view text)
{
    if (text.empty())
        return 0.0;
    try {
        CCurveParser parser;
        parser.SetExpr(std::string(text));
        // 1/0 is a value the user typed: the caller refuses what it cannot use, with
        // its own message, rather than carrying on silently with the field's old value.
        return parser.Eval();
    } catch (const mu::ParserError&) {
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

FormulaCurve evaluateFormula(std::string_view formula, double a, double b, double increment)
{
    FormulaCurve result;
    if (increment == 0.0) {
        result.failure = FormulaFailure::ZeroIncrement;
        return result;
    }
    const int steps = stepCount(a, b, increment);
    if (steps < 0) {
        result.failure = FormulaFailure::BadInterval;
        return result;
    }

    try {
        result.points.reserve(static_cast<std::size_t>(steps) + 1);

        double x = 0.0;
        CCurveParser parser;
        parser.ClearVar();
        parser.DefineVar("x", &x);
        parser.SetExpr(asciiLowerCase(formula));
        for (int i = 0; i <= steps; ++i) {
            x = i * increment + a;
            const double y = parser.Eval();
            // The point takes x as the evaluation left it: "x=..." in the formula moves it.
            if (std::isfinite(y) && std::isfinite(x))
                result.points.push_back({x, y});
            else
                ++result.skippedCount;
        }
    } catch (const std::bad_alloc&) {
        result.points.clear();
        result.failure = FormulaFailure::OutOfMemory;
        return result;
    } catch (const mu::ParserError&) {
        result.points.clear();
        result.failure = FormulaFailure::SyntaxError;
        return result;
    } catch (const std::exception&) {
        result.points.clear();
        result.failure = FormulaFailure::SyntaxError;
        return result;
    }

    if (result.points.empty())
        result.failure = FormulaFailure::NoFiniteValue;
    return result;
}
