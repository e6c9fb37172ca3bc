#include "core/view/SmoothCurve.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// A full curve: 1024 points of a wavy, irregularly spaced function.
std::vector<CurvePoint> fullCurve()
{
    std::vector<CurvePoint> points;
    double x = 0;
    for (int i = 0; i < MaxCurvePoints; ++i) {
        x += 0.5 + 0.25 * std::sin(i * 0.7);
        points.push_back({x, std::sin(x) * 10 + std::cos(x * 3.1)});
    }
    return points;
}

void BM_SmoothCurve(benchmark::State& state)
{
    const std::vector<CurvePoint> points = fullCurve();
    const auto mode = static_cast<SmoothingMode>(state.range(0));
    const DisplayFlags flags = DisplayFlags::fromBits(static_cast<int>(state.range(1)));
    // As a redraw does it: the arrays of the previous call are reused.
    SmoothedCurve c;
    for (auto _ : state) {
        smoothCurve(points, mode, flags, c);
        benchmark::DoNotOptimize(c.samples.data());
        benchmark::DoNotOptimize(c.firstDerived.data());
    }
    state.SetItemsProcessed(state.iterations() * MaxCurvePoints);
}

// The same with fresh arrays every call, as a one-off caller gets them.
void BM_SmoothCurveFresh(benchmark::State& state)
{
    const std::vector<CurvePoint> points = fullCurve();
    const auto mode = static_cast<SmoothingMode>(state.range(0));
    const DisplayFlags flags = DisplayFlags::fromBits(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        SmoothedCurve c = smoothCurve(points, mode, flags);
        benchmark::DoNotOptimize(c.samples.data());
    }
}

} // namespace

BENCHMARK(BM_SmoothCurveFresh)
    ->ArgNames({"mode", "flags"})
    ->ArgsProduct({{Cubique}, {0, (Derivative1 | Derivative2).bits()}})
    ->Unit(benchmark::kMicrosecond);

// mode 0..3 (Aucun, Cubique, Akima, Carlson) x flags none, Integral, both derivatives.
BENCHMARK(BM_SmoothCurve)
    ->ArgNames({"mode", "flags"})
    ->ArgsProduct({{Aucun, Cubique, Akima, Carlson}, {0, Integral, (Derivative1 | Derivative2).bits()}})
    ->Unit(benchmark::kMicrosecond);
