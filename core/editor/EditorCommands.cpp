#include "editor/EditorCommands.h"

#include "curve/CurveFile.h"
#include "curve/FileDialogRules.h"
#include "editor/MainControl.h"
#include "editor/PickCommands.h"
#include "settings/SupportFile.h"
#include "text/NumberText.h"
#include "view/SmoothCurve.h"

#include <algorithm>
#include <span>
#include <string>

namespace {

void fitEditorView(Editor& editor)
{
    fitView(editor.view, editor.document.points(), editor.document.smoothingMode, editor.displayFlags,
            editor.plotBuffers.curve);
}

// "Oui" to the save question: the unit shown goes into the curve and the save dialog
// opens; with `retryFailedWrite`, a write that failed brings the dialog back. True once
// the curve is written.
bool saveAfterYes(Editor& editor, EditorHost& host, bool retryFailedWrite)
{
    editor.document.unitName = host.shownUnit();
    SaveOutcome saved = host.saveCurve();
    while (saved == SaveOutcome::Failed && retryFailedWrite)
        saved = host.saveCurve();
    return saved == SaveOutcome::Written;
}

CommandOutcome printCommand(Editor&, EditorHost& host, const CommandInput&)
{
    host.showCursor(CursorRequest::Arrow);
    host.showStatus(std::string(PrintingStatus));
    host.printCurve();
    host.showStatus(std::string(BlankStatus));
    return {};
}

CommandOutcome copyPictureCommand(Editor&, EditorHost& host, const CommandInput&)
{
    if (!host.copyCurvePicture())
        host.showMessage({std::string(ClipboardFailedMessage), std::string(ClipboardFailedCaption), MessageButtons::Ok,
                          MessageIcon::Error, MessageOwner::Focus});
    return {};
}

CommandOutcome helpCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    showHelpTopic(editor, host, "");
    return {};
}

CommandOutcome listCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    host.showCursor(CursorRequest::Arrow);
    editor.interactionMode = InteractionMode::ListEntry;
    CommandOutcome out;
    out.showCount = true;
    const PointListResult result = host.runPointListDialog();
    // A file read by the list has set the document's smoothing, periodicity and unit
    // whatever became of the list: the window shows them, and the plot uses the mode.
    if (result.fileRead) {
        out.showCurveSettings = true;
        out.selectUnit = true;
        out.redraw = RedrawKind::Full;
    }
    if (!result.accepted) {
        out.cursor = CursorRequest::Arrow;
        return out;
    }
    // After the change: "&Undo" returns to the list's state.
    editor.document.takeSnapshot();
    if (editor.document.count() > 1)
        fitEditorView(editor);
    out.redraw = RedrawKind::Full;
    return out;
}

CommandOutcome stopCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    return stopEditing(editor, host);
}

CommandOutcome pointEntryCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    CommandOutcome out;
    if (editor.document.count() >= MaxCurvePoints) {
        host.showMessage({std::string(PointLimitMessage), std::string(PointLimitCaption), MessageButtons::Ok,
                          MessageIcon::Error, MessageOwner::Window});
        return out;
    }
    editor.interactionMode = InteractionMode::PointEntry;
    editor.statusText = std::string(PointEntryPrompt);
    out.cursor = CursorRequest::Cross;
    return out;
}

CommandOutcome boundsCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    CommandOutcome out;
    editor.interactionMode = InteractionMode::BoundsEntry;
    bool allRead = true;
    const bool accepted = host.runBoundsDialog(allRead);
    // The mode ends with the dialog, so that later repaints draw the plot again.
    editor.interactionMode = InteractionMode::ModeFinished;
    if (!accepted)
        return out;
    const ViewWindow requested = editor.entered.bounds();
    // A field that does not evaluate would leave a stale value in place: refused too.
    if (allRead && requested.xmax > requested.xmin && requested.ymax > requested.ymin && isUsableWindow(requested)) {
        editor.statusText =
            cformat(BoundsStatusFormat, {requested.xmin, requested.ymin, requested.xmax, requested.ymax});
        out.redraw = RedrawKind::Full;
        setViewWindow(editor.view, requested);
    } else {
        host.showMessage(
            {std::string(BoundsErrorText), "", MessageButtons::Ok, MessageIcon::Error, MessageOwner::Focus});
    }
    return out;
}

CommandOutcome deletePointCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    editor.interactionMode = InteractionMode::PointDelete;
    editor.statusText = std::string(editor.document.count() == 0 ? NoPointToDeleteText : PointDeletePrompt);
    return {};
}

CommandOutcome formulaCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    CurveDocument& doc = editor.document;
    host.showCursor(CursorRequest::Arrow);
    editor.interactionMode = InteractionMode::FormulaEntry;
    doc.takeSnapshot();
    CommandOutcome out;
    const std::vector<CurvePoint> points = host.runFormulaDialog();
    if (points.empty())
        return out;
    // What does not fit in the curve is dropped without a word.
    const int appended = doc.appendPoints(points);
    doc.normalize();
    if (appended > 1)
        fitEditorView(editor);
    out.showCount = true;
    out.redraw = RedrawKind::Full;
    return out;
}

CommandOutcome undoCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    editor.document.restoreSnapshot();
    CommandOutcome out = fullRedraw();
    out.showCount = true;
    return out;
}

CommandOutcome fitAllCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    const CurveDocument& doc = editor.document;
    if (doc.count() <= 1
        || !fitToData(editor.view, doc.points(), doc.smoothingMode, editor.displayFlags, editor.plotBuffers.curve))
        return {};
    CommandOutcome out = fullRedraw();
    out.cursor = CursorRequest::Arrow;
    setViewWindow(editor.view, editor.view.dataExtent);
    return out;
}

CommandOutcome previousCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    editor.interactionMode = InteractionMode::PreviousWindow;
    // The two windows are exchanged when they differ.
    setViewWindow(editor.view, editor.view.previousWindow);
    return fullRedraw();
}

CommandOutcome zoomOutCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    zoomOut(editor.view);
    return fullRedraw();
}

CommandOutcome zoomInCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    zoomIn(editor.view);
    return fullRedraw();
}

CommandOutcome redrawCommand(Editor&, EditorHost&, const CommandInput&)
{
    return fullRedraw();
}

CommandOutcome resetCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    const MessageAnswer answer =
        host.showMessage({std::string(ResetQuestion), std::string(ResetCaption), MessageButtons::OkCancel,
                          MessageIcon::Question, MessageOwner::Window});
    if (answer != MessageAnswer::Ok)
        return {};
    // No snapshot: "&Undo" brings back the last one taken.
    editor.interactionMode = InteractionMode::Reset;
    editor.document.clearPoints();
    CommandOutcome out = fullRedraw();
    out.showCount = true;
    return out;
}

CommandOutcome centreCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    editor.interactionMode = InteractionMode::PickCentre;
    editor.statusText = std::string(CentrePrompt);
    return {};
}

// The file read replaces the curve: a modified one is offered to be saved first. False
// when the user cancelled, or a save did not end written: nothing is to be read then.
bool offeredToSaveBeforeReading(Editor& editor, EditorHost& host)
{
    if (!editor.document.isModified(host.shownUnit()))
        return true;
    const MessageAnswer answer =
        host.showMessage({std::string(SaveQuestion), std::string(OpenDialogTitle), MessageButtons::YesNoCancel,
                          MessageIcon::Question, MessageOwner::Window});
    return answer != MessageAnswer::Cancel && (answer != MessageAnswer::Yes || saveAfterYes(editor, host, false));
}

// Reads the file at `path` into the curve, as "Fichier" reads the file chosen.
CommandOutcome readChosenFile(Editor& editor, EditorHost& host, const std::string& path)
{
    CurveDocument& doc = editor.document;
    // The reader is chosen by ".crb" in any letter case, but the file is opened and
    // later saved under its real name: on a case-sensitive file system a lowered
    // name would be another file.
    const FileReadResult result = readPointFile(path, doc);
    // A file that could not be opened (no read permission, removed meanwhile) changed
    // nothing: the curve keeps its edits, its undo copy and its name, so that "&Arrêt"
    // still asks to save them.
    if (!result.opened)
        return {};
    doc.filePath = path;
    if (!result.message.empty())
        host.showMessage({result.message, "", MessageButtons::Ok, MessageIcon::Error, MessageOwner::None});
    doc.takeSnapshot(); // what was read is already the saved state
    fitEditorView(editor);
    CommandOutcome out = fullRedraw();
    out.selectUnit = true;
    out.showCount = true;
    out.showCurveSettings = true;
    return out;
}

CommandOutcome openFileCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    if (!offeredToSaveBeforeReading(editor, host))
        return {};
    const std::optional<std::string> path = host.chooseFileToOpen();
    if (!path)
        return {};
    return readChosenFile(editor, host, *path);
}

CommandOutcome saveCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    editor.document.unitName = host.shownUnit();
    host.saveCurve();
    return {};
}

CommandOutcome smoothingCommand(Editor& editor, EditorHost&, const CommandInput& input)
{
    editor.document.smoothingMode = smoothingModeOf(input.id);
    return fullRedraw();
}

// The derived curves: a derivative and the integral are never shown together, since
// they would share one scale.
CommandOutcome displayFlagCommand(Editor& editor, EditorHost&, const CommandInput& input)
{
    DisplayFlags& flags = editor.displayFlags;
    if (input.id == MainControl::IntegralBox) {
        flags = input.ticked ? DisplayFlags(Integral) : flags.without(Integral);
    } else {
        const DisplayFlag flag = input.id == MainControl::Derivative1Box ? Derivative1 : Derivative2;
        flags = input.ticked ? flags.without(Integral).with(flag) : flags.without(flag);
    }
    CommandOutcome out = fullRedraw();
    out.showDisplayFlags = true;
    return out;
}

CommandOutcome periodicCommand(Editor& editor, EditorHost&, const CommandInput& input)
{
    // Shown at the next redraw.
    editor.document.periodic = input.ticked ? 1 : 0;
    return {};
}

CommandOutcome transformCommand(Editor& editor, EditorHost& host, const CommandInput& input)
{
    return transformationCommand(editor, host, input.id);
}

CommandOutcome eraseWindowPickCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    return eraseWindowCommand(editor, host);
}

CommandOutcome zoomWindowPickCommand(Editor& editor, EditorHost& host, const CommandInput&)
{
    return zoomWindowCommand(editor, host);
}

CommandOutcome blankStatusCommand(Editor& editor, EditorHost&, const CommandInput&)
{
    editor.statusText = std::string(BlankStatus);
    return {};
}

constexpr CommandEntry Commands[] = {
    {MainControl::Stop, stopCommand},
    {MainControl::Help, helpCommand},
    {MainControl::Print, printCommand},
    {MainControl::CopyPicture, copyPictureCommand},
    {MainControl::List, listCommand},
    {MainControl::Cancel, stopCommand},
    {MainControl::PointEntry, pointEntryCommand},
    {MainControl::Bounds, boundsCommand},
    {MainControl::DeletePoint, deletePointCommand},
    {MainControl::Formula, formulaCommand},
    {MainControl::Undo, undoCommand},
    {MainControl::FitAll, fitAllCommand},
    {MainControl::Previous, previousCommand},
    {MainControl::ZoomOut, zoomOutCommand},
    {MainControl::ZoomIn, zoomInCommand},
    {MainControl::Redraw, redrawCommand},
    {MainControl::Reset, resetCommand},
    {MainControl::Centre, centreCommand},
    {MainControl::OpenFile, openFileCommand},
    {MainControl::Save, saveCommand},
    {MainControl::SmoothAucun, smoothingCommand},
    {MainControl::SmoothCubique, smoothingCommand},
    {MainControl::SmoothAkima, smoothingCommand},
    {MainControl::SmoothCarlson, smoothingCommand},
    {MainControl::Derivative1Box, displayFlagCommand},
    {MainControl::Derivative2Box, displayFlagCommand},
    {MainControl::IntegralBox, displayFlagCommand},
    {MainControl::Periodic, periodicCommand},
    {MainControl::Homothety, transformCommand},
    {MainControl::Translate, transformCommand},
    {MainControl::Mirror, transformCommand},
    {MainControl::Rotate, transformCommand},
    {MainControl::Affinity, transformCommand},
    {MainControl::EraseWindow, eraseWindowPickCommand},
    {MainControl::ZoomWindow, zoomWindowPickCommand},
    // "&Copie" only ticks itself, and a unit chosen is taken at the next save.
    {MainControl::CopyMode, blankStatusCommand},
    {MainControl::Units, blankStatusCommand},
};

} // namespace

std::span<const CommandEntry> editorCommands()
{
    return Commands;
}

const CommandEntry* findCommand(MainControl id)
{
    for (const CommandEntry& entry : Commands)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

CommandOutcome runEditorCommand(Editor& editor, EditorHost& host, MainControl id, bool ticked)
{
    const CommandInput input{id, ticked};
    if (const CommandEntry* entry = findCommand(id))
        return entry->run(editor, host, input);
    // What no control of the window sends: only the status line is blanked.
    return blankStatusCommand(editor, host, input);
}

std::optional<std::string> helpFilePath(const Editor& editor)
{
    return editor.installation ? findSupportFile(HelpFileName, *editor.installation) : std::nullopt;
}

void showHelpTopic(Editor& editor, EditorHost& host, std::string_view topic)
{
    if (const std::optional<std::string> path = helpFilePath(editor)) {
        host.showHelp(*path, std::string(topic));
        return;
    }
    host.showMessage({helpMissingText(), std::string(HelpMissingCaption), MessageButtons::Ok, MessageIcon::Error,
                      MessageOwner::Window});
}

CommandOutcome stopEditing(Editor& editor, EditorHost& host)
{
    CurveDocument& doc = editor.document;
    // Whatever a save would write differently counts, the unit shown included.
    if (doc.isModified(host.shownUnit())) {
        const MessageAnswer answer =
            host.showMessage({std::string(SaveQuestion), std::string(SaveQuestionCaption), MessageButtons::YesNo,
                              MessageIcon::Question, MessageOwner::Window});
        // A file that could not be written would lose the changes: the save dialog comes
        // back until the curve is written; given up, the user is back at the curve.
        if (answer == MessageAnswer::Yes && !saveAfterYes(editor, host, true))
            return {};
    }
    CommandOutcome out;
    out.stop = true;
    return out;
}

bool acceptsDroppedFile(const Editor& editor, std::string_view path)
{
    return !editor.pickRunning && matchesOpenFilter(path);
}

CommandOutcome openDroppedFile(Editor& editor, EditorHost& host, const std::string& path)
{
    if (!acceptsDroppedFile(editor, path))
        return {};
    // The name is checked as the open dialog checks the name chosen, with its message.
    const FileDialogError error = checkChosenPath(path);
    if (error != FileDialogError::None) {
        host.showMessage({fileDialogErrorMessage(error), std::string(FileDialogErrorCaption), MessageButtons::Ok,
                          MessageIcon::Error, MessageOwner::Focus});
        return {};
    }
    if (!offeredToSaveBeforeReading(editor, host))
        return {};
    return readChosenFile(editor, host, path);
}

std::string saveDialogName(const Editor& editor)
{
    return editor.document.filePath.empty() ? editor.startupPath : editor.document.filePath;
}
