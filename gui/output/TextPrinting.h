#pragma once

#include "core/curve/CurveDocument.h"

#include "gui/common/PlatformServices.h"

#include <span>
#include <string>
#include <string_view>

class QWidget;

// Prints the text file at `path` after the print dialog, page by page between a framed
// header (`title`, `name`, page number) and footer, in a fixed-pitch font. Cancelling the
// dialog prints nothing and says nothing; a file that cannot be read or a printer that
// cannot start is reported as "Erreur en cours d'impression !!".
void printTextFile(CPlatformServices& services, QWidget* owner, std::string_view title, std::string_view name,
                   const std::string& path);

// Prints `points` as a listing under the document's name and axis names. The listing file
// lives in a private temporary directory and is gone when this returns, printed or not.
void printPointList(CPlatformServices& services, QWidget* owner, std::span<const CurvePoint> points,
                    const CurveDocument& names);
