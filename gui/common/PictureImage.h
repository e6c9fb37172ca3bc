#pragma once

#include <QImage>
#include <QSize>

// A picture of `size` pixels in `format`, its pixels left as they come (fill it). Where
// the system gives huge pages (Linux), a picture of a quarter megabyte or more takes them: a
// fresh picture is otherwise touched page by page, each first write a fault of the
// kernel, which on some machines costs more than drawing the picture. Null when the
// memory cannot be had, as QImage's own constructor.
QImage freshPicture(QSize size, QImage::Format format);
