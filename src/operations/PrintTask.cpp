#include "operations/PrintTask.h"

#include "document/view/PageRendering.h"
#include "worker/contract/SharedLimits.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

constexpr double kPointsPerInch = 72.0;

bool isCancelled(const CancelFlag& cancel)
{
    return cancel && cancel->load();
}

// The page image scaled to fit the printable area, centred, aspect kept.
QRectF fittedRect(const QSize& image, const QRect& area)
{
    const double scale = std::min(double(area.width()) / image.width(), double(area.height()) / image.height());
    const QSizeF size(image.width() * scale, image.height() * scale);
    return QRectF(area.left() + (area.width() - size.width()) / 2.0,
                  area.top() + (area.height() - size.height()) / 2.0, size.width(), size.height());
}

// Stops a run that will not finish: a printer that takes back what it was
// given does so; a file that was being written goes, rather than stay half.
ExportResult abandon(QPainter& painter, QPrinter& printer, const QString& message)
{
    const bool aborted = printer.abort();
    painter.end();
    if (!aborted && !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
    return ExportResult{false, message};
}

} // namespace

PrintPlan PrintTask::plan(const QPrinter& printer, int pageCount, int currentPage)
{
    QList<int> pages;
    if (printer.printRange() == QPrinter::PageRange) {
        const int from = std::clamp(printer.fromPage(), 1, std::max(pageCount, 1));
        const int to = std::clamp(printer.toPage() == 0 ? pageCount : printer.toPage(), from, std::max(pageCount, 1));
        for (int page = from; page <= to && page <= pageCount; ++page)
            pages.append(page - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage && currentPage >= 0 && currentPage < pageCount) {
        pages.append(currentPage);
    } else {
        for (int page = 0; page < pageCount; ++page)
            pages.append(page);
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());
    // Where the printer makes the copies itself, each page goes once.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(printer.copyCount(), 1);
    // Past kMaxSheets the plan stops growing; print() refuses it.
    PrintPlan plan;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies && plan.sheets.size() <= kMaxSheets; ++copy)
            plan.sheets.append(pages);
        return plan;
    }
    for (const int page : pages) {
        for (int copy = 0; copy < copies && plan.sheets.size() <= kMaxSheets; ++copy)
            plan.sheets.append(page);
    }
    return plan;
}

int PrintTask::renderWidth(const QSizeF& pageSize, int dpi)
{
    if (!(pageSize.width() > 0.0) || !(pageSize.height() > 0.0))
        return SharedLimits::kMinRenderWidth;
    const double aspect = pageSize.width() / pageSize.height();
    const double wanted = pageSize.width() / kPointsPerInch * std::clamp(dpi, kMinDpi, kMaxDpi);
    const double byHeight = SharedLimits::kMaxRenderHeight * aspect;
    const double byPixels = std::sqrt(double(SharedLimits::kMaxRenderPixels) * aspect);
    const double width = std::min({wanted, double(SharedLimits::kMaxRenderWidth), byHeight, byPixels});
    return std::max(SharedLimits::kMinRenderWidth, int(std::floor(width)));
}

ExportResult PrintTask::print(PdfDocumentPtr document, QPrinter& printer, const PrintPlan& plan,
                              const CancelFlag& cancel, const PrintProgress& progress)
{
    if (!document || plan.sheets.isEmpty())
        return ExportResult{false, QStringLiteral("Yazdırılacak sayfa yok.")};
    if (plan.sheets.size() > kMaxSheets)
        return ExportResult{false, QStringLiteral("Bir seferde en fazla 10000 sayfa yazdırılabilir.")};
    QPainter painter;
    if (!painter.begin(&printer))
        return ExportResult{false, QStringLiteral("Yazıcı kullanılamıyor.")};
    const int count = int(plan.sheets.size());
    for (int position = 1; position <= count; ++position) {
        if (isCancelled(cancel))
            return abandon(painter, printer, QStringLiteral("Yazdırma iptal edildi."));
        const int page = plan.sheets.at(position - 1);
        if (page < 0 || page >= document->pageCount())
            return abandon(painter, printer, QStringLiteral("Sayfa geçersiz."));
        if (progress)
            progress(position, count);
        const QSizeF size = document->pageSizes.at(page);
        const PdfRenderResult rendered = renderPage(document, page, renderWidth(size, printer.resolution()), cancel);
        if (rendered.image.isNull())
            return abandon(painter, printer,
                           isCancelled(cancel) ? QStringLiteral("Yazdırma iptal edildi.") : rendered.error);
        if (position > 1 && !printer.newPage())
            return abandon(painter, printer, QStringLiteral("Yazıcıya sayfa gönderilemedi."));
        painter.drawImage(fittedRect(rendered.image.size(), painter.viewport()), rendered.image);
    }
    if (!painter.end())
        return ExportResult{false, QStringLiteral("Yazdırma tamamlanamadı.")};
    return ExportResult{true, QString()};
}

} // namespace velk
