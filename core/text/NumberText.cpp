#include "text/NumberText.h"

#include <locale.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

#ifdef _WIN32
_locale_t classicLocale()
{
    static _locale_t loc = _create_locale(LC_ALL, "C");
    return loc;
}
#else
locale_t classicLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}
#endif

template <typename T>
std::string formatOne(const std::string& spec, T value)
{
    char buffer[512];
#ifdef _WIN32
    int n = _snprintf_l(buffer, sizeof buffer, spec.c_str(), classicLocale(), value);
#else
    locale_t previous = uselocale(classicLocale());
    int n = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
    uselocale(previous);
#endif
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(n));
    // Very large fixed-notation values (1e300 with "%f") need more room.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
#ifdef _WIN32
    _snprintf_l(big.data(), big.size(), spec.c_str(), classicLocale(), value);
#else
    previous = uselocale(classicLocale());
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    uselocale(previous);
#endif
    big.resize(static_cast<std::size_t>(n));
    return big;
}

// "1.25e+01" -> "1.25e+001": the exponent always shows at least three digits.
void widenExponent(std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if ((text[i] != 'e' && text[i] != 'E') || (text[i + 1] != '+' && text[i + 1] != '-'))
            continue;
        std::size_t start = i + 2;
        std::size_t end = start;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        std::size_t digits = end - start;
        if (digits > 0 && digits < 3)
            text.insert(start, 3 - digits, '0');
        return;
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string cformat(std::string_view format, std::initializer_list<FormatArg> args)
{
    std::string out;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
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
        // Collect flags, width, precision and length modifiers up to the conversion.
        std::size_t j = i + 1;
        std::string spec = "%";
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos)
            spec += format[j++];
        while (j < format.size() && (isDigit(format[j]) || format[j] == '.'))
            spec += format[j++];
        while (j < format.size() && std::string_view("hlLqjzt").find(format[j]) != std::string_view::npos)
            ++j; // length modifiers are implied by the argument's type
        if (j >= format.size())
            break;
        char conv = format[j];
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
        case 'c': {
            long long v = 0;
            if (const auto* iv = std::get_if<long long>(&value))
                v = *iv;
            else if (const auto* dv = std::get_if<double>(&value))
                v = std::isfinite(*dv) ? static_cast<long long>(*dv) : 0;
            else
                break;
            out += formatOne(spec + "ll" + conv, v);
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G': {
            double v = 0;
            if (const auto* dv = std::get_if<double>(&value))
                v = *dv;
            else if (const auto* iv = std::get_if<long long>(&value))
                v = static_cast<double>(*iv);
            else
                break;
            std::string piece = formatOne(spec + conv, v);
            if (conv != 'f' && conv != 'F')
                widenExponent(piece);
            out += piece;
            break;
        }
        case 's': {
            if (const auto* sv = std::get_if<std::string_view>(&value))
                out += spec == "%" ? std::string(*sv) : formatOne(spec + "s", std::string(*sv).c_str());
            break;
        }
        default:
            break;
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
    // The syntax is checked above; the conversion itself is the C library's, in the
    // classic locale, which rounds correctly and tells overflow from underflow.
    std::string digitsText(text.substr(mantissaStart, i - mantissaStart));
    errno = 0;
#ifdef _WIN32
    double v = _strtod_l(digitsText.c_str(), nullptr, classicLocale());
#else
    double v = strtod_l(digitsText.c_str(), nullptr, classicLocale());
#endif
    if (std::isinf(v) && overflow)
        *overflow = true;
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
