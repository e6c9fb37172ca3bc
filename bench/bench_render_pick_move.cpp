#include "core/editor/Editor.h"
#include "core/editor/MousePick.h"
#include "core/editor/NullEditorHost.h"
#include "core/editor/PlotRedraw.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/DevicePixels.h"

#include "AllocationCounter.h"
#include "QtBenchmarkMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The window's side of a pick, minus the window.
class QuietHost : public NullEditorHost {
public:
    bool copyModeTicked() const override { return true; }
    void showCoordinates(double x, double y) override { benchmark::DoNotOptimize(x + y); }
};

// A full curve of 1024 wavy, irregularly spaced points; the middle half is selected, so
// that a copy-mode preview holds 512 moved points and the first 512 of the curve.
void fillCurve(CurveDocument& doc)
{
    double x = 0;
    for (int i = 0; i < MaxCurvePoints; ++i) {
        x += 0.5 + 0.25 * std::sin(i * 0.7);
        doc.appendPoint({x, std::sin(x) * 10 + std::cos(x * 3.1)});
    }
    doc.smoothingMode = Cubique;
}

Selection middleHalf(const CurveDocument& doc)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {{doc.points()[255].x + 1e-9, -inf}, {doc.points()[768].x - 1e-9, inf}};
}

struct Drag {
    PixelPoint anchor;
    PixelPoint moves[2]; // the mouse goes back and forth between them
};

// One mouse move of a segment drag in copy mode on a drawing area of 1000 x 700 logical
// pixels at device pixel ratio `ratio` (the drag's pixels scale with it): the old
// preview and rubber line erased, the new ones computed and drawn. With
// `painterPerMove` the surface is made for each move with the picture's kept cache, as
// the drawing area does for each event; otherwise one surface serves.
void pickMove(benchmark::State& state, InteractionMode mode, Drag drag, bool painterPerMove, int ratio = 1)
{
    Editor editor;
    QuietHost host;
    fillCurve(editor.document);
    QImage image(1000 * ratio, 700 * ratio, QImage::Format_RGB32);
    setDeviceResolution(image, ratio);
    image.fill(Qt::white);
    for (PixelPoint* p : {&drag.anchor, &drag.moves[0], &drag.moves[1]})
        *p = {p->x * ratio, p->y * ratio};
    {
        CQtSurface surface(image);
        fitView(editor.view, editor.document.points(), editor.document.smoothingMode, {});
        redrawPlot(editor, host, surface);
        editor.pickFeedback.drawHighlight(surface, editor.document, editor.mapping, middleHalf(editor.document));
    }
    editor.interactionMode = mode;
    MousePick pick(editor, host, PickKind::Segment);
    std::optional<CQtSurface> shared;
    shared.emplace(image);
    pick.handle(PickEvent::moveTo(drag.anchor), *shared);
    pick.handle(PickEvent::leftRelease(drag.anchor), *shared);
    pick.handle(PickEvent::moveTo(drag.moves[1]), *shared);
    if (painterPerMove)
        shared.reset();

    CQtSurfaceCache cache; // the drawing area's, kept with its picture
    long long moves = 0;
    const long long before = allocations.load();
    for (auto _ : state) {
        const PickEvent event = PickEvent::moveTo(drag.moves[moves++ % 2]);
        if (painterPerMove) {
            CQtSurface surface(image, &cache);
            pick.handle(event, surface);
        } else {
            pick.handle(event, *shared);
        }
    }
    state.counters["allocs/move"] = double(allocations.load() - before) / double(std::max(moves, 1LL));
    benchmark::DoNotOptimize(image.constBits());
}

const Drag Sideways{{500, 350}, {{560, 300}, {620, 280}}};
const Drag Vertical{{500, 350}, {{500, 300}, {500, 250}}}; // copies share the x of their originals

void BM_PickMoveTranslateCopy(benchmark::State& s)
{
    pickMove(s, InteractionMode::TranslateCopy, Sideways, false);
}
void BM_PickMoveTranslateCopyRatio2(benchmark::State& s)
{
    pickMove(s, InteractionMode::TranslateCopy, Sideways, false, 2);
}
void BM_PickMoveTranslateCopyVertical(benchmark::State& s)
{
    pickMove(s, InteractionMode::TranslateCopy, Vertical, false);
}
void BM_PickMoveRotateCopy(benchmark::State& s)
{
    pickMove(s, InteractionMode::RotateCopy, Sideways, false);
}
void BM_PickMoveMirrorCopy(benchmark::State& s)
{
    pickMove(s, InteractionMode::MirrorCopy, Sideways, false);
}
void BM_PickMoveTranslateCopyPainterPerMove(benchmark::State& s)
{
    pickMove(s, InteractionMode::TranslateCopy, Sideways, true);
}
void BM_PickMoveTranslateCopyRatio2SurfacePerMove(benchmark::State& s)
{
    pickMove(s, InteractionMode::TranslateCopy, Sideways, true, 2);
}

} // namespace

BENCHMARK(BM_PickMoveTranslateCopy)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveTranslateCopyRatio2)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveTranslateCopyVertical)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveRotateCopy)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveMirrorCopy)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveTranslateCopyPainterPerMove)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PickMoveTranslateCopyRatio2SurfacePerMove)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
