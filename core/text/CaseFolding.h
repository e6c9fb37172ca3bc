#pragma once

#include <string_view>

// Letter case without regard to language, as Unicode's simple case folding gives it
// (CaseFolding.txt of Unicode 14, statuses C and S): one character for one.

// The folded form of a character: "a" for "A", "ω" for "Ω" and for the ohm sign, "μ"
// for the micro sign; the character itself when it has no other case.
char32_t foldCase(char32_t c);

// True when two UTF-8 texts hold as many characters, each the same once folded.
bool equalIgnoringCase(std::string_view a, std::string_view b);
