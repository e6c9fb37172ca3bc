#include "transform/CParameterDialog.h"

#include "app/DialogUnits.h"
#include "formula/FormulaEvaluation.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Fields are read into 16 characters with the terminator.
constexpr int FieldReadLength = 15;
} // namespace

CParameterDialog::CParameterDialog(const QString& title, int widthDu, int heightDu,
                                   std::span<const ParameterControl> controls, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setModal(true);
    DialogUnits du(font());
    setFixedSize(du.x(widthDu), du.y(heightDu));
    for (const ParameterControl& c : controls) {
        QWidget* widget = nullptr;
        QString caption = QString::fromUtf8(c.caption);
        switch (c.kind) {
        case ParameterControl::Kind::Label: {
            auto* label = new QLabel(caption, this);
            label->setAlignment(Qt::AlignCenter);
            widget = label;
            break;
        }
        case ParameterControl::Kind::Field: {
            auto* edit = new QLineEdit(this);
            fields_[c.id] = edit;
            widget = edit;
            break;
        }
        case ParameterControl::Kind::OkButton: {
            auto* ok = new QPushButton(caption, this);
            ok->setDefault(true);
            connect(ok, &QPushButton::clicked, this, &QDialog::accept);
            widget = ok;
            break;
        }
        case ParameterControl::Kind::CancelButton: {
            auto* cancel = new QPushButton(caption, this);
            cancel->setAutoDefault(false);
            connect(cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
            widget = cancel;
            break;
        }
        case ParameterControl::Kind::Group:
            widget = new QGroupBox(caption, this);
            widget->lower();
            break;
        }
        widget->setGeometry(du.rect(c.x, c.y, c.w, c.h));
        if (c.id >= 0)
            widget->setObjectName(QStringLiteral("ctl%1").arg(c.id));
    }
}

QLineEdit* CParameterDialog::field(int id) const
{
    auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : it->second;
}

void CParameterDialog::setFieldText(int id, const QString& text)
{
    if (QLineEdit* edit = field(id))
        edit->setText(text);
}

std::optional<double> CParameterDialog::fieldValue(int id) const
{
    QLineEdit* edit = field(id);
    if (!edit)
        return std::nullopt;
    return evaluateNumberField(edit->text().left(FieldReadLength).toStdString());
}

void CParameterDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
