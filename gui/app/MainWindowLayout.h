#pragma once

#include "gui/common/DialogTemplate.h"

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// The main window's template: every control with its id, kind, caption and place.
const DialogTemplate& mainWindowLayout();

// How the main window's controls follow a window larger than its template. The drawing
// frame takes the extra room; what lies right of it (the right column) and below it (the
// bottom row) follows that edge, in the bottom row what lies right of the status line
// too; a group reaching across the frame (the top bar's, the bottom row's) grows with
// it; the left column stays. The edges are the template's.
class CMainWindowPlacements {
public:
    // Records where each control of `window` sits at the template size, the window's
    // size now, and lets the window grow from it.
    void record(QWidget& window, const QWidget& drawingFrame);
    bool recorded() const { return !placements_.empty(); }
    // Places the controls for the window's size now.
    void apply(const QWidget& window) const;

private:
    struct Placement {
        QWidget* widget;
        QRect rect;
        int moveX, moveY, growX, growY;
    };
    std::vector<Placement> placements_;
    QSize templateSize_;
};
