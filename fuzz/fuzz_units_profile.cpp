// Feeds arbitrary bytes as a units.ini: to the profile reader (parseProfileText), to the
// unit list the main window shows (unitNamesOf, and loadUnitList on the bytes written as
// the units file beside the program), and to unitNameOfKey as one raw key. Beyond
// "no crash" it checks:
// - parsing is deterministic, and the file route gives what the text route gives;
// - every section, key and value is valid UTF-8 and holds no line feed; each entry comes
//   from a line of its own holding "=", its key being the text before that "=" (never a
//   continued line, never a line split at ":"), key and value within one profile line;
// - every unit name is non-empty, valid UTF-8 (never cut inside a character), at most
//   15 characters, and the start of what follows the first "(" of its key;
// - the unit list is the empty entry followed by exactly those names.
#include "settings/CMemorySettingsStore.h"
#include "settings/InstallationDirectories.h"
#include "settings/ProfileFile.h"
#include "settings/UnitList.h"
#include "text/Latin1Text.h"
#include "text/Utf8Text.h"

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using namespace fuzz;

namespace {

// Lines that could give an entry: those holding "=".
std::size_t linesWithSeparator(std::string_view bytes)
{
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        if (line.find('=') != std::string_view::npos)
            ++lines;
        start = end + 1;
    }
    return lines;
}

// True when `key` stands somewhere in `text` followed by blanks and "=".
bool standsBeforeEquals(std::string_view text, std::string_view key)
{
    for (std::size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
        std::size_t after = at + key.size();
        while (after < text.size() && std::string_view(" \t\v\f\r").find(text[after]) != std::string_view::npos)
            ++after;
        if (after < text.size() && text[after] == '=')
            return true;
    }
    return false;
}

void checkUnitName(std::string_view key, const std::string& name)
{
    check(!name.empty(), "empty unit name");
    check(isValidUtf8(name), "unit name is not valid UTF-8");
    check(utf8CharacterCount(name) <= MaxUnitNameLength, "unit name longer than 15 characters");
    const std::size_t open = key.find('(');
    check(open != std::string_view::npos && key.substr(open + 1).starts_with(name),
          "unit name is not what follows the first \"(\" of its key");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchDirectory program("units");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::vector<ProfileEntry> entries = parseProfileText(bytes);
    const std::string text = isValidUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
    check(parseProfileText(bytes) == entries, "parsing the same text twice differs");
    check(entries.size() <= linesWithSeparator(bytes), "more entries than lines holding \"=\"");
    for (const ProfileEntry& e : entries) {
        check(e.key.find('=') == std::string::npos && standsBeforeEquals(text, e.key),
              "a key is not the text before the \"=\" of its line");
        for (const std::string* text : {&e.section, &e.key, &e.value}) {
            check(isValidUtf8(*text), "section, key or value is not valid UTF-8");
            check(text->find('\n') == std::string::npos, "section, key or value holds a line feed");
        }
        check(e.key.size() + e.value.size() < MaxProfileLineBytes, "key line longer than a profile line");
    }

    const std::vector<std::string> names = unitNamesOf(entries);
    std::size_t next = 0;
    for (const ProfileEntry& e : entries) {
        const std::optional<std::string> name = unitNameOfKey(e.key);
        if (e.section.empty() || !name)
            continue;
        check(next < names.size() && names[next] == *name, "unit list differs from the units of its keys");
        checkUnitName(e.key, names[next]);
        ++next;
    }
    check(next == names.size(), "unit list holds a unit of no key");

    // The whole input as one key: any text the reader could hand over.
    if (isValidUtf8(bytes))
        if (const std::optional<std::string> name = unitNameOfKey(bytes))
            checkUnitName(bytes, *name);

    // The units file beside the program, as start-up finds it without the product.
    program.write(UnitsFileName, bytes);
    const CMemorySettingsStore noProduct;
    InstallationDirectories directories;
    directories.programDirectory = program.path.string();
    directories.workingDirectory = program.path.string();
    const UnitList list = loadUnitList(noProduct, directories);
    check(!list.unitsFileMissing, "the units file beside the program was not found");
    check(!list.entries.empty() && list.entries.front().empty(), "the unit list does not start with the empty entry");
    check(std::vector<std::string>(list.entries.begin() + 1, list.entries.end()) == names,
          "the units file read from disk gives other units than its text");
    return 0;
}
