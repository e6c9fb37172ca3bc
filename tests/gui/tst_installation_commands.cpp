#include "ScriptedPlatformServices.h"

#include "core/curve/CurveFile.h"
#include "core/editor/Editor.h"
#include "gui/app/CMainWindow.h"
#include "gui/curve/CPointListDialog.h"
#include "core/settings/CMemorySettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
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

void click(CMainWindow& window, int id)
{
    QTest::mouseClick(window.control(id), Qt::LeftButton);
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
        const QString path = work.filePath(QStringLiteral("cam.crb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("20020704\r\n1\r\n0\r\n2\r\n0.0 0.0\r\n1.0 2.0\r\nmm\r\n");
        file.close();

        CScriptedPlatformServices services;
        Editor editor;
        install.attachTo(editor);
        readPointFile(path.toStdString(), path.toStdString(), editor.document, editor.document.points,
                      editor.document.count);
        CMainWindow window(editor, services);
        auto* units = window.control<QComboBox>(1018);
        QCOMPARE(entries(units), (QStringList{QString(), QStringLiteral("mm"), QStringLiteral("m"),
                                              QStringLiteral("deg")}));
        QCOMPARE(units->currentText(), QStringLiteral("mm"));

        services.chooseNextFile(path);
        click(window, 1003);
        CurveDocument back;
        readCurveFile(path.toStdString(), back, back.points, back.count);
        QCOMPARE(back.unitName, std::string("mm"));
        QVERIFY(services.messages.empty());
    }

    void theUnitBoxHoldsAtMostTheCurrentCurvesOwnUnitBesideTheList()
    {
        Installation install;
        install.put("units.ini", Units);
        QTemporaryDir work;
        CScriptedPlatformServices services;
        Editor editor;
        install.attachTo(editor);
        CMainWindow window(editor, services);
        auto* units = window.control<QComboBox>(1018);
        const QStringList listed{QString(), QStringLiteral("mm"), QStringLiteral("m"), QStringLiteral("deg")};
        struct Step { const char* unit; QStringList shown; const char* selected; };
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
            services.chooseNextFile(path);
            click(window, 1002);
            QCOMPARE(entries(units), step.shown);
            QCOMPARE(units->currentText(), QString::fromUtf8(step.selected));
        }
        QVERIFY(services.messages.empty());
    }

    void aMissingUnitsFileIsSaidAndTheCurvesUnitKept()
    {
        Installation install;
        CScriptedPlatformServices services;
        Editor editor;
        install.attachTo(editor);
        editor.document.unitName = "N.m";
        CMainWindow window(editor, services);
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].text, QStringLiteral("Impossible de trouver le fichier de définition des unités !!!"));
        QCOMPARE(services.messages[0].caption, QStringLiteral("** ATTENTION **"));
        QCOMPARE(window.control<QComboBox>(1018)->currentText(), QStringLiteral("N.m"));
    }

    void helpOpensTheInstalledFileOrSaysItIsMissing()
    {
        Installation install;
        install.put("units.ini", Units);
        CScriptedPlatformServices services;
        Editor editor;
        install.attachTo(editor);
        CMainWindow window(editor, services);
        click(window, 9);
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].text, QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!"));
        QCOMPARE(services.messages[0].caption, QStringLiteral("** Erreur **"));
        QVERIFY(services.helpRequests.empty());

        install.put("lintrel.hlp", "<html><body>Aide</body></html>");
        click(window, 9);
        QCOMPARE(services.helpRequests.size(), std::size_t(1));
        QCOMPARE(services.helpRequests[0].path, install.dir.filePath(QStringLiteral("lintrel.hlp")));
        QCOMPARE(services.helpRequests[0].topic, QString());
    }

    void everyDialogReachesItsHelpTopicAndOwnsTheMissingFileMessage()
    {
        for (const bool installed : {true, false}) {
            Installation install;
            install.put("units.ini", Units);
            if (installed)
                install.put("lintrel.hlp", "<html><body>Aide</body></html>");
            CScriptedPlatformServices services;
            Editor editor;
            install.attachTo(editor);
            CMainWindow window(editor, services);
            QWidget* list = nullptr;
            QWidget* formula = nullptr;
            // "&Liste", its "Ai&de...", then its "&Formule" and the formula dialog's "A&ide...".
            QTimer::singleShot(0, [&] {
                auto* listDialog = qobject_cast<CPointListDialog*>(QApplication::activeModalWidget());
                QVERIFY(listDialog);
                list = listDialog;
                QTest::mouseClick(listDialog->control<QPushButton>(206), Qt::LeftButton);
                QTimer::singleShot(0, [&] {
                    auto* formulaDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    QVERIFY(formulaDialog && formulaDialog != list);
                    formula = formulaDialog;
                    QTest::mouseClick(formulaDialog->findChild<QPushButton*>(QStringLiteral("ctl173")), Qt::LeftButton);
                    formulaDialog->reject();
                });
                QTest::mouseClick(listDialog->control<QPushButton>(203), Qt::LeftButton);
                listDialog->reject();
            });
            click(window, 23);
            QVERIFY(list && formula);
            if (installed) {
                QCOMPARE(services.helpRequests.size(), std::size_t(2));
                QCOMPARE(services.helpRequests[0].topic, QStringLiteral("tableaux"));
                QCOMPARE(services.helpRequests[0].owner, list);
                QCOMPARE(services.helpRequests[1].topic, QStringLiteral("Formules"));
                QCOMPARE(services.helpRequests[1].owner, formula);
                QCOMPARE(services.helpRequests[1].path, install.dir.filePath(QStringLiteral("lintrel.hlp")));
                QVERIFY(services.messages.empty());
            } else {
                QVERIFY(services.helpRequests.empty());
                std::vector<QWidget*> owners;
                for (const RecordedMessage& m : services.messages)
                    if (m.text == QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!"))
                        owners.push_back(m.owner);
                QCOMPARE(owners, (std::vector<QWidget*>{list, formula}));
            }
        }
    }

    void anEmptiedListIsKeptAndTheStopAsks()
    {
        CScriptedPlatformServices services;
        Editor editor;
        for (double x : {3.0, 1.0, 2.0})
            editor.document.appendPoint({x, x});
        CMainWindow window(editor, services);
        QTimer::singleShot(0, [&] {
            auto* list = qobject_cast<CPointListDialog*>(QApplication::activeModalWidget());
            QVERIFY(list);
            QTest::mouseClick(list->control<QPushButton>(204), Qt::LeftButton); // "&Vider"
            QTest::mouseClick(list->control<QPushButton>(1), Qt::LeftButton);   // "&Ok"
        });
        click(window, 23);
        QCOMPARE(editor.document.count, 0);
        QCOMPARE(editor.interactionMode, InteractionMode::ListEntry);
        QCOMPARE(editor.document.undoCount, 0); // the snapshot follows the list

        click(window, 1);
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].caption, QStringLiteral("Sortie"));
    }
};

QTEST_MAIN(InstallationCommandsTest)
#include "tst_installation_commands.moc"
