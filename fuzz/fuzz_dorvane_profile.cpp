// Feeds arbitrary bytes as the dorvane.ini of the profile directory: supportDirectoryList
// reads the support-files value from it, and supportFileCandidates turns that list into
// the paths the help file and the units file are looked for at. Beyond "no crash" it
// checks:
// - the file route gives what the text route gives: the first "Fichiers support" value of
//   the "Options générales" section (names in any ASCII case) up to its 255th character,
//   else "Dummy";
// - the list is valid UTF-8;
// - one candidate for each non-empty ";" entry of the list, in order, never one for an
//   empty entry: each candidate is its directory, one separator unless the directory
//   already ends with one, then the file name asked for.
#include "settings/InstallationDirectories.h"
#include "settings/ProfileFile.h"
#include "settings/SupportFile.h"
#include "settings/UnitList.h"
#include "text/Utf8Text.h"

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace fuzz;

namespace {

// The non-empty ";" entries of a directory list.
std::vector<std::string_view> directoriesOf(std::string_view list)
{
    std::vector<std::string_view> directories;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(SupportDirectorySeparator, start);
        const std::string_view entry =
            list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!entry.empty())
            directories.push_back(entry);
        if (end == std::string_view::npos)
            return directories;
        start = end + 1;
    }
}

void checkCandidates(std::string_view list, std::string_view name)
{
    const std::vector<std::string> candidates = supportFileCandidates(list, name);
    const std::vector<std::string_view> directories = directoriesOf(list);
    check(candidates.size() == directories.size(), "not one candidate for each non-empty directory entry");
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::string& c = candidates[i];
        const std::string_view directory = directories[i];
        check(c.size() > name.size() && c.ends_with(name), "a candidate does not end with the file name");
        check(c.starts_with(directory), "a candidate does not start with its directory");
        const std::string_view between =
            std::string_view(c).substr(directory.size(), c.size() - directory.size() - name.size());
        const bool endsWithSeparator = appendToDirectory(directory, "").size() == directory.size();
        check(between == (endsWithSeparator ? "" : separator), "a candidate doubles or misses its separator");
        check(!isValidUtf8(list) || isValidUtf8(c), "a candidate is not valid UTF-8");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchDirectory profiles("dorvane");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    profiles.write(DorvaneFileName, bytes);

    const std::string list = supportDirectoryList(profiles.path.string());
    const std::vector<ProfileEntry> entries = parseProfileText(bytes);
    const std::optional<std::string> value = profileValue(entries, DorvaneSection, DorvaneSupportKey);
    const std::string expected =
        value ? truncateUtf8(*value, MaxSupportListCharacters) : std::string(DorvaneSupportDefault);
    check(list == expected, "the file gives another support list than its text");
    check(supportDirectoryList(profiles.path.string()) == list, "reading the same file twice differs");
    check(isValidUtf8(list), "the support list is not valid UTF-8");

    for (std::string_view name : {HelpFileName, UnitsFileName})
        checkCandidates(list, name);
    // The raw bytes as a list too: any text a value could hold.
    checkCandidates(bytes, HelpFileName);
    return 0;
}
