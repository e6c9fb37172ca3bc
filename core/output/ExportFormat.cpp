#include "output/ExportFormat.h"

#include <array>

namespace {

constexpr std::array Formats{
    ExportFormat{"pdf", ExportKind::PrintedPage},
    ExportFormat{"svg", ExportKind::SvgPicture},
    ExportFormat{"png", ExportKind::PngPicture},
    ExportFormat{"csv", ExportKind::SampledValues},
};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text after the last dot of the file name (either separator ends a folder).
std::string_view extensionOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

} // namespace

std::span<const ExportFormat> exportFormats()
{
    return Formats;
}

const ExportFormat* exportFormatOf(std::string_view path)
{
    const std::string_view extension = extensionOf(path);
    for (const ExportFormat& format : Formats) {
        if (extension.size() != format.extension.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < extension.size() && same; ++i)
            same = lowerAscii(extension[i]) == format.extension[i];
        if (same)
            return &format;
    }
    return nullptr;
}

std::string exportOutputsText(std::string_view stem)
{
    std::string text;
    for (const ExportFormat& format : Formats) {
        if (!text.empty())
            text += '|';
        text.append(stem).append(".").append(format.extension);
    }
    return text;
}

std::string unknownExportFormatText(std::string_view path)
{
    std::string text = "Format inconnu <";
    text.append(path).append("> : le fichier doit finir par ");
    for (std::size_t i = 0; i < Formats.size(); ++i) {
        if (i > 0)
            text += i + 1 == Formats.size() ? " ou " : ", ";
        text.append(".").append(Formats[i].extension);
    }
    return text;
}
