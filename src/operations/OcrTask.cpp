#include "operations/OcrTask.h"

#include "operations/SameFile.h"
#include "operations/TaskPipeline.h"

#include "worker/contract/SharedLimits.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

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

QJsonObject source(const QString& path)
{
    return QJsonObject{{QStringLiteral("path"), path}};
}

// One request after the other into the named work file; empty on success,
// else the runner's sentence.
QString send(const TaskPipeline& pipeline, const QString& operation, QJsonObject request, const QString& outputName,
             const CancelFlag& cancel)
{
    request.insert(QStringLiteral("operation"), operation);
    return pipeline.write(request, outputName, kRequestTimeLimitMs, cancel);
}

// "page-%1.pdf" for every listed page, in order. Empty on success.
QString recognisePages(const PdfDocument& document, const QList<int>& pages, const TaskPipeline& pipeline,
                       const CancelFlag& cancel, const OcrProgress& progress, QJsonArray& layers)
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
        const QJsonObject request{{QStringLiteral("path"), document.workingPath}, {QStringLiteral("page"), page}};
        const QString error = send(pipeline, QStringLiteral("ocr"), request, outputName, cancel);
        if (!error.isEmpty())
            return error;
        total += QFileInfo(output).size();
        if (total > kMaxLayerBytes)
            return QStringLiteral("OCR çıktı boyutu sınırı aşıldı.");
        layers.append(source(output));
    }
    return {};
}

// Collects the layers, extracts the same pages and lays one over the other.
QString assemble(const PdfDocument& document, const QList<int>& pages, const TaskPipeline& pipeline,
                 const QJsonArray& layers, const CancelFlag& cancel)
{
    const QString layersName = QStringLiteral("layers.pdf");
    const QString originalName = QStringLiteral("original.pdf");
    QString error =
        send(pipeline, QStringLiteral("pages"), QJsonObject{{QStringLiteral("sources"), layers}}, layersName, cancel);
    if (!error.isEmpty())
        return error;
    QJsonArray pageList;
    for (const int page : pages)
        pageList.append(page);
    QJsonObject original = source(document.workingPath);
    original.insert(QStringLiteral("pages"), pageList);
    error = send(pipeline, QStringLiteral("pages"), QJsonObject{{QStringLiteral("sources"), QJsonArray{original}}},
                 originalName, cancel);
    if (!error.isEmpty())
        return error;
    const QJsonArray both{source(pipeline.filePath(originalName)), source(pipeline.filePath(layersName))};
    return send(pipeline, QStringLiteral("overlay"), QJsonObject{{QStringLiteral("sources"), both}},
                QStringLiteral("searchable.pdf"), cancel);
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
    QJsonArray layers;
    QString error = recognisePages(*document, pages, pipeline, cancel, progress, layers);
    if (error.isEmpty())
        error = assemble(*document, pages, pipeline, layers, cancel);
    if (!error.isEmpty())
        return failure(error);
    return pipeline.publish(QStringLiteral("searchable.pdf"), destination, cancel);
}

} // namespace velk
