#include "core/curve/CurveFile.h"
#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"
#include "core/settings/CMemorySettingsStore.h"
#include "core/text/CaseFolding.h"

#include "gui/app/CMainWindow.h"
#include "gui/app/StartUp.h"
#include "gui/common/CHelpViewer.h"
#include "gui/curve/CPointListDialog.h"
#include "gui/formula/CFormulaDialog.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// An installation in a temporary directory: the program's folder, with what the test
// puts beside the program.
struct Installation {
    QTemporaryDir dir;
    CMemorySettingsStore settings;

    void put(const char* name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void attachTo(Editor& editor) const
    {
        InstallationDirectories dirs;
        dirs.programDirectory = dir.path().toStdString();
        dirs.workingDirectory = dir.path().toStdString();
        dirs.profileDirectory = (dir.path() + QStringLiteral("/profile")).toStdString();
        editor.installation = dirs;
        editor.settings = &settings;
    }
};

const QByteArray Units = "[Longueur]\r\nLongueur (mm)=0.001\r\nLongueur (m)=1\r\n[Angle]\r\nAngle (deg)=1\r\n";

QStringList entries(const QComboBox* box)
{
    QStringList all;
    for (int i = 0; i < box->count(); ++i)
        all << box->itemText(i);
    return all;
}

// A curve file "cam.crb" of two points in `dir`, with the unit `unit`.
QString twoPointCurveFile(const QTemporaryDir& dir, const char* unit)
{
    const QString path = dir.filePath(QStringLiteral("cam.crb"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray("20020704\r\n1\r\n0\r\n2\r\n0.0 0.0\r\n1.0 2.0\r\n") + unit + "\r\n");
    return path;
}

// Scripted services whose help is the real help window.
struct RealHelpServices : CScriptedPlatformServices {
    CHelpViewer viewer;
    bool showHelp(QWidget* owner, const QString& path, const QString& topic) override
    {
        CScriptedPlatformServices::showHelp(owner, path, topic);
        return viewer.showTopic(path, topic);
    }
};

// A help file with a long page after each topic, and a link at each topic to the end.
QByteArray longHelpFile()
{
    QByteArray html = "<html><body>";
    for (const char* topic : {"", "tableaux", "Formules"}) {
        if (*topic)
            html += QByteArray("<a name='") + topic + "'></a><h2>" + topic + "</h2>";
        html += QByteArray("<p><a href='#fin'>lien-") + (*topic ? topic : "sommaire") + "</a></p>";
        for (int line = 0; line < 150; ++line)
            html += "<p>Ligne d'aide.</p>";
    }
    return html + "<a name='fin'></a><h2>Fin</h2></body></html>";
}

// Scrolls the help window with Page Down, follows a link with the mouse and closes it
// with Escape, all sent to its own window as a user would.
void useTheHelpWindow(CHelpViewer& help, const char* linkText)
{
    QVERIFY(waitUntilActive(help));
    QWindow* window = help.windowHandle();
    auto* browser = help.findChild<QTextBrowser*>();
    QVERIFY(browser);
    QScrollBar* bar = browser->verticalScrollBar();
    const int top = bar->value();
    QTest::keyClick(window, Qt::Key_PageDown);
    QVERIFY2(bar->value() > top, "Page Down scrolls");
    QTest::keyClick(window, Qt::Key_PageUp);
    QCOMPARE(bar->value(), top);

    const QTextCursor link = browser->document()->find(QString::fromLatin1(linkText));
    QVERIFY(!link.isNull());
    QTextCursor middle(link);
    middle.setPosition((link.selectionStart() + link.selectionEnd()) / 2);
    const QPoint at = browser->viewport()->mapTo(&help, browser->cursorRect(middle).center());
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
    QCOMPARE(help.currentTopic(), QStringLiteral("fin"));

    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!help.isVisible());
}

} // namespace

class InstallationCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void theUnitListComesFromTheUnitsFileAndTheCurvesUnitIsSavedBack()
    {
        Installation install;
        install.put("units.ini", Units);
        QTemporaryDir work;
        const QString path = twoPointCurveFile(work, "mm");

        MainWindowFixture f;
        install.attachTo(f.editor);
        readPointFile(path.toStdString(), f.editor.document);
        f.open();
        CMainWindow& window = *f.window;
        auto* units = window.control<QComboBox>(MainControl::Units);
        QCOMPARE(entries(units),
                 (QStringList{QString(), QStringLiteral("mm"), QStringLiteral("m"), QStringLiteral("deg")}));
        QCOMPARE(units->currentText(), QStringLiteral("mm"));

        f.services.chooseNextFile(path);
        clickControl(window, MainControl::Save);
        CurveDocument back;
        readCurveFile(path.toStdString(), back);
        QCOMPARE(back.unitName, std::string("mm"));
        QVERIFY(f.services.messages.empty());
    }

    void aUnitReadInAnotherLetterCaseIsNoEdit()
    {
        Installation install;
        install.put("units.ini", Units);
        QTemporaryDir work;
        const QString path = twoPointCurveFile(work, "MM");

        CScriptedPlatformServices services;
        Editor editor;
        install.attachTo(editor);
        readStartupFile(services, editor, path);
        QString shown;
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            shown = window.control<QComboBox>(MainControl::Units)->currentText();
            clickControl(window, MainControl::Stop);
        });
        QCOMPARE(runEditor(services, editor), 1);
        QCOMPARE(shown, QStringLiteral("mm"));
        QVERIFY(services.messages.empty()); // no save question
    }

    void theUnitBoxHoldsAtMostTheCurrentCurvesOwnUnitBesideTheList()
    {
        Installation install;
        install.put("units.ini", Units);
        QTemporaryDir work;
        MainWindowFixture f;
        install.attachTo(f.editor);
        f.open();
        CMainWindow& window = *f.window;
        auto* units = window.control<QComboBox>(MainControl::Units);
        const QStringList listed{QString(), QStringLiteral("mm"), QStringLiteral("m"), QStringLiteral("deg")};
        struct Step {
            const char* unit;
            QStringList shown;
            const char* selected;
        };
        const Step steps[] = {
            {"N.m", listed + QStringList{QStringLiteral("N.m")}, "N.m"},
            {"kN", listed + QStringList{QStringLiteral("kN")}, "kN"},
            {"MM", listed, "mm"},
            {"kN", listed + QStringList{QStringLiteral("kN")}, "kN"},
            {"", listed, ""},
        };
        for (const Step& step : steps) {
            const QString path = work.filePath(QStringLiteral("c.crb"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray("20020704\r\n0\r\n0\r\n2\r\n0 0\r\n1 1\r\n") + step.unit + "\r\n");
            file.close();
            f.services.chooseNextFile(path);
            clickControl(window, MainControl::OpenFile);
            QCOMPARE(entries(units), step.shown);
            QCOMPARE(units->currentText(), QString::fromUtf8(step.selected));
        }
        QVERIFY(f.services.messages.empty());
    }

    // The list's entries are matched with the curve's unit as Qt compares texts letter
    // case aside: core's folding is Qt's, for every character.
    void theUnitsLetterCaseFoldsAsQtFoldsIt()
    {
        int differing = 0;
        char32_t first = 0;
        for (char32_t c = 0; c <= QChar::LastValidCodePoint; ++c) {
            if (foldCase(c) != QChar::toCaseFolded(c) && differing++ == 0)
                first = c;
        }
        const QString where = QStringLiteral("U+%1 and %2 more").arg(uint(first), 4, 16, QLatin1Char('0'));
        QVERIFY2(differing == 0, qPrintable(where.arg(differing - 1)));
    }

    void aMissingUnitsFileIsSaidAndTheCurvesUnitKept()
    {
        Installation install;
        MainWindowFixture f;
        install.attachTo(f.editor);
        f.editor.document.unitName = "N.m";
        f.open();
        CMainWindow& window = *f.window;
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text,
                 QStringLiteral("Impossible de trouver le fichier de définition des unités !!!"));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("** ATTENTION **"));
        QCOMPARE(window.control<QComboBox>(MainControl::Units)->currentText(), QStringLiteral("N.m"));
    }

    void helpOpensTheInstalledFileOrSaysItIsMissing()
    {
        Installation install;
        install.put("units.ini", Units);
        MainWindowFixture f;
        install.attachTo(f.editor);
        f.open();
        CMainWindow& window = *f.window;
        clickControl(window, MainControl::Help);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!"));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("** Erreur **"));
        QVERIFY(f.services.helpRequests.empty());

        install.put("lintrel.hlp", "<html><body>Aide</body></html>");
        clickControl(window, MainControl::Help);
        QCOMPARE(f.services.helpRequests.size(), std::size_t(1));
        // The support-file search joins with the platform's separator.
        QCOMPARE(QDir::fromNativeSeparators(f.services.helpRequests[0].path),
                 install.dir.filePath(QStringLiteral("lintrel.hlp")));
        QCOMPARE(f.services.helpRequests[0].topic, QString());
    }

    void everyDialogReachesItsHelpTopicAndOwnsTheMissingFileMessage()
    {
        for (const bool installed : {true, false}) {
            Installation install;
            install.put("units.ini", Units);
            if (installed)
                install.put("lintrel.hlp", "<html><body>Aide</body></html>");
            MainWindowFixture f;
            install.attachTo(f.editor);
            f.open();
            CMainWindow& window = *f.window;
            QWidget* list = nullptr;
            QWidget* formula = nullptr;
            // "&Liste", its "Ai&de...", then its "&Formule" and the formula dialog's "A&ide...".
            whenTheModalDialogOpens<CPointListDialog>([&](CPointListDialog& listDialog) {
                list = &listDialog;
                QTest::mouseClick(listDialog.control<QPushButton>(PointListControl::Help), Qt::LeftButton);
                QTimer::singleShot(0, [&] {
                    auto* formulaDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    QVERIFY(formulaDialog && formulaDialog != list);
                    formula = formulaDialog;
                    QTest::mouseClick(controlOf<QPushButton>(*formulaDialog, FormulaControl::Help), Qt::LeftButton);
                    formulaDialog->reject();
                });
                QTest::mouseClick(listDialog.control<QPushButton>(PointListControl::Formula), Qt::LeftButton);
                listDialog.reject();
            });
            clickControl(window, MainControl::List);
            QVERIFY(list && formula);
            if (installed) {
                QCOMPARE(f.services.helpRequests.size(), std::size_t(2));
                QCOMPARE(f.services.helpRequests[0].topic, QStringLiteral("tableaux"));
                QCOMPARE(f.services.helpRequests[0].owner, list);
                QCOMPARE(f.services.helpRequests[1].topic, QStringLiteral("Formules"));
                QCOMPARE(f.services.helpRequests[1].owner, formula);
                QCOMPARE(QDir::fromNativeSeparators(f.services.helpRequests[1].path),
                         install.dir.filePath(QStringLiteral("lintrel.hlp")));
                QVERIFY(f.services.messages.empty());
            } else {
                QVERIFY(f.services.helpRequests.empty());
                std::vector<QWidget*> owners;
                for (const RecordedMessage& m : f.services.messages)
                    if (m.text == QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!"))
                        owners.push_back(m.owner);
                QCOMPARE(owners, (std::vector<QWidget*>{list, formula}));
            }
        }
    }

    // The help window stands apart: it is not held by the editor's window or dialogs
    // while they wait, whichever of them opened it.
    void theHelpWindowTakesInputWhileTheEditorsWindowsWait_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::newRow("the main window's &Aide") << "main";
        QTest::newRow("the point list's Ai&de...") << "list";
        QTest::newRow("the formula dialog's A&ide...") << "formula";
    }
    void theHelpWindowTakesInputWhileTheEditorsWindowsWait()
    {
        QFETCH(QString, opener);
        Installation install;
        install.put("units.ini", Units);
        install.put("lintrel.hlp", longHelpFile());
        RealHelpServices services;
        Editor editor;
        install.attachTo(editor);
        bool used = false;
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            if (opener == u"main") {
                clickControl(window, MainControl::Help);
                useTheHelpWindow(services.viewer, "lien-sommaire");
                used = true;
                clickControl(window, MainControl::Stop);
                return;
            }
            whenTheModalDialogOpens<CPointListDialog>([&](CPointListDialog& list) {
                if (opener == u"list") {
                    QTest::mouseClick(list.control<QPushButton>(PointListControl::Help), Qt::LeftButton);
                    useTheHelpWindow(services.viewer, "lien-tableaux");
                    used = true;
                    list.reject();
                    return;
                }
                whenTheModalDialogOpens<QDialog>([&](QDialog& formula) {
                    QTest::mouseClick(controlOf<QPushButton>(formula, FormulaControl::Help), Qt::LeftButton);
                    useTheHelpWindow(services.viewer, "lien-Formules");
                    used = true;
                    formula.reject();
                });
                QTest::mouseClick(list.control<QPushButton>(PointListControl::Formula), Qt::LeftButton);
                list.reject();
            });
            clickControl(window, MainControl::List);
            clickControl(window, MainControl::Stop);
        });
        runEditor(services, editor);
        QVERIFY(used);
        QCOMPARE(services.helpRequests.size(), std::size_t(1));
    }

    void anEmptiedListIsKeptAndTheStopAsks()
    {
        MainWindowFixture f;
        for (double x : {3.0, 1.0, 2.0})
            f.editor.document.appendPoint({x, x});
        f.open();
        CMainWindow& window = *f.window;
        whenTheModalDialogOpens<CPointListDialog>([&](CPointListDialog& list) {
            QTest::mouseClick(list.control<QPushButton>(PointListControl::Empty), Qt::LeftButton); // "&Vider"
            QTest::mouseClick(list.control<QPushButton>(PointListControl::Ok), Qt::LeftButton);    // "&Ok"
        });
        clickControl(window, MainControl::List);
        QCOMPARE(f.editor.document.count(), 0);
        QCOMPARE(f.editor.interactionMode, InteractionMode::ListEntry);
        QCOMPARE(f.editor.document.undoCount(), 0); // the snapshot follows the list

        clickControl(window, MainControl::Stop);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("Sortie"));
    }
};

QTEST_MAIN(InstallationCommandsTest)
#include "tst_installation_commands.moc"
