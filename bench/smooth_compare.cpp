// The editor's side of the comparison with other interpolation libraries (run_all.sh):
// writes a cam motion law and the abscissae smoothCurve samples it at, what smoothCurve
// computes there for each cubic mode, and how long it takes.
//
//   smooth_compare DIR
//
// DIR/curve.txt        the points, "x y" a line, read back here and by the other programs
// DIR/abscissae.bin    the sample abscissae, doubles
// DIR/ours_NAME.bin    y, y', y'' then the running integral at each abscissa, doubles
// DIR/times_ours.txt   "NAME TASK SECONDS" a line: the median time of one call
//
// NAME is cubic, akima or monotone; TASK is "derivs" (y, y', y'') or "integral" (y and the
// running integral), one smoothCurve call each, as one redraw asks them.
#include "core/view/SmoothCurve.h"

#include "BenchTiming.h"

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <locale>
#include <numbers>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Cycloidal rise of 10 mm over 120 degrees, dwell, cycloidal return over 120 degrees,
// dwell: the commonest cam law, with flat parts and fast curvature changes both.
double camLift(double angle)
{
    constexpr double Lift = 10.0, Beta = 120.0;
    auto cycloidal = [](double t) { return t - std::sin(2 * std::numbers::pi * t) / (2 * std::numbers::pi); };
    if (angle < 120.0)
        return Lift * cycloidal(angle / Beta);
    if (angle < 180.0)
        return Lift;
    if (angle < 300.0)
        return Lift * (1 - cycloidal((angle - 180.0) / Beta));
    return 0.0;
}

bool writeCurve(const std::string& path)
{
    std::ofstream out(path);
    out.imbue(std::locale::classic());
    out.precision(17); // enough for every double to read back exactly
    for (int i = 0; i < MaxCurvePoints; ++i) {
        const double x = 360.0 * i / (MaxCurvePoints - 1);
        out << x << ' ' << camLift(x) << '\n';
    }
    return static_cast<bool>(out);
}

std::vector<CurvePoint> readCurve(const std::string& path)
{
    std::ifstream in(path);
    in.imbue(std::locale::classic());
    std::vector<CurvePoint> points;
    CurvePoint p;
    while (in >> p.x >> p.y)
        points.push_back(p);
    return points;
}

bool writeDoubles(const std::string& path, std::initializer_list<std::span<const double>> arrays)
{
    std::ofstream out(path, std::ios::binary);
    for (std::span<const double> a : arrays)
        out.write(reinterpret_cast<const char*>(a.data()), static_cast<std::streamsize>(a.size() * sizeof(double)));
    return static_cast<bool>(out);
}

struct Method {
    const char* name;
    SmoothingMode mode;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: smooth_compare DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    if (!writeCurve(dir + "/curve.txt")) {
        std::cerr << "smooth_compare: cannot write " << dir << "/curve.txt\n";
        return 1;
    }
    const std::vector<CurvePoint> points = readCurve(dir + "/curve.txt");

    std::ostringstream times;
    times.imbue(std::locale::classic());
    times.precision(6);
    bool abscissaeWritten = false;
    for (const Method& m : {Method{"cubic", Cubique}, Method{"akima", Akima}, Method{"monotone", Carlson}}) {
        SmoothedCurve derivs = smoothCurve(points, m.mode, Derivative1 | Derivative2);
        SmoothedCurve integral = smoothCurve(points, m.mode, Integral);
        std::vector<double> x, y;
        for (const CurvePoint& s : derivs.samples) {
            x.push_back(s.x);
            y.push_back(s.y);
        }
        // Every mode samples at the same abscissae: one file serves them all.
        if (!abscissaeWritten)
            abscissaeWritten = writeDoubles(dir + "/abscissae.bin", {x});
        if (!writeDoubles(dir + "/ours_" + m.name + ".bin",
                          {y, derivs.firstDerived, derivs.secondDerived, integral.firstDerived})) {
            std::cerr << "smooth_compare: cannot write in " << dir << '\n';
            return 1;
        }
        // Arrays reused from call to call, as the drawing area keeps them between redraws.
        const double derivSeconds =
            medianSecondsPerCall([&] { smoothCurve(points, m.mode, Derivative1 | Derivative2, derivs); });
        const double integralSeconds = medianSecondsPerCall([&] { smoothCurve(points, m.mode, Integral, integral); });
        times << m.name << " derivs " << derivSeconds << '\n' << m.name << " integral " << integralSeconds << '\n';
    }
    std::ofstream(dir + "/times_ours.txt") << times.str();
    std::cout << "smooth_compare: " << points.size() << " points, " << smoothCurve(points, Cubique, {}).sampleCount()
              << " samples\n";
    return 0;
}
