#include "output/Listing.h"
#include "text/Latin1Text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Rule(78, '#');
const std::string FooterAddress = std::string(8, ' ') + std::string(FooterAddressLine.substr(1));

std::vector<TextPage> paginate(const std::string& bytes, int pageLines = 60)
{
    std::istringstream in(bytes);
    return paginateText(in, ListingTitle, "Unnamed", pageLines);
}

std::string numberedLines(int n)
{
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

// The rows of a page between its header and its footer.
std::vector<PageRow> bodyOf(const TextPage& page)
{
    return {page.rows.begin() + HeaderRows, page.rows.end() - 3};
}

void expectFrame(const TextPage& page, unsigned number, int footerRow)
{
    ASSERT_GE(page.rows.size(), 8u);
    const std::vector<PageRow> header(page.rows.begin(), page.rows.begin() + HeaderRows);
    const std::vector<PageRow> expectedHeader{
        {0, Rule}, {1, titleLine(ListingTitle, "Unnamed", number)}, {2, Rule}, {3, ""}, {4, ""}};
    EXPECT_EQ(header, expectedHeader);
    const std::vector<PageRow> footer(page.rows.end() - 3, page.rows.end());
    const std::vector<PageRow> expectedFooter{{footerRow, Rule}, {footerRow + 1, FooterAddress}, {footerRow + 2, Rule}};
    EXPECT_EQ(footer, expectedFooter);
}

} // namespace

TEST(Listing, FileHoldsHeadingAndOneLinePerPointNumberedFromZero)
{
    const std::vector<CurvePoint> points{{12.5, -0.03}, {-1.0, 0.0}, {1234567.0, 1e-300}};
    const std::string expected = "Point                          X                   Y\r\n"
                                 "0                   +1.2500e+001        -3.0000e-002\r\n"
                                 "1                   -1.0000e+000        +0.0000e+000\r\n"
                                 "2                   +1.2346e+006        +1.0000e-300\r\n";
    EXPECT_EQ(listingFileBytes(points, "X", "Y"), expected);
}

TEST(Listing, HeadingCountsCharactersAndWritesLatin1)
{
    const std::string bytes = listingFileBytes({}, "Déplacement", "Temps");
    EXPECT_EQ(bytes, "Point       " + std::string(9, ' ') + "D\xE9placement" + std::string(15, ' ') + "Temps\r\n");
}

TEST(Listing, PageLinesComeFromPrintableHeight)
{
    struct Case {
        int height, lineHeight, lines;
    };
    for (const Case& c : {Case{6600, 100, 60}, Case{6650, 100, 60}, Case{1000, 0, 0}, Case{300, 100, -3}})
        EXPECT_EQ(textPageLines(c.height, c.lineHeight), c.lines) << c.height << "/" << c.lineHeight;
}

TEST(Listing, TitleLineCentresTheNameBetweenTitleAndPage)
{
    EXPECT_EQ(titleLine("Editeur de courbes", "Unnamed", 1),
              "   Editeur de courbes" + std::string(19, ' ') + "Unnamed" + std::string(20, ' ') + "Page: 1");
    // Characters, not bytes, are counted.
    EXPECT_EQ(titleLine("Editeur de courbes", "Donnée", 12),
              "   Editeur de courbes" + std::string(20, ' ') + "Donnée" + std::string(20, ' ') + "Page: 12");
    // Too long for the line: no blanks at all.
    const std::string longName(60, 'n');
    EXPECT_EQ(titleLine("Editeur de courbes", longName, 3), "   Editeur de courbes" + longName + "Page: 3");
}

TEST(Listing, PaginationPlacesBodyAndFooter)
{
    struct Case {
        const char* what;
        int lines;
        std::vector<int> bodyPerPage;
    };
    const Case cases[] = {
        {"empty file", 0, {0}},
        {"one line", 1, {1}},
        {"a full page", 56, {56}},
        {"the 57th line starts page 2", 57, {56, 1}},
        {"two full pages and one", 113, {56, 56, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TextPage> pages = paginate(numberedLines(c.lines));
        ASSERT_EQ(pages.size(), c.bodyPerPage.size());
        int next = 1;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            // After an overflow the footer goes two rows below the last line, that is at
            // L + 3, as it does at the end of the file.
            expectFrame(pages[p], unsigned(p + 1), 63);
            const std::vector<PageRow> body = bodyOf(pages[p]);
            ASSERT_EQ(int(body.size()), c.bodyPerPage[p]);
            for (std::size_t i = 0; i < body.size(); ++i)
                EXPECT_EQ(body[i], (PageRow{int(HeaderRows + i), "line " + std::to_string(next++)}));
        }
    }
}

TEST(Listing, FormFeedStartsANewPageAndIsNotPrinted)
{
    const std::vector<TextPage> pages = paginate("a\r\n\fignored\r\nb\r\n");
    ASSERT_EQ(pages.size(), 2u);
    expectFrame(pages[0], 1, 62); // the form feed puts the footer at L + 2
    expectFrame(pages[1], 2, 63);
    EXPECT_EQ(bodyOf(pages[0]), (std::vector<PageRow>{{5, "a"}}));
    EXPECT_EQ(bodyOf(pages[1]), (std::vector<PageRow>{{5, "b"}}));
}

TEST(Listing, PiecesAreCleanedBeforePrinting)
{
    struct Case {
        const char* what;
        std::string file;
        std::vector<PageRow> body;
    };
    const std::string longLine = std::string(255, 'a') + "bcd";
    const Case cases[] = {
        {"tabs are always eight blanks", "\tx\r\nab\tc\n", {{5, "        x"}, {6, "ab        c"}}},
        {"Latin-1 bytes become characters",
         "D\xE9"
         "but\r\n",
         {{5, "Début"}}},
        {"blank line keeps its row", "a\r\n\r\nb", {{5, "a"}, {6, ""}, {7, "b"}}},
        // The cut piece has no line end, so the rest is printed on the same row.
        {"line longer than a piece", longLine + "\r\nz\r\n", {{5, std::string(255, 'a')}, {5, "bcd"}, {6, "z"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TextPage> pages = paginate(c.file);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(bodyOf(pages[0]), c.body);
    }
}

TEST(Listing, EmptyListPrintsOnePageWithItsHeading)
{
    const std::vector<TextPage> pages = paginate(listingFileBytes({}, "X", "Y"));
    ASSERT_EQ(pages.size(), 1u);
    expectFrame(pages[0], 1, 63);
    EXPECT_EQ(bodyOf(pages[0]),
              (std::vector<PageRow>{{5, "Point" + std::string(26, ' ') + "X" + std::string(19, ' ') + "Y"}}));
}
