// A whole editing session driven by the input: the main window's commands, clicks on the
// drawing area, the mouse picks of the transformations and zooms, and the dialogs'
// answers (typed texts read as the dialogs read them, formulas, files to open), ending
// with the stop path, each outcome redrawn as the window redraws it.
// After every step the curve must still be sound: at most 1024 points, every coordinate
// finite, a usable view window. Every pick must end once the window closes, and the stop path must end.
#include "FuzzSupport.h"

#include "core/curve/CurveFile.h"
#include "core/draw/RecordingSurface.h"
#include "core/editor/CanvasCommands.h"
#include "core/editor/ControlIds.h"
#include "core/editor/Editor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorHost.h"
#include "core/editor/MousePick.h"
#include "core/editor/PlotRedraw.h"
#include "core/formula/FormulaEvaluation.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

using fuzz::broken;

namespace {

// Reads the input from the front; once it is used up every read gives 0.
class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int upTo(int n) { return n <= 0 ? 0 : byte() % n; }
    int u16()
    {
        const int low = byte();
        return low | (byte() << 8);
    }
    // A short text, as typed into a field of at most `limit` characters.
    std::string text(std::size_t limit)
    {
        const std::size_t length = std::min<std::size_t>(byte() % (limit + 1), size_ - std::min(pos_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return s;
    }
    std::string rest()
    {
        std::string s(reinterpret_cast<const char*>(data_ + std::min(pos_, size_)), size_ - std::min(pos_, size_));
        pos_ = size_;
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

const std::array<int, 30> Commands = {
    ControlId::Stop,       ControlId::Cancel,        ControlId::PointEntry,    ControlId::Homothety,
    ControlId::Bounds,     ControlId::DeletePoint,   ControlId::EraseWindow,   ControlId::Formula,
    ControlId::Print,      ControlId::List,          ControlId::Translate,     ControlId::Undo,
    ControlId::FitAll,     ControlId::Previous,      ControlId::ZoomWindow,    ControlId::Mirror,
    ControlId::CopyPicture, ControlId::ZoomOut,      ControlId::ZoomIn,        ControlId::Rotate,
    ControlId::Redraw,     ControlId::Affinity,      ControlId::Reset,         ControlId::Centre,
    ControlId::OpenFile,   ControlId::Save,          ControlId::SmoothAkima,   ControlId::Derivative1Box,
    ControlId::IntegralBox, ControlId::Periodic,
};

// Answers every dialog from the input, reading typed texts the way the dialogs do.
class InputHost : public EditorHost {
public:
    InputHost(Editor& editor, InputBytes& in, Surface& picture, std::string filePath)
        : editor_(editor), in_(in), picture_(picture), filePath_(std::move(filePath))
    {
    }
    bool copyMode = false;

    MessageAnswer showMessage(const UserMessage& message) override
    {
        const bool first = in_.byte() & 1;
        switch (message.buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return first ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return first ? MessageAnswer::Yes : MessageAnswer::No;
        }
        return MessageAnswer::Ok;
    }
    std::vector<CurvePoint> runFormulaDialog() override
    {
        const std::string formula = in_.text(254);
        const auto a = evaluateNumberField(in_.text(15));
        const auto b = evaluateNumberField(in_.text(15));
        const auto step = evaluateNumberField(in_.text(15));
        if (!a || !b || !step)
            return {};
        return evaluateFormula(formula, *a, *b, *step).points;
    }
    bool runBoundsDialog(bool& allRead) override
    {
        allRead = true;
        for (double* field : {&editor_.entered.x, &editor_.entered.y, &editor_.entered.value, &editor_.entered.value2}) {
            if (auto v = evaluateNumberField(in_.text(15)))
                *field = *v;
            else
                allRead = false;
        }
        return in_.byte() & 1;
    }
    std::optional<std::string> chooseFileToOpen() override
    {
        if (!(in_.byte() & 1))
            return std::nullopt;
        const bool curveFile = in_.byte() & 1;
        const std::string path = filePath_ + (curveFile ? ".crb" : ".txt");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << in_.text(255) << in_.text(255);
        return path;
    }
    SaveOutcome saveCurve() override
    {
        switch (in_.upTo(3)) {
        case 0:
            return SaveOutcome::Written;
        case 1:
            return SaveOutcome::Failed;
        default:
            return SaveOutcome::Cancelled;
        }
    }
    std::string shownUnit() const override { return "mm"; }
    void showCursor(CursorRequest) override {}
    bool copyModeTicked() const override { return copyMode; }
    void showStatus(const std::string&) override {}
    void showCoordinates(double, double) override {}
    bool runParameterDialog(ParameterDialog dialog, const std::string&) override
    {
        // Each field keeps its value when its text does not evaluate.
        auto field = [&](double& value) {
            if (auto v = evaluateNumberField(in_.text(15)))
                value = *v;
        };
        EnteredValues& e = editor_.entered;
        switch (dialog) {
        case ParameterDialog::Factor:
            field(e.value);
            break;
        case ParameterDialog::Point:
            field(e.x);
            field(e.y);
            break;
        case ParameterDialog::PointAndAngle:
            field(e.x);
            field(e.y);
            field(e.value);
            break;
        case ParameterDialog::Affinity:
            e.x = in_.byte() & 1;
            field(e.y);
            break;
        }
        const bool accepted = in_.byte() & 1;
        e.accepted = accepted ? 1 : 0;
        return accepted;
    }
    void printCurve() override {}
    bool copyCurvePicture() override { return in_.byte() & 1; }
    bool runPointListDialog() override { return false; }
    void showHelp(const std::string&, const std::string&) override {}
    bool runPick(MousePick& pick) override
    {
        const PixelSize size = picture_.size();
        for (int events = 0; events < 64 && !in_.empty(); ++events) {
            PickEvent event;
            switch (in_.upTo(6)) {
            case 0:
            case 1:
                event = PickEvent::leftRelease({in_.u16() % (size.width + 40) - 20, in_.u16() % (size.height + 40) - 20});
                break;
            case 2:
                event = PickEvent::moveTo({in_.u16() % size.width, in_.u16() % size.height});
                break;
            case 3:
                event = PickEvent::rightPress();
                break;
            case 4:
                event = (in_.byte() & 1) ? PickEvent::escapeKey() : PickEvent::otherKey();
                break;
            default:
                event = PickEvent::clickElsewhere();
                break;
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
    InputBytes& in_;
    Surface& picture_;
    std::string filePath_;
};

void checkEditor(const Editor& editor)
{
    const CurveDocument& doc = editor.document;
    if (doc.count < 0 || doc.count > MaxCurvePoints)
        broken("point count out of range");
    const auto points = doc.currentPoints();
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y))
            broken("a point is not finite");
    }
    const ViewWindow& w = editor.view.current;
    if (!std::isfinite(w.xmin) || !std::isfinite(w.xmax) || !std::isfinite(w.ymin) || !std::isfinite(w.ymax) ||
        !(w.xmin < w.xmax) || !(w.ymin < w.ymax))
        broken("the view window is not usable");
}

void apply(Editor& editor, Surface& picture, const CommandOutcome& outcome)
{
    if (outcome.redraw == RedrawKind::Full)
        redrawPlot(editor, picture, outcome.window);
    else if (outcome.redraw == RedrawKind::Incremental)
        redrawCurveIncrementally(editor, picture);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string filePath = "/tmp/crb-fuzz-session-" + std::to_string(getpid());
    InputBytes in(data, size);
    Editor editor;
    RecordingSurface picture({100 + in.upTo(1200), 80 + in.upTo(900)});
    InputHost host(editor, in, picture, filePath);

    // The window opens on a curve handed over on the command line, or on none.
    if (in.byte() & 1) {
        std::ofstream(filePath + ".crb", std::ios::binary | std::ios::trunc) << in.text(255) << in.text(255);
        readPointFile(filePath + ".crb", filePath + ".crb", editor.document, editor.document.points, editor.document.count);
    }
    fitView(editor.view, editor.document.currentPoints(), editor.document.smoothingMode, editor.displayFlags);
    editor.document.markSaved();
    redrawPlot(editor, picture);
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
            const int id = Commands[in.upTo(static_cast<int>(Commands.size()))];
            if (id == ControlId::Stop || id == ControlId::Cancel)
                break;
            host.copyMode = in.byte() & 1;
            outcome = runEditorCommand(editor, host, id, in.byte() & 1);
            if (outcome.stop)
                return 0;
        }
        apply(editor, picture, outcome);
        checkEditor(editor);
    }
    // The session ends: the stop path must end whatever the answers, saving or not.
    for (int attempt = 0;; ++attempt) {
        if (runEditorCommand(editor, host, ControlId::Stop).stop)
            break;
        if (attempt > 1000)
            broken("the stop path never ends");
    }
    return 0;
}
