#include "operations/PdfCreateService.h"

#include "document/files/AtomicFileWriter.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace velk {

namespace {

constexpr int kMaxPages = 100;
constexpr int kResolutionDpi = 144;
constexpr double kMarginMm = 16.0;

ExportResult failure(const QString& message)
{
    return {false, message};
}

void describe(QPdfWriter& writer, const QString& destination)
{
    writer.setCreator(QStringLiteral("Velk PDF"));
    writer.setTitle(QFileInfo(destination).completeBaseName());
    writer.setResolution(kResolutionDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// Paints every page; the painter is ended on every path.
ExportResult paintPages(QPdfWriter& writer, int pageCount, const PageDrawer& drawPage)
{
    QPainter painter;
    if (!painter.begin(&writer))
        return failure(QStringLiteral("PDF yazıcısı başlatılamadı."));
    for (int index = 0; index < pageCount; ++index) {
        if (index > 0 && !writer.newPage()) {
            painter.end();
            return failure(QStringLiteral("Yeni sayfa oluşturulamadı."));
        }
        const ExportResult drawn = drawPage(painter, writer, index);
        if (!drawn.ok) {
            painter.end();
            return drawn;
        }
    }
    if (!painter.end())
        return failure(QStringLiteral("PDF çizimi tamamlanamadı."));
    return {true, QString()};
}

} // namespace

ExportResult renderPdfPages(const QString& destination, int pageCount, const PageDrawer& drawPage)
{
    if (destination.isEmpty() || pageCount < 1 || pageCount > kMaxPages || !drawPage)
        return failure(QStringLiteral("Hedef yol veya sayfa sayısı geçersiz (1–100)."));
    AtomicFileWriter file(destination);
    if (!file.open())
        return failure(QStringLiteral("Çıktı dosyası açılamadı: %1").arg(file.fileErrorString()));
    ExportResult painted;
    {
        // The writer flushes into the file before it is committed; a write
        // it could not complete leaves the file failed, so the commit
        // below refuses it.
        QPdfWriter writer(&file);
        describe(writer, destination);
        painted = paintPages(writer, pageCount, drawPage);
    }
    if (!painted.ok) {
        file.discard();
        return painted;
    }
    if (!file.commit()) {
        if (file.destinationTaken())
            return failure(AtomicFileWriter::destinationTakenSentence());
        return failure(QStringLiteral("PDF kaydedilemedi: %1").arg(file.fileErrorString()));
    }
    return {true, QString()};
}

ExportResult PdfCreateService::blank(const QString& destination, int pageCount)
{
    return renderPdfPages(destination, pageCount,
                          [](QPainter&, QPdfWriter&, int) { return ExportResult{true, QString()}; });
}

ExportResult convertOfficeDocument(const QString& source, const QString& destination)
{
    Q_UNUSED(source);
    Q_UNUSED(destination);
    return failure(QStringLiteral("Yalıtılmış LibreOffice Writer dönüştürücü bu kurulumda yok."));
}

} // namespace velk
