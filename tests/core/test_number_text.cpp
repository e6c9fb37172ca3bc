#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct FloatCase {
    const char* format;
    double value;
    const char* expected;
};

// What glibc's printf writes; the same bytes must come out on every platform.
const FloatCase FloatCases[] = {
    // Exact binary ties round to even; near-ties follow the exact binary value.
    {"%.2f", 0.125, "0.12"},
    {"%.2f", 0.375, "0.38"},
    {"%.1f", 5.25, "5.2"},
    {"%.1f", 5.35, "5.3"}, // 5.35 is stored below the tie
    {"%.0f", 2.5, "2"},
    {"%.0f", -2.5, "-2"},
    {"%.0f", 3.5, "4"},
    {"%.3f", 1.0005, "1.000"},
    {"%.2lf", 5.255, "5.25"},
    // The program's own formats.
    {"%.3f", -12.3456, "-12.346"},
    {"%8.3f", 5.0, "   5.000"},
    {"%8.3f", -1234.5678, "-1234.568"},
    {" %.3lf ", 0.0, " 0.000 "},
    {"%lf", 1.0 / 3.0, "0.333333"},
    {"%.2lf", 1.75, "1.75"},
    // Signs, zeros, widths and flags.
    {"%.3f", -0.0, "-0.000"},
    {"%.2f", -0.001, "-0.00"},
    {"%+.1f", 2.0, "+2.0"},
    {"% .1f", 2.0, " 2.0"},
    {"%08.2f", -3.14159, "-0003.14"},
    {"%-8.2f|", 3.14159, "3.14    |"},
    {"%#.0f", 7.0, "7."},
    {"%.0f", 7.0, "7"},
    // Scientific notation with three exponent digits.
    {"%e", 12.5, "1.250000e+001"},
    {"%.3e", 12.5, "1.250e+001"},
    {"%+.3E", -0.00125, "-1.250E-003"},
    {"%.2e", 1e-300, "1.00e-300"},
    {"%.2e", 0.0, "0.00e+000"},
    {"%.0e", 25.0, "2e+001"},
    {"%#.0e", 25.0, "2.e+001"},
    {"%12.3e", 4.0, "  4.000e+000"},
    {"%.3e", 9.9996, "1.000e+001"},
    // Shortest form.
    {"%g", 100000.0, "100000"},
    {"%g", 1000000.0, "1e+006"},
    {"%g", 0.0001, "0.0001"},
    {"%g", 0.00001, "1e-005"},
    {"%g", 1.5, "1.5"},
    {"%.3g", 9.9996, "10"},
    {"%G", 1.5e-10, "1.5E-010"},
    {"%#g", 1.5, "1.50000"},
    {"%.0g", 0.5, "0.5"},
    {"%g", 0.0, "0"},
    // Tiny and huge values.
    {"%.3f", 4.9406564584124654e-324, "0.000"},
    {"%.3e", 4.9406564584124654e-324, "4.941e-324"},
    {"%.3e", 1.7976931348623157e308, "1.798e+308"},
    {"%.1f", 1e22, "10000000000000000000000.0"},
    // Infinities and not-a-number: never padded with zeros.
    {"%.3f", Inf, "inf"},
    {"%.3f", -Inf, "-inf"},
    {"%F", Inf, "INF"},
    {"%E", -Inf, "-INF"},
    {"%+g", Inf, "+inf"},
    {"%08.2f", -Inf, "    -inf"},
    {"%.3f", NaN, "nan"},
    {"%5G", NaN, "  NAN"},
};

} // namespace

TEST(NumberText, FloatingConversionsWriteTheSameBytesEverywhere)
{
    for (const FloatCase& c : FloatCases) {
        SCOPED_TRACE(std::string(c.format) + " of " + std::to_string(c.value));
        EXPECT_EQ(cformat(c.format, {c.value}), c.expected);
    }
}

// Results of any length: 1e300 in fixed notation, long precisions, padded widths.
TEST(NumberText, LongResultsAreWrittenInFull)
{
    const std::string huge = cformat("%f", {1e300});
    EXPECT_EQ(huge.size(), 301u + 7u);
    EXPECT_EQ(huge.substr(0, 17), "10000000000000000");
    EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
    EXPECT_EQ(cformat("%f", {-1.7976931348623157e308}).size(), 1u + 309u + 7u);

    const std::string precise = cformat("%.600f", {0.1});
    ASSERT_EQ(precise.size(), 602u);
    EXPECT_EQ(precise.substr(0, 30), "0.1000000000000000055511151231");
    EXPECT_EQ(precise.back(), '0');

    EXPECT_EQ(cformat("%.520e", {1.0}).size(), 1u + 1u + 520u + 5u);
    EXPECT_EQ(cformat("%.700g", {0.5}), "0.5");
    // Padding then the number; built in place, as GCC 12 warns wrongly about a string's
    // sum with a literal.
    std::string padded(597, ' ');
    padded += "2.0";
    EXPECT_EQ(cformat("%600.1f", {2.0}), padded);
    EXPECT_EQ(cformat("%-600s|", {"x"}), "x" + std::string(599, ' ') + "|");
}

TEST(NumberText, IntegerAndTextConversions)
{
    struct Case {
        const char* format;
        FormatArg arg;
        const char* expected;
    };
    const Case cases[] = {
        {"%d\r\n", 1024, "1024\r\n"},
        {" %3d", 7, "   7"},
        {" %3d", 12345, " 12345"},
        {"%d", -2147483647 - 1, "-2147483648"},
        {"%lld", std::numeric_limits<long long>::min(), "-9223372036854775808"},
        {"%+d", 5, "+5"},
        {"%05d", -42, "-0042"},
        {"%-5d|", 42, "42   |"},
        {"%.3d", 7, "007"},
        {"%06.3d", 7, "   007"},
        {"%.0d", 0, ""},
        {"%u", -1, "18446744073709551615"},
        {"%x", 255, "ff"},
        {"%#X", 255, "0XFF"},
        {"%#o", 8, "010"},
        {"%c", 'A', "A"},
        {"%d", 3.9, "3"},   // a floating argument to an integer conversion is truncated
        {"%.1f", 3, "3.0"}, // and an integer to a floating one converted
        {"%s", "Point", "Point"},
        {"%-8s|", "ab", "ab      |"},
        {"%.3s", "abcdef", "abc"},
        {"%d%%", 50, "50%"},
        {"n\xC2\xB0%d", 3,
         "n\xC2\xB0"
         "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(cformat(c.format, {c.arg}), c.expected);
    }
    // A missing or mismatched argument prints nothing, the rest of the text stays.
    EXPECT_EQ(cformat("a%db%sc", {}), "abc");
    EXPECT_EQ(cformat("(%d, %d)", {1}), "(1, )");
    EXPECT_EQ(cformat("%s|%d", {1, 2}), "|2");
    EXPECT_EQ(cformat("100%", {}), "100");
}

// Decimal text is read the same everywhere: correctly rounded, with overflow told from
// underflow, and only the decimal syntax the files use.
TEST(NumberText, DecimalPrefixes)
{
    struct Case {
        const char* text;
        std::size_t used;
        double value;
        bool overflow;
    };
    const Case cases[] = {
        {"12.5 3", 4, 12.5, false},
        {"-0.125", 6, -0.125, false},
        {"+3.", 3, 3.0, false},
        {".5x", 2, 0.5, false},
        {"1e3", 3, 1000.0, false},
        {"1.5E-2;", 6, 0.015, false},
        {"2e", 1, 2.0, false}, // an exponent without digits is not part of the number
        {"2e+", 1, 2.0, false},
        {"0.1", 3, 0.1, false},
        {"2.2250738585072014e-308", 23, 2.2250738585072014e-308, false},
        {"4.9e-324", 8, 4.9406564584124654e-324, false},
        {"1e-400", 6, 0.0, false}, // underflow gives zero, not an overflow
        {"-1e-400", 7, -0.0, false},
        {"0.000000001e-399", 16, 0.0, false},
        {"1e400", 5, Inf, true},
        {"-1e400", 6, -Inf, true},
        {"1000e306", 8, Inf, true},
        {"0e99999999999", 13, 0.0, false},
        {"1e99999999999999999999", 22, Inf, true},
        {"", 0, 0, false},
        {"-", 0, 0, false},
        {".", 0, 0, false},
        {"inf", 0, 0, false},
        {"nan", 0, 0, false},
        {"0x10", 1, 0.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -99;
        bool overflow = false;
        const std::size_t used = parseDecimalPrefix(c.text, value, &overflow);
        EXPECT_EQ(used, c.used);
        if (c.used == 0)
            continue;
        EXPECT_EQ(overflow, c.overflow);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    }
}

#ifdef __GLIBC__
// glibc's text with the exponent widened to three digits, as the program writes it.
static std::string glibcText(const char* format, double x)
{
    char text[512];
    std::snprintf(text, sizeof text, format, x);
    std::string s(text);
    const std::size_t e = s.find_first_of("eE");
    if (e != std::string::npos && s.size() - (e + 2) == 2)
        s.insert(s.begin() + static_cast<std::ptrdiff_t>(e + 2), '0');
    return s;
}

// On Linux the C library is a second opinion: a sweep of values and formats must match it.
TEST(NumberText, AgreesWithGlibcOverASweep)
{
    const char* formats[] = {"%.3f", "%.2lf", "%8.3f", "%.0f", "%.1f", "%f", "%+.4f", "%010.2f", "%#.0f", "%.17g",
                             "%g",   "%#g",   "%.3g",  "%G",   "%.0g", "%e", "%.3E",  "%+.0e",   "%#.0e"};
    std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, 1e-5, 1e-4, 123456.0, 1e15, 1e16, 9.5, 99.5, 0.05};
    double v = 1e-12;
    for (int k = 0; k < 400; ++k) {
        values.push_back(v);
        values.push_back(-v * 1.37);
        v *= 1.1731;
    }
    for (int k = -2000; k <= 2000; ++k)
        values.push_back(k / 8.0);
    for (const char* format : formats) {
        for (double x : values)
            ASSERT_EQ(cformat(format, {x}), glibcText(format, x)) << format << " of " << x;
    }
}
#endif
