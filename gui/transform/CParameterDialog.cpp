#include "gui/transform/CParameterDialog.h"

#include "formula/FormulaEvaluation.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Fields are read into 16 characters with the terminator.
constexpr int FieldReadLength = 15;
} // namespace

CParameterDialog::CParameterDialog(const QString& title, const DialogTemplate& layout, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setModal(true);
    controls_ = buildDialog(*this, layout);
    if (auto* ok = control<QPushButton>(ButtonOk))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (auto* cancel = control<QPushButton>(ButtonCancel))
        connect(cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void CParameterDialog::setFieldText(int id, const QString& text)
{
    if (auto* edit = control<QLineEdit>(id))
        edit->setText(text);
}

std::optional<double> CParameterDialog::fieldValue(int id) const
{
    auto* edit = control<QLineEdit>(id);
    if (!edit)
        return std::nullopt;
    return evaluateNumberField(edit->text().left(FieldReadLength).toStdString());
}

void CParameterDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
