#include "text/Utf8Text.h"

#include <gtest/gtest.h>

#include <string_view>

// Profiles and files are read as UTF-8 when this says so, else as Latin-1: a wrong "true"
// keeps Latin-1 bytes as broken text, a wrong "false" turns UTF-8 into mojibake.
TEST(Utf8Text, ValidityTellsUtf8FromLatin1)
{
    using namespace std::string_view_literals;
    struct Case {
        std::string_view bytes;
        bool valid;
    };
    const Case cases[] = {
        {""sv, true},
        {"Fichiers support"sv, true},
        {"Options g\xC3\xA9n\xC3\xA9rales"sv, true},          // é in UTF-8
        {"\xE2\x82\xAC \xF0\x9F\x93\x88 \xF4\x8F\xBF\xBF"sv, true}, // three- and four-byte characters
        {"a\0b"sv, true},                                       // a NUL is a character
        {"Options g\xE9n\xE9rales"sv, false},                   // é in Latin-1
        {"\xC3"sv, false},                                      // cut at the end
        {"\xE2\x82"sv, false},
        {"\xF0\x9F\x93"sv, false},
        {"\xC3x"sv, false},                                     // lead byte without continuation
        {"\xA9"sv, false},                                      // stray continuation
        {"\xC3\xA9\xA9"sv, false},                              // one continuation too many
        {"\xC0\xAF"sv, false},                                  // overlong two-byte forms
        {"\xC1\xBF"sv, false},
        {"\xF5\x80\x80\x80"sv, false},                          // beyond the last lead byte
        {"\xFF"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
}
