#include "ScriptedPlatformServices.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "core/editor/Editor.h"
#include "gui/app/StartUp.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(CRB_TEST_DATA "/") + QString::fromUtf8(name);
}

void click(CMainWindow& window, int id)
{
    QTest::mouseClick(window.control(id), Qt::LeftButton);
}

bool isChecked(CMainWindow& window, int id)
{
    return window.control<QAbstractButton>(id)->isChecked();
}

bool pictureHasColour(CMainWindow& window, QRgb colour)
{
    const QImage& image = window.drawingArea()->image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}

// Marks one pixel so that a test can tell whether the plot was drawn again.
const QPoint Mark(3, 3);
void markPicture(CMainWindow& window)
{
    window.drawingArea()->image().setPixel(Mark, qRgb(1, 2, 3));
}
bool wasRedrawn(CMainWindow& window)
{
    return window.drawingArea()->image().pixel(Mark) != qRgb(1, 2, 3);
}

// A window on a curve of three points read as at start-up, fitted and drawn.
struct OpenedCurve {
    CScriptedPlatformServices services;
    Editor editor;
    std::unique_ptr<CMainWindow> window;
    explicit OpenedCurve(const char* file)
    {
        readStartupFile(services, editor, dataFile(file));
        editor.document.takeSnapshot();
        window = std::make_unique<CMainWindow>(editor, services);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

} // namespace

class PlotCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void openingFitsTheCurveAndDrawsIt()
    {
        OpenedCurve c("old_layout.crb"); // x 0.5..2, y -3..2, "Cubique"
        const ViewWindow& w = c.editor.view.current;
        QCOMPARE(w.xmin, 0.5);
        QCOMPARE(w.xmax, 2.0);
        QVERIFY(w.ymin <= -3.0 && w.ymax >= 2.0);
        QCOMPARE(c.editor.view.previousWindow, (ViewWindow{-10, -10, 10, 10}));
        QVERIFY(pictureHasColour(*c.window, qRgb(255, 0, 0))); // markers
        QVERIFY(pictureHasColour(*c.window, qRgb(0, 0, 0)));   // curve
        QVERIFY(!pictureHasColour(*c.window, qRgb(0, 0, 255)));
    }

    void aSinglePointLeavesTheStartWindow()
    {
        CScriptedPlatformServices services;
        Editor editor;
        editor.document.appendPoint({100, 100});
        CMainWindow window(editor, services);
        QCOMPARE(editor.view.current, (ViewWindow{-36, -36, 36, 36}));
        click(window, 32); // "&Tout" needs two points
        QCOMPARE(editor.view.current, (ViewWindow{-36, -36, 36, 36}));
    }

    void displayBoxesRedrawWithTheirColours()
    {
        OpenedCurve c("old_layout.crb");
        CMainWindow& w = *c.window;

        click(w, 1009); // derivative 1: yellow in xor over white shows blue
        QCOMPARE(w.displayFlags(), 1);
        QVERIFY(pictureHasColour(w, qRgb(0, 0, 255)));

        click(w, 1011); // integral only: green, no blue
        QCOMPARE(w.displayFlags(), 4);
        QVERIFY(!isChecked(w, 1009));
        QVERIFY(pictureHasColour(w, qRgb(0, 255, 0)));
        QVERIFY(!pictureHasColour(w, qRgb(0, 0, 255)));

        click(w, 1010); // derivative 2 clears the integral
        QCOMPARE(w.displayFlags(), 2);
        QVERIFY(!isChecked(w, 1011));
        QVERIFY(!pictureHasColour(w, qRgb(0, 255, 0)));

        markPicture(w);
        click(w, 1010);
        QCOMPARE(w.displayFlags(), 0);
        QVERIFY(wasRedrawn(w));
    }

    void periodicityDoesNotRedrawButSmoothingDoes()
    {
        OpenedCurve c("old_layout.crb");
        CMainWindow& w = *c.window;
        markPicture(w);
        click(w, 1013);
        QVERIFY(!wasRedrawn(w));
        click(w, 1006);
        QVERIFY(wasRedrawn(w));
        QCOMPARE(c.editor.document.smoothingMode, 2);
        markPicture(w);
        click(w, 52); // "&Redess"
        QVERIFY(wasRedrawn(w));
    }

    void zoomCommands()
    {
        CScriptedPlatformServices services;
        Editor editor;
        CMainWindow window(editor, services);
        auto& view = editor.view;

        click(window, 47); // "&Plus" about the origin, previous untouched
        QCOMPARE(view.current, (ViewWindow{-18, -18, 18, 18}));
        QCOMPARE(view.previousWindow, (ViewWindow{-10, -10, 10, 10}));
        click(window, 46);
        click(window, 46);
        QCOMPARE(view.current, (ViewWindow{-72, -72, 72, 72}));

        click(window, 33); // "&Préc" exchanges
        QCOMPARE(view.current, (ViewWindow{-10, -10, 10, 10}));
        QCOMPARE(view.previousWindow, (ViewWindow{-72, -72, 72, 72}));
        QCOMPARE(editor.interactionMode, InteractionMode::PreviousWindow);
        click(window, 33);
        QCOMPARE(view.current, (ViewWindow{-72, -72, 72, 72}));

        editor.document.appendPoint({1, 5});
        editor.document.appendPoint({3, 5});
        click(window, 32); // "&Tout": y 5..5 becomes 0..5
        QCOMPARE(view.current, (ViewWindow{1, 0, 3, 5}));
        QCOMPARE(view.previousWindow, (ViewWindow{-72, -72, 72, 72}));
    }

    void theMouseShowsWorldCoordinates()
    {
        OpenedCurve c("old_layout.crb");
        CDrawingArea* area = c.window->drawingArea();
        QVERIFY(area->geometry() == c.window->control(140)->geometry());
        const CanvasMapping& m = area->mapping();
        QPoint client(m.marginX, m.marginY + m.usableHeight); // world (xmin, ymin)
        QTest::mouseMove(area, client + area->contentsRect().topLeft());
        auto text = [&](int id) { return c.window->control<QLabel>(id)->text(); };
        QCOMPARE(text(127), QStringLiteral(" 0.500 "));
        QCOMPARE(text(128), QStringLiteral(" %1 ").arg(QString::number(c.editor.view.current.ymin, 'f', 3)));
    }

    void pointEntryShowsTheCrossOnTheDrawingArea()
    {
        OpenedCurve c("old_layout.crb");
        QCOMPARE(c.window->drawingArea()->cursor().shape(), Qt::ArrowCursor);
        click(*c.window, 10);
        QCOMPARE(c.window->drawingArea()->cursor().shape(), Qt::CrossCursor);
    }

    void undoAndResetRedraw()
    {
        OpenedCurve c("old_layout.crb");
        c.services.answerNextMessage(MessageAnswer::Ok);
        click(*c.window, 105);
        QVERIFY(!pictureHasColour(*c.window, qRgb(255, 0, 0)));
        click(*c.window, 31);
        QCOMPARE(c.editor.document.count, 3);
        QVERIFY(pictureHasColour(*c.window, qRgb(255, 0, 0)));
    }
};

QTEST_MAIN(PlotCommandsTest)
#include "tst_plot_commands.moc"
