// Feeds the expression language: a numeric field's text as typed (cut at the longest
// field the dialogs read), or a formula curve with a, b and the increment either given
// as doubles (huge, tiny, negative, infinite, NaN) or typed as field texts, followed
// by the formula dialog's preview of the points on a recording surface.
// Beyond "no crash" it checks:
// - a field gives no value or a value, the same twice; a lowercase field without
//   "x" or "rand" gives the same value as a constant formula of the same text (one
//   that is not finite, 1/0, is a formula defined nowhere);
// - a formula curve is refused exactly when the increment is 0 or a bound is not
//   finite, holds only finite points, no more than MaxFormulaSteps + 1 (a rounded step
//   count of 1024 is allowed and intended: the caller keeps what fits), points only
//   when it succeeded, and, unless the formula assigns to x, the points' x are
//   i * increment + a in the order of i;
// - evaluation is deterministic once the formula random generator is restarted;
// - the preview maps every point, and draws nowhere near int overflow.
#include "draw/RecordingSurface.h"
#include "formula/CurveParser.h"
#include "formula/FormulaDialogMemory.h"
#include "formula/FormulaEvaluation.h"
#include "formula/FormulaPreview.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

using fuzz::Input;
using fuzz::sameBits;

namespace {

// The awkward values number() picks from: signed zeros, the extremes of magnitude,
// infinities, NaN, and values near the step count's limit and its rounding.
constexpr double Special[] = {0.0,
                              -0.0,
                              1.0,
                              -1.0,
                              0.5,
                              0.25,
                              0.3,
                              0.4,
                              1023.6,
                              1024.0,
                              1023.5,
                              -1023.5,
                              1e-300,
                              std::numeric_limits<double>::denorm_min(),
                              1e15,
                              1e300,
                              -1e300,
                              std::numeric_limits<double>::max(),
                              -std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(),
                              2147483648.0,
                              1e-12,
                              3.0,
                              1e6,
                              2e-3,
                              1e20,
                              1e20 + 16384.0,
                              17.0};

// A double of the input: one of Special, a small integer, an int16 in 64ths, or any bits.
double number(Input& in)
{
    return in.number(Special, [](Input& rest) { return static_cast<std::int16_t>(rest.u16()) / 64.0; });
}

// The text and the bounds go with the message: enough to rebuild the case.
[[noreturn]] void broken(const char* what, std::string_view text, double a = 0, double b = 0, double inc = 0)
{
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "  a=%.17g b=%.17g inc=%.17g\n", a, b, inc);
    fuzz::broken(what, "  text: \"" + std::string(text) + "\"\n" + numbers);
}

bool sameCurve(const FormulaCurve& u, const FormulaCurve& v)
{
    if (u.failure != v.failure || u.skippedCount != v.skippedCount || u.points.size() != v.points.size())
        return false;
    for (std::size_t i = 0; i < u.points.size(); ++i)
        if (!sameBits(u.points[i].x, v.points[i].x) || !sameBits(u.points[i].y, v.points[i].y))
            return false;
    return true;
}

// The longest field text any dialog reads (the transform dialogs read fewer).
constexpr int FieldCharacters = NumberTextLength;

void checkField(const std::string& text)
{
    resetFormulaRandom();
    const std::optional<double> value = evaluateNumberField(text);
    resetFormulaRandom();
    const std::optional<double> again = evaluateNumberField(text);
    if (value.has_value() != again.has_value() || (value && !sameBits(*value, *again)))
        broken("a field gave two different results", text);

    // A constant formula is the same expression: the formula is only lower-cased and
    // knows x. rand would draw a new value at the second point.
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) { return c == 'x' || (c >= 'A' && c <= 'Z'); })
        && text.find("rand") == std::string::npos && !text.empty();
    if (!plain)
        return;
    const FormulaCurve curve = evaluateFormula(text, 0.0, 1.0, 1.0);
    if (value && !std::isfinite(*value)) {
        // A typed 1/0 is a value; as a formula it is defined nowhere.
        if (curve.failure != FormulaFailure::NoFiniteValue)
            broken("a constant formula that is not finite gave points", text);
    } else if (value) {
        if (!curve.ok() || curve.points.size() != 2 || curve.points[0].y != *value || curve.points[1].y != *value)
            broken("a constant formula differs from the field of the same text", text);
    } else if (curve.ok()) {
        broken("a constant formula evaluates where the field of the same text does not", text);
    }
}

void checkPreview(const FormulaCurve& curve, double a, double b, int width, int height, PixelPoint click)
{
    RecordingSurface surface({width, height});
    paintPreviewBackground(surface);
    const FormulaPreview preview = drawFormulaPreview(surface, curve.points, a, b);
    if (!preview.complete || preview.pixels.size() != curve.points.size())
        broken("the preview did not map every point", "", a, b);
    PreviewPick pick;
    const std::optional<std::size_t> picked = pickPreviewPoint(surface, preview.pixels, pick, click);
    if (picked && *picked >= preview.pixels.size())
        broken("a pick named no point", "", a, b);
    repaintFormulaPreview(surface, preview);
    // Far pixels are clamped to PixelLimit; markers and the pick cross reach a few
    // pixels beyond. Anything larger would be an int gone wrong.
    const long long limit = static_cast<long long>(PixelLimit) + std::max(width, height) + 2 * PickCrossHalf;
    for (const RecordingSurface::Primitive& p : surface.primitives())
        for (const PixelPoint& v : p.points)
            if (std::llabs(v.x) > limit || std::llabs(v.y) > limit)
                broken("the preview drew a vertex beyond the pixel limit", "", a, b);
}

void checkFormula(const std::string& formula, double a, double b, double inc, Input& in)
{
    resetFormulaRandom();
    const FormulaCurve curve = evaluateFormula(formula, a, b, inc);
    resetFormulaRandom();
    const FormulaCurve again = evaluateFormula(formula, a, b, inc);
    if (!sameCurve(curve, again))
        broken("a formula curve came out differently the second time", formula, a, b, inc);

    if ((curve.failure == FormulaFailure::ZeroIncrement) != (inc == 0.0))
        broken("an increment of 0 and ZeroIncrement do not go together", formula, a, b, inc);
    if (inc != 0.0 && !(std::isfinite(a) && std::isfinite(b) && std::isfinite(inc))
        && curve.failure != FormulaFailure::BadInterval)
        broken("a bound or an increment that is not finite was not refused", formula, a, b, inc);
    if (curve.ok() == curve.points.empty())
        broken("points and success do not go together", formula, a, b, inc);
    if (curve.points.size() > static_cast<std::size_t>(MaxFormulaSteps) + 1)
        broken("a formula curve holds more points than the step limit allows", formula, a, b, inc);
    for (const CurvePoint& p : curve.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            broken("a formula curve holds a point that is not finite", formula, a, b, inc);

    const bool evaluated = curve.ok() || curve.failure == FormulaFailure::NoFiniteValue;
    if (!evaluated)
        return;
    const long long total = static_cast<long long>(curve.points.size()) + curve.skippedCount;
    if (total < 1 || total > MaxFormulaSteps + 1)
        broken("a formula curve was evaluated at a wrong number of x", formula, a, b, inc);
    // "x = ..." moves the point's x on purpose.
    if (formula.find('=') == std::string::npos) {
        long long i = 0;
        for (const CurvePoint& p : curve.points) {
            while (i < total && !sameBits(static_cast<double>(i) * inc + a, p.x))
                ++i;
            if (i == total)
                broken("a formula point's x is not the next i * increment + a", formula, a, b, inc);
            ++i;
        }
    }
    if (curve.ok()) {
        const int width = in.byte() * 4;
        const int height = in.byte() * 4;
        const PixelPoint click{static_cast<std::int16_t>(in.u16()), static_cast<std::int16_t>(in.u16())};
        checkPreview(curve, a, b, width, height, click);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    switch (in.byte() % 3) {
    case 0: // one numeric field
        checkField(in.text(FieldCharacters));
        break;
    case 1: { // the bounds as doubles, then the formula
        const double a = number(in);
        const double b = number(in);
        const double inc = number(in);
        const std::uint8_t preview[6] = {in.byte(), in.byte(), in.byte(), in.byte(), in.byte(), in.byte()};
        const std::string formula = in.text(FormulaTextLength);
        Input previewInput(preview, sizeof preview);
        checkFormula(formula, a, b, inc, previewInput);
        break;
    }
    default: { // the dialog's four fields, one per line: a, b, increment, formula
        const std::string fa = in.line(NumberTextLength);
        const std::string fb = in.line(NumberTextLength);
        const std::string finc = in.line(NumberTextLength);
        const std::string formula = in.line(FormulaTextLength);
        checkField(fa);
        checkField(fb);
        checkField(finc);
        const std::optional<double> a = evaluateNumberField(fa);
        const std::optional<double> b = evaluateNumberField(fb);
        const std::optional<double> inc = evaluateNumberField(finc);
        if (a && b && inc)
            checkFormula(formula, *a, *b, *inc, in);
        break;
    }
    }
    return 0;
}
