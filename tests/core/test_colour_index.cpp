#include "draw/ColourIndex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Rows of 32-bit pixels with a few bytes of padding after each, as images have.
struct Pixels {
    int width, height;
    std::ptrdiff_t bytesPerLine;
    std::vector<unsigned char> bytes;
    Pixels(int w, int h, std::uint32_t fill) : width(w), height(h), bytesPerLine(4 * w + 8), bytes(bytesPerLine * h)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                set(x, y, fill);
    }
    void set(int x, int y, std::uint32_t c) { std::memcpy(&bytes[y * bytesPerLine + 4 * x], &c, 4); }
    std::uint32_t at(int x, int y) const
    {
        std::uint32_t c;
        std::memcpy(&c, &bytes[y * bytesPerLine + 4 * x], 4);
        return c;
    }
};

} // namespace

TEST(ColourIndex, GivesBackEveryPixelOrRefusesPastTwoHundredAndFiftySix)
{
    struct Case {
        const char* what;
        int colourCount; // distinct colours painted over a white picture, one pixel each
        bool indexed;
    };
    const Case cases[] = {
        {"one colour", 0, true},
        {"a few pens", 5, true},
        {"a full palette", 255, true},
        {"one colour too many", 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Pixels p(40, 9, 0xFFFFFFFF);
        for (int i = 0; i < c.colourCount; ++i)
            p.set(i % 40, 1 + i / 40, 0xFF000000u | static_cast<std::uint32_t>(i * 65521));
        // The same colour again after others: found in the table, not added twice.
        p.set(39, 8, 0xFF000000u);
        const std::ptrdiff_t indexBytesPerLine = 43;
        std::vector<unsigned char> indices(indexBytesPerLine * 9, 0xEE);
        std::vector<std::uint32_t> colours;
        ASSERT_EQ(indexColours(p.bytes.data(), 40, 9, p.bytesPerLine, indices.data(), indexBytesPerLine, colours),
                  c.indexed);
        if (!c.indexed)
            continue;
        EXPECT_EQ(colours.size(), static_cast<std::size_t>(c.colourCount == 0 ? 2 : c.colourCount + 1));
        EXPECT_EQ(colours.front(), 0xFFFFFFFFu) << "in the order they first appear";
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(colours.at(indices[y * indexBytesPerLine + x]), p.at(x, y)) << x << "," << y;
            EXPECT_EQ(indices[y * indexBytesPerLine + 40], 0xEE) << "nothing written past a row";
        }
    }
}
