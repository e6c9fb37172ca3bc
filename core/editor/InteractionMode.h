#pragma once

// What a click on the drawing area means and which command is under way. The values
// are the ones the program has always used (mostly the id of the command that set
// them); only the named modes change what a click does. Each transformation's modes,
// its copy variant's included, are given by its row in editor/Transformations.h.
enum class InteractionMode : int {
    Idle = 0,
    PointEntry = 10,
    PickCentre = 11,
    Homothety = 12,
    BoundsEntry = 16,
    PointDelete = 19,
    EraseWindow = 20,  // rectangle deletion
    FormulaEntry = 21, // set by "&Formule"
    ListEntry = 23,    // set by "&Liste"
    Translate = 30,
    PreviousWindow = 33, // set by "&Préc"
    ZoomWindow = 35,
    Mirror = 39,
    MirrorCopy = 48,
    HomothetyCopy = 49,
    Rotate = 50,
    RotateCopy = 53,
    TranslateCopy = 54,
    Affinity = 55,
    Reset = 105, // set by "&R.A.Z."
    ModeFinished = 999,
};
