#pragma once

#include "common/CommandOutcome.h"
#include "common/UserMessage.h"
#include "curve/CurvePoint.h"
#include "curve/PointList.h"
#include "transform/EnteredValues.h" // ParameterDialog

#include <optional>
#include <string>
#include <vector>

class MousePick;

// What a command needs from the window around it: the dialogs and message boxes it
// shows the user. The program answers with real widgets, the tests from a script.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Shows a message box now and gives the button the user pressed.
    virtual MessageAnswer showMessage(const UserMessage& message) = 0;
    // The formula dialog: the points it computed, none when it was cancelled.
    virtual std::vector<CurvePoint> runFormulaDialog() = 0;
    // The bounds dialog over the current window. True when accepted, the typed values
    // then in the editor's EnteredValues (BoundsDialogFields); `allRead` false when a
    // field did not evaluate.
    virtual bool runBoundsDialog(bool& allRead) = 0;
    // The open dialog: the chosen path, nothing when cancelled or refused (the dialog's
    // own message has then been shown).
    virtual std::optional<std::string> chooseFileToOpen() = 0;
    // The save dialog and the write, each with its own messages.
    virtual SaveOutcome saveCurve() = 0;
    // The unit shown in "Unités", at most 15 characters.
    virtual std::string shownUnit() const = 0;
    // Changes the drawing area's cursor at once (before a dialog opens).
    virtual void showCursor(CursorRequest cursor) = 0;
    // The state of the "&Copie" box.
    virtual bool copyModeTicked() const = 0;

    // Writes a text into the status line at once, without changing statusText.
    virtual void showStatus(const std::string& text) = 0;
    // Shows world coordinates in the read-out fields.
    virtual void showCoordinates(double x, double y) = 0;
    // Opens a parameter dialog (at the mouse for all but "Affinité"), with `title` in
    // place of the template's when not empty. True when accepted, the values then in
    // the editor's EnteredValues (only the fields enteredFieldsOf(dialog) names change).
    virtual bool runParameterDialog(ParameterDialog dialog, const std::string& title) = 0;
    // Prints the curve page after the print dialog.
    virtual void printCurve() = 0;
    // Puts the picture of the curve on the clipboard; false when it could not.
    virtual bool copyCurvePicture() = 0;
    // The point list dialog over the document.
    virtual PointListResult runPointListDialog() = 0;
    // Shows the help file at `path`, at the anchor `topic` (its contents when empty).
    virtual void showHelp(const std::string& path, const std::string& topic) = 0;
    // Runs a started pick to its end, feeding it the user's mouse and key events and
    // the drawing area's picture to draw on; gives the pick's result.
    virtual bool runPick(MousePick& pick) = 0;
};
