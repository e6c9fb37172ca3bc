#include "draw/ColourIndex.h"

#include <cstring>

bool indexColours(const unsigned char* pixels, int width, int height, std::ptrdiff_t sourceBytesPerLine,
                  unsigned char* indices, std::ptrdiff_t indexBytesPerLine, std::vector<std::uint32_t>& colours)
{
    colours.clear();
    colours.reserve(256);
    // Runs of one colour are the rule (the white background, lines): the last colour
    // found is tried first, the table searched only when the colour changes.
    std::uint32_t last = 0;
    unsigned char lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + y * sourceBytesPerLine;
        unsigned char* out = indices + y * indexBytesPerLine;
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour;
            std::memcpy(&colour, row + 4 * static_cast<std::ptrdiff_t>(x), sizeof colour);
            if (!haveLast || colour != last) {
                std::size_t i = 0;
                while (i < colours.size() && colours[i] != colour)
                    ++i;
                if (i == colours.size()) {
                    if (colours.size() == 256)
                        return false;
                    colours.push_back(colour);
                }
                last = colour;
                lastIndex = static_cast<unsigned char>(i);
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
    return true;
}
