#include "gui/app/CommandLine.h"

#include "core/curve/CurveFile.h"
#include "core/output/ExportFormat.h"
#include "core/settings/VersionText.h"

#include "gui/common/QtText.h"
#include "gui/output/CurvePicture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

void sayOnConsole(FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (console == INVALID_HANDLE_VALUE || console == nullptr) {
        // A windowed program has no standard output of its own: it writes on the
        // console of the command prompt that started it, if any.
        static const HANDLE parentConsole = AttachConsole(ATTACH_PARENT_PROCESS)
            ? CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
            : INVALID_HANDLE_VALUE;
        console = parentConsole;
    }
    DWORD mode = 0;
    if (console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode)) {
        std::fflush(stream);
        const QString line = text + QLatin1Char('\n');
        DWORD written = 0;
        WriteConsoleW(console, reinterpret_cast<const wchar_t*>(line.utf16()), static_cast<DWORD>(line.size()),
                      &written, nullptr);
        return;
    }
#endif
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
}

namespace {

constexpr QSize DefaultExportSize{1000, 700};

QString usageText()
{
    return QStringLiteral("Usage : crbedit [FICHIER]\n"
                          "        crbedit --export ")
        + toQString(exportOutputsText("SORTIE"))
        + QStringLiteral(" [--size LxH] COURBE.crb\n"
                         "        crbedit --help | --version\n"
                         "\n"
                         "Sans option, l'éditeur de courbes s'ouvre sur FICHIER (courbe .crb ou points ASCII).\n"
                         "--export dessine la page de la courbe sans ouvrir de fenêtre : une page imprimée en PDF,\n"
                         "l'image de la courbe en SVG ou PNG (taille par défaut 1000x700 pixels) ; en CSV, il écrit\n"
                         "les points que trace le lissage du fichier, avec dérivées et intégrale.");
}

int exportCommand(const QStringList& args)
{
    QString output;
    QString input;
    QSize size = DefaultExportSize;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--export") && i + 1 < args.size() && output.isEmpty()) {
            output = args[++i];
        } else if (arg == QStringLiteral("--size") && i + 1 < args.size()) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(args[++i]);
            if (!m.hasMatch() || m.captured(1).toInt() < 1 || m.captured(2).toInt() < 1) {
                sayOnConsole(stderr,
                             QStringLiteral("Taille incorrecte <%1> : attendu LxH, par exemple 1000x700").arg(args[i]));
                return 2;
            }
            size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (input.isEmpty() && !arg.startsWith(QStringLiteral("--"))) {
            input = arg;
        } else {
            sayOnConsole(stderr, QStringLiteral("Argument inattendu <%1> ; voir crbedit --help").arg(arg));
            return 2;
        }
    }
    if (output.isEmpty() || input.isEmpty()) {
        sayOnConsole(stderr, QStringLiteral("Il faut un fichier de sortie et une courbe ; voir crbedit --help"));
        return 2;
    }
    CurveDocument doc;
    const std::string path = input.toStdString();
    const FileReadResult read = readPointFile(path, doc);
    if (!read.opened) {
        sayOnConsole(stderr, QStringLiteral("Impossible de lire le fichier <%1>").arg(input));
        return 1;
    }
    if (!read.message.empty()) {
        sayOnConsole(stderr, toQString(read.message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return 1;
    }
    doc.documentName = QFileInfo(input).completeBaseName().toStdString();
    QString error;
    if (!exportCurve(CurveOutput::of(doc, {}), output, size, error)) {
        sayOnConsole(stderr, error);
        return 1;
    }
    return 0;
}

} // namespace

std::optional<int> runCommandLineOption(int argc, char** argv)
{
    if (argc < 2)
        return std::nullopt;
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        sayOnConsole(stdout, usageText());
        return 0;
    }
    if (std::strcmp(first, "--version") == 0) {
        sayOnConsole(stdout, QStringLiteral("crbedit ") + toQString(ProductVersionText));
        return 0;
    }
    if (std::strcmp(first, "--export") != 0)
        return std::nullopt;
    // No window is opened: the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    // The offscreen platform looks for fonts in Qt's own folder only; on Windows the
    // labels are drawn in the system's fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        wchar_t windows[MAX_PATH];
        const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            qputenv("QT_QPA_FONTDIR",
                    (QString::fromWCharArray(windows, int(length)) + QStringLiteral("\\Fonts")).toUtf8());
    }
#endif
    // Standard error carries the one line that says why an export failed, nothing else.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    // Qt writes PNG itself: with no plugin folder, no image plugin is loaded only to be
    // asked whether it writes PNG too. The platform plugin is loaded already.
    QCoreApplication::setLibraryPaths({});
    const int status = exportCommand(QGuiApplication::arguments().mid(1));
    // The file is written and closed: the process ends at once rather than taking Qt
    // down piece by piece.
    std::fflush(nullptr);
    std::_Exit(status);
}
