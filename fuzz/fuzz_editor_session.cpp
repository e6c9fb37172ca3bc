// A whole editing session driven by the input: the main window's commands, clicks on the
// drawing area, the mouse picks of the transformations and zooms, and the dialogs'
// answers (typed texts read as the dialogs read them, formulas, files to open), ending
// with the stop path, each outcome redrawn as the window redraws it.
// After every step the curve must still be sound: at most 1024 points, every coordinate
// finite, a usable view window. Every pick must end once the window closes, and the
// stop path must end.
#include "core/curve/CurveFile.h"
#include "core/draw/RecordingSurface.h"
#include "core/editor/CanvasCommands.h"
#include "core/editor/Editor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorHost.h"
#include "core/editor/MainControl.h"
#include "core/editor/MousePick.h"
#include "core/editor/NullEditorHost.h"
#include "core/editor/PlotRedraw.h"
#include "core/formula/FormulaEvaluation.h"

#include "FuzzSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

using fuzz::broken;

namespace {

// The shared reader, with the few reads a session makes of its own.
class SessionInput : public fuzz::Input {
public:
    using Input::Input;
    bool empty() const { return remaining() == 0; }
    int upTo(int n) { return n <= 0 ? 0 : byte() % n; }
    // A text typed into a field of at most `limit` bytes: a length byte, then the text.
    std::string typed(std::size_t limit)
    {
        const std::size_t asked = byte() % (limit + 1);
        const std::size_t length = std::min(asked, remaining());
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s.push_back(static_cast<char>(byte()));
        return s;
    }
    // A file of two typed pieces (a piece holds at most 255 bytes).
    void writeFile(const fuzz::ScratchFile& file)
    {
        const std::string first = typed(255);
        file.write(first + typed(255));
    }
};

// The files a session opens: the one on the command line or chosen in the open dialog.
struct SessionFiles {
    fuzz::ScratchFile curve{"session", ".crb"};
    fuzz::ScratchFile points{"session", ".txt"};
};

// Answers every dialog from the input, reading typed texts the way the dialogs do.
class InputHost : public NullEditorHost {
public:
    InputHost(Editor& editor, SessionInput& in, Surface& picture, const SessionFiles& files)
        : editor_(editor), in_(in), picture_(picture), files_(files)
    {
    }
    bool copyMode = false;

    MessageAnswer showMessage(const UserMessage& message) override
    {
        const bool first = in_.byte() & 1;
        switch (message.buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return first ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo: return first ? MessageAnswer::Yes : MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return first ? MessageAnswer::Yes : (in_.byte() & 1) ? MessageAnswer::No : MessageAnswer::Cancel;
        }
        return MessageAnswer::Ok;
    }
    std::vector<CurvePoint> runFormulaDialog() override
    {
        const std::string formula = in_.typed(254);
        const auto a = evaluateNumberField(in_.typed(15));
        const auto b = evaluateNumberField(in_.typed(15));
        const auto step = evaluateNumberField(in_.typed(15));
        if (!a || !b || !step)
            return {};
        return evaluateFormula(formula, *a, *b, *step).points;
    }
    bool runBoundsDialog(bool& allRead) override
    {
        allRead = true;
        for (const EnteredField& field : BoundsDialogFields) {
            if (auto v = evaluateNumberField(in_.typed(15)))
                field.set(editor_.entered, *v);
            else
                allRead = false;
        }
        return in_.byte() & 1;
    }
    std::optional<std::string> chooseFileToOpen() override
    {
        if (!(in_.byte() & 1))
            return std::nullopt;
        const fuzz::ScratchFile& file = (in_.byte() & 1) ? files_.curve : files_.points;
        in_.writeFile(file);
        return file.path;
    }
    SaveOutcome saveCurve() override
    {
        switch (in_.upTo(3)) {
        case 0: return SaveOutcome::Written;
        case 1: return SaveOutcome::Failed;
        default: return SaveOutcome::Cancelled;
        }
    }
    std::string shownUnit() const override { return "mm"; }
    bool copyModeTicked() const override { return copyMode; }
    bool runParameterDialog(ParameterDialog dialog, const std::string&) override
    {
        // A choice is one of the dialog's boxes; a typed field keeps its value when its
        // text does not evaluate.
        for (const EnteredField& field : enteredFieldsOf(dialog)) {
            if (field.choice)
                field.set(editor_.entered, in_.byte() & 1);
            else if (auto v = evaluateNumberField(in_.typed(15)))
                field.set(editor_.entered, *v);
        }
        return in_.byte() & 1;
    }
    bool copyCurvePicture() override { return in_.byte() & 1; }
    bool runPick(MousePick& pick) override
    {
        const PixelSize size = picture_.size();
        for (int events = 0; events < 64 && !in_.empty(); ++events) {
            PickEvent event;
            switch (in_.upTo(6)) {
            case 0:
            case 1:
                event =
                    PickEvent::leftRelease({in_.u16() % (size.width + 40) - 20, in_.u16() % (size.height + 40) - 20});
                break;
            case 2: event = PickEvent::moveTo({in_.u16() % size.width, in_.u16() % size.height}); break;
            case 3: event = PickEvent::rightPress(); break;
            case 4: event = (in_.byte() & 1) ? PickEvent::escapeKey() : PickEvent::otherKey(); break;
            default: event = PickEvent::clickElsewhere(); break;
            }
            if (!pick.handle(event, picture_))
                return pick.result();
        }
        // The window closes: every pick must end there.
        if (pick.handle(PickEvent::close(), picture_) || pick.running())
            broken("a pick goes on after the window closed");
        return pick.result();
    }

private:
    Editor& editor_;
    SessionInput& in_;
    Surface& picture_;
    const SessionFiles& files_;
};

void checkEditor(const Editor& editor)
{
    const CurveDocument& doc = editor.document;
    fuzz::check(doc.count() >= 0 && doc.count() <= MaxCurvePoints, "point count out of range");
    for (const CurvePoint& p : doc.points())
        fuzz::check(std::isfinite(p.x) && std::isfinite(p.y), "a point is not finite");
    fuzz::check(isUsableWindow(editor.view.current), "the view window is not usable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const SessionFiles files;
    SessionInput in(data, size);
    Editor editor;
    RecordingSurface picture({100 + in.upTo(1200), 80 + in.upTo(900)});
    InputHost host(editor, in, picture, files);

    // The window opens on a curve handed over on the command line, or on none.
    if (in.byte() & 1) {
        in.writeFile(files.curve);
        readPointFile(files.curve.path, editor.document);
    }
    startEditingRun(editor, picture.size().width, picture.size().height);
    redrawPlot(editor, host, picture);
    checkEditor(editor);

    for (int step = 0; step < 200 && !in.empty(); ++step) {
        picture.clear();
        CommandOutcome outcome;
        const int action = in.upTo(4);
        if (action == 0) {
            const PixelSize s = picture.size();
            const MouseButton button = (in.byte() & 1) ? MouseButton::Left : MouseButton::Right;
            outcome = canvasClick(editor, host, button, {in.u16() % s.width, in.u16() % s.height});
        } else {
            // Every registered command, as the window would send it.
            const std::span<const CommandEntry> commands = editorCommands();
            const MainControl id = commands[static_cast<std::size_t>(in.upTo(static_cast<int>(commands.size())))].id;
            if (id == MainControl::Stop || id == MainControl::Cancel)
                break;
            host.copyMode = in.byte() & 1;
            outcome = runEditorCommand(editor, host, id, in.byte() & 1);
            if (outcome.stop)
                return 0;
        }
        redrawFor(editor, host, picture, outcome.redraw);
        checkEditor(editor);
    }
    // The session ends: a stop whose save dialog is given up goes back to the curve, so
    // the stop is asked again until "Non" or a written save ends it (an input run dry
    // answers "Non").
    for (int attempt = 0;; ++attempt) {
        if (runEditorCommand(editor, host, MainControl::Stop).stop)
            break;
        if (attempt > 1000)
            broken("the stop path never ends");
    }
    return 0;
}
