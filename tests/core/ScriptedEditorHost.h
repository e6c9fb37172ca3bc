#pragma once

#include "draw/RecordingSurface.h"
#include "editor/Editor.h"
#include "editor/MousePick.h"
#include "editor/NullEditorHost.h"

#include <deque>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Plays the user for the commands: answers their message boxes and dialogs from a
// script, feeds each pick the next script of events on an 800 x 600 picture, and
// records what they showed.
class ScriptedHost : public NullEditorHost {
public:
    Editor* editor = nullptr;
    RecordingSurface picture{{800, 600}};

    // Message boxes: the next scripted answer; unscripted, No to a question, else OK.
    std::vector<UserMessage> messages;
    std::deque<MessageAnswer> answers;
    MessageAnswer showMessage(const UserMessage& message) override
    {
        messages.push_back(message);
        if (answers.empty())
            return safeAnswer(message.buttons);
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<CurvePoint> formulaPoints;
    std::vector<CurvePoint> runFormulaDialog() override { return formulaPoints; }

    struct Bounds {
        bool accepted = true;
        bool allRead = true;
        ViewWindow window;
    };
    Bounds bounds;
    int boundsDialogs = 0;
    bool runBoundsDialog(bool& allRead) override
    {
        ++boundsDialogs;
        allRead = bounds.allRead;
        if (bounds.accepted) {
            EnteredValues& e = editor->entered;
            EnteredFields::Xmin.set(e, bounds.window.xmin);
            EnteredFields::Ymin.set(e, bounds.window.ymin);
            EnteredFields::Xmax.set(e, bounds.window.xmax);
            EnteredFields::Ymax.set(e, bounds.window.ymax);
        }
        return bounds.accepted;
    }

    std::deque<std::optional<std::string>> openPaths;
    std::optional<std::string> chooseFileToOpen() override
    {
        if (openPaths.empty())
            return std::nullopt;
        auto p = openPaths.front();
        openPaths.pop_front();
        return p;
    }

    std::deque<SaveOutcome> saveOutcomes;
    int saveCount = 0;
    SaveOutcome saveCurve() override
    {
        ++saveCount;
        if (saveOutcomes.empty())
            return SaveOutcome::Cancelled;
        SaveOutcome o = saveOutcomes.front();
        saveOutcomes.pop_front();
        return o;
    }

    std::string unit = "mm";
    std::string shownUnit() const override { return unit; }

    std::vector<CursorRequest> cursors;
    void showCursor(CursorRequest cursor) override { cursors.push_back(cursor); }

    bool copyTicked = false;
    bool copyModeTicked() const override { return copyTicked; }

    std::vector<std::string> statusShown;
    void showStatus(const std::string& text) override { statusShown.push_back(text); }
    std::vector<CurvePoint> coordinates;
    void showCoordinates(double x, double y) override { coordinates.push_back({x, y}); }

    // Each dialog opened takes the next scripted answer: the numbers typed into its
    // fields, in the order the dialog reads them (enteredFieldsOf), each written where the
    // dialog writes it (one not given stays, as a field that does not evaluate), or a
    // cancel.
    struct DialogAnswer {
        bool accepted = false;
        std::vector<std::optional<double>> typed = {};
    };
    std::deque<DialogAnswer> dialogAnswers;
    struct OpenedDialog {
        ParameterDialog dialog;
        std::string title;
        friend bool operator==(const OpenedDialog&, const OpenedDialog&) = default;
    };
    std::vector<OpenedDialog> dialogsOpened;
    bool runParameterDialog(ParameterDialog dialog, const std::string& title) override
    {
        dialogsOpened.push_back({dialog, title});
        DialogAnswer a;
        if (!dialogAnswers.empty()) {
            a = dialogAnswers.front();
            dialogAnswers.pop_front();
        }
        if (!a.accepted)
            return false;
        const std::span<const EnteredField> fields = enteredFieldsOf(dialog);
        if (a.typed.size() > fields.size())
            throw std::logic_error("more numbers scripted than the dialog has fields");
        for (std::size_t i = 0; i < a.typed.size(); ++i)
            if (a.typed[i])
                fields[i].set(editor->entered, *a.typed[i]);
        return true;
    }

    int printed = 0;
    void printCurve() override { ++printed; }
    bool pictureCopied = true;
    bool copyCurvePicture() override { return pictureCopied; }
    PointListResult listResult;
    PointListResult runPointListDialog() override { return listResult; }
    std::vector<std::pair<std::string, std::string>> helpShown;
    void showHelp(const std::string& path, const std::string& topic) override { helpShown.push_back({path, topic}); }

    // Picks: each takes the next script of events.
    std::deque<std::vector<PickEvent>> picks;
    int picksRun = 0;
    bool replayRequested = false;
    bool quitRequested = false;
    bool unfinishedPick = false;
    bool runPick(MousePick& pick) override
    {
        ++picksRun;
        std::vector<PickEvent> script;
        if (!picks.empty()) {
            script = picks.front();
            picks.pop_front();
        }
        bool running = true;
        for (const PickEvent& event : script)
            if (running)
                running = pick.handle(event, picture);
        unfinishedPick = unfinishedPick || running;
        replayRequested = pick.clickToReplay();
        quitRequested = pick.quitRequested();
        return pick.result();
    }
};
