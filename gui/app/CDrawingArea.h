#pragma once

#include "core/view/CanvasMapping.h"

#include <QFrame>
#include <QImage>

// The plot's area over the main window's frame: a bordered child that keeps its
// picture for the whole run. The renderer draws into the picture; painting only
// copies it, and the background is never erased, so exclusive-or drawing stays
// consistent with what is shown.
class CDrawingArea : public QFrame {
    Q_OBJECT
public:
    explicit CDrawingArea(QWidget* parent);

    // The picture, the size of the client area.
    QImage& image();
    QSize clientSize() const { return contentsRect().size(); }
    void setMapping(const CanvasMapping& mapping) { mapping_ = mapping; }
    // A position of the widget as a pixel of the picture.
    QPoint clientPosition(const QPointF& widgetPosition) const;
    const CanvasMapping& mapping() const { return mapping_; }

signals:
    // World coordinates under the mouse.
    void mouseMovedTo(double x, double y);
    void mousePressed(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Taken here, so that a release never reaches the main window as a click elsewhere.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitImageToClient();

    QImage image_;
    CanvasMapping mapping_;
};
