#include "settings/CMemorySettingsStore.h"
#include "settings/UnitChoice.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A units file's list: the empty entry, then its units.
const Strings Listed{"", "mm", "m", "deg"};

} // namespace

// What "Unités" holds and selects after the curves of `units` were read one after the
// other: a listed entry when one is the unit but for letter case, else one entry more
// for the last curve's own unit.
TEST(UnitChoice, SelectsTheListedEntryOrAddsTheCurvesOwnUnit)
{
    struct Case {
        const char* what;
        Strings listed;
        Strings units;
        std::optional<std::string> added;
        int selected;
    };
    const Case cases[] = {
        {"listed unit selects its entry", Listed, {"m"}, std::nullopt, 2},
        {"listed unit in another letter case selects the listed entry", Listed, {"MM"}, std::nullopt, 1},
        {"accented capitals match the listed entry", {"", "échelle"}, {"ÉCHELLE"}, std::nullopt, 1},
        {"the micro sign matches a listed Greek mu", {"", "μm"}, {"µm"}, std::nullopt, 1},
        {"the Kelvin sign matches a listed k", {"", "k"}, {"\u212A"}, std::nullopt, 1},
        {"of two entries equal but for case, the first", {"", "mm", "MM"}, {"MM"}, std::nullopt, 1},
        {"unknown unit adds one entry", Listed, {"N.m"}, "N.m", 4},
        {"a listed unit with one more letter is unknown", Listed, {"mmm"}, "mmm", 4},
        {"the added entry goes with the next curve", Listed, {"N.m", "deg"}, std::nullopt, 3},
        {"the next unknown unit takes the added entry's place", Listed, {"N.m", "kN"}, "kN", 4},
        {"empty unit selects the empty entry", Listed, {""}, std::nullopt, 0},
        {"empty unit after an unknown one", Listed, {"N.m", ""}, std::nullopt, 0},
        {"no units file: no unit selects nothing", {}, {""}, std::nullopt, -1},
        {"no units file: an unknown unit is the only entry", {}, {"N.m"}, "N.m", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitChoice choice(c.listed);
        for (const std::string& unit : c.units)
            choice.select(unit);
        EXPECT_EQ(choice.listed(), c.listed);
        EXPECT_EQ(choice.added(), c.added);
        EXPECT_EQ(choice.selected(), c.selected);
    }
}

// The unit an entry gives the curve, as the modified test compares it and a save writes
// it: the entry's first 15 UTF-16 code units.
TEST(UnitChoice, ShownUnitIsTheEntryCutToTheListFieldsLength)
{
    struct Case {
        const char* what;
        std::string unit; // the curve's, selected first
        int index;
        std::string shown;
    };
    const std::string mu = "\xF0\x9D\x9C\x87"; // a mathematical mu, beyond the basic plane
    const auto times = [](int n, const std::string& text) {
        std::string all;
        for (int i = 0; i < n; ++i)
            all += text;
        return all;
    };
    const Case cases[] = {
        {"a listed entry", "", 1, "mm"},
        {"the added entry", "N.m", 4, "N.m"},
        {"another entry than the selected one", "N.m", 3, "deg"},
        {"unit longer than 15 characters shown truncated", "millimetres_par_seconde", 4, "millimetres_par"},
        {"accented characters count one each", times(17, "\xC3\xA9"), 4, times(15, "\xC3\xA9")},
        {"a character beyond the basic plane counts two", "abcdefghijklm" + mu + "x", 4, "abcdefghijklm" + mu},
        {"one cut after its first half ends in ?", "abcdefghijklmn" + mu, 4, "abcdefghijklmn?"},
        {"no entry: no unit", "", -1, ""},
        {"past the entries: no unit", "", 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitChoice choice(Listed);
        choice.select(c.unit);
        EXPECT_EQ(choice.shownUnit(c.index), c.shown);
    }
}

// Without an installation to look in (tests) the list is the empty entry alone, with
// nothing said; with one, the units file is read or said missing.
TEST(UnitChoice, TheListComesFromTheInstallationOrIsTheEmptyEntry)
{
    TempDirectory dir;
    dir.write("bin/units.ini", "[A]\nx(mm)=1\n");
    TempDirectory empty;
    const InstallationDirectories withUnits{dir.path("bin"), dir.path(), dir.path()};
    const InstallationDirectories withoutUnits{empty.path("bin"), empty.path(), empty.path()};
    CMemorySettingsStore store;
    struct Case {
        const char* what;
        const CSettingsStore* store;
        std::optional<InstallationDirectories> installation;
        Strings entries;
        bool missing;
    };
    const Case cases[] = {
        {"no installation -> only the empty entry", nullptr, std::nullopt, {""}, false},
        {"no settings -> only the empty entry", nullptr, withUnits, {""}, false},
        {"settings without installation -> only the empty entry", &store, std::nullopt, {""}, false},
        {"the installation's units file", &store, withUnits, {"", "mm"}, false},
        {"no units file: no entry, said missing", &store, withoutUnits, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const UnitList list = unitListFor(c.store, c.installation);
        EXPECT_EQ(list.entries, c.entries);
        EXPECT_EQ(list.unitsFileMissing, c.missing);
    }
}
