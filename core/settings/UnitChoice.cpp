#include "settings/UnitChoice.h"

#include "text/CaseFolding.h"
#include "text/Utf8Text.h"

UnitList unitListFor(const CSettingsStore* store, const std::optional<InstallationDirectories>& installation)
{
    if (!store || !installation)
        return {{std::string()}, false};
    return loadUnitList(*store, *installation);
}

void UnitChoice::select(std::string_view unit)
{
    added_.reset();
    if (unit.empty()) {
        selected_ = listed_.empty() ? -1 : 0;
        return;
    }
    for (std::size_t i = 0; i < listed_.size(); ++i) {
        if (equalIgnoringCase(listed_[i], unit)) {
            selected_ = static_cast<int>(i);
            return;
        }
    }
    added_ = std::string(unit);
    selected_ = static_cast<int>(listed_.size());
}

std::string UnitChoice::shownUnit(int index) const
{
    const int listed = static_cast<int>(listed_.size());
    if (index < 0 || index > listed || (index == listed && !added_))
        return {};
    const std::string& entry = index < listed ? listed_[static_cast<std::size_t>(index)] : *added_;
    int units = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (isUtf8Continuation(entry[i]))
            continue;
        // A lead byte of four bytes starts a character of two UTF-16 code units.
        const int width = static_cast<unsigned char>(entry[i]) >= 0xF0 ? 2 : 1;
        if (units + width > MaxUnitNameLength)
            return entry.substr(0, i) + (units < MaxUnitNameLength ? "?" : "");
        units += width;
    }
    return entry;
}
