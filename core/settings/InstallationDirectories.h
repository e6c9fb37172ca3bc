#pragma once

#include <optional>
#include <string>
#include <string_view>

// The directories the installation lookups start from, handed in by the caller so that
// nothing here depends on the process (tests give temporary directories).
struct InstallationDirectories {
    std::string programDirectory; // the directory of the program file, of any length
    std::string workingDirectory; // against which a relative path is taken; empty: the process's
    std::string profileDirectory; // where a profile file named without a directory lives
};

// The directory of the machine's profile files (dorvane.ini): the "Veltrix" directory
// of the machine-wide configuration directory.
std::string profileDirectoryUnder(std::string_view systemConfigDirectory);

// `directory`, a separator unless it already ends with one, and `name`.
std::string appendToDirectory(std::string_view directory, std::string_view name);

// `path` taken against `workingDirectory` when relative, if a file (not a directory)
// exists there.
std::optional<std::string> existingFile(std::string_view workingDirectory, std::string_view path);
