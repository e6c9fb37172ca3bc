#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"
#include "core/view/PlotRenderer.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/common/CQtSurface.h"
#include "gui/common/DevicePixels.h"

#include "GuiTestSupport.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

Q_DECLARE_METATYPE(ViewWindow)

namespace {

const ViewWindow StartPrevious{-10, -10, 10, 10};

// A shown window over a curve, the drawing area at the device pixel ratio asked for.
struct GestureWindow : MainWindowFixture {
    explicit GestureWindow(qreal ratio = 1)
        : MainWindowFixture({{0, 0}, {5, 8}, {10, 3}, {15, 9}, {20, 1}}, WindowDisplay::Shown)
    {
        area().forcePixelRatio(ratio);
        // The picture is remade for the ratio and drawn again.
        QTRY_COMPARE(editor.mapping.width, area().deviceSize().width());
        QTRY_COMPARE(area().image(), freshPlot());
    }
    CDrawingArea& area() const { return *window->drawingArea(); }
    const ViewWindow& current() const { return editor.view.current; }
    const ViewWindow& previous() const { return editor.view.previousWindow; }
    // The plot of the current view as the renderer draws it on a fresh picture.
    QImage freshPlot() const
    {
        QImage image(area().deviceSize(), QImage::Format_RGB32);
        setDeviceResolution(image, area().pixelRatio());
        image.fill(Qt::white);
        CQtSurface surface(image);
        renderPlot(surface, editor.view.current, editor.document, editor.displayFlags);
        return image;
    }
    void wheel(QPointF at, int delta, quint64 time)
    {
        QWheelEvent event(at, area().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        event.setTimestamp(time);
        QApplication::sendEvent(&area(), &event);
    }
    void middle(QEvent::Type type, QPointF at)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::MiddleButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MiddleButton;
        QMouseEvent event(type, at, area().mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&area(), &event);
    }
    // The world point on the device pixel under `at`, as the plot shown maps it.
    CurvePoint worldUnder(QPointF at) const
    {
        const QPoint p = area().clientPosition(at);
        return editor.mapping.pixelToWorld({p.x(), p.y()});
    }
    PixelPoint pixelOf(CurvePoint world) const { return editor.mapping.worldToPixel(world.x, world.y); }
    PixelPoint pixelUnder(QPointF at) const
    {
        const QPoint p = area().clientPosition(at);
        return {p.x(), p.y()};
    }
};

QMimeData* filesDragged(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

} // namespace

class ViewGesturesTest : public QObject {
    Q_OBJECT

private slots:
    void aNotchKeepsThePointUnderThePointer_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<int>("delta");
        QTest::newRow("zoom in at 100 %") << qreal(1) << QPointF(150.25, 90.5) << 120;
        QTest::newRow("zoom out at 100 %") << qreal(1) << QPointF(40, 200) << -120;
        QTest::newRow("zoom in at 200 %") << qreal(2) << QPointF(150.25, 90.5) << 120;
        QTest::newRow("zoom out at 200 %") << qreal(2) << QPointF(310.5, 33.75) << -120;
        QTest::newRow("zoom in at 150 %") << qreal(1.5) << QPointF(201.4, 120.6) << 120;
    }
    void aNotchKeepsThePointUnderThePointer()
    {
        QFETCH(qreal, ratio);
        QFETCH(QPointF, at);
        QFETCH(int, delta);
        GestureWindow w(ratio);
        const ViewWindow before = w.current();
        const CurvePoint under = w.worldUnder(at);
        w.wheel(at, delta, 1000);
        const double factor = (w.current().xmax - w.current().xmin) / (before.xmax - before.xmin);
        QVERIFY(std::abs(factor - (delta > 0 ? M_SQRT1_2 : M_SQRT2)) < 1e-9);
        QCOMPARE(w.pixelOf(under), w.pixelUnder(at));
        QCOMPARE(w.previous(), before);
        QCOMPARE(w.area().image(), w.freshPlot());
    }

    void previousAfterARunOfNotchesAndAfterADrag()
    {
        GestureWindow w;
        const ViewWindow start = w.current();
        for (quint64 time : {1000, 1200, 1400, 1650})
            w.wheel(QPointF(200, 100), 120, time);
        QCOMPARE(w.previous(), start);
        const ViewWindow zoomed = w.current();
        clickControl(*w.window, MainControl::Previous);
        QCOMPARE(w.current(), start);
        QCOMPARE(w.area().image(), w.freshPlot());

        // A drag of the middle button: the grabbed point follows the pointer as it moves.
        clickControl(*w.window, MainControl::Previous); // back to the zoomed view
        QCOMPARE(w.current(), zoomed);
        const QPointF grab(200, 100);
        const CurvePoint grabbed = w.worldUnder(grab);
        w.middle(QEvent::MouseButtonPress, grab);
        for (QPointF at : {QPointF(230, 110), QPointF(260, 170), QPointF(300, 150)}) {
            w.middle(QEvent::MouseMove, at);
            QCOMPARE(w.pixelOf(grabbed), w.pixelUnder(at));
            QCOMPARE(w.area().image(), w.freshPlot());
            QCOMPARE(w.previous(), start);
        }
        w.middle(QEvent::MouseButtonRelease, QPointF(300, 150));
        QCOMPARE(w.pixelOf(grabbed), w.pixelUnder(QPointF(300, 150)));
        QCOMPARE(w.previous(), zoomed);
        QVERIFY(!QGuiApplication::overrideCursor());
        clickControl(*w.window, MainControl::Previous);
        QCOMPARE(w.current(), zoomed);
    }

    void theWheelAndTheMiddleButtonDoNothingDuringAPick()
    {
        GestureWindow w;
        const ViewWindow start = w.current();
        bool ranInPick = false;
        QTimer::singleShot(0, w.window.get(), [&] {
            ranInPick = w.editor.pickRunning;
            w.wheel(QPointF(200, 100), 120, 1000);
            w.middle(QEvent::MouseButtonPress, QPointF(200, 100));
            w.middle(QEvent::MouseMove, QPointF(260, 170));
            w.middle(QEvent::MouseButtonRelease, QPointF(260, 170));
            QCOMPARE(w.current(), start);
            QTest::keyClick(&w.area(), Qt::Key_Escape);
        });
        QTest::mouseClick(w.window->control(MainControl::ZoomWindow), Qt::LeftButton);
        QVERIFY(ranInPick);
        QCOMPARE(w.current(), start);
        QCOMPARE(w.previous(), StartPrevious);
        QVERIFY(!w.editor.panDrag.active);
    }

    void aDroppedFileOpensAfterTheSaveQuestion_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("answer"); // to the save question
        QTest::addColumn<bool>("read");
        QTest::newRow("a curve file, No: read") << "came.crb" << true << int(MessageAnswer::No) << true;
        QTest::newRow("a curve file, Cancel: kept") << "came.crb" << true << int(MessageAnswer::Cancel) << false;
        QTest::newRow("in capitals, No: read") << "CAME.CRB" << true << int(MessageAnswer::No) << true;
        QTest::newRow("an ASCII file") << "points.txt" << true << int(MessageAnswer::No) << true;
        QTest::newRow("a picture is refused") << "picture.png" << false << int(MessageAnswer::No) << false;
    }
    void aDroppedFileOpensAfterTheSaveQuestion()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(int, answer);
        QFETCH(bool, read);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (name.endsWith(QLatin1String(".txt"))) {
            QFile ascii(path);
            QVERIFY(ascii.open(QIODevice::WriteOnly));
            ascii.write("1 2\n3 4\n5 6\n");
        } else {
            QVERIFY(QFile::copy(dataFile("current.crb"), path));
        }
        GestureWindow w;
        w.editor.document.appendPoint({30, 4}); // the curve is modified
        const int countBefore = w.editor.document.count();
        w.services.answerNextMessage(static_cast<MessageAnswer>(answer));

        QMimeData* data = filesDragged({QUrl::fromLocalFile(path)});
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted) {
            QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.window.get(), &drop);
            QVERIFY(drop.isAccepted());
            QTRY_COMPARE(w.services.messages.size(), size_t(1));
            QCOMPARE(w.services.messages[0].caption, QStringLiteral("Ouvrir un fichier"));
        }
        delete data;
        QTest::qWait(0);
        QCOMPARE(w.editor.document.filePath == path.toStdString(), read);
        if (read) {
            QCOMPARE(w.editor.document.undoCount(), w.editor.document.count());
            QCOMPARE(labelText(*w.window, MainControl::PointCount).trimmed().toInt(), w.editor.document.count());
            QCOMPARE(w.area().image(), w.freshPlot());
        } else {
            QCOMPARE(w.editor.document.count(), countBefore);
        }
    }

    void aDragOfSeveralFilesOrOfAFolderIsRefused()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.crb")));
        GestureWindow w;
        const QString curve = dataFile("current.crb");
        for (const QList<QUrl>& urls : {QList<QUrl>{QUrl::fromLocalFile(curve), QUrl::fromLocalFile(curve)},
                                        QList<QUrl>{QUrl::fromLocalFile(dir.filePath(QStringLiteral("folder.crb")))},
                                        QList<QUrl>{QUrl(QStringLiteral("https://example.com/came.crb"))}}) {
            std::unique_ptr<QMimeData> data(filesDragged(urls));
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.window.get(), &enter);
            QVERIFY2(!enter.isAccepted(), qPrintable(urls.front().toString()));
        }
    }
};

QTEST_MAIN(ViewGesturesTest)
#include "tst_view_gestures.moc"
