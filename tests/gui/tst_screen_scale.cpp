#include "core/draw/RecordingSurface.h"
#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"
#include "core/formula/FormulaPreview.h"
#include "core/text/NumberText.h"
#include "core/transform/PickFeedback.h"
#include "core/view/PlotRenderer.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/common/ApplicationIcon.h"
#include "gui/common/CQtSurface.h"
#include "gui/common/DevicePixels.h"
#include "gui/formula/CFormulaDialog.h"
#include "gui/formula/CFormulaPreviewArea.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <cmath>

// The whole program runs at twice the logical resolution, as on a screen at 200 %.
namespace {

// A shown window over a curve with its first derivative, smoothed.
struct ScaledWindow : MainWindowFixture {
    ScaledWindow() : MainWindowFixture({{0, 0}, {5, 8}, {10, 3}, {15, 9}, {20, 1}}, WindowDisplay::Shown)
    {
        clickControl(*window, MainControl::SmoothCubique);
        clickControl(*window, MainControl::Derivative1Box);
    }
    CDrawingArea& area() const { return *window->drawingArea(); }
    // The plot as the renderer draws it on a fresh picture of the area's device size
    // and resolution.
    QImage freshPlot(qreal ratio) const
    {
        QImage image(area().deviceSize(), QImage::Format_RGB32);
        setDeviceResolution(image, ratio);
        image.fill(Qt::white);
        CQtSurface surface(image);
        renderPlot(surface, editor.view.current, editor.document, editor.displayFlags);
        return image;
    }
};

} // namespace

class ScreenScaleTest : public QObject {
    Q_OBJECT

private slots:
    void thePictureIsDrawnAtDeviceResolution()
    {
        ScaledWindow w;
        CDrawingArea& area = w.area();
        QCOMPARE(area.pixelRatio(), 2.0);
        QCOMPARE(area.image().size(), area.clientSize() * 2);
        QCOMPARE(area.image().devicePixelRatio(), 1.0);
        QCOMPARE(w.editor.mapping.width, area.clientSize().width() * 2);
        {
            CPictureSurface surface(area, CPictureSurface::Picture::Fitted);
            QCOMPARE(surface.logicalDpiX(), 192);
            QCOMPARE(surface.logicalDpiY(), 192);
        }
        // The screen shows what the renderer draws at 192 dots per inch, pixel for pixel.
        QCOMPARE(area.image(), w.freshPlot(2));

        // The recording at that resolution: labels, ticks and markers twice their size at
        // 96, the markers where the screen has them.
        RecordingSurface recorded({area.image().width(), area.image().height()}, 192, 192);
        renderPlot(recorded, w.editor.view.current, w.editor.document, w.editor.displayFlags);
        const auto texts = recorded.ofKind(RecordingSurface::Kind::Text);
        QVERIFY(!texts.empty());
        QCOMPARE(texts.front().font.cellHeight, 192 * 3 / 26);
        const PixelPoint marker = w.editor.mapping.worldToPixel(10, 3);
        bool found = false;
        for (const auto& line : recorded.ofKind(RecordingSurface::Kind::Line))
            if (line.pen.colour == Colours::Red && line.points[0] == PixelPoint{marker.x - 9, marker.y})
                found = line.points[1] == PixelPoint{marker.x + 10, marker.y}; // 1.25 and 1.5 times 7
        QVERIFY(found);
    }

    void aClickActsOnTheWorldPointUnderThePointer()
    {
        ScaledWindow w;
        CDrawingArea& area = w.area();
        // A device pixel that no whole logical position reaches: only a fractional one does.
        const PixelPoint pixel{area.image().width() / 2 + 1, area.image().height() / 3 + 1};
        const CurvePoint under = w.editor.mapping.pixelToWorld(pixel);
        const QPointF at = area.widgetPosition(pixel);
        QCOMPARE(area.clientPosition(at), QPoint(pixel.x, pixel.y));
        // What the screen shows under that position is that pixel of the picture.
        const QRgb mark = qRgb(1, 2, 3);
        const QRgb kept = area.image().pixel(pixel.x, pixel.y);
        area.image().setPixel(pixel.x, pixel.y, mark);
        const QImage shown = area.grab().toImage();
        area.image().setPixel(pixel.x, pixel.y, kept);
        QCOMPARE(shown.size(), area.size() * 2);
        QCOMPARE(shown.pixel(int(at.x() * 2), int(at.y() * 2)), mark);

        QMouseEvent move(QEvent::MouseMove, at, area.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&area, &move);
        QCOMPARE(labelText(*w.window, MainControl::MouseX), QString::fromStdString(cformat(" %.3lf ", {under.x})));
        QCOMPARE(labelText(*w.window, MainControl::MouseY), QString::fromStdString(cformat(" %.3lf ", {under.y})));

        clickControl(*w.window, MainControl::PointEntry); // "&Point"
        QMouseEvent press(QEvent::MouseButtonPress, at, area.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&area, &press);
        QCOMPARE(w.editor.document.count(), 6);
        bool added = false;
        for (int i = 0; i < w.editor.document.count(); ++i)
            added = added || w.editor.document.points()[i] == under;
        QVERIFY(added);
    }

    void bandsAndPreviewsDrawnTwiceRestoreEveryDevicePixel()
    {
        ScaledWindow w;
        QImage& picture = w.area().image();
        const QImage before = picture.copy();
        const PixelPoint a{picture.width() / 5, picture.height() / 4};
        const PixelPoint b{picture.width() * 3 / 5 + 1, picture.height() * 2 / 3 + 1};
        {
            CPictureSurface surface(w.area(), CPictureSurface::Picture::Current);
            RectangleBand band;
            band.start(surface, a);
            band.moveTo(surface, b);
            QVERIFY(picture != before);
            band.discard(surface);
        }
        QCOMPARE(picture, before);

        CurvePreview buffer;
        const Selection everything{{-1e9, -1e9}, {1e9, 1e9}};
        const SegmentPreview preview{
            buffer, w.editor.document, w.editor.mapping, everything, PreviewOperation::Translation, true};
        {
            CPictureSurface surface(w.area(), CPictureSurface::Picture::Current);
            SegmentBand band;
            band.start(surface, preview, a);
            band.moveTo(surface, preview, b);
            QVERIFY(picture != before);
            band.redraw(surface, preview); // the preview and line as shown, a second time
            band.discard(surface);
        }
        QCOMPARE(picture, before);
    }

    // The formula dialog's preview too: its picture has the device size and resolution,
    // and a click picks the point under the pointer.
    void theFormulaPreviewIsDrawnAtDeviceResolution()
    {
        CScriptedPlatformServices services;
        FormulaDialogMemory memory;
        CFormulaDialog dialog(services, memory);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        typeInto(dialog, FormulaControl::Formula, QStringLiteral("x^2"));
        typeInto(dialog, FormulaControl::A, QStringLiteral("-1"));
        typeInto(dialog, FormulaControl::B, QStringLiteral("1"));
        typeInto(dialog, FormulaControl::Increment, QStringLiteral("0.5"));
        clickControl(dialog, FormulaControl::Compute);

        CFormulaPreviewArea& preview = *dialog.previewArea();
        const QImage& picture = preview.image();
        QVERIFY(std::abs(picture.width() - 2 * preview.width()) <= 1);
        QVERIFY(std::abs(picture.height() - 2 * preview.height()) <= 1);
        QCOMPARE(picture.logicalDpiY(), 192);

        const PixelPoint p = PreviewMapping::make(picture.width(), picture.height(), -1, 1, 0, 1).toPixel(0.5, 0.25);
        QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(p.x / 2, p.y / 2));
        QCOMPARE(labelText(dialog, FormulaControl::PickedX), QStringLiteral("0.50000000"));
        QCOMPARE(labelText(dialog, FormulaControl::PickedY), QStringLiteral("0.25000000"));
    }

    void theIconHasAPictureForEachScale()
    {
        const QIcon icon = applicationIcon();
        const QList<QSize> sizes = icon.availableSizes();
        for (int side : {16, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        // A 32-pixel icon on this screen is drawn from the 64-pixel picture, not stretched.
        QImage shown = icon.pixmap(QSize(32, 32), 2.0).toImage();
        QCOMPARE(shown.size(), QSize(64, 64));
        shown.setDevicePixelRatio(1);
        QCOMPARE(shown, icon.pixmap(QSize(64, 64), 1.0).toImage());
    }

    void aChangeOfScaleRemakesThePictureAndKeepsTheView_data()
    {
        QTest::addColumn<qreal>("ratio");
        for (qreal r : {1.0, 1.25, 1.5, 1.75, 3.0})
            QTest::newRow(qPrintable(QStringLiteral("scale %1").arg(r))) << r;
    }
    void aChangeOfScaleRemakesThePictureAndKeepsTheView()
    {
        QFETCH(qreal, ratio);
        ScaledWindow w;
        const ViewWindow view = w.editor.view.current;
        w.area().forcePixelRatio(ratio);
        QTRY_COMPARE(w.area().image(), w.freshPlot(ratio));
        // r x the logical size, give or take the rounding of the edges to device pixels.
        const QSize size = w.area().image().size();
        QCOMPARE(size, w.area().deviceSize());
        QVERIFY(std::abs(size.width() - w.area().clientSize().width() * ratio) <= 1);
        QVERIFY(std::abs(size.height() - w.area().clientSize().height() * ratio) <= 1);
        QCOMPARE(w.editor.view.current, view);
        QCOMPARE(w.editor.mapping.width, w.area().image().width());
        CPictureSurface surface(w.area(), CPictureSurface::Picture::Fitted);
        QCOMPARE(surface.logicalDpiY(), int(std::lround(96 * ratio)));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    ScreenScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screen_scale.moc"
