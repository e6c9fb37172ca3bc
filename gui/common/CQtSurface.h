#pragma once

#include "core/common/LargeArray.h"
#include "core/draw/PixelRaster.h"
#include "core/draw/Surface.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QStaticText>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPaintDevice;

// The Qt font of a surface font on `device`: `defaultFont` for the default family, the
// family's style otherwise, its em scaled so that the cell (ascent and descent) has
// the height asked for.
QFont resolvedQtFont(const Font& font, const QFont& defaultFont, QPaintDevice* device);

// What a painter was last given by a surface, so that unchanged state is not set again.
struct CQtPainterState {
    std::optional<bool> composition; // exclusive-or
    std::optional<Pen> pen;
    std::optional<Font> font;
    std::optional<std::optional<PixelRect>> clip;
    std::optional<std::optional<Rgb>> background; // of dash gaps and texts; none: transparent
};

// What surfaces on one picture (a 32-bit image) keep from one drawing to the next: the
// painter, begun on the picture once and kept active, Qt's pens, brushes and fonts for
// the surface's, and the texts laid out, so that a redraw of the same picture
// allocates nothing once they are made. Texts are laid out for the picture's
// resolution; the cache forgets them when it changes, and forgets all its texts when it
// holds too many (a zoom changes every label). The picture's owner ends the painter
// before the picture is replaced or destroyed.
class CQtSurfaceCache {
public:
    static constexpr std::size_t MaxTexts = 256;

    CQtSurfaceCache() = default;
    ~CQtSurfaceCache() { endPainting(); }
    CQtSurfaceCache(const CQtSurfaceCache&) = delete;
    CQtSurfaceCache& operator=(const CQtSurfaceCache&) = delete;

    // Ends the painter kept on the picture.
    void endPainting();

private:
    friend class CQtSurface;
    struct ResolvedFont {
        Font font;
        QFont qt;
        QFontMetrics metrics;
    };
    struct LaidOutText {
        Font font;
        std::string utf8;
        QStaticText layout;
        int advance = 0;
    };
    // Empties the cache when `device` has another resolution than its entries.
    void useFor(const QPaintDevice& device);

    std::optional<QPainter> painter_;   // made when first begun
    const void* paintedBits_ = nullptr; // the pixels the kept painter was begun on
    CQtPainterState applied_;
    QFont defaultFont_; // the surface's painter's when begun
    int dpiX_ = 0;
    int dpiY_ = 0;
    std::vector<std::pair<Pen, QPen>> pens_;
    std::vector<std::pair<Rgb, QBrush>> brushes_;
    std::vector<ResolvedFont> fonts_;
    std::vector<LaidOutText> texts_;
};

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
    // `cache`, when given, outlives the surface and serves the next ones on the same
    // picture; otherwise the surface has one of its own.
    explicit CQtSurface(QPaintDevice& device, CQtSurfaceCache* cache = nullptr);
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
        QPainter& p = activePainter(); // the kept painter's state record from here on
        *applied_ = {};
        return p;
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

    enum class Use {
        Stroke,
        Text
    };
    // The painter, begun on first use.
    QPainter& activePainter();
    void startPainter();
    // Draws with `painter` from now on, from its own state.
    void adoptPainter(QPainter& painter);
    std::optional<PixelRaster> pixelTarget() const;
    // For a thin dotted or dashed pen in exclusive-or on the image.
    std::optional<PixelRaster> patternTarget() const;
    std::optional<PixelRaster> imageTarget() const;
    void prepare(Use use);
    QFont qtFont(const Font& font);
    const CQtSurfaceCache::ResolvedFont& resolvedFont(const Font& font);
    const QPen& qtPen(const Pen& pen);
    const QBrush& qtBrush(Rgb colour);
    // The text laid out in the current font, made once; null on a device other than a
    // 32-bit image, where texts are drawn as they come.
    const CQtSurfaceCache::LaidOutText* laidOut(std::string_view utf8);

    ImagePixels image_;
    QPaintDevice* device_ = nullptr;
    std::optional<QPainter> ownPainter_;
    QPainter* painter_ = nullptr; // null until the painter is needed
    bool xorAvailable_ = false;
    std::optional<CQtSurfaceCache> ownCache_;
    CQtSurfaceCache* cache_ = nullptr;
    bool keptPainter_ = false;  // the cache's painter serves: a 32-bit image with a cache given
    LargeArray<QPoint> points_; // reused by polyline
    CQtPainterState ownApplied_;
    CQtPainterState* applied_ = &ownApplied_; // the kept painter's when it serves
};
