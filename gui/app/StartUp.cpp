#include "gui/app/StartUp.h"

#include "gui/app/CMainWindow.h"
#include "editor/Editor.h"
#include "gui/curve/CurveFileCommands.h"

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

int startEditor(CPlatformServices& services, const QString& pathText)
{
    Editor editor;
    readStartupFile(services, editor, pathText);
    return runEditor(services, editor);
}
