#include "editor/EditorCommands.h"
#include "editor/Transformations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <span>
#include <string>

namespace {

using M = InteractionMode;
using C = MainControl;

// The buttons of the "&Transfos" group that run a transformation.
constexpr MainControl TransformationButtons[] = {C::Homothety, C::Translate, C::Mirror, C::Rotate, C::Affinity};

bool holds(const CurveDocument& doc, CurvePoint p)
{
    const std::span<const CurvePoint> points = doc.points();
    return std::find(points.begin(), points.end(), p) != points.end();
}

} // namespace

TEST(TransformationTable, EveryTransformationButtonHasOneRowAndNoOtherControlHasOne)
{
    // Every id a control may have, the enum's values among them.
    for (int id = -1; id <= 2000; ++id) {
        const auto control = static_cast<MainControl>(id);
        const Transformation* row = findTransformation(control);
        const bool button = std::ranges::find(TransformationButtons, control) != std::end(TransformationButtons);
        ASSERT_EQ(row != nullptr, button) << "control " << id;
        if (!row)
            continue;
        EXPECT_EQ(row->command, control);
        EXPECT_NE(findCommand(control), nullptr) << "the button of control " << id << " runs a command";
    }
    EXPECT_EQ(transformations().size(), std::size(TransformationButtons)) << "one row per button";
}

// Each mode of a transformation leads back to its button's row, the copy variants as
// such, with the numbers the program has always given them; no other mode has a row.
TEST(TransformationTable, EachModeLeadsBackToItsButtonsRow)
{
    struct Case {
        const char* what;
        InteractionMode mode;
        int historicalId;
        MainControl button;
        bool copy;
    };
    const Case cases[] = {
        {"homothety", M::Homothety, 12, C::Homothety, false},
        {"homothety, copy", M::HomothetyCopy, 49, C::Homothety, true},
        {"translation", M::Translate, 30, C::Translate, false},
        {"translation, copy", M::TranslateCopy, 54, C::Translate, true},
        {"mirror", M::Mirror, 39, C::Mirror, false},
        {"mirror, copy", M::MirrorCopy, 48, C::Mirror, true},
        {"rotation", M::Rotate, 50, C::Rotate, false},
        {"rotation, copy", M::RotateCopy, 53, C::Rotate, true},
        {"affinity", M::Affinity, 55, C::Affinity, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(static_cast<int>(c.mode), c.historicalId);
        const Transformation* row = findTransformation(c.mode);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->command, c.button);
        EXPECT_EQ(row->mode == c.mode, !c.copy);
        EXPECT_EQ(row->copyMode == c.mode, c.copy);
    }
    for (int id = -1; id <= 2000; ++id) {
        const bool listed = std::ranges::any_of(cases, [id](const Case& c) { return static_cast<int>(c.mode) == id; });
        EXPECT_EQ(findTransformation(static_cast<InteractionMode>(id)) != nullptr, listed) << "mode " << id;
    }
    EXPECT_FALSE(findTransformation(C::Affinity)->copyMode) << "the affinity ignores \"&Copie\"";
}

// What the rows say about themselves must agree: their prompts are theirs, a drag shows
// a preview, and a copy variant keeps the selected points beside their images while
// the plain one moves them.
TEST(TransformationTable, EachRowAgreesWithItself)
{
    for (const Transformation& row : transformations()) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_TRUE(row.secondPhasePrompt.starts_with(row.name));
        EXPECT_TRUE(row.secondClickPrompt.empty() || row.secondClickPrompt == " "
                    || row.secondClickPrompt.starts_with(row.name));
        EXPECT_EQ(row.preview.has_value(), row.secondPick == PickKind::Segment)
            << "a segment dragged previews its transformation, nothing else does";
        EXPECT_NE(row.copyMode, std::optional<InteractionMode>(row.mode));

        // Three points selected, one left out; the images are at other abscissas.
        CurveDocument doc;
        for (CurvePoint p : {CurvePoint{1, 1}, CurvePoint{2, 4}, CurvePoint{4, 2}, CurvePoint{10, 10}})
            doc.appendPoint(p);
        const Selection selection{{0, 0}, {5, 5}};
        // Centre (0, 3) and factor 3; the same fields read by the affinity say along y, by 3.
        EnteredValues entered;
        entered.setPoint({0, 3});
        EnteredFields::Factor.set(entered, 3);
        ASSERT_EQ(entered.affinityDirection(), 0);
        ASSERT_EQ(entered.affinityFactor(), 3);
        const TransformInput input{entered, true, {0, 0}, {0.5, 0.75}};
        for (bool copy : {false, true}) {
            if (copy && !row.copyMode)
                continue;
            SCOPED_TRACE(copy ? "copy" : "move");
            CurveDocument transformed = doc;
            const TransformResult result = row.apply(transformed, selection, input, copy);
            EXPECT_TRUE(result.changed);
            EXPECT_EQ(transformed.count(), copy ? 7 : 4);
            EXPECT_EQ(holds(transformed, {1, 1}), copy);
            EXPECT_TRUE(holds(transformed, {10, 10}));
        }
    }
}
