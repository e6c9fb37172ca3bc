// The worst inputs a user or a file can give the editor in one go: each must leave the
// window within about a second.
#include "core/curve/CurveFile.h"
#include "core/formula/FormulaEvaluation.h"
#include "core/text/NumberText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The longest formula field (254 characters) filled with Bessel terms of the highest
// order, over the largest interval a formula may span (1025 points).
std::string besselFormula()
{
    std::string formula = "jn(1000,x)";
    while (formula.size() + 11 <= 254)
        formula += "+jn(1000,x)";
    return formula;
}

void BM_WorstBesselFormula(benchmark::State& state)
{
    const std::string formula = besselFormula();
    for (auto _ : state) {
        FormulaCurve curve = evaluateFormula(formula, 0, 1023, 1);
        benchmark::DoNotOptimize(curve.points.data());
    }
    state.SetLabel(std::to_string(formula.size()) + " characters");
}

// A file of `megabytes` MB whose lines are all points, as an export of a long record
// may be: only the first 1024 are kept.
std::string bigFile(const char* name, int megabytes, const std::string& header)
{
    const fs::path path = fs::temp_directory_path() / name;
    const std::uintmax_t wanted = std::uintmax_t(megabytes) << 20;
    std::error_code ec;
    if (fs::exists(path, ec) && fs::file_size(path, ec) >= wanted)
        return path.string();
    std::ofstream out(path, std::ios::binary);
    out << header;
    std::string line;
    std::uintmax_t written = header.size();
    for (long i = 0; written < wanted; ++i) {
        line = cformat("%lf %lf\r\n", {i * 0.001, i * 0.5});
        out << line;
        written += line.size();
    }
    return path.string();
}

void BM_LargeAsciiFile(benchmark::State& state)
{
    const std::string path = bigFile("crbedit-bench-300mb.txt", 300, "");
    for (auto _ : state) {
        CurveDocument doc;
        readAsciiFile(path, doc);
        benchmark::DoNotOptimize(doc.count());
    }
}

// Comment lines only: the reader must go through the whole file up to its size bound.
void BM_LargeAsciiComments(benchmark::State& state)
{
    const fs::path path = fs::temp_directory_path() / "crbedit-bench-300mb-comments.txt";
    std::error_code ec;
    if (!fs::exists(path, ec) || fs::file_size(path, ec) < (std::uintmax_t(300) << 20)) {
        std::ofstream out(path, std::ios::binary);
        const std::string line = "; a comment line of an exported record\r\n";
        for (std::uintmax_t written = 0; written < (std::uintmax_t(300) << 20); written += line.size())
            out << line;
    }
    for (auto _ : state) {
        CurveDocument doc;
        readAsciiFile(path.string(), doc);
        benchmark::DoNotOptimize(doc.count());
    }
}

// A curve file declaring two billion points: the surplus pairs are read past up to the
// size bound of a text file.
void BM_LargeCurveFile(benchmark::State& state)
{
    const std::string path = bigFile("crbedit-bench-300mb.crb", 300, "20020704\r\n1\r\n0\r\n2000000000\r\n");
    for (auto _ : state) {
        CurveDocument doc;
        readCurveFile(path, doc);
        benchmark::DoNotOptimize(doc.count());
    }
}

} // namespace

BENCHMARK(BM_WorstBesselFormula)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeAsciiFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeAsciiComments)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeCurveFile)->Unit(benchmark::kMillisecond)->Iterations(3);
