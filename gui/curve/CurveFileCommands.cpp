#include "gui/curve/CurveFileCommands.h"

#include "core/text/NumberText.h"

#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"

namespace {

QString filter(std::string_view name, std::string_view pattern)
{
    return toQString(name) + QStringLiteral(" (") + toQString(pattern) + QStringLiteral(")");
}

std::optional<QString> runFileDialog(CPlatformServices& services, QWidget* owner, FileDialogRequest request)
{
    if (request.defaultExtension.isEmpty())
        request.defaultExtension = QStringLiteral("*");
    FileChoice choice = services.chooseFile(owner, request);
    if (choice.error != FileDialogError::None || choice.path.isEmpty()) {
        reportFileDialogError(services, choice.error);
        return std::nullopt;
    }
    return choice.path;
}

} // namespace

std::optional<QString> chooseFileToOpen(CPlatformServices& services, QWidget* owner, const QString& title,
                                        const QString& initialName, const QString& defaultExtension)
{
    FileDialogRequest request;
    request.title = title.isEmpty() ? toQString(OpenDialogTitle) : title;
    request.filters = {filter(CurveFileFilterName, CurveFilePattern), filter(AsciiFileFilterName, AsciiFilePattern)};
    request.initialName = initialName;
    request.defaultExtension = defaultExtension;
    return runFileDialog(services, owner, request);
}

std::optional<QString> chooseFileToSave(CPlatformServices& services, QWidget* owner, const QString& title,
                                        const QString& initialName, const QString& defaultExtension)
{
    FileDialogRequest request;
    request.save = true;
    request.title = title.isEmpty() ? toQString(SaveDialogTitle) : title;
    request.filters = {filter(CurveFileFilterName, CurveFilePattern)};
    request.initialName = initialName;
    request.defaultExtension = defaultExtension;
    return runFileDialog(services, owner, request);
}

void reportFileDialogError(CPlatformServices& services, FileDialogError error)
{
    std::string text = fileDialogErrorMessage(error);
    if (text.empty())
        return;
    services.showMessage(CPlatformServices::focusOwner(), toQString(text), toQString(FileDialogErrorCaption),
                         MessageButtons::Ok, MessageIcon::Error);
}

void reportReadResult(CPlatformServices& services, const FileReadResult& result)
{
    if (result.message.empty())
        return;
    services.showMessage(nullptr, toQString(result.message), QString(), MessageButtons::Ok, MessageIcon::Error);
}

SaveOutcome writeCurveFile(CPlatformServices& services, CurveDocument& doc, std::span<const CurvePoint> points,
                           const QString& offeredName)
{
    auto path = chooseFileToSave(services, CPlatformServices::focusOwner(), QString(), offeredName,
                                 toQString(CurveFileExtension));
    if (!path)
        return SaveOutcome::Cancelled;
    std::string target = path->toStdString();
    if (!writeCurveFileTo(target, doc, points)) {
        services.showMessage(CPlatformServices::focusOwner(), toQString(cformat(WriteErrorMessage, {target})),
                             toQString(FileDialogErrorCaption), MessageButtons::Ok, MessageIcon::Error);
        return SaveOutcome::Failed;
    }
    doc.filePath = target;
    doc.markSaved();
    return SaveOutcome::Written;
}
