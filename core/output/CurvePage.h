#pragma once

#include "curve/CurvePoint.h"
#include "curve/SmoothingMode.h"
#include "view/DisplayFlags.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

class Surface;
class CurveDocument;

// A printer page (8 divisions per axis) or the clipboard picture (4).
enum class PageKind {
    Paper,
    Picture
};

// The texts of the page; an absent text is not drawn.
struct CurvePageTexts {
    std::optional<std::string> title;       // PageTitle on paper, none on a picture
    std::optional<std::string> subtitle;    // documentName on paper
    std::optional<std::string> closingLine; // PrintedHeading on paper
    std::string xAxisName, yAxisName;
};

// Title of the printed page.
inline constexpr std::string_view PageTitle = "Editeur";
// The closing line of the printed page: the program's name and our copyright notice.
inline constexpr std::string_view PrintedHeading = "Editeur de courbes - (c) Veltrix 2002-2026";

// The texts the print command and the clipboard picture pass for `doc`.
CurvePageTexts paperPageTexts(const CurveDocument& doc);
CurvePageTexts picturePageTexts(const CurveDocument& doc);

// Draws the graduated page of the smoothed curve over the whole surface: frame, titles,
// grids with their labels, minimum, mean and maximum, axes, axis names, the curve and
// (below 101 points on paper, 81 on a picture) a circle round each point. With fewer
// than two points there is no curve: the frame, titles, grids and axes are still drawn,
// on the point's own range for one point and on 0..1 for none. Any finite data, however
// large, small or flat, gives a bounded drawing. The surface's pen, brush, mode, font,
// text colour and clipping are left as they were.
void drawCurvePage(Surface& surface, PageKind kind, std::span<const CurvePoint> points, SmoothingMode smoothingMode,
                   DisplayFlags displayFlags, const CurvePageTexts& texts);
