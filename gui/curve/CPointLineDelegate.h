#pragma once

#include "core/curve/PointList.h"

#include <QStyledItemDelegate>

#include <functional>

// Paints a line of the point list as its fields, each at the left of its column, so
// that the numbers stand under their headings whatever widths the font gives the
// blanks of the line's text. The line's background and selection are the style's.
class CPointLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The fields of the line in a row of the list.
    using FieldSource = std::function<PointLineFields(int row)>;

    explicit CPointLineDelegate(FieldSource fields, QObject* parent = nullptr);

    void setColumns(const PointListColumns& columns) { columns_ = columns; }
    // Where the field of `column` goes in a line painted over `line`: from its start to
    // the end of its column.
    QRect fieldRect(const QRect& line, PointListColumn column) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    FieldSource fields_;
    PointListColumns columns_;
};
