#include "settings/CIniSettingsStore.h"

#include "settings/ProfileFile.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

std::vector<std::string_view> splitKeyPath(std::string_view keyPath)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t end = keyPath.find('\\', start);
        parts.push_back(keyPath.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

bool isAbsolute(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

} // namespace

CIniSettingsStore::CIniSettingsStore(std::string userDirectory, std::string systemDirectory)
    : userDirectory_(std::move(userDirectory)), systemDirectory_(std::move(systemDirectory))
{
}

CIniSettingsStore CIniSettingsStore::fromEnvironment()
{
    return CIniSettingsStore(userConfigDirectory(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                             systemConfigDirectory(std::getenv("XDG_CONFIG_DIRS")));
}

std::optional<std::string> CIniSettingsStore::userValue(std::string_view keyPath, std::string_view name) const
{
    return read(userDirectory_, keyPath, name);
}

std::optional<std::string> CIniSettingsStore::systemValue(std::string_view keyPath, std::string_view name) const
{
    return read(systemDirectory_, keyPath, name);
}

std::optional<IniKeyLocation> CIniSettingsStore::locate(std::string_view scopeDirectory, std::string_view keyPath)
{
    std::vector<std::string_view> parts = splitKeyPath(keyPath);
    if (sameNameIgnoringCase(parts.front(), "SOFTWARE"))
        parts.erase(parts.begin());
    // A scope without a directory (no $HOME) holds nothing.
    if (scopeDirectory.empty() || parts.size() < 2 || parts[0].empty() || parts[1].empty())
        return std::nullopt;
    for (std::string_view part : parts)
        if (part == "." || part == ".." || part.find('/') != std::string_view::npos)
            return std::nullopt;
    IniKeyLocation location;
    location.file = std::string(scopeDirectory) + "/" + std::string(parts[0]) + "/" + std::string(parts[1]) + ".ini";
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (i > 2)
            location.section += '/';
        location.section += parts[i];
    }
    return location;
}

std::optional<std::string> CIniSettingsStore::read(std::string_view scopeDirectory, std::string_view keyPath,
                                                   std::string_view name)
{
    std::optional<IniKeyLocation> location = locate(scopeDirectory, keyPath);
    if (!location)
        return std::nullopt;
    std::optional<std::vector<ProfileEntry>> entries = readProfileFile(location->file);
    if (!entries)
        return std::nullopt;
    return profileValue(*entries, location->section, name);
}

std::string userConfigDirectory(const char* xdgConfigHome, const char* home)
{
    if (xdgConfigHome && isAbsolute(xdgConfigHome))
        return xdgConfigHome;
    if (home && *home)
        return std::string(home) + "/.config";
    return {};
}

std::string systemConfigDirectory(const char* xdgConfigDirs)
{
    std::string_view dirs = xdgConfigDirs ? xdgConfigDirs : "";
    while (!dirs.empty()) {
        std::size_t colon = dirs.find(':');
        std::string_view first = dirs.substr(0, colon);
        if (isAbsolute(first))
            return std::string(first);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
    return "/etc/xdg";
}
