#include "gui/output/CurveOutput.h"

#include "core/draw/ColourIndex.h"
#include "core/draw/SvgSurface.h"
#include "core/output/CurvePage.h"
#include "core/output/ExportFormat.h"
#include "core/output/SampledCurveCsv.h"
#include "core/text/NumberText.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/CQtTextMetrics.h"
#include "gui/common/PictureImage.h"
#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QWidget>

#include <algorithm>

#ifdef Q_OS_WIN
#include "core/draw/GdiMetafileSurface.h"
#endif

namespace {

// The printed page or the picture of the curve, on any surface.
void drawPage(Surface& surface, PageKind kind, const CurveOutput& curve)
{
    const CurveDocument& doc = curve.document;
    drawCurvePage(surface, kind, doc.points(), doc.smoothingMode, curve.displayFlags,
                  kind == PageKind::Paper ? paperPageTexts(doc) : picturePageTexts(doc));
}

// Draws the page on an open painter; false when the painter could not start.
bool drawOn(QPainter& painter, PageKind kind, const CurveOutput& curve)
{
    if (!painter.isActive())
        return false;
    CQtSurface surface(painter);
    drawPage(surface, kind, curve);
    return true;
}

#ifdef Q_OS_WIN
// Adds the picture to what the clipboard holds as an enhanced metafile, the vector
// picture word processors paste (Windows makes the older metafile picture from it).
bool addMetafileToClipboard(const CurveOutput& curve, QSize size, int dotsPerInch)
{
    GdiMetafileSurface surface({size.width(), size.height()}, dotsPerInch, curve.document.documentName);
    if (!surface.isValid())
        return false;
    drawPage(surface, PageKind::Picture, curve);
    const HENHMETAFILE metafile = surface.finish();
    if (!metafile)
        return false;
    bool placed = false;
    if (OpenClipboard(nullptr)) {
        // Added beside the formats already there, which stay; the clipboard owns the metafile.
        placed = SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr;
        CloseClipboard();
    }
    if (!placed)
        DeleteEnhMetaFile(metafile);
    return placed;
}
#endif

} // namespace

bool printCurve(CPlatformServices& services, QWidget* owner, const CurveOutput& curve)
{
    std::unique_ptr<QPrinter> printer = services.choosePrinter(owner);
    if (!printer)
        return false;
    printer->setDocName(toQString(CurvePrintDocumentName));
    QPainter painter(printer.get());
    return drawOn(painter, PageKind::Paper, curve);
}

QByteArray curvePictureSvg(const CurveOutput& curve, QSize size, int dotsPerInch)
{
    // The resolution of the screen gives the picture the drawing area's physical size.
    CQtTextMetrics metrics(dotsPerInch);
    SvgSurface surface({size.width(), size.height()}, dotsPerInch, metrics, curve.document.documentName);
    drawPage(surface, PageKind::Picture, curve);
    const std::string text = surface.document();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray curvePicturePng(const CurveOutput& curve, QSize size)
{
    QImage image = freshPicture(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        if (!drawOn(painter, PageKind::Picture, curve))
            return {};
    }
    // The plot's few colours go into a palette: the same pixels, written three times as
    // fast and smaller. A picture of more colours is written as it is.
    QImage indexed = freshPicture(size, QImage::Format_Indexed8);
    std::vector<std::uint32_t> colours;
    if (!indexed.isNull()
        && indexColours(image.constBits(), image.width(), image.height(), image.bytesPerLine(), indexed.bits(),
                        indexed.bytesPerLine(), colours)) {
        indexed.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
        indexed.setDotsPerMeterX(image.dotsPerMeterX());
        indexed.setDotsPerMeterY(image.dotsPerMeterY());
        image = std::move(indexed);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A lighter compression than zlib's default: twice as fast, a few kilobytes more.
    QImageWriter writer(&buffer, "PNG");
    writer.setQuality(80);
    if (!writer.write(image))
        return {};
    return bytes;
}

bool copyCurveToClipboard(QWidget& drawingArea, const CurveOutput& curve)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    // Whatever the clipboard held goes first, so a failure leaves it empty.
    clipboard->clear();
    const QSize size = drawingArea.contentsRect().size();
    if (size.isEmpty())
        return false;
    const QByteArray svg = curvePictureSvg(curve, size, drawingArea.logicalDpiX());
    const QByteArray png = curvePicturePng(curve, size);
    if (svg.isEmpty() || png.isEmpty())
        return false;
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("image/svg+xml"), svg);
    data->setData(QStringLiteral("image/png"), png);
    clipboard->setMimeData(data.release()); // the clipboard owns it
#ifdef Q_OS_WIN
    // On the Windows clipboard (not the in-process one of the offscreen platform).
    if (QGuiApplication::platformName() == QStringLiteral("windows"))
        addMetafileToClipboard(curve, size, drawingArea.logicalDpiX());
#endif
    return true;
}

namespace {

QString unwritable(const QString& path)
{
    return QStringLiteral("Impossible d'écrire le fichier <%1>").arg(path);
}

} // namespace

bool exportCurve(const CurveOutput& curve, const QString& path, QSize size, QString& error)
{
    const ExportFormat* format = exportFormatOf(path.toStdString());
    if (!format) {
        error = toQString(unknownExportFormatText(path.toStdString()));
        return false;
    }
    QByteArray bytes;
    switch (format->kind) {
    case ExportKind::PrintedPage: {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setTitle(toQString(CurvePrintDocumentName));
        QPainter painter;
        if (!painter.begin(&pdf) || !drawOn(painter, PageKind::Paper, curve)) {
            error = unwritable(path);
            return false;
        }
        painter.end();
        if (QFileInfo(path).size() <= 0) {
            error = unwritable(path);
            return false;
        }
        return true;
    }
    case ExportKind::SvgPicture: bytes = curvePictureSvg(curve, size, 96); break;
    case ExportKind::PngPicture:
        // The picture is made whole in memory: a size the command line lets through
        // (up to 99999 x 99999) could take tens of gigabytes before any of it is written.
        if (qint64(size.width()) * size.height() > MaxExportPixels) {
            error = toQString(cformat("Image trop grande <%dx%d> : %d pixels au plus",
                                      {size.width(), size.height(), MaxExportPixels}));
            return false;
        }
        bytes = curvePicturePng(curve, size);
        break;
    case ExportKind::SampledValues:
        bytes = QByteArray::fromStdString(sampledCurveCsv(curve.document.points(), curve.document.smoothingMode));
        break;
    }
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        error = unwritable(path);
        return false;
    }
    return true;
}
