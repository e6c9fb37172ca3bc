#pragma once

#include "settings/CSettingsStore.h"

#include <memory>
#include <string>

// The settings of this session's platform: the registry on Windows, the INI files of the
// user's and the machine's configuration scopes elsewhere.
std::unique_ptr<CSettingsStore> platformSettingsStore();

// Where a profile file named without a directory (dorvane.ini) lives: the Windows
// directory on Windows, as the profile functions look there; elsewhere the "Veltrix"
// directory of the machine-wide configuration directory.
std::string platformProfileDirectory();
