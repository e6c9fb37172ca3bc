#pragma once

#include <string>
#include <string_view>

// The outcome of a file-choice dialog, and the messages its failures show.
enum class FileDialogError {
    None,            // a path was chosen
    Cancelled,       // the user closed the dialog: nothing is shown
    InvalidFileName, // "Nom de fichier invalide"
    NameTooLong,     // the path does not fit the 256-character buffer
    Other,           // "Erreur non référencée !!!"
};

inline constexpr int MaxFilePathLength = 255;
inline constexpr std::string_view FileDialogErrorCaption = "Attention";
inline constexpr std::string_view OpenDialogTitle = "Ouvrir un fichier";
inline constexpr std::string_view SaveDialogTitle = "Enregistrer un fichier";
inline constexpr std::string_view CurveFileFilterName = "Fichier courbe";
inline constexpr std::string_view AsciiFileFilterName = "Fichiers ASCII";
inline constexpr std::string_view CurveFileExtension = "crb";
// The open dialog's filters' patterns; the save dialog offers the first alone.
inline constexpr std::string_view CurveFilePattern = "*.crb";
inline constexpr std::string_view AsciiFilePattern = "*.txt";

// Checks a path the dialog returned the way the original dialog's buffer and name
// checks did: too long for 256 characters, or not a usable file name.
FileDialogError checkChosenPath(std::string_view utf8Path);

// Whether the name of `utf8Path` matches a pattern of the open dialog's filters, letter
// case ignored: what a file dropped on the window must be to be opened.
bool matchesOpenFilter(std::string_view utf8Path);

// The text shown for an error; empty for None and Cancelled.
std::string fileDialogErrorMessage(FileDialogError error);
