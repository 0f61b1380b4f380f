#include "OcrTask.h"

#include "OutputPublication.h"
#include "PdfWorkerRunner.h"
#include "SameFile.h"
#include "TaskWorkspace.h"

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

// One request after the other; empty on success, else the runner's sentence.
QString send(const QString& operation, QJsonObject request, const QString& output, const CancelFlag& cancel)
{
    request.insert(QStringLiteral("operation"), operation);
    request.insert(QStringLiteral("output"), output);
    return runPdfWorker(request, cancel, kRequestTimeLimitMs).error;
}

// "page-%1.pdf" for every listed page, in order. Empty on success.
QString recognisePages(const PdfDocument& document, const QList<int>& pages, const TaskWorkspace& workspace,
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
        const QString output = workspace.filePath(QStringLiteral("page-%1.pdf").arg(position));
        const QJsonObject request{{QStringLiteral("path"), document.workingPath}, {QStringLiteral("page"), page}};
        const QString error = send(QStringLiteral("ocr"), request, output, cancel);
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
QString assemble(const PdfDocument& document, const QList<int>& pages, const TaskWorkspace& workspace,
                 const QJsonArray& layers, const CancelFlag& cancel)
{
    const QString layersPath = workspace.filePath(QStringLiteral("layers.pdf"));
    const QString originalPath = workspace.filePath(QStringLiteral("original.pdf"));
    QString error = send(QStringLiteral("pages"), QJsonObject{{QStringLiteral("sources"), layers}}, layersPath, cancel);
    if (!error.isEmpty())
        return error;
    QJsonArray pageList;
    for (const int page : pages)
        pageList.append(page);
    QJsonObject original = source(document.workingPath);
    original.insert(QStringLiteral("pages"), pageList);
    error = send(QStringLiteral("pages"), QJsonObject{{QStringLiteral("sources"), QJsonArray{original}}},
                 originalPath, cancel);
    if (!error.isEmpty())
        return error;
    const QJsonArray both{source(originalPath), source(layersPath)};
    return send(QStringLiteral("overlay"), QJsonObject{{QStringLiteral("sources"), both}},
                workspace.filePath(QStringLiteral("searchable.pdf")), cancel);
}

} // namespace

ExportResult recognizeDocument(PdfDocumentPtr document, const QList<int>& pages, const QString& destination,
                               const CancelFlag& cancel, const OcrProgress& progress)
{
    if (!isUsable(document, pages, destination))
        return failure(QStringLiteral("OCR için 1–100 sayfa ve farklı bir çıktı dosyası seçin."));
    const TaskWorkspace workspace;
    if (!workspace.isValid())
        return failure(QStringLiteral("OCR geçici alanı oluşturulamadı."));
    QJsonArray layers;
    QString error = recognisePages(*document, pages, workspace, cancel, progress, layers);
    if (error.isEmpty())
        error = assemble(*document, pages, workspace, layers, cancel);
    if (!error.isEmpty())
        return failure(error);
    return publishOutput(workspace.filePath(QStringLiteral("searchable.pdf")), destination, cancel);
}

} // namespace velk
