#include "gui/curve/CPointLineDelegate.h"

#include "gui/common/QtText.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <utility>

CPointLineDelegate::CPointLineDelegate(FieldSource fields, QObject* parent)
    : QStyledItemDelegate(parent), fields_(std::move(fields))
{
}

QRect CPointLineDelegate::fieldRect(const QRect& line, PointListColumn column) const
{
    const auto c = static_cast<std::size_t>(column);
    const int left = columns_.fieldLeft[c];
    return QRect(line.left() + left, line.top(), columns_.left[c] + columns_.width[c] - left, line.height());
}

void CPointLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear(); // the style paints the line without its text, the fields follow
    const QWidget* view = item.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

    QPalette::ColorGroup group = QPalette::Normal;
    if (!(item.state & QStyle::State_Enabled))
        group = QPalette::Disabled;
    else if (!(item.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QPalette::ColorRole role = item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;

    const PointLineFields fields = fields_(index.row());
    painter->save();
    painter->setPen(item.palette.color(group, role));
    painter->setFont(item.font);
    for (std::size_t c = 0; c < PointListColumnCount; ++c)
        painter->drawText(fieldRect(item.rect, static_cast<PointListColumn>(c)),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, toQString(fields[c]));
    painter->restore();
}
