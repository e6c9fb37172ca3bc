#include "editor/Transformations.h"

#include <cmath>
#include <utility>

namespace {

using Mode = InteractionMode;

TransformResult scale(CurveDocument& doc, const Selection& sel, const TransformInput& in, bool copy)
{
    return scalePoints(doc, sel, in.entered.point(), in.entered.factor(), copy);
}

TransformResult translate(CurveDocument& doc, const Selection& sel, const TransformInput& in, bool copy)
{
    const CurvePoint vector = in.dragged ? CurvePoint{in.to.x - in.from.x, in.to.y - in.from.y} : in.entered.point();
    return translatePoints(doc, sel, vector.x, vector.y, copy);
}

// A point and a direction: the two ends of the segment, or the point and the angle typed
// (the second point then carries AngleMarker).
std::pair<CurvePoint, CurvePoint> pointAndDirection(const TransformInput& in)
{
    if (in.dragged)
        return {in.from, in.to};
    return {in.entered.point(), {in.entered.angle(), AngleMarker}};
}

TransformResult mirror(CurveDocument& doc, const Selection& sel, const TransformInput& in, bool copy)
{
    auto [p1, p2] = pointAndDirection(in);
    // Of the two ends of a segment, the one nearer to the world origin comes first.
    if (in.dragged && std::sqrt(p2.x * p2.x + p2.y * p2.y) < std::sqrt(p1.x * p1.x + p1.y * p1.y))
        std::swap(p1, p2);
    return mirrorPoints(doc, sel, p1, p2, copy);
}

TransformResult rotate(CurveDocument& doc, const Selection& sel, const TransformInput& in, bool copy)
{
    const auto [centre, direction] = pointAndDirection(in);
    return rotatePoints(doc, sel, centre, direction, copy);
}

TransformResult stretch(CurveDocument& doc, const Selection& sel, const TransformInput& in, bool)
{
    return stretchPoints(doc, sel, in.entered.affinityDirection(), in.entered.affinityFactor());
}

constexpr Transformation Rows[] = {
    {
        .command = MainControl::Homothety,
        .mode = Mode::Homothety,
        .copyMode = Mode::HomothetyCopy,
        .name = "Homothétie : ",
        .secondPhasePrompt = "Homothétie : Gauche-Centre homothétie / Droit-Saisie / Escape-Arrêt",
        .secondClickPrompt = " ", // while the factor dialog is open
        .secondPick = PickKind::Centre,
        .dialog = ParameterDialog::Point,
        .dialogTitle = "Centre de l'homothétie",
        .preview = std::nullopt,
        .apply = scale,
    },
    {
        .command = MainControl::Translate,
        .mode = Mode::Translate,
        .copyMode = Mode::TranslateCopy,
        .name = "Translation : ",
        .secondPhasePrompt = "Translation : Gauche-Origine / Droit-Saisie / Escape-Arrêt",
        .secondClickPrompt = "Translation : Gauche-Fin / Droit-Saisie / Escape-Arrêt",
        .secondPick = PickKind::Segment,
        .dialog = ParameterDialog::Point,
        .dialogTitle = "Vecteur translation",
        .preview = PreviewOperation::Translation,
        .apply = translate,
    },
    {
        .command = MainControl::Mirror,
        .mode = Mode::Mirror,
        .copyMode = Mode::MirrorCopy,
        .name = "Miroir : ",
        .secondPhasePrompt = "Miroir : Gauche-Origine / Droit-Saisie / Escape-Arrêt",
        .secondClickPrompt = "Miroir : Gauche-Angle / Droit-Saisie / Escape-Arrêt",
        .secondPick = PickKind::Segment,
        .dialog = ParameterDialog::PointAndAngle,
        .dialogTitle = "Vecteur Miroir",
        .preview = PreviewOperation::Mirror,
        .apply = mirror,
    },
    {
        .command = MainControl::Rotate,
        .mode = Mode::Rotate,
        .copyMode = Mode::RotateCopy,
        .name = "Rotation : ",
        .secondPhasePrompt = "Rotation : Gauche-Centre Rotation / Droit-Saisie / Escape-Arrêt",
        .secondClickPrompt = "Rotation : Gauche-Angle / Droit-Saisie / Escape-Arrêt",
        .secondPick = PickKind::Segment,
        .dialog = ParameterDialog::PointAndAngle,
        .dialogTitle = "Vecteur de Rotation",
        .preview = PreviewOperation::Rotation,
        .apply = rotate,
    },
    {
        .command = MainControl::Affinity,
        .mode = Mode::Affinity,
        .copyMode = std::nullopt,
        .name = "Affinité : ",
        .secondPhasePrompt = "Affinité : Axe et facteur",
        .secondClickPrompt = "",
        .secondPick = std::nullopt,
        .dialog = ParameterDialog::Affinity, // refuses a factor <= 0 itself
        .dialogTitle = "",
        .preview = std::nullopt,
        .apply = stretch,
    },
};

} // namespace

std::span<const Transformation> transformations()
{
    return Rows;
}

const Transformation* findTransformation(MainControl command)
{
    for (const Transformation& row : Rows)
        if (row.command == command)
            return &row;
    return nullptr;
}

const Transformation* findTransformation(InteractionMode mode)
{
    for (const Transformation& row : Rows)
        if (row.mode == mode || row.copyMode == mode)
            return &row;
    return nullptr;
}
