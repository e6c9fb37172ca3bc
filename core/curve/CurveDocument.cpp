#include "curve/CurveDocument.h"

#include <algorithm>

bool CurveDocument::isModified(std::string_view unitShown) const
{
    return smoothingMode != savedSmoothingMode_ || periodic != savedPeriodic_
        || !equalIgnoringLatin1Case(unitShown, savedUnitName_) || !std::ranges::equal(points(), saved_.points());
}

void CurveDocument::markSavedAs(std::span<const CurvePoint> read)
{
    saved_.replacePoints(read);
    savedSmoothingMode_ = smoothingMode;
    savedPeriodic_ = periodic;
    savedUnitName_ = unitName;
}
