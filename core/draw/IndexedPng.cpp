#include "draw/IndexedPng.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace {

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

// Opens a chunk: its length (patched by closeChunk) and type. Returns where it starts.
std::size_t openChunk(std::vector<unsigned char>& out, const char (&type)[5])
{
    const std::size_t start = out.size();
    putBigEndian(out, 0);
    out.insert(out.end(), type, type + 4);
    return start;
}

// Writes the chunk's length and appends its CRC (of the type and the data).
void closeChunk(std::vector<unsigned char>& out, std::size_t start)
{
    const std::size_t length = out.size() - start - 8;
    for (int i = 0; i < 4; ++i)
        out[start + i] = static_cast<unsigned char>(length >> (24 - 8 * i));
    const unsigned char* typeAndData = out.data() + start + 4;
    putBigEndian(out, static_cast<std::uint32_t>(crc32(0, typeAndData, static_cast<uInt>(length + 4))));
}

// The image data: each row behind its filter byte (0, none: a palette picture gains
// nothing from the others), deflated, then cut into IDAT chunks.
bool appendImageData(std::vector<unsigned char>& out, const unsigned char* indices, int width, int height,
                     std::ptrdiff_t bytesPerLine)
{
    // zlib's state, ended however the writing ends (a failed allocation throws).
    struct Stream {
        z_stream z{};
        bool open = false;
        ~Stream()
        {
            if (open)
                deflateEnd(&z);
        }
    } stream;
    z_stream& z = stream.z;
    // Runs never look into zlib's table of strings: a small one (memory level 4) is
    // enough, and the state zlib touches is little more than its window. The full window
    // slides least often, and blocks of 1024 symbols pack best here.
    stream.open = deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15, 4, Z_RLE) == Z_OK;
    if (!stream.open)
        return false;
    // A plot packs into a few kilobytes; the buffer doubles when a picture needs more,
    // its bytes never touched before zlib writes them.
    std::size_t capacity = std::size_t{1} << 16;
    auto packed = std::make_unique_for_overwrite<unsigned char[]>(capacity);
    z.next_out = packed.get();
    z.avail_out = static_cast<uInt>(capacity);
    auto makeRoom = [&] {
        const auto used = static_cast<std::size_t>(z.next_out - packed.get());
        auto larger = std::make_unique_for_overwrite<unsigned char[]>(capacity * 2);
        std::memcpy(larger.get(), packed.get(), used);
        packed = std::move(larger);
        capacity *= 2;
        z.next_out = packed.get() + used;
        z.avail_out = static_cast<uInt>(std::min<std::size_t>(capacity - used, std::numeric_limits<uInt>::max()));
    };
    const unsigned char none = 0;
    bool ok = true;
    for (int row = 0; row < height && ok; ++row) {
        for (int part = 0; part < 2 && ok; ++part) {
            z.next_in = const_cast<Bytef*>(part == 0 ? &none : indices + row * bytesPerLine);
            z.avail_in = part == 0 ? 1u : static_cast<uInt>(width);
            while (z.avail_in > 0 && ok) {
                if (z.avail_out == 0)
                    makeRoom();
                ok = deflate(&z, Z_NO_FLUSH) == Z_OK;
            }
        }
    }
    int status = Z_OK;
    while (ok && status == Z_OK) {
        if (z.avail_out == 0)
            makeRoom();
        status = deflate(&z, Z_FINISH);
        ok = status == Z_OK || status == Z_STREAM_END;
    }
    const auto size = static_cast<std::size_t>(z.next_out - packed.get());
    if (!ok)
        return false;
    constexpr std::size_t ChunkData = std::size_t{1} << 20;
    for (std::size_t at = 0; at < size; at += ChunkData) {
        const std::size_t chunk = openChunk(out, "IDAT");
        out.insert(out.end(), packed.get() + at, packed.get() + std::min(size, at + ChunkData));
        closeChunk(out, chunk);
    }
    return true;
}

// The whole file, the arguments checked.
std::vector<unsigned char> pngFile(const unsigned char* indices, int width, int height, std::ptrdiff_t bytesPerLine,
                                   std::span<const std::uint32_t> palette, int dotsPerMeterX, int dotsPerMeterY)
{
    std::vector<unsigned char> out;
    static constexpr std::array<unsigned char, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.insert(out.end(), signature.begin(), signature.end());

    std::size_t chunk = openChunk(out, "IHDR");
    putBigEndian(out, static_cast<std::uint32_t>(width));
    putBigEndian(out, static_cast<std::uint32_t>(height));
    // 8 bits an index, colour type 3 (palette), deflate, filters of type 0, no interlace.
    out.insert(out.end(), {8, 3, 0, 0, 0});
    closeChunk(out, chunk);

    chunk = openChunk(out, "PLTE");
    for (const std::uint32_t colour : palette) {
        out.push_back(static_cast<unsigned char>(colour >> 16));
        out.push_back(static_cast<unsigned char>(colour >> 8));
        out.push_back(static_cast<unsigned char>(colour));
    }
    closeChunk(out, chunk);

    if (dotsPerMeterX > 0 && dotsPerMeterY > 0) {
        chunk = openChunk(out, "pHYs");
        putBigEndian(out, static_cast<std::uint32_t>(dotsPerMeterX));
        putBigEndian(out, static_cast<std::uint32_t>(dotsPerMeterY));
        out.push_back(1); // the unit is the metre
        closeChunk(out, chunk);
    }

    if (!appendImageData(out, indices, width, height, bytesPerLine))
        return {};
    closeChunk(out, openChunk(out, "IEND"));
    return out;
}

} // namespace

std::vector<unsigned char> indexedPng(const unsigned char* indices, int width, int height, std::ptrdiff_t bytesPerLine,
                                      std::span<const std::uint32_t> palette, int dotsPerMeterX, int dotsPerMeterY)
{
    if (!indices || width < 1 || height < 1 || bytesPerLine < width || palette.empty() || palette.size() > 256)
        return {};
    // A row goes to zlib whole: its count is an unsigned int.
    static_assert(sizeof(uInt) >= sizeof(int));
    try {
        return pngFile(indices, width, height, bytesPerLine, palette, dotsPerMeterX, dotsPerMeterY);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
