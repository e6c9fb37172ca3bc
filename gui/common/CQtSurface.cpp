#include "gui/common/CQtSurface.h"

#include "gui/common/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QString>
#include <QTransform>

#include <algorithm>

namespace {

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

using namespace PenPattern;

QPen toQPen(const Pen& pen)
{
    QPen q(toQColor(pen.colour));
    const int width = std::max(pen.width, 1);
    if (width == 1) {
        // Cosmetic and flat: the stroker then leaves the last pixel out and paints a
        // polyline's joints once.
        q.setWidth(1);
        q.setCosmetic(true);
        q.setCapStyle(Qt::FlatCap);
    } else {
        q.setWidth(width);
        q.setCapStyle(Qt::RoundCap);
        q.setJoinStyle(Qt::RoundJoin);
    }
    // The screen patterns of GDI's cosmetic dotted and dashed pens, in pen widths.
    if (pen.style == PenStyle::Dot)
        q.setDashPattern({DotOn, DotOff});
    else if (pen.style == PenStyle::Dash)
        q.setDashPattern({DashOn, DashOff});
    return q;
}

// GDI boxes exclude their right and bottom edges; QRect's outline includes them.
QRect outlineOf(const PixelRect& box)
{
    const int left = std::min(box.left, box.right);
    const int top = std::min(box.top, box.bottom);
    const int right = std::max(box.left, box.right);
    const int bottom = std::max(box.top, box.bottom);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QFont::StyleHint styleHintOf(FontFamily family)
{
    switch (family) {
    case FontFamily::Serif: return QFont::Serif;
    case FontFamily::Monospace: return QFont::Monospace;
    default: return QFont::SansSerif;
    }
}

} // namespace

void CQtSurfaceCache::endPainting()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    paintedBits_ = nullptr;
    applied_ = {};
}

void CQtSurfaceCache::useFor(const QPaintDevice& device)
{
    if (device.logicalDpiX() == dpiX_ && device.logicalDpiY() == dpiY_)
        return;
    fonts_.clear();
    texts_.clear();
    dpiX_ = device.logicalDpiX();
    dpiY_ = device.logicalDpiY();
}

CQtSurface::CQtSurface(QPaintDevice& device, CQtSurfaceCache* cache) : device_(&device), cache_(cache)
{
    if (!cache_)
        cache_ = &ownCache_.emplace();
    cache_->useFor(device);
    // Thin solid lines on a 32-bit image are stepped here rather than by QPainter: its
    // raster engine passes the spans of a long polyline to a thread pool a few hundred
    // at a time, which makes the three 32 000-vertex curves of a redraw cost several
    // milliseconds instead of a fraction of one.
    if (device.devType() == QInternal::Image) {
        QImage& image = static_cast<QImage&>(device);
        const QImage::Format format = image.format();
        if (!image.isNull()
            && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
                || format == QImage::Format_ARGB32_Premultiplied)) {
            image_.bits = image.bits(); // detached now, so the painter paints on the same pixels
            image_.bytesPerLine = image.bytesPerLine();
            image_.bounds = image.rect();
            // The raster engine, which a painter on this image will have.
            xorAvailable_ = true;
            keptPainter_ = cache != nullptr;
            return;
        }
    }
    startPainter();
}

CQtSurface::CQtSurface(QPainter& painter) : device_(painter.device())
{
    cache_ = &ownCache_.emplace();
    if (device_)
        cache_->useFor(*device_);
    adoptPainter(painter);
}

CQtSurface::~CQtSurface() = default;

void CQtSurface::adoptPainter(QPainter& painter)
{
    painter_ = &painter;
    cache_->defaultFont_ = painter.font();
    xorAvailable_ =
        painter.isActive() && painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void CQtSurface::startPainter()
{
    if (!keptPainter_) {
        adoptPainter(ownPainter_.emplace(device_));
        return;
    }
    // The kept painter paints on the pixels it was begun on: a picture made anew at the
    // same address needs it begun again. (A copy of a picture being painted is a copy
    // of its own, so the pixels never move under the painter otherwise.)
    QPainter& kept = cache_->painter_ ? *cache_->painter_ : cache_->painter_.emplace();
    if (kept.isActive() && (kept.device() != device_ || cache_->paintedBits_ != image_.bits))
        cache_->endPainting();
    if (kept.isActive()) {
        painter_ = &kept;
    } else {
        kept.begin(device_);
        adoptPainter(kept);
        cache_->paintedBits_ = image_.bits;
        cache_->applied_ = {};
    }
    applied_ = &cache_->applied_;
}

QPainter& CQtSurface::activePainter()
{
    if (!painter_)
        startPainter();
    return *painter_;
}

PixelSize CQtSurface::size() const
{
    return device_ ? PixelSize{device_->width(), device_->height()} : PixelSize{};
}

int CQtSurface::logicalDpiX() const
{
    return device_ ? device_->logicalDpiX() : 96;
}

int CQtSurface::logicalDpiY() const
{
    return device_ ? device_->logicalDpiY() : 96;
}

void CQtSurface::prepare(Use use)
{
    activePainter();
    // Text is never combined with what is under it.
    const bool xorMode = use == Use::Stroke && mode() == DrawMode::Xor && xorAvailable_;
    if (!applied_->composition || *applied_->composition != xorMode) {
        painter_->setCompositionMode(xorMode ? QPainter::RasterOp_SourceXorDestination
                                             : QPainter::CompositionMode_SourceOver);
        applied_->composition = xorMode;
    }
    // A text is painted in its pen's colour.
    const Pen stroke = use == Use::Text ? Pen{textColour(), 1, PenStyle::Solid} : pen();
    if (!applied_->pen || *applied_->pen != stroke) {
        painter_->setPen(qtPen(stroke));
        applied_->pen = stroke;
    }
    if (use == Use::Text && (!applied_->font || *applied_->font != font())) {
        painter_->setFont(qtFont(font()));
        applied_->font = font();
    }
    // A dotted or dashed pen in exclusive-or paints its gaps in white, as the screen's
    // opaque background mode does: black dots alone would change nothing, and the
    // rubber band would not show. A text stands on its background when it has one.
    std::optional<Rgb> background;
    if (use == Use::Text)
        background = textBackground();
    else if (xorMode && pen().style != PenStyle::Solid)
        background = Colours::White;
    if (!applied_->background || *applied_->background != background) {
        painter_->setBackgroundMode(background ? Qt::OpaqueMode : Qt::TransparentMode);
        painter_->setBackground(qtBrush(background ? *background : Colours::White));
        applied_->background = background;
    }
    if (!applied_->clip || *applied_->clip != clipRect()) {
        if (const std::optional<PixelRect>& clip = clipRect()) {
            const PixelRect& c = *clip;
            painter_->setClipRect(QRect(c.left, c.top, std::max(c.right - c.left, 0), std::max(c.bottom - c.top, 0)));
        } else {
            painter_->setClipping(false);
        }
        applied_->clip = clipRect();
    }
}

std::optional<PixelRaster> CQtSurface::pixelTarget() const
{
    if (pen().style != PenStyle::Solid)
        return std::nullopt;
    return imageTarget();
}

std::optional<PixelRaster> CQtSurface::patternTarget() const
{
    if (pen().style == PenStyle::Solid || mode() != DrawMode::Xor)
        return std::nullopt;
    return imageTarget();
}

std::optional<PixelRaster> CQtSurface::imageTarget() const
{
    if (!image_.bits || !isActive() || pen().width > 1)
        return std::nullopt;
    const bool exclusiveOr = mode() == DrawMode::Xor;
    if (exclusiveOr && !xorAvailable_)
        return std::nullopt;
    PixelRaster t;
    t.bits = image_.bits;
    t.bytesPerLine = image_.bytesPerLine;
    QRect box = image_.bounds;
    if (const std::optional<PixelRect>& clip = clipRect())
        box =
            image_.bounds.intersected(QRect(QPoint(clip->left, clip->top), QPoint(clip->right - 1, clip->bottom - 1)));
    t.box = {box.left(), box.top(), box.right(), box.bottom()};
    const Rgb c = pen().colour;
    t.colour = (quint32{c.r} << 16) | (quint32{c.g} << 8) | quint32{c.b};
    t.exclusiveOr = exclusiveOr;
    return t;
}

QFont resolvedQtFont(const Font& font, const QFont& defaultFont, QPaintDevice* device)
{
    QFont q = defaultFont;
    if (font.family != FontFamily::Default) {
        q = QFont();
        q.setStyleHint(styleHintOf(font.family));
        q.setFamily(q.defaultFamily());
    }
    q.setBold(font.bold);
    if (font.cellHeight > 0) {
        // A GDI height names the whole cell, ascent and descent; Qt's pixel size the em.
        // Scale the em so that the cell comes out at the height asked for.
        q.setPixelSize(font.cellHeight);
        const int cell = QFontMetrics(q, device).height();
        if (cell > 0 && cell != font.cellHeight)
            q.setPixelSize(std::max(1, (font.cellHeight * font.cellHeight + cell / 2) / cell));
    }
    return q;
}

const CQtSurfaceCache::ResolvedFont& CQtSurface::resolvedFont(const Font& font)
{
    for (const CQtSurfaceCache::ResolvedFont& f : cache_->fonts_)
        if (f.font == font)
            return f;
    QPainter& painter = activePainter(); // its default font
    QFont q = resolvedQtFont(font, cache_->defaultFont_, painter.device());
    return cache_->fonts_.push_back({font, q, QFontMetrics(q, painter.device())}), cache_->fonts_.back();
}

QFont CQtSurface::qtFont(const Font& font)
{
    return resolvedFont(font).qt;
}

const QPen& CQtSurface::qtPen(const Pen& pen)
{
    for (const auto& [key, value] : cache_->pens_)
        if (key == pen)
            return value;
    return cache_->pens_.emplace_back(pen, toQPen(pen)).second;
}

const QBrush& CQtSurface::qtBrush(Rgb colour)
{
    for (const auto& [key, value] : cache_->brushes_)
        if (key == colour)
            return value;
    return cache_->brushes_.emplace_back(colour, QBrush(toQColor(colour))).second;
}

const CQtSurfaceCache::LaidOutText* CQtSurface::laidOut(std::string_view utf8)
{
    if (!image_.bits)
        return nullptr;
    const Font& current = font();
    for (const CQtSurfaceCache::LaidOutText& t : cache_->texts_)
        if (t.font == current && t.utf8 == utf8)
            return &t;
    if (cache_->texts_.size() >= CQtSurfaceCache::MaxTexts)
        cache_->texts_.clear();
    const CQtSurfaceCache::ResolvedFont& f = resolvedFont(current);
    const QString text = toQString(utf8);
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    layout.setPerformanceHint(QStaticText::AggressiveCaching);
    layout.prepare(QTransform(), f.qt);
    cache_->texts_.push_back({current, std::string(utf8), layout, f.metrics.horizontalAdvance(text)});
    return &cache_->texts_.back();
}

void CQtSurface::line(PixelPoint from, PixelPoint to)
{
    if (from == to)
        return; // the segment's only pixel is its end
    if (const std::optional<PixelRaster> target = pixelTarget()) {
        target->segment(from, to);
        return;
    }
    prepare(Use::Stroke);
    painter_->drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void CQtSurface::polyline(std::span<const PixelPoint> points)
{
    if (points.size() < 2)
        return;
    if (const std::optional<PixelRaster> target = pixelTarget()) {
        target->polyline(points);
        return;
    }
    prepare(Use::Stroke);
    points_.resize(points.size());
    std::transform(points.begin(), points.end(), points_.begin(), [](PixelPoint p) { return QPoint(p.x, p.y); });
    painter_->drawPolyline(points_.data(), static_cast<int>(points_.size()));
}

void CQtSurface::rectangle(const PixelRect& box)
{
    const QRect outline = outlineOf(box);
    if (outline.width() <= 0 || outline.height() <= 0)
        return; // an empty box paints nothing, as on the screen
    // The painter's dash stroker paints the white background of the gaps under the whole
    // line before the dashes, which in exclusive-or shows a solid inverted line: the
    // pattern is walked here instead, the dots in the pen colour and the gaps in white.
    const std::optional<PixelRaster> pattern = patternTarget();
    const bool filled = !brush().hollow && outline.width() > 1 && outline.height() > 1;
    if (filled || !pattern) {
        prepare(Use::Stroke);
        // Inside first, without the outline's pixels, so that exclusive-or never paints
        // a pixel twice.
        if (filled)
            painter_->fillRect(outline.adjusted(1, 1, -1, -1), qtBrush(brush().colour));
        painter_->setBrush(Qt::NoBrush);
    }
    if (pattern) {
        const bool dot = pen().style == PenStyle::Dot;
        pattern->patternedOutline({outline.left(), outline.top(), outline.right(), outline.bottom()},
                                  dot ? DotOn : DashOn, dot ? DotOff : DashOff, 0x00ffffffu);
        return;
    }
    // A stroked QRect reaches one pixel past right() and bottom(); the box excludes them.
    painter_->drawRect(outline.adjusted(0, 0, -1, -1));
}

void CQtSurface::ellipse(const PixelRect& box)
{
    const QRect outline = outlineOf(box);
    if (outline.width() <= 0 || outline.height() <= 0)
        return;
    prepare(Use::Stroke);
    painter_->setBrush(brush().hollow ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush().colour)));
    painter_->drawEllipse(outline.adjusted(0, 0, -1, -1));
    painter_->setBrush(Qt::NoBrush);
}

void CQtSurface::text(PixelPoint at, std::string_view utf8, TextAlign align)
{
    if (utf8.empty())
        return;
    prepare(Use::Text);
    const QFontMetrics metrics = resolvedFont(font()).metrics;
    // A text laid out once is drawn again as it is; its layout draws no background.
    if (const CQtSurfaceCache::LaidOutText* t = textBackground() ? nullptr : laidOut(utf8)) {
        const TextPlacement p = placeText(at, t->advance, metrics.ascent(), metrics.descent(), align);
        painter_->drawStaticText(QPoint(p.left, p.baseline - metrics.ascent()), t->layout);
        return;
    }
    const QString s = toQString(utf8);
    const TextPlacement p = placeText(at, metrics.horizontalAdvance(s), metrics.ascent(), metrics.descent(), align);
    painter_->drawText(QPoint(p.left, p.baseline), s);
}

TextExtent CQtSurface::measureText(std::string_view utf8)
{
    const QFontMetrics metrics = resolvedFont(font()).metrics;
    if (const CQtSurfaceCache::LaidOutText* t = laidOut(utf8))
        return {t->advance, metrics.height()};
    return {metrics.horizontalAdvance(toQString(utf8)), metrics.height()};
}
