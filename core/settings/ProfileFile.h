#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One "key=value" line of a profile file (an INI file of sections holding key lines),
// in UTF-8. A key line above the first section header has an empty section.
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
    friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

// Every key line of a profile file's text, in file order, duplicates kept. The bytes
// are Latin-1 as our files are, unless the whole text is valid UTF-8 (an editor on
// Linux writes that). Lines are read as the profile functions of Windows read them:
// CR LF or LF, leading blanks ignored, ";" or "#" starting a comment line, the key
// ending at the first "=" (a line without one is skipped). A blank
// followed by ";" starts a comment within a line, and a line keeps only its first
// MaxProfileLineBytes bytes (after conversion to UTF-8).
std::vector<ProfileEntry> parseProfileText(std::string_view bytes);

// The same for a file; nothing when it cannot be read.
std::optional<std::vector<ProfileEntry>> readProfileFile(const std::string& path);

// The value of the first `key` line in a section named `section`, names
// compared without regard to ASCII case as the profile functions compare them.
std::optional<std::string> profileValue(const std::vector<ProfileEntry>& entries, std::string_view section,
                                        std::string_view key);

// The longest value a key line is meant to hold whole: the support directory list is
// read up to 255 characters, which UTF-8 writes in up to 4 bytes each.
inline constexpr std::size_t MaxProfileValueBytes = 255 * 4;
// Room before the value for the key, the blanks around "=" and "=" itself.
inline constexpr std::size_t MaxProfileKeyBytes = 256;
// What one line of a profile file holds; the rest of a longer line is dropped. inih's
// line buffer is set to this size plus the line end and the terminating null.
inline constexpr std::size_t MaxProfileLineBytes = MaxProfileKeyBytes + MaxProfileValueBytes;

// True when the two names differ only by the case of ASCII letters.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
