#include "gui/common/DialogUnits.h"

#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font)
{
    QFontMetrics metrics(font);
    // The average width of the 52 letters, as the original platform measures it.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = qMax(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
    baseY_ = qMax(1, metrics.height());
}
