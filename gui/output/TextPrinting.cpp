#include "gui/output/TextPrinting.h"

#include "core/output/Listing.h"
#include "core/text/Latin1Text.h"

#include "gui/common/QtText.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <fstream>

namespace {

constexpr int FontPointSize = 10;

void reportPrintError(CPlatformServices& services)
{
    services.showMessage(CPlatformServices::focusOwner(), toQString(PrintErrorMessage), QString(), MessageButtons::Ok,
                         MessageIcon::Error);
}

// Removes the listing file on every way out, the temporary directory going with it.
class CListingFile {
public:
    explicit CListingFile(const QTemporaryDir& dir) : path_(dir.filePath(toQString(ListingFileName))) { }
    ~CListingFile() { QFile::remove(path_); }
    CListingFile(const CListingFile&) = delete;
    CListingFile& operator=(const CListingFile&) = delete;

    bool write(const std::string& bytes) const
    {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const auto size = static_cast<qint64>(bytes.size());
        return file.write(bytes.data(), size) == size && file.flush();
    }
    // Core takes paths in UTF-8 on every platform.
    std::string path() const { return path_.toStdString(); }

private:
    QString path_;
};

} // namespace

void printTextFile(CPlatformServices& services, QWidget* owner, std::string_view title, std::string_view name,
                   const std::string& path)
{
    const std::unique_ptr<QPrinter> printer = services.choosePrinter(owner);
    if (!printer)
        return;

    std::ifstream in;
    if (!openRegularFile(path, in)) {
        reportPrintError(services);
        return;
    }

    printer->setDocName(toQString(PrintDocumentName));
    QPainter painter;
    if (!painter.begin(printer.get())) {
        reportPrintError(services);
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(FontPointSize);
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);

    // A text line's full height, measured on the printer, so the rows fill its page
    // whatever its resolution.
    const QFontMetrics metrics(font, printer.get());
    const int lineHeight = metrics.height();
    const int pageLines = textPageLines(printer->height(), lineHeight);
    const std::vector<TextPage> pages = paginateText(in, title, name, pageLines);

    bool first = true;
    for (const TextPage& page : pages) {
        if (!first && !printer->newPage()) {
            painter.end();
            reportPrintError(services);
            return;
        }
        first = false;
        for (const PageRow& row : page.rows) {
            if (!row.text.empty())
                painter.drawText(QPoint(0, row.row * lineHeight + metrics.ascent()), toQString(row.text));
        }
    }
    painter.end();
}

void printPointList(CPlatformServices& services, QWidget* owner, std::span<const CurvePoint> points,
                    const CurveDocument& names)
{
    // A directory of its own: two editors printing at once, or a current directory that
    // cannot be written, must not get in each other's way.
    const QTemporaryDir dir;
    if (!dir.isValid()) {
        reportPrintError(services);
        return;
    }
    const CListingFile listing(dir);
    if (!listing.write(listingFileBytes(points, names.xAxisName, names.yAxisName))) {
        reportPrintError(services);
        return;
    }
    printTextFile(services, owner, ListingTitle, names.documentName, listing.path());
}
