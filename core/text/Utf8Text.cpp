#include "text/Utf8Text.h"

#include <algorithm>

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80    ? 1
            : (c >= 0xC2 && c <= 0xDF) ? 2
            : (c & 0xF0) == 0xE0       ? 3
            : (c >= 0xF0 && c <= 0xF4) ? 4
                                       : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return false;
        for (int k = 1; k < length; ++k)
            if (!isUtf8Continuation(text[i + static_cast<std::size_t>(k)]))
                return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

int utf8CharacterCount(std::string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return !isUtf8Continuation(c); }));
}

std::string truncateUtf8(std::string_view text, int maxChars)
{
    int chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isUtf8Continuation(text[i])) {
            if (chars == maxChars)
                return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

namespace {

// The lower-case form of a Latin-1 letter in UTF-8: ASCII capitals, and the capitals
// U+00C0 to U+00DE but the multiplication sign (C3 80 to C3 9E but C3 97).
std::string foldLatin1Case(std::string_view text)
{
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < folded.size()) {
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return folded;
}

} // namespace

bool equalIgnoringLatin1Case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && foldLatin1Case(a) == foldLatin1Case(b);
}
