#include "settings/PlatformSettings.h"

#include "settings/CIniSettingsStore.h"
#include "settings/CRegistrySettingsStore.h"
#include "settings/InstallationDirectories.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

std::unique_ptr<CSettingsStore> platformSettingsStore()
{
#ifdef _WIN32
    return std::make_unique<CRegistrySettingsStore>();
#else
    return std::make_unique<CIniSettingsStore>(CIniSettingsStore::fromEnvironment());
#endif
}

std::string platformProfileDirectory()
{
#ifdef _WIN32
    wchar_t directory[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryW(directory, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return {};
    const auto text = std::filesystem::path(std::wstring(directory, length)).u8string();
    return std::string(text.begin(), text.end());
#else
    return profileDirectoryUnder(systemConfigDirectory(std::getenv("XDG_CONFIG_DIRS")));
#endif
}
