#include "gui/app/CMainWindow.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/Editor.h"
#include "gui/common/CQtSurface.h"
#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"
#include "gui/curve/CurveFileCommands.h"
#include "gui/formula/CFormulaDialog.h"
#include "gui/transform/ParameterDialogs.h"
#include "text/NumberText.h"
#include "view/PlotRenderer.h"
#include "view/SmoothCurve.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

namespace {

using Kind = ControlKind;
constexpr int NoId = NoControlId;
// Enter presses no command button, whichever has the focus.
constexpr unsigned Command = ControlFlag::NoAutoDefault;
constexpr unsigned CoordinateField = ControlFlag::RightAligned;
constexpr unsigned CountField = ControlFlag::Centred | ControlFlag::SunkenPanel;

// The window's template, 520 x 330 dialog units. Group boxes come first so that the
// controls they frame lie above them.
constexpr ControlSpec Controls[] = {
    {100, Kind::Group, "Saisie", 4, 2, 512, 26},
    {NoId, Kind::Group, "Affichage", 4, 44, 72, 46},
    {NoId, Kind::Group, "Lissage", 4, 92, 72, 56},
    {108, Kind::Group, "&Transfos", 4, 150, 72, 102},
    {NoId, Kind::Group, "Unités", 4, 254, 72, 34},
    {126, Kind::Group, "Coord", 456, 30, 60, 36},
    {118, Kind::Group, "&Zoom", 456, 70, 60, 118},
    {NoId, Kind::Group, "", 4, 292, 512, 34},

    {52, Kind::Button, "&Redess", 10, 11, 40, 13, Command},
    {31, Kind::Button, "&Undo", 52, 11, 40, 13, Command},
    {NoId, Kind::EtchedLine, "", 96, 10, 2, 15},
    {10, Kind::Button, "&Point", 100, 11, 40, 13, Command},
    {19, Kind::Button, "&Effacer", 142, 11, 40, 13, Command},
    {20, Kind::Button, "&Effac Fen", 184, 11, 44, 13, Command},
    {105, Kind::Button, "&R.A.Z.", 230, 11, 40, 13, Command},
    {NoId, Kind::EtchedLine, "", 274, 10, 2, 15},
    {1002, Kind::Button, "Fichier", 278, 11, 40, 13, Command},
    {23, Kind::Button, "&Liste", 320, 11, 40, 13, Command},
    {21, Kind::Button, "&Formule", 362, 11, 40, 13, Command},
    {NoId, Kind::EtchedLine, "", 406, 10, 2, 15},
    {160, Kind::Label, "", 466, 11, 44, 13, CountField},

    {1013, Kind::Check, "Périodicité", 8, 32, 66, 10},
    {1009, Kind::Check, "Dérivée 1", 10, 54, 62, 10},
    {1010, Kind::Check, "Dérivée 2", 10, 65, 62, 10},
    {1011, Kind::Check, "Intégration", 10, 76, 62, 10},
    {1004, Kind::Radio, "Aucun", 10, 102, 62, 10},
    {1005, Kind::Radio, "Cubique", 10, 113, 62, 10},
    {1006, Kind::Radio, "Akima", 10, 124, 62, 10},
    {1007, Kind::Radio, "Carlson", 10, 135, 62, 10},
    {114, Kind::Check, "&Copie", 10, 160, 60, 10},
    {30, Kind::Button, "&Trans", 10, 172, 60, 13, Command},
    {39, Kind::Button, "&Miroir", 10, 187, 60, 13, Command},
    {50, Kind::Button, "&Rotat", 10, 202, 60, 13, Command},
    {12, Kind::Button, "&Homo.", 10, 217, 60, 13, Command},
    {55, Kind::Button, "&Affinité", 10, 232, 60, 13, Command},
    {1018, Kind::Combo, "", 10, 267, 60, 14},

    {140, Kind::Frame, "", 80, 32, 370, 256},

    {127, Kind::Label, "", 460, 41, 52, 9, CoordinateField},
    {128, Kind::Label, "", 460, 52, 52, 9, CoordinateField},
    {35, Kind::Button, "&Fenêtre", 462, 80, 48, 13, Command},
    {47, Kind::Button, "&Plus", 462, 95, 48, 13, Command},
    {46, Kind::Button, "&Moins", 462, 110, 48, 13, Command},
    {32, Kind::Button, "&Tout", 462, 125, 48, 13, Command},
    {124, Kind::Button, "&Centre", 462, 140, 48, 13, Command},
    {33, Kind::Button, "&Préc", 462, 155, 48, 13, Command},
    {16, Kind::Button, "&Bornes", 462, 170, 48, 13, Command},
    {40, Kind::Button, "&Copier", 462, 196, 48, 14, Command},
    {22, Kind::Button, "&Imprimer", 462, 214, 48, 14, Command},
    {1, Kind::Button, "&Arrêt", 462, 270, 48, 16, Command},

    {150, Kind::Label, "", 10, 305, 360, 10},
    {9, Kind::Button, "&Aide", 378, 302, 50, 15, Command},
    {1003, Kind::Button, "&Enregistrer", 434, 302, 76, 15, Command},
};

constexpr DialogTemplate Layout{520, 330, Controls};
constexpr int FirstSmoothingId = 1004;

QString versionText()
{
    return QStringLiteral(CRB_VERSION_TEXT);
}

} // namespace

CMainWindow::CMainWindow(Editor& editor, CPlatformServices& services, QWidget* parent)
    : QDialog(parent), editor_(editor), services_(services)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    openWindow();
}

void CMainWindow::buildControls()
{
    controls_ = buildDialog(*this, Layout, [this](int id) { runCommand(id); });
    auto* smoothingGroup = new QButtonGroup(this);
    for (int id : {1004, 1005, 1006, 1007})
        smoothingGroup->addButton(control<QRadioButton>(id), id);
    units_ = control<QComboBox>(1018);
}

void CMainWindow::openWindow()
{
    CurveDocument& doc = editor_.document;
    editor_.view = ViewState{};

    // The drawing area lies exactly over frame 140 and keeps its picture for the run.
    drawingArea_ = new CDrawingArea(this);
    drawingArea_->setGeometry(control(140)->geometry());
    drawingArea_->resize(control(140)->size()); // the picture takes the client size now
    connect(drawingArea_, &CDrawingArea::mouseMovedTo, this, &CMainWindow::showMouseCoordinates);
    drawingArea_->setMapping(CanvasMapping::make(editor_.view.current, drawingArea_->clientSize().width(),
                                                 drawingArea_->clientSize().height()));
    setCurrentCursor(Qt::ArrowCursor);
    fitView();
    showCurveSettings();
    control<QCheckBox>(114)->setChecked(false);
    displayFlags_ = 0;
    for (int id : {1009, 1010, 1011})
        control<QCheckBox>(id)->setChecked(false);
    doc.markSaved();

    setWindowTitle(QStringLiteral("Editeur de courbes - Version %1").arg(versionText()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect desktop = screen->geometry();
        move((desktop.width() - width()) / 2, (desktop.height() - height()) / 2);
    }

    // The unit list comes from the installation's units file; entry 0 is "no unit".
    units_->clear();
    units_->addItem(QString());
    selectUnit();
    showCount();
}

void CMainWindow::runCommand(int id)
{
    CurveDocument& doc = editor_.document;
    switch (id) {
    case 1:
        stopPath();
        return;
    case 10:
        if (doc.count >= MaxCurvePoints) {
            services_.showMessage(this, QStringLiteral("La limite de points a été atteinte !!!"),
                                  QStringLiteral("Attention"), MessageButtons::Ok, MessageIcon::Error);
            break;
        }
        editor_.interactionMode = PointEntry;
        setCurrentCursor(Qt::CrossCursor);
        statusText_ = QStringLiteral("Gauche-Saisir Point / Droit-Saisir Coordonnées");
        break;
    case 16:
        boundsCommand();
        break;
    case 19:
        editor_.interactionMode = PointDelete;
        statusText_ = doc.count == 0 ? QStringLiteral("Pas de point à supprimer")
                                     : QStringLiteral("Gauche = Supprimer un point");
        break;
    case 21:
        formulaCommand();
        break;
    case 31:
        doc.restoreSnapshot();
        showCount();
        redraw();
        break;
    case 32:
        if (doc.count > 1 && fitToData(editor_.view, {doc.points.data(), std::size_t(doc.count)}, doc.smoothingMode,
                                       displayFlags_)) {
            setCurrentCursor(Qt::ArrowCursor);
            redraw(editor_.view.dataExtent);
        }
        break;
    case 33:
        editor_.interactionMode = 33;
        redraw(editor_.view.previousWindow);
        break;
    case 46:
        zoomOut(editor_.view);
        redraw();
        break;
    case 47:
        zoomIn(editor_.view);
        redraw();
        break;
    case 52:
        redraw();
        break;
    case 105:
        resetCommand();
        break;
    case 124:
        editor_.interactionMode = PickCentre;
        statusText_ = QStringLiteral("Cliquer le centre de la courbe");
        break;
    case 1002:
        openFileCommand();
        break;
    case 1003:
        saveCommand();
        break;
    case 1004:
    case 1005:
    case 1006:
    case 1007:
        doc.smoothingMode = id - FirstSmoothingId;
        redraw();
        break;
    case 1009:
    case 1010:
    case 1011:
        displayFlagCommand(id);
        break;
    case 1013:
        doc.periodic = control<QCheckBox>(1013)->isChecked() ? 1 : 0;
        break;
    default:
        statusText_ = QStringLiteral(" ");
        break;
    }
    setStatus(statusText_);
}

void CMainWindow::reject()
{
    stopPath();
}

void CMainWindow::stopPath()
{
    // A second close request while the save question is open must not stop twice.
    if (stopping_)
        return;
    stopping_ = true;
    CurveDocument& doc = editor_.document;
    if (doc.isModified()) {
        MessageAnswer answer = services_.showMessage(
            this, QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"),
            QStringLiteral("Sortie"), MessageButtons::YesNo, MessageIcon::Question);
        if (answer == MessageAnswer::Yes) {
            doc.unitName = unitText().toStdString();
            // A file that could not be written would lose the changes: the save dialog
            // comes back until the curve is written or the user gives up.
            while (writeCurveFile(services_, doc, {doc.points.data(), static_cast<std::size_t>(doc.count)}) ==
                   SaveOutcome::Failed) {
            }
        }
    }
    done(1);
}

void CMainWindow::openFileCommand()
{
    auto path = chooseFileToOpen(services_, this, QString::fromUtf8(OpenDialogTitle), QStringLiteral("*.crb"),
                                 QString::fromUtf8(CurveFileExtension));
    if (!path)
        return;
    CurveDocument& doc = editor_.document;
    // The reader is chosen on the lower-cased name, but the file is opened and later
    // saved under its real name: on a case-sensitive file system the lowered name
    // would be another file.
    doc.filePath = path->toStdString();
    FileReadResult result = readChosenFile(*path, doc, doc.points, doc.count);
    reportReadResult(services_, result);
    selectUnit();
    doc.takeSnapshot();
    showCount();
    showCurveSettings();
    fitView();
    redraw();
}

void CMainWindow::saveCommand()
{
    CurveDocument& doc = editor_.document;
    doc.unitName = unitText().toStdString();
    writeCurveFile(services_, doc, {doc.points.data(), static_cast<std::size_t>(doc.count)});
}

void CMainWindow::resetCommand()
{
    MessageAnswer answer =
        services_.showMessage(this, QStringLiteral("Voulez-vous vraiment tout effacer ?"), QStringLiteral("Attention !"),
                              MessageButtons::OkCancel, MessageIcon::Question);
    if (answer != MessageAnswer::Ok)
        return;
    editor_.interactionMode = 105;
    editor_.document.count = 0;
    showCount();
    redraw();
}

void CMainWindow::displayFlagCommand(int id)
{
    auto box = [this](int boxId) { return control<QCheckBox>(boxId); };
    bool ticked = box(id)->isChecked();
    if (id == 1011) {
        if (ticked) {
            displayFlags_ = Integral;
            box(1009)->setChecked(false);
            box(1010)->setChecked(false);
        } else {
            displayFlags_ &= ~Integral;
        }
    } else {
        int flag = id == 1009 ? Derivative1 : Derivative2;
        if (ticked) {
            displayFlags_ = (displayFlags_ & ~Integral) | flag;
            box(1011)->setChecked(false);
        } else {
            displayFlags_ &= ~flag;
        }
    }
    redraw();
}

void CMainWindow::showCount()
{
    control<QLabel>(160)->setText(QString::fromStdString(cformat(" %3d", {editor_.document.count})));
}

void CMainWindow::setStatus(const QString& text)
{
    control<QLabel>(150)->setText(text);
}

QString CMainWindow::unitText() const
{
    return units_->currentText().left(CurveDocument::MaxNameLength);
}

void CMainWindow::selectUnit()
{
    QString unit = QString::fromStdString(editor_.document.unitName);
    int index = 0;
    if (!unit.isEmpty()) {
        for (int i = 0; i < units_->count(); ++i) {
            if (units_->itemText(i).compare(unit, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    units_->setCurrentIndex(index);
}

void CMainWindow::showCurveSettings()
{
    const CurveDocument& doc = editor_.document;
    // A mode a file may hold outside 0..3 smooths as "Aucun", so it shows as "Aucun".
    int mode = doc.smoothingMode >= 0 && doc.smoothingMode <= 3 ? doc.smoothingMode : 0;
    control<QRadioButton>(FirstSmoothingId + mode)->setChecked(true);
    control<QCheckBox>(1013)->setChecked(doc.periodic != 0);
}

void CMainWindow::boundsCommand()
{
    editor_.interactionMode = BoundsEntry;
    EnteredValues& entered = editor_.entered;
    entered.accepted = 0;
    bool allRead = true;
    int accepted = askBounds(this, editor_.view.current, entered, allRead);
    // The mode ends with the dialog, so that later repaints draw the plot again.
    editor_.interactionMode = ModeFinished;
    if (!accepted)
        return;
    ViewWindow requested{entered.x, entered.y, entered.value, entered.value2};
    // A field that does not evaluate would leave a stale value in place: refused too.
    if (allRead && requested.xmax > requested.xmin && requested.ymax > requested.ymin && isUsableWindow(requested)) {
        statusText_ = QString::fromStdString(cformat("Nouvelles bornes (%.2f, %.2f), (%.2f, %.2f)",
                                                     {requested.xmin, requested.ymin, requested.xmax, requested.ymax}));
        redraw(requested);
    } else {
        services_.showMessage(CPlatformServices::focusOwner(), QStringLiteral("Bornes incorrectes !!!"), QString(),
                              MessageButtons::Ok, MessageIcon::Error);
    }
}

void CMainWindow::formulaCommand()
{
    CurveDocument& doc = editor_.document;
    setCurrentCursor(Qt::ArrowCursor);
    editor_.interactionMode = 21;
    doc.takeSnapshot();
    std::vector<CurvePoint> points = runFormulaDialog(this, services_, editor_.formulaMemory);
    if (points.empty())
        return;
    // What does not fit in the curve is dropped without a word.
    int appended = doc.appendPoints(points);
    doc.normalize();
    showCount();
    if (appended > 1)
        fitView();
    redraw();
}

void CMainWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The drawing area keeps its picture, so uncovering the window or repainting a
    // control needs no new plot: the plot is drawn when the window appears.
    if (editor_.interactionMode != BoundsEntry) {
        plotRepainted = true;
        redraw();
        showCount();
    }
}

void CMainWindow::redraw()
{
    redraw(editor_.view.current);
}

void CMainWindow::redraw(const ViewWindow& requested)
{
    if (!drawingArea_)
        return;
    bool drawn = true;
    {
        CQtSurface surface(drawingArea_->image());
        if (!surface.isActive())
            return;
        drawingArea_->setMapping(
            renderPlot(surface, editor_.view, requested, editor_.document, displayFlags_, &drawn));
    }
    if (!drawn)
        services_.showMessage(this, toQString(CurveMemoryMessage), toQString(CurveMemoryCaption), MessageButtons::Ok,
                              MessageIcon::Warning);
    if (editor_.interactionMode == PointEntry)
        setCurrentCursor(Qt::CrossCursor);
    drawingArea_->update();
}

void CMainWindow::fitView()
{
    const CurveDocument& doc = editor_.document;
    ::fitView(editor_.view, {doc.points.data(), static_cast<std::size_t>(doc.count)}, doc.smoothingMode,
              displayFlags_);
}

void CMainWindow::setCurrentCursor(Qt::CursorShape shape)
{
    currentCursor_ = shape;
    if (drawingArea_)
        drawingArea_->setCursor(shape);
}

void CMainWindow::showMouseCoordinates(double x, double y)
{
    control<QLabel>(127)->setText(QString::fromStdString(cformat(" %.3lf ", {x})));
    control<QLabel>(128)->setText(QString::fromStdString(cformat(" %.3lf ", {y})));
}
