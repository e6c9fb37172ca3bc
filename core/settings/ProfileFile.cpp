#include "settings/ProfileFile.h"

#include "text/Latin1Text.h"
#include "text/Utf8Text.h"

#include <ini.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// inih also ends a key at ":", where the profile functions read on to the "=": a ":"
// before the "=" goes to inih as this byte, which UTF-8 text never holds, and comes back.
constexpr char ColonStandIn = '\xFF';

// inih reads each line into a buffer of its line size (on the stack), 3 bytes more
// than the longest line for the line end and the null. Debian's inih takes that size
// at run time (ini_max_line): it is set once for the process, before the first file
// is read. With an inih whose size is built in (200 by default), nextLine cuts lines
// to fit that.
void sizeLineBuffer()
{
#ifdef CRB_INIH_LINE_SIZE_AT_RUN_TIME
    static const bool sized = [] {
        ini_max_line = static_cast<int>(MaxProfileLineBytes + 3);
        return true;
    }();
    (void)sized;
#endif
}

// Hands inih one line at a time, shaped as the profile functions read lines.
struct LineFeed {
    std::string_view text;
    std::size_t position = 0;
};

char* nextLine(char* buffer, int size, void* stream)
{
    auto& feed = *static_cast<LineFeed*>(stream);
    if (feed.position >= feed.text.size() || size < 2)
        return nullptr;
    std::size_t end = feed.text.find('\n', feed.position);
    if (end == std::string_view::npos)
        end = feed.text.size();
    std::string_view line = feed.text.substr(feed.position, end - feed.position);
    feed.position = end + 1;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // An indented line is a line of its own; inih would append it to the value above.
    // Every character inih skips as white space goes, not only blanks and tabs.
    while (!line.empty() && std::string_view(" \t\v\f\r").find(line.front()) != std::string_view::npos)
        line.remove_prefix(1);
    // The rest of a line longer than MaxProfileLineBytes or inih's buffer is dropped:
    // handed over in pieces it would be read as lines of their own.
    std::size_t room = std::min(static_cast<std::size_t>(size) - 2, MaxProfileLineBytes);
    if (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && isUtf8Continuation(line[cut]))
            --cut;
        line = line.substr(0, cut);
    }
    std::memcpy(buffer, line.data(), line.size());
    std::replace(buffer, buffer + std::min(line.find('='), line.size()), ':', ColonStandIn);
    buffer[line.size()] = '\n';
    buffer[line.size() + 1] = '\0';
    return buffer;
}

// `text` less a character its end cuts short. inih keeps only the first bytes of a
// long section name, which may end inside a character.
std::string_view withoutCutCharacter(std::string_view text)
{
    std::size_t start = text.size();
    while (start > 0 && text.size() - start < 4 && isUtf8Continuation(text[start - 1]))
        --start;
    if (start == 0)
        return text;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
    return text.size() - (start - 1) < length ? text.substr(0, start - 1) : text;
}

std::string withColons(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), ColonStandIn, ':');
    return out;
}

int addEntry(void* user, const char* section, const char* name, const char* value)
{
    // inih is C: nothing may be thrown through it.
    try {
        static_cast<std::vector<ProfileEntry>*>(user)->push_back(
            {std::string(withoutCutCharacter(withColons(section))), withColons(name), value ? value : ""});
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::vector<ProfileEntry> parseProfileText(std::string_view bytes)
{
    std::string text = isValidUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
    std::vector<ProfileEntry> entries;
    LineFeed feed{text};
    sizeLineBuffer();
    // A line inih cannot read (no "=") is skipped, as the profile functions skip it.
    ini_parse_stream(nextLine, &feed, addEntry, &entries);
    return entries;
}

std::optional<std::vector<ProfileEntry>> readProfileFile(const std::string& path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return std::nullopt;
    return parseProfileText(bytes);
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::optional<std::string> profileValue(const std::vector<ProfileEntry>& entries, std::string_view section,
                                        std::string_view key)
{
    auto it = std::find_if(entries.begin(), entries.end(), [&](const ProfileEntry& e) {
        return sameNameIgnoringCase(e.section, section) && sameNameIgnoringCase(e.key, key);
    });
    if (it == entries.end())
        return std::nullopt;
    return it->value;
}
