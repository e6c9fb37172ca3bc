#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/app/StartUp.h"

#include "GuiTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

namespace {

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
struct OpenedCurve : MainWindowFixture {
    explicit OpenedCurve(const char* file)
    {
        readStartupFile(services, editor, dataFile(file));
        editor.document.takeSnapshot();
        open(WindowDisplay::Shown);
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
        MainWindowFixture f;
        f.editor.document.appendPoint({100, 100});
        f.open();
        CMainWindow& window = *f.window;
        QCOMPARE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
        clickControl(window, MainControl::FitAll); // "&Tout" needs two points
        QCOMPARE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
    }

    void displayBoxesRedrawWithTheirColours()
    {
        OpenedCurve c("old_layout.crb");
        CMainWindow& w = *c.window;

        clickControl(w, MainControl::Derivative1Box); // derivative 1: yellow in xor over white shows blue
        QCOMPARE(w.displayFlags(), DisplayFlags(Derivative1));
        QVERIFY(pictureHasColour(w, qRgb(0, 0, 255)));

        clickControl(w, MainControl::IntegralBox); // integral only: green, no blue
        QCOMPARE(w.displayFlags(), DisplayFlags(Integral));
        QVERIFY(!isChecked(w, MainControl::Derivative1Box));
        QVERIFY(pictureHasColour(w, qRgb(0, 255, 0)));
        QVERIFY(!pictureHasColour(w, qRgb(0, 0, 255)));

        clickControl(w, MainControl::Derivative2Box); // derivative 2 clears the integral
        QCOMPARE(w.displayFlags(), DisplayFlags(Derivative2));
        QVERIFY(!isChecked(w, MainControl::IntegralBox));
        QVERIFY(!pictureHasColour(w, qRgb(0, 255, 0)));

        markPicture(w);
        clickControl(w, MainControl::Derivative2Box);
        QCOMPARE(w.displayFlags(), DisplayFlags());
        QVERIFY(wasRedrawn(w));
    }

    void periodicityDoesNotRedrawButSmoothingDoes()
    {
        OpenedCurve c("old_layout.crb");
        CMainWindow& w = *c.window;
        markPicture(w);
        clickControl(w, MainControl::Periodic);
        QVERIFY(!wasRedrawn(w));
        clickControl(w, MainControl::SmoothAkima);
        QVERIFY(wasRedrawn(w));
        QCOMPARE(c.editor.document.smoothingMode, Akima);
        markPicture(w);
        clickControl(w, MainControl::Redraw); // "&Redess"
        QVERIFY(wasRedrawn(w));
    }

    void zoomCommands()
    {
        MainWindowFixture f;
        f.open();
        CMainWindow& window = *f.window;
        auto& view = f.editor.view;

        clickControl(window, MainControl::ZoomIn); // "&Plus" about the origin, previous untouched
        QCOMPARE(view.current, (ViewWindow{-18, -18, 18, 18}));
        QCOMPARE(view.previousWindow, (ViewWindow{-10, -10, 10, 10}));
        clickControl(window, MainControl::ZoomOut);
        clickControl(window, MainControl::ZoomOut);
        QCOMPARE(view.current, (ViewWindow{-72, -72, 72, 72}));

        clickControl(window, MainControl::Previous); // "&Préc" exchanges
        QCOMPARE(view.current, (ViewWindow{-10, -10, 10, 10}));
        QCOMPARE(view.previousWindow, (ViewWindow{-72, -72, 72, 72}));
        QCOMPARE(f.editor.interactionMode, InteractionMode::PreviousWindow);
        clickControl(window, MainControl::Previous);
        QCOMPARE(view.current, (ViewWindow{-72, -72, 72, 72}));

        f.editor.document.appendPoint({1, 5});
        f.editor.document.appendPoint({3, 5});
        clickControl(window, MainControl::FitAll); // "&Tout": y 5..5 becomes 0..5
        QCOMPARE(view.current, (ViewWindow{1, 0, 3, 5}));
        QCOMPARE(view.previousWindow, (ViewWindow{-72, -72, 72, 72}));
    }

    void theMouseShowsWorldCoordinates()
    {
        OpenedCurve c("old_layout.crb");
        CDrawingArea* area = c.window->drawingArea();
        QVERIFY(area->geometry() == c.window->control(MainControl::DrawingFrame)->geometry());
        const CanvasMapping& m = area->mapping();
        const PixelPoint client{m.marginX, m.marginY + m.usableHeight}; // world (xmin, ymin)
        QTest::mouseMove(area, area->widgetPosition(client).toPoint());
        auto text = [&](MainControl id) { return c.window->control<QLabel>(id)->text(); };
        QCOMPARE(text(MainControl::MouseX), QStringLiteral(" 0.500 "));
        QCOMPARE(text(MainControl::MouseY),
                 QStringLiteral(" %1 ").arg(QString::number(c.editor.view.current.ymin, 'f', 3)));
    }

    void pointEntryShowsTheCrossOnTheDrawingArea()
    {
        OpenedCurve c("old_layout.crb");
        QCOMPARE(c.window->drawingArea()->cursor().shape(), Qt::ArrowCursor);
        clickControl(*c.window, MainControl::PointEntry);
        QCOMPARE(c.window->drawingArea()->cursor().shape(), Qt::CrossCursor);
    }

    void undoAndResetRedraw()
    {
        OpenedCurve c("old_layout.crb");
        c.services.answerNextMessage(MessageAnswer::Ok);
        clickControl(*c.window, MainControl::Reset);
        QVERIFY(!pictureHasColour(*c.window, qRgb(255, 0, 0)));
        clickControl(*c.window, MainControl::Undo);
        QCOMPARE(c.editor.document.count(), 3);
        QVERIFY(pictureHasColour(*c.window, qRgb(255, 0, 0)));
    }
};

QTEST_MAIN(PlotCommandsTest)
#include "tst_plot_commands.moc"
