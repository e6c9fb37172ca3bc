#include "curve/CurveFile.h"

#include "text/Latin1Text.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

namespace {

// Lines are read as fgets with an 80-byte buffer does: 79 bytes at most a piece.
constexpr std::size_t LinePieceLength = 79;

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A cursor over the file's bytes with the scanf conversions the curve layout uses.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) { }

    void skipSpace()
    {
        while (pos_ < text_.size() && isCSpace(text_[pos_]))
            ++pos_;
    }
    bool atEnd() const { return pos_ >= text_.size(); }

    // "%d": false when no 32-bit integer stands here.
    bool readInt(int& value)
    {
        skipSpace();
        long long v = 0;
        bool overflow = false;
        std::size_t used = parseIntegerPrefix(text_.substr(pos_), v, &overflow);
        if (used == 0 || overflow)
            return false;
        pos_ += used;
        value = static_cast<int>(v);
        return true;
    }

    // "%lf": false when no finite decimal number stands here.
    bool readDouble(double& value)
    {
        skipSpace();
        double v = 0;
        std::size_t used = parseDecimalPrefix(text_.substr(pos_), v);
        if (used == 0 || !std::isfinite(v))
            return false;
        pos_ += used;
        value = v;
        return true;
    }

    // "%s": the characters up to the next white space.
    std::string_view readWord()
    {
        skipSpace();
        std::size_t start = pos_;
        while (pos_ < text_.size() && !isCSpace(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // fgets with an 80-byte buffer: at most 79 bytes, up to and including the line end.
    bool readLinePiece(std::string_view& piece)
    {
        if (atEnd())
            return false;
        std::size_t start = pos_;
        while (pos_ < text_.size() && pos_ - start < LinePieceLength) {
            if (text_[pos_++] == '\n')
                break;
        }
        piece = text_.substr(start, pos_ - start);
        // The C string stops at an embedded NUL byte.
        piece = piece.substr(0, piece.find('\0'));
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Fields of a line separated by blanks and line ends only; a tab belongs to its field.
std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\n'))
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\n')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// The line as it reads once cut at the end of its first field.
std::string_view cutAtFirstField(std::string_view line)
{
    auto fields = splitFields(line);
    if (fields.empty())
        return line;
    return line.substr(0, static_cast<std::size_t>(fields.front().data() - line.data()) + fields.front().size());
}

// atof: leading white space, then the longest decimal prefix; no number gives 0.
// False only when the number is too large for a double.
bool convertField(std::string_view field, double& value)
{
    std::size_t i = 0;
    while (i < field.size() && isCSpace(field[i]))
        ++i;
    double v = 0;
    bool overflow = false;
    if (parseDecimalPrefix(field.substr(i), v, &overflow) == 0)
        v = 0;
    if (overflow || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string readErrorText(std::string_view shownLine)
{
    return cformat(ReadErrorMessage, {latin1ToUtf8(shownLine)});
}

// Reads the whole file as text lines ending in LF, then empties the target. False,
// and nothing touched, when the file cannot be read.
bool openAndEmptyTarget(const std::string& path, std::string& text, CurvePoints& target)
{
    if (!readFileBytes(path, text, MaxCurveFileBytes))
        return false;
    text = normalizeLineEnds(text);
    target.clearPoints();
    return true;
}

} // namespace

bool isCurveFilePath(std::string_view path)
{
    // Letter case is ignored: the simulation product may hand over CAM.CRB.
    constexpr std::string_view Extension = ".crb";
    for (std::size_t i = 0; i + Extension.size() <= path.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; same && k < Extension.size(); ++k) {
            char c = path[i + k];
            same = (c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) == Extension[k];
        }
        if (same)
            return true;
    }
    return false;
}

namespace {

// Fills `target` from a curve file; sets the document's smoothing mode, periodicity and unit.
FileReadResult readCurveInto(const std::string& path, CurveDocument& doc, CurvePoints& target)
{
    FileReadResult result;
    std::string bytes;
    if (!openAndEmptyTarget(path, bytes, target))
        return result;
    result.opened = true;
    doc.unitName.clear();
    Scanner in(bytes);
    int version = 0;
    bool haveVersion = in.readInt(version);
    doc.periodic = 0;

    if (!haveVersion) {
        // Not a curve file: nothing to take from it.
    } else if (version < CurveFileVersionWithMode) {
        // Old layout: the first number is the point count; each line holds a point
        // number (ignored), x and y.
        doc.smoothingMode = Cubique;
        in.skipSpace();
        std::string_view lastLine;
        for (int i = 0; i < version && !target.isFull(); ++i) {
            std::string_view line;
            if (!in.readLinePiece(line)) {
                result.message = readErrorText(cutAtFirstField(lastLine));
                break;
            }
            lastLine = line;
            auto fields = splitFields(line);
            CurvePoint p;
            if (fields.size() < 3 || !convertField(fields[1], p.x) || !convertField(fields[2], p.y))
                break; // a short or unreadable line ends the points silently
            target.appendPoint(p);
        }
    } else {
        int mode = 0;
        int periodic = 0;
        int declared = 0;
        bool header = in.readInt(mode);
        // Any number is kept, so that a save writes it back (see SmoothingMode).
        if (header)
            doc.smoothingMode = static_cast<SmoothingMode>(mode);
        if (header && version >= CurveFileVersion) {
            header = in.readInt(periodic);
            if (header)
                doc.periodic = periodic;
        }
        if (header)
            header = in.readInt(declared);
        bool complete = header && declared >= 0;
        for (int i = 0; complete && i < declared; ++i) {
            CurvePoint p;
            if (!in.readDouble(p.x) || !in.readDouble(p.y)) {
                complete = false;
                break;
            }
            // Points declared beyond the capacity are read past, not kept.
            target.appendPoint(p);
        }
        if (complete) {
            in.skipSpace();
            if (!in.atEnd())
                doc.unitName = truncateUtf8(latin1ToUtf8(in.readWord()), CurveDocument::MaxNameLength);
        }
    }
    return result;
}

// Fills `target` from an ASCII point file; the document's settings stay as they are.
FileReadResult readAsciiInto(const std::string& path, CurvePoints& target)
{
    FileReadResult result;
    std::ifstream file;
    if (!openRegularFile(path, file))
        return result;
    target.clearPoints();
    result.opened = true;
    // Lines are read one at a time, and reading stops once the curve is full: what
    // follows could only be skipped, and a huge file must not hold the window.
    TextLineReader lines(file, LinePieceLength);
    std::string buffer;
    while (!target.isFull() && lines.next(buffer)) {
        // The C string stops at an embedded NUL byte.
        std::string_view line(buffer.data(), std::min(buffer.find('\0'), buffer.size()));
        if (!line.empty() && (line[0] == '\n' || line[0] == ';'))
            continue;
        auto fields = splitFields(line);
        CurvePoint p;
        if (fields.size() < 2 || !convertField(fields[0], p.x) || !convertField(fields[1], p.y)) {
            result.message = readErrorText(cutAtFirstField(line));
            break;
        }
        target.appendPoint(p);
    }
    return result;
}

// Reads a curve file (`curveFile`) or an ASCII file into `target`; what was read and the
// document's settings then become the saved state.
FileReadResult readInto(const std::string& path, CurveDocument& doc, CurvePoints& target, bool curveFile)
{
    FileReadResult result = curveFile ? readCurveInto(path, doc, target) : readAsciiInto(path, target);
    if (result.opened)
        doc.markSavedAs(target.points());
    return result;
}

// The same into the document's curve, through a list of its own that the curve becomes
// when the file opened.
FileReadResult readIntoDocument(const std::string& path, CurveDocument& doc, bool curveFile)
{
    CurvePoints read;
    FileReadResult result = readInto(path, doc, read, curveFile);
    if (result.opened)
        doc.replacePoints(read.points());
    return result;
}

} // namespace

FileReadResult readCurveFile(const std::string& path, CurveDocument& doc)
{
    return readIntoDocument(path, doc, true);
}

FileReadResult readAsciiFile(const std::string& path, CurveDocument& doc)
{
    return readIntoDocument(path, doc, false);
}

FileReadResult readPointFile(const std::string& path, CurveDocument& doc)
{
    return readIntoDocument(path, doc, isCurveFilePath(path));
}

FileReadResult readPointFile(const std::string& path, CurveDocument& doc, CurvePoints& target)
{
    return readInto(path, doc, target, isCurveFilePath(path));
}

std::string curveFileBytes(const CurveDocument& doc, std::span<const CurvePoint> points)
{
    std::string out;
    out += cformat("%d\r\n", {CurveFileVersion});
    out += cformat("%d\r\n", {static_cast<int>(doc.smoothingMode)});
    out += cformat("%d\r\n", {doc.periodic});
    out += cformat("%d\r\n", {static_cast<int>(points.size())});
    for (const CurvePoint& p : points)
        out += cformat("%lf %lf\r\n", {p.x, p.y});
    if (!doc.unitName.empty())
        out += utf8ToLatin1(doc.unitName) + "\r\n";
    return out;
}

bool writeCurveFileTo(const std::string& path, const CurveDocument& doc, std::span<const CurvePoint> points)
{
    return replaceFileSafely(path, curveFileBytes(doc, points));
}
