#include "draw/SvgSurface.h"

#include "text/Latin1Text.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"

#include <algorithm>

namespace {

std::string colourText(Rgb c)
{
    return cformat("#%02x%02x%02x", {c.r, c.g, c.b});
}

// A pixel's centre, where a stroke of odd width covers whole pixels.
std::string centre(int v)
{
    return cformat("%d.5", {v});
}

} // namespace

std::string xmlEscaped(std::string_view text)
{
    const std::string utf8 = isValidUtf8(text) ? std::string(text) : latin1ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            // Below the space XML allows only tab, line feed and carriage return.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

SvgSurface::SvgSurface(PixelSize size, int dotsPerInch, TextMetrics& metrics, std::string_view title)
    : size_{std::max(size.width, 0), std::max(size.height, 0)}, dpi_(dotsPerInch > 0 ? dotsPerInch : 96),
      metrics_(metrics)
{
    const double mmPerPixel = 25.4 / dpi_;
    head_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    head_ += cformat("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%.2fmm\" height=\"%.2fmm\" "
                     "viewBox=\"0 0 %d %d\">\n",
                     {size_.width * mmPerPixel, size_.height * mmPerPixel, size_.width, size_.height});
    if (!title.empty())
        head_ += "<title>" + xmlEscaped(title) + "</title>\n";
    head_ += "<desc>Editeur de courbes</desc>\n";
}

std::string SvgSurface::document() const
{
    std::string out = head_ + body_;
    if (emittedClip_)
        out += "</g>\n";
    return out + "</svg>\n";
}

void SvgSurface::followClip()
{
    if (clipRect() == emittedClip_)
        return;
    if (emittedClip_)
        body_ += "</g>\n";
    emittedClip_ = clipRect();
    if (!emittedClip_)
        return;
    const PixelRect& c = *emittedClip_;
    const std::string id = cformat("clip%d", {++clipCount_});
    body_ += cformat("<clipPath id=\"%s\"><rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"/></clipPath>\n",
                     {id, c.left, c.top, std::max(c.right - c.left, 0), std::max(c.bottom - c.top, 0)});
    body_ += "<g clip-path=\"url(#" + id + ")\">\n";
}

void SvgSurface::openElement(std::string_view name)
{
    followClip();
    body_ += '<';
    body_ += name;
}

void SvgSurface::strokeAttributes()
{
    const Pen& p = pen();
    const int width = std::max(p.width, 1);
    body_ += " stroke=\"" + colourText(p.colour) + "\"";
    body_ += cformat(" stroke-width=\"%d\"", {width});
    // A wide pen has round ends and joints, as on the screen; a thin one is square.
    body_ += width > 1 ? " stroke-linecap=\"round\" stroke-linejoin=\"round\"" : " stroke-linecap=\"butt\"";
    if (p.style == PenStyle::Dot)
        body_ += cformat(" stroke-dasharray=\"%d %d\"", {PenPattern::DotOn, PenPattern::DotOff});
    else if (p.style == PenStyle::Dash)
        body_ += cformat(" stroke-dasharray=\"%d %d\"", {PenPattern::DashOn, PenPattern::DashOff});
}

void SvgSurface::fillAttributes()
{
    body_ += brush().hollow ? std::string(" fill=\"none\"") : " fill=\"" + colourText(brush().colour) + "\"";
}

void SvgSurface::line(PixelPoint from, PixelPoint to)
{
    openElement("line");
    body_ += " x1=\"" + centre(from.x) + "\" y1=\"" + centre(from.y) + "\" x2=\"" + centre(to.x) + "\" y2=\""
        + centre(to.y) + "\"";
    strokeAttributes();
    body_ += "/>\n";
}

void SvgSurface::polyline(std::span<const PixelPoint> points)
{
    if (points.size() < 2)
        return;
    openElement("polyline");
    body_ += " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0)
            body_ += ' ';
        body_ += centre(points[i].x) + "," + centre(points[i].y);
    }
    body_ += "\" fill=\"none\"";
    strokeAttributes();
    body_ += "/>\n";
}

void SvgSurface::rectangle(const PixelRect& box)
{
    // The outline runs inside the box, whose right and bottom edges are excluded.
    openElement("rect");
    body_ += " x=\"" + centre(box.left) + "\" y=\"" + centre(box.top) + "\"";
    body_ += cformat(" width=\"%d\" height=\"%d\"",
                     {std::max(box.right - box.left - 1, 0), std::max(box.bottom - box.top - 1, 0)});
    fillAttributes();
    strokeAttributes();
    body_ += "/>\n";
}

void SvgSurface::ellipse(const PixelRect& box)
{
    const int width = std::max(box.right - box.left - 1, 0);
    const int height = std::max(box.bottom - box.top - 1, 0);
    openElement("ellipse");
    body_ += cformat(" cx=\"%.1f\" cy=\"%.1f\" rx=\"%.1f\" ry=\"%.1f\"",
                     {box.left + 0.5 + width / 2.0, box.top + 0.5 + height / 2.0, width / 2.0, height / 2.0});
    fillAttributes();
    strokeAttributes();
    body_ += "/>\n";
}

void SvgSurface::text(PixelPoint at, std::string_view utf8, TextAlign align)
{
    if (utf8.empty())
        return;
    const TextMetrics::FontFace face = metrics_.face(font());
    const int width = metrics_.width(utf8, font());
    const auto [left, baseline] = placeText(at, width, face.ascent, face.descent, align);
    if (textBackground()) {
        openElement("rect");
        body_ +=
            cformat(" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\" stroke=\"none\"/>\n",
                    {left, baseline - face.ascent, width, face.ascent + face.descent, colourText(*textBackground())});
    }
    // The anchor keeps the alignment if the viewer's font is a little wider or narrower.
    const char* anchor = align.horizontal == HAlign::Centre ? "middle"
        : align.horizontal == HAlign::Right                 ? "end"
                                                            : "start";
    openElement("text");
    body_ += cformat(" x=\"%d\" y=\"%d\" text-anchor=\"%s\" font-size=\"%d\" fill=\"%s\"",
                     {at.x, baseline, anchor, std::max(face.pixelSize, 1), colourText(textColour())});
    const char* generic = font().family == FontFamily::Serif ? "serif"
        : font().family == FontFamily::Monospace             ? "monospace"
                                                             : "sans-serif";
    body_ += " font-family=\"" + xmlEscaped(face.family) + (face.family.empty() ? "" : ", ") + generic + "\"";
    if (font().bold)
        body_ += " font-weight=\"bold\"";
    body_ += " xml:space=\"preserve\">" + xmlEscaped(utf8) + "</text>\n";
}

TextExtent SvgSurface::measureText(std::string_view utf8)
{
    const TextMetrics::FontFace face = metrics_.face(font());
    return {metrics_.width(utf8, font()), face.ascent + face.descent};
}
