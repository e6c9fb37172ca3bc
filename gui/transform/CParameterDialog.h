#pragma once

#include "gui/common/DialogTemplate.h"

#include <QDialog>
#include <QString>

#include <optional>

// A small modal dialog of number fields with "Ok" and "Cancel". Enter presses "Ok";
// Escape and the close box do nothing, so only the two buttons close it.
class CParameterDialog : public QDialog {
    Q_OBJECT
public:
    CParameterDialog(const QString& title, const DialogTemplate& layout, QWidget* parent);

    // The control with the given id, as the dialog's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(int id) const
    {
        return controls_.control<W>(id);
    }
    void setFieldText(int id, const QString& text);
    // The field's first 15 characters evaluated as an expression; nothing when the
    // text does not evaluate.
    std::optional<double> fieldValue(int id) const;

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DialogControls controls_;
};

// Field ids shared by the parameter dialogs.
inline constexpr int FieldXmin = 1129;
inline constexpr int FieldYmin = 1125;
inline constexpr int FieldXmax = 1130;
inline constexpr int FieldYmax = 1131;
inline constexpr int ButtonOk = 1134;
inline constexpr int ButtonCancel = 1135;
