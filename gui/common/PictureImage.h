#pragma once

#include <QImage>
#include <QSize>

// A picture of `size` pixels in `format`, its pixels left as they come (fill it), in a
// large block (allocateLargeBlock: huge pages where the system has them). Null when the
// memory cannot be had, as QImage's own constructor.
QImage freshPicture(QSize size, QImage::Format format);
