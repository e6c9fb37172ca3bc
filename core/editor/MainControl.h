#pragma once

#include "curve/SmoothingMode.h"

// The main window's controls, numbered as its template numbers them. Commands are
// registered under these ids (EditorCommands), the window's layout places them, and
// tests find the widgets by them.
enum class MainControl : int {
    Stop = 1,             // "&Arrêt"
    Cancel = 2,           // Escape and the close box
    Help = 9,             // "&Aide"
    PointEntry = 10,      // "&Point"
    Homothety = 12,       // "&Homo."
    Bounds = 16,          // "&Bornes"
    DeletePoint = 19,     // "&Effacer"
    EraseWindow = 20,     // "&Effac Fen"
    Formula = 21,         // "&Formule"
    Print = 22,           // "&Imprimer"
    List = 23,            // "&Liste"
    Translate = 30,       // "&Trans"
    Undo = 31,            // "&Undo"
    FitAll = 32,          // "&Tout"
    Previous = 33,        // "&Préc"
    ZoomWindow = 35,      // "&Fenêtre"
    Mirror = 39,          // "&Miroir"
    CopyPicture = 40,     // "&Copier"
    ZoomOut = 46,         // "&Moins"
    ZoomIn = 47,          // "&Plus"
    Rotate = 50,          // "&Rotat"
    Redraw = 52,          // "&Redess"
    Affinity = 55,        // "&Affinité"
    InputGroup = 100,     // "Saisie"
    Reset = 105,          // "&R.A.Z."
    TransformGroup = 108, // "&Transfos"
    CopyMode = 114,       // "&Copie"
    ZoomGroup = 118,      // "&Zoom"
    Centre = 124,         // "&Centre"
    CoordGroup = 126,     // "Coord"
    MouseX = 127,         // x under the mouse
    MouseY = 128,         // y under the mouse
    DrawingFrame = 140,   // the drawing area's place
    StatusLine = 150,
    PointCount = 160,
    OpenFile = 1002,    // "Fichier"
    Save = 1003,        // "&Enregistrer"
    SmoothAucun = 1004, // "Aucun"; "Cubique", "Akima", "Carlson" follow
    SmoothCubique = 1005,
    SmoothAkima = 1006,
    SmoothCarlson = 1007,
    Derivative1Box = 1009, // "Dérivée 1"
    Derivative2Box = 1010, // "Dérivée 2"
    IntegralBox = 1011,    // "Intégration"
    Periodic = 1013,       // "Périodicité"
    Units = 1018,          // "Unités" combo box
    NoId = -1,             // a control no command refers to
};

// The four smoothing radio buttons follow one another in the order of the modes. A
// mode outside them (as a file may hold) joins the points as Aucun does, so it shows
// as Aucun.
constexpr MainControl smoothingControl(SmoothingMode mode)
{
    const SmoothingMode shown = isListedSmoothingMode(mode) ? mode : Aucun;
    return static_cast<MainControl>(static_cast<int>(MainControl::SmoothAucun) + shown);
}
constexpr SmoothingMode smoothingModeOf(MainControl radio)
{
    return static_cast<SmoothingMode>(static_cast<int>(radio) - static_cast<int>(MainControl::SmoothAucun));
}
