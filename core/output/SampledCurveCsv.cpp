#include "output/SampledCurveCsv.h"

#include "text/NumberText.h"
#include "view/DisplayFlags.h"
#include "view/SmoothCurve.h"

namespace {

void appendLine(std::string& out, std::initializer_list<double> values)
{
    bool first = true;
    for (double value : values) {
        if (!first)
            out += ',';
        out += roundTripNumber(value);
        first = false;
    }
    out += '\n';
}

} // namespace

std::string roundTripNumber(double value)
{
    std::string text;
    for (const char* format : {"%.15g", "%.16g", "%.17g"}) {
        text = cformat(format, {value});
        double back = 0.0;
        if (parseDecimalPrefix(text, back) == text.size() && back == value)
            break;
    }
    return text;
}

std::string sampledCurveCsv(std::span<const CurvePoint> points, SmoothingMode mode)
{
    std::string out(SampledCurveCsvHeader);
    out += '\n';
    if (points.size() < 2) {
        for (const CurvePoint& p : points)
            appendLine(out, {p.x, p.y, 0.0, 0.0, 0.0});
        return out;
    }
    // The smoothing gives the integral in place of the first derivative when both are
    // asked: it is asked for twice.
    const SmoothedCurve derived = smoothCurve(points, mode, Derivative1 | Derivative2);
    const SmoothedCurve integrated = smoothCurve(points, mode, Integral);
    for (int i = 0; i < derived.sampleCount(); ++i) {
        const CurvePoint& s = derived.samples[i];
        appendLine(out, {s.x, s.y, derived.firstDerived[i], derived.secondDerived[i], integrated.firstDerived[i]});
    }
    return out;
}
