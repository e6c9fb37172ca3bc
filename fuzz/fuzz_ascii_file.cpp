// Feeds arbitrary bytes to the ASCII point file reader the way the open command reads a
// file whose name holds no ".crb": the bytes are written to a file of this process, which
// readPointFile reads into the document, which is then marked saved and snapshotted.
// Beyond "no crash" it checks:
// - at most 1024 points kept, all finite; the saved count, the undo copy and the
//   "modified" state agree with what was read; the message is valid UTF-8;
// - the reader takes nothing but points: the smoothing mode, periodicity and unit of the
//   document stay as they were, and what was open before does not change the points;
// - a file never loses or corrupts a point: the curve file a save writes for what was
//   read, read back, gives the same points (each within the half-unit of the sixth
//   decimal that "%lf" keeps), the same settings and exactly the same bytes again.
#include "curve/CurveDocument.h"
#include "curve/CurveFile.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "fuzz_ascii_file: property broken: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what)
{
    if (!ok)
        broken(what);
}

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return false;
        for (int k = 1; k < length; ++k)
            if (!isUtf8Continuation(text[i + static_cast<std::size_t>(k)]))
                return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// Scratch files live in memory when the system offers it: written at every run, they
// would otherwise cost more than the reading under test.
std::filesystem::path scratchRoot()
{
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec))
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// One file for this process, so that parallel runs never share it; removed at exit.
struct ScratchFile {
    explicit ScratchFile(const char* suffix = ".txt")
        : path((scratchRoot() / ("crb-fuzz-ascii-" + std::to_string(::getpid()) + suffix))
                   .string())
    {
    }
    std::string path;
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    void write(std::string_view bytes) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            broken("the scratch file could not be written");
    }
};

// What the open command does with a chosen file.
FileReadResult openAsTheEditorDoes(const std::string& path, CurveDocument& doc)
{
    doc.filePath = path;
    FileReadResult result = readPointFile(path, path, doc, doc.points, doc.count);
    doc.markSaved();
    doc.takeSnapshot();
    return result;
}

void checkConsistent(const CurveDocument& doc, const FileReadResult& result)
{
    check(result.opened, "an existing file was not opened");
    check(doc.count >= 0 && doc.count <= MaxCurvePoints, "point count outside 0..1024");
    check(doc.savedCount == doc.count, "saved count differs from the count read");
    check(doc.undoCount == doc.count, "undo copy differs from the count read");
    check(!doc.isModified(), "a curve just read counts as modified");
    for (const CurvePoint& p : doc.currentPoints())
        check(std::isfinite(p.x) && std::isfinite(p.y), "a point read is not finite");
    check(isValidUtf8(doc.unitName), "unit is not valid UTF-8");
    check(utf8CharacterCount(doc.unitName) <= CurveDocument::MaxNameLength, "unit longer than 15 characters");
    check(isValidUtf8(result.message), "message is not valid UTF-8");
}

// The half-unit of the sixth decimal, and the rounding of the value itself.
bool closeAfterSave(double original, double readBack)
{
    return std::fabs(original - readBack) <= 5e-7 * (1 + 1e-9) + std::fabs(original) * 1e-15;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile points;
    static const ScratchFile curve(".crb");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    points.write(bytes);

    CurveDocument doc;
    const FileReadResult result = openAsTheEditorDoes(points.path, doc);
    checkConsistent(doc, result);

    // A document that held a full curve, a unit and settings before.
    CurveDocument used;
    for (int i = 0; i < MaxCurvePoints; ++i)
        used.appendPoint({i * 0.5 + 1, -i - 1.0});
    used.unitName = "avant";
    used.periodic = 1;
    used.smoothingMode = 3;
    used.markSaved();
    const FileReadResult usedResult = openAsTheEditorDoes(points.path, used);
    checkConsistent(used, usedResult);
    check(used.count == doc.count && std::equal(doc.currentPoints().begin(), doc.currentPoints().end(),
                                                used.currentPoints().begin()),
          "the points read depend on the curve open before");
    check(usedResult.message == result.message, "the message depends on the curve open before");
    check(used.unitName == "avant" && used.periodic == 1 && used.smoothingMode == 3,
          "the ASCII reader changed the curve settings");

    // Save what was read as a curve file, open it, save again.
    const std::string saved = curveFileBytes(used, used.currentPoints());
    curve.write(saved);
    CurveDocument again;
    const FileReadResult againResult = openAsTheEditorDoes(curve.path, again);
    checkConsistent(again, againResult);
    check(againResult.message.empty(), "a saved curve reads back with an error message");
    check(again.count == used.count, "a saved curve reads back with another number of points");
    for (int i = 0; i < used.count; ++i) {
        const CurvePoint& p = used.points[static_cast<std::size_t>(i)];
        const CurvePoint& q = again.points[static_cast<std::size_t>(i)];
        check(closeAfterSave(p.x, q.x) && closeAfterSave(p.y, q.y), "a saved point reads back moved");
    }
    check(again.smoothingMode == used.smoothingMode && again.periodic == used.periodic, "saved settings read back changed");
    check(again.unitName == used.unitName, "a saved unit reads back changed");
    check(curveFileBytes(again, again.currentPoints()) == saved, "saving what a saved file holds gives other bytes");
    return 0;
}
