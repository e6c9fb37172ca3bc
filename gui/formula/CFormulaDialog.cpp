#include "gui/formula/CFormulaDialog.h"

#include "core/formula/FormulaComputation.h"
#include "core/formula/FormulaEvaluation.h"
#include "core/settings/SupportFile.h"
#include "core/text/NumberText.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/ModalDialog.h"
#include "gui/common/QtText.h"
#include "gui/formula/CFormulaPreviewArea.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

using Kind = ControlKind;
using Id = FormulaControl;
constexpr int NoId = NoControlId;
constexpr unsigned Centred = ControlFlag::Centred;

// The dialog's template, 291 x 220 dialog units. Group boxes come first so that the
// controls they frame lie above them; the rest keep the template's tab order.
constexpr ControlSpec Controls[] = {
    {Id::ReadOutGroup, Kind::Group, "", 5, 34, 279, 28},
    {Id::PreviewGroup, Kind::Group, "", 7, 62, 279, 134},

    {Id::FormulaLabel, Kind::Label, "Formule f(x) ", 8, 7, 41, 12},
    {Id::Formula, Kind::Edit, "", 54, 7, 230, 12},
    {Id::IntervalLabel, Kind::Label, "Intervalle de ", 8, 21, 46, 12},
    {Id::A, Kind::Edit, "", 53, 21, 61, 12},
    {Id::BLabel, Kind::Label, "a", 123, 21, 12, 12},
    {Id::B, Kind::Edit, "", 137, 21, 61, 12},
    {Id::IncrementLabel, Kind::Label, "Inc", 203, 21, 20, 12},
    {Id::Increment, Kind::Edit, "", 223, 21, 61, 12},
    {NoId, Kind::Label, "X", 9, 40, 18, 10, Centred},
    {Id::PickedX, Kind::Label, "", 30, 40, 102, 10},
    {NoId, Kind::Label, "Ymin", 148, 40, 22, 10},
    {Id::Ymin, Kind::Label, "", 174, 40, 110, 10},
    {NoId, Kind::Label, "Y", 9, 50, 18, 10, Centred},
    {Id::PickedY, Kind::Label, "", 30, 50, 99, 10},
    {NoId, Kind::Label, "Ymax", 148, 50, 22, 10},
    {Id::Ymax, Kind::Label, "", 174, 50, 110, 10},
    {Id::Compute, Kind::Button, "&Calcul", 7, 199, 40, 14, ControlFlag::Default},
    {Id::Validate, Kind::Button, "&Valider", 152, 199, 40, 14},
    {Id::Cancel, Kind::Button, "&Annuler", 198, 199, 40, 14},
    {Id::Help, Kind::Button, "A&ide...", 244, 199, 40, 14},
    {Id::Preview, Kind::Custom, "", 10, 68, 273, 126},
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
    buildControls();
    restoreFields();
}

void CFormulaDialog::buildControls()
{
    controls_ = buildDialog(*this, Layout, {},
                            [](QWidget& parent, const ControlSpec&) { return new CFormulaPreviewArea(&parent); });
    preview_ = control<CFormulaPreviewArea>(Id::Preview);
    // What is shown is what is read: the field takes no more than is read.
    control<QLineEdit>(Id::Formula)->setMaxLength(FormulaTextLength);
    for (Id id : {Id::A, Id::B, Id::Increment})
        control<QLineEdit>(id)->setMaxLength(NumberTextLength);

    connect(control<QPushButton>(Id::Compute), &QPushButton::clicked, this, &CFormulaDialog::compute);
    connect(control<QPushButton>(Id::Validate), &QPushButton::clicked, this, &CFormulaDialog::accept);
    connect(control<QPushButton>(Id::Cancel), &QPushButton::clicked, this, &CFormulaDialog::reject);
    connect(control<QPushButton>(Id::Help), &QPushButton::clicked, this, &CFormulaDialog::showHelp);
    connect(preview_, &CFormulaPreviewArea::clicked, this, &CFormulaDialog::pickAt);
    connect(preview_, &CFormulaPreviewArea::pictureLost, this, &CFormulaDialog::repaintPreview);
}

void CFormulaDialog::setLabel(FormulaControl id, const QString& text)
{
    control<QLabel>(id)->setText(text);
}

void CFormulaDialog::restoreFields()
{
    if (!memory_.formulaComputed)
        return;
    control<QLineEdit>(Id::Formula)->setText(toQString(memory_.formula));
    control<QLineEdit>(Id::A)->setText(toQString(memory_.a));
    control<QLineEdit>(Id::B)->setText(toQString(memory_.b));
    control<QLineEdit>(Id::Increment)->setText(toQString(memory_.increment));
}

std::string CFormulaDialog::readField(FormulaControl id, int length, std::string& remembered)
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

    const std::string formula = readField(Id::Formula, FormulaTextLength, memory_.formula);
    const std::string a = readField(Id::A, NumberTextLength, memory_.a);
    const std::string b = readField(Id::B, NumberTextLength, memory_.b);
    const std::string increment = readField(Id::Increment, NumberTextLength, memory_.increment);

    FormulaComputation computed = computeFormula(formula, a, b, increment);
    switch (computed.outcome) {
    case FormulaOutcome::Computed: break;
    case FormulaOutcome::Beep: services_.beep(); return;
    case FormulaOutcome::Message:
        showMessage(computed.message.text, computed.message.caption, computed.message.icon);
        return;
    }

    points_ = std::move(computed.points);
    memory_.formulaComputed = true;
    setWindowTitle(toQString(cformat(ComputedTitleFormat, {static_cast<int>(points_.size())})));

    bool drawn = false;
    {
        CQtSurface surface(preview_->image());
        if (surface.isActive()) {
            previewPicture_ = drawFormulaPreview(surface, points_, computed.a, computed.b);
            drawn = true;
        }
    }
    preview_->update();
    if (drawn && !previewPicture_.complete)
        showMessage(PreviewMemoryMessage, PreviewMemoryCaption, MessageIcon::Warning);

    const PreviewRange found = previewRange(points_);
    setLabel(Id::Ymin, toQString(cformat(ValueFormat, {found.ymin})));
    setLabel(Id::Ymax, toQString(cformat(ValueFormat, {found.ymax})));
}

void CFormulaDialog::pickAt(QPoint pixel)
{
    if (previewPicture_.pixels.empty())
        return;
    std::optional<std::size_t> picked;
    {
        CQtSurface surface(preview_->image());
        if (!surface.isActive())
            return;
        picked = pickPreviewPoint(surface, previewPicture_.pixels, pick_, {pixel.x(), pixel.y()});
    }
    preview_->update();
    if (!picked || *picked >= points_.size())
        return;
    const CurvePoint& p = points_[*picked];
    setLabel(Id::PickedX, toQString(cformat(ValueFormat, {p.x})));
    setLabel(Id::PickedY, toQString(cformat(ValueFormat, {p.y})));
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
    if (runModal(dialog) != QDialog::Accepted)
        return {};
    return dialog.takePoints();
}
