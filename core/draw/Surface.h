#pragma once

#include "draw/PixelGeometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The drawing primitives every renderer uses: the screen plot, the pick feedback, the
// printed page and the clipboard picture. Coordinates are device pixels (or device
// units of a printer page), y growing downwards. Pen, brush, mode, font, text colour,
// text background and clipping are state, as on a GDI device context: set them, then draw.

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace Colours {
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb Green{0, 255, 0};
inline constexpr Rgb Blue{0, 0, 255};
inline constexpr Rgb Yellow{255, 255, 0};
inline constexpr Rgb Magenta{255, 0, 255};
inline constexpr Rgb Cyan{0, 255, 255};
} // namespace Colours

enum class PenStyle {
    Solid,
    Dot,
    Dash
};

// On and off lengths of the dotted and dashed pens, in pixels, as GDI's cosmetic pens
// show them on the screen.
namespace PenPattern {
inline constexpr int DotOn = 3, DotOff = 3;
inline constexpr int DashOn = 18, DashOff = 6;
} // namespace PenPattern

struct Pen {
    Rgb colour{};
    int width = 1; // pixels; 0 counts as 1
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// Fills the inside of rectangles and ellipses; a hollow brush leaves it as it is.
struct Brush {
    Rgb colour{};
    bool hollow = true;
    static constexpr Brush solid(Rgb c) { return {c, false}; }
    static constexpr Brush none() { return {}; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

// Exclusive-or drawing applies to lines, polylines, rectangles and ellipses; text is
// always copied, as GDI does.
enum class DrawMode {
    Copy,
    Xor
};

enum class FontFamily {
    Default,
    SansSerif,
    Serif,
    Monospace
};

struct Font {
    int cellHeight = 0; // pixels from the top of the tallest glyph to the bottom of the lowest; 0: the device's default
    FontFamily family = FontFamily::Default;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class HAlign {
    Left,
    Centre,
    Right
};
enum class VAlign {
    Top,
    Baseline,
    Bottom
};

// Which point of the text's box the text position names.
struct TextAlign {
    HAlign horizontal = HAlign::Left;
    VAlign vertical = VAlign::Top;
    friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

// Where a text's box starts and where its baseline runs, for a text `width` wide in a
// font of `ascent` and `descent`, placed at `at` by `align`: for surfaces that position
// glyphs themselves.
struct TextPlacement {
    int left = 0;
    int baseline = 0;
};
inline TextPlacement placeText(PixelPoint at, int width, int ascent, int descent, TextAlign align)
{
    TextPlacement p{at.x, at.y};
    if (align.horizontal == HAlign::Centre)
        p.left -= width / 2;
    else if (align.horizontal == HAlign::Right)
        p.left -= width;
    if (align.vertical == VAlign::Top)
        p.baseline += ascent;
    else if (align.vertical == VAlign::Bottom)
        p.baseline -= descent;
    return p;
}

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A box from (left, top) included to (right, bottom) excluded, as GDI's rectangles.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
    friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

class Surface {
public:
    virtual ~Surface() = default;

    // Drawing area or page size, and the device's logical dots per inch.
    virtual PixelSize size() const = 0;
    virtual int logicalDpiX() const = 0;
    virtual int logicalDpiY() const = 0;

    // A segment whose end pixel is not painted, so that connected segments drawn in
    // exclusive-or do not paint their joints twice.
    virtual void line(PixelPoint from, PixelPoint to) = 0;
    // Connected segments, each joint painted once, the last pixel not painted.
    virtual void polyline(std::span<const PixelPoint> points) = 0;
    // Outline with the pen, inside with the brush.
    virtual void rectangle(const PixelRect& box) = 0;
    virtual void ellipse(const PixelRect& box) = 0;
    // UTF-8 text in the current font and text colour, on the text background.
    virtual void text(PixelPoint at, std::string_view utf8, TextAlign align) = 0;
    virtual TextExtent measureText(std::string_view utf8) = 0;

    void setPen(const Pen& pen) { pen_ = pen; }
    const Pen& pen() const { return pen_; }
    void setBrush(const Brush& brush) { brush_ = brush; }
    const Brush& brush() const { return brush_; }
    void setMode(DrawMode mode) { mode_ = mode; }
    DrawMode mode() const { return mode_; }
    void setFont(const Font& font) { font_ = font; }
    const Font& font() const { return font_; }
    void setTextColour(Rgb colour) { textColour_ = colour; }
    Rgb textColour() const { return textColour_; }
    // The box of each text filled with this colour first, as a printer's device context
    // does by default; none (the surface's default): the text stands on what is there.
    void setTextBackground(std::optional<Rgb> colour) { textBackground_ = colour; }
    const std::optional<Rgb>& textBackground() const { return textBackground_; }
    // Nothing is painted outside the clip box while one is set.
    void setClipRect(const PixelRect& box) { clip_ = box; }
    void clearClip() { clip_.reset(); }
    const std::optional<PixelRect>& clipRect() const { return clip_; }

    // Current-position drawing, for code that reads as move-to / line-to.
    void moveTo(PixelPoint p) { position_ = p; }
    void lineTo(PixelPoint p)
    {
        line(position_, p);
        position_ = p;
    }

private:
    Pen pen_{};
    Brush brush_ = Brush::solid(Colours::White);
    DrawMode mode_ = DrawMode::Copy;
    Font font_{};
    Rgb textColour_ = Colours::Black;
    std::optional<Rgb> textBackground_;
    std::optional<PixelRect> clip_;
    PixelPoint position_{};
};

// Puts the drawing state (pen, brush, mode, font, text colour and background, clipping)
// back as it was when it was made: a renderer leaves the surface as its caller set it.
class SurfaceStateGuard {
public:
    explicit SurfaceStateGuard(Surface& s)
        : s_(s), pen_(s.pen()), brush_(s.brush()), mode_(s.mode()), font_(s.font()), text_(s.textColour()),
          textBackground_(s.textBackground()), clip_(s.clipRect())
    {
    }
    ~SurfaceStateGuard()
    {
        s_.setPen(pen_);
        s_.setBrush(brush_);
        s_.setMode(mode_);
        s_.setFont(font_);
        s_.setTextColour(text_);
        s_.setTextBackground(textBackground_);
        if (clip_)
            s_.setClipRect(*clip_);
        else
            s_.clearClip();
    }
    SurfaceStateGuard(const SurfaceStateGuard&) = delete;
    SurfaceStateGuard& operator=(const SurfaceStateGuard&) = delete;

private:
    Surface& s_;
    Pen pen_;
    Brush brush_;
    DrawMode mode_;
    Font font_;
    Rgb text_;
    std::optional<Rgb> textBackground_;
    std::optional<PixelRect> clip_;
};
