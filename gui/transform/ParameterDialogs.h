#pragma once

#include "core/transform/EnteredValues.h"
#include "core/view/ViewWindow.h"

#include <QString>

#include <string_view>

class CPlatformServices;
class QWidget;

inline constexpr std::string_view FactorDialogTitle = "Homothétie";
inline constexpr std::string_view PointDialogTitle = "Coordonnées du Point";
inline constexpr std::string_view PointAndAngleDialogTitle = "Rotation";
inline constexpr std::string_view BoundsDialogTitle = "Bornes de Tracé";
inline constexpr std::string_view AffinityDialogTitle = "Affinité";

// The controls of each dialog, numbered as its template numbers them.

// "Homothétie"
enum class FactorControl : int {
    Factor = 1129,
    Ok = 1134,
    Cancel = 1135,
};

// "Coordonnées du Point"
enum class PointControl : int {
    X = 1129,
    Y = 1125,
    Ok = 1134,
    Cancel = 1135,
};

// "Rotation"
enum class PointAndAngleControl : int {
    Xo = 1129,
    Yo = 1130,
    Angle = 1125,
    Ok = 1134,
    Cancel = 1135,
};

// "Bornes de Tracé"
enum class BoundsControl : int {
    Xmin = 1129,
    Ymin = 1125,
    Xmax = 1130,
    Ymax = 1131,
    Ok = 1134,
    Cancel = 1135,
};

// "Affinité"
enum class AffinityControl : int {
    Ok = 1,
    Cancel = 2,
    X = 1010,      // the "X" box of "Direction"
    Y = 1011,      // the "Y" box
    Factor = 1012, // "Facteur"
};

// Each dialog writes into `entered` what its description says (core's
// EnteredValues.h: FactorDialogFields and the others), and nothing when it is cancelled.

// The three dialogs below open by the mouse, with `title` in place of the template's
// title when it is not empty, and with the same texts at every opening. On "Ok" each
// of their fields that evaluates goes into its field of `entered` (one that does not
// leaves it as it was); on "Cancel" nothing changes. Only the two buttons close them.
// They return true when accepted.

// "Homothétie": the factor (shown as 0.500).
bool askFactor(QWidget* owner, EnteredValues& entered, const QString& title = {});
// "Coordonnées du Point": X and Y (both shown as 0.000).
bool askPoint(QWidget* owner, EnteredValues& entered, const QString& title = {});
// "Rotation": Xo, Yo and A in radians (all shown as 0.000).
bool askPointAndAngle(QWidget* owner, EnteredValues& entered, const QString& title = {});

// "Bornes de Tracé": shows `current` with three decimals; on "Ok" the four fields go
// into `entered`. Returns 1 when accepted, 0 when cancelled. `allRead` tells whether
// every field evaluated.
int askBounds(QWidget* owner, const ViewWindow& current, EnteredValues& entered, bool& allRead);

// "Affinité", at its default place: direction "Y" and factor "1." at every opening.
// "OK" accepts only a factor above 0 (the direction and the factor go into `entered`);
// any other factor, or one that does not evaluate, gets "Erreur : facteur nul"
// through `services` and the dialog stays open. "Cancel", Escape and the close box
// cancel. Returns true when accepted.
bool askAffinity(QWidget* owner, CPlatformServices& services, EnteredValues& entered);
