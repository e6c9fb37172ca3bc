#include "gui/transform/ParameterDialogs.h"

#include "core/text/NumberText.h"

#include "gui/common/ModalDialog.h"
#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"
#include "gui/transform/CParameterDialog.h"

#include <QCheckBox>
#include <QCursor>
#include <QLineEdit>

#include <optional>
#include <span>
#include <string_view>

namespace {

using Kind = ControlKind;
constexpr int NoId = NoControlId;
constexpr unsigned Centred = ControlFlag::Centred;
constexpr unsigned Default = ControlFlag::Default;

// Group boxes come first so that they lie under the controls they frame.
constexpr ControlSpec FactorControls[] = {
    {NoId, Kind::Group, "Facteur", 7, 5, 89, 29},
    {FactorControl::Factor, Kind::Edit, "", 16, 16, 72, 12},
    {FactorControl::Ok, Kind::Button, "Ok", 10, 39, 39, 15, Default},
    {FactorControl::Cancel, Kind::Button, "Cancel", 55, 39, 39, 15},
};

constexpr ControlSpec PointControls[] = {
    {NoId, Kind::Label, "X", 6, 6, 24, 12, Centred},
    {NoId, Kind::Label, "Y", 6, 21, 24, 12, Centred},
    {PointControl::X, Kind::Edit, "", 33, 6, 72, 12},
    {PointControl::Y, Kind::Edit, "", 33, 21, 72, 12},
    {PointControl::Ok, Kind::Button, "Ok", 9, 39, 39, 15, Default},
    {PointControl::Cancel, Kind::Button, "Cancel", 63, 39, 39, 15},
};

using Rotation = PointAndAngleControl;

constexpr ControlSpec PointAndAngleControls[] = {
    {NoId, Kind::Label, "Xo", 6, 6, 36, 12, Centred},
    {Rotation::Xo, Kind::Edit, "", 45, 6, 72, 12},
    {NoId, Kind::Label, "Yo", 6, 21, 36, 12, Centred},
    {Rotation::Yo, Kind::Edit, "", 45, 21, 72, 12},
    {NoId, Kind::Label, "A (rad)", 6, 39, 36, 12, Centred},
    {Rotation::Angle, Kind::Edit, "", 45, 39, 72, 12},
    {Rotation::Ok, Kind::Button, "Ok", 15, 60, 39, 15, Default},
    {Rotation::Cancel, Kind::Button, "Cancel", 69, 60, 39, 15},
};

using Bounds = BoundsControl;

constexpr ControlSpec BoundsControls[] = {
    {NoId, Kind::Label, "Xmin", 6, 6, 24, 12, Centred},        {Bounds::Xmin, Kind::Edit, "", 33, 6, 72, 12},
    {NoId, Kind::Label, "Xmax", 6, 21, 24, 12, Centred},       {Bounds::Xmax, Kind::Edit, "", 33, 21, 72, 12},
    {NoId, Kind::Label, "Ymin", 6, 39, 24, 12, Centred},       {Bounds::Ymin, Kind::Edit, "", 33, 39, 72, 12},
    {NoId, Kind::Label, "Ymax", 6, 54, 24, 12, Centred},       {Bounds::Ymax, Kind::Edit, "", 33, 54, 72, 12},
    {Bounds::Ok, Kind::Button, "Ok", 12, 75, 39, 15, Default}, {Bounds::Cancel, Kind::Button, "Cancel", 60, 75, 39, 15},
};

constexpr DialogTemplate BoundsLayout{111, 93, BoundsControls};

using Affinity = AffinityControl;

constexpr ControlSpec AffinityControls[] = {
    {Affinity::Ok, Kind::Button, "OK", 87, 11, 50, 14, Default},
    {Affinity::Cancel, Kind::Button, "Cancel", 87, 28, 50, 14},
    {NoId, Kind::Group, "Direction", 7, 7, 70, 28},
    {Affinity::X, Kind::Check, "X", 18, 18, 25, 12},
    {Affinity::Y, Kind::Check, "Y", 48, 18, 25, 12},
    {NoId, Kind::Group, "Facteur", 7, 38, 70, 29},
    {Affinity::Factor, Kind::Edit, "", 18, 49, 50, 12},
};

constexpr DialogTemplate AffinityLayout{144, 74, AffinityControls};

constexpr std::string_view AffinityFactorMessage = "Erreur : facteur nul";
constexpr std::string_view AffinityFactorCaption = "Warning";

// A field of a dialog opened by the mouse: its text at opening and where its value goes.
struct NumberField {
    ControlIdValue id;
    double EnteredValues::*destination;
    double initial;
};

// One of the dialogs opened by the mouse: fields in the order they are read.
struct MouseDialog {
    std::string_view objectName;
    std::string_view title;
    DialogTemplate layout;
    ControlIdValue ok;
    ControlIdValue cancel;
    std::span<const NumberField> fields;
};

constexpr NumberField FactorFields[] = {{FactorControl::Factor, &EnteredValues::value, 0.5}};
constexpr NumberField PointFields[] = {{PointControl::X, &EnteredValues::x, 0.0},
                                       {PointControl::Y, &EnteredValues::y, 0.0}};
constexpr NumberField PointAndAngleFields[] = {
    {Rotation::Xo, &EnteredValues::x, 0.0},
    {Rotation::Yo, &EnteredValues::y, 0.0},
    {Rotation::Angle, &EnteredValues::value, 0.0},
};

constexpr MouseDialog FactorDialog{"factorDialog",    FactorDialogTitle,     {102, 58, FactorControls},
                                   FactorControl::Ok, FactorControl::Cancel, FactorFields};
constexpr MouseDialog PointDialog{"pointDialog",    PointDialogTitle,     {111, 58, PointControls},
                                  PointControl::Ok, PointControl::Cancel, PointFields};
constexpr MouseDialog PointAndAngleDialog{"pointAndAngleDialog",
                                          PointAndAngleDialogTitle,
                                          {123, 78, PointAndAngleControls},
                                          Rotation::Ok,
                                          Rotation::Cancel,
                                          PointAndAngleFields};

QString fixed3(double v)
{
    return toQString(cformat("%.3f", {v}));
}

// Reads one field; a field that does not evaluate leaves the value as it was.
void readField(const CParameterDialog& dialog, ControlIdValue id, double& destination, bool& allRead)
{
    if (auto v = dialog.fieldValue(id))
        destination = *v;
    else
        allRead = false;
}

bool runAtMouse(const MouseDialog& form, QWidget* owner, EnteredValues& entered, const QString& title)
{
    CParameterDialog dialog(title.isEmpty() ? toQString(form.title) : title, form.layout, form.ok, form.cancel,
                            owner);
    dialog.setObjectName(toQString(form.objectName));
    dialog.placeNearCursor(QCursor::pos());
    // Earlier entries are not shown again.
    for (const NumberField& field : form.fields)
        dialog.setFieldText(field.id, fixed3(field.initial));
    if (runModal(dialog) != QDialog::Accepted) {
        entered.accepted = 0;
        return false;
    }
    for (const NumberField& field : form.fields)
        if (auto v = dialog.fieldValue(field.id))
            entered.*field.destination = *v;
    entered.accepted = 1;
    return true;
}

} // namespace

bool askFactor(QWidget* owner, EnteredValues& entered, const QString& title)
{
    return runAtMouse(FactorDialog, owner, entered, title);
}

bool askPoint(QWidget* owner, EnteredValues& entered, const QString& title)
{
    return runAtMouse(PointDialog, owner, entered, title);
}

bool askPointAndAngle(QWidget* owner, EnteredValues& entered, const QString& title)
{
    return runAtMouse(PointAndAngleDialog, owner, entered, title);
}

int askBounds(QWidget* owner, const ViewWindow& current, EnteredValues& entered, bool& allRead)
{
    CParameterDialog dialog(toQString(BoundsDialogTitle), BoundsLayout, Bounds::Ok, Bounds::Cancel, owner);
    dialog.setObjectName(QStringLiteral("boundsDialog"));
    dialog.setFieldText(Bounds::Xmin, fixed3(current.xmin));
    dialog.setFieldText(Bounds::Ymin, fixed3(current.ymin));
    dialog.setFieldText(Bounds::Xmax, fixed3(current.xmax));
    dialog.setFieldText(Bounds::Ymax, fixed3(current.ymax));
    allRead = true;
    if (runModal(dialog) != QDialog::Accepted) {
        entered.accepted = 0;
        return 0;
    }
    readField(dialog, Bounds::Xmin, entered.x, allRead);
    readField(dialog, Bounds::Ymin, entered.y, allRead);
    readField(dialog, Bounds::Xmax, entered.value, allRead);
    readField(dialog, Bounds::Ymax, entered.value2, allRead);
    entered.accepted = 1;
    return 1;
}

bool askAffinity(QWidget* owner, CPlatformServices& services, EnteredValues& entered)
{
    // A plain dialog: unlike the others, Escape and the close box cancel it.
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("affinityDialog"));
    dialog.setWindowTitle(toQString(AffinityDialogTitle));

    int direction = 0; // "Y", at every opening
    double factor = 0.0;
    DialogControls controls;
    const auto showDirection = [&] {
        controls.control<QCheckBox>(Affinity::X)->setChecked(direction == 1);
        controls.control<QCheckBox>(Affinity::Y)->setChecked(direction == 0);
    };
    controls = buildDialog(dialog, AffinityLayout, [&](int number) {
        const auto id = static_cast<AffinityControl>(number);
        switch (id) {
        case Affinity::X:
        case Affinity::Y:
            // The two boxes act as one pair of radio buttons: a click on the ticked
            // one, which has just unticked itself, ticks it again.
            direction = id == Affinity::X ? 1 : 0;
            showDirection();
            break;
        case Affinity::Ok:
            // A factor the parser rejects has no value to accept: refused like 0.
            if (auto typed = numberFieldValue(controls.control<QLineEdit>(Affinity::Factor)); typed && *typed > 0) {
                factor = *typed;
                dialog.accept();
            } else {
                services.showMessage(nullptr, toQString(AffinityFactorMessage), toQString(AffinityFactorCaption),
                                     MessageButtons::Ok, MessageIcon::Error);
            }
            break;
        case Affinity::Cancel: dialog.reject(); break;
        default: break;
        }
    });
    controls.control<QLineEdit>(Affinity::Factor)->setText(QStringLiteral("1."));
    showDirection();

    if (runModal(dialog) != QDialog::Accepted) {
        entered.accepted = 0;
        return false;
    }
    entered.x = direction;
    entered.y = factor;
    entered.accepted = 1;
    return true;
}
