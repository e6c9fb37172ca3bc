#pragma once

#include "draw/Surface.h"

#include <optional>
#include <string>
#include <vector>

// A Surface that paints nothing and keeps every primitive with the state in force, so
// that tests can assert what a renderer drew. Text measurement is deterministic:
// CharWidth pixels per character, the font's cell height (DefaultCellHeight for the
// default font) as height.
class RecordingSurface : public Surface {
public:
    static constexpr int CharWidth = 6;
    static constexpr int DefaultCellHeight = 16;

    enum class Kind {
        Line,
        Polyline,
        Rectangle,
        Ellipse,
        Text
    };

    struct Primitive {
        Kind kind = Kind::Line;
        // Line: from, to. Polyline: its vertices. Rectangle, ellipse: (left, top),
        // (right, bottom). Text: its position.
        std::vector<PixelPoint> points;
        std::string text;
        TextAlign align{};
        Pen pen{};
        Brush brush{};
        DrawMode mode = DrawMode::Copy;
        Font font{};
        Rgb textColour{};
        std::optional<Rgb> textBackground;
        std::optional<PixelRect> clip;
        friend bool operator==(const Primitive&, const Primitive&) = default;
    };

    explicit RecordingSurface(PixelSize size = {800, 600}, int dpiX = 96, int dpiY = 96)
        : size_(size), dpiX_(dpiX), dpiY_(dpiY)
    {
    }

    PixelSize size() const override { return size_; }
    int logicalDpiX() const override { return dpiX_; }
    int logicalDpiY() const override { return dpiY_; }

    void line(PixelPoint from, PixelPoint to) override;
    void polyline(std::span<const PixelPoint> points) override;
    void rectangle(const PixelRect& box) override;
    void ellipse(const PixelRect& box) override;
    void text(PixelPoint at, std::string_view utf8, TextAlign align) override;
    TextExtent measureText(std::string_view utf8) override;

    const std::vector<Primitive>& primitives() const { return primitives_; }
    // The recorded primitives of one kind, in drawing order.
    std::vector<Primitive> ofKind(Kind kind) const;
    // The recorded texts, in drawing order.
    std::vector<std::string> texts() const;
    void clear() { primitives_.clear(); }

private:
    Primitive record(Kind kind) const;

    PixelSize size_;
    int dpiX_;
    int dpiY_;
    std::vector<Primitive> primitives_;
};
