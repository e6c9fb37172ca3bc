#include "output/Listing.h"

#include "text/Latin1Text.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"

namespace {

constexpr char FormFeed = '\f';

const std::string& rule()
{
    static const std::string hashes(RuleLength, '#');
    return hashes;
}

// Tabs become blanks and the line end goes; how many line ends were removed decides
// whether the next piece goes one row lower (a piece cut at TextPieceLength does not).
std::string cleanPiece(std::string_view piece, int& lineEnds)
{
    lineEnds = 0;
    std::string out;
    out.reserve(piece.size());
    for (char c : piece) {
        if (c == '\t')
            out.append(TabBlanks, ' ');
        else if (c == '\n')
            ++lineEnds;
        else
            out += c;
    }
    return out;
}

// Builds the pages row by row, keeping the printer's pen position y (in rows) and the
// row counter k apart, as the form feed and the overflow place the footer differently.
class CPaginator {
public:
    CPaginator(std::string_view title, std::string_view name, int pageLines)
        : title_(title), name_(name), pageLines_(pageLines)
    {
        pages_.emplace_back();
        header();
    }

    void piece(std::string_view raw)
    {
        int lineEnds = 0;
        std::string text = cleanPiece(raw, lineEnds);
        if (!text.empty() && text.front() == FormFeed) {
            y_ = pageLines_ + 2;
            nextPage();
            return;
        }
        if (k_ > pageLines_) {
            y_ += 2;
            nextPage();
        }
        put(latin1ToUtf8(text));
        y_ += lineEnds - 1; // put() moved one row already
    }

    std::vector<TextPage> finish()
    {
        y_ = pageLines_ + 3;
        footer();
        return std::move(pages_);
    }

private:
    void put(std::string text)
    {
        pages_.back().rows.push_back({y_, std::move(text)});
        ++y_;
        ++k_;
    }

    void header()
    {
        put(rule());
        put(titleLine(title_, name_, page_));
        put(rule());
        put({});
        put({});
    }

    void footer()
    {
        put(rule());
        int unused = 0;
        put(cleanPiece(FooterAddressLine, unused));
        put(rule());
    }

    void nextPage()
    {
        footer();
        pages_.emplace_back();
        ++page_;
        y_ = 0;
        k_ = 0;
        header();
    }

    std::string_view title_;
    std::string_view name_;
    int pageLines_;
    std::vector<TextPage> pages_;
    unsigned page_ = 1;
    int y_ = 0;
    int k_ = 0;
};

} // namespace

std::string listingFileBytes(std::span<const CurvePoint> points, std::string_view xAxisName, std::string_view yAxisName)
{
    // Formatted in Latin-1 so that the widths count characters, not UTF-8 bytes.
    std::string bytes =
        cformat(ListingHeadingFormat, {"Point", utf8ToLatin1(xAxisName), utf8ToLatin1(yAxisName)}) + "\r\n";
    int index = 0;
    for (const CurvePoint& p : points)
        bytes += cformat(ListingLineFormat, {index++, p.x, p.y}) + "\r\n";
    return bytes;
}

int textPageLines(int printableHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return printableHeight / lineHeight - 6;
}

std::string titleLine(std::string_view title, std::string_view name, unsigned page)
{
    const int spare = 64 - utf8CharacterCount(title) - utf8CharacterCount(name);
    const int before = spare > 0 ? spare / 2 : 0;
    const int after = spare > 0 ? spare - before : 0;
    std::string line = "   ";
    line += title;
    line.append(static_cast<std::size_t>(before), ' ');
    line += name;
    line.append(static_cast<std::size_t>(after), ' ');
    line += cformat(PageNumberFormat, {page});
    return line;
}

std::vector<TextPage> paginateText(std::istream& in, std::string_view title, std::string_view name, int pageLines)
{
    CPaginator pages(title, name, pageLines);
    TextLineReader reader(in, TextPieceLength);
    std::string piece;
    while (reader.next(piece))
        pages.piece(piece);
    return pages.finish();
}
