#pragma once

#include "editor/Editor.h"
#include "editor/EditorHost.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Answers the commands' dialogs from a script and records what they showed.
class ScriptedHost : public EditorHost {
public:
    std::vector<UserMessage> messages;
    std::deque<MessageAnswer> answers;
    std::vector<CurvePoint> formulaPoints;
    struct Bounds { bool accepted = true; bool allRead = true; ViewWindow window; };
    Bounds bounds;
    std::deque<std::optional<std::string>> openPaths;
    std::deque<SaveOutcome> saveOutcomes;
    int saveCount = 0;
    int boundsDialogs = 0;
    std::string unit = "mm";
    std::vector<CursorRequest> cursors;
    Editor* editor = nullptr;

    MessageAnswer showMessage(const UserMessage& message) override
    {
        messages.push_back(message);
        if (answers.empty())
            return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<CurvePoint> runFormulaDialog() override { return formulaPoints; }
    bool runBoundsDialog(bool& allRead) override
    {
        ++boundsDialogs;
        allRead = bounds.allRead;
        if (bounds.accepted)
            editor->entered = {bounds.window.xmin, bounds.window.ymin, bounds.window.xmax, bounds.window.ymax, 1};
        return bounds.accepted;
    }
    std::optional<std::string> chooseFileToOpen() override
    {
        if (openPaths.empty())
            return std::nullopt;
        auto p = openPaths.front();
        openPaths.pop_front();
        return p;
    }
    SaveOutcome saveCurve() override
    {
        ++saveCount;
        if (saveOutcomes.empty())
            return SaveOutcome::Cancelled;
        SaveOutcome o = saveOutcomes.front();
        saveOutcomes.pop_front();
        return o;
    }
    std::string shownUnit() const override { return unit; }
    void showCursor(CursorRequest cursor) override { cursors.push_back(cursor); }
    bool runPointListDialog() override { return listAccepted; }
    void printCurve() override { ++printed; }
    bool copyCurvePicture() override { return pictureCopied; }
    int printed = 0;
    bool pictureCopied = true;
    void showHelp(const std::string& path, const std::string& topic) override { helpShown.push_back({path, topic}); }
    bool listAccepted = false;
    std::vector<std::pair<std::string, std::string>> helpShown;
    bool copyModeTicked() const override { return false; }
    void showStatus(const std::string& text) override { statusShown.push_back(text); }
    void showCoordinates(double, double) override {}
    // Each dialog opened takes the next scripted answer: the values it writes (its own
    // fields only, as the real dialogs do) or a cancel.
    struct DialogAnswer { bool accepted = false; std::optional<double> x, y, value; };
    std::deque<DialogAnswer> dialogAnswers;
    struct OpenedDialog { ParameterDialog dialog; std::string title; };
    std::vector<OpenedDialog> dialogsOpened;
    bool runParameterDialog(ParameterDialog dialog, const std::string& title) override
    {
        dialogsOpened.push_back({dialog, title});
        if (dialogAnswers.empty())
            return false;
        DialogAnswer a = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (a.accepted) {
            if (a.x) editor->entered.x = *a.x;
            if (a.y) editor->entered.y = *a.y;
            if (a.value) editor->entered.value = *a.value;
        }
        editor->entered.accepted = a.accepted ? 1 : 0;
        return a.accepted;
    }
    bool runPick(MousePick&) override { return false; }
    std::vector<std::string> statusShown;
};

