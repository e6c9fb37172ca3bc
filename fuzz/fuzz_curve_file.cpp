// Feeds arbitrary bytes to the curve file (.crb) reader the way the open command reads a
// file: the bytes are written to a file of this process, which readPointFile reads into
// the document, which is then marked saved and snapshotted. Beyond "no crash" it checks:
// - at most 1024 points kept, all finite; the saved count, the undo copy and the
//   "modified" state agree with what was read; texts (unit, message) are valid UTF-8 and
//   the unit holds at most 15 characters;
// - what was open before does not change what is read (a fresh and a used document
//   read the same points, unit, periodicity and message);
// - a file never loses or corrupts a point: the bytes a save would write for what was
//   read, read back, give the same points (each within the half-unit of the sixth
//   decimal that "%lf" keeps), the same settings and exactly the same bytes again.
#include "CurveFileChecks.h"

#include <cstddef>
#include <cstdint>

using namespace fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile scratch("curve", ".crb");
    CurveDocument doc;
    CurveDocument used;
    checkReadTwice(scratch, {reinterpret_cast<const char*>(data), size}, doc, used);
    check(used.unitName == doc.unitName && used.periodic == doc.periodic,
          "the settings read depend on the curve open before");

    checkSaveRoundTrip(doc, scratch);
    return 0;
}
