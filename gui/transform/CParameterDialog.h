#pragma once

#include "gui/common/DialogTemplate.h"

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;
class QPoint;

// A small modal dialog of number fields with "Ok" and "Cancel" (`ok` and `cancel` in
// its template). Enter presses "Ok"; Escape and the close box do nothing, so only the
// two buttons close it.
class CParameterDialog : public QDialog {
    Q_OBJECT
public:
    CParameterDialog(const QString& title, const DialogTemplate& layout, ControlIdValue ok, ControlIdValue cancel,
                     QWidget* parent);

    // The control with the given id, as the dialog's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(ControlIdValue id) const
    {
        return controls_.control<W>(id);
    }
    void setFieldText(ControlIdValue id, const QString& text);
    // The field's first 15 characters evaluated as an expression; nothing when the
    // text does not evaluate.
    std::optional<double> fieldValue(ControlIdValue id) const;
    // Moves the dialog, keeping its size, so that it opens by the mouse at `cursor`:
    // its top-left corner goes to (cursor x - R / 3, cursor y - B / 3), where R and B
    // are the right and bottom edges of the frame it would open with by itself.
    void placeNearCursor(const QPoint& cursor);

public slots:
    void reject() override { }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DialogControls controls_;
};

// A number field's first 15 characters evaluated as an expression (an empty field is
// 0); nothing when the text does not evaluate or there is no field.
std::optional<double> numberFieldValue(const QLineEdit* field);
