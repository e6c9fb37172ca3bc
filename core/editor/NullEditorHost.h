#pragma once

#include "editor/EditorHost.h"

// A host with no window: every dialog is cancelled, every message box gets its safe
// answer (Cancel, No, or OK when that is all it has), every display call is ignored and
// nothing is printed or copied. Headless hosts (tests, fuzzers, benchmarks) derive from
// it and override only what they script; a new host call is one virtual in EditorHost,
// its null answer here and the main window's override.
class NullEditorHost : public EditorHost {
public:
    MessageAnswer showMessage(const UserMessage& message) override { return safeAnswer(message.buttons); }
    std::vector<CurvePoint> runFormulaDialog() override { return {}; }
    bool runBoundsDialog(bool& allRead) override
    {
        allRead = true;
        return false;
    }
    std::optional<std::string> chooseFileToOpen() override { return std::nullopt; }
    SaveOutcome saveCurve() override { return SaveOutcome::Cancelled; }
    std::string shownUnit() const override { return {}; }
    void showCursor(CursorRequest) override { }
    bool copyModeTicked() const override { return false; }
    void showStatus(const std::string&) override { }
    void showCoordinates(double, double) override { }
    bool runParameterDialog(ParameterDialog, const std::string&) override { return false; }
    void printCurve() override { }
    bool copyCurvePicture() override { return true; }
    PointListResult runPointListDialog() override { return {}; }
    void showHelp(const std::string&, const std::string&) override { }
    // Nobody feeds the pick: it ends as it started, without a result.
    bool runPick(MousePick&) override { return false; }
};
