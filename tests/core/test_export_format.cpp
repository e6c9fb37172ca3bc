#include "output/ExportFormat.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

TEST(ExportFormat, TheExtensionChoosesTheFormatInAnyLetterCase)
{
    struct Case {
        const char* name;
        std::string_view path;
        std::optional<ExportKind> kind;
    };
    const Case cases[] = {
        {"pdf", "out.pdf", ExportKind::PrintedPage},
        {"svg", "dir/out.svg", ExportKind::SvgPicture},
        {"png", "C:\\dir\\out.png", ExportKind::PngPicture},
        {"csv", "out.csv", ExportKind::SampledValues},
        {"upper case", "OUT.PNG", ExportKind::PngPicture},
        {"mixed case", "out.Svg", ExportKind::SvgPicture},
        {"last dot counts", "out.png.pdf", ExportKind::PrintedPage},
        {"unknown extension", "out.bmp", std::nullopt},
        {"no extension", "out", std::nullopt},
        {"dot in a folder only", "out.png/file", std::nullopt},
        {"dot in a Windows folder only", "out.pdf\\file", std::nullopt},
        {"ending with a dot", "out.", std::nullopt},
        {"longer extension", "out.pngx", std::nullopt},
        {"empty path", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExportFormat* format = exportFormatOf(c.path);
        ASSERT_EQ(format != nullptr, c.kind.has_value());
        if (format) {
            EXPECT_EQ(format->kind, *c.kind);
        }
    }
}

TEST(ExportFormat, TheUsageAndTheRefusalListEveryFormat)
{
    EXPECT_EQ(exportOutputsText("SORTIE"), "SORTIE.pdf|SORTIE.svg|SORTIE.png|SORTIE.csv");
    EXPECT_EQ(unknownExportFormatText("OUT.bmp"),
              "Format inconnu <OUT.bmp> : le fichier doit finir par .pdf, .svg, .png ou .csv");
}

} // namespace
