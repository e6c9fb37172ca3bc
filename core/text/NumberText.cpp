#include "text/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

// The digits come from std::to_chars, which rounds the exact binary value of a double
// (ties to even) the same way on every platform and never looks at the locale; the
// flags, the width and the exponent's form are laid out here as printf would.

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Spec {
    bool left = false;      // '-'
    bool plus = false;      // '+'
    bool space = false;     // ' '
    bool alternate = false; // '#'
    bool zero = false;      // '0'
    std::size_t width = 0;
    int precision = -1; // -1: none given
};

// Reads a run of digits as a count, saturating well below anything that could overflow.
std::size_t readCount(std::string_view format, std::size_t& j)
{
    std::size_t n = 0;
    while (j < format.size() && isDigit(format[j])) {
        if (n < 100000)
            n = n * 10 + static_cast<std::size_t>(format[j] - '0');
        ++j;
    }
    return n;
}

// Appends sign (or prefix), then zero padding or space padding up to the width, then
// the body: the one layout every conversion shares.
void emit(std::string& out, const Spec& spec, std::string_view prefix, std::string_view body, bool zeroPad)
{
    const std::size_t length = prefix.size() + body.size();
    const std::size_t pad = spec.width > length ? spec.width - length : 0;
    if (spec.left) {
        out += prefix;
        out += body;
        out.append(pad, ' ');
    } else if (zeroPad) {
        out += prefix;
        out.append(pad, '0');
        out += body;
    } else {
        out.append(pad, ' ');
        out += prefix;
        out += body;
    }
}

std::string_view signOf(bool negative, const Spec& spec)
{
    if (negative)
        return "-";
    if (spec.plus)
        return "+";
    if (spec.space)
        return " ";
    return {};
}

void upper(std::string_view in, char* out)
{
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = (in[i] >= 'a' && in[i] <= 'z') ? static_cast<char>(in[i] - 'a' + 'A') : in[i];
}

// Holds the digits of one conversion: a stack buffer for everything the program prints,
// a heap string only for very long results ("%f" of 1e300, "%.600f").
class DigitBuffer {
public:
    char* reserve(std::size_t size)
    {
        if (size <= small_.size())
            return small_.data();
        large_.resize(size);
        return large_.data();
    }

private:
    std::array<char, 400> small_;
    std::string large_;
};

// "1.25e+01" -> "1.25e+001": at least three exponent digits, as the files have them.
std::size_t widenExponent(char* text, std::size_t length)
{
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (text[i] != 'e' || (text[i + 1] != '+' && text[i + 1] != '-'))
            continue;
        const std::size_t digits = length - (i + 2);
        if (digits >= 3)
            return length;
        const std::size_t add = 3 - digits;
        for (std::size_t k = length; k-- > i + 2;)
            text[k + add] = text[k];
        for (std::size_t k = 0; k < add; ++k)
            text[i + 2 + k] = '0';
        return length + add;
    }
    return length;
}

// Inserts '.' before the exponent (or at the end) when '#' asks for one and there is none.
std::size_t forcePoint(char* text, std::size_t length)
{
    std::size_t e = 0;
    while (e < length && text[e] != 'e') {
        if (text[e] == '.')
            return length;
        ++e;
    }
    for (std::size_t k = length; k-- > e;)
        text[k + 1] = text[k];
    text[e] = '.';
    return length + 1;
}

// Removes trailing zeros of the fraction (and a bare '.') before the exponent, as %g does.
std::size_t trimZeros(char* text, std::size_t length)
{
    std::size_t e = 0;
    bool point = false;
    while (e < length && text[e] != 'e')
        point |= text[e++] == '.';
    if (!point)
        return length;
    std::size_t end = e;
    while (text[end - 1] == '0')
        --end;
    if (text[end - 1] == '.')
        --end;
    for (std::size_t k = e; k < length; ++k)
        text[end + (k - e)] = text[k];
    return end + (length - e);
}

// The magnitude's digits in fixed ('f'), scientific ('e') or shortest-of-both ('g') form,
// lower case, without sign. Returns their length.
std::size_t floatDigits(DigitBuffer& buffer, char*& text, double magnitude, char form, int precision, bool alternate)
{
    const int p = precision < 0 ? 6 : precision;
    if (form == 'g') {
        // %g: the exponent X of the %e form with P - 1 digits decides; P > X >= -4 gives
        // fixed with P - 1 - X decimals, anything else scientific with P - 1.
        const int significant = p == 0 ? 1 : p;
        const std::size_t room = 2 * static_cast<std::size_t>(significant) + 24;
        text = buffer.reserve(room + 2);
        std::size_t length = static_cast<std::size_t>(
            std::to_chars(text, text + room, magnitude, std::chars_format::scientific, significant - 1).ptr - text);
        int exponent = 0;
        for (std::size_t k = 0; k < length; ++k) {
            if (text[k] == 'e') {
                std::from_chars(text + k + (text[k + 1] == '+' ? 2 : 1), text + length, exponent);
                break;
            }
        }
        if (exponent < significant && exponent >= -4)
            length = static_cast<std::size_t>(
                std::to_chars(text, text + room, magnitude, std::chars_format::fixed, significant - 1 - exponent).ptr
                - text);
        if (alternate)
            length = forcePoint(text, length);
        else
            length = trimZeros(text, length);
        return widenExponent(text, length);
    }
    const bool fixed = form == 'f';
    // Room for 309 integer digits, the point, the decimals, and a widened exponent.
    const std::size_t room = static_cast<std::size_t>(p) + (fixed ? 320 : 16);
    text = buffer.reserve(room + 2);
    std::size_t length = static_cast<std::size_t>(
        std::to_chars(text, text + room, magnitude, fixed ? std::chars_format::fixed : std::chars_format::scientific, p)
            .ptr
        - text);
    if (alternate && p == 0)
        length = forcePoint(text, length);
    return fixed ? length : widenExponent(text, length);
}

void formatFloat(std::string& out, const Spec& spec, char conv, double v)
{
    const bool capital = conv == 'F' || conv == 'E' || conv == 'G';
    const char form = static_cast<char>(capital ? conv - 'A' + 'a' : conv);
    const bool negative = std::signbit(v);
    const std::string_view sign = signOf(negative, spec);
    if (!std::isfinite(v)) {
        char word[3];
        const std::string_view lower = std::isnan(v) ? "nan" : "inf";
        if (capital)
            upper(lower, word);
        emit(out, spec, sign, capital ? std::string_view(word, 3) : lower, false);
        return;
    }
    DigitBuffer buffer;
    char* text = nullptr;
    std::size_t length = floatDigits(buffer, text, std::fabs(v), form, spec.precision, spec.alternate);
    if (capital)
        upper(std::string_view(text, length), text);
    emit(out, spec, sign, std::string_view(text, length), spec.zero && !spec.left);
}

void formatInteger(std::string& out, const Spec& spec, char conv, long long v)
{
    if (conv == 'c') {
        const char c = static_cast<char>(v);
        emit(out, spec, {}, std::string_view(&c, 1), false);
        return;
    }
    const bool isSigned = conv == 'd' || conv == 'i';
    const bool negative = isSigned && v < 0;
    // The magnitude, as printf sees a long long: negative values wrap for the unsigned
    // conversions and keep their full range (LLONG_MIN included) for the signed ones.
    const unsigned long long magnitude =
        negative ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    const int base = conv == 'x' || conv == 'X' ? 16 : conv == 'o' ? 8 : 10;
    char digits[32];
    std::size_t length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr - digits);
    if (conv == 'X')
        upper(std::string_view(digits, length), digits);
    if (spec.precision == 0 && magnitude == 0)
        length = 0; // "%.0d" of 0 prints no digit
    std::string_view prefix = isSigned ? signOf(negative, spec) : std::string_view{};
    if (spec.alternate && magnitude != 0 && base == 16)
        prefix = conv == 'x' ? "0x" : "0X";
    std::size_t minimum = spec.precision > 0 ? static_cast<std::size_t>(spec.precision) : 0;
    if (spec.alternate && base == 8 && (length == 0 || digits[0] != '0'))
        minimum = std::max(minimum, length + 1);
    const std::size_t leading = minimum > length ? minimum - length : 0;
    if (leading == 0) {
        emit(out, spec, prefix, std::string_view(digits, length), spec.zero && !spec.left && spec.precision < 0);
        return;
    }
    std::string body(leading, '0');
    body.append(digits, length);
    emit(out, spec, prefix, body, false);
}

void formatText(std::string& out, const Spec& spec, std::string_view text)
{
    if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < text.size())
        text = text.substr(0, static_cast<std::size_t>(spec.precision));
    emit(out, spec, {}, text, false);
}

} // namespace

std::string cformat(std::string_view format, std::initializer_list<FormatArg> args)
{
    std::string out;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Spec spec;
        std::size_t j = i + 1;
        for (; j < format.size(); ++j) {
            const char flag = format[j];
            if (flag == '-')
                spec.left = true;
            else if (flag == '+')
                spec.plus = true;
            else if (flag == ' ')
                spec.space = true;
            else if (flag == '#')
                spec.alternate = true;
            else if (flag == '0')
                spec.zero = true;
            else
                break;
        }
        spec.width = readCount(format, j);
        if (j < format.size() && format[j] == '.') {
            ++j;
            spec.precision = static_cast<int>(readCount(format, j));
        }
        while (j < format.size() && std::string_view("hlLqjzt").find(format[j]) != std::string_view::npos)
            ++j; // length modifiers are implied by the argument's type
        if (j >= format.size())
            break;
        const char conv = format[j];
        i = j + 1;
        if (next == args.end())
            continue;
        const auto& value = (next++)->value();
        switch (conv) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
        case 'c':
            if (const auto* iv = std::get_if<long long>(&value))
                formatInteger(out, spec, conv, *iv);
            else if (const auto* dv = std::get_if<double>(&value))
                formatInteger(out, spec, conv,
                              std::isfinite(*dv) && std::fabs(*dv) < 9.2e18 ? static_cast<long long>(*dv) : 0);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            if (const auto* dv = std::get_if<double>(&value))
                formatFloat(out, spec, conv, *dv);
            else if (const auto* iv = std::get_if<long long>(&value))
                formatFloat(out, spec, conv, static_cast<double>(*iv));
            break;
        case 's':
            if (const auto* sv = std::get_if<std::string_view>(&value))
                formatText(out, spec, *sv);
            break;
        default: break;
        }
    }
    return out;
}

namespace {

// An optional sign at `i`: the position after it.
std::size_t skipSign(std::string_view text, std::size_t i, bool* negative = nullptr)
{
    const bool signed_ = i < text.size() && (text[i] == '+' || text[i] == '-');
    if (negative)
        *negative = signed_ && text[i] == '-';
    return signed_ ? i + 1 : i;
}

// Decimal digits from `i`: the position after the last one.
std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// The decimal order of magnitude of a checked number text without sign ("123.4e5" -> 8,
// "0.001" -> -2): the position of its first significant digit relative to the point,
// plus the exponent. Only its sign matters, so large exponents saturate.
long long decimalOrder(std::string_view number)
{
    long long order = 0;
    bool seen = false;
    bool fraction = false;
    std::size_t k = 0;
    for (; k < number.size() && number[k] != 'e' && number[k] != 'E'; ++k) {
        const char c = number[k];
        if (c == '.') {
            fraction = true;
        } else if (!seen && c == '0') {
            if (fraction)
                --order;
        } else if (!seen) {
            seen = true;
            if (!fraction)
                ++order;
        } else if (!fraction) {
            ++order;
        }
    }
    long long exponent = 0;
    if (k < number.size()) {
        bool negative = false;
        std::size_t d = skipSign(number, k + 1, &negative);
        for (; d < number.size(); ++d)
            exponent = std::min(exponent * 10 + (number[d] - '0'), 1000000000LL);
        if (negative)
            exponent = -exponent;
    }
    return order + exponent;
}

} // namespace

std::size_t parseDecimalPrefix(std::string_view text, double& value, bool* overflow)
{
    if (overflow)
        *overflow = false;
    bool negative = false;
    const std::size_t mantissaStart = skipSign(text, 0, &negative);
    std::size_t i = skipDigits(text, mantissaStart);
    std::size_t digits = i - mantissaStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = i + 1;
        i = skipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t exponent = skipSign(text, i + 1);
        const std::size_t end = skipDigits(text, exponent);
        if (end > exponent)
            i = end;
    }
    // The syntax is checked above; from_chars rounds the decimal text correctly and
    // answers "out of range" both for numbers too large and too small for a double.
    // Which one it was is told by the decimal order of magnitude: an overflow gives
    // infinity, an underflow zero, as strtod does.
    const char* first = text.data() + mantissaStart;
    const char* last = text.data() + i;
    double v = 0;
    const auto [end, error] = std::from_chars(first, last, v, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const bool huge = decimalOrder(std::string_view(first, static_cast<std::size_t>(last - first))) > 0;
        v = huge ? HUGE_VAL : 0.0;
        if (huge && overflow)
            *overflow = true;
    } else if (error != std::errc() || end != last) {
        v = 0; // cannot happen for the text checked above
    }
    value = negative ? -v : v;
    return i;
}

std::size_t parseIntegerPrefix(std::string_view text, long long& value, bool* overflow)
{
    if (overflow)
        *overflow = false;
    bool negative = false;
    const std::size_t start = skipSign(text, 0, &negative);
    std::size_t i = start;
    long long v = 0;
    bool big = false;
    while (i < text.size() && isDigit(text[i])) {
        if (!big) {
            v = v * 10 + (text[i] - '0');
            if (v > 0x7FFFFFFFLL + 1)
                big = true;
        }
        ++i;
    }
    if (i == start)
        return 0;
    if (negative)
        v = -v;
    if (v > 0x7FFFFFFFLL || v < -0x80000000LL)
        big = true;
    if (overflow)
        *overflow = big;
    value = v;
    return i;
}
