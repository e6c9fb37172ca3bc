#include "gui/transform/CParameterDialog.h"

#include "core/formula/FormulaEvaluation.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>

namespace {
// Fields are read into 16 characters with the terminator.
constexpr int FieldReadLength = 15;
} // namespace

std::optional<double> numberFieldValue(const QLineEdit* field)
{
    if (!field)
        return std::nullopt;
    return evaluateNumberField(field->text().left(FieldReadLength).toStdString());
}

CParameterDialog::CParameterDialog(const QString& title, const DialogTemplate& layout, ControlIdValue ok,
                                   ControlIdValue cancel, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    controls_ = buildDialog(*this, layout);
    if (auto* button = control<QPushButton>(ok))
        connect(button, &QPushButton::clicked, this, &QDialog::accept);
    if (auto* button = control<QPushButton>(cancel))
        connect(button, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void CParameterDialog::setFieldText(ControlIdValue id, const QString& text)
{
    if (auto* edit = control<QLineEdit>(id))
        edit->setText(text);
}

std::optional<double> CParameterDialog::fieldValue(ControlIdValue id) const
{
    return numberFieldValue(control<QLineEdit>(id));
}

void CParameterDialog::placeNearCursor(const QPoint& cursor)
{
    // "As created" is where the dialog would open by itself, centred on its owner.
    adjustPosition(parentWidget());
    const QRect frame = frameGeometry();
    // Right and bottom are the edges just past the frame, as a window rectangle
    // gives them (QRect::right() is the last pixel inside); the divisions truncate.
    const int right = frame.x() + frame.width();
    const int bottom = frame.y() + frame.height();
    move(cursor.x() - right / 3, cursor.y() - bottom / 3);
}

void CParameterDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
