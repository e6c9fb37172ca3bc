#pragma once

#include <QEvent>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <cmath>

// A screen at device pixel ratio r shows r x r device pixels for each logical pixel;
// a picture drawn at that resolution is sharp. The ratio is taken as the platform
// gives it (1.25, 1.5, 1.75 pass through unrounded).

// The device pixel under a logical position (both from the same origin). The window
// system gives whole device pixels divided by the ratio: multiplied back, a position
// may fall a hair short of its pixel.
inline QPoint devicePixelAt(QPointF logical, qreal ratio)
{
    constexpr double Hair = 1e-6;
    return QPoint(int(std::floor(logical.x() * ratio + Hair)), int(std::floor(logical.y() * ratio + Hair)));
}

// Whether `event` tells of another screen scale for its widget: a move to another
// screen, or (from Qt 6.6) a change of the device pixel ratio where the window is.
inline bool isScaleChange(const QEvent& event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event.type() == QEvent::DevicePixelRatioChange)
        return true;
#endif
    return event.type() == QEvent::ScreenChangeInternal;
}

// The resolution a device context reports at that ratio: 96 dots per inch a logical
// inch, so that fonts, ticks and markers sized from it scale with the screen.
inline int deviceDotsPerInch(qreal ratio)
{
    return int(std::lround(96 * ratio));
}

// Makes `image` report deviceDotsPerInch(ratio) as its logical resolution.
inline void setDeviceResolution(QImage& image, qreal ratio)
{
    const int dotsPerMeter = int(std::lround(deviceDotsPerInch(ratio) / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

// The device pixels of `logical`, a rectangle of `widget`, in its window at `ratio`:
// the corners at r x their logical place in the window, rounded as the window system
// places the window's own pixels, so that a picture of that size is shown one device
// pixel for one.
inline QRect windowDeviceRect(const QWidget& widget, const QRect& logical, qreal ratio)
{
    const QRectF r = QRectF(logical).translated(widget.mapTo(widget.window(), QPoint(0, 0)));
    const auto device = [ratio](qreal v) { return int(std::lround(v * ratio)); };
    // QRectF's right and bottom lie past the last pixel.
    return QRect(QPoint(device(r.left()), device(r.top())), QPoint(device(r.right()) - 1, device(r.bottom()) - 1));
}

// Where a picture covering `deviceRect` (from windowDeviceRect) starts in `widget`.
inline QPointF pictureOriginIn(const QWidget& widget, const QRect& deviceRect, qreal ratio)
{
    return QPointF(deviceRect.topLeft()) / ratio - QPointF(widget.mapTo(widget.window(), QPoint(0, 0)));
}
