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

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString commandLineText(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' ')).left(MaxCommandLineLength);
}

QString commandLinePath(QStringView commandLine)
{
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    const QChar quote(QLatin1Char('"'));
    qsizetype at = 0;
    // The program's name, quoted or up to the first blank, as Windows itself reads it.
    if (!commandLine.isEmpty() && commandLine.front() == quote) {
        const qsizetype closing = commandLine.indexOf(quote, 1);
        at = closing < 0 ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && !isBlank(commandLine[at]))
            ++at;
    }
    while (at < commandLine.size() && isBlank(commandLine[at]))
        ++at;
    QStringView path = commandLine.mid(at);
    if (path.size() >= 2 && path.front() == quote && path.back() == quote
        && !path.mid(1, path.size() - 2).contains(quote))
        path = path.mid(1, path.size() - 2);
    return path.left(MaxCommandLineLength).toString();
}

QString startupPathText()
{
#ifdef Q_OS_WIN
    return commandLinePath(QString::fromWCharArray(GetCommandLineW()));
#else
    return commandLineText(QCoreApplication::arguments().mid(1));
#endif
}

void readStartupFile(CPlatformServices& services, Editor& editor, const QString& pathText)
{
    if (pathText.isEmpty())
        return;
    CurveDocument& doc = editor.document;
    std::string path = pathText.toStdString();
    // The product reads this file back when the editor ends: the first save offers it.
    editor.startupPath = QFileInfo(pathText).absoluteFilePath().toStdString();
    reportReadResult(services, readPointFile(path, doc));
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
