#include "settings/InstallationDirectories.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool endsWithSeparator(std::string_view directory)
{
    if (directory.empty())
        return false;
    char last = directory.back();
#ifdef _WIN32
    return last == '\\' || last == '/' || last == ':';
#else
    return last == '/';
#endif
}

} // namespace

std::string profileDirectoryUnder(std::string_view systemConfigDirectory)
{
    return appendToDirectory(systemConfigDirectory, "Veltrix");
}

std::string appendToDirectory(std::string_view directory, std::string_view name)
{
    std::string path(directory);
    if (!endsWithSeparator(directory))
        path += static_cast<char>(fs::path::preferred_separator);
    path += name;
    return path;
}

std::optional<std::string> existingFile(std::string_view workingDirectory, std::string_view path)
{
    if (path.empty())
        return std::nullopt;
    fs::path full = fs::u8path(path);
    if (full.is_relative() && !workingDirectory.empty())
        full = fs::u8path(workingDirectory) / full;
    std::error_code error;
    fs::file_status status = fs::status(full, error);
    if (error || !fs::exists(status) || fs::is_directory(status))
        return std::nullopt;
    std::u8string text = full.u8string();
    return std::string(text.begin(), text.end());
}
