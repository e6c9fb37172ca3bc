#include "draw/IndexedPng.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::uint32_t bigEndian(const unsigned char* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// What a PNG reader finds in the file: its chunks (each CRC checked), and the rows
// inflated from the IDAT chunks together.
struct ReadPng {
    bool valid = false;
    std::vector<std::string> chunkTypes;
    std::map<std::string, std::vector<unsigned char>> chunks; // the last of each type
    std::vector<unsigned char> imageData;                     // the IDAT chunks' data, joined
    std::vector<unsigned char> inflated;
};

ReadPng readPng(const std::vector<unsigned char>& file)
{
    ReadPng png;
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin()))
        return png;
    std::size_t at = 8;
    while (at + 12 <= file.size()) {
        const std::uint32_t length = bigEndian(&file[at]);
        if (at + 12 + length > file.size())
            return png;
        const std::string type(file.begin() + at + 4, file.begin() + at + 8);
        const unsigned char* data = &file[at + 8];
        if (crc32(0, &file[at + 4], length + 4) != bigEndian(data + length))
            return png;
        png.chunkTypes.push_back(type);
        png.chunks[type].assign(data, data + length);
        if (type == "IDAT")
            png.imageData.insert(png.imageData.end(), data, data + length);
        at += 12 + length;
    }
    if (at != file.size())
        return png;
    const auto header = png.chunks.find("IHDR");
    if (header == png.chunks.end() || header->second.size() != 13)
        return png;
    // Room for one byte more than the rows take, to see that nothing follows them.
    png.inflated.resize((std::size_t{bigEndian(&header->second[0])} + 1) * bigEndian(&header->second[4]) + 1);
    z_stream z{};
    inflateInit(&z);
    z.next_in = png.imageData.data();
    z.avail_in = static_cast<uInt>(png.imageData.size());
    z.next_out = png.inflated.data();
    z.avail_out = static_cast<uInt>(png.inflated.size());
    const int status = inflate(&z, Z_FINISH);
    png.inflated.resize(z.total_out);
    inflateEnd(&z);
    png.valid = status == Z_STREAM_END && z.avail_in == 0;
    return png;
}

} // namespace

TEST(IndexedPng, ReadsBackAsTheSameIndicesPaletteAndResolution)
{
    struct Case {
        const char* what;
        int width, height;
        std::ptrdiff_t bytesPerLine;
        int colours;
        bool randomIndices; // else long runs, as a plot has
        int dotsPerMeter;
        int idatChunks;
    };
    const Case cases[] = {
        {"one pixel", 1, 1, 1, 1, false, 3780, 1},
        {"padded rows", 37, 5, 40, 3, true, 3780, 1},
        {"a plot's runs", 1000, 700, 1000, 189, false, 3780, 1},
        {"a full palette", 256, 4, 256, 256, true, 11811, 1},
        {"no resolution given", 8, 2, 8, 2, true, 0, 1},
        // Incompressible: the packed data outgrows its first buffer many times over and
        // is cut into two chunks.
        {"more than a chunk", 1200, 1000, 1200, 256, true, 3780, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 random(7);
        std::vector<unsigned char> indices(c.bytesPerLine * c.height, 0xEE);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                indices[y * c.bytesPerLine + x] =
                    static_cast<unsigned char>(c.randomIndices ? random() % c.colours : (x / 97 + y / 13) % c.colours);
        std::vector<std::uint32_t> palette;
        for (int i = 0; i < c.colours; ++i)
            palette.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 65521));

        const ReadPng png = readPng(
            indexedPng(indices.data(), c.width, c.height, c.bytesPerLine, palette, c.dotsPerMeter, c.dotsPerMeter));
        ASSERT_TRUE(png.valid);
        EXPECT_EQ(png.chunkTypes.front(), "IHDR");
        EXPECT_EQ(png.chunkTypes.back(), "IEND");
        EXPECT_EQ(std::count(png.chunkTypes.begin(), png.chunkTypes.end(), "IDAT"), c.idatChunks);
        const std::vector<unsigned char>& header = png.chunks.at("IHDR");
        ASSERT_EQ(header.size(), 13u);
        EXPECT_EQ(bigEndian(&header[0]), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(bigEndian(&header[4]), static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(std::vector<unsigned char>(header.begin() + 8, header.end()),
                  (std::vector<unsigned char>{8, 3, 0, 0, 0}));

        const std::vector<unsigned char>& table = png.chunks.at("PLTE");
        ASSERT_EQ(table.size(), 3 * palette.size());
        for (std::size_t i = 0; i < palette.size(); ++i)
            EXPECT_EQ(std::uint32_t{table[3 * i]} << 16 | std::uint32_t{table[3 * i + 1]} << 8 | table[3 * i + 2],
                      palette[i] & 0xFFFFFFu);

        if (c.dotsPerMeter > 0) {
            const std::vector<unsigned char>& physical = png.chunks.at("pHYs");
            ASSERT_EQ(physical.size(), 9u);
            EXPECT_EQ(bigEndian(&physical[0]), static_cast<std::uint32_t>(c.dotsPerMeter));
            EXPECT_EQ(bigEndian(&physical[4]), static_cast<std::uint32_t>(c.dotsPerMeter));
            EXPECT_EQ(physical[8], 1);
        } else {
            EXPECT_EQ(png.chunks.count("pHYs"), 0u);
        }

        // Each row: filter byte 0, then the row's indices and nothing of its padding.
        ASSERT_EQ(png.inflated.size(), static_cast<std::size_t>((c.width + 1) * c.height));
        for (int y = 0; y < c.height; ++y) {
            const unsigned char* row = &png.inflated[y * (c.width + 1)];
            ASSERT_EQ(row[0], 0) << "row " << y;
            ASSERT_TRUE(std::equal(row + 1, row + 1 + c.width, &indices[y * c.bytesPerLine])) << "row " << y;
        }
    }
}

TEST(IndexedPng, RefusesWhatNoPngHolds)
{
    const std::vector<unsigned char> indices(64, 0);
    const std::vector<std::uint32_t> one{0xFFFFFFFFu};
    const std::vector<std::uint32_t> tooMany(257, 0xFF000000u);
    struct Case {
        const char* what;
        const unsigned char* indices;
        int width, height;
        std::ptrdiff_t bytesPerLine;
        const std::vector<std::uint32_t>& palette;
    };
    const std::vector<std::uint32_t> none;
    const Case cases[] = {
        {"no pixels", nullptr, 8, 8, 8, one},          {"no width", indices.data(), 0, 8, 8, one},
        {"no height", indices.data(), 8, 0, 8, one},   {"rows overlapping", indices.data(), 8, 8, 4, one},
        {"no palette", indices.data(), 8, 8, 8, none}, {"more than 256 colours", indices.data(), 8, 8, 8, tooMany},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(indexedPng(c.indices, c.width, c.height, c.bytesPerLine, c.palette, 3780, 3780).empty());
    }
}
