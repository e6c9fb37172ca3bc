#pragma once

#include "core/curve/CurveFile.h"
#include "core/curve/FileDialogRules.h"
#include "core/editor/EditorHost.h" // SaveOutcome

#include <QString>

#include <optional>
#include <span>
#include <string_view>

class CPlatformServices;
class QWidget;

// The open dialog: curve files then ASCII files; the folder and the file must exist.
std::optional<QString> chooseFileToOpen(CPlatformServices& services, QWidget* owner, const QString& title,
                                        const QString& initialName, const QString& defaultExtension);
// The save dialog: curve files only; overwriting asks first.
std::optional<QString> chooseFileToSave(CPlatformServices& services, QWidget* owner, const QString& title,
                                        const QString& initialName, const QString& defaultExtension);
void reportFileDialogError(CPlatformServices& services, FileDialogError error);

// Shows a reader's message, if it has one.
void reportReadResult(CPlatformServices& services, const FileReadResult& result);

// Asks for a name, the save dialog offering `offeredName`, and writes the document's
// curve file. On success `filePath` and the saved state follow; when the file cannot be
// written a message names it and the document stays as it was.
SaveOutcome writeCurveFile(CPlatformServices& services, CurveDocument& doc, std::span<const CurvePoint> points,
                           const QString& offeredName);

inline constexpr std::string_view WriteErrorMessage = "Impossible d'écrire le fichier <%s> !!!";
