#include "text/CaseFolding.h"
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
        {"Options g\xC3\xA9n\xC3\xA9rales"sv, true},                // é in UTF-8
        {"\xE2\x82\xAC \xF0\x9F\x93\x88 \xF4\x8F\xBF\xBF"sv, true}, // three- and four-byte characters
        {"a\0b"sv, true},                                           // a NUL is a character
        {"Options g\xE9n\xE9rales"sv, false},                       // é in Latin-1
        {"\xC3"sv, false},                                          // cut at the end
        {"\xE2\x82"sv, false},
        {"\xF0\x9F\x93"sv, false},
        {"\xC3x"sv, false},        // lead byte without continuation
        {"\xA9"sv, false},         // stray continuation
        {"\xC3\xA9\xA9"sv, false}, // one continuation too many
        {"\xC0\xAF"sv, false},     // overlong two-byte forms
        {"\xC1\xBF"sv, false},
        {"\xF5\x80\x80\x80"sv, false}, // beyond the last lead byte
        {"\xFF"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
}

// A unit name read in another letter case than the unit list's is the same unit; any
// other difference is a change that a save would write.
TEST(Utf8Text, UnitNamesCompareWithoutLetterCase)
{
    struct Case {
        const char* what;
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"ASCII capitals", "MM", "mm", true},
        {"mixed", "N.m", "n.M", true},
        {"accented capitals",
         "\xC3\x89"
         "CHELLE",
         "\xC3\xA9"
         "chelle",
         true},
        {"the last folded capital", "\xC3\x9E", "\xC3\xBE", true},
        {"multiplication sign is no capital", "\xC3\x97", "\xC3\xB7", false},
        {"another letter", "mm", "cm", false},
        {"another length", "mm", "mmm", false},
        {"empty and empty", "", "", true},
        {"empty and a unit", "", "mm", false},
        {"digits and signs untouched", "m/s2", "M/S2", true},
        {"not a UTF-8 capital after another lead byte", "\xC4\x80", "\xC4\xA0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(equalIgnoringLatin1Case(c.a, c.b), c.equal);
        EXPECT_EQ(equalIgnoringLatin1Case(c.b, c.a), c.equal);
    }
}

// The unit list's entries match a curve's unit letter case aside in any script, one
// character for one; anything but a change of case keeps two texts apart.
TEST(CaseFolding, TextsCompareWithoutLetterCaseInAnyScript)
{
    struct Case {
        const char* what;
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"ASCII capitals", "N.M", "n.m", true},
        {"Latin-1 capitals", "ÉCHELLE", "échelle", true},
        {"a Latin Extended-A pair", "Ł", "ł", true},
        {"the odd one of a run of pairs is no capital", "ł", "Ń", false},
        {"Y with diaeresis outside Latin-1", "Ÿ", "ÿ", true},
        {"micro sign and Greek mu", "µm", "ΜM", true},
        {"ohm sign and Greek omega", "\u2126", "ω", true},
        {"Kelvin sign and k", "\u212A", "k", true},
        {"Cyrillic", "ММ", "мм", true},
        {"fullwidth Latin", "Ａ", "ａ", true},
        {"beyond the basic plane", "\U00010400", "\U00010428", true}, // Deseret
        {"sharp s is no ss", "ß", "ss", false},
        {"multiplication sign is no capital", "×", "÷", false},
        {"another letter", "mm", "cm", false},
        {"one more character", "mm", "mmm", false},
        {"empty and empty", "", "", true},
        {"empty and a unit", "", "mm", false},
        {"a stray continuation byte is no letter", "\xB5", "\xCE\xBC", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(equalIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(equalIgnoringCase(c.b, c.a), c.equal);
    }
}
