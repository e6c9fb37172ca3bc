#include "transform/EnteredValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

// What a dialog reads, written where its description says, is read back by what it
// means; no two of its numbers share a field, and the fields it does not name keep
// their values.
TEST(EnteredValues, EachDialogsNumbersAreReadBackByWhatTheyMean)
{
    struct Case {
        const char* dialog;
        std::span<const EnteredField> fields;
        std::vector<double> typed;
        std::function<void(const EnteredValues&)> check;
    };
    const Case cases[] = {
        {"Homothétie",
         enteredFieldsOf(ParameterDialog::Factor),
         {2.5},
         [](const EnteredValues& e) { EXPECT_EQ(e.factor(), 2.5); }},
        {"Coordonnées du Point",
         enteredFieldsOf(ParameterDialog::Point),
         {3, -4},
         [](const EnteredValues& e) {
             EXPECT_EQ(e.point(), (CurvePoint{3, -4}));
         }},
        {"Rotation",
         enteredFieldsOf(ParameterDialog::PointAndAngle),
         {1, 2, 0.5},
         [](const EnteredValues& e) {
             EXPECT_EQ(e.point(), (CurvePoint{1, 2}));
             EXPECT_EQ(e.angle(), 0.5);
         }},
        {"Affinité along x",
         enteredFieldsOf(ParameterDialog::Affinity),
         {1, 2},
         [](const EnteredValues& e) {
             EXPECT_EQ(e.affinityDirection(), 1);
             EXPECT_EQ(e.affinityFactor(), 2);
         }},
        {"Affinité along y",
         enteredFieldsOf(ParameterDialog::Affinity),
         {0, 0.25},
         [](const EnteredValues& e) {
             EXPECT_EQ(e.affinityDirection(), 0);
             EXPECT_EQ(e.affinityFactor(), 0.25);
         }},
        {"Bornes de Tracé",
         BoundsDialogFields,
         {-1, -2, 3, 4},
         [](const EnteredValues& e) {
             EXPECT_EQ(e.bounds(), (ViewWindow{-1, -2, 3, 4}));
         }},
    };
    const EnteredValues before{11, 12, 13, 14};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        ASSERT_EQ(c.fields.size(), c.typed.size());
        EnteredValues entered = before;
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            c.fields[i].set(entered, c.typed[i]);
        c.check(entered);
        for (double EnteredValues::*slot :
             {&EnteredValues::x, &EnteredValues::y, &EnteredValues::value, &EnteredValues::value2}) {
            int named = 0;
            for (const EnteredField& field : c.fields)
                named += field.slot == slot ? 1 : 0;
            EXPECT_LE(named, 1) << "two numbers of one dialog in one field";
            if (named == 0) {
                EXPECT_EQ(entered.*slot, before.*slot) << "a field the dialog does not name";
            }
        }
    }
}
