#pragma once

#include <QString>

// The text of a PDF written by Qt (QPdfWriter, QPrinter in PDF format), laid out as
// `pdftotext -layout` does closely enough to be matched line by line: one line per
// baseline, words at the column of their position, a form feed after each page.
// Read with Qt alone, so that it works the same in the Windows build. Empty when the
// file cannot be read.
QString pdfText(const QString& pdf);
