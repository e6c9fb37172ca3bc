#pragma once

#include "core/draw/PixelGeometry.h"
#include "core/view/CanvasMapping.h"

#include "gui/common/CQtSurface.h"

#include <QFrame>
#include <QImage>

#include <optional>

// The plot's area over the main window's frame: a bordered child that keeps its
// picture for the whole run. The picture is at the screen's device resolution (r x the
// client size for a device pixel ratio r, reporting 96 x r dots per inch), so that the
// renderer draws sharp lines and labels in device pixels; painting only copies it, one
// device pixel for one, and the background is never erased, so exclusive-or drawing
// stays consistent with what is shown. It maps its pixels to the world with the mapping
// of the plot drawn last, which the editor keeps (`Editor::mapping`) and it only reads.
class CDrawingArea : public QFrame {
    Q_OBJECT
public:
    CDrawingArea(QWidget* parent, const CanvasMapping& mapping);

    // The picture, made anew first when the client area's device size or the ratio
    // changed, unless a surface is still at work on it (it is then made anew on the
    // next call once the surface has ended).
    QImage& image();
    // Whether a surface draws on the picture: a pick, or a redraw whose message box is
    // up. The picture then stays as it is, and a repaint waits.
    bool isDrawing() const { return drawing_ > 0; }
    // The picture as it is, never made anew: what a pick under way drew on.
    QImage& currentImage() { return image_; }
    QSize clientSize() const { return contentsRect().size(); }
    // The client area in device pixels: the picture's size, the renderer's pixels.
    QSize deviceSize() const;
    // Where the picture's first pixel lies in the widget: the client area's corner
    // moved to a whole device pixel of the window, so that the picture is copied one
    // device pixel for one at fractional ratios too.
    QPointF pictureOrigin() const;
    // The device pixel ratio the picture is made for: the screen's, or the one forced.
    qreal pixelRatio() const;
    // Forces a ratio on the picture whatever the screen's (nullopt: the screen's), as
    // a move to a screen of that scale would: the picture is remade.
    void forcePixelRatio(std::optional<qreal> ratio);

    // The device pixel of the picture under a position of the widget.
    QPoint clientPosition(const QPointF& widgetPosition) const;
    // A position of the widget on a device pixel of the picture.
    QPointF widgetPosition(PixelPoint pixel) const;
    const CanvasMapping& mapping() const { return mapping_; }

signals:
    // World coordinates under the mouse.
    void mouseMovedTo(double x, double y);
    void mousePressed(Qt::MouseButton button, int x, int y);
    // The wheel turned by `angleDelta` eighths of a degree (positive away from the
    // user) over the picture's pixel x, y, at the window system's time stamp.
    void wheelTurned(int x, int y, int angleDelta, quint64 timestamp);
    // The middle button pressed, moved while held, released, on a pixel of the picture.
    void panPressed(int x, int y);
    void panMoved(int x, int y);
    void panReleased(int x, int y);
    // The picture was made anew, blank, for another device pixel ratio: the plot
    // needs a full redraw.
    void pictureRemade();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Taken here, so that a release never reaches the main window as a click elsewhere.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Makes the picture the client area's device size.
    void fitImageToClient();
    // The client area's device rectangle in the window's device pixels.
    QRect deviceRect() const;

    QImage image_;
    qreal imageRatio_ = 1;
    std::optional<qreal> forcedRatio_;
    const CanvasMapping& mapping_;
    int drawing_ = 0; // picture surfaces alive
    CQtSurfaceCache surfaceCache_;
    friend class CPictureSurface;
};

// A surface on the drawing area's picture, which stays as it is while the surface
// lives: its pixels are painted directly, often with no painter begun on them.
class CPictureSurface : public CQtSurface {
public:
    enum class Picture {
        Fitted,  // made anew first for the client area's size and scale
        Current, // as it is: what a pick under way drew on
    };
    CPictureSurface(CDrawingArea& area, Picture picture);
    ~CPictureSurface() override;
    CPictureSurface(const CPictureSurface&) = delete;
    CPictureSurface& operator=(const CPictureSurface&) = delete;

private:
    CDrawingArea& area_;
};
