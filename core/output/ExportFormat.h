#pragma once

#include <span>
#include <string>
#include <string_view>

// What the headless export makes of a curve, chosen by the output file's extension.
// A new format is one row of `exportFormats()` plus its writer in the export command;
// the usage text and the refusal of an unknown extension list the rows themselves.
enum class ExportKind {
    PrintedPage, // the page "&Imprimer" prints
    SvgPicture,  // the picture "&Copier" puts on the clipboard
    PngPicture,
    SampledValues, // the samples the plot draws, with the derivatives and the integral (CSV)
};

struct ExportFormat {
    std::string_view extension; // lower case, without the dot
    ExportKind kind;
};

std::span<const ExportFormat> exportFormats();

// The format of `path`, by its extension in any letter case; none for another one.
const ExportFormat* exportFormatOf(std::string_view path);

// "SORTIE.pdf|SORTIE.svg|SORTIE.png" for `stem` "SORTIE": the outputs the usage shows.
std::string exportOutputsText(std::string_view stem);

// The one-line refusal of a path whose extension is not a format's.
std::string unknownExportFormatText(std::string_view path);
