#pragma once

#include "draw/RecordingSurface.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

// True when every exclusive-or figure recorded from `from` on that paints something was
// drawn an even number of times with the same pen and brush (only those `counts`
// accepts): the picture is then as it was before.
template <class Counts>
bool xorFiguresCancel(const RecordingSurface& surface, std::size_t from, Counts counts)
{
    using Kind = RecordingSurface::Kind;
    using Key = std::tuple<int, std::vector<std::pair<int, int>>, int, int, int, int, int, int, bool>;
    std::map<Key, int> drawn;
    const auto& all = surface.primitives();
    for (std::size_t i = from; i < all.size(); ++i) {
        const auto& p = all[i];
        if (p.mode != DrawMode::Xor || !counts(p))
            continue;
        if (p.kind == Kind::Line && p.points[0] == p.points[1])
            continue; // its only pixel is its end, which a segment leaves out
        if (p.kind == Kind::Rectangle && (p.points[0].x == p.points[1].x || p.points[0].y == p.points[1].y))
            continue; // an empty box
        std::vector<std::pair<int, int>> pts;
        for (PixelPoint q : p.points)
            pts.emplace_back(q.x, q.y);
        const Key key{int(p.kind),    pts,         p.pen.colour.r,   p.pen.colour.g,
                      p.pen.colour.b, p.pen.width, int(p.pen.style), p.brush.colour.r,
                      p.brush.hollow};
        ++drawn[key];
    }
    return std::all_of(drawn.begin(), drawn.end(), [](const auto& entry) { return entry.second % 2 == 0; });
}

inline bool xorFiguresCancel(const RecordingSurface& surface)
{
    return xorFiguresCancel(surface, 0, [](const RecordingSurface::Primitive&) { return true; });
}
