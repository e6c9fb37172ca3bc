#pragma once

#include "settings/CSettingsStore.h"
#include "settings/InstallationDirectories.h"
#include "settings/UnitList.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The unit list of an editing run: the one of the installation's units file
// (loadUnitList), or, without an installation to look in or settings to read (tests),
// only the empty entry, with no units file said missing.
UnitList unitListFor(const CSettingsStore* store, const std::optional<InstallationDirectories>& installation);

// The main window's "Unités" list and the entry selected in it for the curve's unit.
// The list holds the unit list's entries and, past them, at most one entry more: the
// current curve's unit when the list does not hold it, so that saving writes that unit
// back rather than losing it. That entry goes with the next curve.
class UnitChoice {
public:
    UnitChoice() = default;
    explicit UnitChoice(std::vector<std::string> listed) : listed_(std::move(listed)) { }

    const std::vector<std::string>& listed() const { return listed_; }
    // The entry after the listed ones: the curve's unit that no listed entry is.
    const std::optional<std::string>& added() const { return added_; }
    // The entry select() chose: an index into the listed entries followed by the added
    // one; -1 when the list is empty and the curve has no unit.
    int selected() const { return selected_; }

    // Chooses the entry of the curve's `unit`: the first entry, the empty one, for no
    // unit; else the first listed entry that is the unit but for letter case (Unicode's
    // simple case folding); else the unit itself, added after the listed entries in
    // place of the previous curve's.
    void select(std::string_view unit);

    // The unit that the entry at `index` (-1: none) gives the curve, as the modified test
    // compares it and a save writes it: its first MaxUnitNameLength UTF-16 code units,
    // as many as the list's field holds. A character beyond the basic plane cut after
    // its first half becomes "?"; no entry gives no unit.
    std::string shownUnit(int index) const;

private:
    std::vector<std::string> listed_;
    std::optional<std::string> added_;
    int selected_ = -1;
};
