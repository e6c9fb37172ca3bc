#pragma once

// The main window's controls, numbered as its template numbers them. Commands are
// looked up by these ids, and tests find the widgets by them.
namespace ControlId {
inline constexpr int Stop = 1;           // "&Arrêt"
inline constexpr int Cancel = 2;         // Escape and the close box
inline constexpr int Help = 9;           // "&Aide"
inline constexpr int PointEntry = 10;    // "&Point"
inline constexpr int Homothety = 12;     // "&Homo."
inline constexpr int Bounds = 16;        // "&Bornes"
inline constexpr int DeletePoint = 19;   // "&Effacer"
inline constexpr int EraseWindow = 20;   // "&Effac Fen"
inline constexpr int Formula = 21;       // "&Formule"
inline constexpr int Print = 22;         // "&Imprimer"
inline constexpr int List = 23;          // "&Liste"
inline constexpr int Translate = 30;     // "&Trans"
inline constexpr int Undo = 31;          // "&Undo"
inline constexpr int FitAll = 32;        // "&Tout"
inline constexpr int Previous = 33;      // "&Préc"
inline constexpr int ZoomWindow = 35;    // "&Fenêtre"
inline constexpr int Mirror = 39;        // "&Miroir"
inline constexpr int CopyPicture = 40;   // "&Copier"
inline constexpr int ZoomOut = 46;       // "&Moins"
inline constexpr int ZoomIn = 47;        // "&Plus"
inline constexpr int Rotate = 50;        // "&Rotat"
inline constexpr int Redraw = 52;        // "&Redess"
inline constexpr int Affinity = 55;      // "&Affinité"
inline constexpr int InputGroup = 100;   // "Saisie"
inline constexpr int Reset = 105;        // "&R.A.Z."
inline constexpr int TransformGroup = 108; // "&Transfos"
inline constexpr int CopyMode = 114;     // "&Copie"
inline constexpr int ZoomGroup = 118;    // "&Zoom"
inline constexpr int Centre = 124;       // "&Centre"
inline constexpr int CoordGroup = 126;   // "Coord"
inline constexpr int MouseX = 127;       // x under the mouse
inline constexpr int MouseY = 128;       // y under the mouse
inline constexpr int DrawingFrame = 140; // the drawing area's place
inline constexpr int StatusLine = 150;
inline constexpr int PointCount = 160;
inline constexpr int OpenFile = 1002;    // "Fichier"
inline constexpr int Save = 1003;        // "&Enregistrer"
inline constexpr int SmoothAucun = 1004; // "Aucun"; "Cubique", "Akima", "Carlson" follow
inline constexpr int SmoothCubique = 1005;
inline constexpr int SmoothAkima = 1006;
inline constexpr int SmoothCarlson = 1007;
inline constexpr int Derivative1Box = 1009; // "Dérivée 1"
inline constexpr int Derivative2Box = 1010; // "Dérivée 2"
inline constexpr int IntegralBox = 1011;    // "Intégration"
inline constexpr int Periodic = 1013;       // "Périodicité"
inline constexpr int Units = 1018;          // "Unités" combo box
inline constexpr int NoId = -1;             // a control no command refers to
} // namespace ControlId
