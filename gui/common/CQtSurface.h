#pragma once

#include "core/draw/PixelRaster.h"
#include "core/draw/Surface.h"

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>

#include <optional>
#include <utility>
#include <vector>

class QPaintDevice;

// The Qt font of a surface font on `device`: `defaultFont` for the default family, the
// family's style otherwise, its em scaled so that the cell (ascent and descent) has
// the height asked for.
QFont resolvedQtFont(const Font& font, const QFont& defaultFont, QPaintDevice* device);

// Surface on a QPainter: the drawing area's QImage (Format_RGB32, where exclusive-or
// works), a QPrinter page or an SVG generator. Drawing is aliased and pixel exact: a
// segment leaves its end pixel unpainted and a polyline paints each joint once, as
// GDI does. Exclusive-or uses RasterOp_SourceXorDestination where the paint engine
// has raster operations (the raster engine of a QImage) and falls back to copying
// elsewhere; a white pen over white gives black, drawing twice restores the picture.
// Solid 1-pixel lines on a 32-bit image that the surface paints itself are stepped
// directly on the pixels, with the same exclusive-or, and so are the outlines of
// rectangles drawn with a thin dotted or dashed pen in exclusive-or (the rubber band);
// everything else goes through QPainter, whose 1-pixel pens are cosmetic with flat caps
// to the same effect.
class CQtSurface : public Surface {
public:
    // Paints on `device` with a painter of its own, ended with the surface. On a 32-bit
    // image the painter is begun only when something needs it (a text, a filled box, a
    // wide or patterned pen): the curves, markers and bands stepped on the pixels need
    // none, so that an incremental redraw or a pick's move allocates nothing.
    explicit CQtSurface(QPaintDevice& device);
    // Paints with a painter already active on its device (a printer's, over pages).
    explicit CQtSurface(QPainter& painter);
    ~CQtSurface() override;
    CQtSurface(const CQtSurface&) = delete;
    CQtSurface& operator=(const CQtSurface&) = delete;

    // False when the painter could not be started on the device.
    bool isActive() const { return painter_ ? painter_->isActive() : image_.bits != nullptr; }
    // For what the surface does not offer (a printer's next page). The surface sets
    // its state on the painter again before it next draws.
    QPainter& painter()
    {
        applied_ = {};
        return activePainter();
    }

    PixelSize size() const override;
    int logicalDpiX() const override;
    int logicalDpiY() const override;

    void line(PixelPoint from, PixelPoint to) override;
    void polyline(std::span<const PixelPoint> points) override;
    void rectangle(const PixelRect& box) override;
    void ellipse(const PixelRect& box) override;
    void text(PixelPoint at, std::string_view utf8, TextAlign align) override;
    TextExtent measureText(std::string_view utf8) override;

private:
    // The pixels of the image the surface paints, for its thin solid lines.
    struct ImagePixels {
        uchar* bits = nullptr;
        qsizetype bytesPerLine = 0;
        QRect bounds;
    };

    enum class Use { Stroke, Text };
    // The painter, begun on first use.
    QPainter& activePainter();
    void startPainter();
    std::optional<PixelRaster> pixelTarget() const;
    // For a thin dotted or dashed pen in exclusive-or on the image.
    std::optional<PixelRaster> patternTarget() const;
    std::optional<PixelRaster> imageTarget() const;
    void prepare(Use use);
    QFont qtFont(const Font& font);

    // What the painter was last given, so that unchanged state is not set again.
    struct Applied {
        std::optional<bool> composition; // exclusive-or
        std::optional<Pen> pen;
        std::optional<std::pair<Font, Rgb>> text;
        std::optional<std::optional<PixelRect>> clip;
        std::optional<std::optional<Rgb>> background; // of dash gaps and texts; none: transparent
    };

    ImagePixels image_;
    QPaintDevice* device_ = nullptr;
    std::optional<QPainter> ownPainter_;
    QPainter* painter_ = nullptr; // null until the painter is needed
    bool xorAvailable_ = false;
    QFont defaultFont_;
    std::vector<std::pair<Font, QFont>> fonts_; // each font resolved once
    std::vector<QPoint> points_;                // reused by polyline
    Applied applied_;
};
