#include "ScriptedPlatformServices.h"

#include "core/curve/CurveFile.h"
#include "gui/app/CMainWindow.h"
#include "core/editor/Editor.h"
#include "gui/app/StartUp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(CRB_TEST_DATA "/") + QString::fromUtf8(name);
}

// Runs `whileOpen` once the modal main window is up, then lets it go on until it ends.
void whenTheMainWindowIsOpen(std::function<void(CMainWindow&)> whileOpen)
{
    QTimer::singleShot(0, [whileOpen] {
        auto* window = qobject_cast<CMainWindow*>(QApplication::activeModalWidget());
        QVERIFY2(window, "the main window is the modal window");
        whileOpen(*window);
    });
}

void click(CMainWindow& window, int id)
{
    QWidget* w = window.control(id);
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton);
}

bool isChecked(CMainWindow& window, int id)
{
    return window.control<QAbstractButton>(id)->isChecked();
}

QString labelText(CMainWindow& window, int id)
{
    return window.control<QLabel>(id)->text();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startedWithAFileAndStoppedUnchangedAsksNothing()
    {
        CScriptedPlatformServices services;
        int shownCount = -1;
        bool aucun = false;
        bool akima = false;
        whenTheMainWindowIsOpen([&](CMainWindow& window) {
            shownCount = labelText(window, 160).toInt();
            aucun = isChecked(window, 1004);
            akima = isChecked(window, 1006);
            QVERIFY(isChecked(window, 1013));
            QVERIFY(window.windowTitle().contains(QStringLiteral("2.04.10")));
            QCOMPARE(labelText(window, 160), QStringLiteral("   3"));
            click(window, 1);
        });
        QCOMPARE(startEditor(services, dataFile("current.crb")), 1);
        QCOMPARE(shownCount, 3);
        QVERIFY(!aucun);
        QVERIFY(akima);
        QVERIFY(services.messages.empty());
        QVERIFY(services.fileRequests.empty());
    }

    void aPointAddedThenStopAsksAndOffersAnEmptyName()
    {
        CScriptedPlatformServices services;
        Editor editor;
        readStartupFile(services, editor, dataFile("current.crb"));
        services.answerNextMessage(MessageAnswer::Yes);
        services.cancelNextFileDialog();
        whenTheMainWindowIsOpen([&](CMainWindow& window) {
            editor.document.appendPoint({10, 10});
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QCOMPARE(runEditor(services, editor), 1);

        QCOMPARE(services.messages.size(), std::size_t(1));
        const RecordedMessage& question = services.messages.front();
        QCOMPARE(question.text, QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"));
        QCOMPARE(question.caption, QStringLiteral("Sortie"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.icon, MessageIcon::Question);

        QCOMPARE(services.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& save = services.fileRequests.front();
        QVERIFY(save.save);
        QCOMPARE(save.title, QStringLiteral("Enregistrer un fichier"));
        QCOMPARE(save.initialName, QString());
        QCOMPARE(save.defaultExtension, QStringLiteral("crb"));
        QCOMPARE(save.filters, QStringList{QStringLiteral("Fichier courbe (*.crb)")});
    }

    void answeringYesWritesTheFileWithTheShownUnit()
    {
        QTemporaryDir dir;
        QString target = dir.filePath(QStringLiteral("out.crb"));
        CScriptedPlatformServices services;
        Editor editor;
        services.answerNextMessage(MessageAnswer::Yes);
        services.chooseNextFile(target);
        whenTheMainWindowIsOpen([&](CMainWindow& window) {
            editor.document.appendPoint({1.5, 2});
            click(window, 1);
        });
        runEditor(services, editor);

        CurveDocument back;
        readCurveFile(target.toStdString(), back, back.points, back.count);
        QCOMPARE(back.count, 1);
        QCOMPARE(back.points[0].x, 1.5);
        QCOMPARE(editor.document.filePath, target.toStdString());
        QCOMPARE(editor.document.savedCount, 1);
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
        whenTheMainWindowIsOpen([&](CMainWindow& window) {
            editor.document.appendPoint({1, 2});
            click(window, 1);
        });
        runEditor(services, editor);
        QCOMPARE(services.fileRequests.size(), std::size_t(2));
        QCOMPARE(services.messages.size(), std::size_t(2)); // the question, the write failure
        QVERIFY(QFile::exists(good));
        QCOMPARE(editor.document.savedCount, 1);
    }

    void aFileThatCannotBeWrittenIsReportedAndNothingChanges()
    {
        CScriptedPlatformServices services;
        Editor editor;
        editor.document.appendPoint({1, 1});
        CMainWindow window(editor, services);
        editor.document.appendPoint({2, 2});
        QString target = QStringLiteral("/nonexistent-dir-for-test/a.crb");
        services.chooseNextFile(target);
        click(window, 1003);
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].text, QStringLiteral("Impossible d'écrire le fichier <%1> !!!").arg(target));
        QCOMPARE(services.messages[0].icon, MessageIcon::Error);
        QCOMPARE(editor.document.filePath, std::string());
        QCOMPARE(editor.document.savedCount, 1);
    }

    void theCommandLineReadsAnUpperCaseCrbAsACurveFile()
    {
        QTemporaryDir dir;
        QString upper = dir.filePath(QStringLiteral("CAM.CRB"));
        QVERIFY(QFile::copy(dataFile("current.crb"), upper));
        CScriptedPlatformServices services;
        Editor editor;
        readStartupFile(services, editor, upper);
        QCOMPARE(editor.document.count, 3);
        QCOMPARE(editor.document.smoothingMode, 2);
        QVERIFY(services.messages.empty());

        QCOMPARE(commandLineText({QStringLiteral("C:\\Mes"), QStringLiteral("Courbes\\a.crb")}),
                 QStringLiteral("C:\\Mes Courbes\\a.crb"));
        QCOMPARE(commandLineText({QString(600, QLatin1Char('a'))}).size(), 511);
    }

    void fichierReadsAnUpperCaseCrbAsACurveFile()
    {
        QTemporaryDir dir;
        QString upper = dir.filePath(QStringLiteral("CAM.CRB"));
        QVERIFY(QFile::copy(dataFile("current.crb"), upper));
        CScriptedPlatformServices services;
        Editor editor;
        CMainWindow window(editor, services);
        services.chooseNextFile(upper);
        click(window, 1002);

        QCOMPARE(services.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& open = services.fileRequests.front();
        QVERIFY(!open.save);
        QCOMPARE(open.title, QStringLiteral("Ouvrir un fichier"));
        QCOMPARE(open.initialName, QStringLiteral("*.crb"));
        QCOMPARE(open.filters, (QStringList{QStringLiteral("Fichier courbe (*.crb)"), QStringLiteral("Fichiers ASCII (*.txt)")}));

        QVERIFY(services.messages.empty());
        QCOMPARE(editor.document.count, 3);
        QCOMPARE(editor.document.undoCount, 3);
        QCOMPARE(editor.document.savedCount, 3);
        QCOMPARE(editor.document.filePath, upper.toStdString());
        QVERIFY(isChecked(window, 1006));
        QVERIFY(isChecked(window, 1013));
        QCOMPARE(labelText(window, 160), QStringLiteral("   3"));
        QCOMPARE(labelText(window, 150), QString());
    }

    void cancellingTheOpenDialogChangesNothing()
    {
        CScriptedPlatformServices services;
        Editor editor;
        editor.document.appendPoint({1, 1});
        CMainWindow window(editor, services);
        services.failNextFileDialog(FileDialogError::NameTooLong);
        click(window, 1002);
        click(window, 1002); // unscripted: cancelled, no message
        QCOMPARE(editor.document.count, 1);
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].text, QStringLiteral("Nom de fichier trop long (longueur maxi = 256 car.)"));
        QCOMPARE(services.messages[0].caption, QStringLiteral("Attention"));
    }

    void resetThenUndoBringsBackTheLastSnapshot()
    {
        CScriptedPlatformServices services;
        Editor editor;
        readStartupFile(services, editor, dataFile("current.crb"));
        editor.document.takeSnapshot();
        CMainWindow window(editor, services);

        services.answerNextMessage(MessageAnswer::Cancel);
        click(window, 105);
        QCOMPARE(editor.document.count, 3);
        QCOMPARE(services.messages.back().text, QStringLiteral("Voulez-vous vraiment tout effacer ?"));
        QCOMPARE(services.messages.back().caption, QStringLiteral("Attention !"));
        QCOMPARE(services.messages.back().buttons, MessageButtons::OkCancel);

        services.answerNextMessage(MessageAnswer::Ok);
        click(window, 105);
        QCOMPARE(editor.document.count, 0);
        QCOMPARE(editor.interactionMode, InteractionMode::Reset);
        QCOMPARE(labelText(window, 160), QStringLiteral("   0"));

        click(window, 31);
        QCOMPARE(editor.document.count, 3);
        QCOMPARE(editor.document.points[2], (CurvePoint{3, 4.125}));
        QCOMPARE(labelText(window, 160), QStringLiteral("   3"));
        click(window, 31);
        QCOMPARE(editor.document.count, 3);
    }

    void smoothingPeriodicityAndTheOtherButtons()
    {
        CScriptedPlatformServices services;
        Editor editor;
        editor.document.smoothingMode = 7; // as a damaged file may hold
        CMainWindow window(editor, services);
        QVERIFY(isChecked(window, 1004));

        click(window, 1007);
        QCOMPARE(editor.document.smoothingMode, 3);
        click(window, 1013);
        QCOMPARE(editor.document.periodic, 1);
        click(window, 1013);
        QCOMPARE(editor.document.periodic, 0);

        click(window, 10);
        QCOMPARE(labelText(window, 150), QStringLiteral("Gauche-Saisir Point / Droit-Saisir Coordonnées"));
        click(window, 114); // "&Copie" alone only blanks the status line
        QVERIFY(isChecked(window, 114));
        QCOMPARE(labelText(window, 150), QStringLiteral(" "));
        QCOMPARE(editor.interactionMode, InteractionMode::PointEntry);
        click(window, 19);
        QCOMPARE(labelText(window, 150), QStringLiteral("Pas de point à supprimer"));
    }

    void displayBoxesFollowTheirRules()
    {
        CScriptedPlatformServices services;
        Editor editor;
        CMainWindow window(editor, services);
        // The flag rules are the editor's; the boxes show the flags they leave.
        click(window, 1009);
        click(window, 1011);
        QVERIFY(!isChecked(window, 1009));
        QVERIFY(!isChecked(window, 1010));
        click(window, 1010);
        QVERIFY(!isChecked(window, 1011));
        click(window, 1009);
        QVERIFY(isChecked(window, 1009) && isChecked(window, 1010));
        QCOMPARE(window.displayFlags(), 3);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
