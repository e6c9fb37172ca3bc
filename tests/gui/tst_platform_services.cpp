#include "gui/common/QtPlatformServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
        const MessageAnswer answer =
            services.showMessage(nullptr, QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"),
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
        QCOMPARE(int(services.showMessage(nullptr, QStringLiteral("Voulez-vous vraiment tout effacer ?"),
                                          QStringLiteral("Attention !"), MessageButtons(buttons),
                                          MessageIcon::Question)),
                 answer);
    }
};

QTEST_MAIN(PlatformServicesTest)
#include "tst_platform_services.moc"
