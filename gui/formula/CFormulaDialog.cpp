#include "gui/formula/CFormulaDialog.h"

#include "core/formula/FormulaEvaluation.h"
#include "core/settings/SupportFile.h"
#include "gui/common/CQtSurface.h"
#include "gui/common/QtText.h"
#include "gui/formula/CFormulaPreviewArea.h"
#include "core/text/NumberText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

using Kind = ControlKind;
constexpr int NoId = NoControlId;
constexpr unsigned Centred = ControlFlag::Centred;

// The dialog's template, 291 x 220 dialog units. Group boxes come first so that the
// controls they frame lie above them; the rest keep the template's tab order.
constexpr ControlSpec Controls[] = {
    {136, Kind::Group, "", 5, 34, 279, 28},
    {137, Kind::Group, "", 7, 62, 279, 134},

    {290, Kind::Label, "Formule f(x) ", 8, 7, 41, 12},
    {140, Kind::Edit, "", 54, 7, 230, 12},
    {291, Kind::Label, "Intervalle de ", 8, 21, 46, 12},
    {141, Kind::Edit, "", 53, 21, 61, 12},
    {292, Kind::Label, "a", 123, 21, 12, 12},
    {142, Kind::Edit, "", 137, 21, 61, 12},
    {293, Kind::Label, "Inc", 203, 21, 20, 12},
    {143, Kind::Edit, "", 223, 21, 61, 12},
    {NoId, Kind::Label, "X", 9, 40, 18, 10, Centred},
    {150, Kind::Label, "", 30, 40, 102, 10},
    {NoId, Kind::Label, "Ymin", 148, 40, 22, 10},
    {295, Kind::Label, "", 174, 40, 110, 10},
    {NoId, Kind::Label, "Y", 9, 50, 18, 10, Centred},
    {151, Kind::Label, "", 30, 50, 99, 10},
    {NoId, Kind::Label, "Ymax", 148, 50, 22, 10},
    {296, Kind::Label, "", 174, 50, 110, 10},
    {170, Kind::Button, "&Calcul", 7, 199, 40, 14, ControlFlag::Default},
    {1, Kind::Button, "&Valider", 152, 199, 40, 14},
    {2, Kind::Button, "&Annuler", 198, 199, 40, 14},
    {173, Kind::Button, "A&ide...", 244, 199, 40, 14},
    {160, Kind::Custom, "", 10, 68, 273, 126},
    {NoId, Kind::Frame, "", 141, 41, 1, 17},
};

constexpr DialogTemplate Layout{291, 220, Controls};

constexpr std::string_view DialogTitle = "Définition de courbes";
constexpr std::string_view ComputedTitleFormat = "Définition des Courbes : %03d Points";
constexpr std::string_view ValueFormat = "%.8lf";

} // namespace

CFormulaDialog::CFormulaDialog(CPlatformServices& services, FormulaDialogMemory& memory, QWidget* parent)
    : QDialog(parent), services_(services), memory_(memory)
{
    setObjectName(QStringLiteral("formulaDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(toQString(DialogTitle));
    setModal(true);
    buildControls();
    restoreFields();
}

void CFormulaDialog::buildControls()
{
    controls_ = buildDialog(*this, Layout, {},
                            [](QWidget& parent, const ControlSpec&) { return new CFormulaPreviewArea(&parent); });
    preview_ = control<CFormulaPreviewArea>(160);
    // What is shown is what is read: the field takes no more than is read.
    control<QLineEdit>(140)->setMaxLength(FormulaTextLength);
    for (int id : {141, 142, 143})
        control<QLineEdit>(id)->setMaxLength(NumberTextLength);

    connect(control<QPushButton>(170), &QPushButton::clicked, this, &CFormulaDialog::compute);
    connect(control<QPushButton>(1), &QPushButton::clicked, this, &CFormulaDialog::accept);
    connect(control<QPushButton>(2), &QPushButton::clicked, this, &CFormulaDialog::reject);
    connect(control<QPushButton>(173), &QPushButton::clicked, this, &CFormulaDialog::showHelp);
    connect(preview_, &CFormulaPreviewArea::clicked, this, &CFormulaDialog::pickAt);
    connect(preview_, &CFormulaPreviewArea::pictureLost, this, &CFormulaDialog::repaintPreview);
}

void CFormulaDialog::setLabel(int id, const QString& text)
{
    control<QLabel>(id)->setText(text);
}

void CFormulaDialog::restoreFields()
{
    if (!memory_.formulaComputed)
        return;
    control<QLineEdit>(140)->setText(QString::fromStdString(memory_.formula));
    control<QLineEdit>(141)->setText(QString::fromStdString(memory_.a));
    control<QLineEdit>(142)->setText(QString::fromStdString(memory_.b));
    control<QLineEdit>(143)->setText(QString::fromStdString(memory_.increment));
}

std::string CFormulaDialog::readField(int id, int length, std::string& remembered)
{
    remembered = control<QLineEdit>(id)->text().left(length).toStdString();
    return remembered;
}

void CFormulaDialog::showMessage(std::string_view text, std::string_view caption, MessageIcon icon)
{
    services_.showMessage(this, toQString(text), toQString(caption), MessageButtons::Ok, icon);
}

void CFormulaDialog::compute()
{
    points_.clear();
    previewPicture_ = {};
    pick_ = {};
    {
        CQtSurface surface(preview_->image());
        if (surface.isActive())
            paintPreviewBackground(surface);
    }
    preview_->update();

    const std::string formula = readField(140, FormulaTextLength, memory_.formula);
    const std::optional<double> a = evaluateNumberField(readField(141, NumberTextLength, memory_.a));
    const std::optional<double> b = evaluateNumberField(readField(142, NumberTextLength, memory_.b));
    const std::optional<double> increment = evaluateNumberField(readField(143, NumberTextLength, memory_.increment));

    if (increment && *increment == 0.0) {
        services_.beep();
        return;
    }
    // A bound or a step that does not evaluate has no value to compute with.
    if (!a || !b || !increment) {
        showMessage(BoundsErrorMessage, BoundsErrorCaption, MessageIcon::None);
        return;
    }

    FormulaCurve curve = evaluateFormula(formula, *a, *b, *increment);
    switch (curve.failure) {
    case FormulaFailure::None:
        break;
    case FormulaFailure::ZeroIncrement:
        services_.beep();
        return;
    case FormulaFailure::BadInterval:
        showMessage(BoundsErrorMessage, BoundsErrorCaption, MessageIcon::None);
        return;
    case FormulaFailure::SyntaxError:
        showMessage(SyntaxErrorMessage, {}, MessageIcon::Error);
        return;
    case FormulaFailure::OutOfMemory:
        showMessage(AllocationErrorMessage, {}, MessageIcon::Error);
        return;
    case FormulaFailure::NoFiniteValue:
        showMessage(UndefinedFormulaMessage, {}, MessageIcon::Error);
        return;
    }

    points_ = std::move(curve.points);
    memory_.formulaComputed = true;
    setWindowTitle(QString::fromStdString(cformat(ComputedTitleFormat, {static_cast<int>(points_.size())})));

    bool drawn = false;
    {
        CQtSurface surface(preview_->image());
        if (surface.isActive()) {
            previewPicture_ = drawFormulaPreview(surface, points_, *a, *b);
            drawn = true;
        }
    }
    preview_->update();
    if (drawn && !previewPicture_.complete)
        showMessage(PreviewMemoryMessage, PreviewMemoryCaption, MessageIcon::Warning);

    const PreviewRange found = previewRange(points_);
    setLabel(295, QString::fromStdString(cformat(ValueFormat, {found.ymin})));
    setLabel(296, QString::fromStdString(cformat(ValueFormat, {found.ymax})));
}

void CFormulaDialog::pickAt(QPoint position)
{
    if (previewPicture_.pixels.empty())
        return;
    std::optional<std::size_t> picked;
    {
        CQtSurface surface(preview_->image());
        if (!surface.isActive())
            return;
        picked = pickPreviewPoint(surface, previewPicture_.pixels, pick_, {position.x(), position.y()});
    }
    preview_->update();
    if (!picked || *picked >= points_.size())
        return;
    const CurvePoint& p = points_[*picked];
    setLabel(150, QString::fromStdString(cformat(ValueFormat, {p.x})));
    setLabel(151, QString::fromStdString(cformat(ValueFormat, {p.y})));
}

void CFormulaDialog::repaintPreview()
{
    pick_.shown = false;
    {
        CQtSurface surface(preview_->image());
        if (!surface.isActive())
            return;
        if (previewPicture_.pixels.empty())
            paintPreviewBackground(surface);
        else
            repaintFormulaPreview(surface, previewPicture_);
    }
    preview_->update();
}

void CFormulaDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    repaintPreview();
}

void CFormulaDialog::accept()
{
    previewPicture_ = {};
    pick_ = {};
    QDialog::accept();
}

void CFormulaDialog::reject()
{
    points_.clear();
    previewPicture_ = {};
    pick_ = {};
    QDialog::reject();
}

void CFormulaDialog::showHelp()
{
    if (!help_ || !help_(this, FormulaHelpTopic))
        showMessage(helpMissingText(), HelpMissingCaption, MessageIcon::Error);
}

std::vector<CurvePoint> runFormulaDialog(QWidget* owner, CPlatformServices& services, FormulaDialogMemory& memory,
                                         HelpOpener help)
{
    CFormulaDialog dialog(services, memory, owner);
    dialog.setHelp(std::move(help));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.takePoints();
}
