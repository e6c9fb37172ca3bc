#pragma once

#include "settings/CSettingsStore.h"
#include "settings/InstallationDirectories.h"
#include "settings/ProfileFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the mechanism-simulation product tells its installation: the current user's
// version, then that version's support directory for the machine.
inline constexpr std::string_view ProductKeyPath = "SOFTWARE\\Veltrix\\Kinemo Solvane";
inline constexpr std::string_view CurrentVersionValueName = "Current Version";
inline constexpr std::string_view SupportValueName = "Support";
// The text a missing value reads as.
inline constexpr std::string_view MissingValueText = "null";

inline constexpr std::string_view UnitsFileName = "units.ini";
// The program directory's folder that holds the units file when it is not beside the program.
inline constexpr std::string_view SupportFolderName = "Support";

// Shown (OK, error icon, owned by the window with the focus) when no units file is found.
inline constexpr std::string_view UnitsFileMissingText =
    "Impossible de trouver le fichier de définition des unités !!!";
inline constexpr std::string_view UnitsFileMissingCaption = "** ATTENTION **";

// Characters a unit name holds, as many as the curve document's unit.
inline constexpr int MaxUnitNameLength = 15;

// "SOFTWARE\Veltrix\Kinemo Solvane\<version>\Home".
std::string homeKeyPath(std::string_view version);

// The units file the product's settings point to, if it exists.
std::optional<std::string> findUnitsFile(const CSettingsStore& store, std::string_view workingDirectory);

// The unit a key of the units file names: what follows its first "(" without the last
// character (the closing ")"), cut to MaxUnitNameLength characters. Nothing for a key
// that names no unit: no "(", or nothing left between it and the last character.
std::optional<std::string> unitNameOfKey(std::string_view key);

// The units of every key line of a units file inside a section, in file order,
// duplicates kept.
std::vector<std::string> unitNamesOf(const std::vector<ProfileEntry>& entries);

// The entries of the main window's unit list.
struct UnitList {
    // The empty entry first (it is the one selected), then the units of the file; no
    // entry at all when no units file was found.
    std::vector<std::string> entries;
    // The caller shows UnitsFileMissingText under UnitsFileMissingCaption.
    bool unitsFileMissing = false;
};

// The unit list from the units file of the product's settings, else from the one beside
// the program, else from the one in the program's "Support" folder.
UnitList loadUnitList(const CSettingsStore& store, const InstallationDirectories& directories);
