#include "gui/app/CDrawingArea.h"

#include "gui/common/DevicePixels.h"
#include "gui/common/PictureImage.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QWheelEvent>

#include <cmath>

CDrawingArea::CDrawingArea(QWidget* parent, const CanvasMapping& mapping) : QFrame(parent), mapping_(mapping)
{
    setObjectName(QStringLiteral("drawingArea"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

qreal CDrawingArea::pixelRatio() const
{
    return forcedRatio_ ? *forcedRatio_ : devicePixelRatioF();
}

QRect CDrawingArea::deviceRect() const
{
    return windowDeviceRect(*this, contentsRect(), pixelRatio());
}

QSize CDrawingArea::deviceSize() const
{
    return deviceRect().size().expandedTo(QSize(0, 0));
}

QPointF CDrawingArea::pictureOrigin() const
{
    return pictureOriginIn(*this, deviceRect(), pixelRatio());
}

void CDrawingArea::forcePixelRatio(std::optional<qreal> ratio)
{
    forcedRatio_ = ratio;
    // Told as the window system tells a move to another screen, so that a pick under
    // way ends first, on the picture it drew on.
    QEvent change(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(this, &change);
}

QImage& CDrawingArea::image()
{
    fitImageToClient();
    return image_;
}

void CDrawingArea::fitImageToClient()
{
    const qreal ratio = pixelRatio();
    const QSize size = deviceSize().expandedTo(QSize(1, 1));
    if (image_.size() == size && imageRatio_ == ratio)
        return;
    // A pick or a redraw still drawing on it (a dialog of theirs is up): the picture
    // stays until they are done.
    if (isDrawing())
        return;
    const bool newRatio = !image_.isNull() && imageRatio_ != ratio;
    // RGB32, where the raster engine does exclusive-or. No device pixel ratio is set
    // on the image itself: a painter on it draws in device pixels.
    surfaceCache_.endPainting(); // its painter paints on the picture replaced
    image_ = freshPicture(size, QImage::Format_RGB32);
    setDeviceResolution(image_, ratio);
    image_.fill(Qt::white);
    imageRatio_ = ratio;
    // A resize is redrawn by the window that resized the area; a change of screen
    // scale comes from the window system and is said here, once the event is over.
    if (newRatio)
        QMetaObject::invokeMethod(this, &CDrawingArea::pictureRemade, Qt::QueuedConnection);
}

bool CDrawingArea::event(QEvent* event)
{
    const bool handled = QFrame::event(event);
    if (isScaleChange(*event))
        fitImageToClient();
    return handled;
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
    // The picture's device pixels over the client area's, one for one (a change of
    // scale that no event told of is caught here too).
    const QImage& picture = image();
    painter.drawImage(QRectF(pictureOrigin(), QSizeF(picture.size()) / imageRatio_), picture);
}

QPoint CDrawingArea::clientPosition(const QPointF& widgetPosition) const
{
    return devicePixelAt(widgetPosition - pictureOrigin(), pixelRatio());
}

QPointF CDrawingArea::widgetPosition(PixelPoint pixel) const
{
    // A quarter into the pixel: inside it at every ratio, and rounded to whole logical
    // pixels (as a synthetic click is) it stays on it at ratio 1.
    const qreal ratio = pixelRatio();
    return QPointF((pixel.x + 0.25) / ratio, (pixel.y + 0.25) / ratio) + pictureOrigin();
}

void CDrawingArea::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = clientPosition(event->position());
    // The view dragged first, so that the coordinates shown are those of the plot drawn.
    if (event->buttons() & Qt::MiddleButton)
        emit panMoved(p.x(), p.y());
    const CurvePoint world = mapping_.pixelToWorld({p.x(), p.y()});
    emit mouseMovedTo(world.x, world.y);
}

void CDrawingArea::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = clientPosition(event->position());
    if (event->button() == Qt::MiddleButton)
        emit panPressed(p.x(), p.y());
    else
        emit mousePressed(event->button(), p.x(), p.y());
}

void CDrawingArea::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::MiddleButton) {
        const QPoint p = clientPosition(event->position());
        emit panReleased(p.x(), p.y());
    }
}

void CDrawingArea::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return; // a horizontal wheel
    const QPoint p = clientPosition(event->position());
    emit wheelTurned(p.x(), p.y(), delta, event->timestamp());
}

CPictureSurface::CPictureSurface(CDrawingArea& area, Picture picture)
    : CQtSurface(picture == Picture::Fitted ? area.image() : area.currentImage(), &area.surfaceCache_), area_(area)
{
    ++area_.drawing_;
}

CPictureSurface::~CPictureSurface()
{
    --area_.drawing_;
}
