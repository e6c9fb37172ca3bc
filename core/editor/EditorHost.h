#pragma once

#include "curve/CurvePoint.h"
#include "editor/UserMessage.h"

#include <optional>
#include <string>
#include <vector>

enum class SaveOutcome { Written, Cancelled, Failed };
enum class CursorRequest { Unchanged, Arrow, Cross };

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
    // then in the editor's EnteredValues; `allRead` false when a field did not evaluate.
    virtual bool runBoundsDialog(bool& allRead) = 0;
    // The open dialog: the chosen path, nothing when cancelled or refused (the dialog's
    // own message has then been shown).
    virtual std::optional<std::string> chooseFileToOpen() = 0;
    // The save dialog and the write, each with its own messages.
    virtual SaveOutcome saveCurve() = 0;
    // The unit shown in "Unités", at most 15 characters.
    virtual std::string unitText() const = 0;
    // Changes the drawing area's cursor at once (before a dialog opens).
    virtual void setCursor(CursorRequest cursor) = 0;
};
