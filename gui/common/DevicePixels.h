#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include <cmath>

// A screen at device pixel ratio r shows r x r device pixels for each logical pixel;
// a picture drawn at that resolution is sharp. The ratio is taken as the platform
// gives it (1.25, 1.5, 1.75 pass through unrounded).

// The device pixels that cover `logical` pixels, rounded to the nearest.
inline QSize devicePixelSize(QSize logical, qreal ratio)
{
    return QSize(int(std::lround(logical.width() * ratio)), int(std::lround(logical.height() * ratio)));
}

// The device pixel under a logical position (both from the same origin).
inline QPoint devicePixelAt(QPointF logical, qreal ratio)
{
    return QPoint(int(std::floor(logical.x() * ratio)), int(std::floor(logical.y() * ratio)));
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
