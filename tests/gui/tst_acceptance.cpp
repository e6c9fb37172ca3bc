#include "core/curve/CurveFile.h"
#include "core/editor/MainControl.h"
#include "core/text/NumberText.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/app/StartUp.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// The typical use, from start to stop, as the simulation product and a user go through it.
class AcceptanceTest : public QObject {
    Q_OBJECT

private slots:
    void aCurveHandedOverIsEditedAndSavedBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("loi.crb"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "20020704\r\n1\r\n1\r\n3\r\n0.000000 0.000000\r\n10.000000 5.000000\r\n20.000000 0.000000\r\nmm\r\n");
        }
        CScriptedPlatformServices services;
        services.answerNextMessage(MessageAnswer::Yes);
        services.chooseNextFile(path);

        bool shownAsRead = false;
        bool fitted = false;
        QString status;
        CurvePoint added;
        whenTheModalDialogOpens<CMainWindow>([&](CMainWindow& window) {
            shownAsRead = window.control<QRadioButton>(MainControl::SmoothCubique)->isChecked()
                && window.control<QCheckBox>(MainControl::Periodic)->isChecked()
                && window.control<QComboBox>(MainControl::Units)->currentText() == QStringLiteral("mm");
            const CanvasMapping& m = window.drawingArea()->mapping();
            const ViewWindow view{m.xmin, m.ymin, m.xmin + m.scaleX * m.usableWidth,
                                  m.ymin + m.scaleY * m.usableHeight};
            fitted = view.xmin <= 0 && view.xmax >= 20 && view.xmax < 40;

            QTest::mouseClick(window.control(MainControl::PointEntry), Qt::LeftButton);
            const PixelPoint pixel = m.worldToPixel(15, 2);
            added = m.pixelToWorld(pixel);
            CDrawingArea* area = window.drawingArea();
            QTest::mouseClick(area, Qt::LeftButton, {}, area->widgetPosition(pixel).toPoint());
            status = window.control<QLabel>(MainControl::StatusLine)->text();
            clickControl(window, MainControl::SmoothAkima);                       // "Akima"
            QTest::mouseClick(window.control(MainControl::Stop), Qt::LeftButton); // "&Arrêt"
        });
        QCOMPARE(startEditor(services, path), 1);

        QVERIFY(shownAsRead);
        QVERIFY(fitted);
        QCOMPARE(status,
                 QString::fromStdString(cformat("Acquisition du point n°%d en (%.3f , %.3f)", {4, added.x, added.y})));
        QCOMPARE(services.messages.size(), std::size_t(1));
        QCOMPARE(services.messages[0].text,
                 QStringLiteral("Les données ont été modifiées\nVoulez-vous les sauvegarder ?"));
        QCOMPARE(services.messages[0].caption, QStringLiteral("Sortie"));

        CurveDocument back;
        readCurveFile(path.toStdString(), back);
        QCOMPARE(back.count(), 4);
        QCOMPARE(back.smoothingMode, Akima);
        QCOMPARE(back.periodic, 1);
        QCOMPARE(back.unitName, std::string("mm"));
        QCOMPARE(back.points()[2].x, std::round(added.x * 1e6) / 1e6);
    }
};

QTEST_MAIN(AcceptanceTest)
#include "tst_acceptance.moc"
