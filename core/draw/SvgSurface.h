#pragma once

#include "draw/Surface.h"

#include <optional>
#include <string>
#include <string_view>

// What a surface that draws no glyph itself needs to know of a font: how the window's
// text engine measures it, so that alignment, text backgrounds and measureText agree
// with what the viewer of the picture will show.
class TextMetrics {
public:
    struct FontFace {
        std::string family; // the family the viewer is asked for first
        int pixelSize = 0;  // the em, in pixels
        int ascent = 0;
        int descent = 0;
    };

    virtual ~TextMetrics() = default;
    virtual FontFace face(const Font& font) = 0;
    virtual int width(std::string_view utf8, const Font& font) = 0;
};

// Draws into an SVG 1.1 document of `size` pixels (the viewBox) whose physical size
// follows `dotsPerInch`, for the clipboard and for export, as a browser or an office
// suite opens it. Lines are stroked through pixel centres; pen widths, dotted and
// dashed pens, brushes, clip boxes and texts (UTF-8, escaped) follow the drawing state.
// A vector picture has no exclusive-or: Xor draws as Copy.
class SvgSurface final : public Surface {
public:
    SvgSurface(PixelSize size, int dotsPerInch, TextMetrics& metrics, std::string_view title = {});

    PixelSize size() const override { return size_; }
    int logicalDpiX() const override { return dpi_; }
    int logicalDpiY() const override { return dpi_; }

    void line(PixelPoint from, PixelPoint to) override;
    void polyline(std::span<const PixelPoint> points) override;
    void rectangle(const PixelRect& box) override;
    void ellipse(const PixelRect& box) override;
    void text(PixelPoint at, std::string_view utf8, TextAlign align) override;
    TextExtent measureText(std::string_view utf8) override;

    // The document: what was drawn so far, closed.
    std::string document() const;

private:
    void openElement(std::string_view name);
    void strokeAttributes();
    void fillAttributes();
    void followClip();

    PixelSize size_;
    int dpi_;
    TextMetrics& metrics_;
    std::string head_;
    std::string body_;
    std::optional<PixelRect> emittedClip_;
    int clipCount_ = 0;
};

// `text` made fit for XML character data and attribute values: the five special
// characters escaped, characters XML forbids dropped, bytes that are not UTF-8 read as
// Latin-1.
std::string xmlEscaped(std::string_view text);
