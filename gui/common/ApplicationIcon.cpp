#include "gui/common/ApplicationIcon.h"

#include <QImageReader>
#include <QPixmap>

QIcon applicationIcon()
{
    QIcon icon;
    QImageReader reader(QStringLiteral(":/crbedit/crbedit.ico"));
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
