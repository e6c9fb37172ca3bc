#pragma once

#include "draw/PixelGeometry.h"
#include "editor/Editor.h"
#include "editor/EditorCommands.h"
#include "editor/EditorHost.h"

#include <string_view>

enum class MouseButton {
    Left,
    Right
};

inline constexpr std::string_view PointAddedFormat = "Acquisition du point n°%d en (%.3f , %.3f)";
inline constexpr std::string_view NewCentreFormat = "Nouveau centre en %8.3f,%8.3f";
// A typed point whose coordinates are not finite (1/0): it could never be saved and read back.
inline constexpr std::string_view TypedPointRefusedText = "Coordonnées incorrectes !!!\nLe point n'est pas ajouté";
inline constexpr std::string_view TypedPointRefusedCaption = "Attention";

// A button pressed on the drawing area at a pixel of its picture, meant by the editor's
// mode: add a point or type one ("&Point"), delete the nearest point or bring it back
// ("&Effacer"), recentre the view once ("&Centre"). Status texts go straight to the
// status line; the outcome says what to redraw. Other modes ignore the click.
CommandOutcome canvasClick(Editor& editor, EditorHost& host, MouseButton button, PixelPoint at);
