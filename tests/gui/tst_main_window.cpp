#include "core/curve/CurveFile.h"
#include "core/editor/Editor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/MainControl.h"

#include "gui/app/CMainWindow.h"
#include "gui/app/StartUp.h"
#include "gui/common/DialogTemplate.h"
#include "gui/curve/CPointListDialog.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startedWithAFileAndStoppedUnchangedAsksNothing()
    {
        CScriptedPlatformServices services;
        int shownCount = -1;
        bool aucun = false;
        bool akima = false;
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            shownCount = labelText(window, MainControl::PointCount).toInt();
            aucun = isChecked(window, MainControl::SmoothAucun);
            akima = isChecked(window, MainControl::SmoothAkima);
            QVERIFY(isChecked(window, MainControl::Periodic));
            QVERIFY(window.windowTitle().contains(QStringLiteral("2.04.10")));
            QCOMPARE(labelText(window, MainControl::PointCount), QStringLiteral("   3"));
            clickControl(window, MainControl::Stop);
        });
        QCOMPARE(startEditor(services, dataFile("current.crb")), 1);
        QCOMPARE(shownCount, 3);
        QVERIFY(!aucun);
        QVERIFY(akima);
        QVERIFY(services.messages.empty());
        QVERIFY(services.fileRequests.empty());
    }

    void aPointAddedThenStopAsksAndACancelledSaveGoesBackToEditing()
    {
        CScriptedPlatformServices services;
        Editor editor;
        readStartupFile(services, editor, dataFile("current.crb"));
        services.answerNextMessage(MessageAnswer::Yes);
        services.cancelNextFileDialog();
        bool stillOpen = false;
        QString modeShown;
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            clickControl(window, MainControl::PointEntry);
            modeShown = labelText(window, MainControl::StatusLine);
            editor.document.appendPoint({10, 10});
            QTest::keyClick(&window, Qt::Key_Escape);
            // "Oui", then the save dialog closed: the edit, the mode and the window stay.
            stillOpen = window.isVisible();
            QCOMPARE(labelText(window, MainControl::StatusLine), modeShown);
            QCOMPARE(editor.interactionMode, InteractionMode::PointEntry);
            QCOMPARE(editor.document.count(), 4);
            services.answerNextMessage(MessageAnswer::No);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QCOMPARE(runEditor(services, editor), 1);
        QVERIFY(stillOpen);

        QCOMPARE(services.messages.size(), std::size_t(2)); // asked at each stop
        const RecordedMessage& question = services.messages.front();
        QCOMPARE(question.text, QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"));
        QCOMPARE(question.caption, QStringLiteral("Sortie"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.icon, MessageIcon::Question);

        // The first save offers the file the product passed, which it reads back.
        QCOMPARE(services.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& save = services.fileRequests.front();
        QVERIFY(save.save);
        QCOMPARE(save.title, QStringLiteral("Enregistrer un fichier"));
        QCOMPARE(save.initialName, QFileInfo(dataFile("current.crb")).absoluteFilePath());
        QCOMPARE(save.defaultExtension, QStringLiteral("crb"));
        QCOMPARE(save.filters, QStringList{QStringLiteral("Fichier courbe (*.crb)")});
        QCOMPARE(editor.document.filePath, std::string());
    }

    void fichierOnAModifiedCurveOffersToSaveItFirst()
    {
        struct Case {
            const char* what;
            MessageAnswer answer;
            bool saveChosen;
            int fileDialogs;
            bool read;
        };
        const Case cases[] = {
            {"non: the open dialog as before", MessageAnswer::No, false, 1, true},
            {"annuler: nothing changes", MessageAnswer::Cancel, false, 0, false},
            {"oui: saved, then read", MessageAnswer::Yes, true, 2, true},
            {"oui, save dialog cancelled: nothing read", MessageAnswer::Yes, false, 1, false},
        };
        for (const Case& c : cases) {
            QTemporaryDir dir;
            const QString saved = dir.filePath(QStringLiteral("edits.crb"));
            MainWindowFixture f({{1, 1}});
            CMainWindow& window = *f.window;
            f.editor.document.appendPoint({2, 2});
            f.services.answerNextMessage(c.answer);
            if (c.saveChosen)
                f.services.chooseNextFile(saved);
            else if (c.answer == MessageAnswer::Yes)
                f.services.cancelNextFileDialog();
            f.services.chooseNextFile(dataFile("current.crb"));
            clickControl(window, MainControl::OpenFile);

            QVERIFY2(f.services.messages.size() == 1, c.what);
            QCOMPARE(f.services.messages[0].caption, QStringLiteral("Ouvrir un fichier"));
            QCOMPARE(f.services.messages[0].buttons, MessageButtons::YesNoCancel);
            QCOMPARE(f.services.messages[0].icon, MessageIcon::Question);
            QVERIFY2(f.services.fileRequests.size() == std::size_t(c.fileDialogs), c.what);
            QVERIFY2(QFile::exists(saved) == c.saveChosen, c.what);
            QVERIFY2(f.editor.document.count() == (c.read ? 3 : 2), c.what);
            QVERIFY2(isChecked(window, MainControl::SmoothAkima) == c.read, c.what);
        }
    }

    void aFileReadFromTheListShowsItsSettingsInTheMainWindow()
    {
        for (PointListControl close : {PointListControl::Ok, PointListControl::Cancel}) {
            MainWindowFixture f({{0, 0}, {5, 5}});
            CMainWindow& window = *f.window;
            QVERIFY(isChecked(window, MainControl::SmoothAucun));
            f.services.chooseNextFile(dataFile("current.crb")); // "Akima", periodic, in mm
            whenTheModalDialogOpens<CPointListDialog>([&](CPointListDialog& list) {
                clickControl(list, PointListControl::File);
                clickControl(list, close);
            });
            clickControl(window, MainControl::List);
            QVERIFY(isChecked(window, MainControl::SmoothAkima));
            QVERIFY(isChecked(window, MainControl::Periodic));
            QCOMPARE(window.control<QComboBox>(MainControl::Units)->currentText(), QStringLiteral("mm"));
            QCOMPARE(f.editor.document.count(), close == PointListControl::Ok ? 3 : 2);
        }
    }

    void answeringYesWritesTheFileWithTheShownUnit()
    {
        QTemporaryDir dir;
        QString target = dir.filePath(QStringLiteral("out.crb"));
        CScriptedPlatformServices services;
        Editor editor;
        services.answerNextMessage(MessageAnswer::Yes);
        services.chooseNextFile(target);
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            editor.document.appendPoint({1.5, 2});
            clickControl(window, MainControl::Stop);
        });
        runEditor(services, editor);

        CurveDocument back;
        readCurveFile(target.toStdString(), back);
        QCOMPARE(back.count(), 1);
        QCOMPARE(back.points()[0].x, 1.5);
        QCOMPARE(editor.document.filePath, target.toStdString());
        QCOMPARE(editor.document.savedCount(), 1);
    }

    void aFailedSaveOnStoppingOffersTheDialogAgain()
    {
        QTemporaryDir dir;
        QString good = dir.filePath(QStringLiteral("second.crb"));
        CScriptedPlatformServices services;
        Editor editor;
        services.answerNextMessage(MessageAnswer::Yes);
        services.chooseNextFile(QStringLiteral("/nonexistent-dir-for-test/a.crb"));
        services.chooseNextFile(good);
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            editor.document.appendPoint({1, 2});
            clickControl(window, MainControl::Stop);
        });
        runEditor(services, editor);
        QCOMPARE(services.fileRequests.size(), std::size_t(2));
        QCOMPARE(services.messages.size(), std::size_t(2)); // the question, the write failure
        QVERIFY(QFile::exists(good));
        QCOMPARE(editor.document.savedCount(), 1);
    }

    void aFileThatCannotBeWrittenIsReportedAndNothingChanges()
    {
        MainWindowFixture f;
        f.editor.document.appendPoint({1, 1});
        f.open();
        CMainWindow& window = *f.window;
        f.editor.document.appendPoint({2, 2});
        QString target = QStringLiteral("/nonexistent-dir-for-test/a.crb");
        f.services.chooseNextFile(target);
        clickControl(window, MainControl::Save);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Impossible d'écrire le fichier <%1> !!!").arg(target));
        QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
        QCOMPARE(f.editor.document.filePath, std::string());
        QCOMPARE(f.editor.document.savedCount(), 1);
    }

    void theCommandLineReadsAnUpperCaseCrbAsACurveFile()
    {
        QTemporaryDir dir;
        QString upper = dir.filePath(QStringLiteral("CAM.CRB"));
        QVERIFY(QFile::copy(dataFile("current.crb"), upper));
        CScriptedPlatformServices services;
        Editor editor;
        readStartupFile(services, editor, upper);
        QCOMPARE(editor.document.count(), 3);
        QCOMPARE(editor.document.smoothingMode, Akima);
        QVERIFY(services.messages.empty());

        QCOMPARE(commandLineText({QStringLiteral("C:\\Mes"), QStringLiteral("Courbes\\a.crb")}),
                 QStringLiteral("C:\\Mes Courbes\\a.crb"));
        QCOMPARE(commandLineText({QString(600, QLatin1Char('a'))}).size(), 511);
    }

    void aWindowsCommandLineGivesThePathWhole_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("path");
        const QString program = QStringLiteral("\"C:\\Program Files\\Crb\\crbedit.exe\"");
        QTest::newRow("no path") << program << QString();
        QTest::newRow("blanks after the program only") << program + QStringLiteral("   ") << QString();
        QTest::newRow("two blanks in a row kept")
            << program + QStringLiteral(" C:\\Mes  Courbes\\a.crb") << QStringLiteral("C:\\Mes  Courbes\\a.crb");
        QTest::newRow("a trailing blank kept")
            << program + QStringLiteral(" C:\\a.crb ") << QStringLiteral("C:\\a.crb ");
        QTest::newRow("quotes around the whole path removed")
            << program + QStringLiteral(" \"C:\\Mes  Courbes\\a.crb\"") << QStringLiteral("C:\\Mes  Courbes\\a.crb");
        QTest::newRow("quotes inside kept")
            << program + QStringLiteral(" \"C:\\a\" \"b.crb\"") << QStringLiteral("\"C:\\a\" \"b.crb\"");
        QTest::newRow("a program name without quotes, then a tab")
            << QStringLiteral("crbedit.exe\tC:\\a b.crb") << QStringLiteral("C:\\a b.crb");
        QTest::newRow("a quote left open in the program name")
            << QStringLiteral("\"crbedit.exe C:\\a.crb") << QString();
        QTest::newRow("cut at 511 characters")
            << program + QLatin1Char(' ') + QString(600, QLatin1Char('a')) << QString(511, QLatin1Char('a'));
    }
    void aWindowsCommandLineGivesThePathWhole()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, path);
        QCOMPARE(commandLinePath(commandLine), path);
    }

    void thisRunsOwnCommandLineNamesNoPath()
    {
        // ctest starts the test with no argument: on Windows the process's own command
        // line then holds the program's name alone, however it was quoted.
        QCOMPARE(startupPathText(), QString());
    }

    void fichierReadsAnUpperCaseCrbAsACurveFile()
    {
        QTemporaryDir dir;
        QString upper = dir.filePath(QStringLiteral("CAM.CRB"));
        QVERIFY(QFile::copy(dataFile("current.crb"), upper));
        MainWindowFixture f;
        f.open();
        CMainWindow& window = *f.window;
        f.services.chooseNextFile(upper);
        clickControl(window, MainControl::OpenFile);

        QCOMPARE(f.services.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& open = f.services.fileRequests.front();
        QVERIFY(!open.save);
        QCOMPARE(open.title, QStringLiteral("Ouvrir un fichier"));
        QCOMPARE(open.initialName, QStringLiteral("*.crb"));
        QCOMPARE(open.filters,
                 (QStringList{QStringLiteral("Fichier courbe (*.crb)"), QStringLiteral("Fichiers ASCII (*.txt)")}));

        QVERIFY(f.services.messages.empty());
        QCOMPARE(f.editor.document.count(), 3);
        QCOMPARE(f.editor.document.undoCount(), 3);
        QCOMPARE(f.editor.document.savedCount(), 3);
        QCOMPARE(f.editor.document.filePath, upper.toStdString());
        QVERIFY(isChecked(window, MainControl::SmoothAkima));
        QVERIFY(isChecked(window, MainControl::Periodic));
        QCOMPARE(labelText(window, MainControl::PointCount), QStringLiteral("   3"));
        QCOMPARE(labelText(window, MainControl::StatusLine), QString());
    }

    void cancellingTheOpenDialogChangesNothing()
    {
        MainWindowFixture f;
        f.editor.document.appendPoint({1, 1});
        f.open();
        CMainWindow& window = *f.window;
        f.services.failNextFileDialog(FileDialogError::NameTooLong);
        clickControl(window, MainControl::OpenFile);
        clickControl(window, MainControl::OpenFile); // unscripted: cancelled, no message
        QCOMPARE(f.editor.document.count(), 1);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Nom de fichier trop long (longueur maxi = 256 car.)"));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("Attention"));
    }

    void resetThenUndoBringsBackTheLastSnapshot()
    {
        MainWindowFixture f;
        readStartupFile(f.services, f.editor, dataFile("current.crb"));
        f.editor.document.takeSnapshot();
        f.open();
        CMainWindow& window = *f.window;

        f.services.answerNextMessage(MessageAnswer::Cancel);
        clickControl(window, MainControl::Reset);
        QCOMPARE(f.editor.document.count(), 3);
        QCOMPARE(f.services.messages.back().text, QStringLiteral("Voulez-vous vraiment tout effacer ?"));
        QCOMPARE(f.services.messages.back().caption, QStringLiteral("Attention !"));
        QCOMPARE(f.services.messages.back().buttons, MessageButtons::OkCancel);

        f.services.answerNextMessage(MessageAnswer::Ok);
        clickControl(window, MainControl::Reset);
        QCOMPARE(f.editor.document.count(), 0);
        QCOMPARE(f.editor.interactionMode, InteractionMode::Reset);
        QCOMPARE(labelText(window, MainControl::PointCount), QStringLiteral("   0"));

        clickControl(window, MainControl::Undo);
        QCOMPARE(f.editor.document.count(), 3);
        QCOMPARE(f.editor.document.points()[2], (CurvePoint{3, 4.125}));
        QCOMPARE(labelText(window, MainControl::PointCount), QStringLiteral("   3"));
        clickControl(window, MainControl::Undo);
        QCOMPARE(f.editor.document.count(), 3);
    }

    void smoothingPeriodicityAndTheOtherButtons()
    {
        MainWindowFixture f;
        f.editor.document.smoothingMode = SmoothingMode(7); // as a damaged file may hold
        f.open();
        CMainWindow& window = *f.window;
        QVERIFY(isChecked(window, MainControl::SmoothAucun));

        clickControl(window, MainControl::SmoothCarlson);
        QCOMPARE(f.editor.document.smoothingMode, Carlson);
        clickControl(window, MainControl::Periodic);
        QCOMPARE(f.editor.document.periodic, 1);
        clickControl(window, MainControl::Periodic);
        QCOMPARE(f.editor.document.periodic, 0);

        clickControl(window, MainControl::PointEntry);
        QCOMPARE(labelText(window, MainControl::StatusLine),
                 QStringLiteral("Gauche-Saisir Point / Droit-Saisir Coordonnées"));
        clickControl(window, MainControl::CopyMode); // "&Copie" alone only blanks the status line
        QVERIFY(isChecked(window, MainControl::CopyMode));
        QCOMPARE(labelText(window, MainControl::StatusLine), QStringLiteral(" "));
        QCOMPARE(f.editor.interactionMode, InteractionMode::PointEntry);
        clickControl(window, MainControl::DeletePoint);
        QCOMPARE(labelText(window, MainControl::StatusLine), QStringLiteral("Pas de point à supprimer"));
    }

    void displayBoxesFollowTheirRules()
    {
        MainWindowFixture f;
        f.open();
        CMainWindow& window = *f.window;
        // The flag rules are the f.editor's; the boxes show the flags they leave.
        clickControl(window, MainControl::Derivative1Box);
        clickControl(window, MainControl::IntegralBox);
        QVERIFY(!isChecked(window, MainControl::Derivative1Box));
        QVERIFY(!isChecked(window, MainControl::Derivative2Box));
        clickControl(window, MainControl::Derivative2Box);
        QVERIFY(!isChecked(window, MainControl::IntegralBox));
        clickControl(window, MainControl::Derivative1Box);
        QVERIFY(isChecked(window, MainControl::Derivative1Box) && isChecked(window, MainControl::Derivative2Box));
        QCOMPARE(window.displayFlags(), Derivative1 | Derivative2);
    }

    // In a larger window the drawing frame takes the room; what lies right of it and below
    // it follows that edge, the groups reaching across the window grow, the rest stays.
    void aLargerWindowMovesEachControlWithItsEdge()
    {
        MainWindowFixture f;
        f.open(WindowDisplay::Shown);
        CMainWindow& window = *f.window;
        struct Case {
            const char* what;
            MainControl id;
            int moveX, moveY, growX, growY;
        };
        const Case cases[] = {
            {"the top bar's group grows wide", MainControl::InputGroup, 0, 0, 1, 0},
            {"the top bar's buttons stay", MainControl::Formula, 0, 0, 0, 0},
            {"the point count follows the right edge", MainControl::PointCount, 1, 0, 0, 0},
            {"the left column stays", MainControl::TransformGroup, 0, 0, 0, 0},
            {"the unit list stays", MainControl::Units, 0, 0, 0, 0},
            {"the right column follows the right edge", MainControl::ZoomGroup, 1, 0, 0, 0},
            {"the mouse coordinates too", MainControl::MouseX, 1, 0, 0, 0},
            {"the stop button too", MainControl::Stop, 1, 0, 0, 0},
            {"the drawing frame takes the room", MainControl::DrawingFrame, 0, 0, 1, 1},
            {"the status line follows the bottom edge", MainControl::StatusLine, 0, 1, 0, 0},
            {"help follows the bottom right corner", MainControl::Help, 1, 1, 0, 0},
            {"save too", MainControl::Save, 1, 1, 0, 0},
        };
        std::vector<QRect> before;
        for (const Case& c : cases)
            before.push_back(window.control(c.id)->geometry());
        const QSize more(200, 120);
        const QSize frame = window.control(MainControl::DrawingFrame)->size();
        window.resize(window.size() + more);
        QTRY_COMPARE(window.control(MainControl::DrawingFrame)->size(), frame + more);
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const Case& c = cases[i];
            const QRect& r = before[i];
            const QRect expected(r.x() + c.moveX * more.width(), r.y() + c.moveY * more.height(),
                                 r.width() + c.growX * more.width(), r.height() + c.growY * more.height());
            QVERIFY2(window.control(c.id)->geometry() == expected, c.what);
        }
    }

    // A key works as a click of its button, from wherever the focus is in the window.
    void eachKeyRunsTheCommandOfItsButton_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("fileDialog"); // the title of the one file dialog asked for
        QTest::addColumn<QString>("message");    // the one message shown
        QTest::addColumn<int>("count");
        const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
        QTest::newRow("Ctrl+S: the save dialog")
            << Qt::Key_S << ctrl << QStringLiteral("Enregistrer un fichier") << QString() << 2;
        QTest::newRow("Ctrl+Z: the snapshot back") << Qt::Key_Z << ctrl << QString() << QString() << 1;
        QTest::newRow("Ctrl+O: the open dialog")
            << Qt::Key_O << ctrl << QStringLiteral("Ouvrir un fichier") << QString() << 2;
        QTest::newRow("F1: the help, missing here") << Qt::Key_F1 << Qt::KeyboardModifiers() << QString()
                                                    << QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!") << 2;
    }
    void eachKeyRunsTheCommandOfItsButton()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, fileDialog);
        QFETCH(QString, message);
        QFETCH(int, count);
        MainWindowFixture f;
        f.editor.document.appendPoint({1, 1});
        f.editor.document.takeSnapshot();
        f.editor.document.appendPoint({2, 2}); // after the snapshot, and saved
        f.editor.document.markSaved();
        f.open(WindowDisplay::Shown);
        CMainWindow& window = *f.window;
        QVERIFY(waitUntilActive(window));

        QTest::keyClick(window.windowHandle(), key, modifiers);
        QCOMPARE(f.services.fileRequests.size(), std::size_t(fileDialog.isEmpty() ? 0 : 1));
        if (!fileDialog.isEmpty())
            QCOMPARE(f.services.fileRequests[0].title, fileDialog);
        QCOMPARE(f.services.messages.size(), std::size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty())
            QCOMPARE(f.services.messages[0].text, message);
        QCOMPARE(f.editor.document.count(), count);
        QCOMPARE(labelText(window, MainControl::PointCount).toInt(), count);
    }

    // The captions are short: each clickable control says what it does, and a button
    // with a key names it.
    void everyButtonHasAToolTipNamingItsKey()
    {
        MainWindowFixture f;
        f.open();
        QSet<QString> tips;
        for (const ControlSpec& row : mainWindowLayout().controls) {
            if (row.kind != ControlKind::Button && row.kind != ControlKind::Check)
                continue;
            const QString name = QString::fromUtf8(row.caption);
            const QString tip = f.window->control(static_cast<MainControl>(row.id.value))->toolTip();
            QVERIFY2(!tip.isEmpty(), qPrintable(name));
            QVERIFY2(!tips.contains(tip), qPrintable(QStringLiteral("%1 says what another says").arg(name)));
            tips.insert(tip);
            if (!row.shortcut)
                continue;
            const QString key = QKeySequence(QString::fromLatin1(row.shortcut)).toString(QKeySequence::NativeText);
            QVERIFY2(tip.endsWith(QStringLiteral(" (%1)").arg(key)) && tip.count(key) == 1, qPrintable(tip));
        }
    }

    void everyControlThatClicksHasACommand()
    {
        for (const ControlSpec& row : mainWindowLayout().controls) {
            const bool clicks = row.kind == ControlKind::Button || row.kind == ControlKind::Check
                || row.kind == ControlKind::Radio || row.kind == ControlKind::Combo;
            if (!clicks)
                continue;
            const QString name = QStringLiteral("\"%1\" (%2)").arg(QString::fromUtf8(row.caption)).arg(row.id.value);
            QVERIFY2(row.id != NoControlId, qPrintable(QStringLiteral("%1 has no id").arg(name)));
            QVERIFY2(findCommand(static_cast<MainControl>(row.id.value)),
                     qPrintable(QStringLiteral("%1 has no command").arg(name)));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
