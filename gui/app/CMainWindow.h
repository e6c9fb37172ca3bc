#pragma once

#include "core/editor/Editor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorHost.h"
#include "core/editor/MainControl.h"
#include "core/settings/UnitChoice.h"

#include "gui/app/MainWindowLayout.h"
#include "gui/common/DialogTemplate.h"
#include "gui/common/HelpOpener.h"
#include "gui/common/QtText.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class CDrawingArea;
class CPlatformServices;
class QComboBox;
class Surface;

// The main window: every command of the editor around the drawing area. It runs as
// one modal dialog for the whole editing run and always ends with result 1. The
// commands themselves are the editor's (core/editor); the window shows their outcome
// and answers their dialogs.
class CMainWindow : public QDialog, private EditorHost {
    Q_OBJECT
public:
    CMainWindow(Editor& editor, CPlatformServices& services, QWidget* parent = nullptr);

    // The control with the given id, as the window's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(MainControl id) const
    {
        return controls_.control<W>(id);
    }
    // Runs one command as if its control had been clicked (state of check boxes and
    // radio buttons as they stand).
    void runCommand(MainControl id);

    QString statusText() const { return toQString(editor_.statusText); }
    DisplayFlags displayFlags() const { return editor_.displayFlags; }
    CDrawingArea* drawingArea() const { return drawingArea_; }

public slots:
    void reject() override; // Escape and the close box: the stop path

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The repaint's occasions: a dialog or message box of the program closing, the
    // window exposed again.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A curve or ASCII file dropped on the window opens as "Fichier" opens one.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void openWindow();
    void apply(const CommandOutcome& outcome);
    void canvasPressed(Qt::MouseButton button, int x, int y);
    // The wheel's zoom and the middle button's drag; the closed hand shows while the
    // view is dragged.
    void applyViewGesture(const CommandOutcome& outcome);
    // Ends a drag of the view under way where it stands.
    void endViewDrag();
    // The one local file a drag carries, when the editor takes it.
    std::optional<QString> acceptedDrop(const class QMimeData* data) const;
    void openDroppedFile(const QString& path);

    // "Unités": the unit list's entries, then the entry of the document's unit.
    void fillUnitList();
    void showUnit();
    void showCount();
    void showCurveSettings();
    void showDisplayFlags();
    // The redraw a command's outcome asks for, on the drawing area's picture.
    void drawOnArea(RedrawKind redraw);
    void repaintIfDeferred();
    // The repaint of the plot: a full redraw with the current window that the picks
    // know of (plotRepainted), except while the bounds are typed. Asked for by the
    // occasions above and run once the program is back in its event loop, never
    // while something draws on the picture.
    void requestRepaint();
    void repaintPlot();
    QWidget* ownerFor(MessageOwner owner);

    // EditorHost
    MessageAnswer showMessage(const UserMessage& message) override;
    std::vector<CurvePoint> runFormulaDialog() override;
    bool runBoundsDialog(bool& allRead) override;
    std::optional<std::string> chooseFileToOpen() override;
    SaveOutcome saveCurve() override;
    std::string shownUnit() const override;
    void showCursor(CursorRequest cursor) override;
    bool copyModeTicked() const override;
    void showStatus(const std::string& text) override;
    void showCoordinates(double x, double y) override;
    bool runParameterDialog(ParameterDialog dialog, const std::string& title) override;
    bool runPick(MousePick& pick) override;
    PointListResult runPointListDialog() override;
    void printCurve() override;
    bool copyCurvePicture() override;
    void showHelp(const std::string& path, const std::string& topic) override;

    Editor& editor_;
    CPlatformServices& services_;
    HelpOpener help_;
    DialogControls controls_;
    QComboBox* units_ = nullptr;
    UnitChoice unitChoice_; // what "Unités" holds and selects
    CDrawingArea* drawingArea_ = nullptr;
    CMainWindowPlacements placements_;
    bool repaintPending_ = false;
    bool repaintDeferred_ = false;     // came while a pick was drawing on the picture
    bool pictureBlank_ = false;        // made anew for another screen scale, not drawn yet
    QObject* watchedWindow_ = nullptr; // the platform window whose exposures repaint
    bool stopping_ = false;
    bool dragCursor_ = false; // the closed hand overrides the cursor
    bool stopAfterCommand_ = false;
};
