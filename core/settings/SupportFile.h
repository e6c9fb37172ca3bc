#pragma once

#include "settings/InstallationDirectories.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The help file the help buttons open, what they say when it is not installed, and the
// anchors of the point list's and the formula dialog's topics.
inline constexpr std::string_view HelpFileName = "lintrel.hlp";
inline constexpr std::string_view HelpMissingFormat = "Fichier <%s> non trouvé !!!";
inline constexpr std::string_view HelpMissingCaption = "** Erreur **";
inline constexpr std::string_view ListHelpTopic = "tableaux";
inline constexpr std::string_view FormulaHelpTopic = "Formules";

// "Fichier <lintrel.hlp> non trouvé !!!"
std::string helpMissingText();

// The settings file of the sibling product that names the support directories.
inline constexpr std::string_view DorvaneFileName = "dorvane.ini";
inline constexpr std::string_view DorvaneSection = "Options générales";
inline constexpr std::string_view DorvaneSupportKey = "Fichiers support";
inline constexpr std::string_view DorvaneSupportDefault = "Dummy";
inline constexpr char SupportDirectorySeparator = ';';
// The support directory list is read up to this many characters.
inline constexpr int MaxSupportListCharacters = 255;

// A name holding one of these is a path, never looked up in the support directories.
inline constexpr std::string_view PathCharacters = ":/\\?*";

// The support directory list of dorvane.ini in `profileDirectory`, its first
// MaxSupportListCharacters characters, or DorvaneSupportDefault when the file or the
// value is missing.
std::string supportDirectoryList(std::string_view profileDirectory);

// The paths `name` is looked for at, one for each directory of `directoryList`
// (";"-separated, empty entries skipped), in order, without doubling a separator.
std::vector<std::string> supportFileCandidates(std::string_view directoryList, std::string_view name);

// A usable path of the support file `name`: the name itself (against the working
// directory), else beside the program, else, for a plain file name, in the support
// directories of dorvane.ini. Nothing when none of them holds the file.
std::optional<std::string> findSupportFile(std::string_view name, const InstallationDirectories& directories);
