#include "operations/OutputPublication.h"

#include "operations/OperationLimits.h"
#include "operations/OperationMessages.h"

#include "document/files/AtomicFileWriter.h"
#include "document/core/FileCopier.h"

#include <QFile>

namespace velk {

namespace {

using OperationLimits::kMaxWorkFileBytes;

ExportResult failure(const QString& message)
{
    return {false, message};
}

// Empty when every chunk reached the save file, else the sentence.
QString copyChunks(QFile& in, AtomicFileWriter& out, const CancelFlag& cancel)
{
    qint64 copied = 0;
    switch (FileCopier::copy(in, out, kMaxWorkFileBytes, cancel, copied)) {
    case FileCopier::Outcome::Copied:
        return QString();
    case FileCopier::Outcome::Cancelled:
        return OperationMessages::cancelled();
    case FileCopier::Outcome::ReadFailed:
    case FileCopier::Outcome::TooLarge:
    case FileCopier::Outcome::WriteFailed:
        break;
    }
    return OperationMessages::outputIncomplete();
}

} // namespace

ExportResult publishOutput(const QString& workFile, const QString& destination, const CancelFlag& cancel)
{
    // An empty name is no destination: refused before the work file is
    // even opened.
    if (destination.isEmpty())
        return failure(OperationMessages::outputNotSaved());
    QFile in(workFile);
    if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxWorkFileBytes)
        return failure(OperationMessages::outputNotSaved());
    // The destination is only ever replaced by renaming a completed
    // temporary file beside it, never written in place.
    AtomicFileWriter out(destination);
    if (!out.open())
        return failure(OperationMessages::outputNotSaved());

    const QString copyError = copyChunks(in, out, cancel);
    if (!copyError.isEmpty()) {
        out.discard();
        return failure(copyError);
    }
    if (!out.commit())
        return failure(out.destinationTaken() ? AtomicFileWriter::destinationTakenSentence()
                                              : OperationMessages::outputNotCommitted());
    return {true, QString()};
}

} // namespace velk
