#include "draw/RecordingSurface.h"

#include "text/Utf8Text.h"

#include <algorithm>
#include <iterator>

RecordingSurface::Primitive RecordingSurface::record(Kind kind) const
{
    Primitive p;
    p.kind = kind;
    p.pen = pen();
    p.brush = brush();
    p.mode = mode();
    p.font = font();
    p.textColour = textColour();
    p.textBackground = textBackground();
    p.clip = clipRect();
    return p;
}

void RecordingSurface::line(PixelPoint from, PixelPoint to)
{
    Primitive p = record(Kind::Line);
    p.points = {from, to};
    primitives_.push_back(std::move(p));
}

void RecordingSurface::polyline(std::span<const PixelPoint> points)
{
    Primitive p = record(Kind::Polyline);
    p.points.assign(points.begin(), points.end());
    primitives_.push_back(std::move(p));
}

void RecordingSurface::rectangle(const PixelRect& box)
{
    Primitive p = record(Kind::Rectangle);
    p.points = {{box.left, box.top}, {box.right, box.bottom}};
    primitives_.push_back(std::move(p));
}

void RecordingSurface::ellipse(const PixelRect& box)
{
    Primitive p = record(Kind::Ellipse);
    p.points = {{box.left, box.top}, {box.right, box.bottom}};
    primitives_.push_back(std::move(p));
}

void RecordingSurface::text(PixelPoint at, std::string_view utf8, TextAlign align)
{
    Primitive p = record(Kind::Text);
    p.points = {at};
    p.text = std::string(utf8);
    p.align = align;
    primitives_.push_back(std::move(p));
}

TextExtent RecordingSurface::measureText(std::string_view utf8)
{
    int height = font().cellHeight > 0 ? font().cellHeight : DefaultCellHeight;
    return {CharWidth * utf8CharacterCount(utf8), height};
}

std::vector<RecordingSurface::Primitive> RecordingSurface::ofKind(Kind kind) const
{
    std::vector<Primitive> result;
    std::copy_if(primitives_.begin(), primitives_.end(), std::back_inserter(result),
                 [kind](const Primitive& p) { return p.kind == kind; });
    return result;
}

std::vector<std::string> RecordingSurface::texts() const
{
    std::vector<std::string> result;
    for (const Primitive& p : primitives_)
        if (p.kind == Kind::Text)
            result.push_back(p.text);
    return result;
}
