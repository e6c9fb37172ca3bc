#pragma once

#include "common/UserMessage.h"
#include "curve/CurveDocument.h"

#include <optional>
#include <string>
#include <string_view>

// The second point of a mirror or rotation whose y is this marker carries, in its x,
// an angle in radians typed by the user instead of a point of the plane.
inline constexpr double AngleMarker = 1e306;

// The constants the direction angle has always been computed with.
inline constexpr double DirectionPi = 3.141592654;
inline constexpr double DirectionHalfPi = 1.5707963267948966;

// A selection rectangle, corners ordered. Points on its border are not selected.
struct Selection {
    CurvePoint min;
    CurvePoint max;
    bool contains(CurvePoint p) const { return min.x < p.x && p.x < max.x && min.y < p.y && p.y < max.y; }
};

// The direction of (dx, dy) from the +x axis, in -pi..pi, by quadrant, with
// DirectionPi and DirectionHalfPi. A NaN component gives NaN.
double directionAngle(double dx, double dy);

// The angle of a mirror or rotation: p2.x when p2 carries AngleMarker, otherwise the
// direction from p1 to p2.
double angleOf(CurvePoint p1, CurvePoint p2);

// A 4 x 4 matrix, row by row, created as the identity; points map through the first two
// rows: x' = m00 x + m01 y + m03, y' = m10 x + m11 y + m13.
struct Transform2D {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Transform2D rotation(CurvePoint centre, double theta);
    static Transform2D mirror(CurvePoint onLine, double theta);
    CurvePoint apply(CurvePoint p) const;
};

// What a transformation did: `changed` false when it was refused and the document left
// as it was; `notice`, when set, is to be shown (the capacity warning, or the refusal:
// warning icon, one OK button, the drawing area as owner).
struct TransformResult {
    bool changed = true;
    std::optional<UserMessage> notice;
};

// The refusal of a transformation whose images would leave the doubles (overflow to
// infinity, or not-a-number): nothing of the document is touched, undo copy included.
inline constexpr std::string_view NonFiniteResultText =
    "Transformation impossible : le résultat sort des nombres représentables";
inline constexpr std::string_view NonFiniteResultCaption = "Attention";

// Each takes the undo snapshot first, transforms the selected points (moving them, or
// adding transformed copies while the curve has room), and ends normalized. The caller
// redraws. When an image that would be stored is not finite, the call is refused before
// the snapshot: changed is false, the notice is the refusal and the document is as it was.
TransformResult translatePoints(CurveDocument& doc, const Selection& sel, double vx, double vy, bool copy);
TransformResult mirrorPoints(CurveDocument& doc, const Selection& sel, CurvePoint p1, CurvePoint p2, bool copy);
TransformResult rotatePoints(CurveDocument& doc, const Selection& sel, CurvePoint p1, CurvePoint p2, bool copy);
TransformResult scalePoints(CurveDocument& doc, const Selection& sel, CurvePoint centre, double factor, bool copy);
// direction 0 scales y, any other value scales x; always moves.
TransformResult stretchPoints(CurveDocument& doc, const Selection& sel, int direction, double factor);

// Snapshot, removes the selected points, normalizes; returns how many went.
int deletePointsInRect(CurveDocument& doc, const Selection& sel);
// "Suppression de %d point(s)"
std::string deletedPointsText(int deleted);

// Snapshot, removes the point nearest to the world point `at` (the first of equally
// near points), normalizes; returns its index before removal. An empty curve is left
// alone, snapshot included, and gives -1.
int deleteNearestPoint(CurveDocument& doc, CurvePoint at);
// "Suppression du point n°%d"
std::string deletedPointText(int index);
