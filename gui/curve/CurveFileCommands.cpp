#include "gui/curve/CurveFileCommands.h"

#include "gui/common/PlatformServices.h"
#include "core/text/NumberText.h"

namespace {

QString filter(const char* name, const char* pattern)
{
    return QString::fromUtf8(name) + QStringLiteral(" (") + QString::fromUtf8(pattern) + QStringLiteral(")");
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
    request.title = title.isEmpty() ? QString::fromUtf8(OpenDialogTitle) : title;
    request.filters = {filter(CurveFileFilterName, "*.crb"), filter(AsciiFileFilterName, "*.txt")};
    request.initialName = initialName;
    request.defaultExtension = defaultExtension;
    return runFileDialog(services, owner, request);
}

std::optional<QString> chooseFileToSave(CPlatformServices& services, QWidget* owner, const QString& title,
                                        const QString& initialName, const QString& defaultExtension)
{
    FileDialogRequest request;
    request.save = true;
    request.title = title.isEmpty() ? QString::fromUtf8(SaveDialogTitle) : title;
    request.filters = {filter(CurveFileFilterName, "*.crb")};
    request.initialName = initialName;
    request.defaultExtension = defaultExtension;
    return runFileDialog(services, owner, request);
}

void reportFileDialogError(CPlatformServices& services, FileDialogError error)
{
    std::string text = fileDialogErrorMessage(error);
    if (text.empty())
        return;
    services.showMessage(CPlatformServices::focusOwner(), QString::fromStdString(text),
                         QString::fromUtf8(FileDialogErrorCaption), MessageButtons::Ok, MessageIcon::Error);
}

void reportReadResult(CPlatformServices& services, const FileReadResult& result)
{
    if (result.message.empty())
        return;
    services.showMessage(nullptr, QString::fromStdString(result.message), QString(), MessageButtons::Ok,
                         MessageIcon::Error);
}

FileReadResult readChosenFile(const QString& path, CurveDocument& doc, PointTarget target, int& targetCount)
{
    return readPointFile(path.toStdString(), path.toLower().toStdString(), doc, target, targetCount);
}

SaveOutcome writeCurveFile(CPlatformServices& services, CurveDocument& doc, std::span<const CurvePoint> points)
{
    auto path = chooseFileToSave(services, CPlatformServices::focusOwner(), QString(),
                                 QString::fromStdString(doc.filePath), QString::fromUtf8(CurveFileExtension));
    if (!path)
        return SaveOutcome::Cancelled;
    std::string target = path->toStdString();
    if (!writeCurveFileTo(target, doc, points)) {
        services.showMessage(CPlatformServices::focusOwner(),
                             QString::fromStdString(cformat(WriteErrorMessage, {target})),
                             QString::fromUtf8(FileDialogErrorCaption), MessageButtons::Ok, MessageIcon::Error);
        return SaveOutcome::Failed;
    }
    doc.filePath = target;
    doc.markSaved();
    return SaveOutcome::Written;
}
