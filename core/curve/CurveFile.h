#pragma once

#include "curve/CurveDocument.h"

#include <span>
#include <string>
#include <string_view>

// Version written on the first line of every curve file.
inline constexpr int CurveFileVersion = 20020704;
// The first version with the smoothing line; below it the first number is the point count.
inline constexpr int CurveFileVersionWithMode = 20020703;

inline constexpr std::string_view ReadErrorMessage = "Erreur à la ligne [%s] !!!\nLecture interrompue";

// What a reader tells its caller: whether the file could be opened, and the message
// to show (UTF-8, empty when there is none).
struct FileReadResult {
    bool opened = false;
    std::string message;
};

// The most of a curve file that is read. A full curve of the largest numbers "%lf"
// writes is under 1 MB; what lies beyond is taken as the end of the file, so that a
// file declaring billions of points cannot hold the window while it is read past.
inline constexpr std::size_t MaxCurveFileBytes = std::size_t(16) << 20;

// A path holding ".crb" anywhere, in any letter case, is a curve file, any other an ASCII file.
bool isCurveFilePath(std::string_view path);

// The readers. Each replaces the document's points with the file's, in the file's
// order; a curve file also sets the document's smoothing mode, periodicity and unit. The
// points read and the settings then become the saved state. A file that cannot be
// opened changes nothing.
FileReadResult readCurveFile(const std::string& path, CurveDocument& doc);
FileReadResult readAsciiFile(const std::string& path, CurveDocument& doc);
// The reader isCurveFilePath(`path`) calls for.
FileReadResult readPointFile(const std::string& path, CurveDocument& doc);
// The same, the points going to `target` instead of the document's curve (the point
// list's working copy); the settings and the saved state are still the document's.
FileReadResult readPointFile(const std::string& path, CurveDocument& doc, CurvePoints& target);

// The bytes of a curve file (Latin-1, CR LF) for the document's settings and `points`.
std::string curveFileBytes(const CurveDocument& doc, std::span<const CurvePoint> points);
// Writes the curve file; the previous file survives any failure. False when it failed.
bool writeCurveFileTo(const std::string& path, const CurveDocument& doc, std::span<const CurvePoint> points);
