#include "gui/app/CMainWindow.h"

#include "core/editor/CanvasCommands.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/PlotRedraw.h"
#include "core/editor/ViewGestures.h"
#include "core/settings/VersionText.h"
#include "core/text/NumberText.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CPickLoop.h"
#include "gui/app/MainWindowLayout.h"
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
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

using enum MainControl;

namespace {

QString versionText()
{
    return toQString(ProductVersionText);
}

} // namespace

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
    setAcceptDrops(true);
    qApp->installEventFilter(this); // the closing of every dialog and message box
}

void CMainWindow::buildControls()
{
    controls_ = buildDialog(*this, mainWindowLayout(), [this](int id) { runCommand(static_cast<MainControl>(id)); });
    auto* smoothingGroup = new QButtonGroup(this);
    for (MainControl id : {SmoothAucun, SmoothCubique, SmoothAkima, SmoothCarlson})
        smoothingGroup->addButton(control<QRadioButton>(id), static_cast<int>(id));
    units_ = control<QComboBox>(Units);
    placements_.record(*this, *control(DrawingFrame));
}

void CMainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!placements_.recorded())
        return;
    placements_.apply(*this);
    if (drawingArea_ && drawingArea_->geometry() != control(DrawingFrame)->geometry()) {
        // A pick under way ends as the picture it draws on is made anew.
        drawingArea_->setGeometry(control(DrawingFrame)->geometry());
        drawOnArea(RedrawKind::Full);
    }
}

void CMainWindow::openWindow()
{
    // The drawing area lies exactly over frame 140 and keeps its picture for the run.
    drawingArea_ = new CDrawingArea(this, editor_.mapping);
    drawingArea_->setGeometry(control(DrawingFrame)->geometry());
    drawingArea_->resize(control(DrawingFrame)->size()); // the picture takes the client size now
    connect(drawingArea_, &CDrawingArea::mouseMovedTo, this, &CMainWindow::showCoordinates);
    connect(drawingArea_, &CDrawingArea::mousePressed, this, &CMainWindow::canvasPressed);
    connect(drawingArea_, &CDrawingArea::wheelTurned, this, [this](int x, int y, int delta, quint64 time) {
        applyViewGesture(wheelTurned(editor_, {x, y}, delta, time));
    });
    connect(drawingArea_, &CDrawingArea::panPressed, this, [this](int x, int y) {
        applyViewGesture(panPressed(editor_, {x, y}));
    });
    connect(drawingArea_, &CDrawingArea::panMoved, this, [this](int x, int y) {
        applyViewGesture(panMoved(editor_, {x, y}));
    });
    connect(drawingArea_, &CDrawingArea::panReleased, this, [this](int x, int y) {
        applyViewGesture(panReleased(editor_, {x, y}));
    });
    // At another screen scale the picture is remade at its new size: the same view
    // window is drawn again on it.
    connect(drawingArea_, &CDrawingArea::pictureRemade, this, [this] {
        pictureBlank_ = true;
        requestRepaint();
    });
    startEditingRun(editor_, drawingArea_->deviceSize().width(), drawingArea_->deviceSize().height());
    showCursor(CursorRequest::Arrow);
    showCurveSettings();
    control<QCheckBox>(CopyMode)->setChecked(false);
    showDisplayFlags();

    setWindowTitle(QStringLiteral("Editeur de courbes - Version %1").arg(versionText()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect desktop = screen->geometry();
        move((desktop.width() - width()) / 2, (desktop.height() - height()) / 2);
    }

    fillUnitList();
    showUnit();
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
    // A command never runs under a drag of the view: the drag ends where it stands.
    endViewDrag();
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
    showStatus(editor_.statusText);
    if (stopAfterCommand_) {
        stopAfterCommand_ = false;
        runCommand(Cancel);
    }
}

void CMainWindow::apply(const CommandOutcome& outcome)
{
    showCursor(outcome.cursor);
    if (outcome.selectUnit)
        showUnit();
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

void CMainWindow::applyViewGesture(const CommandOutcome& outcome)
{
    apply(outcome);
    const bool dragging = editor_.panDrag.active;
    if (dragging != dragCursor_) {
        if (dragging)
            QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
        else
            QGuiApplication::restoreOverrideCursor();
        dragCursor_ = dragging;
    }
}

void CMainWindow::endViewDrag()
{
    if (!editor_.panDrag.active)
        return;
    panEnded(editor_);
    applyViewGesture({});
}

std::optional<QString> CMainWindow::acceptedDrop(const QMimeData* data) const
{
    // Not while a dialog or message box of the program is up, nor during the stop path.
    const QWidget* modal = QApplication::activeModalWidget();
    if (!data || stopping_ || (modal && modal != this) || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile() || !acceptsDroppedFile(editor_, path.toStdString()))
        return std::nullopt;
    return path;
}

void CMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (acceptedDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptedDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMainWindow::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = acceptedDrop(event->mimeData());
    if (!path) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: the program that dragged the file waits for its
    // end, and the save question must not hold it.
    QMetaObject::invokeMethod(
        this, [this, file = *path] { openDroppedFile(file); }, Qt::QueuedConnection);
}

void CMainWindow::openDroppedFile(const QString& path)
{
    if (stopping_)
        return;
    endViewDrag();
    apply(::openDroppedFile(editor_, *this, path.toStdString()));
    showStatus(editor_.statusText);
}

void CMainWindow::reject()
{
    runCommand(Cancel);
}

void CMainWindow::fillUnitList()
{
    const UnitList list = unitListFor(editor_.settings, editor_.installation);
    unitChoice_ = UnitChoice(list.entries);
    units_->clear();
    for (const std::string& name : list.entries)
        units_->addItem(toQString(name));
    if (list.unitsFileMissing)
        showMessage({std::string(UnitsFileMissingText), std::string(UnitsFileMissingCaption), MessageButtons::Ok,
                     MessageIcon::Error, MessageOwner::Focus});
}

void CMainWindow::showCount()
{
    control<QLabel>(PointCount)->setText(toQString(cformat(" %3d", {editor_.document.count()})));
}

void CMainWindow::showUnit()
{
    unitChoice_.select(editor_.document.unitName);
    const auto listed = static_cast<int>(unitChoice_.listed().size());
    while (units_->count() > listed)
        units_->removeItem(units_->count() - 1);
    if (unitChoice_.added())
        units_->addItem(toQString(*unitChoice_.added()));
    units_->setCurrentIndex(unitChoice_.selected());
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
    // The plot is drawn as soon as the window is on the screen, not before: the window
    // appears the sooner, and its first exposure finds the plot drawn or asks for it.
    requestRepaint();
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
    drawOnArea(RedrawKind::Full);
    showCount();
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
    if (editor_.interactionMode == InteractionMode::PointEntry)
        showCursor(CursorRequest::Cross);
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
    auto path = ::chooseFileToOpen(services_, this, toQString(OpenDialogTitle), toQString(CurveFilePattern),
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
    return unitChoice_.shownUnit(units_->currentIndex());
}

void CMainWindow::showCursor(CursorRequest cursor)
{
    if (cursor != CursorRequest::Unchanged && drawingArea_)
        drawingArea_->setCursor(cursor == CursorRequest::Cross ? Qt::CrossCursor : Qt::ArrowCursor);
}

bool CMainWindow::copyModeTicked() const
{
    return control<QCheckBox>(CopyMode)->isChecked();
}

void CMainWindow::showStatus(const std::string& text)
{
    control<QLabel>(StatusLine)->setText(toQString(text));
}

void CMainWindow::showCoordinates(double x, double y)
{
    control<QLabel>(MouseX)->setText(toQString(cformat(" %.3lf ", {x})));
    control<QLabel>(MouseY)->setText(toQString(cformat(" %.3lf ", {y})));
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
