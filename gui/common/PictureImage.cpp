#include "gui/common/PictureImage.h"

#include "core/common/LargeArray.h"

QImage freshPicture(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.width() > 0 && size.height() > 0 && depth > 0) {
        // Rows 32-bit aligned, as QImage wants them.
        const qsizetype bytesPerLine = ((qsizetype(size.width()) * depth + 31) / 32) * 4;
        const qsizetype bytes = bytesPerLine * size.height();
        if (bytes / size.height() == bytesPerLine) {
            if (void* memory = allocateLargeBlock(size_t(bytes)))
                return QImage(
                    static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine, format,
                    [](void* data) { releaseLargeBlock(data); }, memory);
        }
    }
    return QImage(size, format);
}
