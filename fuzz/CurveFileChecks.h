#pragma once

// The checks the curve file and ASCII file targets share: both read a file the way the
// open command does, and both must give a curve that survives a save.
#include "curve/CurveDocument.h"
#include "curve/CurveFile.h"
#include "text/Utf8Text.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

namespace fuzz {

// What the open command does with a chosen file.
inline FileReadResult openAsTheEditorDoes(const std::string& path, CurveDocument& doc)
{
    doc.filePath = path;
    FileReadResult result = readPointFile(path, doc);
    doc.takeSnapshot();
    return result;
}

inline void checkConsistent(const CurveDocument& doc, const FileReadResult& result)
{
    check(result.opened, "an existing file was not opened");
    check(doc.count() >= 0 && doc.count() <= MaxCurvePoints, "point count outside 0..1024");
    check(doc.savedCount() == doc.count(), "saved count differs from the count read");
    check(doc.undoCount() == doc.count(), "undo copy differs from the count read");
    check(!doc.isModified(), "a curve just read counts as modified");
    for (const CurvePoint& p : doc.points())
        check(std::isfinite(p.x) && std::isfinite(p.y), "a point read is not finite");
    check(isValidUtf8(doc.unitName), "unit is not valid UTF-8");
    check(utf8CharacterCount(doc.unitName) <= CurveDocument::MaxNameLength, "unit longer than 15 characters");
    check(isValidUtf8(result.message), "message is not valid UTF-8");
}

// The half-unit of the sixth decimal, and the rounding of the value itself.
inline bool closeAfterSave(double original, double readBack)
{
    return std::fabs(original - readBack) <= 5e-7 * (1 + 1e-9) + std::fabs(original) * 1e-15;
}

// The unit and settings of the used document of checkReadTwice.
inline constexpr const char* UsedUnit = "avant";
inline constexpr int UsedPeriodic = 1;
inline constexpr SmoothingMode UsedSmoothingMode = Carlson;

// Writes `bytes` to `file` and opens it into `fresh`, a new document, and into `used`,
// one that held a full curve, a unit and settings: both must be consistent, and what was
// open before must not change the points or the message. The settings are left to the
// caller: only a curve file sets them.
inline void checkReadTwice(const ScratchFile& file, std::string_view bytes, CurveDocument& fresh, CurveDocument& used)
{
    file.write(bytes);
    const FileReadResult freshResult = openAsTheEditorDoes(file.path, fresh);
    checkConsistent(fresh, freshResult);

    for (int i = 0; i < MaxCurvePoints; ++i)
        used.appendPoint({i * 0.5 + 1, -i - 1.0});
    used.unitName = UsedUnit;
    used.periodic = UsedPeriodic;
    used.smoothingMode = UsedSmoothingMode;
    used.markSaved();
    const FileReadResult usedResult = openAsTheEditorDoes(file.path, used);
    checkConsistent(used, usedResult);
    check(std::ranges::equal(fresh.points(), used.points()), "the points read depend on the curve open before");
    check(usedResult.message == freshResult.message, "the message depends on the curve open before");
}

// A file never loses or corrupts a point: the curve file a save writes for `read`,
// written to `curveFile` and read back, gives the same points (each within the
// half-unit of the sixth decimal that "%lf" keeps), the same settings and, saved again,
// exactly the same bytes.
inline void checkSaveRoundTrip(const CurveDocument& read, const ScratchFile& curveFile)
{
    const std::string saved = curveFileBytes(read, read.points());
    curveFile.write(saved);
    CurveDocument again;
    const FileReadResult againResult = openAsTheEditorDoes(curveFile.path, again);
    checkConsistent(again, againResult);
    check(againResult.message.empty(), "a saved curve reads back with an error message");
    check(again.count() == read.count(), "a saved curve reads back with another number of points");
    for (int i = 0; i < read.count(); ++i) {
        const CurvePoint& p = read.points()[static_cast<std::size_t>(i)];
        const CurvePoint& q = again.points()[static_cast<std::size_t>(i)];
        check(closeAfterSave(p.x, q.x) && closeAfterSave(p.y, q.y), "a saved point reads back moved");
    }
    check(again.smoothingMode == read.smoothingMode && again.periodic == read.periodic,
          "saved settings read back changed");
    check(again.unitName == read.unitName, "a saved unit reads back changed");
    check(curveFileBytes(again, again.points()) == saved, "saving what a saved file holds gives other bytes");
}

} // namespace fuzz
