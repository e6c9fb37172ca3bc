#include "settings/SupportFile.h"

#include "settings/ProfileFile.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"

std::string helpMissingText()
{
    return cformat(HelpMissingFormat, {HelpFileName});
}

std::string supportDirectoryList(std::string_view profileDirectory)
{
    std::optional<std::vector<ProfileEntry>> entries =
        readProfileFile(appendToDirectory(profileDirectory, DorvaneFileName));
    std::optional<std::string> list;
    if (entries)
        list = profileValue(*entries, DorvaneSection, DorvaneSupportKey);
    if (!list)
        return std::string(DorvaneSupportDefault);
    return truncateUtf8(*list, MaxSupportListCharacters);
}

std::vector<std::string> supportFileCandidates(std::string_view directoryList, std::string_view name)
{
    std::vector<std::string> candidates;
    std::size_t start = 0;
    while (start <= directoryList.size()) {
        std::size_t end = directoryList.find(SupportDirectorySeparator, start);
        if (end == std::string_view::npos)
            end = directoryList.size();
        std::string_view directory = directoryList.substr(start, end - start);
        // An empty entry would otherwise name the root directory.
        if (!directory.empty())
            candidates.push_back(appendToDirectory(directory, name));
        start = end + 1;
    }
    return candidates;
}

std::optional<std::string> findSupportFile(std::string_view name, const InstallationDirectories& directories)
{
    if (auto path = existingFile(directories.workingDirectory, name))
        return path;
    if (!directories.programDirectory.empty())
        if (auto path =
                existingFile(directories.workingDirectory, appendToDirectory(directories.programDirectory, name)))
            return path;
    if (name.find_first_of(PathCharacters) != std::string_view::npos)
        return std::nullopt;
    for (const std::string& candidate : supportFileCandidates(supportDirectoryList(directories.profileDirectory), name))
        if (auto path = existingFile(directories.workingDirectory, candidate))
            return path;
    return std::nullopt;
}
