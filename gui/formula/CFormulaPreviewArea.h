#pragma once

#include <QImage>
#include <QWidget>

// The formula dialog's preview: a borderless child that keeps its picture, drawn by
// the dialog through a Surface. Painting only copies the picture, so exclusive-or
// drawing stays consistent with what is shown. A left click reports its position.
class CFormulaPreviewArea : public QWidget {
    Q_OBJECT
public:
    explicit CFormulaPreviewArea(QWidget* parent);

    // The picture, the size of the widget (Format_RGB32, where exclusive-or works).
    QImage& image();

signals:
    void clicked(QPoint position);
    // The picture was made anew (black) for a new size.
    void pictureLost();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool fitImageToSize();

    QImage image_;
};
