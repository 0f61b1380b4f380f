#include "operations/OcrTask.h"

#include "operations/SameFile.h"
#include "operations/TaskPipeline.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/OcrContract.h"
#include "worker/contract/operations/PagesContract.h"

#include <QFileInfo>

namespace velk {

namespace {

constexpr int kMaxPages = SharedLimits::kMaxOcrPages;
constexpr qint64 kMaxLayerBytes = SharedLimits::kMaxPdfBytes;
constexpr int kRequestTimeLimitMs = 60000;

ExportResult failure(const QString& message)
{
    return {false, message};
}

bool isCancelled(const CancelFlag& cancel)
{
    return cancel && cancel->load();
}

bool isUsable(const PdfDocumentPtr& document, const QList<int>& pages, const QString& destination)
{
    return document && !pages.isEmpty() && pages.size() <= kMaxPages && !destination.isEmpty()
        && !isSameFile(document->sourcePath, destination) && !isSameFile(document->workingPath, destination);
}

// One request after the other into the named work file; empty on success,
// else the runner's sentence.
QString send(const TaskPipeline& pipeline, const QJsonObject& request, const QString& outputName,
             const CancelFlag& cancel)
{
    return pipeline.write(request, outputName, kRequestTimeLimitMs, cancel);
}

PagesRequest pagesOf(const QList<PageSourceEntry>& sources, bool overlay = false)
{
    PagesRequest request;
    request.overlay = overlay;
    request.sources = sources;
    return request;
}

// "page-%1.pdf" for every listed page, in order. Empty on success.
QString recognisePages(const PdfDocument& document, const QList<int>& pages, const TaskPipeline& pipeline,
                       const CancelFlag& cancel, const OcrProgress& progress, QList<PageSourceEntry>& layers)
{
    qint64 total = 0;
    for (int position = 0; position < pages.size(); ++position) {
        if (progress)
            progress(position + 1, int(pages.size()));
        if (isCancelled(cancel))
            return QStringLiteral("OCR iptal edildi.");
        const int page = pages.at(position);
        if (page < 0 || page >= document.pageCount())
            return QStringLiteral("OCR sayfa numarası geçersiz.");
        const QString outputName = QStringLiteral("page-%1.pdf").arg(position);
        const QString output = pipeline.filePath(outputName);
        const QString error = send(pipeline, OcrRequest{document.workingPath, page, {}}.toJson(), outputName, cancel);
        if (!error.isEmpty())
            return error;
        total += QFileInfo(output).size();
        if (total > kMaxLayerBytes)
            return QStringLiteral("OCR çıktı boyutu sınırı aşıldı.");
        layers.append(PageSourceEntry{output, {}});
    }
    return {};
}

// Collects the layers, extracts the same pages and lays one over the other.
QString assemble(const PdfDocument& document, const QList<int>& pages, const TaskPipeline& pipeline,
                 const QList<PageSourceEntry>& layers, const CancelFlag& cancel)
{
    const QString layersName = QStringLiteral("layers.pdf");
    const QString originalName = QStringLiteral("original.pdf");
    QString error = send(pipeline, pagesOf(layers).toJson(), layersName, cancel);
    if (!error.isEmpty())
        return error;
    PageSourceEntry original{document.workingPath, {}};
    for (const int page : pages)
        original.pages.append(page);
    error = send(pipeline, pagesOf({original}).toJson(), originalName, cancel);
    if (!error.isEmpty())
        return error;
    const QList<PageSourceEntry> both{{pipeline.filePath(originalName), {}}, {pipeline.filePath(layersName), {}}};
    return send(pipeline, pagesOf(both, true).toJson(), QStringLiteral("searchable.pdf"), cancel);
}

} // namespace

ExportResult recognizeDocument(PdfDocumentPtr document, const QList<int>& pages, const QString& destination,
                               const CancelFlag& cancel, const OcrProgress& progress)
{
    if (!isUsable(document, pages, destination))
        return failure(QStringLiteral("OCR için 1–100 sayfa ve farklı bir çıktı dosyası seçin."));
    const TaskPipeline pipeline(QStringLiteral("OCR geçici alanı oluşturulamadı."));
    if (const QString workspaceError = pipeline.workspaceError(); !workspaceError.isEmpty())
        return failure(workspaceError);
    QList<PageSourceEntry> layers;
    QString error = recognisePages(*document, pages, pipeline, cancel, progress, layers);
    if (error.isEmpty())
        error = assemble(*document, pages, pipeline, layers, cancel);
    if (!error.isEmpty())
        return failure(error);
    return pipeline.publish(QStringLiteral("searchable.pdf"), destination, cancel);
}

} // namespace velk
