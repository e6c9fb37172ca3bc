#include "gui/common/CQtSurface.h"

#include "gui/common/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Beyond this many pixels from the origin a segment is first cut to the image in
// floating point, so that the exact stepping below stays within 64 bits.
constexpr std::int64_t ExactLimit = std::int64_t{1} << 24;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) // b > 0
{
    return -floorDiv(-a, b);
}

// Cuts the segment to `box` (inclusive bounds) with the renderers' clipping, from the
// end nearest the box; false when nothing of it is inside.
bool cutToBox(PixelPoint& a, PixelPoint& b, const QRect& box)
{
    ExactPixel from{double(a.x), double(a.y)};
    ExactPixel to{double(b.x), double(b.y)};
    if (!clipSegment(from, to, ExactBox{double(box.left()), double(box.top()), double(box.right()), double(box.bottom())}))
        return false;
    a = {int(std::lround(from.x)), int(std::lround(from.y))};
    b = {int(std::lround(to.x)), int(std::lround(to.y))};
    return true;
}

} // namespace

void CQtSurface::PixelTarget::segment(PixelPoint a, PixelPoint b) const
{
    if (a == b || box.isEmpty())
        return;
    // A curve of 32 000 samples is mostly steps to a neighbouring pixel: such a step
    // paints its start pixel only.
    const std::int64_t stepX = std::int64_t{b.x} - a.x;
    const std::int64_t stepY = std::int64_t{b.y} - a.y;
    if (stepX >= -1 && stepX <= 1 && stepY >= -1 && stepY <= 1) {
        if (a.x >= box.left() && a.x <= box.right() && a.y >= box.top() && a.y <= box.bottom())
            plot(a.x, a.y);
        return;
    }
    if (std::max({std::abs(std::int64_t{a.x}), std::abs(std::int64_t{a.y}), std::abs(std::int64_t{b.x}),
                  std::abs(std::int64_t{b.y})})
        > ExactLimit) {
        if (!cutToBox(a, b, box.adjusted(-2, -2, 2, 2)) || a == b)
            return;
    }
    // Step along the major axis u, one pixel per step, the end pixel left out; pixel i
    // has the minor offset k(i) = floor((2 i m + n) / 2n): the exact line rounded half
    // toward the end.
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t u0 = xMajor ? a.x : a.y;
    const std::int64_t v0 = xMajor ? a.y : a.x;
    const std::int64_t n = std::abs(xMajor ? dx : dy);
    const std::int64_t m = std::abs(xMajor ? dy : dx);
    const int su = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int sv = (xMajor ? dy : dx) >= 0 ? 1 : -1;

    std::int64_t first = 0;
    std::int64_t last = n - 1;
    // QRect::contains is not inline; this runs once per segment of a 32 000-vertex curve.
    const auto inBox = [this](PixelPoint p) {
        return p.x >= box.left() && p.x <= box.right() && p.y >= box.top() && p.y <= box.bottom();
    };
    if (!inBox(a) || !inBox(b)) {
        // Only the steps inside the box, found in closed form: u bounds i directly,
        // and k(i), never decreasing, bounds it through the minor axis.
        const std::int64_t uLo = xMajor ? box.left() : box.top();
        const std::int64_t uHi = xMajor ? box.right() : box.bottom();
        const std::int64_t vLo = xMajor ? box.top() : box.left();
        const std::int64_t vHi = xMajor ? box.bottom() : box.right();
        first = std::max<std::int64_t>(first, su > 0 ? uLo - u0 : u0 - uHi);
        last = std::min<std::int64_t>(last, su > 0 ? uHi - u0 : u0 - uLo);
        const std::int64_t kLo = std::max<std::int64_t>(0, sv > 0 ? vLo - v0 : v0 - vHi);
        const std::int64_t kHi = sv > 0 ? vHi - v0 : v0 - vLo;
        if (kHi < kLo || (m == 0 && kLo > 0))
            return;
        if (m > 0) {
            first = std::max(first, ceilDiv(2 * n * kLo - n, 2 * m));
            last = std::min(last, floorDiv(2 * n * (kHi + 1) - n - 1, 2 * m));
        }
        if (first > last)
            return;
    }

    // From the segment's start (the usual case) the error term starts at n, without the
    // 64-bit division a clipped start needs.
    const std::int64_t numerator = 2 * first * m + n;
    const std::int64_t k = first == 0 ? 0 : numerator / (2 * n);
    std::int64_t r = first == 0 ? n : numerator % (2 * n);
    // From the first pixel on, the address steps along: one pixel on the major axis
    // every step, one on the minor axis whenever the error term wraps.
    const std::int64_t u = u0 + su * first;
    const std::int64_t v = v0 + sv * k;
    const std::int64_t x = xMajor ? u : v;
    const std::int64_t y = xMajor ? v : u;
    const std::ptrdiff_t pixelStep = sizeof(quint32);
    const std::ptrdiff_t majorStep = xMajor ? su * pixelStep : su * std::ptrdiff_t(bytesPerLine);
    const std::ptrdiff_t minorStep = xMajor ? sv * std::ptrdiff_t(bytesPerLine) : sv * pixelStep;
    uchar* address = bits + y * bytesPerLine + x * pixelStep;
    const std::int64_t wrap = 2 * n;
    const std::int64_t advance = 2 * m;
    auto walk = [&](auto paint) {
        for (std::int64_t i = first; i <= last; ++i) {
            paint(reinterpret_cast<quint32*>(address));
            address += majorStep;
            r += advance;
            if (r >= wrap) {
                r -= wrap;
                address += minorStep;
            }
        }
    };
    if (exclusiveOr)
        walk([c = colour](quint32* p) { *p ^= c; });
    else
        walk([c = 0xff000000u | colour](quint32* p) { *p = c; }); // alpha stays opaque
}

void CQtSurface::PixelTarget::patternedOutline(const QRect& outline, int on, int off, quint32 gapColour) const
{
    if (outline.isEmpty() || box.isEmpty())
        return;
    const std::int64_t L = outline.left(), T = outline.top(), R = outline.right(), B = outline.bottom();
    const std::int64_t period = std::int64_t{on} + off;
    const auto xorAt = [&](std::int64_t x, std::int64_t y, std::int64_t index) {
        quint32* p = reinterpret_cast<quint32*>(bits + y * bytesPerLine) + x;
        *p ^= index % period < on ? colour : gapColour;
    };
    // Each side as a run of pixels along one axis, numbered on from where the side
    // before ended, so that every pixel of the outline is walked once and the pattern
    // goes on round the corners. Only the pixels inside the box are visited.
    struct Side {
        bool horizontal;
        std::int64_t fixed, start, count;
        int step;
    };
    const std::int64_t width = R - L + 1;
    const std::int64_t height = B - T + 1;
    // A box one pixel high or wide has its top or its left side only.
    const Side sides[] = {
        {true, T, L, width, 1},
        {false, R, T + 1, height - 1, 1},
        {true, B, R - 1, height > 1 ? width - 1 : 0, -1},
        {false, L, B - 1, width > 1 ? height - 2 : 0, -1},
    };
    std::int64_t firstIndex = 0;
    for (const Side& side : sides) {
        if (side.count <= 0)
            continue;
        const std::int64_t boxLo = side.horizontal ? box.left() : box.top();
        const std::int64_t boxHi = side.horizontal ? box.right() : box.bottom();
        const std::int64_t fixedLo = side.horizontal ? box.top() : box.left();
        const std::int64_t fixedHi = side.horizontal ? box.bottom() : box.right();
        if (side.fixed >= fixedLo && side.fixed <= fixedHi) {
            const std::int64_t kLo = std::max<std::int64_t>(0, side.step > 0 ? boxLo - side.start : side.start - boxHi);
            const std::int64_t kHi = std::min(side.count - 1, side.step > 0 ? boxHi - side.start : side.start - boxLo);
            for (std::int64_t k = kLo; k <= kHi; ++k) {
                const std::int64_t v = side.start + side.step * k;
                if (side.horizontal)
                    xorAt(v, side.fixed, firstIndex + k);
                else
                    xorAt(side.fixed, v, firstIndex + k);
            }
        }
        firstIndex += side.count;
    }
}

namespace {

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// On and off lengths of the dotted and dashed pens, in pixels, as GDI's cosmetic pens
// show them on the screen.
constexpr int DotOn = 3, DotOff = 3;
constexpr int DashOn = 18, DashOff = 6;

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
    case FontFamily::Serif:
        return QFont::Serif;
    case FontFamily::Monospace:
        return QFont::Monospace;
    default:
        return QFont::SansSerif;
    }
}

} // namespace

CQtSurface::CQtSurface(QPaintDevice& device)
{
    // Thin solid lines on a 32-bit image are stepped here rather than by QPainter: its
    // raster engine passes the spans of a long polyline to a thread pool a few hundred
    // at a time, which makes the three 32 000-vertex curves of a redraw cost several
    // milliseconds instead of a fraction of one.
    if (device.devType() == QInternal::Image) {
        QImage& image = static_cast<QImage&>(device);
        const QImage::Format format = image.format();
        if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
            || format == QImage::Format_ARGB32_Premultiplied) {
            image_.bits = image.bits(); // detached now, so the painter paints on the same pixels
            image_.bytesPerLine = image.bytesPerLine();
            image_.bounds = image.rect();
        }
    }
    ownPainter_.emplace(&device);
    painter_ = &*ownPainter_;
    defaultFont_ = painter_->font();
    xorAvailable_ = painter_->isActive() && painter_->paintEngine()
        && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

CQtSurface::CQtSurface(QPainter& painter) : painter_(&painter)
{
    defaultFont_ = painter_->font();
    xorAvailable_ = painter_->isActive() && painter_->paintEngine()
        && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

CQtSurface::~CQtSurface() = default;

PixelSize CQtSurface::size() const
{
    const QPaintDevice* device = painter_->device();
    return device ? PixelSize{device->width(), device->height()} : PixelSize{};
}

int CQtSurface::logicalDpiX() const
{
    const QPaintDevice* device = painter_->device();
    return device ? device->logicalDpiX() : 96;
}

int CQtSurface::logicalDpiY() const
{
    const QPaintDevice* device = painter_->device();
    return device ? device->logicalDpiY() : 96;
}

void CQtSurface::prepare(Use use)
{
    // Text is never combined with what is under it.
    const bool xorMode = use == Use::Stroke && mode() == DrawMode::Xor && xorAvailable_;
    if (!applied_.composition || *applied_.composition != xorMode) {
        painter_->setCompositionMode(xorMode ? QPainter::RasterOp_SourceXorDestination
                                             : QPainter::CompositionMode_SourceOver);
        applied_.composition = xorMode;
    }
    if (use == Use::Text) {
        if (!applied_.text || *applied_.text != std::make_pair(font(), textColour())) {
            painter_->setPen(toQColor(textColour()));
            painter_->setFont(qtFont(font()));
            applied_.text = std::make_pair(font(), textColour());
        }
        applied_.pen.reset();
    } else {
        if (!applied_.pen || *applied_.pen != pen()) {
            painter_->setPen(toQPen(pen()));
            applied_.pen = pen();
        }
        applied_.text.reset();
    }
    // A dotted or dashed pen in exclusive-or paints its gaps in white, as the screen's
    // opaque background mode does: black dots alone would change nothing, and the
    // rubber band would not show. A text stands on its background when it has one.
    std::optional<Rgb> background;
    if (use == Use::Text)
        background = textBackground();
    else if (xorMode && pen().style != PenStyle::Solid)
        background = Colours::White;
    if (!applied_.background || *applied_.background != background) {
        painter_->setBackgroundMode(background ? Qt::OpaqueMode : Qt::TransparentMode);
        painter_->setBackground(QBrush(background ? toQColor(*background) : QColor(Qt::white)));
        applied_.background = background;
    }
    if (!applied_.clip || *applied_.clip != clipRect()) {
        if (const std::optional<PixelRect>& clip = clipRect()) {
            const PixelRect& c = *clip;
            painter_->setClipRect(QRect(c.left, c.top, std::max(c.right - c.left, 0), std::max(c.bottom - c.top, 0)));
        } else {
            painter_->setClipping(false);
        }
        applied_.clip = clipRect();
    }
}

std::optional<CQtSurface::PixelTarget> CQtSurface::pixelTarget() const
{
    if (pen().style != PenStyle::Solid)
        return std::nullopt;
    return imageTarget();
}

std::optional<CQtSurface::PixelTarget> CQtSurface::patternTarget() const
{
    if (pen().style == PenStyle::Solid || mode() != DrawMode::Xor)
        return std::nullopt;
    return imageTarget();
}

std::optional<CQtSurface::PixelTarget> CQtSurface::imageTarget() const
{
    if (!image_.bits || !painter_->isActive() || pen().width > 1)
        return std::nullopt;
    const bool exclusiveOr = mode() == DrawMode::Xor;
    if (exclusiveOr && !xorAvailable_)
        return std::nullopt;
    PixelTarget t = image_;
    if (const std::optional<PixelRect>& clip = clipRect())
        t.box = image_.bounds.intersected(QRect(QPoint(clip->left, clip->top), QPoint(clip->right - 1, clip->bottom - 1)));
    else
        t.box = image_.bounds;
    const Rgb c = pen().colour;
    t.colour = (quint32{c.r} << 16) | (quint32{c.g} << 8) | quint32{c.b};
    t.exclusiveOr = exclusiveOr;
    return t;
}

QFont CQtSurface::qtFont(const Font& font)
{
    for (const auto& [key, value] : fonts_)
        if (key == font)
            return value;

    QFont q = defaultFont_;
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
        const int cell = QFontMetrics(q, painter_->device()).height();
        if (cell > 0 && cell != font.cellHeight)
            q.setPixelSize(std::max(1, (font.cellHeight * font.cellHeight + cell / 2) / cell));
    }
    fonts_.emplace_back(font, q);
    return q;
}

void CQtSurface::line(PixelPoint from, PixelPoint to)
{
    if (from == to)
        return; // the segment's only pixel is its end
    if (const std::optional<PixelTarget> target = pixelTarget()) {
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
    if (const std::optional<PixelTarget> target = pixelTarget()) {
        // Each segment leaves its end out, which the next one paints as its start.
        for (std::size_t i = 1; i < points.size(); ++i)
            target->segment(points[i - 1], points[i]);
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
    prepare(Use::Stroke);
    // Inside first, without the outline's pixels, so that exclusive-or never paints a
    // pixel twice.
    if (!brush().hollow && outline.width() > 1 && outline.height() > 1)
        painter_->fillRect(outline.adjusted(1, 1, -1, -1), toQColor(brush().colour));
    painter_->setBrush(Qt::NoBrush);
    // The painter's dash stroker paints the white background of the gaps under the whole
    // line before the dashes, which in exclusive-or shows a solid inverted line: the
    // pattern is walked here instead, the dots in the pen colour and the gaps in white.
    if (const std::optional<PixelTarget> target = patternTarget()) {
        const bool dot = pen().style == PenStyle::Dot;
        target->patternedOutline(outline, dot ? DotOn : DashOn, dot ? DotOff : DashOff, 0x00ffffffu);
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
    const QString s = toQString(utf8);
    const QFontMetrics metrics = painter_->fontMetrics();
    const int width = metrics.horizontalAdvance(s);
    int x = at.x;
    if (align.horizontal == HAlign::Centre)
        x -= width / 2;
    else if (align.horizontal == HAlign::Right)
        x -= width;
    int baseline = at.y;
    if (align.vertical == VAlign::Top)
        baseline += metrics.ascent();
    else if (align.vertical == VAlign::Bottom)
        baseline -= metrics.descent();
    painter_->drawText(QPoint(x, baseline), s);
}

TextExtent CQtSurface::measureText(std::string_view utf8)
{
    const QFontMetrics metrics(qtFont(font()), painter_->device());
    return {metrics.horizontalAdvance(toQString(utf8)), metrics.height()};
}
