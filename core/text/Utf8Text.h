#pragma once

#include <string>
#include <string_view>

// Texts inside the program are UTF-8; these count and cut them by characters.

// True for a byte that continues a multi-byte sequence (10xxxxxx).
inline bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// True when every lead byte is followed by the continuation bytes it announces, and no
// byte is C0, C1 or above F4: what tells a UTF-8 file from a Latin-1 one.
bool isValidUtf8(std::string_view text);

// Characters of a UTF-8 text: every byte that does not continue a sequence.
int utf8CharacterCount(std::string_view text);

// Cuts a UTF-8 text to at most `maxChars` characters (never inside a character).
std::string truncateUtf8(std::string_view text, int maxChars);

// True when two UTF-8 texts are the same but for the letter case of their Latin-1
// letters (A-Z, À-Þ): the letters a unit name of a curve file can hold.
bool equalIgnoringLatin1Case(std::string_view a, std::string_view b);
