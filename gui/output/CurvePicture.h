#pragma once

#include "core/curve/CurveDocument.h"
#include "core/output/CurvePage.h"
#include "core/view/DisplayFlags.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <string_view>

class QPainter;
class Surface;

// What the curve page shows: the document's points smoothed as on the screen.
struct CurveOutput {
    const CurveDocument& document;
    DisplayFlags displayFlags;

    static CurveOutput of(const CurveDocument& doc, DisplayFlags displayFlags) { return {doc, displayFlags}; }
};

inline constexpr std::string_view CurvePrintDocumentName = "Impression courbe...";

// The printed page or the picture of the curve, on any surface.
void drawCurveOutput(Surface& surface, PageKind kind, const CurveOutput& curve);
// The same on an open painter; false when the painter could not start.
bool drawCurveOutput(QPainter& painter, PageKind kind, const CurveOutput& curve);

// The picture's two forms, for the clipboard and the export.
QByteArray curvePictureSvg(const CurveOutput& curve, QSize size, int dotsPerInch);
QByteArray curvePicturePng(const CurveOutput& curve, QSize size);

// The largest PNG the export makes, in pixels (2 GiB of picture).
inline constexpr int MaxExportPixels = 1 << 29;

// The headless export: the page as PDF (a printed page), or the picture as SVG or PNG
// at `size`. False, with a one-line French reason in `error`, when it cannot be written.
// Qt Gui alone draws all of it, so that the export runs without the editor's widgets.
bool exportCurve(const CurveOutput& curve, const QString& path, QSize size, QString& error);
