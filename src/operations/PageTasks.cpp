#include "operations/PageTasks.h"

#include "operations/DocumentFiles.h"
#include "document/core/DocumentOpen.h"
#include "operations/SameFile.h"
#include "operations/TaskPipeline.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/PagesContract.h"

#include <QFileInfo>

#include <vector>

namespace velk {

namespace {

constexpr int kMaxLayoutPages = SharedLimits::kMaxOutputPages;
constexpr int kMinMergeFiles = 2;
constexpr int kMaxMergeFiles = SharedLimits::kMaxPageSources;
constexpr qint64 kMaxMergeBytes = SharedLimits::kMaxPdfBytes;
constexpr int kPagesTimeLimitMs = 60000;

ExportResult failure(const QString& message)
{
    return {false, message};
}

QString workspaceFailed()
{
    return QStringLiteral("Geçici çıktı alanı oluşturulamadı.");
}

bool isConsistent(const PdfDocumentPtr& document, const organize::PageLayout& layout, const QString& destination)
{
    return document && !layout.pages.isEmpty() && layout.pages.size() <= kMaxLayoutPages && !destination.isEmpty()
           && layout.rotations.size() == layout.pages.size();
}

// Runs "pages" into the named work file and publishes it; the sources are
// read by the worker from private working copies only.
ExportResult runAndPublish(const PagesRequest& request, const TaskPipeline& pipeline, const QString& workName,
                           const QString& destination)
{
    const QString error = pipeline.write(request.toJson(), workName, kPagesTimeLimitMs);
    if (!error.isEmpty())
        return failure(error);
    return pipeline.publish(workName, destination, nullptr);
}

// Every input an existing non-empty file, 512 MiB together at most.
QString checkMergeInputs(const QStringList& paths)
{
    qint64 total = 0;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (path.isEmpty() || path.contains(QChar(0)) || !info.isFile() || info.size() < 1)
            return QStringLiteral("Kaynak PDF okunamıyor.");
        total += info.size();
        if (total > kMaxMergeBytes)
            return QStringLiteral("Birleştirilecek dosyaların toplamı 512 MiB sınırını aşıyor.");
    }
    return {};
}

} // namespace

ExportResult organizeDocument(PdfDocumentPtr document, const organize::PageLayout& layout,
                              const QString& destination)
{
    if (!isConsistent(document, layout, destination))
        return failure(QStringLiteral("Sayfa düzeni geçersiz."));
    if (namesDocumentFile(*document, destination))
        return failure(QStringLiteral("Kaynak belge korunur. Farklı bir çıktı adı seçin."));
    PageSourceEntry source{document->workingPath, {}};
    for (const int page : layout.pages) {
        if (page < 0 || page >= document->pageCount())
            return failure(QStringLiteral("Sayfa numarası geçersiz."));
        source.pages.append(page);
    }
    PagesRequest request;
    request.sources = {source};
    // Rotations go as they are: the worker refuses any other angle.
    QList<qint64> rotations;
    for (const int rotation : layout.rotations)
        rotations.append(rotation);
    request.rotations = rotations;

    const TaskPipeline pipeline(workspaceFailed());
    if (const QString error = pipeline.workspaceError(); !error.isEmpty())
        return failure(error);
    return runAndPublish(request, pipeline, QStringLiteral("output.pdf"), destination);
}

ExportResult mergePdfFiles(const QStringList& paths, const QString& destination)
{
    if (paths.size() < kMinMergeFiles || paths.size() > kMaxMergeFiles || destination.isEmpty())
        return failure(QStringLiteral("Birleştirmek için 2–100 PDF seçin."));
    const QString unreadable = checkMergeInputs(paths);
    if (!unreadable.isEmpty())
        return failure(unreadable);

    // Held until the task returns: their working copies are what the
    // worker reads.
    std::vector<PdfDocumentPtr> documents;
    PagesRequest request;
    for (const QString& path : paths) {
        if (isSameFile(path, destination))
            return failure(QStringLiteral("Kaynak PDF üzerine yazılamaz."));
        const PdfOpenResult opened = openPdfDocument(path, QString(), nullptr);
        if (!opened.document)
            return failure(opened.error);
        request.sources.append(PageSourceEntry{opened.document->workingPath, {}});
        documents.push_back(opened.document);
    }

    const TaskPipeline pipeline(workspaceFailed());
    if (const QString error = pipeline.workspaceError(); !error.isEmpty())
        return failure(error);
    return runAndPublish(request, pipeline, QStringLiteral("merged.pdf"), destination);
}

} // namespace velk
