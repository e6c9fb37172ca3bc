#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Files are 8-bit: one byte a character, ISO 8859-1. Texts inside the program are UTF-8.
std::string latin1ToUtf8(std::string_view bytes);
// A character outside Latin-1 (or a malformed UTF-8 sequence) becomes "?".
std::string utf8ToLatin1(std::string_view text);

// The most of a text file that is read; a curve file of 1024 points is far smaller,
// and what lies beyond is taken as the end of the file.
inline constexpr std::size_t MaxTextFileBytes = std::size_t(256) << 20;

// Reads a regular file as bytes, at most MaxTextFileBytes; false when it cannot be
// opened or read.
bool readFileBytes(const std::string& path, std::string& bytes);

// Replaces CR LF by LF, as a text-mode read on the original platform does.
std::string normalizeLineEnds(std::string_view bytes);

// Writes `bytes` to `path` without ever losing the previous file: the bytes go to a
// temporary file beside it, which replaces the target only once everything was
// written. False when anything failed (the target is then untouched).
bool replaceFileSafely(const std::string& path, std::string_view bytes);
