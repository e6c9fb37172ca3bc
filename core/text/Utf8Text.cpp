#include "text/Utf8Text.h"

#include <algorithm>

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
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
