#include "curve/FileDialogRules.h"

#include "text/Utf8Text.h"

FileDialogError checkChosenPath(std::string_view utf8Path)
{
    if (utf8Path.empty())
        return FileDialogError::Cancelled;
    if (utf8CharacterCount(utf8Path) > MaxFilePathLength)
        return FileDialogError::NameTooLong;
    std::size_t slash = utf8Path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? utf8Path : utf8Path.substr(slash + 1);
    if (name.empty())
        return FileDialogError::InvalidFileName;
    for (char c : utf8Path)
        if (static_cast<unsigned char>(c) < 0x20)
            return FileDialogError::InvalidFileName;
#ifdef _WIN32
    if (name.find_first_of("<>:\"|?*") != std::string_view::npos)
        return FileDialogError::InvalidFileName;
#endif
    return FileDialogError::None;
}

bool matchesOpenFilter(std::string_view utf8Path)
{
    const std::size_t slash = utf8Path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? utf8Path : utf8Path.substr(slash + 1);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::string_view pattern : {CurveFilePattern, AsciiFilePattern}) {
        const std::string_view suffix = pattern.substr(1); // "*.crb": ".crb"
        if (name.size() < suffix.size())
            continue;
        const std::string_view end = name.substr(name.size() - suffix.size());
        bool same = true;
        for (std::size_t i = 0; i < suffix.size(); ++i)
            same = same && lower(end[i]) == suffix[i];
        if (same)
            return true;
    }
    return false;
}

std::string fileDialogErrorMessage(FileDialogError error)
{
    switch (error) {
    case FileDialogError::InvalidFileName: return "Nom de fichier invalide";
    case FileDialogError::NameTooLong: return "Nom de fichier trop long (longueur maxi = 256 car.)";
    case FileDialogError::Other: return "Erreur non référencée !!!";
    case FileDialogError::None:
    case FileDialogError::Cancelled: break;
    }
    return {};
}
