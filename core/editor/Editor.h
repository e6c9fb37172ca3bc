#pragma once

#include "curve/CurveDocument.h"
#include "editor/InteractionMode.h"
#include "editor/ViewGestures.h"
#include "formula/FormulaDialogMemory.h"
#include "settings/CSettingsStore.h"
#include "settings/InstallationDirectories.h"
#include "transform/EnteredValues.h"
#include "transform/PickFeedback.h"
#include "view/CanvasMapping.h"
#include "view/DisplayFlags.h"
#include "view/PlotRenderer.h"
#include "view/ViewWindow.h"

#include <optional>
#include <string>

// The program-wide records of one editing run, owned here and passed by reference so
// that every test can start from a fresh editor.
struct Editor {
    CurveDocument document;
    ViewState view;
    InteractionMode interactionMode = InteractionMode::Idle;
    EnteredValues entered;
    FormulaDialogMemory formulaMemory;
    // Where the program was installed and started from, for the units file and the help
    // file; none in tests that do not look for them.
    std::optional<InstallationDirectories> installation;
    // The product's user and system settings (not owned; kept by start-up for the run).
    const CSettingsStore* settings = nullptr;
    // The file the editor was started on, as an absolute path (the product reads it back
    // when the editor ends), whether or not it could be read; empty without one.
    std::string startupPath;
    DisplayFlags displayFlags; // the derived curves shown
    std::string statusText;    // what the status line shows at the end of every command

    // The drawing area: how it maps the view window now, the arrays its redraws reuse,
    // and the flag every repaint of the plot sets (the mouse picks read and clear it).
    CanvasMapping mapping;
    PlotBuffers plotBuffers;
    bool plotRepainted = false;
    // The bands, the saved selection and the preview buffer of the one pick at a time,
    // and whether it is under way (the wheel, the middle button and a drop then do
    // nothing).
    PickFeedback pickFeedback;
    bool pickRunning = false;
    // The wheel's run of notches and the middle button's drag (editor/ViewGestures.h).
    WheelRun wheelRun;
    PanDrag panDrag;
};
