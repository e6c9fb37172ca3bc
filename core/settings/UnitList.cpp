#include "settings/UnitList.h"

#include "text/Utf8Text.h"

#include <utility>

std::string homeKeyPath(std::string_view version)
{
    std::string path(ProductKeyPath);
    path += '\\';
    path += version;
    path += "\\Home";
    return path;
}

std::optional<std::string> findUnitsFile(const CSettingsStore& store, std::string_view workingDirectory)
{
    std::string version =
        store.userValue(ProductKeyPath, CurrentVersionValueName).value_or(std::string(MissingValueText));
    if (version == MissingValueText)
        return std::nullopt;
    // Without a "Support" value the product has no support directory: the program's own
    // directory is tried next, not a relative "null" folder.
    std::string support =
        store.systemValue(homeKeyPath(version), SupportValueName).value_or(std::string(MissingValueText));
    if (support == MissingValueText)
        return std::nullopt;
    return existingFile(workingDirectory, appendToDirectory(support, UnitsFileName));
}

std::optional<std::string> unitNameOfKey(std::string_view key)
{
    std::size_t open = key.find('(');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::string_view inside = key.substr(open + 1);
    if (inside.empty())
        return std::nullopt;
    // The last character goes whole, whatever it is: a name cut inside a character
    // would not be UTF-8 any more.
    std::size_t last = inside.size() - 1;
    while (last > 0 && isUtf8Continuation(inside[last]))
        --last;
    if (last == 0)
        return std::nullopt;
    return truncateUtf8(inside.substr(0, last), MaxUnitNameLength);
}

std::vector<std::string> unitNamesOf(const std::vector<ProfileEntry>& entries)
{
    std::vector<std::string> names;
    for (const ProfileEntry& entry : entries) {
        if (entry.section.empty())
            continue;
        if (std::optional<std::string> name = unitNameOfKey(entry.key))
            names.push_back(std::move(*name));
    }
    return names;
}

UnitList loadUnitList(const CSettingsStore& store, const InstallationDirectories& directories)
{
    std::optional<std::string> path = findUnitsFile(store, directories.workingDirectory);
    if (!path && !directories.programDirectory.empty())
        path =
            existingFile(directories.workingDirectory, appendToDirectory(directories.programDirectory, UnitsFileName));
    if (!path && !directories.programDirectory.empty()) {
        std::string support = appendToDirectory(directories.programDirectory, SupportFolderName);
        path = existingFile(directories.workingDirectory, appendToDirectory(support, UnitsFileName));
    }
    UnitList list;
    if (!path) {
        list.unitsFileMissing = true;
        return list;
    }
    list.entries.emplace_back();
    // A file that exists but cannot be read gives an empty list, as one without sections.
    if (std::optional<std::vector<ProfileEntry>> entries = readProfileFile(*path)) {
        std::vector<std::string> names = unitNamesOf(*entries);
        list.entries.insert(list.entries.end(), names.begin(), names.end());
    }
    return list;
}
