#include "formula/FormulaComputation.h"

#include <optional>
#include <string>
#include <utility>

namespace {

FormulaComputation beep()
{
    FormulaComputation c;
    c.outcome = FormulaOutcome::Beep;
    return c;
}

FormulaComputation message(std::string_view text, std::string_view caption, MessageIcon icon)
{
    FormulaComputation c;
    c.outcome = FormulaOutcome::Message;
    c.message = {std::string(text), std::string(caption), MessageButtons::Ok, icon, MessageOwner::Dialog};
    return c;
}

} // namespace

FormulaComputation outcomeOfFailure(FormulaFailure failure)
{
    switch (failure) {
    case FormulaFailure::None: break;
    case FormulaFailure::ZeroIncrement: return beep();
    case FormulaFailure::BadInterval: return message(BoundsErrorMessage, BoundsErrorCaption, MessageIcon::None);
    case FormulaFailure::SyntaxError: return message(SyntaxErrorMessage, {}, MessageIcon::Error);
    case FormulaFailure::OutOfMemory: return message(AllocationErrorMessage, {}, MessageIcon::Error);
    case FormulaFailure::NoFiniteValue: return message(UndefinedFormulaMessage, {}, MessageIcon::Error);
    }
    return {};
}

FormulaComputation computeFormula(std::string_view formula, std::string_view aText, std::string_view bText,
                                  std::string_view incrementText)
{
    const std::optional<double> a = evaluateNumberField(aText);
    const std::optional<double> b = evaluateNumberField(bText);
    const std::optional<double> increment = evaluateNumberField(incrementText);

    if (increment && *increment == 0.0)
        return beep();
    // A bound or a step that does not evaluate has no value to compute with.
    if (!a || !b || !increment)
        return message(BoundsErrorMessage, BoundsErrorCaption, MessageIcon::None);

    FormulaCurve curve = evaluateFormula(formula, *a, *b, *increment);
    if (!curve.ok())
        return outcomeOfFailure(curve.failure);
    FormulaComputation c;
    c.points = std::move(curve.points);
    c.a = *a;
    c.b = *b;
    return c;
}
