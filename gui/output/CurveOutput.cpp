#include "gui/output/CurveOutput.h"

#include "gui/common/PlatformServices.h"
#include "gui/common/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

#include <memory>

#ifdef Q_OS_WIN
#include "core/draw/GdiMetafileSurface.h"
#endif

namespace {

#ifdef Q_OS_WIN
// Adds the picture to what the clipboard holds as an enhanced metafile, the vector
// picture word processors paste (Windows makes the older metafile picture from it).
bool addMetafileToClipboard(const CurveOutput& curve, QSize size, int dotsPerInch)
{
    GdiMetafileSurface surface({size.width(), size.height()}, dotsPerInch, curve.document.documentName);
    if (!surface.isValid())
        return false;
    drawCurveOutput(surface, PageKind::Picture, curve);
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
    return drawCurveOutput(painter, PageKind::Paper, curve);
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
