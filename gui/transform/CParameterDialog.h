#pragma once

#include <QDialog>
#include <QString>

#include <map>
#include <optional>
#include <span>

class QLineEdit;

// One control of a small parameter dialog, placed in dialog units.
struct ParameterControl {
    enum class Kind { Label, Field, OkButton, CancelButton, Group };
    Kind kind;
    int id; // -1 for controls without one
    const char* caption;
    int x, y, w, h;
};

// A small modal dialog of number fields with "Ok" and "Cancel". Enter presses "Ok";
// Escape and the close box do nothing, so only the two buttons close it.
class CParameterDialog : public QDialog {
    Q_OBJECT
public:
    CParameterDialog(const QString& title, int widthDu, int heightDu, std::span<const ParameterControl> controls,
                     QWidget* parent);

    QLineEdit* field(int id) const;
    void setFieldText(int id, const QString& text);
    // The field's first 15 characters evaluated as an expression; nothing when the
    // text does not evaluate.
    std::optional<double> fieldValue(int id) const;

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::map<int, QLineEdit*> fields_;
};

// Field ids shared by the parameter dialogs.
inline constexpr int FieldXmin = 1129;
inline constexpr int FieldYmin = 1125;
inline constexpr int FieldXmax = 1130;
inline constexpr int FieldYmax = 1131;
inline constexpr int ButtonOk = 1134;
inline constexpr int ButtonCancel = 1135;
