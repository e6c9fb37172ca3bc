#pragma once

#include <QRect>

class QFont;

// Converts dialog units (a quarter of the average character width, an eighth of the
// character height of the dialog's font) to pixels, so the layouts keep their
// proportions whatever font the platform gives.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int x(int du) const { return (du * baseX_ + 2) / 4; }
    int y(int du) const { return (du * baseY_ + 4) / 8; }
    QRect rect(int x0, int y0, int w, int h) const { return QRect(x(x0), y(y0), x(w), y(h)); }

private:
    int baseX_ = 6;
    int baseY_ = 13;
};
