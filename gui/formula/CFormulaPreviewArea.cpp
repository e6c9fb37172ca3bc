#include "gui/formula/CFormulaPreviewArea.h"

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

bool CFormulaPreviewArea::fitImageToSize()
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (image_.size() == wanted)
        return false;
    image_ = QImage(wanted, QImage::Format_RGB32);
    image_.fill(Qt::black);
    return true;
}

void CFormulaPreviewArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (fitImageToSize())
        emit pictureLost();
}

void CFormulaPreviewArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image());
}

void CFormulaPreviewArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position().toPoint());
    else
        QWidget::mousePressEvent(event);
}
