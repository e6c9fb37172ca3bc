#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// printf-style formatting that never depends on the process locale: "." is always
// the decimal separator, and e-notation always carries at least three exponent
// digits (+1.250e+001), as the files and the printouts have always shown them.
class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<long long>(v)) { }
    FormatArg(long v) : value_(static_cast<long long>(v)) { }
    FormatArg(long long v) : value_(v) { }
    FormatArg(unsigned v) : value_(static_cast<long long>(v)) { }
    FormatArg(double v) : value_(v) { }
    FormatArg(const char* v) : value_(std::string_view(v ? v : "")) { }
    FormatArg(std::string_view v) : value_(v) { }
    FormatArg(const std::string& v) : value_(std::string_view(v)) { }

    const std::variant<long long, double, std::string_view>& value() const { return value_; }

private:
    std::variant<long long, double, std::string_view> value_;
};

// Formats with a C format string ("%d", "%3d", "%.3f", "%lf", "%+6.3e", "%s", "%%" ...).
// Integer conversions accept integer arguments, floating conversions floating (an
// integer argument is converted); a missing or mismatched argument prints nothing.
std::string cformat(std::string_view format, std::initializer_list<FormatArg> args = {});

// Reads the longest leading part of `text` that is a decimal number: optional sign,
// digits with an optional fraction, optional exponent. Hexadecimal, "inf" and "nan"
// are not numbers here. Returns the number of characters used (0 when none).
// `value` receives the number; a number too large for a double is reported through
// `overflow` (value then is +-infinity).
std::size_t parseDecimalPrefix(std::string_view text, double& value, bool* overflow = nullptr);

// Reads an optional sign and decimal digits ("%d"). Returns the characters used,
// 0 when there is no digit; values beyond 32 bits set `overflow`.
std::size_t parseIntegerPrefix(std::string_view text, long long& value, bool* overflow = nullptr);
