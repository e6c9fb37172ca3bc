#include "text/Latin1Text.h"

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <new>
#include <system_error>

namespace fs = std::filesystem;

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        unsigned code = length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        bool valid = length > 1 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80)
                valid = false;
            else
                code = (code << 6) | (cc & 0x3F);
        }
        out += valid && code <= 0xFF ? static_cast<char>(code) : '?';
        i += valid ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

bool readFileBytes(const std::string& path, std::string& bytes)
{
    std::error_code ec;
    fs::path p = fs::u8path(path);
    // Only regular files: a device or a pipe named on the command line could be endless.
    if (!fs::is_regular_file(p, ec))
        return false;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    try {
        bytes.clear();
        char buffer[65536];
        while (bytes.size() < MaxTextFileBytes) {
            in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, MaxTextFileBytes - bytes.size())));
            bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
            if (!in)
                break;
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
    return !in.bad();
}

std::string normalizeLineEnds(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i];
    }
    return out;
}

bool replaceFileSafely(const std::string& path, std::string_view bytes)
{
    std::error_code ec;
    fs::path target = fs::u8path(path);
    // Through a link the file it names is replaced, so that readers of the link see it.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return false;
        target = resolved;
    }
    if (target.filename().empty() || fs::is_directory(target, ec))
        return false;
    const bool existed = fs::exists(target, ec);
    fs::perms permissions = fs::perms::unknown;
    if (existed) {
        permissions = fs::status(target, ec).permissions();
        // A file its owner may not write is not replaced behind its back.
        if (ec || (permissions & fs::perms::owner_write) == fs::perms::none)
            return false;
    }
    fs::path temporary = target;
    temporary += ".tmp~";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (out.fail()) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    if (existed)
        fs::permissions(temporary, permissions, ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}
