#pragma once

#include "curve/CurvePoint.h"
#include "view/ViewWindow.h"

#include <span>

// The small parameter dialogs a mouse command may open instead of a click. The bounds
// dialog ("Bornes de Tracé") has a host call of its own but fills the same values.
enum class ParameterDialog {
    Factor,        // "Homothétie"
    Point,         // "Coordonnées du Point"
    PointAndAngle, // "Rotation"
    Affinity,      // "Affinité"
};

// The values read by the last of those dialogs that was accepted. A dialog writes the
// fields its description below names, one per number it reads (a number that does not
// evaluate leaves its field as it was), and no other; the readers give them back by
// what they mean.
struct EnteredValues {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
    double value2 = 0.0;

    double factor() const;         // "Homothétie"
    CurvePoint point() const;      // "Coordonnées du Point", the point of "Rotation"
    double angle() const;          // "Rotation", in radians
    int affinityDirection() const; // "Affinité": 1 along x, 0 along y
    double affinityFactor() const; // "Affinité"
    ViewWindow bounds() const;     // "Bornes de Tracé"
    // Puts a point where the point dialog puts it (the homothety's centre, clicked).
    void setPoint(CurvePoint p);
};

// One number a dialog reads and the field of EnteredValues that keeps it.
struct EnteredField {
    double EnteredValues::*slot;
    // Chosen with the dialog's boxes (1 or 0) rather than typed.
    bool choice = false;

    double of(const EnteredValues& entered) const { return entered.*slot; }
    void set(EnteredValues& entered, double v) const { entered.*slot = v; }
};

// What each dialog reads and where it goes: the one place that says so.
namespace EnteredFields {
// "Homothétie": the factor.
inline constexpr EnteredField Factor{&EnteredValues::value};
// "Coordonnées du Point" and "Rotation": the point.
inline constexpr EnteredField PointX{&EnteredValues::x};
inline constexpr EnteredField PointY{&EnteredValues::y};
// "Rotation": the angle, in radians.
inline constexpr EnteredField Angle{&EnteredValues::value};
// "Affinité": the direction (1 for "X", 0 for "Y"), then the factor.
inline constexpr EnteredField Direction{&EnteredValues::x, true};
inline constexpr EnteredField AffinityFactor{&EnteredValues::y};
// "Bornes de Tracé": the view window.
inline constexpr EnteredField Xmin{&EnteredValues::x};
inline constexpr EnteredField Ymin{&EnteredValues::y};
inline constexpr EnteredField Xmax{&EnteredValues::value};
inline constexpr EnteredField Ymax{&EnteredValues::value2};
} // namespace EnteredFields

// Each dialog's numbers, in the order it reads them.
inline constexpr EnteredField FactorDialogFields[] = {EnteredFields::Factor};
inline constexpr EnteredField PointDialogFields[] = {EnteredFields::PointX, EnteredFields::PointY};
inline constexpr EnteredField PointAndAngleDialogFields[] = {EnteredFields::PointX, EnteredFields::PointY,
                                                             EnteredFields::Angle};
inline constexpr EnteredField AffinityDialogFields[] = {EnteredFields::Direction, EnteredFields::AffinityFactor};
inline constexpr EnteredField BoundsDialogFields[] = {EnteredFields::Xmin, EnteredFields::Ymin, EnteredFields::Xmax,
                                                      EnteredFields::Ymax};

inline std::span<const EnteredField> enteredFieldsOf(ParameterDialog dialog)
{
    switch (dialog) {
    case ParameterDialog::Factor: return FactorDialogFields;
    case ParameterDialog::Point: return PointDialogFields;
    case ParameterDialog::PointAndAngle: return PointAndAngleDialogFields;
    case ParameterDialog::Affinity: return AffinityDialogFields;
    }
    return {};
}

inline double EnteredValues::factor() const
{
    return EnteredFields::Factor.of(*this);
}
inline CurvePoint EnteredValues::point() const
{
    return {EnteredFields::PointX.of(*this), EnteredFields::PointY.of(*this)};
}
inline double EnteredValues::angle() const
{
    return EnteredFields::Angle.of(*this);
}
inline int EnteredValues::affinityDirection() const
{
    return EnteredFields::Direction.of(*this) == 0.0 ? 0 : 1;
}
inline double EnteredValues::affinityFactor() const
{
    return EnteredFields::AffinityFactor.of(*this);
}
inline ViewWindow EnteredValues::bounds() const
{
    return {EnteredFields::Xmin.of(*this), EnteredFields::Ymin.of(*this), EnteredFields::Xmax.of(*this),
            EnteredFields::Ymax.of(*this)};
}
inline void EnteredValues::setPoint(CurvePoint p)
{
    EnteredFields::PointX.set(*this, p.x);
    EnteredFields::PointY.set(*this, p.y);
}
