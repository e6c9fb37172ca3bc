#pragma once

#include "gui/output/CurvePicture.h"

class CPlatformServices;
class QWidget;

// "&Imprimer": the print dialog, then one page in one document. False when cancelled.
bool printCurve(CPlatformServices& services, QWidget* owner, const CurveOutput& curve);

// "&Copier": the picture of the curve at the drawing area's size, as SVG (the same
// physical size as on the screen) and as PNG. The clipboard is emptied first; false
// when the picture could not be made or placed.
bool copyCurveToClipboard(QWidget& drawingArea, const CurveOutput& curve);
