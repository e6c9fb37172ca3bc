#pragma once

#include "gui/common/DialogTemplate.h"
#include "view/ViewWindow.h"

#include <QDialog>
#include <QString>

class CDrawingArea;
class CPlatformServices;
class QComboBox;
class QLabel;
struct Editor;

// The main window: every command of the editor around the drawing area. It runs as
// one modal dialog for the whole editing run and always ends with result 1.
class CMainWindow : public QDialog {
    Q_OBJECT
public:
    CMainWindow(Editor& editor, CPlatformServices& services, QWidget* parent = nullptr);

    // The control with the given id, as the window's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(int id) const
    {
        return controls_.control<W>(id);
    }
    // Runs one command as if its control had been clicked (state of check boxes and
    // radio buttons as they stand).
    void runCommand(int id);

    const QString& statusText() const { return statusText_; }
    int displayFlags() const { return displayFlags_; }
    CDrawingArea* drawingArea() const { return drawingArea_; }
    // Set by every repaint of the plot; the mouse picks read and clear it.
    bool plotRepainted = false;
    // The unit shown in "Unités", at most 15 characters.
    QString unitText() const;

public slots:
    void reject() override; // Escape and the close box: the stop path

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void openWindow();
    void stopPath();

    void openFileCommand();
    void saveCommand();
    void resetCommand();
    void displayFlagCommand(int id);
    void boundsCommand();
    void formulaCommand();

    void showCount();
    void setStatus(const QString& text);
    void selectUnit();
    void showCurveSettings();
    // Full redraw with the current window, or with `requested`, which then becomes
    // the current window (the former one the previous window) when it differs.
    void redraw();
    void redraw(const ViewWindow& requested);
    void fitView();
    void setCurrentCursor(Qt::CursorShape shape);
    void showMouseCoordinates(double x, double y);

    Editor& editor_;
    CPlatformServices& services_;
    DialogControls controls_;
    QComboBox* units_ = nullptr;
    CDrawingArea* drawingArea_ = nullptr;
    Qt::CursorShape currentCursor_ = Qt::ArrowCursor;
    QString statusText_;
    int displayFlags_ = 0;
    bool stopping_ = false;
};
