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
#include "CurveFileChecks.h"

#include <cstddef>
#include <cstdint>

using namespace fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile points("ascii", ".txt");
    static const ScratchFile curve("ascii", ".crb");
    CurveDocument doc;
    CurveDocument used;
    checkReadTwice(points, {reinterpret_cast<const char*>(data), size}, doc, used);
    check(used.unitName == UsedUnit && used.periodic == UsedPeriodic && used.smoothingMode == UsedSmoothingMode,
          "the ASCII reader changed the curve settings");

    checkSaveRoundTrip(used, curve);
    return 0;
}
