#include "gui/output/CurvePicture.h"

#include "core/draw/ColourIndex.h"
#include "core/draw/IndexedPng.h"
#include "core/draw/SvgSurface.h"
#include "core/output/CurvePage.h"
#include "core/output/ExportFormat.h"
#include "core/output/SampledCurveCsv.h"
#include "core/text/NumberText.h"

#include "gui/common/CQtSurface.h"
#include "gui/common/CQtTextMetrics.h"
#include "gui/common/PictureImage.h"
#include "gui/common/QtText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

void drawCurveOutput(Surface& surface, PageKind kind, const CurveOutput& curve)
{
    const CurveDocument& doc = curve.document;
    drawCurvePage(surface, kind, doc.points(), doc.smoothingMode, curve.displayFlags,
                  kind == PageKind::Paper ? paperPageTexts(doc) : picturePageTexts(doc));
}

bool drawCurveOutput(QPainter& painter, PageKind kind, const CurveOutput& curve)
{
    if (!painter.isActive())
        return false;
    CQtSurface surface(painter);
    drawCurveOutput(surface, kind, curve);
    return true;
}

QByteArray curvePictureSvg(const CurveOutput& curve, QSize size, int dotsPerInch)
{
    // The resolution of the screen gives the picture the drawing area's physical size.
    CQtTextMetrics metrics(dotsPerInch);
    SvgSurface surface({size.width(), size.height()}, dotsPerInch, metrics, curve.document.documentName);
    drawCurveOutput(surface, PageKind::Picture, curve);
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
        if (!drawCurveOutput(painter, PageKind::Picture, curve))
            return {};
    }
    // The plot's few colours go into a palette: the same pixels, written several times
    // as fast, in a file a fraction of the size. A picture of more colours is written as
    // it is.
    QImage indexed = freshPicture(size, QImage::Format_Indexed8);
    std::vector<std::uint32_t> colours;
    if (!indexed.isNull()
        && indexColours(image.constBits(), image.width(), image.height(), image.bytesPerLine(), indexed.bits(),
                        indexed.bytesPerLine(), colours)) {
        const int dotsPerMeterX = image.dotsPerMeterX();
        const int dotsPerMeterY = image.dotsPerMeterY();
        image = QImage(); // the 32-bit picture's memory is given back before the file is made
        const std::vector<unsigned char> png =
            indexedPng(indexed.constBits(), indexed.width(), indexed.height(), indexed.bytesPerLine(), colours,
                       dotsPerMeterX, dotsPerMeterY);
        return QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
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
        if (!painter.begin(&pdf) || !drawCurveOutput(painter, PageKind::Paper, curve)) {
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
