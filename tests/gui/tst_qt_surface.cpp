#include "core/view/PlotRenderer.h"
#include "core/view/SmoothCurve.h"

#include "gui/common/CQtSurface.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

QImage whiteImage(int width = 400, int height = 300)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int countNot(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != colour;
    return n;
}

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != White)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

CurveDocument wavyCurve()
{
    CurveDocument doc;
    for (int i = 0; i < 12; ++i)
        doc.appendPoint({-30.0 + 5.5 * i, 20.0 * ((i % 3) - 1)});
    doc.smoothingMode = Cubique;
    return doc;
}

} // namespace

class QtSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void drawingTheSameCurveTwiceInExclusiveOrRestoresThePicture_data()
    {
        QTest::addColumn<bool>("throughPainter");
        QTest::newRow("surface on the image") << false;
        QTest::newRow("surface on an active painter") << true;
    }

    void drawingTheSameCurveTwiceInExclusiveOrRestoresThePicture()
    {
        QFETCH(bool, throughPainter);
        QImage image = whiteImage();
        ViewState view;
        const CurveDocument doc = wavyCurve();
        CanvasMapping mapping;
        {
            CQtSurface surface(image);
            mapping = renderPlot(surface, view.current, doc, Derivative1 | Derivative2).mapping;
        }
        const QImage plot = image.copy();

        // Another curve over axes, labels, markers and the plot's own curves.
        CurveDocument other;
        other.appendPoints(std::vector<CurvePoint>{{-40, -30}, {-10, 35}, {0, 0}, {12, -20}, {40, 30}});
        const SmoothedCurve curve = smoothCurve(other.points(), Akima, Derivative1 | Derivative2);
        auto draw = [&](Surface& surface) {
            surface.setMode(DrawMode::Xor);
            std::vector<PixelPoint> pixels = mapping.worldToPixel(curve.samples);
            surface.setPen({Colours::White, 1, PenStyle::Solid});
            surface.polyline(pixels);
            for (std::size_t i = 0; i < pixels.size(); ++i)
                pixels[i].y = mapping.worldToPixel(curve.samples[i].x, curve.firstDerived[i]).y;
            surface.setPen({Colours::Yellow, 1, PenStyle::Solid});
            surface.polyline(pixels);
            surface.setPen({Colours::Black, 1, PenStyle::Dot});
            surface.setBrush(Brush::none());
            surface.rectangle({30, 40, 300, 200});
            surface.setPen({Colours::Blue, 1, PenStyle::Solid});
            surface.line({0, 0}, {399, 299});
            surface.line({-PixelLimit, 7}, {PixelLimit, 290});
        };
        auto drawOther = [&] {
            if (throughPainter) {
                QPainter painter(&image);
                CQtSurface surface(painter);
                draw(surface);
            } else {
                CQtSurface surface(image);
                draw(surface);
            }
        };
        drawOther();
        QVERIFY(image != plot);
        drawOther();
        QCOMPARE(image, plot);
    }

    // Segments crossing the image's edge or a clip box paint exactly the pixels that
    // the same segments paint inside a larger picture.
    void clippedSegmentsKeepTheirPixels()
    {
        constexpr int Offset = 400;
        const PixelRect clip{50, 40, 350, 260};
        quint32 seed = 12345;
        auto next = [&seed](int range) {
            seed = seed * 214013u + 2531011u;
            return int((seed >> 16) & 0x7fff) % range;
        };
        for (int i = 0; i < 300; ++i) {
            const PixelPoint a{next(1200) - Offset, next(1100) - Offset};
            const PixelPoint b{next(1200) - Offset, next(1100) - Offset};
            QImage large = whiteImage(400 + 2 * Offset, 300 + 2 * Offset);
            QImage small = whiteImage();
            QImage clipped = whiteImage();
            {
                CQtSurface surface(large);
                surface.setPen({Colours::Black, 1, PenStyle::Solid});
                surface.line({a.x + Offset, a.y + Offset}, {b.x + Offset, b.y + Offset});
            }
            {
                CQtSurface surface(small);
                surface.setPen({Colours::Black, 1, PenStyle::Solid});
                surface.line(a, b);
            }
            {
                CQtSurface surface(clipped);
                surface.setPen({Colours::Black, 1, PenStyle::Solid});
                surface.setClipRect(clip);
                surface.line(a, b);
            }
            const QImage expected = large.copy(Offset, Offset, 400, 300);
            QVERIFY2(small == expected, qPrintable(QStringLiteral("segment %1").arg(i)));
            QImage expectedClipped = whiteImage();
            {
                QPainter painter(&expectedClipped);
                const QRect box(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
                painter.drawImage(box.topLeft(), expected.copy(box));
            }
            QVERIFY2(clipped == expectedClipped, qPrintable(QStringLiteral("clipped segment %1").arg(i)));
        }
    }

    void whiteOverWhiteInExclusiveOrShowsBlack()
    {
        QImage image = whiteImage(40, 20);
        {
            CQtSurface surface(image);
            surface.setMode(DrawMode::Xor);
            surface.setPen({Colours::White, 1, PenStyle::Solid});
            surface.line({2, 5}, {12, 5});
            // A joint painted twice would come back white.
            const PixelPoint corner[] = {{20, 2}, {30, 2}, {30, 12}};
            surface.polyline(corner);
        }
        for (int x = 2; x < 12; ++x)
            QCOMPARE(image.pixel(x, 5), Black);
        QCOMPARE(image.pixel(12, 5), White); // the end pixel is not painted
        QCOMPARE(image.pixel(30, 2), Black);
        QCOMPARE(image.pixel(30, 11), Black);
        QCOMPARE(image.pixel(30, 12), White);
        QCOMPARE(countNot(image, White), 10 + 20);

        // Over the black, white again.
        {
            CQtSurface surface(image);
            surface.setMode(DrawMode::Xor);
            surface.setPen({Colours::White, 1, PenStyle::Solid});
            surface.line({2, 5}, {12, 5});
        }
        QCOMPARE(image.pixel(5, 5), White);
    }

    void aDottedBlackRubberBandShowsDotsAndGapsAndDrawingItTwiceRestores_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::newRow("over white") << QColor(Qt::white);
        QTest::newRow("over black") << QColor(Qt::black);
        QTest::newRow("over grey") << QColor(90, 140, 200);
    }
    void aDottedBlackRubberBandShowsDotsAndGapsAndDrawingItTwiceRestores()
    {
        QFETCH(QColor, background);
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(background);
        image.setPixel(20, 5, qRgb(10, 200, 30)); // something under the band
        const QImage before = image.copy();
        auto band = [&image] {
            CQtSurface surface(image);
            surface.setMode(DrawMode::Xor);
            surface.setPen({Colours::Black, 1, PenStyle::Dot});
            surface.setBrush(Brush::solid(Colours::Black));
            surface.rectangle({5, 5, 50, 30});
        };
        band();
        const auto changed = [&](int x, int y) { return image.pixel(x, y) != before.pixel(x, y); };
        // Along the top edge, three pixels as they were (black dots in exclusive-or),
        // then three inverted (the white gaps), over and over.
        QString top, expected;
        for (int x = 5; x < 50; ++x) {
            top += changed(x, 5) ? u'#' : u'.';
            expected += (x - 5) % 6 >= 3 ? u'#' : u'.';
        }
        QCOMPARE(top, expected);
        if (background != QColor(Qt::white) && background != QColor(Qt::black))
            QCOMPARE(image.pixel(8, 5),
                     qRgb(255 - background.red(), 255 - background.green(), 255 - background.blue()));
        // Every side shows dots and gaps, the box's last column and row included.
        for (const auto& [from, step, length] :
             {std::tuple{QPoint(49, 5), QPoint(0, 1), 25}, std::tuple{QPoint(49, 29), QPoint(-1, 0), 45},
              std::tuple{QPoint(5, 29), QPoint(0, -1), 25}}) {
            int shown = 0;
            for (int i = 0; i < length; ++i)
                shown += changed(from.x() + i * step.x(), from.y() + i * step.y());
            QVERIFY(shown > length / 3 && shown < 2 * length / 3 + 1);
        }
        QVERIFY(!changed(50, 5) && !changed(5, 30)); // the box excludes its right and bottom edges
        QVERIFY(!changed(25, 15));                   // the inside stays as it was
        band();
        QVERIFY(image == before);
    }

    void aTextStandsOnItsBackgroundOnlyWhenItHasOne()
    {
        for (const bool opaque : {true, false}) {
            QImage image = whiteImage(120, 40);
            image.fill(Qt::black);
            {
                CQtSurface surface(image);
                surface.setTextColour(Colours::Red);
                if (opaque)
                    surface.setTextBackground(Colours::White);
                surface.setFont({20, FontFamily::SansSerif});
                surface.text({5, 5}, "Ay 0.5", {HAlign::Left, VAlign::Top});
            }
            // Between and around the glyphs: white behind a text that has a background,
            // the black picture behind one that has none.
            const int white = image.width() * image.height() - countNot(image, White);
            QCOMPARE(white > 100, opaque);
            QVERIFY(countNot(image, Black) > 0); // the text itself
        }
    }

    void backgroundCoversTheWholeArea()
    {
        QImage image(301, 211, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        {
            CQtSurface surface(image);
            surface.setPen({Colours::White, 2, PenStyle::Solid});
            surface.setBrush(Brush::solid(Colours::White));
            surface.rectangle({0, 0, 301, 211});
        }
        QCOMPARE(countNot(image, White), 0);
    }

    void thinRectanglesStayInsideTheirBox()
    {
        QImage image = whiteImage(12, 8);
        {
            CQtSurface surface(image);
            surface.setPen({Colours::Black, 1, PenStyle::Solid});
            surface.setBrush(Brush::solid(Colours::Yellow));
            surface.rectangle({0, 0, 10, 6});
        }
        QCOMPARE(inkBox(image), QRect(0, 0, 10, 6));
        QCOMPARE(image.pixel(9, 5), Black);
        QCOMPARE(image.pixel(8, 4), qRgb(255, 255, 0));
        QCOMPARE(image.pixel(10, 3), White);
    }

    void textIsPlacedByItsAlignmentAndMeasured()
    {
        const PixelPoint at{200, 100};
        for (HAlign h : {HAlign::Left, HAlign::Centre, HAlign::Right}) {
            for (VAlign v : {VAlign::Top, VAlign::Baseline, VAlign::Bottom}) {
                QImage image = whiteImage();
                TextExtent extent;
                {
                    CQtSurface surface(image);
                    surface.setFont({22, FontFamily::SansSerif, false});
                    extent = surface.measureText("-12.00");
                    surface.text(at, "-12.00", {h, v});
                }
                QVERIFY(qAbs(extent.height - 22) <= 1);
                QVERIFY(extent.width > 0);
                const QRect ink = inkBox(image);
                QVERIFY(!ink.isEmpty());
                // The ink lies within the measured box anchored as asked, give or take a pixel.
                const int left = h == HAlign::Left ? at.x
                    : h == HAlign::Centre          ? at.x - extent.width / 2
                                                   : at.x - extent.width;
                QVERIFY2(ink.left() >= left - 1 && ink.right() <= left + extent.width + 1,
                         qPrintable(QStringLiteral("h %1: ink %2..%3, box %4+%5")
                                        .arg(int(h))
                                        .arg(ink.left())
                                        .arg(ink.right())
                                        .arg(left)
                                        .arg(extent.width)));
                if (v == VAlign::Top)
                    QVERIFY(ink.top() >= at.y && ink.bottom() < at.y + extent.height);
                else if (v == VAlign::Bottom)
                    QVERIFY(ink.bottom() < at.y && ink.top() >= at.y - extent.height);
                else
                    QVERIFY(ink.top() < at.y && ink.bottom() <= at.y + 1);
            }
        }
    }

    // A cache kept with a picture: the painter it keeps draws each redraw as a fresh one
    // would, a copy taken between redraws keeps what it showed, and the painter ends
    // when asked.
    void aCacheServesEveryRedrawOfItsPicture()
    {
        const auto draw = [](QImage& image, CQtSurfaceCache* cache) {
            CQtSurface surface(image, cache);
            surface.setPen({Colours::Black, 2, PenStyle::Solid});
            surface.setBrush(Brush::solid(Colours::Yellow));
            surface.rectangle({20, 20, 120, 80});
            surface.setFont({22, FontFamily::SansSerif, false});
            surface.text({200, 50}, "-12.00", {HAlign::Centre, VAlign::Baseline});
            return surface.measureText("-12.00");
        };
        QImage fresh = whiteImage();
        const TextExtent extent = draw(fresh, nullptr);

        // The pictures outlive the cache, whose painter ends with it.
        QImage picture = whiteImage();
        QImage sharp = whiteImage();
        sharp.setDotsPerMeterX(7559);
        sharp.setDotsPerMeterY(7559);
        QImage sharpFresh = sharp.copy();
        CQtSurfaceCache cache;
        for (int redraw = 0; redraw < 2; ++redraw) {
            picture.fill(White);
            const TextExtent again = draw(picture, &cache);
            QCOMPARE(again.width, extent.width);
            QCOMPARE(again.height, extent.height);
            QCOMPARE(picture, fresh);
        }
        QVERIFY(picture.paintingActive()); // kept between redraws

        const QImage shown = picture; // a copy of its own: the picture is being painted
        picture.fill(White);
        draw(picture, &cache);
        QCOMPARE(picture, fresh);
        QCOMPARE(shown, fresh);
        QVERIFY(countNot(picture, White) > 0);

        cache.endPainting();
        QVERIFY(!picture.paintingActive());

        // Another picture, of another resolution, served by the same cache.
        draw(sharp, &cache);
        draw(sharpFresh, nullptr);
        QCOMPARE(sharp, sharpFresh);
        cache.endPainting();
    }

    // A label on the picture is laid out once and drawn again as it is: the pixels are
    // those of a text drawn at its baseline by the painter itself, at every size and
    // resolution (the fonts' engine differs between platforms).
    void aLaidOutLabelHasThePaintersPixels_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("dpi");
        for (int dpi : {96, 144, 192})
            for (int cell : {9, 14, 22, 33})
                QTest::addRow("%d px at %d dpi", cell, dpi) << cell << dpi;
    }
    void aLaidOutLabelHasThePaintersPixels()
    {
        QFETCH(int, cell);
        QFETCH(int, dpi);
        QImage picture = whiteImage();
        picture.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        picture.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        QImage painted = picture.copy();
        const PixelPoint at{37, 101};
        const Font font{cell, FontFamily::SansSerif, false};
        {
            CQtSurface surface(picture);
            surface.setFont(font);
            for (const char* label : {"-12.50", "0", "3.14"})
                surface.text({at.x, at.y + 40 * int(std::string_view(label).size())}, label,
                             {HAlign::Left, VAlign::Baseline});
        }
        {
            QPainter painter(&painted);
            const QFont q = resolvedQtFont(font, painter.font(), &painted);
            painter.setFont(q);
            painter.setPen(QColor(0, 0, 0));
            for (const char* label : {"-12.50", "0", "3.14"})
                painter.drawText(QPoint(at.x, at.y + 40 * int(std::string_view(label).size())),
                                 QString::fromUtf8(label));
        }
        QVERIFY(countNot(picture, White) > 0);
        QCOMPARE(picture, painted);
    }

    void resolutionAndSizeComeFromTheDevice()
    {
        QImage image = whiteImage(123, 45);
        image.setDotsPerMeterX(11811); // 300 dpi
        image.setDotsPerMeterY(3780);  // 96 dpi
        CQtSurface surface(image);
        QCOMPARE(surface.logicalDpiX(), 300);
        QCOMPARE(surface.logicalDpiY(), 96);
        QCOMPARE(surface.size(), (PixelSize{123, 45}));
    }

    void farAwayCoordinatesPaintOnlyWhatIsInView()
    {
        QImage image = whiteImage(200, 100);
        {
            CQtSurface surface(image);
            surface.setPen({Colours::Black, 2, PenStyle::Solid});
            surface.line({-PixelLimit, PixelLimit}, {PixelLimit, PixelLimit});
            surface.setPen({Colours::Black, 1, PenStyle::Solid});
            const PixelPoint far[] = {{-PixelLimit, 50}, {PixelLimit, 50}, {PixelLimit, -PixelLimit}};
            surface.polyline(far);
            surface.setFont({11, FontFamily::SansSerif, false});
            surface.text({100, PixelLimit}, "36.00", {HAlign::Centre, VAlign::Top});
        }
        QCOMPARE(countNot(image, White), 200);
        QCOMPARE(inkBox(image), QRect(0, 50, 200, 1));
    }
};

QTEST_MAIN(QtSurfaceTest)
#include "tst_qt_surface.moc"
