#include "gui/app/StartUp.h"

#include "core/editor/Editor.h"
#include "core/settings/CIniSettingsStore.h"

#include "gui/app/CMainWindow.h"
#include "gui/curve/CurveFileCommands.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

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
    reportReadResult(services, readPointFile(path, path, doc, doc.points, doc.count));
}

int runEditor(CPlatformServices& services, Editor& editor)
{
    CurveDocument& doc = editor.document;
    doc.filePath.clear();
    // The undo copy starts as the curve read, so "&Undo" at once keeps it.
    doc.takeSnapshot();
    CMainWindow window(editor, services);
    return window.exec();
}

InstallationDirectories installationDirectories()
{
    InstallationDirectories dirs;
    dirs.programDirectory = QCoreApplication::applicationDirPath().toStdString();
    dirs.workingDirectory = QDir::currentPath().toStdString();
    dirs.profileDirectory = profileDirectoryUnder(systemConfigDirectory(std::getenv("XDG_CONFIG_DIRS")));
    return dirs;
}

int startEditor(CPlatformServices& services, const QString& pathText)
{
    Editor editor;
    const CIniSettingsStore settings = CIniSettingsStore::fromEnvironment();
    editor.installation = installationDirectories();
    editor.settings = &settings;
    readStartupFile(services, editor, pathText);
    return runEditor(services, editor);
}
