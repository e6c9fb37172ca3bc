#include "settings/CIniSettingsStore.h"
#include "settings/CMemorySettingsStore.h"
#include "settings/ProfileFile.h"
#include "settings/SupportFile.h"
#include "settings/UnitList.h"
#include "settings/VersionText.h"
#include "text/Utf8Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A units file whose only unit tells which file was read.
std::string unitsFileNaming(const std::string& unit)
{
    return "[Marque]\nFichier (" + unit + ")=1\n";
}

InstallationDirectories placesIn(const TempDirectory& dir)
{
    return {dir.path("bin"), dir.path("work"), dir.path("etc")};
}

void givenProductVersion(CMemorySettingsStore& store, const std::string& version)
{
    store.setUserValue(std::string(ProductKeyPath), std::string(CurrentVersionValueName), version);
}

void givenSupportDirectory(CMemorySettingsStore& store, const std::string& version, const std::string& directory)
{
    store.setSystemValue(homeKeyPath(version), std::string(SupportValueName), directory);
}

// ---- the key-name rule ----

struct KeyCase {
    const char* name;
    const char* key;
    std::optional<std::string> unit;
};

class UnitNameOfKey : public ::testing::TestWithParam<KeyCase> { };

TEST_P(UnitNameOfKey, TakesTheTextBetweenTheFirstParenthesisAndTheLastCharacter)
{
    EXPECT_EQ(unitNameOfKey(GetParam().key), GetParam().unit) << GetParam().key;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, UnitNameOfKey,
    ::testing::Values(KeyCase{"InParentheses", "x(mm)", "mm"}, KeyCase{"AfterABlank", "Couple (N.m)", "N.m"},
                      KeyCase{"FromTheFirstParenthesis", "a(b(c))", "b(c)"},
                      // The last character goes, whatever it is...
                      KeyCase{"LastCharacterNotAParenthesis", "x(mm", "m"},
                      // ... whole, when it takes more than one byte.
                      KeyCase{"LastCharacterOfTwoBytes", "x(m°", "m"},
                      KeyCase{"NothingButTheLastCharacter", "x(°", std::nullopt},
                      KeyCase{"NoParenthesis", "Longueur", std::nullopt},
                      KeyCase{"NothingAfterTheParenthesis", "x(", std::nullopt},
                      // Not a second empty entry.
                      KeyCase{"NothingInside", "x()", std::nullopt},
                      KeyCase{"CutAt15Characters", "x(abcdefghijklmnopqr)", "abcdefghijklmno"},
                      KeyCase{"CutAt15CharactersNotBytes", "x(aéééééééééééééééé)", "aéééééééééééééé"}),
    CaseName());

// ---- the units file ----

struct UnitsFileCase {
    const char* name;
    std::string bytes;
    Strings entries;
};

class UnitsFileContents : public ::testing::TestWithParam<UnitsFileCase> { };

TEST_P(UnitsFileContents, GiveTheEmptyEntryThenTheUnitsInFileOrder)
{
    TempDirectory dir;
    dir.write("bin/units.ini", GetParam().bytes);
    CMemorySettingsStore noSettings;
    UnitList list = loadUnitList(noSettings, placesIn(dir));
    EXPECT_FALSE(list.unitsFileMissing);
    EXPECT_EQ(list.entries, GetParam().entries);
}

// Longer than a profile line holds.
const std::string LongValue(MaxProfileLineBytes, 'a');

INSTANTIATE_TEST_SUITE_P(
    Files, UnitsFileContents,
    ::testing::Values(
        UnitsFileCase{"TwoSectionsDuplicatesKept", "[A]\nx(mm)=1\ny(m)=2\n[B]\nz(mm)=3\n", {"", "mm", "m", "mm"}},
        UnitsFileCase{"EmptyFile", "", {""}}, UnitsFileCase{"SectionsWithoutKeys", "[A]\n[B]\n\n[C]\n", {""}},
        UnitsFileCase{"SameKeyTwice", "[A]\nx(mm)=1\nx(mm)=2\n", {"", "mm", "mm"}},
        UnitsFileCase{"KeysNamingNoUnitSkipped", "[A]\nLongueur=1\nx()=2\nx(=3\ny(s)=4\n", {"", "s"}},
        UnitsFileCase{"OutsideASectionCommentsAndWithoutEqualsSkipped",
                      "x(cm)=1\n[A]\n; y(cm)=1\n# z(cm)=1\nw(cm)\nv(m)=\n",
                      {"", "m"}},
        UnitsFileCase{"CrLfAndIndentedKeys", "[A]\r\n  x(mm) = 1\r\n\ty(m)=2\r\n", {"", "mm", "m"}},
        UnitsFileCase{"Latin1File", "[A]\nx(\xB5m)=1\ny(\xB0)=1\n", {"", "µm", "°"}},
        UnitsFileCase{"Utf8File", "[Accélération]\nx(µm)=1\n", {"", "µm"}},
        // The rest of an overlong line is dropped, not read as a line of its own.
        UnitsFileCase{"OverlongLine", "[A]\nx(mm)=" + LongValue + " y(km)=1\nz(m)=1\n", {"", "mm", "m"}},
        // Never the continuation of the key above: a line of its own, read or skipped.
        UnitsFileCase{"IndentedByFormFeedVerticalTabOrLoneCr",
                      "[A]\nx(mm)=1\n\fy(cm)=2\n\vz(m)\n\rw(s)=3\n",
                      {"", "mm", "cm", "s"}},
        // Only "=" ends a key: a ":" belongs to it, and a line without "=" is skipped.
        UnitsFileCase{
            "ColonsBelongToTheKey", "[A]\nCouple (N:m)=1\nx:y(mm)\n[B:C]\nz(h:min)=2\n", {"", "N:m", "h:min"}}),
    CaseName());

TEST(UnitsFile, SampleInstalledWithTheProgramGivesARealUnitList)
{
    CMemorySettingsStore noSettings;
    TempDirectory dir;
    UnitList list = loadUnitList(noSettings, {std::string(CRB_TEST_DATA) + "/../../resources", dir.path(), dir.path()});
    ASSERT_FALSE(list.unitsFileMissing);
    ASSERT_GT(list.entries.size(), 10u);
    EXPECT_EQ(Strings(list.entries.begin(), list.entries.begin() + 5), (Strings{"", "mm", "cm", "m", "in"}));
    for (std::size_t i = 1; i < list.entries.size(); ++i) {
        EXPECT_FALSE(list.entries[i].empty()) << i;
        EXPECT_LE(utf8CharacterCount(list.entries[i]), MaxUnitNameLength) << list.entries[i];
    }
}

// ---- where the units file is found ----

struct UnitsLookupCase {
    const char* name;
    bool version;         // the user's "Current Version" is set
    bool supportValue;    // that version's "Home" key has a "Support" value
    bool inSupport;       // units.ini in that support directory
    bool besideProgram;   // units.ini in the program's directory
    bool inSupportFolder; // units.ini in the program's "Support" folder
    const char* expected; // unit of the file read; null: no file found
};

class UnitsFileLookup : public ::testing::TestWithParam<UnitsLookupCase> { };

TEST_P(UnitsFileLookup, TriesTheSettingsThenBesideTheProgramThenItsSupportFolder)
{
    const UnitsLookupCase& c = GetParam();
    TempDirectory dir;
    CMemorySettingsStore store;
    if (c.version)
        givenProductVersion(store, "2.04");
    if (c.supportValue)
        givenSupportDirectory(store, "2.04", dir.path("product/support"));
    if (c.inSupport)
        dir.write("product/support/units.ini", unitsFileNaming("support"));
    if (c.besideProgram)
        dir.write("bin/units.ini", unitsFileNaming("program"));
    if (c.inSupportFolder)
        dir.write("bin/Support/units.ini", unitsFileNaming("folder"));

    UnitList list = loadUnitList(store, placesIn(dir));

    if (c.expected) {
        EXPECT_FALSE(list.unitsFileMissing);
        EXPECT_EQ(list.entries, (Strings{"", c.expected}));
    } else {
        EXPECT_TRUE(list.unitsFileMissing);
        EXPECT_TRUE(list.entries.empty()) << "not even the empty entry";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, UnitsFileLookup,
    ::testing::Values(UnitsLookupCase{"SettingsFirst", true, true, true, true, true, "support"},
                      UnitsLookupCase{"NoVersion", false, true, true, true, true, "program"},
                      UnitsLookupCase{"NoSupportValue", true, false, true, true, true, "program"},
                      UnitsLookupCase{"NothingInSupport", true, true, false, true, true, "program"},
                      UnitsLookupCase{"SupportFolderLast", true, true, false, false, true, "folder"},
                      UnitsLookupCase{"NothingAnywhere", true, true, false, false, false, nullptr},
                      UnitsLookupCase{"NoSettingsNoFile", false, false, false, false, false, nullptr}),
    CaseName());

TEST(InstallationLookups, FindFilesUnderPathsOfAnyLength)
{
    TempDirectory dir;
    std::string deep = std::string(120, 'p') + "/" + std::string(120, 'q') + "/";
    ASSERT_GT(dir.path(deep).size(), 255u);
    dir.write(deep + "bin/units.ini", unitsFileNaming("program"));
    dir.write(deep + "bin/lintrel.hlp", "aide");
    dir.write(deep + "support/units.ini", unitsFileNaming("support"));
    CMemorySettingsStore noSettings;
    InstallationDirectories deepProgram{dir.path(deep + "bin"), dir.path(), dir.path()};
    EXPECT_EQ(loadUnitList(noSettings, deepProgram).entries, (Strings{"", "program"}));
    EXPECT_EQ(normalPath(findSupportFile(HelpFileName, deepProgram)), normalPath(dir.path(deep + "bin/lintrel.hlp")));

    CMemorySettingsStore store;
    givenProductVersion(store, "2.04");
    givenSupportDirectory(store, "2.04", dir.path(deep + "support"));
    EXPECT_EQ(normalPath(findUnitsFile(store, dir.path())), normalPath(dir.path(deep + "support/units.ini")));
}

// ---- the INI files standing for the registry ----

struct LocateCase {
    const char* name;
    const char* keyPath;
    std::optional<IniKeyLocation> location;
};

class IniKeyLocations : public ::testing::TestWithParam<LocateCase> { };

TEST_P(IniKeyLocations, MapTheKeyPathToAFileAndASection)
{
    EXPECT_EQ(CIniSettingsStore::locate("/cfg", GetParam().keyPath), GetParam().location) << GetParam().keyPath;
}

INSTANTIATE_TEST_SUITE_P(Paths, IniKeyLocations,
                         ::testing::Values(LocateCase{"ProductKeyIsTheFile", "SOFTWARE\\Veltrix\\Kinemo Solvane",
                                                      IniKeyLocation{"/cfg/Veltrix/Kinemo Solvane.ini", ""}},
                                           LocateCase{"KeyBelowTheProductIsASection",
                                                      "SOFTWARE\\Veltrix\\Kinemo Solvane\\2.04\\Home",
                                                      IniKeyLocation{"/cfg/Veltrix/Kinemo Solvane.ini", "2.04/Home"}},
                                           LocateCase{"VendorKeyHasNoFile", "SOFTWARE\\Veltrix", std::nullopt},
                                           LocateCase{"ParentFolderRefused", "SOFTWARE\\..\\passwd", std::nullopt}),
                         CaseName());

TEST(IniSettingsStore, ScopeWithoutDirectoryHoldsNothing)
{
    EXPECT_EQ(CIniSettingsStore::locate("", ProductKeyPath), std::nullopt);
}

TEST(IniSettingsStore, ReadsEachScopeFromItsOwnDirectory)
{
    TempDirectory dir;
    dir.write("user/Veltrix/Kinemo Solvane.ini",
              "current version = 2.04\nCurrent Version=9.99\n[2.04/Home]\nSupport=/user\n");
    dir.write("system/Veltrix/Kinemo Solvane.ini", "[2.04/HOME]\nsupport=/opt/support\n");
    CIniSettingsStore store(dir.path("user"), dir.path("system"));

    // Names compare without regard to case; of a name given twice the first counts.
    EXPECT_EQ(store.userValue(ProductKeyPath, CurrentVersionValueName), "2.04");
    EXPECT_EQ(store.systemValue(homeKeyPath("2.04"), SupportValueName), "/opt/support");
    EXPECT_EQ(store.systemValue(ProductKeyPath, CurrentVersionValueName), std::nullopt);
    EXPECT_EQ(store.userValue(homeKeyPath("3.00"), SupportValueName), std::nullopt);
    EXPECT_EQ(store.userValue("SOFTWARE\\Autre\\Produit", "Support"), std::nullopt);
}

TEST(IniSettingsStore, LeadsTheUnitListToTheProductsSupportDirectory)
{
    TempDirectory dir;
    dir.write("user/Veltrix/Kinemo Solvane.ini", "Current Version=2.04\n");
    dir.write("system/Veltrix/Kinemo Solvane.ini", "[2.04/Home]\nSupport=" + dir.path("support") + "\n");
    dir.write("support/units.ini", unitsFileNaming("support"));
    dir.write("bin/units.ini", unitsFileNaming("program"));
    CIniSettingsStore store(dir.path("user"), dir.path("system"));
    EXPECT_EQ(loadUnitList(store, placesIn(dir)).entries, (Strings{"", "support"}));
}

struct ConfigDirectoryCase {
    const char* name;
    const char* xdgConfigHome;
    const char* home;
    const char* xdgConfigDirs;
    const char* user;
    const char* system;
};

class ConfigDirectories : public ::testing::TestWithParam<ConfigDirectoryCase> { };

TEST_P(ConfigDirectories, FollowTheXdgVariables)
{
    const ConfigDirectoryCase& c = GetParam();
    EXPECT_EQ(userConfigDirectory(c.xdgConfigHome, c.home), c.user);
    EXPECT_EQ(systemConfigDirectory(c.xdgConfigDirs), c.system);
}

INSTANTIATE_TEST_SUITE_P(Variables, ConfigDirectories,
                         ::testing::Values(ConfigDirectoryCase{"Unset", nullptr, "/home/u", nullptr, "/home/u/.config",
                                                               "/etc/xdg"},
                                           ConfigDirectoryCase{"SetTheFirstDirectoryCounts", "/x/cfg", "/home/u",
                                                               "/opt/xdg:/etc/xdg", "/x/cfg", "/opt/xdg"},
                                           ConfigDirectoryCase{"RelativePathsSkipped", "relative", "/home/u",
                                                               "relative:/etc/alt", "/home/u/.config", "/etc/alt"},
                                           ConfigDirectoryCase{"EmptyAndNoHome", "", nullptr, "", "", "/etc/xdg"}),
                         CaseName());

// ---- support files ----

struct CandidatesCase {
    const char* name;
    const char* list;
    Strings candidates;
};

class SupportFileCandidates : public ::testing::TestWithParam<CandidatesCase> { };

TEST_P(SupportFileCandidates, JoinEachDirectoryAndTheNameWithoutDoublingTheSeparator)
{
    EXPECT_EQ(supportFileCandidates(GetParam().list, HelpFileName), GetParam().candidates) << GetParam().list;
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(
    Lists, SupportFileCandidates,
    ::testing::Values(
        CandidatesCase{"BackslashesAndADriveRoot", "D:\\aide;E:\\", {"D:\\aide\\lintrel.hlp", "E:\\lintrel.hlp"}},
        CandidatesCase{"SlashesAndADriveAlone", "D:/aide/;C:", {"D:/aide/lintrel.hlp", "C:lintrel.hlp"}},
        CandidatesCase{"NetworkPath", "\\\\serveur\\aide", {"\\\\serveur\\aide\\lintrel.hlp"}},
        CandidatesCase{"RelativeName", "Dummy", {"Dummy\\lintrel.hlp"}},
        CandidatesCase{"EmptyEntriesSkipped", "C:\\a;;C:\\b\\;", {"C:\\a\\lintrel.hlp", "C:\\b\\lintrel.hlp"}},
        CandidatesCase{"EmptyList", "", {}}),
    CaseName());
#else
INSTANTIATE_TEST_SUITE_P(Lists, SupportFileCandidates,
                         ::testing::Values(CandidatesCase{"WithAndWithoutClosingSeparator",
                                                          "/opt/aide;/srv/",
                                                          {"/opt/aide/lintrel.hlp", "/srv/lintrel.hlp"}},
                                           CandidatesCase{"RelativeName", "Dummy", {"Dummy/lintrel.hlp"}},
                                           CandidatesCase{
                                               "EmptyEntriesSkipped", "/a;;/b/;", {"/a/lintrel.hlp", "/b/lintrel.hlp"}},
                                           CandidatesCase{"EmptyList", "", {}}),
                         CaseName());
#endif

std::string repeated(std::string_view text, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

const std::string Ascii255(255, 'a');
const std::string Accented255 = repeated("é", 255);
const std::string FourBytes255 = repeated("\xF0\x9D\x84\x9E", 255); // U+1D11E, 4 bytes in UTF-8

struct SupportListCase {
    const char* name;
    std::string dorvane;
    std::string list;
};

class SupportDirectoryList : public ::testing::TestWithParam<SupportListCase> { };

TEST_P(SupportDirectoryList, KeepsUpTo255CharactersOfTheValue)
{
    TempDirectory dir;
    dir.write("etc/dorvane.ini", GetParam().dorvane);
    const std::string list = supportDirectoryList(dir.path("etc"));
    EXPECT_EQ(utf8CharacterCount(list), utf8CharacterCount(GetParam().list)) << GetParam().name;
    EXPECT_TRUE(list == GetParam().list) << GetParam().name; // too long to print
}

INSTANTIATE_TEST_SUITE_P(
    Values, SupportDirectoryList,
    ::testing::Values(
        SupportListCase{"Ascii255Whole", "[Options générales]\nFichiers support=" + Ascii255 + "\n", Ascii255},
        SupportListCase{"Accented255Whole", "[Options générales]\nFichiers support=" + Accented255 + "\n", Accented255},
        SupportListCase{"FourBytes255WholeBlanksAroundEquals",
                        "[Options générales]\nFichiers support = " + FourBytes255 + "\n", FourBytes255},
        SupportListCase{"LongerValueCutAt255", "[Options générales]\nFichiers support=" + Accented255 + "ééé\n",
                        Accented255},
        // Cut at the line's limit inside a character, then at 255 characters.
        SupportListCase{"LinePastTheLineLimit",
                        "[Options générales]\nFichiers support=" + FourBytes255 + repeated("\xF0\x9D\x84\x9E", 300)
                            + "\n",
                        FourBytes255},
        // The rest of an overlong line is dropped, never read as a line of its own.
        SupportListCase{"RestOfAnOverlongLineDropped",
                        "[Options générales]\nAutre=" + std::string(MaxProfileLineBytes - 6, 'a')
                            + "Fichiers support=faux\nFichiers support=" + Accented255 + "\n",
                        Accented255}),
    CaseName());

// A directory name of 90 accented characters (180 bytes): with the test's directory in
// front, a list of over 200 bytes, well under 255 characters.
const std::string LongDirectory = repeated("é", 90);
const std::string LongDirectoryHelp = LongDirectory + "/lintrel.hlp";

// Where findSupportFile finds "lintrel.hlp", by the files present.
struct SupportLookupCase {
    const char* name;
    Strings files;        // under the test's directory; "work" is the working directory, "bin" the program's
    std::string dorvane;  // "{dir}" stands for the test's directory, "{sep}" for the platform's separator
    const char* expected; // relative to the test's directory; null: not found
};

std::string replaced(std::string text, std::string_view placeholder, std::string_view by)
{
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + by.size()))
        text.replace(at, placeholder.size(), by);
    return text;
}

class SupportFileLookup : public ::testing::TestWithParam<SupportLookupCase> { };

TEST_P(SupportFileLookup, TriesTheNameThenBesideTheProgramThenTheSupportDirectories)
{
    const SupportLookupCase& c = GetParam();
    TempDirectory dir;
    for (const std::string& file : c.files)
        dir.write(file, "aide");
    if (!c.dorvane.empty()) {
        const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
        dir.write("etc/dorvane.ini", replaced(replaced(c.dorvane, "{dir}", dir.path()), "{sep}", separator));
    }
    std::optional<std::string> expected;
    if (c.expected)
        expected = dir.path(c.expected);
    EXPECT_EQ(normalPath(findSupportFile(HelpFileName, placesIn(dir))), normalPath(expected));
}

// Two support directories, the second written with its closing separator.
const std::string DorvaneTwo = "[Options générales]\nFichiers support={dir}{sep}aide;{dir}{sep}E{sep}\n";

INSTANTIATE_TEST_SUITE_P(
    Lookups, SupportFileLookup,
    ::testing::Values(
        SupportLookupCase{"AsNamedFirst", {"work/lintrel.hlp", "bin/lintrel.hlp"}, DorvaneTwo, "work/lintrel.hlp"},
        SupportLookupCase{"BesideTheProgram", {"bin/lintrel.hlp", "E/lintrel.hlp"}, DorvaneTwo, "bin/lintrel.hlp"},
        SupportLookupCase{
            "SupportDirectoriesInOrder", {"aide/lintrel.hlp", "E/lintrel.hlp"}, DorvaneTwo, "aide/lintrel.hlp"},
        SupportLookupCase{"SecondSupportDirectory", {"E/lintrel.hlp"}, DorvaneTwo, "E/lintrel.hlp"},
        SupportLookupCase{"Latin1Dorvane",
                          {"E/lintrel.hlp"},
                          "[Options g\xE9n\xE9rales]\nFichiers support={dir}{sep}aide;{dir}{sep}E{sep}\n",
                          "E/lintrel.hlp"},
        SupportLookupCase{"RelativeSupportDirectoriesFromTheWorkingDirectory",
                          {"work/rel/lintrel.hlp"},
                          "[Options générales]\nFichiers support=absent;rel\n",
                          "work/rel/lintrel.hlp"},
        SupportLookupCase{"WithoutDorvaneInDummy", {"work/Dummy/lintrel.hlp"}, "", "work/Dummy/lintrel.hlp"},
        SupportLookupCase{
            "DirectoryOfThatNameIsNoFile", {"work/lintrel.hlp/x", "aide/lintrel.hlp/x"}, DorvaneTwo, nullptr},
        SupportLookupCase{"Nowhere", {"F/lintrel.hlp"}, DorvaneTwo, nullptr},
        SupportLookupCase{"SupportDirectoryOfALongName",
                          {LongDirectoryHelp},
                          "[Options générales]\nFichiers support={dir}{sep}" + LongDirectory + "\n",
                          LongDirectoryHelp.c_str()}),
    CaseName());

TEST(SupportFileLookup, ANameWithAPathCharacterIsNotLookedUpInTheSupportDirectories)
{
    TempDirectory dir;
    dir.write("etc/dorvane.ini", "[Options générales]\nFichiers support=" + dir.path("aide") + "\n");
    dir.write("aide/lintrel.hlp", "aide");
    dir.write("aide/sub/lintrel.hlp", "aide");
    ASSERT_EQ(normalPath(findSupportFile("lintrel.hlp", placesIn(dir))), normalPath(dir.path("aide/lintrel.hlp")));
    for (const char* name : {"sub/lintrel.hlp", "sub\\lintrel.hlp", "c:lintrel.hlp", "lintrel.h?p", "*.hlp"}) {
#ifdef _WIN32
        // ":", "?" and "*" cannot be in a Windows file name, and "\\" separates folders.
        const bool plantable = std::string_view(name).find_first_of(":?*") == std::string_view::npos;
#else
        const bool plantable = true;
#endif
        if (plantable)
            dir.write(std::string("aide/") + name, "aide");
        EXPECT_EQ(findSupportFile(name, placesIn(dir)), std::nullopt) << name;
    }
}

TEST(VersionText, IsTheProjectVersion)
{
    EXPECT_EQ(ProductVersionText, "2.04.10");
}

} // namespace
