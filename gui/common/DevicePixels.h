#pragma once

#include <QEvent>
#include <QImage>
#include <QPointF>

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
