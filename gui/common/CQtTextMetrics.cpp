#include "gui/common/CQtTextMetrics.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/QtText.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <cmath>

CQtTextMetrics::CQtTextMetrics(int dotsPerInch) : device_(1, 1, QImage::Format_RGB32)
{
    const int dpi = dotsPerInch > 0 ? dotsPerInch : 96;
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    device_.setDotsPerMeterX(dotsPerMetre);
    device_.setDotsPerMeterY(dotsPerMetre);
}

const QFont& CQtTextMetrics::qtFont(const Font& font)
{
    for (const auto& [key, value] : fonts_)
        if (key == font)
            return value;
    fonts_.emplace_back(font, resolvedQtFont(font, QFont(), &device_));
    return fonts_.back().second;
}

TextMetrics::FontFace CQtTextMetrics::face(const Font& font)
{
    const QFont& q = qtFont(font);
    const QFontMetrics metrics(q, &device_);
    FontFace face;
    face.family = QFontInfo(q).family().toStdString();
    face.pixelSize = q.pixelSize() > 0 ? q.pixelSize()
                                       : static_cast<int>(std::lround(q.pointSizeF() * device_.logicalDpiY() / 72.0));
    face.ascent = metrics.ascent();
    face.descent = metrics.descent();
    return face;
}

int CQtTextMetrics::width(std::string_view utf8, const Font& font)
{
    return QFontMetrics(qtFont(font), &device_).horizontalAdvance(toQString(utf8));
}
