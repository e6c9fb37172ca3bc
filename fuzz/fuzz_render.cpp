// Feeds the drawing area's redraw path (setViewWindow as a command calls it, then
// redrawPlot and redrawCurveIncrementally on an Editor, hence renderPlot and drawCurve) on a recording surface:
// surfaces from 0 to 4095 pixels a side at various resolutions, a requested view window of any doubles (degenerate,
// inverted, huge, tiny, not finite), a document of up to MaxCurvePoints points (sorted as the document keeps them, or
// in file order, any magnitude, now and then not finite) with any smoothing mode and derived-curve flags, now and then
// filled to the capacity, emptied or cut short after its snapshot, and an edit before an incremental redraw.
// Beyond "no crash" it checks:
// - a request that is not usable is refused and keeps the current window; a usable
//   one becomes the current window; the mapping always has a finite, non-zero scale;
// - curve polylines stay within a million pixels of the surface (the renderer cuts
//   segments there) and every other vertex within PixelLimit of it; a curve that
//   lies wholly within that distance is one polyline through its samples mapped as
//   the markers are;
// - no label reads inf or nan, even when the renderer is handed a window no command
//   would give it;
// - the screen's rasterizer, stepping every recorded segment and rectangle outline on a
//   buffer, writes only inside its box and restores it when drawn twice in exclusive-or;
// - graduation ticks lie on the usable area (up to a twentieth of a step beyond),
//   at most GraduationCount + 3 labels and ticks per axis (counted together: at low
//   resolution a tick has no length);
// - the surface's state is as the caller set it afterwards;
// - a second redraw with the kept arrays, and a one-off renderPlot with fresh ones,
//   record exactly the same primitives;
// - an incremental redraw erases exactly what the full redraw drew and draws what a
//   redraw of the edited curve draws: the exclusive-or segments of the three, colour
//   by colour, pair off (the redraw leaves out the segments that both would draw); its
//   white markers are the full redraw's red ones. Where it draws the whole picture
//   instead, that picture is exactly the full redraw's, and so is the mapping after it.
#include "draw/PixelRaster.h"
#include "draw/RecordingSurface.h"
#include "editor/Editor.h"
#include "editor/NullEditorHost.h"
#include "editor/PlotRedraw.h"
#include "view/PlotRenderer.h"
#include "view/SmoothCurve.h"
#include "view/ViewWindow.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using fuzz::broken;
using fuzz::Input;
using fuzz::sameBits;

namespace {

using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;

// The awkward values number() picks from: signed zeros, the extremes of magnitude,
// infinities, NaN, and values near the limits the renderer and the view window keep.
constexpr double Special[] = {0.0,
                              -0.0,
                              1.0,
                              -1.0,
                              36.0,
                              -36.0,
                              1e-250,
                              1e-251,
                              1e-300,
                              std::numeric_limits<double>::denorm_min(),
                              1e12,
                              1e15,
                              1e300,
                              -1e300,
                              std::numeric_limits<double>::max(),
                              -std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(),
                              1.0 + 1e-12,
                              1.0 + 1e-11,
                              2147483648.0,
                              1e8,
                              4503599627370496.0};

// A double of the input: one of Special, a small integer, an int16 scaled by a power of
// two, or any bits.
double number(Input& in)
{
    return in.number(Special, [](Input& rest) {
        // Read one after the other: the order of a call's arguments is the compiler's.
        const double mantissa = rest.i16();
        return std::ldexp(mantissa, static_cast<std::int8_t>(rest.byte()) % 80);
    });
}

bool samePrimitive(const Primitive& u, const Primitive& v)
{
    return u.kind == v.kind && u.points == v.points && u.text == v.text && u.align == v.align && u.pen == v.pen
        && u.brush == v.brush && u.mode == v.mode && u.font == v.font && u.textColour == v.textColour
        && u.clip == v.clip;
}

bool samePrimitives(const std::vector<Primitive>& u, const std::vector<Primitive>& v)
{
    return u.size() == v.size() && std::equal(u.begin(), u.end(), v.begin(), samePrimitive);
}

bool sameMapping(const CanvasMapping& a, const CanvasMapping& b)
{
    auto same = [](double u, double v) { return std::bit_cast<std::uint64_t>(u) == std::bit_cast<std::uint64_t>(v); };
    return a.width == b.width && a.height == b.height && a.marginX == b.marginX && a.marginY == b.marginY
        && a.usableWidth == b.usableWidth && a.usableHeight == b.usableHeight && same(a.scaleX, b.scaleX)
        && same(a.scaleY, b.scaleY) && same(a.xmin, b.xmin) && same(a.ymin, b.ymin);
}

// Up to MaxCurvePoints points: int16 pairs scaled by powers of two, or raw doubles
// (which may not be finite: the renderer must still draw the rest).
std::vector<CurvePoint> readPoints(Input& in, std::size_t count, bool rawDoubles, int exponentX, int exponentY)
{
    std::vector<CurvePoint> points;
    while (points.size() < count && in.remaining() > 0) {
        if (rawDoubles)
            points.push_back({in.raw(), in.raw()});
        else
            points.push_back({std::ldexp(in.i16(), exponentX), std::ldexp(in.i16(), exponentY)});
    }
    return points;
}

struct SurfaceState {
    Pen pen;
    Brush brush;
    DrawMode mode;
    Font font;
    Rgb textColour;
    std::optional<Rgb> textBackground;
    std::optional<PixelRect> clip;
    explicit SurfaceState(const Surface& s)
        : pen(s.pen()), brush(s.brush()), mode(s.mode()), font(s.font()), textColour(s.textColour()),
          textBackground(s.textBackground()), clip(s.clipRect())
    {
    }
    friend bool operator==(const SurfaceState&, const SurfaceState&) = default;
};

// A caller's state that no renderer sets by itself.
void setCallerState(Surface& s)
{
    s.setPen({Colours::Green, 3, PenStyle::Dash});
    s.setBrush(Brush::none());
    s.setMode(DrawMode::Xor);
    s.setFont({7, FontFamily::Serif, true});
    s.setTextColour(Colours::Blue);
    s.setClipRect({1, 2, 3, 4});
    s.setTextBackground(Colours::Cyan);
}

// The window as setViewWindow orders it.
ViewWindow ordered(ViewWindow w)
{
    if (w.xmax < w.xmin)
        std::swap(w.xmin, w.xmax);
    if (w.ymax < w.ymin)
        std::swap(w.ymin, w.ymax);
    return w;
}

bool sameWindow(const ViewWindow& u, const ViewWindow& v)
{
    return sameBits(u.xmin, v.xmin) && sameBits(u.xmax, v.xmax) && sameBits(u.ymin, v.ymin) && sameBits(u.ymax, v.ymax);
}

void checkWindow(const ViewWindow& before, const ViewWindow& request, const ViewState& view, const CanvasMapping& m)
{
    const ViewWindow asked = ordered(request);
    if (isUsableWindow(asked)) {
        if (!(view.current == asked))
            broken("a usable window request was not taken");
    } else if (!sameWindow(view.current, before)) {
        broken("a window request that is not usable changed the window");
    }
    if (!isUsableWindow(view.current))
        broken("the current window is not usable");
    if (!std::isfinite(m.scaleX) || !std::isfinite(m.scaleY) || m.scaleX <= 0 || m.scaleY <= 0)
        broken("the mapping's scale is not finite and positive");
}

// Vertices of every primitive; polylines (only curves are drawn so) within the
// renderer's cutting distance, others within PixelLimit plus what labels add.
void checkVertices(const RecordingSurface& s, const PlotTicks& ticks)
{
    constexpr double CurveReach = 1e6;
    const PixelSize size = s.size();
    const long long reach = static_cast<long long>(PixelLimit) + size.width + size.height
        + 4 * std::max({ticks.tickX, ticks.tickY, 1}) + 400 * RecordingSurface::CharWidth;
    for (const Primitive& p : s.primitives()) {
        for (const PixelPoint& v : p.points) {
            if (p.kind == Kind::Polyline) {
                if (v.x < -CurveReach || v.x > size.width + CurveReach || v.y < -CurveReach
                    || v.y > size.height + CurveReach)
                    broken("a curve vertex lies beyond the renderer's cutting distance");
            } else if (std::llabs(v.x) > reach || std::llabs(v.y) > reach) {
                broken("a vertex lies beyond the pixel limit");
            }
        }
    }
}

// Graduation ticks: copy mode, black pen of width 1, lines (the axes have width 2,
// markers are red or white). An x tick is vertical and lies within the usable width,
// a y tick horizontal within the usable height (a tick of length 0 is both).
void checkGraduations(const RecordingSurface& s, const CanvasMapping& m)
{
    // A pass stops a twentieth of a step (1/120 of the usable size) beyond the edge;
    // a value snapped to 0 in a window narrower than 0.006 never leaves it, so the
    // pass goes that far. Plus rounding of the origin and truncation.
    const int xSlack = std::max(m.usableWidth, 1) / 120 + 2;
    const int ySlack = std::max(m.usableHeight, 1) / 120 + 2;
    int ticks = 0, labels = 0;
    for (const Primitive& p : s.primitives()) {
        if (p.kind == Kind::Text) {
            ++labels;
            continue;
        }
        if (p.kind != Kind::Line || p.mode != DrawMode::Copy || !(p.pen.colour == Colours::Black) || p.pen.width != 1)
            continue;
        const PixelPoint a = p.points[0], b = p.points[1];
        const bool xTick =
            a.x == b.x && a.x >= m.marginX - xSlack && a.x <= m.marginX + std::max(m.usableWidth, 1) + xSlack;
        const bool yTick =
            a.y == b.y && a.y >= m.marginY - ySlack && a.y <= m.marginY + std::max(m.usableHeight, 1) + ySlack;
        if (!xTick && !yTick)
            broken("a graduation tick lies outside the usable area");
        ++ticks;
    }
    // Each axis has GraduationCount steps, so 7 values, the origin handled by both
    // passes, and a value reached just beyond an edge by rounding.
    constexpr int PerAxis = GraduationCount + 3;
    if (ticks > 2 * PerAxis || labels > 2 * PerAxis)
        broken("too many graduations");
}

// No label shows a value that is not a number: "inf" or "nan" in any letter case.
void checkLabels(const RecordingSurface& s)
{
    for (const Primitive& p : s.primitives()) {
        if (p.kind != Kind::Text)
            continue;
        std::string lower = p.text;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
            broken("a label is not a finite number");
    }
}

// The screen's rasterizer steps every recorded segment on pixels of its own: it writes
// only inside its box (the sanitizers watch the buffer's ends), and in exclusive-or the
// picture drawn twice is as it was. The buffer is the surface cut to 512 x 512, with
// a clip box inside it when the input asks for one.
void checkRaster(const RecordingSurface& s, Input& in)
{
    const int width = std::clamp(s.size().width, 1, 512);
    const int height = std::clamp(s.size().height, 1, 512);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    PixelRaster raster;
    raster.bits = reinterpret_cast<unsigned char*>(pixels.data());
    raster.bytesPerLine = static_cast<std::ptrdiff_t>(width) * 4;
    raster.box = {0, 0, width - 1, height - 1};
    if (in.byte() & 1)
        raster.box = {in.byte() % width, in.byte() % height, width - 1 - in.byte() % width,
                      height - 1 - in.byte() % height};
    raster.colour = 0x00a5c3e1u;
    raster.exclusiveOr = true;
    const auto stepAll = [&] {
        for (const Primitive& p : s.primitives()) {
            if (p.kind == Kind::Line) {
                raster.segment(p.points[0], p.points[1]);
            } else if (p.kind == Kind::Polyline) {
                for (std::size_t i = 1; i < p.points.size(); ++i)
                    raster.segment(p.points[i - 1], p.points[i]);
            } else if (p.kind == Kind::Rectangle) {
                raster.patternedOutline({p.points[0].x, p.points[0].y, p.points[1].x - 1, p.points[1].y - 1}, 3, 3,
                                        0x00ffffffu);
            }
        }
    };
    stepAll();
    stepAll();
    if (std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t v) { return v != 0; }))
        broken("the rasterizer drawn twice in exclusive-or left pixels changed");
}

// The curve goes through the points' markers: when every sample maps near the
// picture, the curve is one polyline whose vertices are the samples mapped the way
// markers are.
void checkCurveOnMapping(const RecordingSurface& s, const CanvasMapping& m, const CurveDocument& doc,
                         DisplayFlags flags)
{
    const SmoothedCurve curve = smoothCurve(doc.points(), doc.smoothingMode, flags);
    if (curve.samples.size() < 2)
        return;
    constexpr int Near = 1'000'000 - 2;
    const PixelSize size = s.size();
    std::vector<PixelPoint> mapped;
    for (const CurvePoint& p : curve.samples) {
        const PixelPoint v = m.worldToPixel(p.x, p.y);
        if (v.x < -Near || v.x > size.width + Near || v.y < -Near || v.y > size.height + Near)
            return;
        mapped.push_back(v);
    }
    std::vector<const Primitive*> lines;
    for (const Primitive& p : s.primitives())
        if (p.kind == Kind::Polyline && p.mode == DrawMode::Xor && p.pen.colour == Colours::White)
            lines.push_back(&p);
    if (lines.size() != 1 || lines[0]->points != mapped)
        broken("the curve does not go through its samples as the markers are mapped");
}

std::vector<Primitive> xorPolylines(const RecordingSurface& s)
{
    std::vector<Primitive> result;
    for (const Primitive& p : s.primitives())
        if (p.kind == Kind::Polyline && p.mode == DrawMode::Xor)
            result.push_back(p);
    return result;
}

// Whether the exclusive-or segments of all the surfaces pair off, colour by colour: the
// pixels they paint, drawn on one picture, then cancel out (a polyline paints its
// segments, each without its end pixel).
bool segmentsPairOff(std::initializer_list<const RecordingSurface*> surfaces)
{
    struct Segment {
        std::uint32_t colour;
        PixelPoint a, b;
        auto key() const { return std::tuple(colour, a.x, a.y, b.x, b.y); }
    };
    std::vector<Segment> segments;
    for (const RecordingSurface* s : surfaces)
        for (const Primitive& p : xorPolylines(*s))
            for (std::size_t i = 1; i < p.points.size(); ++i)
                if (p.points[i - 1] != p.points[i])
                    segments.push_back(
                        {(std::uint32_t{p.pen.colour.r} << 16) | (std::uint32_t{p.pen.colour.g} << 8) | p.pen.colour.b,
                         p.points[i - 1], p.points[i]});
    std::sort(segments.begin(), segments.end(), [](const Segment& u, const Segment& v) { return u.key() < v.key(); });
    for (std::size_t i = 0; i < segments.size(); i += 2)
        if (i + 1 == segments.size() || segments[i].key() != segments[i + 1].key())
            return false;
    return true;
}

std::vector<std::vector<PixelPoint>> markerLines(const RecordingSurface& s, Rgb colour)
{
    std::vector<std::vector<PixelPoint>> result;
    for (const Primitive& p : s.primitives())
        if (p.kind == Kind::Line && p.mode == DrawMode::Copy && p.pen.colour == colour && p.pen.width == 1)
            result.push_back(p.points);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const PixelSize area{in.u16() % 4096, in.u16() % 4096};
    static constexpr int Dpis[] = {96, 72, 120, 144, 300, 600, 25, 1200};
    const std::uint8_t dpiByte = in.byte();
    const int dpiX = Dpis[dpiByte & 7];
    const int dpiY = Dpis[(dpiByte >> 3) & 7];
    const DisplayFlags flags = DisplayFlags::fromBits(in.byte());
    const int mode = static_cast<std::int8_t>(in.byte()) % 6;
    const std::uint8_t setup = in.byte();
    const bool fitFirst = (setup & 1) != 0; // the window fitted to the curve, as after a file read
    const bool rawDoubles = (setup & 2) != 0;
    const bool unsorted = (setup & 4) != 0;  // in file order rather than normalized
    const int countShift = (setup >> 3) & 3; // 0: as read; else filled, emptied or shortened
    const int edit = (setup >> 5) & 7;
    const ViewWindow request{number(in), number(in), number(in), number(in)};
    const int exponentX = static_cast<std::int8_t>(in.byte()) % 64 - 8;
    const int exponentY = static_cast<std::int8_t>(in.byte()) % 64 - 8;
    const std::size_t wanted = in.u16() % (MaxCurvePoints + 1);
    const std::vector<CurvePoint> points = readPoints(in, wanted, rawDoubles, exponentX, exponentY);

    Editor editor;
    CurveDocument& doc = editor.document;
    doc.appendPoints(points);
    if (!unsorted)
        doc.normalize();
    doc.smoothingMode = static_cast<SmoothingMode>(mode);
    doc.takeSnapshot();
    if (countShift == 1)
        doc.appendPoints(std::vector<CurvePoint>(MaxCurvePoints)); // the rest of the capacity, at the origin
    else if (countShift == 2)
        doc.clearPoints();
    else if (countShift == 3)
        doc.replacePoints(doc.points().first(doc.points().size() / 2));
    editor.displayFlags = flags;
    if (fitFirst)
        fitView(editor.view, doc.points(), doc.smoothingMode, flags);

    RecordingSurface full(area, dpiX, dpiY);
    const PlotTicks ticks = plotTicks(full);
    setCallerState(full);
    const SurfaceState callerState(full);
    const ViewWindow before = editor.view.current;
    const ViewState viewBefore = editor.view;
    // As a command does: the request becomes the view window when it is usable.
    setViewWindow(editor.view, request);
    NullEditorHost host;
    redrawPlot(editor, host, full);
    if (!(SurfaceState(full) == callerState))
        broken("the full redraw left the surface's state changed");
    checkWindow(before, request, editor.view, editor.mapping);
    checkVertices(full, ticks);
    checkGraduations(full, editor.mapping);
    checkLabels(full);
    checkRaster(full, in);
    checkCurveOnMapping(full, editor.mapping, doc, flags);

    // The renderer given the request itself as its window, usable or not, as no command
    // does: it still labels only finite values.
    {
        RecordingSurface raw(area, dpiX, dpiY);
        renderPlot(raw, request, doc, flags);
        checkLabels(raw);
    }

    // The next repaint keeps the window and reuses the arrays grown by the first.
    RecordingSurface again(area, dpiX, dpiY);
    setCallerState(again);
    redrawPlot(editor, host, again);
    if (!samePrimitives(full.primitives(), again.primitives()))
        broken("a redraw with the kept arrays drew something else");

    // A one-off picture with arrays of its own.
    RecordingSurface oneOff(area, dpiX, dpiY);
    setCallerState(oneOff);
    ViewState view = viewBefore;
    setViewWindow(view, request);
    renderPlot(oneOff, view.current, doc, flags);
    if (!samePrimitives(full.primitives(), oneOff.primitives()))
        broken("a one-off picture differs from the redraw");

    // An edit, then the incremental redraw that erases the previous curve.
    doc.takeSnapshot();
    const int n = doc.count();
    switch (edit) {
    case 0: break; // nothing changed: the curve is erased and drawn again
    case 1: doc.removePoint(n - 1); break;
    case 2:
        if (n > 0) {
            const int moved = in.u16() % n;
            const CurvePoint p = doc.points()[static_cast<std::size_t>(moved)];
            doc.setPoint(moved, {p.x, p.y + std::ldexp(1.0, exponentY)});
        }
        break;
    case 3: doc.clearPoints(); break;
    case 4:
        doc.smoothingMode = static_cast<SmoothingMode>((mode + 1) % 4); // the snapshot is drawn in the mode in force
        break;
    default:
        doc.appendPoints(readPoints(in, static_cast<std::size_t>(in.byte()), rawDoubles, exponentX, exponentY));
        if (!unsorted)
            doc.normalize();
        break;
    }
    RecordingSurface incremental(area, dpiX, dpiY);
    setCallerState(incremental);
    redrawCurveIncrementally(editor, host, incremental);
    if (!(SurfaceState(incremental) == callerState))
        broken("the incremental redraw left the surface's state changed");
    // Only a full redraw paints the background.
    if (!incremental.ofKind(Kind::Rectangle).empty()) {
        RecordingSurface whole(area, dpiX, dpiY);
        setCallerState(whole);
        const CanvasMapping mapping = renderPlot(whole, editor.view.current, doc, flags).mapping;
        if (!samePrimitives(whole.primitives(), incremental.primitives()))
            broken("the whole picture drawn after an edit differs from the full redraw");
        if (!sameMapping(mapping, editor.mapping))
            broken("the mapping after the whole picture drawn after an edit is not the full redraw's");
        return 0;
    }
    checkVertices(incremental, ticks);
    if (edit != 4) {
        RecordingSurface edited(area, dpiX, dpiY);
        drawCurve(edited, editor.mapping, doc, flags, false);
        if (!segmentsPairOff({&full, &incremental, &edited}))
            broken("the incremental redraw does not turn the full redraw's curves into the edited curve's");
    }
    const auto red = markerLines(full, Colours::Red);
    const auto white = markerLines(incremental, Colours::White);
    if (white.size() < red.size() || !std::equal(red.begin(), red.end(), white.begin()))
        broken("the incremental redraw does not erase the markers the full redraw drew");
    return 0;
}
