#include "gui/common/CHelpViewer.h"
#include "gui/common/QtPlatformServices.h"
#include "gui/common/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `whileOpen` on the message box once it is up.
void whenTheMessageBoxIsOpen(std::function<void(QMessageBox&)> whileOpen)
{
    QTimer::singleShot(0, [whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY2(box, "the message box is the modal window");
        whileOpen(*box);
    });
}

} // namespace

class PlatformServicesTest : public QObject {
    Q_OBJECT

private slots:
    void theSaveQuestionStaysUntilOuiOrNon()
    {
        CQtPlatformServices services;
        bool openAfterEscape = false;
        bool openAfterClose = false;
        whenTheMessageBoxIsOpen([&](QMessageBox& box) {
            QTest::keyClick(&box, Qt::Key_Escape);
            openAfterEscape = box.isVisible();
            box.close();
            openAfterClose = box.isVisible();
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        });
        const MessageAnswer answer = services.showMessage(
            nullptr, QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"),
            QStringLiteral("Sortie"), MessageButtons::YesNo, MessageIcon::Question);
        QVERIFY(openAfterEscape);
        QVERIFY(openAfterClose);
        QCOMPARE(answer, MessageAnswer::Yes);
    }

    void escapeStillClosesTheOtherBoxes_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << int(MessageButtons::Ok) << int(MessageAnswer::Ok);
        QTest::newRow("ok cancel") << int(MessageButtons::OkCancel) << int(MessageAnswer::Cancel);
    }

    void escapeStillClosesTheOtherBoxes()
    {
        QFETCH(int, buttons);
        QFETCH(int, answer);
        CQtPlatformServices services;
        whenTheMessageBoxIsOpen([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        QCOMPARE(
            int(services.showMessage(nullptr, QStringLiteral("Voulez-vous vraiment tout effacer ?"),
                                     QStringLiteral("Attention !"), MessageButtons(buttons), MessageIcon::Question)),
            answer);
    }

    // The translation is built into the program: no installation can lack it.
    void qtsStandardButtonsSpeakFrench_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Oui") << int(QMessageBox::Yes) << QStringLiteral("&Oui");
        QTest::newRow("Non") << int(QMessageBox::No) << QStringLiteral("&Non");
        QTest::newRow("Annuler") << int(QMessageBox::Cancel) << QStringLiteral("Annuler");
    }
    void qtsStandardButtonsSpeakFrench()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QVERIFY(installFrenchQtTexts());
        QMessageBox box(QMessageBox::Question, QStringLiteral("Sortie"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::StandardButton(button))->text(), text);
    }

    void theHelpOpensAtItsTopic()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lintrel.hlp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1>Sommaire</h1><p style='height:4000px'>...</p>"
                   "<a name='Formules'></a><h2>Formules</h2></body></html>");
        file.close();
        CHelpViewer viewer;
        QVERIFY(viewer.showTopic(path, QStringLiteral("Formules")));
        QCOMPARE(viewer.currentTopic(), QStringLiteral("Formules"));
        QVERIFY(viewer.isVisible());
        QVERIFY(viewer.showTopic(path, QString()));
        QVERIFY(!viewer.showTopic(dir.filePath(QStringLiteral("absent.hlp")), QString()));
    }
};

QTEST_MAIN(PlatformServicesTest)
#include "tst_platform_services.moc"
