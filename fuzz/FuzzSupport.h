#pragma once

// What the fuzz targets share: the reading of the input bytes, the end of a run whose
// property is broken, and the scratch files the reader targets hand their input over in.
// Every target's corpus and kept findings depend on how the bytes are read: a change to
// Input changes what those inputs mean.
#include <unistd.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace fuzz {

// Aborts, so that libFuzzer keeps the input and its replay test fails. `details` (lines
// ending in "\n") gives the values that led there.
[[noreturn]] inline void broken(std::string_view what, std::string_view details = {})
{
    std::fputs("property broken: ", stderr);
    std::fwrite(what.data(), 1, what.size(), stderr);
    std::fputc('\n', stderr);
    std::fwrite(details.data(), 1, details.size(), stderr);
    std::abort();
}

inline void check(bool ok, std::string_view what)
{
    if (!ok)
        broken(what);
}

// Equal to the bit: -0 differs from 0, and a NaN equals itself. What "the same result
// twice" means for a double.
inline bool sameBits(double u, double v)
{
    return std::memcmp(&u, &v, sizeof u) == 0;
}

// Takes the fuzzer's bytes from the front; past the end every byte reads as 0.
// Multi-byte values are little-endian.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) { }

    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }
    std::uint8_t byte() { return p_ < end_ ? *p_++ : 0; }
    std::uint16_t u16()
    {
        const std::uint8_t low = byte();
        return static_cast<std::uint16_t>(low | byte() << 8);
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    // Any bit pattern: NaNs, infinities and subnormals included.
    double raw()
    {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= std::uint64_t{byte()} << (8 * i);
        return std::bit_cast<double>(bits);
    }

    // A double as the selector byte asks: one of the target's awkward values, a small
    // integer, a number with a fraction as the target scales it, or any bit pattern.
    template <typename Scaled>
    double number(std::span<const double> special, Scaled scaled)
    {
        const std::uint8_t selector = byte();
        switch (selector & 3) {
        case 0: return special[(selector >> 2) % special.size()];
        case 1: return static_cast<std::int8_t>(byte());
        case 2: return scaled(*this);
        default: return raw();
        }
    }

    // The rest, up to `characters` UTF-8 characters (a continuation byte does not count),
    // as a line edit of that maximum length would hand it over.
    std::string text(int characters)
    {
        std::string s;
        int count = 0;
        while (p_ < end_) {
            const bool continuation = (*p_ & 0xC0) == 0x80;
            if (!continuation && count == characters)
                break;
            count += continuation ? 0 : 1;
            s.push_back(static_cast<char>(*p_++));
        }
        return s;
    }

    // The rest up to the next newline (consumed), cut like text().
    std::string line(int characters)
    {
        const auto* nl = static_cast<const std::uint8_t*>(std::memchr(p_, '\n', remaining()));
        const std::uint8_t* stop = nl ? nl : end_;
        Input part(p_, static_cast<std::size_t>(stop - p_));
        std::string s = part.text(characters);
        p_ = nl ? nl + 1 : end_;
        return s;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// Scratch files live in memory when the system offers it: written at every run, they
// would otherwise cost more than the reading under test.
inline std::filesystem::path scratchRoot()
{
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec))
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Scratch names hold the process id, so that parallel runs never share one.
inline std::string scratchName(std::string_view target)
{
    return "crb-fuzz-" + std::string(target) + "-" + std::to_string(::getpid());
}

inline void writeScratch(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        broken("the scratch file could not be written");
}

// One file of this process, removed at exit; the suffix matters to readers that choose
// the format by the file name.
struct ScratchFile {
    explicit ScratchFile(std::string_view target, std::string_view suffix)
        : path((scratchRoot() / (scratchName(target) + std::string(suffix))).string())
    {
    }
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(std::string_view bytes) const { writeScratch(path, bytes); }

    std::string path;
};

// One directory of this process, standing for a directory the program looks files up
// in; removed at exit with what it holds.
struct ScratchDirectory {
    explicit ScratchDirectory(std::string_view target) : path(scratchRoot() / scratchName(target))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    void write(std::string_view name, std::string_view bytes) const { writeScratch(path / name, bytes); }

    std::filesystem::path path;
};

} // namespace fuzz
