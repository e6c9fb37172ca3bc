#pragma once

#include "curve/CurveDocument.h"
#include "formula/FormulaDialogMemory.h"
#include "transform/EnteredValues.h"
#include "view/ViewWindow.h"

// What a click on the drawing area means and which command is under way.
enum InteractionMode : int {
    Idle = 0,
    PointEntry = 10,
    PickCentre = 11,
    BoundsEntry = 16,
    PointDelete = 19,
    EraseWindow = 20,
    ZoomWindow = 35,
    ModeFinished = 999,
};

// The program-wide records of one editing run, owned here and passed by reference so
// that every test can start from a fresh editor.
struct Editor {
    CurveDocument document;
    ViewState view;
    int interactionMode = Idle;
    EnteredValues entered;
    FormulaDialogMemory formulaMemory;
};
