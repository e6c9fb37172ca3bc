#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The PNG file of a palette picture (indexColours): one byte a pixel, `height` rows of
// `width` indices `bytesPerLine` bytes apart, into `palette` (0xAARRGGBB, opaque, at
// most 256 colours), and the resolution in dots per metre. A plot is long runs of one
// colour: the rows are compressed as runs (zlib's run-length strategy), which takes a
// fraction of the time and the memory of zlib's usual search and makes a smaller file.
// Empty when the picture or the palette is empty or too large, or zlib fails.
std::vector<unsigned char> indexedPng(const unsigned char* indices, int width, int height, std::ptrdiff_t bytesPerLine,
                                      std::span<const std::uint32_t> palette, int dotsPerMeterX, int dotsPerMeterY);
