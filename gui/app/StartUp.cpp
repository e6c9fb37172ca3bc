#include "gui/app/StartUp.h"

#include "core/editor/Editor.h"
#include "core/settings/PlatformSettings.h"

#include "gui/app/CMainWindow.h"
#include "gui/common/ModalDialog.h"
#include "gui/curve/CurveFileCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

QString commandLineText(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' ')).left(MaxCommandLineLength);
}

void readStartupFile(CPlatformServices& services, Editor& editor, const QString& pathText)
{
    if (pathText.isEmpty())
        return;
    CurveDocument& doc = editor.document;
    std::string path = pathText.toStdString();
    // The product reads this file back when the editor ends: the first save offers it.
    editor.startupPath = QFileInfo(pathText).absoluteFilePath().toStdString();
    reportReadResult(services, readPointFile(path, path, doc, doc.points, doc.count));
}

int runEditor(CPlatformServices& services, Editor& editor)
{
    CurveDocument& doc = editor.document;
    doc.filePath.clear();
    // The undo copy starts as the curve read, so "&Undo" at once keeps it.
    doc.takeSnapshot();
    CMainWindow window(editor, services);
    return runFirstWindow(window);
}

InstallationDirectories installationDirectories()
{
    InstallationDirectories dirs;
    dirs.programDirectory = QCoreApplication::applicationDirPath().toStdString();
    dirs.workingDirectory = QDir::currentPath().toStdString();
    dirs.profileDirectory = platformProfileDirectory();
    return dirs;
}

int startEditor(CPlatformServices& services, const QString& pathText)
{
    Editor editor;
    const std::unique_ptr<CSettingsStore> settings = platformSettingsStore();
    editor.installation = installationDirectories();
    editor.settings = settings.get();
    readStartupFile(services, editor, pathText);
    return runEditor(services, editor);
}
