#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"
#include "core/output/CurvePage.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/app/EditorModule.h"
#include "gui/common/CQtSurface.h"

#include "GuiTestSupport.h"
#include "PdfText.h"

#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// The editor program, built beside the tests.
QString editorProgram()
{
    return QStringLiteral(CRB_EDITOR_PROGRAM);
}

struct Run {
    int exitCode = -1;
    QString errors;
};

Run runEditor(const QStringList& arguments)
{
    QProcess process;
    process.start(editorProgram(), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    // Redirected, the editor writes UTF-8 on every platform (a console gets UTF-16).
    run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}

QString sampleCurve(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("came.crb"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("20020704\r\n1\r\n0\r\n5\r\n0.0 0.0\r\n1.0 2.5\r\n2.0 4.0\r\n3.0 4.5\r\n4.0 4.0\r\nmm\r\n");
    return path;
}

// The attributes of an XML document's root element; none unless the whole document is
// well formed.
QXmlStreamAttributes rootAttributes(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QXmlStreamAttributes root;
    bool seen = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && !seen) {
            root = reader.attributes();
            seen = true;
        }
    }
    return reader.hasError() ? QXmlStreamAttributes() : root;
}

} // namespace

class CurveOutputTest : public QObject {
    Q_OBJECT

private slots:
    void printingDrawsTheGraduatedPageIntoOneDocument()
    {
        QTemporaryDir dir;
        MainWindowFixture f;
        for (double x : {0.0, 1.0, 2.0, 3.0})
            f.editor.document.appendPoint({x, x * x});
        f.editor.document.documentName = "Came 12";
        f.open();
        CMainWindow& window = *f.window;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        f.services.printNextTo(pdf);
        QTest::mouseClick(window.control(MainControl::Print), Qt::LeftButton);
        const QString text = pdfText(pdf);
        QVERIFY2(!text.isEmpty(), "the page was printed and reads back");
        QVERIFY(text.contains(QStringLiteral("Editeur")));
        QVERIFY(text.contains(QStringLiteral("Came 12")));
        QVERIFY(text.contains(QStringLiteral("Editeur de courbes - (c) Veltrix")));
        // The command ends with statusText.
        QCOMPARE(window.control<QLabel>(MainControl::StatusLine)->text(), QString());

        // A cancelled print dialog prints nothing.
        QTest::mouseClick(window.control(MainControl::Print), Qt::LeftButton);
        QVERIFY(f.services.messages.empty());
    }

    void theClipboardGetsTheSamePictureAsSvgAndPng()
    {
        MainWindowFixture f;
        for (double x : {0.0, 1.0, 2.0})
            f.editor.document.appendPoint({x, x});
        f.open();
        CMainWindow& window = *f.window;
        QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
        QTest::mouseClick(window.control(MainControl::CopyPicture), Qt::LeftButton);
        QVERIFY(f.services.messages.empty());
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(!data->hasText());
        const QSize area = window.drawingArea()->contentsRect().size();
        QImage png;
        QVERIFY(png.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
        QCOMPARE(png.size(), area);
        // Its pixels are the page's as drawn (the PNG holds them as a palette).
        QImage drawn(area, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter painter(&drawn);
            CQtSurface surface(painter);
            const CurveDocument& doc = f.editor.document;
            drawCurvePage(surface, PageKind::Picture, doc.points(), doc.smoothingMode, f.editor.displayFlags,
                          picturePageTexts(doc));
        }
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), drawn);
        const QXmlStreamAttributes svg = rootAttributes(data->data(QStringLiteral("image/svg+xml")));
        QCOMPARE(svg.value(QStringLiteral("viewBox")),
                 QStringLiteral("0 0 %1 %2").arg(area.width()).arg(area.height()));
        QVERIFY(svg.value(QStringLiteral("width")).endsWith(QStringLiteral("mm")));
    }

    void theHeadlessExportWritesEachFormat()
    {
        QTemporaryDir dir;
        const QString curve = sampleCurve(dir);
        const QString png = dir.filePath(QStringLiteral("c.png"));
        QCOMPARE(
            runEditor({QStringLiteral("--export"), png, QStringLiteral("--size"), QStringLiteral("640x480"), curve})
                .exitCode,
            0);
        QCOMPARE(QImage(png).size(), QSize(640, 480));

        const QString svg = dir.filePath(QStringLiteral("c.svg"));
        QCOMPARE(runEditor({QStringLiteral("--export"), svg, curve}).exitCode, 0);
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        QCOMPARE(rootAttributes(svgFile.readAll()).value(QStringLiteral("viewBox")), QStringLiteral("0 0 1000 700"));

        const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
        QCOMPARE(runEditor({QStringLiteral("--export"), pdf, curve}).exitCode, 0);
        QVERIFY(pdfText(pdf).contains(QStringLiteral("came")));

        // The five points sampled 32 times per interval in the file's smoothing, the last
        // point itself closing them, one LF-ended line each.
        const QString csv = dir.filePath(QStringLiteral("c.CSV"));
        QCOMPARE(runEditor({QStringLiteral("--export"), csv, curve}).exitCode, 0);
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QByteArray values = csvFile.readAll();
        QVERIFY(!values.contains('\r'));
        const QList<QByteArray> lines = values.split('\n');
        QCOMPARE(lines.size(), 1 + 32 * 4 + 1 + 1);
        QCOMPARE(lines.first(), QByteArray("x,y,dy/dx,d2y/dx2,integral"));
        QVERIFY(lines[1].startsWith("0,0,"));
        QVERIFY(lines[lines.size() - 2].startsWith("4,4,"));
        QCOMPARE(lines.last(), QByteArray());
    }

    // The reader behind the checks of printed pages, on two pages whose text is known:
    // fixed-pitch words at known columns and baselines, one drawn first and a little low.
    void pdfTextReadsBackEachPageLineByLine()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("known.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setResolution(72);
            QPainter painter(&writer);
            QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
            font.setStyleHint(QFont::Monospace);
            painter.setFont(font);
            QVERIFY(QFontInfo(painter.font()).fixedPitch());
            const double column = QFontMetricsF(painter.font(), &writer).horizontalAdvance(QLatin1Char('M'));
            const auto show = [&](int col, double y, const char* text) {
                painter.drawText(QPointF(col * column, y), QString::fromUtf8(text));
            };
            show(40, 107, "Y");
            show(0, 105, "Point");
            show(20, 105, "Temps");
            show(0, 60, "Données é");
            show(2, 200, "fin");
            writer.newPage();
            show(30, 50, "Page: 2");
            show(0, 75, "x");
        }
        const QString text = pdfText(pdf);
        const QString spaces15(15, QLatin1Char(' '));
        QCOMPARE(text,
                 QStringLiteral("Données é\n\n\n\nPoint") + spaces15 + QStringLiteral("Temps") + spaces15
                     + QStringLiteral("Y\n\n\n\n\n  fin\n\f") + QString(30, QLatin1Char(' '))
                     + QStringLiteral("Page: 2\n\nx\n\f"));

        // Without its cross-reference table the file is read all the same.
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray damaged = file.readAll();
        QVERIFY(damaged.contains("\nxref\n"));
        damaged.replace("\nxref\n", "\nxxxx\n");
        const QString copy = dir.filePath(QStringLiteral("damaged.pdf"));
        QFile out(copy);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(damaged);
        out.close();
        QCOMPARE(pdfText(copy), text);

        const QString notPdf = dir.filePath(QStringLiteral("notes.txt"));
        QFile notes(notPdf);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("Point Temps Y\n");
        notes.close();
        for (const QString& unreadable : {dir.filePath(QStringLiteral("absent.pdf")), notPdf})
            QCOMPARE(pdfText(unreadable), QString());
    }

    void theHeadlessExportRefusesInOneFrenchLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable input")
            << QStringList{QStringLiteral("--export"), QStringLiteral("OUT.png"), QStringLiteral("/absent/courbe.crb")}
            << QStringLiteral("Impossible de lire le fichier");
        QTest::newRow("unknown format") << QStringList{QStringLiteral("--export"), QStringLiteral("OUT.bmp"), QString()}
                                        << QStringLiteral("Format inconnu");
        QTest::newRow("unwritable output")
            << QStringList{QStringLiteral("--export"), QStringLiteral("/absent/dir/c.png"), QString()}
            << QStringLiteral("Impossible d'écrire le fichier");
        QTest::newRow("bad size") << QStringList{QStringLiteral("--export"), QStringLiteral("OUT.png"),
                                                 QStringLiteral("--size"), QStringLiteral("big"), QString()}
                                  << QStringLiteral("Taille incorrecte");
        for (const char* size : {"0x0", "-5x10", "100000x100000", "10x"})
            QTest::newRow(size) << QStringList{QStringLiteral("--export"), QStringLiteral("OUT.png"),
                                               QStringLiteral("--size"), QString::fromLatin1(size), QString()}
                                << QStringLiteral("Taille incorrecte");
        // Refused before anything is allocated.
        QTest::newRow("a picture too large")
            << QStringList{QStringLiteral("--export"), QStringLiteral("OUT.png"), QStringLiteral("--size"),
                           QStringLiteral("99999x99999"), QString()}
            << QStringLiteral("Image trop grande <99999x99999> : 536870912 pixels au plus");
    }

    void theHeadlessExportRefusesInOneFrenchLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString curve = sampleCurve(dir);
        for (QString& argument : arguments)
            if (argument.isEmpty())
                argument = curve;
            else if (argument == QStringLiteral("OUT.png") || argument == QStringLiteral("OUT.bmp"))
                argument = dir.filePath(argument);
        const Run run = runEditor(arguments);
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.errors.startsWith(message), qPrintable(run.errors));
        QVERIFY(!run.errors.contains(QLatin1Char('\n')));
    }

    void helpAndVersionAnswer()
    {
        QProcess version;
        version.start(editorProgram(), {QStringLiteral("--version")});
        QVERIFY(version.waitForFinished(30000));
        QCOMPARE(version.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(version.readAllStandardOutput()).trimmed(), QStringLiteral("crbedit 2.04.10"));
        QProcess help;
        help.start(editorProgram(), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(30000));
        QCOMPARE(help.exitCode(), 0);
        QVERIFY(QString::fromUtf8(help.readAllStandardOutput()).contains(QStringLiteral("--export")));
    }

    // Where the program looks for its library: the folder of the program file running.
    void theProgramFolderIsTheRunningProgramsOwn()
    {
        const QString folder = QString::fromStdU16String(programDirectory().u16string());
        QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(folder)), QCoreApplication::applicationDirPath());
    }

    // The program opens the editor from its library beside it; a folder without the
    // library gives the French line the program shows instead.
    void theEditorLibraryIsLoadedFromBesideTheProgram_data()
    {
        QTest::addColumn<QString>("folder");  // empty: the program's own
        QTest::addColumn<QString>("refusal"); // empty: loaded
        QTest::newRow("the program's folder") << QString() << QString();
        QTest::newRow("a folder without the library")
            << QStringLiteral("empty") << QStringLiteral("Impossible de charger l'éditeur <");
        // Rather than a search of the system's folders for a file of that name.
        QTest::newRow("no folder known") << QStringLiteral(
            "none") << QStringLiteral("Impossible de charger l'éditeur : le dossier du programme est inconnu");
    }

    void theEditorLibraryIsLoadedFromBesideTheProgram()
    {
        QFETCH(QString, folder);
        QFETCH(QString, refusal);
        QTemporaryDir empty;
        std::filesystem::path directory;
        if (folder.isEmpty())
            directory = QDir(QFileInfo(editorProgram()).absolutePath()).filesystemAbsolutePath();
        else if (folder == QStringLiteral("empty"))
            directory = QDir(empty.path()).filesystemAbsolutePath();
        QString error;
        const EditorMain entry = loadEditorModule(directory, error);
        if (refusal.isEmpty()) {
            QVERIFY2(entry, qPrintable(error));
            QVERIFY(error.isEmpty());
        } else {
            QVERIFY(!entry);
            QVERIFY2(error.startsWith(refusal), qPrintable(error));
            if (folder == QStringLiteral("empty"))
                QVERIFY2(error.contains(QStringLiteral(CRB_EDITOR_MODULE_FILE)), qPrintable(error));
        }
    }
};

QTEST_MAIN(CurveOutputTest)
#include "tst_curve_output.moc"
