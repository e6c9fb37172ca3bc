#include "gui/app/CPickLoop.h"

#include "core/editor/MousePick.h"

#include "gui/app/CDrawingArea.h"
#include "gui/common/DevicePixels.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

CPickLoop::CPickLoop(QWidget& window, CDrawingArea& area, MousePick& pick, std::function<void()> drawn)
    : window_(window), area_(area), pick_(pick), drawn_(std::move(drawn))
{
}

bool CPickLoop::run()
{
    if (!pick_.running())
        return pick_.result();
    QEventLoop loop;
    loop_ = &loop;
    area_.setFocus();
    qApp->installEventFilter(this);
    loop.exec();
    qApp->removeEventFilter(this);
    loop_ = nullptr;
    return pick_.result();
}

bool CPickLoop::onDrawingArea(QObject* watched) const
{
    return watched == &area_;
}

bool CPickLoop::feed(const PickEvent& event)
{
    bool running = false;
    {
        // The picture the pick drew on, also when the area's size or scale has just
        // changed: the pick erases there; the new picture comes with the redraw.
        CPictureSurface picture(area_, CPictureSurface::Picture::Current);
        running = pick_.handle(event, picture);
    }
    drawn_();
    if (!running && loop_)
        loop_->quit();
    return running;
}

bool CPickLoop::eventFilter(QObject* watched, QEvent* event)
{
    if (!pick_.running())
        return false;
    // A dialog the pick opened (a parameter, a message) gets its own events.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != &window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !watched->isWidgetType())
            return false;
        if (onDrawingArea(watched)) {
            const QPoint p = area_.clientPosition(mouse->position());
            feed(PickEvent::leftRelease({p.x(), p.y()}));
        } else {
            // The pick ends first; the release then goes on to its widget, so that a
            // button clicked meanwhile runs its command.
            feed(PickEvent::clickElsewhere());
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && watched->isWidgetType()) {
            feed(PickEvent::rightPress());
            // The drawing area's own right-button handling means nothing in a pick.
            return onDrawingArea(watched);
        }
        // A left press on the drawing area is the pick's: only its release counts.
        return mouse->button() == Qt::LeftButton && onDrawingArea(watched);
    }
    case QEvent::MouseMove:
        if (onDrawingArea(watched)) {
            const QPoint p = area_.clientPosition(static_cast<QMouseEvent*>(event)->position());
            feed(PickEvent::moveTo({p.x(), p.y()}));
        }
        return false;
    case QEvent::ShortcutOverride:
        // A button's shortcut (Alt+U for "&Undo"...) would run its command under the
        // pick, on the points the pick works on: the key comes to the pick instead.
        event->accept();
        return true;
    case QEvent::Shortcut: return true;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() && key->key() != Qt::Key_Escape)
            return true;
        // Modifier keys alone are no key press a user means.
        if (key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control || key->key() == Qt::Key_Alt
            || key->key() == Qt::Key_Meta || key->key() == Qt::Key_AltGr)
            return false;
        feed(key->key() == Qt::Key_Escape ? PickEvent::escapeKey() : PickEvent::otherKey());
        return true; // Escape must not also close the main window
    }
    case QEvent::Resize:
        // The picture is made anew at the new size: the pick ends as Escape ends it.
        if (onDrawingArea(watched))
            feed(PickEvent::escapeKey());
        return false;
    case QEvent::Close:
        if (watched == &window_) {
            closeRequested_ = true;
            feed(PickEvent::close());
            event->ignore();
            return true;
        }
        return false;
    default:
        // Likewise at another screen scale.
        if (isScaleChange(*event) && onDrawingArea(watched))
            feed(PickEvent::escapeKey());
        return false;
    }
}
