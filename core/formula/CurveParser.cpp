#include "formula/CurveParser.h"

#include <muParserError.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <locale>
#include <sstream>
#include <string_view>

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double E = 2.718281828459045;

// Above 170! a double overflows; the loop would only multiply infinities.
constexpr int LargestFiniteFactorial = 170;

std::uint32_t randomState = 1;

[[noreturn]] void fail(const char* why)
{
    throw mu::ParserError(std::string(why));
}

// Truncation toward zero to a signed 32-bit integer. A value that has no such
// integer (NaN, infinity, beyond +-2^31) is an error rather than undefined behaviour.
int toInt32(double v, const char* what)
{
    if (!(v > -2147483649.0 && v < 2147483648.0))
        fail(what);
    return static_cast<int>(v);
}

// Number literals: one double taken from the text by a classic-locale stream, so "."
// is the decimal separator whatever the user's locale, and a comma ends the number
// (it separates function arguments). A sign is never part of the literal: "-" is an
// operator. A number too large for a double does not read.
int readNumber(const char* text, int* position, double* value)
{
    const char first = text[0];
    if (!((first >= '0' && first <= '9') || first == '.'))
        return 0;
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double v = 0.0;
    in >> v;
    if (in.fail())
        return 0;
    const std::streamoff used =
        in.eof() ? static_cast<std::streamoff>(std::strlen(text)) : static_cast<std::streamoff>(in.tellg());
    if (used <= 0)
        return 0;
    *position += static_cast<int>(used);
    *value = v;
    return 1;
}

// Binary operators on integers.
double remainderOp(double a, double b)
{
    const int x = toInt32(a, "% operand out of range");
    const int y = toInt32(b, "% operand out of range");
    if (y == 0)
        fail("% by zero");
    if (y == -1) // INT_MIN % -1 traps on x86
        return 0.0;
    return x % y;
}

double bitAndOp(double a, double b)
{
    return toInt32(a, "& operand out of range") & toInt32(b, "& operand out of range");
}

double bitOrOp(double a, double b)
{
    return toInt32(a, "| operand out of range") | toInt32(b, "| operand out of range");
}

// Logical operators: any non-zero value is true, the result is 1 or 0.
double andOp(double a, double b)
{
    return (a != 0.0 && b != 0.0) ? 1.0 : 0.0;
}
double orOp(double a, double b)
{
    return (a != 0.0 || b != 0.0) ? 1.0 : 0.0;
}
double xorOp(double a, double b)
{
    return ((a != 0.0) != (b != 0.0)) ? 1.0 : 0.0;
}

// Prefix operators.
double negate(double v)
{
    return -v;
}
double logicalNot(double v)
{
    return v == 0.0 ? 1.0 : 0.0;
}

// Functions whose definition is ours rather than the C library's.
double asinhFn(double x)
{
    return std::log(x + std::sqrt(x * x + 1.0));
}
double acoshFn(double x)
{
    return std::log(x + std::sqrt(x * x - 1.0));
}
double atanhFn(double x)
{
    return 0.5 * std::log((x + 1.0) / (1.0 - x));
}
double log2Fn(double x)
{
    return std::log(x) / std::log(2.0);
}
double signFn(double x)
{
    return x < 0.0 ? -1.0 : (x > 0.0 ? 1.0 : 0.0);
}
double rintFn(double x)
{
    return std::floor(x + 0.5);
}
double roundFn(double x)
{
    return x >= 0.0 ? x + 0.5 : x - 0.5;
} // no truncation, as always
double ifFn(double test, double a, double b)
{
    return test == 1.0 ? a : b;
}
double radFn(double x)
{
    return x * Pi / 180.0;
}
double degFn(double x)
{
    return x * 180.0 / Pi;
}
double sqrFn(double x)
{
    return x * x;
}

double sumFn(const double* args, int count)
{
    if (count < 1)
        fail("sum needs an argument");
    double s = 0.0;
    for (int i = 0; i < count; ++i)
        s += args[i];
    return s;
}

double avgFn(const double* args, int count)
{
    if (count < 1)
        fail("avg needs an argument");
    return sumFn(args, count) / count;
}

double minFn(const double* args, int count)
{
    if (count < 1)
        fail("min needs an argument");
    double m = args[0];
    for (int i = 1; i < count; ++i)
        m = args[i] < m ? args[i] : m;
    return m;
}

double maxFn(const double* args, int count)
{
    if (count < 1)
        fail("max needs an argument");
    double m = args[0];
    for (int i = 1; i < count; ++i)
        m = args[i] > m ? args[i] : m;
    return m;
}

// n! of floor(x). A negative n never reaches 1 and is an error; beyond 170! the
// product overflows anyway, so it is +infinity without looping.
double factFn(double x)
{
    const double n = std::floor(x);
    if (std::isnan(n))
        fail("fact of NaN");
    if (n < 0.0)
        fail("fact of a negative number");
    if (n > LargestFiniteFactorial)
        return std::numeric_limits<double>::infinity();
    double product = 1.0;
    for (int i = static_cast<int>(n); i > 1; --i)
        product *= i;
    return product;
}

double randFn(double a, double b)
{
    return a + (nextFormulaRandom() / 32767.0) * (b - a);
}

int besselOrder(double n)
{
    const int order = toInt32(n, "Bessel order out of range");
    if (order > MaxBesselOrder || order < -MaxBesselOrder)
        fail("Bessel order out of range");
    return order;
}

// The Bessel functions are the C runtime's: POSIX names them j0 ... yn, the Windows
// runtimes _j0 ... _yn.
#ifdef _WIN32
} // namespace
// math.h hides the runtime's own names in strict C++ mode.
extern "C" {
__declspec(dllimport) double __cdecl _j0(double);
__declspec(dllimport) double __cdecl _j1(double);
__declspec(dllimport) double __cdecl _jn(int, double);
__declspec(dllimport) double __cdecl _y0(double);
__declspec(dllimport) double __cdecl _y1(double);
__declspec(dllimport) double __cdecl _yn(int, double);
}
namespace {
double besselJ0(double x)
{
    return ::_j0(x);
}
double besselJ1(double x)
{
    return ::_j1(x);
}
double besselJn(int n, double x)
{
    return ::_jn(n, x);
}
double besselY0(double x)
{
    return ::_y0(x);
}
double besselY1(double x)
{
    return ::_y1(x);
}
double besselYn(int n, double x)
{
    return ::_yn(n, x);
}
#else
double besselJ0(double x)
{
    return ::j0(x);
}
double besselJ1(double x)
{
    return ::j1(x);
}
double besselJn(int n, double x)
{
    return ::jn(n, x);
}
double besselY0(double x)
{
    return ::y0(x);
}
double besselY1(double x)
{
    return ::y1(x);
}
double besselYn(int n, double x)
{
    return ::yn(n, x);
}
#endif

// Y is defined for x > 0; it falls to -infinity at 0 and has no value below. The
// runtimes disagree there (one gives -HUGE_VAL for a negative x), so say it once.
template <typename F>
double besselY(double x, F y)
{
    if (std::isnan(x) || x < 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (x == 0)
        return -std::numeric_limits<double>::infinity();
    return y(x);
}

double j0Fn(double x)
{
    return besselJ0(x);
}
double j1Fn(double x)
{
    return besselJ1(x);
}
double jnFn(double n, double x)
{
    return besselJn(besselOrder(n), x);
}
double y0Fn(double x)
{
    return besselY(x, besselY0);
}
double y1Fn(double x)
{
    return besselY(x, besselY1);
}
double ynFn(double n, double x)
{
    const int order = besselOrder(n);
    // Y(-n) = (-1)^n Y(n): the odd negative orders rise to +infinity at 0.
    if (x == 0 && order < 0 && order % 2 != 0)
        return std::numeric_limits<double>::infinity();
    return besselY(x, [order](double v) { return besselYn(order, v); });
}

double sinFn(double x)
{
    return std::sin(x);
}
double cosFn(double x)
{
    return std::cos(x);
}
double tanFn(double x)
{
    return std::tan(x);
}
double asinFn(double x)
{
    return std::asin(x);
}
double acosFn(double x)
{
    return std::acos(x);
}
double atanFn(double x)
{
    return std::atan(x);
}
double sinhFn(double x)
{
    return std::sinh(x);
}
double coshFn(double x)
{
    return std::cosh(x);
}
double tanhFn(double x)
{
    return std::tanh(x);
}
double log10Fn(double x)
{
    return std::log10(x);
}
double lnFn(double x)
{
    return std::log(x);
}
double expFn(double x)
{
    return std::exp(x);
}
double sqrtFn(double x)
{
    return std::sqrt(x);
}
double absFn(double x)
{
    return std::fabs(x);
}
double ceilFn(double x)
{
    return std::ceil(x);
}
double floorFn(double x)
{
    return std::floor(x);
}

} // namespace

void resetFormulaRandom()
{
    randomState = 1;
}

int nextFormulaRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

CCurveParser::CCurveParser()
{
    AddValIdent(readNumber);
    InitCharSets();
    InitFun();
    InitConst();
    InitOprt();
}

void CCurveParser::SetExpr(const std::string& expression)
{
    // muParser 2.3 has "&&", "||" and the "? :" conditional built in; in our language
    // "&&" and "||" are a binary operator followed by a prefix operator that does not
    // exist, and "?" and ":" belong to no operator, so all of them are syntax errors.
    // muParser would also stop reading at a NUL character and ignore the rest.
    for (std::string_view foreign : {"&&", "||", "?", ":"}) {
        const auto at = expression.find(foreign);
        if (at != std::string::npos)
            throw mu::ParserError(mu::ecUNEXPECTED_OPERATOR, static_cast<int>(at), std::string(foreign));
    }
    if (expression.find('\0') != std::string::npos)
        throw mu::ParserError(mu::ecINVALID_CHARACTERS_FOUND);
    // muParser's operator lookup compares up to three characters ("xor") from the
    // current position; trailing blanks keep that comparison inside the text.
    ParserBase::SetExpr(expression + "   ");
}

double CCurveParser::Eval() const
{
    const double value = ParserBase::Eval();
    if (GetNumResults() != 1)
        throw mu::ParserError(mu::ecUNEXPECTED_ARG_SEP);
    return value;
}

void CCurveParser::InitCharSets()
{
    DefineNameChars("0123456789_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    DefineOprtChars("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+-*^/?<>=#!$%&|~'_");
    DefineInfixOprtChars("/+-*^?<>=#!$%&|~'_");
}

void CCurveParser::InitFun()
{
    // Pure functions: muParser may fold them when their arguments are constant.
    DefineFun("sin", sinFn);
    DefineFun("cos", cosFn);
    DefineFun("tan", tanFn);
    DefineFun("asin", asinFn);
    DefineFun("acos", acosFn);
    DefineFun("atan", atanFn);
    DefineFun("sinh", sinhFn);
    DefineFun("cosh", coshFn);
    DefineFun("tanh", tanhFn);
    DefineFun("asinh", asinhFn);
    DefineFun("acosh", acoshFn);
    DefineFun("atanh", atanhFn);
    DefineFun("log2", log2Fn);
    DefineFun("log10", log10Fn);
    DefineFun("log", lnFn);
    DefineFun("ln", lnFn);
    DefineFun("exp", expFn);
    DefineFun("sqrt", sqrtFn);
    DefineFun("sign", signFn);
    DefineFun("rint", rintFn);
    DefineFun("abs", absFn);
    DefineFun("if", ifFn);
    DefineFun("sum", sumFn);
    DefineFun("avg", avgFn);
    DefineFun("min", minFn);
    DefineFun("max", maxFn);

    // Never folded: rand must draw a new value at every evaluation, and the others
    // have always been registered the same way.
    DefineFun("rad", radFn, false);
    DefineFun("deg", degFn, false);
    DefineFun("sqr", sqrFn, false);
    DefineFun("ceil", ceilFn, false);
    DefineFun("floor", floorFn, false);
    DefineFun("fact", factFn, false);
    DefineFun("rand", randFn, false);
    DefineFun("round", roundFn, false);
    DefineFun("j0", j0Fn, false);
    DefineFun("j1", j1Fn, false);
    DefineFun("jn", jnFn, false);
    DefineFun("y0", y0Fn, false);
    DefineFun("y1", y1Fn, false);
    DefineFun("yn", ynFn, false);
}

void CCurveParser::InitConst()
{
    DefineConst("pi", Pi);
    DefineConst("e", E);
}

void CCurveParser::InitOprt()
{
    DefineOprt("%", remainderOp, IntegerOperatorPriority, mu::oaLEFT, false);
    DefineOprt("&", bitAndOp, IntegerOperatorPriority, mu::oaLEFT, false);
    DefineOprt("|", bitOrOp, IntegerOperatorPriority, mu::oaLEFT, false);
    DefineOprt("and", andOp, LogicalOperatorPriority, mu::oaLEFT, true);
    DefineOprt("or", orOp, LogicalOperatorPriority, mu::oaLEFT, true);
    DefineOprt("xor", xorOp, LogicalOperatorPriority, mu::oaLEFT, true);
    DefineInfixOprt("-", negate, PrefixOperatorPriority, true);
    DefineInfixOprt("!", logicalNot, PrefixOperatorPriority, true);
}
