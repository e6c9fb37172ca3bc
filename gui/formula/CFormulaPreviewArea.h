#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

// The formula dialog's preview: a borderless child that keeps its picture, drawn by
// the dialog through a Surface. The picture is at the screen's device resolution (r x
// the widget's size for a device pixel ratio r, reporting 96 x r dots per inch), as the
// main window's drawing area; painting only copies it, one device pixel for one, so
// exclusive-or drawing stays consistent with what is shown. A left click reports the
// device pixel of the picture under it.
class CFormulaPreviewArea : public QWidget {
    Q_OBJECT
public:
    explicit CFormulaPreviewArea(QWidget* parent);

    // The picture, the widget's device size (Format_RGB32, where exclusive-or works).
    QImage& image();

signals:
    void clicked(QPoint pixel);
    // The picture was made anew (black) for a new size or screen scale.
    void pictureLost();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool fitImageToSize();
    // The widget's device rectangle in the window's device pixels.
    QRect deviceRect() const;

    QImage image_;
    qreal imageRatio_ = 1;
};
