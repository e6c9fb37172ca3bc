#pragma once

#include "settings/CSettingsStore.h"

#include <optional>
#include <string>
#include <string_view>

// Where a key's values are kept among the INI files of one scope directory.
struct IniKeyLocation {
    std::string file;    // <scope directory>/<vendor>/<product>.ini
    std::string section; // the keys below the product, joined with "/"; empty for the product key itself
    friend bool operator==(const IniKeyLocation&, const IniKeyLocation&) = default;
};

// The registry's two scopes as INI files, for platforms without a registry. A key path
// "SOFTWARE\<vendor>\<product>[\<key>...]" lives in the file <vendor>/<product>.ini of
// the scope's directory: the product key's own values above the first section, each
// key below it in the section that names the rest of its path with "/"
// ("SOFTWARE\Veltrix\Kinemo Solvane\2.04\Home" is section [2.04/Home] of
// Veltrix/Kinemo Solvane.ini). Names compare without regard to ASCII case, as the
// registry compares them; of a name given twice the first counts.
class CIniSettingsStore final : public CSettingsStore {
public:
    CIniSettingsStore(std::string userDirectory, std::string systemDirectory);

    // The scopes of this session: userConfigDirectory and systemConfigDirectory of the
    // environment.
    static CIniSettingsStore fromEnvironment();

    std::optional<std::string> userValue(std::string_view keyPath, std::string_view name) const override;
    std::optional<std::string> systemValue(std::string_view keyPath, std::string_view name) const override;

    // Nothing for a path that names no vendor and product.
    static std::optional<IniKeyLocation> locate(std::string_view scopeDirectory, std::string_view keyPath);

private:
    static std::optional<std::string> read(std::string_view scopeDirectory, std::string_view keyPath,
                                           std::string_view name);

    std::string userDirectory_;
    std::string systemDirectory_;
};

// The user's configuration directory as XDG defines it: $XDG_CONFIG_HOME when it is an
// absolute path, otherwise $HOME/.config; empty without either. Arguments are the
// variables' values, null when unset.
std::string userConfigDirectory(const char* xdgConfigHome, const char* home);
// The machine-wide configuration directory: the first absolute entry of
// $XDG_CONFIG_DIRS, otherwise /etc/xdg.
std::string systemConfigDirectory(const char* xdgConfigDirs);
