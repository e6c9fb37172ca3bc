#include "draw/RecordingSurface.h"
#include "draw/SvgSurface.h"
#include "output/CurvePage.h"
#include "view/SmoothCurve.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

// Measures as the recording surface does: CharWidth pixels a character, a 16-pixel cell.
class FixedMetrics final : public TextMetrics {
public:
    FontFace face(const Font& font) override
    {
        const int cell = font.cellHeight > 0 ? font.cellHeight : RecordingSurface::DefaultCellHeight;
        return {"DejaVu Sans", cell * 3 / 4, cell * 3 / 4, cell - cell * 3 / 4};
    }
    int width(std::string_view utf8, const Font&) override
    {
        return RecordingSurface::CharWidth * static_cast<int>(utf8.size());
    }
};

struct Element {
    std::string name;
    std::string attributes;
    std::string content; // of a text
};

// The drawing elements of a document in order, without the clip paths' own boxes and
// the boxes drawn behind texts (stroke="none").
std::vector<Element> drawingElements(const std::string& svg)
{
    static const std::regex element(R"(<(line|polyline|rect|ellipse|text|clipPath)\b([^>]*?)/?>(?:([^<]*)</text>)?)");
    std::vector<Element> out;
    bool inClip = false;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        if (name == "clipPath") {
            inClip = true;
            continue;
        }
        if (inClip) { // the clip path's rectangle
            inClip = false;
            continue;
        }
        if (name == "rect" && (*it)[2].str().find("stroke=\"none\"") != std::string::npos)
            continue;
        out.push_back({name, (*it)[2], (*it)[3]});
    }
    return out;
}

const char* elementOf(RecordingSurface::Kind kind)
{
    switch (kind) {
    case RecordingSurface::Kind::Line: return "line";
    case RecordingSurface::Kind::Polyline: return "polyline";
    case RecordingSurface::Kind::Rectangle: return "rect";
    case RecordingSurface::Kind::Ellipse: return "ellipse";
    case RecordingSurface::Kind::Text: return "text";
    }
    return "";
}

} // namespace

// The clipboard's and the export's SVG is the picture the recording surface sees:
// every primitive, in order, with its texts, for curves of every kind.
TEST(SvgSurface, DrawsEveryPrimitiveOfTheCurvePicture)
{
    const std::vector<std::vector<CurvePoint>> curves = {
        {},
        {{1, 2}},
        {{0, 0}, {1, 3}, {2, -1}, {3, 4}, {4, 0}},
        {{-1e6, 5}, {1e6, 5}},
    };
    for (const auto& points : curves) {
        SCOPED_TRACE(points.size());
        const CurvePageTexts texts{std::nullopt, std::nullopt, std::nullopt, "Temps <s>", "Course & \"mm\""};
        RecordingSurface recorded({800, 600});
        drawCurvePage(recorded, PageKind::Picture, points, Akima, {}, texts);
        FixedMetrics metrics;
        SvgSurface svg({800, 600}, 96, metrics, "came");
        drawCurvePage(svg, PageKind::Picture, points, Akima, {}, texts);

        const std::vector<Element> elements = drawingElements(svg.document());
        ASSERT_EQ(elements.size(), recorded.primitives().size());
        std::vector<std::string> svgTexts;
        for (std::size_t i = 0; i < elements.size(); ++i) {
            EXPECT_EQ(elements[i].name, elementOf(recorded.primitives()[i].kind)) << i;
            if (elements[i].name == "text")
                svgTexts.push_back(elements[i].content);
        }
        std::vector<std::string> escaped;
        for (const std::string& t : recorded.texts())
            escaped.push_back(xmlEscaped(t));
        EXPECT_EQ(svgTexts, escaped);
    }
}

TEST(SvgSurface, DocumentStateAndGeometry)
{
    FixedMetrics metrics;
    SvgSurface s({400, 300}, 96, metrics, "Came & levier");
    s.setPen({Colours::Red, 1, PenStyle::Solid});
    s.line({10, 20}, {30, 20});
    s.setPen({Colours::Blue, 2, PenStyle::Dot});
    s.setBrush(Brush::none());
    s.setClipRect({5, 5, 100, 50});
    s.rectangle({10, 10, 21, 16});
    s.clearClip();
    s.setBrush(Brush::solid(Colours::Yellow));
    s.setPen({Colours::Black, 0, PenStyle::Dash});
    s.ellipse({0, 0, 11, 7});
    s.setTextColour(Colours::Green);
    s.setTextBackground(Colours::White);
    s.text({200, 100}, "\xb5m", {HAlign::Centre, VAlign::Top});
    const std::string doc = s.document();

    struct Case {
        const char* what;
        const char* expected;
    };
    const Case cases[] = {
        {"physical size from the resolution", R"(width="105.83mm" height="79.38mm" viewBox="0 0 400 300")"},
        {"escaped title", "<title>Came &amp; levier</title>"},
        {"thin line through pixel centres",
         R"(<line x1="10.5" y1="20.5" x2="30.5" y2="20.5" stroke="#ff0000" stroke-width="1" stroke-linecap="butt"/>)"},
        {"clip box", R"(<clipPath id="clip1"><rect x="5" y="5" width="95" height="45"/></clipPath>)"},
        {"rectangle inside its box, hollow, dotted, round",
         R"(<rect x="10.5" y="10.5" width="10" height="5" fill="none" stroke="#0000ff" stroke-width="2" stroke-linecap="round" stroke-linejoin="round" stroke-dasharray="3 3"/>)"},
        {"clip group closed", "</g>\n<ellipse"},
        {"filled dashed ellipse",
         R"(<ellipse cx="5.5" cy="3.5" rx="5.0" ry="3.0" fill="#ffff00" stroke="#000000" stroke-width="1" stroke-linecap="butt" stroke-dasharray="18 6"/>)"},
        {"text background box", R"(<rect x="194" y="100" width="12" height="16" fill="#ffffff" stroke="none"/>)"},
        {"text at its baseline, anchored, Latin-1 read as such",
         R"(<text x="200" y="112" text-anchor="middle" font-size="12" fill="#00ff00" font-family="DejaVu Sans, sans-serif" xml:space="preserve">µm</text>)"},
    };
    for (const Case& c : cases)
        EXPECT_NE(doc.find(c.expected), std::string::npos) << c.what << "\n" << doc;
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
    EXPECT_EQ(s.measureText("abc"), (TextExtent{18, 16}));
}

TEST(SvgSurface, TextIsAlwaysWellFormedXml)
{
    struct Case {
        std::string_view text;
        std::string expected;
    };
    const Case cases[] = {
        {"a<b>&c", "a&lt;b&gt;&amp;c"},
        {"\"'", "&quot;&apos;"},
        {"x\x01y\x1Fz\tw", "xyz\tw"}, // control characters XML forbids
        {"Donn\xC3\xA9"
         "es \xE2\x82\xAC",
         "Donn\xC3\xA9"
         "es \xE2\x82\xAC"},                // UTF-8 kept
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"}, // Latin-1 read as such
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(xmlEscaped(c.text), c.expected) << testing::PrintToString(std::string(c.text));
}
