#include "core/draw/RecordingSurface.h"
#include "core/view/PlotRenderer.h"
#include "core/view/SmoothCurve.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/DevicePixels.h"

#include "AllocationCounter.h"
#include "QtBenchmarkMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr DisplayFlags Flags = Derivative1 | Derivative2;

// A full curve: 1024 points of a wavy, irregularly spaced function, in view.
CurveDocument fullCurve()
{
    CurveDocument doc;
    double x = 0;
    for (int i = 0; i < MaxCurvePoints; ++i) {
        x += 0.5 + 0.25 * std::sin(i * 0.7);
        doc.appendPoint({x, std::sin(x) * 10 + std::cos(x * 3.1)});
    }
    doc.smoothingMode = Cubique;
    return doc;
}

ViewState fittedView(const CurveDocument& doc)
{
    ViewState view;
    fitView(view, doc.points(), doc.smoothingMode, Flags);
    return view;
}

// The drawing area's picture, 1000 x 700 logical pixels at the device pixel ratio
// given as the benchmark's argument (1: 1000 x 700 device pixels, 2: 2000 x 1400).
QImage drawingArea(const benchmark::State& state)
{
    const int ratio = int(state.range(0));
    QImage image(1000 * ratio, 700 * ratio, QImage::Format_RGB32);
    setDeviceResolution(image, ratio);
    image.fill(Qt::white);
    return image;
}

// Full redraws of `doc` in `view`, painter set-up included, as a repaint does them.
void renderRepeatedly(benchmark::State& state, const CurveDocument& doc, const ViewState& view)
{
    QImage image = drawingArea(state);
    // The window keeps its buffers from one redraw to the next.
    PlotBuffers buffers;
    CQtSurfaceCache cache; // the drawing area's, kept with its picture
    long long redraws = 0;
    long long before = 0;
    for (auto _ : state) {
        CQtSurface surface(image, &cache);
        CanvasMapping mapping = renderPlot(surface, view.current, doc, Flags, buffers).mapping;
        benchmark::DoNotOptimize(mapping);
        if (++redraws == 1) // the buffers have grown
            before = allocations.load();
    }
    state.counters["allocs/redraw"] = double(allocations.load() - before) / double(std::max(redraws - 1, 1LL));
}

// The full redraw of the drawing area.
void BM_RenderPlot(benchmark::State& state)
{
    const CurveDocument doc = fullCurve();
    renderRepeatedly(state, doc, fittedView(doc));
}

// The same full redraw of the curve with every y scaled, in the window fitted to the
// curve before: the picture BM_DrawCurveIncremental draws whole for that edit (taller
// curves than BM_RenderPlot's, so more pixels to step).
void BM_RenderPlotScaled(benchmark::State& state)
{
    CurveDocument doc = fullCurve();
    const ViewState view = fittedView(doc);
    for (int i = 0; i < doc.count(); ++i) {
        const CurvePoint p = doc.points()[i];
        doc.setPoint(i, {p.x, p.y * 1.1});
    }
    renderRepeatedly(state, doc, view);
}

// An interactive step as the editor redraws after an edit: erase the snapshot's state
// and draw the moved curve, or draw the whole picture again where that costs less
// (counter "whole": 1 when it did). The second argument is the edit: 0 raises every
// point (a translation: the derived curves stay as they were), 1 scales every y (every
// curve changes), 2 raises one point in the middle (the curves change around it).
void BM_DrawCurveIncremental(benchmark::State& state)
{
    CurveDocument doc = fullCurve();
    ViewState view = fittedView(doc);
    QImage image = drawingArea(state);
    CanvasMapping mapping;
    {
        CQtSurface surface(image);
        mapping = renderPlot(surface, view.current, doc, Flags).mapping;
    }
    doc.takeSnapshot();
    const int edit = int(state.range(1));
    for (int i = 0; i < doc.count(); ++i) {
        const CurvePoint p = doc.points()[i];
        if (edit == 0)
            doc.setPoint(i, {p.x, p.y + 0.5});
        else if (edit == 1)
            doc.setPoint(i, {p.x, p.y * 1.1});
        else if (i == doc.count() / 2)
            doc.setPoint(i, {p.x, p.y + 0.5});
    }
    PlotBuffers buffers;
    CQtSurfaceCache cache; // the drawing area's, kept with its picture
    long long redraws = 0;
    long long before = 0;
    bool whole = false;
    for (auto _ : state) {
        CQtSurface surface(image, &cache);
        const PlotPicture picture = redrawEditedCurve(surface, view.current, mapping, doc, Flags, buffers);
        benchmark::DoNotOptimize(picture);
        whole = picture.wholePicture;
        if (++redraws == 1)
            before = allocations.load();
    }
    state.counters["allocs/redraw"] = double(allocations.load() - before) / double(std::max(redraws - 1, 1LL));
    state.counters["whole"] = whole ? 1 : 0;
}

// The renderer alone (smoothing, mapping, graduations), without painting.
void BM_RenderPlotRecorded(benchmark::State& state)
{
    const CurveDocument doc = fullCurve();
    ViewState view = fittedView(doc);
    RecordingSurface surface({1000, 700});
    PlotBuffers buffers;
    for (auto _ : state) {
        surface.clear();
        CanvasMapping mapping = renderPlot(surface, view.current, doc, Flags, buffers).mapping;
        benchmark::DoNotOptimize(mapping);
    }
}

} // namespace

// Argument: the device pixel ratio.
BENCHMARK(BM_RenderPlot)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderPlotScaled)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
// Arguments: the device pixel ratio, the edit.
BENCHMARK(BM_DrawCurveIncremental)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 2})
    ->Args({2, 2})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderPlotRecorded)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
