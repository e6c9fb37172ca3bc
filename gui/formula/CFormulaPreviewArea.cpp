#include "gui/formula/CFormulaPreviewArea.h"

#include "gui/common/DevicePixels.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

CFormulaPreviewArea::CFormulaPreviewArea(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& CFormulaPreviewArea::image()
{
    fitImageToSize();
    return image_;
}

QRect CFormulaPreviewArea::deviceRect() const
{
    return windowDeviceRect(*this, rect(), devicePixelRatioF());
}

bool CFormulaPreviewArea::fitImageToSize()
{
    const qreal ratio = devicePixelRatioF();
    const QSize wanted = deviceRect().size().expandedTo(QSize(1, 1));
    if (image_.size() == wanted && imageRatio_ == ratio)
        return false;
    image_ = QImage(wanted, QImage::Format_RGB32);
    setDeviceResolution(image_, ratio);
    image_.fill(Qt::black);
    imageRatio_ = ratio;
    return true;
}

bool CFormulaPreviewArea::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (isScaleChange(*event) && fitImageToSize())
        emit pictureLost();
    return handled;
}

void CFormulaPreviewArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (fitImageToSize())
        emit pictureLost();
}

void CFormulaPreviewArea::paintEvent(QPaintEvent*)
{
    // A change of scale that no event told of is caught here; the dialog redraws the
    // picture once this paint is over.
    if (fitImageToSize())
        QMetaObject::invokeMethod(this, &CFormulaPreviewArea::pictureLost, Qt::QueuedConnection);
    QPainter painter(this);
    const QPointF origin = pictureOriginIn(*this, deviceRect(), imageRatio_);
    painter.drawImage(QRectF(origin, QSizeF(image_.size()) / imageRatio_), image_);
}

void CFormulaPreviewArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const qreal ratio = devicePixelRatioF();
        emit clicked(devicePixelAt(event->position() - pictureOriginIn(*this, deviceRect(), ratio), ratio));
    } else {
        QWidget::mousePressEvent(event);
    }
}
