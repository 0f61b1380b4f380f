#include "signing/verification/RevisionPolicySource.h"

#include "signing/verification/VerificationLimits.h"

#include "document/core/PrivateDirectory.h"
#include "worker/contract/operations/SignatureListContract.h"
#include "worker/runner/PdfWorkerRunner.h"

#include <QFile>

namespace velk {

namespace {

const QString kUnwritable = QStringLiteral("İmzalı revizyon izin analizi için açılamadı.");

bool writeRevision(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace

RevisionPolicySource::RevisionPolicySource(QByteArray file, QString workingPath, CancelFlag cancel,
                                           QString applicationDirectory)
    : m_file(std::move(file))
    , m_workingPath(std::move(workingPath))
    , m_cancel(std::move(cancel))
    , m_applicationDirectory(std::move(applicationDirectory))
{
}

PolicyReply RevisionPolicySource::documentPolicy()
{
    return run(m_workingPath, false, true);
}

PolicyReply RevisionPolicySource::revisionPolicy(qint64 end, bool evidence)
{
    const QPair<qint64, bool> key(end, evidence);
    if (const auto known = m_revisions.constFind(key); known != m_revisions.constEnd())
        return *known;
    if (!m_directoryTried) {
        m_directoryTried = true;
        m_directory = createPrivateDirectory(QStringLiteral("velk-verify-"));
    }
    PolicyReply reply;
    const QString path = m_directory ? m_directory->filePath(QStringLiteral("revision-%1.pdf").arg(end)) : QString();
    if (end < 1 || end > m_file.size() || path.isEmpty() || !writeRevision(path, m_file.left(end))) {
        reply.error = kUnwritable;
    } else {
        reply = run(path, true, evidence);
    }
    if (!path.isEmpty())
        QFile::remove(path);
    m_revisions.insert(key, reply);
    return reply;
}

PolicyReply RevisionPolicySource::run(const QString& path, bool snapshot, bool evidence)
{
    const QJsonObject request = SignaturePolicyRequest{path, snapshot, evidence}.toJson();
    const WorkerReply reply =
        m_applicationDirectory.isEmpty()
            ? runPdfWorker(request, m_cancel, VerificationLimits::kWorkerTimeLimitMs)
            : runPdfWorker(request, m_cancel, VerificationLimits::kWorkerTimeLimitMs, m_applicationDirectory);
    return PolicyReply{reply.error.isEmpty() ? reply.json : QJsonObject(), reply.error};
}

} // namespace velk
