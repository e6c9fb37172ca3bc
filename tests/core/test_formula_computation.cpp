#include "formula/FormulaComputation.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

UserMessage dialogMessage(std::string_view text, std::string_view caption, MessageIcon icon)
{
    return {std::string(text), std::string(caption), MessageButtons::Ok, icon, MessageOwner::Dialog};
}

const UserMessage BoundsError = dialogMessage(BoundsErrorMessage, BoundsErrorCaption, MessageIcon::None);

} // namespace

TEST(ComputeFormula, ChecksTheStepThenTheFieldsThenTheFormula)
{
    struct Case {
        const char* what;
        std::string_view formula, a, b, increment;
        FormulaOutcome outcome;
        UserMessage message;
    };
    const Case cases[] = {
        {"a step of 0", "x", "0", "1", "0", FormulaOutcome::Beep, {}},
        {"an empty step is 0", "x", "0", "1", "", FormulaOutcome::Beep, {}},
        {"a step of 0 before a bound that does not evaluate", "x", "abc", "1", "0", FormulaOutcome::Beep, {}},
        {"a step of 0 before a formula that does not parse", "x+", "0", "1", "0", FormulaOutcome::Beep, {}},
        {"a lower bound that does not evaluate", "x", "abc", "1", "1", FormulaOutcome::Message, BoundsError},
        {"an upper bound that does not evaluate", "x", "0", "x", "1", FormulaOutcome::Message, BoundsError},
        {"a step that does not evaluate", "x", "0", "1", "PI", FormulaOutcome::Message, BoundsError},
        {"a bad field before a formula that does not parse", "x+", "abc", "1", "1", FormulaOutcome::Message,
         BoundsError},
        {"equal bounds", "x", "1", "1", "1", FormulaOutcome::Message, BoundsError},
        {"too many points", "x", "0", "2000", "1", FormulaOutcome::Message, BoundsError},
        {"a bound that is not finite", "x", "1/0", "1", "1", FormulaOutcome::Message, BoundsError},
        {"a formula that does not parse", "x+", "0", "1", "1", FormulaOutcome::Message,
         dialogMessage(SyntaxErrorMessage, {}, MessageIcon::Error)},
        {"a formula defined nowhere on the interval", "sqrt(x)", "-2", "-1", "0.5", FormulaOutcome::Message,
         dialogMessage(UndefinedFormulaMessage, {}, MessageIcon::Error)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FormulaComputation computed = computeFormula(c.formula, c.a, c.b, c.increment);
        EXPECT_EQ(computed.outcome, c.outcome);
        EXPECT_EQ(computed.message, c.message);
        EXPECT_TRUE(computed.points.empty());
    }
}

TEST(ComputeFormula, GivesThePointsAndTheBoundsAsEvaluated)
{
    const FormulaComputation computed = computeFormula("x*x", "-1", "2-1", "0.5");
    ASSERT_EQ(computed.outcome, FormulaOutcome::Computed);
    EXPECT_EQ(computed.points, (std::vector<CurvePoint>{{-1, 1}, {-0.5, 0.25}, {0, 0}, {0.5, 0.25}, {1, 1}}));
    EXPECT_EQ(computed.a, -1.0);
    EXPECT_EQ(computed.b, 1.0);
    EXPECT_EQ(computed.message, UserMessage{});
}

TEST(OutcomeOfFailure, EachFailureHasItsAnswer)
{
    struct Case {
        FormulaFailure failure;
        FormulaOutcome outcome;
        UserMessage message;
    };
    const Case cases[] = {
        {FormulaFailure::None, FormulaOutcome::Computed, {}},
        {FormulaFailure::ZeroIncrement, FormulaOutcome::Beep, {}},
        {FormulaFailure::BadInterval, FormulaOutcome::Message, BoundsError},
        {FormulaFailure::SyntaxError, FormulaOutcome::Message,
         dialogMessage(SyntaxErrorMessage, {}, MessageIcon::Error)},
        {FormulaFailure::OutOfMemory, FormulaOutcome::Message,
         dialogMessage(AllocationErrorMessage, {}, MessageIcon::Error)},
        {FormulaFailure::NoFiniteValue, FormulaOutcome::Message,
         dialogMessage(UndefinedFormulaMessage, {}, MessageIcon::Error)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failure));
        const FormulaComputation computed = outcomeOfFailure(c.failure);
        EXPECT_EQ(computed.outcome, c.outcome);
        EXPECT_EQ(computed.message, c.message);
        EXPECT_TRUE(computed.points.empty());
    }
}
