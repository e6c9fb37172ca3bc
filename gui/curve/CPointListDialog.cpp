#include "gui/curve/CPointListDialog.h"

#include "core/settings/SupportFile.h"

#include "gui/common/DialogUnits.h"
#include "gui/common/ModalDialog.h"
#include "gui/common/QtText.h"
#include "gui/curve/CPointLineDelegate.h"
#include "gui/curve/CurveFileCommands.h"
#include "gui/formula/CFormulaDialog.h"
#include "gui/output/TextPrinting.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

using Kind = ControlKind;
constexpr int NoId = NoControlId;
constexpr unsigned Centred = ControlFlag::Centred;

using Id = PointListControl;

// The dialog's template, 230 x 186 dialog units, in its tab order; each group box comes
// before what it frames.
constexpr ControlSpec Controls[] = {
    {Id::HeadingGroup, Kind::Group, "", 6, -2, 145, 19},
    {Id::NumberHeading, Kind::Label, "  No.        X", 5, 5, 18, 9, Centred},
    {Id::XHeading, Kind::Label, "X", 27, 5, 45, 9, Centred},
    {Id::YHeading, Kind::Label, " Y", 85, 5, 45, 9, Centred},
    {Id::Lines, Kind::Custom, "", 4, 18, 150, 142},
    {Id::CountGroup, Kind::Group, "", 160, -2, 65, 20},
    {Id::Count, Kind::Label, "", 165, 5, 55, 10, Centred},
    {Id::EntryGroup, Kind::Group, "", 160, 15, 65, 70},
    {NoId, Kind::Label, "X", 163, 22, 9, 12},
    {Id::X, Kind::Edit, "", 172, 21, 50, 12},
    {NoId, Kind::Label, "Y", 163, 38, 9, 12},
    {Id::Y, Kind::Edit, "", 172, 36, 50, 12},
    {Id::Insert, Kind::Button, "Insérer &Point", 165, 54, 55, 12},
    {Id::Modify, Kind::Button, "&Modifier", 165, 69, 55, 12},
    {Id::ListGroup, Kind::Group, "", 160, 85, 65, 75},
    {Id::Delete, Kind::Button, "&Supprimer", 165, 95, 55, 12},
    {Id::Formula, Kind::Button, "&Formule", 165, 110, 55, 12},
    {Id::File, Kind::Button, "&Fichier", 165, 125, 55, 12},
    {Id::Empty, Kind::Button, "&Vider", 165, 140, 55, 12},
    {Id::Print, Kind::Button, "&Imprimer", 10, 165, 46, 15},
    {Id::Ok, Kind::Button, "&Ok", 65, 165, 40, 15, ControlFlag::Default},
    {Id::Cancel, Kind::Button, "&Arrêt", 116, 165, 35, 15},
    {Id::Help, Kind::Button, "Ai&de...", 175, 165, 33, 15},
};

constexpr DialogTemplate Layout{230, 186, Controls};

// The least gap between two columns of the list, in dialog units: one and a half
// average characters.
constexpr int ColumnGap = 6;

// Where the dialog opens, from its owner's top-left corner.
constexpr int OriginX = 16;
constexpr int OriginY = 31;

constexpr std::string_view CurveFileInitialName = "*.crb";

} // namespace

CPointListDialog::CPointListDialog(CPlatformServices& services, CurveDocument& doc, FormulaDialogMemory& memory,
                                   HelpOpener help, QWidget* parent)
    : QDialog(parent), services_(services), doc_(doc), memory_(memory), help_(std::move(help)), list_(doc)
{
    setObjectName(QStringLiteral("pointListDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(toQString(PointListTitle));
    buildControls();
    control<QLabel>(Id::NumberHeading)->setText(toQString(NumberHeadingText));
    control<QLabel>(Id::XHeading)->setText(toQString(doc_.xAxisName));
    control<QLabel>(Id::YHeading)->setText(toQString(doc_.yAxisName));
    layOutColumns();
    refreshPointList();
    if (parent) {
        const DialogUnits du(font());
        move(parent->mapToGlobal(QPoint(du.x(OriginX), du.y(OriginY))));
    }
}

void CPointListDialog::buildControls()
{
    controls_ = buildDialog(
        *this, Layout, [this](int id) { onCommand(static_cast<PointListControl>(id)); },
        [this](QWidget& parent, const ControlSpec&) {
            auto* lines = new QListWidget(&parent);
            lines->setSelectionMode(QAbstractItemView::SingleSelection);
            lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // Every line has the same height, so a full list lays out and scrolls
            // without measuring each of its 1024 lines.
            lines->setUniformItemSizes(true);
            lineDelegate_ = new CPointLineDelegate([this](int row) { return list_.lineFields(row); }, lines);
            lines->setItemDelegate(lineDelegate_);
            return lines;
        });
    lines_ = control<QListWidget>(Id::Lines);
    // Any notice from the list box shows the selected point, even a click on the line
    // already selected (after its fields were edited).
    connect(lines_, &QListWidget::itemSelectionChanged, this, &CPointListDialog::showSelectedPoint);
    connect(lines_, &QListWidget::itemClicked, this, &CPointListDialog::showSelectedPoint);
    connect(lines_, &QListWidget::itemActivated, this, &CPointListDialog::showSelectedPoint);
}

void CPointListDialog::layOutColumns()
{
    const std::array<QLabel*, PointListColumnCount> headings{
        control<QLabel>(Id::NumberHeading), control<QLabel>(Id::XHeading), control<QLabel>(Id::YHeading)};
    // Each column as wide as the widest text it may show, its heading included, in
    // the fonts they are shown in.
    const QFontMetrics lineFont(lines_->font());
    std::array<int, PointListColumnCount> widestField{};
    std::array<int, PointListColumnCount> heading{};
    for (std::size_t c = 0; c < PointListColumnCount; ++c) {
        heading[c] = QFontMetrics(headings[c]->font()).horizontalAdvance(headings[c]->text());
        for (const std::string& text : widestColumnTexts(static_cast<PointListColumn>(c)))
            widestField[c] = std::max(widestField[c], lineFont.horizontalAdvance(toQString(text)));
    }
    // The lines lie inside the list's frame, beside the vertical scroll bar a long list shows.
    const int frame = lines_->frameWidth();
    const int scrollBar = lines_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lines_);
    const int room = lines_->width() - 2 * frame - scrollBar;
    const PointListColumns columns =
        layoutPointListColumns(widestField, heading, room, DialogUnits(font()).x(ColumnGap));
    if (columns.grow > 0)
        widenList(columns.grow);
    for (std::size_t c = 0; c < PointListColumnCount; ++c)
        headings[c]->setGeometry(lines_->x() + frame + columns.left[c], headings[c]->y(), columns.width[c],
                                 headings[c]->height());
    lineDelegate_->setColumns(columns);
}

void CPointListDialog::widenList(int extra)
{
    // What stands right of the list moves over; the list and the frame of its headings widen.
    const int listRight = lines_->geometry().right();
    for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (widget->x() > listRight)
            widget->move(widget->x() + extra, widget->y());
    lines_->resize(lines_->width() + extra, lines_->height());
    auto* headingGroup = control<QGroupBox>(Id::HeadingGroup);
    headingGroup->resize(headingGroup->width() + extra, headingGroup->height());
    setFixedSize(width() + extra, height());
}

void CPointListDialog::onCommand(PointListControl id)
{
    switch (id) {
    case Id::Insert: insertPoint(); break;
    case Id::Modify: modifyPoint(); break;
    case Id::Delete: deletePoint(); break;
    case Id::Formula: appendFormulaPoints(); break;
    case Id::File: readFile(); break;
    case Id::Empty: emptyList(); break;
    case Id::Help:
        if (!help_ || !help_(this, ListHelpTopic))
            services_.showMessage(this, toQString(helpMissingText()), toQString(HelpMissingCaption), MessageButtons::Ok,
                                  MessageIcon::Error);
        break;
    case Id::Ok: accept(); break;
    case Id::Cancel: reject(); break;
    case Id::Print: printPointList(services_, this, list_.points(), doc_); break;
    default: break;
    }
}

void CPointListDialog::refreshPointList()
{
    QStringList texts;
    texts.reserve(list_.listCount());
    for (const std::string& line : list_.lineTexts())
        texts.append(toQString(line));
    // One call for all lines: adding them one by one would lay the list out each time.
    lines_->clear();
    lines_->addItems(texts);
    lines_->clearSelection();
    control<QLabel>(Id::Count)->setText(toQString(list_.countText()));
}

int CPointListDialog::selectedLine() const
{
    const QList<QListWidgetItem*> selected = lines_->selectedItems();
    return selected.isEmpty() ? NoSelectedLine : lines_->row(selected.front());
}

void CPointListDialog::showSelectedPoint()
{
    const std::optional<PointFieldTexts> texts = list_.fieldTexts(selectedLine());
    if (!texts)
        return;
    control<QLineEdit>(Id::X)->setText(toQString(texts->x));
    control<QLineEdit>(Id::Y)->setText(toQString(texts->y));
}

QString CPointListDialog::fieldText(PointListControl id) const
{
    return control<QLineEdit>(id)->text();
}

void CPointListDialog::insertPoint()
{
    if (auto refused = list_.insert(fieldText(Id::X).toStdString(), fieldText(Id::Y).toStdString())) {
        showMessage(*refused);
        return; // the list stays as it was, selection included
    }
    refreshPointList();
}

void CPointListDialog::modifyPoint()
{
    list_.modify(selectedLine(), fieldText(Id::X).toStdString(), fieldText(Id::Y).toStdString());
    refreshPointList();
}

void CPointListDialog::deletePoint()
{
    list_.remove(selectedLine());
    refreshPointList();
}

void CPointListDialog::appendFormulaPoints()
{
    const std::vector<CurvePoint> computed = runFormulaDialog(this, services_, memory_, help_);
    list_.appendFormulaPoints(computed);
    refreshPointList();
}

void CPointListDialog::readFile()
{
    const std::optional<QString> path =
        chooseFileToOpen(services_, CPlatformServices::focusOwner(), toQString(OpenDialogTitle),
                         toQString(CurveFileInitialName), toQString(CurveFileExtension));
    if (!path)
        return;
    if (auto message = list_.readFile(path->toStdString(), doc_))
        showMessage(*message);
    refreshPointList();
}

void CPointListDialog::emptyList()
{
    list_.empty();
    refreshPointList();
}

void CPointListDialog::showMessage(const UserMessage& message)
{
    services_.showMessage(message.owner == MessageOwner::Dialog ? this : nullptr, toQString(message.text),
                          toQString(message.caption), message.buttons, message.icon);
}

PointListResult runPointListDialog(QWidget* owner, CPlatformServices& services, CurveDocument& doc,
                                   FormulaDialogMemory& memory, HelpOpener help)
{
    CPointListDialog dialog(services, doc, memory, std::move(help), owner);
    PointListResult result;
    result.accepted = runModal(dialog) == QDialog::Accepted;
    result.fileRead = dialog.pointList().fileRead();
    if (result.accepted)
        dialog.pointList().writeBack(doc);
    return result;
}
