#include "gui/transform/ParameterDialogs.h"

#include "gui/transform/CParameterDialog.h"
#include "text/NumberText.h"

namespace {

using Kind = ControlKind;
constexpr int NoId = NoControlId;
constexpr unsigned Centred = ControlFlag::Centred;

constexpr ControlSpec BoundsControls[] = {
    {NoId, Kind::Label, "Xmin", 6, 6, 24, 12, Centred},
    {FieldXmin, Kind::Edit, "", 33, 6, 72, 12},
    {NoId, Kind::Label, "Xmax", 6, 21, 24, 12, Centred},
    {FieldXmax, Kind::Edit, "", 33, 21, 72, 12},
    {NoId, Kind::Label, "Ymin", 6, 39, 24, 12, Centred},
    {FieldYmin, Kind::Edit, "", 33, 39, 72, 12},
    {NoId, Kind::Label, "Ymax", 6, 54, 24, 12, Centred},
    {FieldYmax, Kind::Edit, "", 33, 54, 72, 12},
    {ButtonOk, Kind::Button, "Ok", 12, 75, 39, 15, ControlFlag::Default},
    {ButtonCancel, Kind::Button, "Cancel", 60, 75, 39, 15, ControlFlag::NoAutoDefault},
};

constexpr DialogTemplate BoundsLayout{111, 93, BoundsControls};

QString fixed3(double v)
{
    return QString::fromStdString(cformat("%.3f", {v}));
}

// Reads one field; a field that does not evaluate leaves the value as it was.
void readField(const CParameterDialog& dialog, int id, double& destination, bool& allRead)
{
    if (auto v = dialog.fieldValue(id))
        destination = *v;
    else
        allRead = false;
}

} // namespace

int askBounds(QWidget* owner, const ViewWindow& current, EnteredValues& entered, bool& allRead)
{
    CParameterDialog dialog(QString::fromUtf8(BoundsDialogTitle), BoundsLayout, owner);
    dialog.setObjectName(QStringLiteral("boundsDialog"));
    dialog.setFieldText(FieldXmin, fixed3(current.xmin));
    dialog.setFieldText(FieldYmin, fixed3(current.ymin));
    dialog.setFieldText(FieldXmax, fixed3(current.xmax));
    dialog.setFieldText(FieldYmax, fixed3(current.ymax));
    allRead = true;
    if (dialog.exec() != QDialog::Accepted) {
        entered.accepted = 0;
        return 0;
    }
    readField(dialog, FieldXmin, entered.x, allRead);
    readField(dialog, FieldYmin, entered.y, allRead);
    readField(dialog, FieldXmax, entered.value, allRead);
    readField(dialog, FieldYmax, entered.value2, allRead);
    entered.accepted = 1;
    return 1;
}
