#pragma once

// The formula dialog's "&Calcul" without its window: which field is checked first and
// what the user is told of each failure.

#include "common/UserMessage.h"
#include "curve/CurvePoint.h"
#include "formula/FormulaEvaluation.h"

#include <string_view>
#include <vector>

enum class FormulaOutcome {
    Computed, // the points are there to preview
    Beep,     // a step of 0: a beep and nothing else
    Message,  // nothing computed; the message says why
};

struct FormulaComputation {
    FormulaOutcome outcome = FormulaOutcome::Computed;
    UserMessage message;            // when outcome is Message; owned by the dialog
    std::vector<CurvePoint> points; // when outcome is Computed
    double a = 0.0;                 // the bounds as evaluated, which the preview frames
    double b = 0.0;
};

// The fields as read: a step of 0 beeps before anything else is looked at, even when a
// bound does not evaluate; then a bound or a step that does not evaluate gives
// BoundsErrorMessage; then the formula is evaluated.
FormulaComputation computeFormula(std::string_view formula, std::string_view aText, std::string_view bText,
                                  std::string_view incrementText);

// What the user is told of a failure of evaluateFormula; Computed, with no points, for
// None.
FormulaComputation outcomeOfFailure(FormulaFailure failure);
