#include "gui/app/CMainWindow.h"

#include "core/editor/CanvasCommands.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/PlotRedraw.h"
#include "core/settings/UnitList.h"
#include "core/settings/VersionText.h"
#include "core/text/NumberText.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CPickLoop.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"
#include "gui/curve/CPointListDialog.h"
#include "gui/curve/CurveFileCommands.h"
#include "gui/formula/CFormulaDialog.h"
#include "gui/output/CurveOutput.h"
#include "gui/transform/ParameterDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

using enum MainControl;

namespace {

using Kind = ControlKind;
constexpr unsigned CoordinateField = ControlFlag::RightAligned;
constexpr unsigned CountField = ControlFlag::Centred | ControlFlag::SunkenPanel;

// The window's template, 520 x 330 dialog units. Group boxes come first so that the
// controls they frame lie above them.
constexpr ControlSpec Controls[] = {
    {InputGroup, Kind::Group, "Saisie", 4, 2, 512, 26},
    {NoId, Kind::Group, "Affichage", 4, 44, 72, 46},
    {NoId, Kind::Group, "Lissage", 4, 92, 72, 56},
    {TransformGroup, Kind::Group, "&Transfos", 4, 150, 72, 102},
    {NoId, Kind::Group, "Unités", 4, 254, 72, 34},
    {CoordGroup, Kind::Group, "Coord", 456, 30, 60, 36},
    {ZoomGroup, Kind::Group, "&Zoom", 456, 70, 60, 118},
    {NoId, Kind::Group, "", 4, 292, 512, 34},

    {Redraw, Kind::Button, "&Redess", 10, 11, 40, 13},
    {Undo, Kind::Button, "&Undo", 52, 11, 40, 13},
    {NoId, Kind::EtchedLine, "", 96, 10, 2, 15},
    {PointEntry, Kind::Button, "&Point", 100, 11, 40, 13},
    {DeletePoint, Kind::Button, "&Effacer", 142, 11, 40, 13},
    {EraseWindow, Kind::Button, "&Effac Fen", 184, 11, 44, 13},
    {Reset, Kind::Button, "&R.A.Z.", 230, 11, 40, 13},
    {NoId, Kind::EtchedLine, "", 274, 10, 2, 15},
    {OpenFile, Kind::Button, "Fichier", 278, 11, 40, 13},
    {List, Kind::Button, "&Liste", 320, 11, 40, 13},
    {Formula, Kind::Button, "&Formule", 362, 11, 40, 13},
    {NoId, Kind::EtchedLine, "", 406, 10, 2, 15},
    {PointCount, Kind::Label, "", 466, 11, 44, 13, CountField},

    {Periodic, Kind::Check, "Périodicité", 8, 32, 66, 10},
    {Derivative1Box, Kind::Check, "Dérivée 1", 10, 54, 62, 10},
    {Derivative2Box, Kind::Check, "Dérivée 2", 10, 65, 62, 10},
    {IntegralBox, Kind::Check, "Intégration", 10, 76, 62, 10},
    {SmoothAucun, Kind::Radio, "Aucun", 10, 102, 62, 10},
    {SmoothCubique, Kind::Radio, "Cubique", 10, 113, 62, 10},
    {SmoothAkima, Kind::Radio, "Akima", 10, 124, 62, 10},
    {SmoothCarlson, Kind::Radio, "Carlson", 10, 135, 62, 10},
    {CopyMode, Kind::Check, "&Copie", 10, 160, 60, 10},
    {Translate, Kind::Button, "&Trans", 10, 172, 60, 13},
    {Mirror, Kind::Button, "&Miroir", 10, 187, 60, 13},
    {Rotate, Kind::Button, "&Rotat", 10, 202, 60, 13},
    {Homothety, Kind::Button, "&Homo.", 10, 217, 60, 13},
    {Affinity, Kind::Button, "&Affinité", 10, 232, 60, 13},
    {Units, Kind::Combo, "", 10, 267, 60, 14},

    {DrawingFrame, Kind::Frame, "", 80, 32, 370, 256},

    {MouseX, Kind::Label, "", 460, 41, 52, 9, CoordinateField},
    {MouseY, Kind::Label, "", 460, 52, 52, 9, CoordinateField},
    {ZoomWindow, Kind::Button, "&Fenêtre", 462, 80, 48, 13},
    {ZoomIn, Kind::Button, "&Plus", 462, 95, 48, 13},
    {ZoomOut, Kind::Button, "&Moins", 462, 110, 48, 13},
    {FitAll, Kind::Button, "&Tout", 462, 125, 48, 13},
    {Centre, Kind::Button, "&Centre", 462, 140, 48, 13},
    {Previous, Kind::Button, "&Préc", 462, 155, 48, 13},
    {Bounds, Kind::Button, "&Bornes", 462, 170, 48, 13},
    {CopyPicture, Kind::Button, "&Copier", 462, 196, 48, 14},
    {Print, Kind::Button, "&Imprimer", 462, 214, 48, 14},
    {Stop, Kind::Button, "&Arrêt", 462, 270, 48, 16},

    {StatusLine, Kind::Label, "", 10, 305, 360, 10},
    {Help, Kind::Button, "&Aide", 378, 302, 50, 15},
    {Save, Kind::Button, "&Enregistrer", 434, 302, 76, 15},
};

constexpr DialogTemplate Layout{520, 330, Controls};

QString versionText()
{
    return toQString(ProductVersionText);
}

} // namespace

const DialogTemplate& mainWindowLayout()
{
    return Layout;
}

CMainWindow::CMainWindow(Editor& editor, CPlatformServices& services, QWidget* parent)
    : QDialog(parent), editor_(editor), services_(services)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The dialogs' help, owned by the dialog that asks, and handed on to the dialogs they open.
    help_ = [this](QWidget* owner, std::string_view topic) {
        const std::optional<std::string> path = helpFilePath(editor_);
        if (path)
            services_.showHelp(owner, toQString(*path), toQString(topic));
        return path.has_value();
    };
    buildControls();
    openWindow();
    qApp->installEventFilter(this); // the closing of every dialog and message box
}

void CMainWindow::buildControls()
{
    controls_ = buildDialog(*this, Layout, [this](int id) { runCommand(static_cast<MainControl>(id)); });
    auto* smoothingGroup = new QButtonGroup(this);
    for (MainControl id : {SmoothAucun, SmoothCubique, SmoothAkima, SmoothCarlson})
        smoothingGroup->addButton(control<QRadioButton>(id), static_cast<int>(id));
    units_ = control<QComboBox>(Units);
    recordLayout();
}

// The window may grow past its template size: the drawing area takes the extra room,
// the right column and the bottom row follow their edge, the left column stays.
void CMainWindow::recordLayout()
{
    templateSize_ = size();
    setMinimumSize(templateSize_);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const DialogUnits du(font());
    const int rightColumn = du.x(452);
    const int bottomRow = du.y(290);
    const int bottomRight = du.x(374);
    const int fullWidth = du.x(500);
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        const QRect r = widget->geometry();
        Placement p{widget, r, 0, 0, 0, 0};
        if (widget == control(DrawingFrame)) {
            p.growX = p.growY = 1;
        } else if (r.top() >= bottomRow) {
            p.moveY = 1;
            p.moveX = r.left() >= bottomRight ? 1 : 0;
            p.growX = r.width() >= fullWidth ? 1 : 0;
        } else if (r.left() >= rightColumn) {
            p.moveX = 1;
        } else if (r.width() >= fullWidth) {
            p.growX = 1; // the top bar's group
        }
        placements_.push_back(p);
    }
}

void CMainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (placements_.empty())
        return;
    const int dx = std::max(0, width() - templateSize_.width());
    const int dy = std::max(0, height() - templateSize_.height());
    for (const Placement& p : placements_)
        p.widget->setGeometry(p.rect.x() + p.moveX * dx, p.rect.y() + p.moveY * dy, p.rect.width() + p.growX * dx,
                              p.rect.height() + p.growY * dy);
    if (drawingArea_ && drawingArea_->geometry() != control(DrawingFrame)->geometry()) {
        // A pick under way ends as the picture it draws on is made anew.
        drawingArea_->setGeometry(control(DrawingFrame)->geometry());
        redraw();
    }
}

void CMainWindow::openWindow()
{
    // The drawing area lies exactly over frame 140 and keeps its picture for the run.
    drawingArea_ = new CDrawingArea(this);
    drawingArea_->setGeometry(control(DrawingFrame)->geometry());
    drawingArea_->resize(control(DrawingFrame)->size()); // the picture takes the client size now
    connect(drawingArea_, &CDrawingArea::mouseMovedTo, this, &CMainWindow::showMouseCoordinates);
    connect(drawingArea_, &CDrawingArea::mousePressed, this, &CMainWindow::canvasPressed);
    // At another screen scale the picture is remade at its new size: the same view
    // window is drawn again on it.
    connect(drawingArea_, &CDrawingArea::pictureRemade, this, [this] {
        pictureBlank_ = true;
        requestRepaint();
    });
    startEditingRun(editor_, drawingArea_->deviceSize().width(), drawingArea_->deviceSize().height());
    drawingArea_->setMapping(editor_.mapping);
    setCurrentCursor(Qt::ArrowCursor);
    showCurveSettings();
    control<QCheckBox>(CopyMode)->setChecked(false);
    showDisplayFlags();

    setWindowTitle(QStringLiteral("Editeur de courbes - Version %1").arg(versionText()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect desktop = screen->geometry();
        move((desktop.width() - width()) / 2, (desktop.height() - height()) / 2);
    }

    fillUnitList();
    selectUnit();
    showCount();
}

void CMainWindow::runCommand(MainControl id)
{
    // A second stop while the save question is open must not stop twice.
    if (id == Stop || id == Cancel) {
        if (stopping_)
            return;
        stopping_ = true;
    }
    const auto* box = control<QAbstractButton>(id);
    const bool ticked = box && box->isCheckable() && box->isChecked();
    const CommandOutcome outcome = runEditorCommand(editor_, *this, id, ticked);
    if (outcome.stop) {
        done(1);
        return;
    }
    // A stop given up (its save dialog cancelled) leaves the window to the next one.
    if (id == Stop || id == Cancel)
        stopping_ = false;
    apply(outcome);
    setStatus(toQString(editor_.statusText));
    if (stopAfterCommand_) {
        stopAfterCommand_ = false;
        runCommand(Cancel);
    }
}

void CMainWindow::apply(const CommandOutcome& outcome)
{
    showCursor(outcome.cursor);
    if (outcome.selectUnit)
        selectUnit();
    if (outcome.showCount)
        showCount();
    if (outcome.showCurveSettings)
        showCurveSettings();
    if (outcome.showDisplayFlags)
        showDisplayFlags();
    drawOnArea(outcome.redraw);
}

void CMainWindow::canvasPressed(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    // The drawing area is no command: the status line keeps what the click wrote.
    apply(canvasClick(editor_, *this, button == Qt::LeftButton ? MouseButton::Left : MouseButton::Right, {x, y}));
}

void CMainWindow::reject()
{
    runCommand(Cancel);
}

void CMainWindow::fillUnitList()
{
    units_->clear();
    // Without an installation to look in (tests), only the entry "no unit".
    if (!editor_.installation || !editor_.settings) {
        units_->addItem(QString());
        listedUnits_ = units_->count();
        return;
    }
    const UnitList list = loadUnitList(*editor_.settings, *editor_.installation);
    for (const std::string& name : list.entries)
        units_->addItem(toQString(name));
    listedUnits_ = units_->count();
    if (list.unitsFileMissing)
        showMessage({std::string(UnitsFileMissingText), std::string(UnitsFileMissingCaption), MessageButtons::Ok,
                     MessageIcon::Error, MessageOwner::Focus});
}

void CMainWindow::showCount()
{
    control<QLabel>(PointCount)->setText(toQString(cformat(" %3d", {editor_.document.count()})));
}

void CMainWindow::setStatus(const QString& text)
{
    control<QLabel>(StatusLine)->setText(text);
}

QString CMainWindow::unitTextShown() const
{
    return units_->currentText().left(CurveDocument::MaxNameLength);
}

void CMainWindow::selectUnit()
{
    // The entry added for the previous curve's unit goes with that curve.
    while (units_->count() > listedUnits_)
        units_->removeItem(units_->count() - 1);
    QString unit = toQString(editor_.document.unitName);
    int index = 0;
    if (!unit.isEmpty()) {
        index = -1;
        for (int i = 0; i < listedUnits_; ++i) {
            if (units_->itemText(i).compare(unit, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
        // A unit the list does not hold is shown as one more entry, so that saving
        // writes it back rather than losing it. There is one such entry at most: the
        // current curve's.
        if (index < 0) {
            units_->addItem(unit);
            index = units_->count() - 1;
        }
    }
    units_->setCurrentIndex(index);
}

void CMainWindow::showCurveSettings()
{
    const CurveDocument& doc = editor_.document;
    control<QRadioButton>(smoothingControl(doc.smoothingMode))->setChecked(true);
    control<QCheckBox>(Periodic)->setChecked(doc.periodic != 0);
}

void CMainWindow::showDisplayFlags()
{
    const DisplayFlags flags = editor_.displayFlags;
    control<QCheckBox>(Derivative1Box)->setChecked(flags.has(Derivative1));
    control<QCheckBox>(Derivative2Box)->setChecked(flags.has(Derivative2));
    control<QCheckBox>(IntegralBox)->setChecked(flags.has(Integral));
}

void CMainWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The plot is there as soon as the window appears.
    repaintPlot();
    if (QWindow* window = windowHandle(); window && window != watchedWindow_) {
        window->installEventFilter(this);
        watchedWindow_ = window;
    }
}

void CMainWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        requestRepaint(); // restored
}

bool CMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Expose:
        if (watched == watchedWindow_ && static_cast<QWindow*>(watched)->isExposed())
            requestRepaint();
        break;
    case QEvent::Hide:
        // A dialog or message box that may have covered the drawing area has closed.
        if (watched != this && watched->isWidgetType()) {
            const auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && (widget->windowType() == Qt::Dialog || widget->windowType() == Qt::Sheet))
                requestRepaint();
        }
        break;
    default: break;
    }
    return false;
}

void CMainWindow::requestRepaint()
{
    if (repaintPending_)
        return;
    repaintPending_ = true;
    QMetaObject::invokeMethod(this, &CMainWindow::repaintPlot, Qt::QueuedConnection);
}

void CMainWindow::repaintPlot()
{
    repaintPending_ = false;
    if (!drawingArea_ || !isVisible() || isMinimized())
        return;
    // A pick, or a redraw whose memory warning is up, draws on the picture while a
    // dialog runs: the repaint waits until that drawing is over (repaintIfDeferred).
    if (drawingArea_->isDrawing()) {
        repaintDeferred_ = true;
        return;
    }
    // While the bounds are typed the plot is not repainted, unless a change of screen
    // scale left the picture blank.
    if (editor_.interactionMode == InteractionMode::BoundsEntry && !pictureBlank_)
        return;
    editor_.plotRepainted = true;
    redraw();
    showCount();
}

void CMainWindow::redraw()
{
    drawOnArea(RedrawKind::Full);
}

void CMainWindow::drawOnArea(RedrawKind redraw)
{
    if (!drawingArea_ || redraw == RedrawKind::None)
        return;
    {
        CPictureSurface surface(*drawingArea_, CPictureSurface::Picture::Fitted);
        if (!surface.isActive())
            return;
        redrawFor(editor_, *this, surface, redraw);
    }
    if (redraw == RedrawKind::Full)
        pictureBlank_ = false;
    drawingArea_->setMapping(editor_.mapping);
    if (editor_.interactionMode == InteractionMode::PointEntry)
        setCurrentCursor(Qt::CrossCursor);
    drawingArea_->update();
    repaintIfDeferred(); // the memory warning's box may have closed meanwhile
}

void CMainWindow::repaintIfDeferred()
{
    if (!repaintDeferred_)
        return;
    repaintDeferred_ = false;
    repaintPlot();
}

void CMainWindow::setCurrentCursor(Qt::CursorShape shape)
{
    currentCursor_ = shape;
    if (drawingArea_)
        drawingArea_->setCursor(shape);
}

void CMainWindow::showMouseCoordinates(double x, double y)
{
    control<QLabel>(MouseX)->setText(toQString(cformat(" %.3lf ", {x})));
    control<QLabel>(MouseY)->setText(toQString(cformat(" %.3lf ", {y})));
}

// What the commands ask of the window.

QWidget* CMainWindow::ownerFor(MessageOwner owner)
{
    switch (owner) {
    case MessageOwner::Window: return this;
    case MessageOwner::DrawingArea: return drawingArea_;
    case MessageOwner::Dialog: // a dialog's own messages reach the window only while it has the focus
    case MessageOwner::Focus: return CPlatformServices::focusOwner();
    case MessageOwner::None: break;
    }
    return nullptr;
}

MessageAnswer CMainWindow::showMessage(const UserMessage& message)
{
    return services_.showMessage(ownerFor(message.owner), toQString(message.text), toQString(message.caption),
                                 message.buttons, message.icon);
}

std::vector<CurvePoint> CMainWindow::runFormulaDialog()
{
    return ::runFormulaDialog(this, services_, editor_.formulaMemory, help_);
}

PointListResult CMainWindow::runPointListDialog()
{
    return ::runPointListDialog(this, services_, editor_.document, editor_.formulaMemory, help_);
}

void CMainWindow::printCurve()
{
    ::printCurve(services_, this, CurveOutput::of(editor_.document, editor_.displayFlags));
}

bool CMainWindow::copyCurvePicture()
{
    return drawingArea_ && copyCurveToClipboard(*drawingArea_, CurveOutput::of(editor_.document, editor_.displayFlags));
}

void CMainWindow::showHelp(const std::string& path, const std::string& topic)
{
    services_.showHelp(this, toQString(path), toQString(topic));
}

bool CMainWindow::runBoundsDialog(bool& allRead)
{
    return askBounds(this, editor_.view.current, editor_.entered, allRead) != 0;
}

std::optional<std::string> CMainWindow::chooseFileToOpen()
{
    auto path = ::chooseFileToOpen(services_, this, toQString(OpenDialogTitle), QStringLiteral("*.crb"),
                                   toQString(CurveFileExtension));
    if (!path)
        return std::nullopt;
    return path->toStdString();
}

SaveOutcome CMainWindow::saveCurve()
{
    CurveDocument& doc = editor_.document;
    return writeCurveFile(services_, doc, doc.points(), toQString(saveDialogName(editor_)));
}

std::string CMainWindow::shownUnit() const
{
    return unitTextShown().toStdString();
}

void CMainWindow::showCursor(CursorRequest cursor)
{
    if (cursor != CursorRequest::Unchanged)
        setCurrentCursor(cursor == CursorRequest::Cross ? Qt::CrossCursor : Qt::ArrowCursor);
}

bool CMainWindow::copyModeTicked() const
{
    return control<QCheckBox>(CopyMode)->isChecked();
}

void CMainWindow::showStatus(const std::string& text)
{
    setStatus(toQString(text));
}

void CMainWindow::showCoordinates(double x, double y)
{
    showMouseCoordinates(x, y);
}

bool CMainWindow::runParameterDialog(ParameterDialog dialog, const std::string& title)
{
    EnteredValues& entered = editor_.entered;
    const QString shownTitle = toQString(title);
    switch (dialog) {
    case ParameterDialog::Factor: return askFactor(drawingArea_, entered, shownTitle);
    case ParameterDialog::Point: return askPoint(drawingArea_, entered, shownTitle);
    case ParameterDialog::PointAndAngle: return askPointAndAngle(drawingArea_, entered, shownTitle);
    case ParameterDialog::Affinity: return askAffinity(drawingArea_, services_, entered);
    }
    return false;
}

bool CMainWindow::runPick(MousePick& pick)
{
    if (!drawingArea_)
        return false;
    CPickLoop loop(*this, *drawingArea_, pick, [this] {
        drawingArea_->setMapping(editor_.mapping);
        drawingArea_->update();
        // A repaint that came while the pick was drawing (a dialog of the pick closed).
        repaintIfDeferred();
    });
    const bool result = loop.run();
    // Closing the window during a pick ends the pick, then goes through the stop path
    // once the command is over.
    if (loop.closeRequested())
        stopAfterCommand_ = true;
    return result;
}
