#include "gui/app/CDrawingArea.h"

#include <QMouseEvent>
#include <QPainter>

CDrawingArea::CDrawingArea(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("drawingArea"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

QImage& CDrawingArea::image()
{
    fitImageToClient();
    return image_;
}

void CDrawingArea::fitImageToClient()
{
    QSize size = clientSize().expandedTo(QSize(1, 1));
    if (image_.size() != size) {
        // RGB32, where the raster engine does exclusive-or.
        image_ = QImage(size, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
}

void CDrawingArea::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitImageToClient();
}

void CDrawingArea::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the border
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), image());
}

QPoint CDrawingArea::clientPosition(const QPointF& widgetPosition) const
{
    return widgetPosition.toPoint() - contentsRect().topLeft();
}

void CDrawingArea::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = clientPosition(event->position());
    CurvePoint world = mapping_.pixelToWorld({p.x(), p.y()});
    emit mouseMovedTo(world.x, world.y);
}

void CDrawingArea::mousePressEvent(QMouseEvent* event)
{
    QPoint p = clientPosition(event->position());
    emit mousePressed(event->button(), p.x(), p.y());
}

void CDrawingArea::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}
