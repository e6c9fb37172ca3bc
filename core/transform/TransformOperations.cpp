#include "transform/TransformOperations.h"

#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// The capacity warnings as they have always read: the translation's text ends with a
// blank, and the rotation's caption is "Erreur".
constexpr std::string_view CapacityText = "Attention le nombre de points\nest superieur au maxi autorisé !";
constexpr std::string_view TranslationCapacityText = "Attention le nombre de points\nest superieur au maxi autorisé ";

// What a transformation has to say, over the drawing area.
UserMessage transformNotice(std::string_view text, std::string_view caption)
{
    return {std::string(text), std::string(caption), MessageButtons::Ok, MessageIcon::Warning,
            MessageOwner::DrawingArea};
}

bool isFinite(CurvePoint p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The frame shared by the five transformations. The new contents are built aside and
// checked before anything is stored, so that a refused call leaves the points and the
// undo copy as they were. Only the document's points are visited: copies land after them.
template <class Image>
TransformResult transformSelected(CurveDocument& doc, const Selection& sel, bool copy, Image image,
                                  std::string_view capacityText, std::string_view capacityCaption)
{
    const std::span<const CurvePoint> points = doc.points();
    CurvePoints next;
    next.replacePoints(points);
    bool limitReached = false;
    bool allFinite = true;

    for (std::size_t i = 0; i < points.size(); ++i) {
        const CurvePoint p = points[i];
        if (!sel.contains(p))
            continue;
        const CurvePoint q = image(p);
        if (!copy) {
            next.setPoint(static_cast<int>(i), q);
        } else if (!next.appendPoint(q)) {
            // Dropped images are never stored, so they cannot make the call refused.
            limitReached = true;
            continue;
        }
        allFinite = allFinite && isFinite(q);
    }

    if (!allFinite)
        return {false, transformNotice(NonFiniteResultText, NonFiniteResultCaption)};

    doc.takeSnapshot();
    doc.replacePoints(next.points());

    TransformResult result;
    if (limitReached)
        result.notice = transformNotice(capacityText, capacityCaption);
    doc.normalize();
    return result;
}

} // namespace

double directionAngle(double dx, double dy)
{
    // A NaN would fall through to one of the axis cases below and give a plausible
    // angle; passing it on makes the transformation built on it refuse instead.
    if (std::isnan(dx) || std::isnan(dy))
        return dx + dy;
    if (dx > 0) {
        if (dy > 0)
            return std::atan(dy / dx);
        if (dy < 0)
            return -std::atan(-dy / dx);
        return 0.0;
    }
    if (dx < 0) {
        if (dy > 0)
            return DirectionPi - std::atan(-dy / dx);
        if (dy < 0)
            return std::atan(dy / dx) - DirectionPi;
        return DirectionPi;
    }
    if (dy > 0)
        return DirectionHalfPi;
    if (dy < 0)
        return -DirectionHalfPi;
    return 0.0;
}

double angleOf(CurvePoint p1, CurvePoint p2)
{
    if (p2.y == AngleMarker)
        return p2.x;
    return directionAngle(p2.x - p1.x, p2.y - p1.y);
}

Transform2D Transform2D::rotation(CurvePoint centre, double theta)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double x0 = centre.x;
    const double y0 = centre.y;
    Transform2D t;
    t.m[0][0] = c;
    t.m[0][1] = -s;
    t.m[0][3] = (1 - c) * x0 + y0 * s;
    t.m[1][0] = s;
    t.m[1][1] = c;
    t.m[1][3] = (1 - c) * y0 - x0 * s;
    return t;
}

Transform2D Transform2D::mirror(CurvePoint onLine, double theta)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double cc = c * c;
    const double ss = s * s;
    const double k2 = (2 * s) * c;
    const double x0 = onLine.x;
    const double y0 = onLine.y;
    Transform2D t;
    t.m[0][0] = cc - ss;
    t.m[0][1] = k2;
    t.m[0][3] = (2 * x0) * ss - y0 * k2;
    t.m[1][0] = k2;
    t.m[1][1] = ss - cc;
    t.m[1][3] = (2 * y0) * cc - x0 * k2;
    return t;
}

CurvePoint Transform2D::apply(CurvePoint p) const
{
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][3], m[1][0] * p.x + m[1][1] * p.y + m[1][3]};
}

TransformResult translatePoints(CurveDocument& doc, const Selection& sel, double vx, double vy, bool copy)
{
    return transformSelected(
        doc, sel, copy,
        [=](CurvePoint p) {
            return CurvePoint{p.x + vx, p.y + vy};
        },
        TranslationCapacityText, "Translation");
}

TransformResult mirrorPoints(CurveDocument& doc, const Selection& sel, CurvePoint p1, CurvePoint p2, bool copy)
{
    const Transform2D t = Transform2D::mirror(p1, angleOf(p1, p2));
    return transformSelected(
        doc, sel, copy, [&t](CurvePoint p) { return t.apply(p); }, CapacityText, "Miroir");
}

TransformResult rotatePoints(CurveDocument& doc, const Selection& sel, CurvePoint p1, CurvePoint p2, bool copy)
{
    const Transform2D t = Transform2D::rotation(p1, angleOf(p1, p2));
    return transformSelected(
        doc, sel, copy, [&t](CurvePoint p) { return t.apply(p); }, CapacityText, "Erreur");
}

TransformResult scalePoints(CurveDocument& doc, const Selection& sel, CurvePoint centre, double factor, bool copy)
{
    return transformSelected(
        doc, sel, copy,
        [=](CurvePoint p) {
            return CurvePoint{(p.x - centre.x) * factor + centre.x, (p.y - centre.y) * factor + centre.y};
        },
        CapacityText, "Homothétie");
}

TransformResult stretchPoints(CurveDocument& doc, const Selection& sel, int direction, double factor)
{
    // Always in place, so the capacity texts are never used.
    return transformSelected(
        doc, sel, false,
        [=](CurvePoint p) {
            return direction == 0 ? CurvePoint{p.x, factor * p.y} : CurvePoint{factor * p.x, p.y};
        },
        "", "");
}

int deletePointsInRect(CurveDocument& doc, const Selection& sel)
{
    doc.takeSnapshot();
    int deleted = 0;
    int i = 0;
    while (i < doc.count()) {
        if (sel.contains(doc.points()[i])) {
            // Position i now holds the next point and is examined again.
            doc.removePoint(i);
            ++deleted;
        } else {
            ++i;
        }
    }
    doc.normalize();
    return deleted;
}

std::string deletedPointsText(int deleted)
{
    return cformat("Suppression de %d point(s)", {deleted});
}

int deleteNearestPoint(CurveDocument& doc, CurvePoint at)
{
    const std::span<const CurvePoint> points = doc.points();
    const int n = static_cast<int>(points.size());
    if (n == 0)
        return -1;
    doc.takeSnapshot();

    // Strictly nearer only, so equally near points keep the first. Starting at the
    // first point means a click always deletes one, even when every distance is
    // beyond the starting bound or not a number.
    double best = 1e301;
    int chosen = 0;
    for (int i = 0; i < n; ++i) {
        const double dx = at.x - points[i].x;
        const double dy = at.y - points[i].y;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (best > d) {
            best = d;
            chosen = i;
        }
    }

    doc.removePoint(chosen);
    doc.normalize();
    return chosen;
}

std::string deletedPointText(int index)
{
    return cformat("Suppression du point n°%d", {index});
}
