#pragma once

#include "editor/Editor.h"
#include "editor/EditorHost.h"
#include "editor/MainControl.h"
#include "settings/SupportFile.h"
#include "view/ViewWindow.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view PointLimitMessage = "La limite de points a été atteinte !!!";
inline constexpr std::string_view PointLimitCaption = "Attention";
inline constexpr std::string_view PointEntryPrompt = "Gauche-Saisir Point / Droit-Saisir Coordonnées";
inline constexpr std::string_view PointDeletePrompt = "Gauche = Supprimer un point";
inline constexpr std::string_view NoPointToDeleteText = "Pas de point à supprimer";
inline constexpr std::string_view CentrePrompt = "Cliquer le centre de la courbe";
inline constexpr std::string_view ResetQuestion = "Voulez-vous vraiment tout effacer ?";
inline constexpr std::string_view ResetCaption = "Attention !";
inline constexpr std::string_view SaveQuestion = "Les données ont été modifiées\nVoulez-vous les sauvegarder ?";
inline constexpr std::string_view SaveQuestionCaption = "Sortie";
inline constexpr std::string_view BoundsStatusFormat = "Nouvelles bornes (%.2f, %.2f), (%.2f, %.2f)";
inline constexpr std::string_view BoundsErrorText = "Bornes incorrectes !!!";
inline constexpr std::string_view BlankStatus = " ";

inline constexpr std::string_view PrintingStatus = "Impression de la courbe";
inline constexpr std::string_view ClipboardFailedMessage = "Impossible de sauver la courbe\ndans le clipboard !!!";
inline constexpr std::string_view ClipboardFailedCaption = "** ATTENTION **";

// Shows the help file at `topic` (its contents when empty), or says it is missing.
void showHelpTopic(Editor& editor, EditorHost& host, std::string_view topic);
// Where the installed help file is, if it is installed.
std::optional<std::string> helpFilePath(const Editor& editor);

// What a control hands its command: which control, and for check boxes the state after
// the click.
struct CommandInput {
    MainControl id = MainControl::NoId;
    bool ticked = false;
};
using EditorCommand = CommandOutcome (*)(Editor&, EditorHost&, const CommandInput&);

// The one registration of a main-window command: the window's dispatch, the session
// fuzzer's list of commands and the test that every button has a command all come
// from this table.
struct CommandEntry {
    MainControl id;
    EditorCommand run;
};
std::span<const CommandEntry> editorCommands();
// The entry of control `id`; none for a control that sends no command.
const CommandEntry* findCommand(MainControl id);

// Runs the command of control `id` on the editor. `ticked` is the state of the
// control after the click, for check boxes. "&Copie" and the unit box only blank the
// status text.
CommandOutcome runEditorCommand(Editor& editor, EditorHost& host, MainControl id, bool ticked = false);

// The stop path: asks whether to save a modified curve. "Non" stops at once; "Oui"
// saves (a failed write brings the save dialog back) and stops once the file is
// written; a save dialog cancelled goes back to editing with nothing changed.
CommandOutcome stopEditing(Editor& editor, EditorHost& host);

// Whether a file dropped on the main window is taken: its name matches the open
// dialog's filters (a curve file or an ASCII point file, letter case ignored) and no
// pick is under way. The drop cursor refuses anything else.
bool acceptsDroppedFile(const Editor& editor, std::string_view path);
// Opens a dropped file as "Fichier" opens the file chosen: its name checked as the
// dialog checks it, the save question first when the curve is modified, then the
// reader chosen by its name, the settings shown, the snapshot, the fit and the redraw.
CommandOutcome openDroppedFile(Editor& editor, EditorHost& host, const std::string& path);

// The name the save dialog offers: the file the curve was last read from or saved to,
// else the file the editor was started on, which the product reads back.
std::string saveDialogName(const Editor& editor);
