#pragma once

#include "core/draw/SvgSurface.h"

#include <QFont>
#include <QImage>

#include <utility>
#include <vector>

// Text measured by Qt's fonts at a given resolution, as CQtSurface measures and draws
// it: what an SVG picture needs to place its texts.
class CQtTextMetrics final : public TextMetrics {
public:
    explicit CQtTextMetrics(int dotsPerInch);

    FontFace face(const Font& font) override;
    int width(std::string_view utf8, const Font& font) override;

private:
    const QFont& qtFont(const Font& font);

    QImage device_; // only its resolution counts
    std::vector<std::pair<Font, QFont>> fonts_;
};
