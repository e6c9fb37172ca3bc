#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of 32-bit pixels holding at most 256 distinct colours (the plot: its few
// pen colours and the grey levels of its labels) as one byte a pixel, an index into the
// table of those colours: the same pixels in a quarter of the memory, and a PNG written
// from it costs a third of the 32-bit one.
//
// Reads `height` rows of `width` pixels (0xAARRGGBB), `sourceBytesPerLine` bytes apart,
// and writes each pixel's index at `indices`, rows `indexBytesPerLine` bytes apart;
// `colours` receives the table, in the order the colours first appear. False, with the
// indices and the table left incomplete, when a 257th colour turns up.
bool indexColours(const unsigned char* pixels, int width, int height, std::ptrdiff_t sourceBytesPerLine,
                  unsigned char* indices, std::ptrdiff_t indexBytesPerLine, std::vector<std::uint32_t>& colours);
