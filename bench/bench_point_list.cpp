#include "core/curve/PointList.h"

#include <benchmark/benchmark.h>

namespace {

// A full curve in descending x: the exchange sort's worst case.
CurveDocument reversedFullCurve()
{
    CurveDocument doc;
    for (int i = 0; i < MaxCurvePoints; ++i)
        doc.appendPoint({double(MaxCurvePoints - i) * 0.37, double(i) * -1.5e-3});
    return doc;
}

// Opening the list on a full curve: the copy, its normalization and every line text.
void BM_OpenFullPointList(benchmark::State& state)
{
    const CurveDocument doc = reversedFullCurve();
    for (auto _ : state) {
        CPointList list(doc);
        std::vector<std::string> lines = list.lineTexts();
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * MaxCurvePoints);
}

// A modify on a full, sorted list: normalization of an almost sorted copy and the lines again.
void BM_ModifyFullPointList(benchmark::State& state)
{
    CPointList list(reversedFullCurve());
    for (auto _ : state) {
        list.modify(MaxCurvePoints / 2, "+1.893e+002", "-7.680e-001");
        std::vector<std::string> lines = list.lineTexts();
        benchmark::DoNotOptimize(lines.data());
    }
}

} // namespace

BENCHMARK(BM_OpenFullPointList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModifyFullPointList)->Unit(benchmark::kMillisecond);
