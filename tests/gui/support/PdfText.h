#pragma once

#include <QString>

// The text of a PDF as `pdftotext -layout` lays it out; empty when it cannot be read
// (or pdftotext is missing: scripts/install-deps.sh installs poppler-utils).
QString pdfText(const QString& pdf);
