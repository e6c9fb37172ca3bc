#pragma once

#include "curve/CurveDocument.h"
#include "curve/CurvePoint.h"
#include "editor/InteractionMode.h"
#include "editor/MainControl.h"
#include "editor/MousePick.h" // PickKind
#include "transform/EnteredValues.h"
#include "transform/PickFeedback.h" // PreviewOperation
#include "transform/TransformOperations.h"

#include <optional>
#include <span>
#include <string_view>

// What the second phase of a transformation gave its operation: a segment dragged on
// the drawing area, or the values of the dialogs in `entered` (where the centre pick
// also puts the centre it was clicked on).
struct TransformInput {
    const EnteredValues& entered;
    bool dragged = false; // a segment was dragged from `from` to `to` (world coordinates)
    CurvePoint from{};
    CurvePoint to{};
};

using TransformOperation = TransformResult (*)(CurveDocument& doc, const Selection& selection,
                                               const TransformInput& input, bool copy);

// One transformation of the "&Transfos" group: its button, its modes, its prompts, how it
// takes its second input once the selection is made, and what it does. The commands
// (PickCommands) and the picks (MousePick) read nothing else about it.
struct Transformation {
    MainControl command;
    InteractionMode mode;
    // The mode when "&Copie" is ticked; none when the box is ignored.
    std::optional<InteractionMode> copyMode;
    // The prompts of the selection start with it.
    std::string_view name;
    // Written once the selection is made, then at the first click of the second pick
    // (nothing when empty).
    std::string_view secondPhasePrompt;
    std::string_view secondClickPrompt;
    // The pick of the second input; none when the dialog alone takes it.
    std::optional<PickKind> secondPick;
    // The dialog of the second input: what the right button opens during the pick, or
    // the only input. Its title replaces the template's when not empty.
    ParameterDialog dialog;
    std::string_view dialogTitle;
    // What a segment drag shows while the mouse moves; none for no preview.
    std::optional<PreviewOperation> preview;
    TransformOperation apply;
};

// The rows, one per transformation.
std::span<const Transformation> transformations();
// The row of a button, or of a mode (plain or copy variant); none for anything else.
const Transformation* findTransformation(MainControl command);
const Transformation* findTransformation(InteractionMode mode);
