#pragma once

#include <cstddef>
#include <fstream>
#include <istream>
#include <string>
#include <string_view>

// Files are 8-bit: one byte a character, ISO 8859-1. Texts inside the program are UTF-8.
std::string latin1ToUtf8(std::string_view bytes);
// A character outside Latin-1 (or a malformed UTF-8 sequence) becomes "?".
std::string utf8ToLatin1(std::string_view text);

// The most of a text file that is read; a curve file of 1024 points is far smaller,
// and what lies beyond is taken as the end of the file.
inline constexpr std::size_t MaxTextFileBytes = std::size_t(256) << 20;

// Reads a regular file as bytes, at most `limit` of them; false when it cannot be
// opened or read.
bool readFileBytes(const std::string& path, std::string& bytes, std::size_t limit = MaxTextFileBytes);

// Opens a regular file for reading in binary; false for a device, a pipe, a directory
// or a file that cannot be opened (a device named on the command line could be endless).
bool openRegularFile(const std::string& path, std::ifstream& in);

// Reads a text file a line at a time as a text-mode read on the original platform
// does (CR LF read as LF), in pieces of at most `pieceLength` bytes like fgets with a
// buffer one byte longer, and never past MaxTextFileBytes.
class TextLineReader {
public:
    TextLineReader(std::istream& in, std::size_t pieceLength) : in_(in), pieceLength_(pieceLength) { }
    // The next piece, its line end included; false at the end of the file.
    bool next(std::string& piece);

private:
    std::istream& in_;
    std::size_t pieceLength_;
    std::size_t consumed_ = 0;
};

// Replaces CR LF by LF, as a text-mode read on the original platform does.
std::string normalizeLineEnds(std::string_view bytes);

// Writes `bytes` to `path` without ever losing the previous file: the bytes go to a
// temporary file beside it, created under a new name of its own (never through an
// existing name or link), which replaces the target only once everything was written
// and flushed to disk; the directory is flushed after the rename too, so that a crash
// of the machine cannot leave the old file or none. In a folder where the user may not
// create or rename a file, an existing file they may write is written in place instead,
// its old bytes put back if the new ones cannot all be written. False when anything
// failed (the target then holds its old bytes, or, past the rename, the new ones).
bool replaceFileSafely(const std::string& path, std::string_view bytes);

// Flushes the entries of the directory `directory` (UTF-8) to disk, so that a file
// renamed into it survives a power cut. False when the directory cannot be opened or
// the disk reports an error. On Windows, where a directory cannot be flushed this way,
// it only checks that the directory exists.
bool syncDirectory(const std::string& directory);
