#pragma once

// Evaluation of typed numbers and of formula curves. Nothing here throws: the
// parser's exceptions stay inside core/formula.

#include "curve/CurvePoint.h"

#include <optional>
#include <string_view>
#include <vector>

// Texts of the formula dialog's failures.
inline constexpr std::string_view BoundsErrorMessage = "Bornes Incorrectes\nou trop de points";
inline constexpr std::string_view BoundsErrorCaption = "Erreur";
inline constexpr std::string_view SyntaxErrorMessage = "Erreur de syntaxe";
inline constexpr std::string_view AllocationErrorMessage = "Erreur allocation mémoire";
// When f(x) is defined nowhere on the interval (sqrt(x) over -2..-1): there is no
// point to preview, and "Erreur de syntaxe" would blame a formula that is correct.
inline constexpr std::string_view UndefinedFormulaMessage = "Formule non définie sur l'intervalle";

// A formula curve has at most this many steps, so at most 1025 points.
inline constexpr int MaxFormulaSteps = 1024;

// The text of a numeric field as an expression: numbers, "pi", "e", operators and
// functions, no variable, taken as typed (no change of case, so "PI" is not pi).
// An empty text is 0. A text the parser rejects gives no value. A value that is not
// finite (1/0, 1e308*10, 0/0) is a value: the bounds, the formula interval and the
// transformations refuse it with their own messages.
std::optional<double> evaluateNumberField(std::string_view text);

enum class FormulaFailure {
    None,
    ZeroIncrement, // increment 0: the dialog beeps, nothing else
    BadInterval,   // b = a, too many points, or a bound or step that is not finite: BoundsErrorMessage
    SyntaxError,   // any parser error, at compilation or at any x: SyntaxErrorMessage
    OutOfMemory,   // no storage for the points: AllocationErrorMessage
    NoFiniteValue, // f(x) is not finite at any x of the interval: UndefinedFormulaMessage
};

struct FormulaCurve {
    std::vector<CurvePoint> points; // empty unless failure is None
    FormulaFailure failure = FormulaFailure::None;
    int skippedCount = 0; // x values left out because f(x) was not finite
    bool ok() const { return failure == FormulaFailure::None; }
};

// Evaluates f(x) at x = i * increment + a for i = 0..n, where n is (b - a) / increment
// rounded to the nearest integer, halves up (0 when that is negative): the last x
// may stop short of b or pass it by up to half a step, and a > b needs a negative
// increment to produce more than the one point at a. The formula is read in lower
// case (SIN(X) is sin(x)); "x" is its one variable.
//
// Checks, in this order: increment 0 (ZeroIncrement); b = a, |b - a| / increment
// >= 1024, or (b - a) / increment >= 1024 (BadInterval; the last test holds back a
// reversed interval with a negative increment, which would otherwise ask for
// billions of points). Then any parser error fails the whole computation with no
// points. An x where f(x) is infinite or NaN (1/x at 0, log(x) for x < 0) is left
// out of the points and counted in skippedCount; the curve and its preview hold only
// finite values.
FormulaCurve evaluateFormula(std::string_view formula, double a, double b, double increment);
