#pragma once

#include "curve/CurvePoint.h"

#include <cstddef>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The printed point list: the points go to a listing file, which the text printer then
// prints page by page between a framed header and footer.

inline constexpr std::string_view ListingFileName = "fichedit.$$$";
inline constexpr std::string_view ListingHeadingFormat = "%-12s%20s%20s";
inline constexpr std::string_view ListingLineFormat = "%-12d        %+.4e        %+.4e";
inline constexpr std::string_view ListingTitle = "Editeur de courbes";
inline constexpr std::string_view PrintDocumentName = "Impression données ...";
inline constexpr std::string_view PrintErrorMessage = "Erreur en cours d'impression !!";
inline constexpr std::string_view PageNumberFormat = "Page: %u";
// Stored with its tab, like any line of a printed file, so it comes out indented.
inline constexpr std::string_view FooterAddressLine =
    "\tVeltrix - 12, rue des Ateliers - 69007 Lyon - Tél. 04 72 00 00 00";

// The longest piece of a line the text printer takes at a time.
inline constexpr std::size_t TextPieceLength = 255;
// A tab always becomes this many blanks, wherever it stands.
inline constexpr int TabBlanks = 8;
// Width of the "#" rules of the header and the footer.
inline constexpr int RuleLength = 78;
inline constexpr int HeaderRows = 5;

// The listing file's bytes: the heading, then one line per point numbered from 0; Latin-1
// with CR LF, "." as decimal separator. Names are UTF-8.
std::string listingFileBytes(std::span<const CurvePoint> points, std::string_view xAxisName,
                             std::string_view yAxisName);

// L, the page's line budget: the printable height in lines of height `lineHeight`, less
// six for the frame. The body holds L - 4 lines.
int textPageLines(int printableHeight, int lineHeight);

// The header's title line for page `page` (from 1). Title and name are UTF-8.
std::string titleLine(std::string_view title, std::string_view name, unsigned page);

// One printed row: `row` counts line heights from the top of the printable area.
struct PageRow {
    int row = 0;
    std::string text; // UTF-8, tabs already expanded
    friend bool operator==(const PageRow&, const PageRow&) = default;
};

struct TextPage {
    std::vector<PageRow> rows;
};

// Lays out a text file (Latin-1 bytes from `in`) on pages of budget `pageLines` (L):
// header, body of at most L - 4 lines, footer; a line starting with a form feed starts a
// new page and is not printed. There is always at least one page.
std::vector<TextPage> paginateText(std::istream& in, std::string_view title, std::string_view name, int pageLines);
