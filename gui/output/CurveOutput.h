#pragma once

#include "core/curve/CurveDocument.h"
#include "core/view/DisplayFlags.h"

#include <QSize>
#include <QString>

#include <string_view>

class CPlatformServices;
class QWidget;

// What the curve page shows: the document's points smoothed as on the screen.
struct CurveOutput {
    const CurveDocument& document;
    DisplayFlags displayFlags;

    static CurveOutput of(const CurveDocument& doc, DisplayFlags displayFlags) { return {doc, displayFlags}; }
};

inline constexpr std::string_view CurvePrintDocumentName = "Impression courbe...";

// "&Imprimer": the print dialog, then one page in one document. False when cancelled.
bool printCurve(CPlatformServices& services, QWidget* owner, const CurveOutput& curve);

// "&Copier": the picture of the curve at the drawing area's size, as SVG (the same
// physical size as on the screen) and as PNG. The clipboard is emptied first; false
// when the picture could not be made or placed.
bool copyCurveToClipboard(QWidget& drawingArea, const CurveOutput& curve);

// The picture's two forms, for the clipboard and the export.
QByteArray curvePictureSvg(const CurveOutput& curve, QSize size, int dotsPerInch);
QByteArray curvePicturePng(const CurveOutput& curve, QSize size);

// The largest PNG the export makes, in pixels (2 GiB of picture).
inline constexpr int MaxExportPixels = 1 << 29;

// The headless export: the page as PDF (a printed page), or the picture as SVG or PNG
// at `size`. False, with a one-line French reason in `error`, when it cannot be written.
bool exportCurve(const CurveOutput& curve, const QString& path, QSize size, QString& error);
