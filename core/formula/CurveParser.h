#pragma once

// The expression language of formulas and numeric fields, on muParser.
//
// Debian's muParser is the narrow build: mu::string_type is std::string, so
// expressions are UTF-8 text; anything outside ASCII is simply not part of the
// language and gives a parser error.
//
// Everything here may throw mu::ParserError. Code outside core/formula does not use
// this class: it goes through FormulaEvaluation.h, which catches every exception.

#include <muParserBase.h>

#include <string>

// A parser object that knows exactly our vocabulary: the numbers, the constants
// "pi" and "e", the operators and the functions of the formula language, nothing
// else (none of muParser's own defaults such as _pi or _e).
class CCurveParser : public mu::ParserBase {
public:
    CCurveParser();

    // Checks the text for the few constructions that muParser 2.3 accepts beyond our
    // language ("&&", "||", "? :") and hands it over. Hides ParserBase::SetExpr on
    // purpose: always set the expression through this class.
    void SetExpr(const std::string& expression);

    // Evaluates the expression. muParser would also accept several comma-separated
    // expressions and return the last value, which would turn "1,5" typed with a
    // French decimal comma into 5: here that is an error, as a comma only separates
    // function arguments. Hides ParserBase::Eval on purpose.
    double Eval() const;

protected:
    void InitCharSets() override;
    void InitFun() override;
    void InitConst() override;
    void InitOprt() override;
};

// Operator priorities on muParser 2.3's scale (a higher value binds more tightly).
// "%", "&" and "|" sit below everything (even below its "||" at 1); "and", "or" and
// "xor" share one level between those and the comparisons; the prefix "-" and "!"
// sit with multiplication, below power, so -2^2 is -4.
inline constexpr unsigned IntegerOperatorPriority = 0;
inline constexpr unsigned LogicalOperatorPriority = mu::prLOGIC;
inline constexpr int PrefixOperatorPriority = mu::prINFIX;

// Highest Bessel order that jn and yn accept: the C library's recurrence costs time
// proportional to the order, and an order of two billion would hold the program for
// many seconds per value. A thousand keeps a formula full of jn terms over a whole
// curve well under a second.
inline constexpr int MaxBesselOrder = 1000;

// rand(a, b) draws from the C run-time library's 15-bit generator, emulated so that
// every platform draws the same numbers: one sequence for the whole process, never
// seeded, starting from state 1 as the library does. Tests restart it here.
void resetFormulaRandom();

// The next value (0..32767) of that sequence.
int nextFormulaRandom();
