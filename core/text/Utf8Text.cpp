#include "text/Utf8Text.h"

#include <algorithm>

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
