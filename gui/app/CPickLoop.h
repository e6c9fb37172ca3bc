#pragma once

#include <QObject>

#include <functional>

class CDrawingArea;
class MousePick;
class QWidget;

// Runs a mouse pick as a nested event loop: the user's clicks, moves and keys reach the
// pick while every other event of the program is dispatched as usual, so the window
// keeps repainting and a click on another button still runs that button's command
// once the pick has ended.
class CPickLoop : public QObject {
    Q_OBJECT
public:
    // `window` is the main window; `drawn` is called after each event the pick drew on
    // the drawing area's picture.
    CPickLoop(QWidget& window, CDrawingArea& area, MousePick& pick, std::function<void()> drawn);

    // Until the pick ends; its result.
    bool run();
    // The main window was asked to close while the pick ran: the stop path follows.
    bool closeRequested() const { return closeRequested_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onDrawingArea(QObject* watched) const;
    bool feed(const struct PickEvent& event);

    QWidget& window_;
    CDrawingArea& area_;
    MousePick& pick_;
    std::function<void()> drawn_;
    bool closeRequested_ = false;
    class QEventLoop* loop_ = nullptr;
};
