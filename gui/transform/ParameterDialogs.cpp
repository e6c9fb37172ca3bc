#include "gui/transform/ParameterDialogs.h"

#include "core/text/NumberText.h"

#include "gui/common/ModalDialog.h"
#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"
#include "gui/transform/CParameterDialog.h"

#include <QCheckBox>
#include <QCursor>
#include <QLineEdit>

#include <iterator>
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

// One of the dialogs opened by the mouse: its edit fields in the order of its
// description (what each one fills), all showing `initial` at opening.
struct MouseDialog {
    std::string_view objectName;
    std::string_view title;
    DialogTemplate layout;
    ControlIdValue ok;
    ControlIdValue cancel;
    std::span<const ControlIdValue> fields;
    std::span<const EnteredField> entries;
    double initial;
};

constexpr ControlIdValue FactorFields[] = {FactorControl::Factor};
constexpr ControlIdValue PointFields[] = {PointControl::X, PointControl::Y};
constexpr ControlIdValue PointAndAngleFields[] = {Rotation::Xo, Rotation::Yo, Rotation::Angle};
constexpr ControlIdValue BoundsFields[] = {Bounds::Xmin, Bounds::Ymin, Bounds::Xmax, Bounds::Ymax};
static_assert(std::size(FactorFields) == std::size(FactorDialogFields));
static_assert(std::size(PointFields) == std::size(PointDialogFields));
static_assert(std::size(PointAndAngleFields) == std::size(PointAndAngleDialogFields));
static_assert(std::size(BoundsFields) == std::size(BoundsDialogFields));

constexpr MouseDialog FactorDialog{
    .objectName = "factorDialog",
    .title = FactorDialogTitle,
    .layout = {102, 58, FactorControls},
    .ok = FactorControl::Ok,
    .cancel = FactorControl::Cancel,
    .fields = FactorFields,
    .entries = FactorDialogFields,
    .initial = 0.5,
};
constexpr MouseDialog PointDialog{
    .objectName = "pointDialog",
    .title = PointDialogTitle,
    .layout = {111, 58, PointControls},
    .ok = PointControl::Ok,
    .cancel = PointControl::Cancel,
    .fields = PointFields,
    .entries = PointDialogFields,
    .initial = 0.0,
};
constexpr MouseDialog PointAndAngleDialog{
    .objectName = "pointAndAngleDialog",
    .title = PointAndAngleDialogTitle,
    .layout = {123, 78, PointAndAngleControls},
    .ok = Rotation::Ok,
    .cancel = Rotation::Cancel,
    .fields = PointAndAngleFields,
    .entries = PointAndAngleDialogFields,
    .initial = 0.0,
};

QString fixed3(double v)
{
    return toQString(cformat("%.3f", {v}));
}

// Reads the fields into what they fill; a field that does not evaluate leaves its value
// as it was. False when one did not evaluate.
bool readFields(const CParameterDialog& dialog, std::span<const ControlIdValue> fields,
                std::span<const EnteredField> entries, EnteredValues& entered)
{
    bool allRead = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (auto v = dialog.fieldValue(fields[i]))
            entries[i].set(entered, *v);
        else
            allRead = false;
    }
    return allRead;
}

bool runAtMouse(const MouseDialog& form, QWidget* owner, EnteredValues& entered, const QString& title)
{
    CParameterDialog dialog(title.isEmpty() ? toQString(form.title) : title, form.layout, form.ok, form.cancel, owner);
    dialog.setObjectName(toQString(form.objectName));
    dialog.placeNearCursor(QCursor::pos());
    // Earlier entries are not shown again.
    for (ControlIdValue field : form.fields)
        dialog.setFieldText(field, fixed3(form.initial));
    if (runModal(dialog) != QDialog::Accepted)
        return false;
    readFields(dialog, form.fields, form.entries, entered);
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
    if (runModal(dialog) != QDialog::Accepted)
        return 0;
    allRead = readFields(dialog, BoundsFields, BoundsDialogFields, entered);
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

    if (runModal(dialog) != QDialog::Accepted)
        return false;
    EnteredFields::Direction.set(entered, direction);
    EnteredFields::AffinityFactor.set(entered, factor);
    return true;
}
