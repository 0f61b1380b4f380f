#include "document/core/DocumentOpen.h"

#include "document/core/DocumentLimits.h"
#include "document/core/PrivateDirectory.h"
#include "document/core/InspectionReply.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "document/core/SourceCopy.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/operations/InspectContract.h"

#include <QFileInfo>
#include <QJsonObject>

#include <climits>

namespace velk {

namespace {

bool isOpenableSource(const QFileInfo& info)
{
    return info.exists() && info.isFile() && info.isReadable() && info.size() <= DocumentLimits::kMaxPdfBytes;
}

PdfOpenResult failure(const QString& error, int code = 0)
{
    PdfOpenResult result;
    result.error = error;
    result.code = code;
    return result;
}

} // namespace

PdfOpenResult openPdfDocument(const QString& path, const QString& password,
                              std::shared_ptr<std::atomic<bool>> cancel)
{
    return openPdfDocument(path, std::make_shared<SecretBytes>(SecretBytes::fromText(password)), std::move(cancel));
}

PdfOpenResult openPdfDocument(const QString& path, SecretBytesPtr password, std::shared_ptr<std::atomic<bool>> cancel)
{
    return openPdfDocument(path, std::move(password), std::move(cancel), QString());
}

PdfOpenResult openPdfDocument(const QString& path, SecretBytesPtr password, std::shared_ptr<std::atomic<bool>> cancel,
                              const QString& applicationDirectory)
{
    const QFileInfo source(path);
    if (path.isEmpty() || !isOpenableSource(source))
        return failure(QStringLiteral("PDF okunamıyor veya 512 MiB sınırını aşıyor."));
    const SourceSnapshot before = SourceCopy::snapshot(path);

    auto document = std::make_shared<PdfDocument>();
    document->workspace = createPrivateDirectory(QStringLiteral("velk-pdf-"));
    if (!document->workspace)
        return failure(QStringLiteral("Güvenli geçici dizin oluşturulamadı."));
    document->sourcePath = source.canonicalFilePath();
    document->workingPath = document->workspace->filePath(QStringLiteral("document.pdf"));
    if (password)
        document->password = std::move(password);

    const QString copyError = SourceCopy::copy(path, document->workingPath, before, cancel);
    if (!copyError.isEmpty())
        return failure(copyError);

    const QJsonObject request = InspectRequest{document->workingPath}.toJson();
    const WorkerReply reply =
        applicationDirectory.isEmpty()
            ? runPdfWorker(request, document->password, cancel, DocumentLimits::kInspectTimeLimitMs)
            : runPdfWorker(request, document->password, cancel, DocumentLimits::kInspectTimeLimitMs,
                           applicationDirectory);
    if (!reply.error.isEmpty()) {
        const qint64 code = JsonFields::integer(reply.json, QStringLiteral("code"), 0, INT_MAX).value_or(0);
        return failure(reply.error, int(code));
    }

    const QString inspectError = InspectionReply::apply(reply.json, *document);
    if (!inspectError.isEmpty())
        return failure(inspectError);

    PdfOpenResult result;
    result.document = std::move(document);
    return result;
}

} // namespace velk
