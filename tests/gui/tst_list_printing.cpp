#include "gui/curve/CPointListDialog.h"
#include "gui/output/TextPrinting.h"

#include "GuiTestSupport.h"
#include "PdfText.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

// Points every temporary directory of the program into a directory of the test, so that
// what the printing leaves behind can be seen; restores the previous one at the end.
// TMPDIR names it on Linux, TMP and TEMP on Windows.
class CTemporaryRoot {
public:
    CTemporaryRoot()
    {
        for (const char* name : Variables) {
            previous_.push_back(qgetenv(name));
            qputenv(name, QDir::toNativeSeparators(root_.path()).toLocal8Bit());
        }
    }
    ~CTemporaryRoot()
    {
        for (std::size_t i = 0; i < std::size(Variables); ++i)
            if (previous_[i].isNull())
                qunsetenv(Variables[i]);
            else
                qputenv(Variables[i], previous_[i]);
    }
    // Every file under the root, whatever directory holds it.
    QStringList files() const
    {
        QStringList found;
        QDirIterator it(root_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

private:
    static constexpr const char* Variables[] = {"TMPDIR", "TMP", "TEMP"};
    QTemporaryDir root_;
    std::vector<QByteArray> previous_;
};

bool hasLine(const QString& text, const QString& pattern)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).hasMatch();
}

struct Fixture {
    CScriptedPlatformServices services;
    CurveDocument doc;
    QTemporaryDir output;
    QString pdf = output.filePath(QStringLiteral("list.pdf"));
    CTemporaryRoot temporaries; // after `output`, which stays in the real temporary directory
};

} // namespace

class ListPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void listIsPrintedAndItsFileRemoved()
    {
        Fixture f;
        f.doc.xAxisName = "Temps";
        f.services.printNextTo(f.pdf);
        QByteArray listingSeen;
        f.services.whilePrintDialogIsUp = [&] {
            const QStringList files = f.temporaries.files();
            QCOMPARE(files.size(), 1);
            QCOMPARE(QFileInfo(files[0]).fileName(), QStringLiteral("fichedit.$$$"));
            QFile file(files[0]);
            QVERIFY(file.open(QIODevice::ReadOnly));
            listingSeen = file.readAll();
        };
        const std::vector<CurvePoint> points{{-1, 2}, {12.5, -0.03}};
        printPointList(f.services, nullptr, points, f.doc);

        QVERIFY(listingSeen.startsWith("Point                      Temps                   Y\r\n"
                                       "0                   -1.0000e+000        +2.0000e+000\r\n"));
        QVERIFY(f.temporaries.files().isEmpty());
        QVERIFY(f.services.messages.empty());
        const QString text = pdfText(f.pdf);
        QVERIFY2(hasLine(text, QStringLiteral("^\\s*Editeur de courbes\\s+Unnamed\\s+Page: 1$")), qPrintable(text));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*Point\\s+Temps\\s+Y$")));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*1\\s+\\+1\\.2500e\\+001\\s+-3\\.0000e-002$")));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*Veltrix .*Lyon")));
        QVERIFY(!text.contains(QStringLiteral("Page: 2")));
    }

    void longListGoesOnToASecondPage()
    {
        Fixture f;
        std::vector<CurvePoint> points;
        for (int i = 0; i < MaxCurvePoints; ++i)
            points.push_back({double(i), 0});
        f.services.printNextTo(f.pdf);
        printPointList(f.services, nullptr, points, f.doc);
        const QString text = pdfText(f.pdf);
        QVERIFY(hasLine(text, QStringLiteral("Page: 2$")));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*1023\\s+\\+1\\.0230e\\+003\\s+\\+0\\.0000e\\+000$")));
        QVERIFY(f.temporaries.files().isEmpty());
    }

    void cancelledDialogPrintsNothingAndSaysNothing()
    {
        Fixture f; // no printer scripted: the dialog is cancelled
        const std::vector<CurvePoint> points{{1, 1}};
        printPointList(f.services, nullptr, points, f.doc);
        QCOMPARE(f.services.printDialogOwners.size(), std::size_t(1));
        QVERIFY(f.services.messages.empty());
        QVERIFY(!QFile::exists(f.pdf));
        QVERIFY(f.temporaries.files().isEmpty());
    }

    void unreadableFileIsReportedAndNothingPrinted()
    {
        Fixture f;
        f.services.printNextTo(f.pdf);
        printTextFile(f.services, nullptr, "Editeur de courbes", "Unnamed",
                      f.output.filePath(QStringLiteral("missing.txt")).toStdString());
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Erreur en cours d'impression !!"));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("Erreur"));
        QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
        QVERIFY(!QFile::exists(f.pdf));
    }

    void printButtonPrintsTheWorkingCopy()
    {
        Fixture f;
        f.doc.appendPoint({3, 30});
        f.doc.appendPoint({-2, 20}); // the list shows, and prints, its copy sorted
        f.services.printNextTo(f.pdf);
        whenTheModalDialogOpens<CPointListDialog>([&](CPointListDialog& dialog) {
            QTest::mouseClick(dialog.control<QPushButton>(PointListControl::Print), Qt::LeftButton); // "&Imprimer"
            QCOMPARE(f.services.printDialogOwners.size(), std::size_t(1));
            QCOMPARE(f.services.printDialogOwners[0], &dialog);
            dialog.reject();
        });
        FormulaDialogMemory memory;
        QVERIFY(!runPointListDialog(nullptr, f.services, f.doc, memory).accepted);
        const QString text = pdfText(f.pdf);
        QVERIFY2(hasLine(text, QStringLiteral("^\\s*0\\s+-2\\.0000e\\+000\\s+\\+2\\.0000e\\+001$")), qPrintable(text));
        QVERIFY(hasLine(text, QStringLiteral("^\\s*1\\s+\\+3\\.0000e\\+000\\s+\\+3\\.0000e\\+001$")));
        QVERIFY(f.temporaries.files().isEmpty());
    }
};

QTEST_MAIN(ListPrintingTest)
#include "tst_list_printing.moc"
