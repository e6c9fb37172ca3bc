#include "gui/common/PictureImage.h"

#ifdef __linux__
#include <sys/mman.h>

#include <cstdlib>
#endif

QImage freshPicture(QSize size, QImage::Format format)
{
#ifdef __linux__
    constexpr qsizetype HugePage = qsizetype(2) << 20;
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.width() > 0 && size.height() > 0 && depth > 0) {
        // Rows 32-bit aligned, as QImage wants them.
        const qsizetype bytesPerLine = ((qsizetype(size.width()) * depth + 31) / 32) * 4;
        const qsizetype bytes = bytesPerLine * size.height();
        if (bytes >= HugePage / 8 && bytes / size.height() == bytesPerLine) {
            const qsizetype rounded = (bytes + HugePage - 1) / HugePage * HugePage;
            void* memory = nullptr;
            if (posix_memalign(&memory, HugePage, size_t(rounded)) == 0) {
                madvise(memory, size_t(rounded), MADV_HUGEPAGE); // a hint: without it, plain pages
                return QImage(
                    static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine, format,
                    [](void* data) { std::free(data); }, memory);
            }
        }
    }
#endif
    return QImage(size, format);
}
