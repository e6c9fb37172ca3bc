#pragma once

#include "transform/EnteredValues.h"
#include "view/ViewWindow.h"

class QWidget;

inline constexpr const char* BoundsDialogTitle = "Bornes de Tracé";

// "Bornes de Tracé": shows `current` with three decimals; on "Ok" the four fields go
// into `entered` (x = Xmin, y = Ymin, value = Xmax, value2 = Ymax). Returns 1 when
// accepted, 0 when cancelled. `allRead` tells whether every field evaluated.
int askBounds(QWidget* owner, const ViewWindow& current, EnteredValues& entered, bool& allRead);
