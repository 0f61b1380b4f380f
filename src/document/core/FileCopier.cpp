#include "document/core/FileCopier.h"

namespace velk {

FileCopier::Outcome FileCopier::copy(QFile& in, QIODevice& out, qint64 maxBytes, const CancelFlag& cancel,
                                     qint64& copied)
{
    copied = 0;
    for (;;) {
        if (cancel && cancel->load())
            return Outcome::Cancelled;
        const QByteArray chunk = in.read(kChunkBytes);
        if (chunk.isEmpty())
            return in.error() != QFileDevice::NoError ? Outcome::ReadFailed : Outcome::Copied;
        // The running total stays bounded even if the file grew after it
        // was measured.
        if (copied + chunk.size() > maxBytes)
            return Outcome::TooLarge;
        if (out.write(chunk) != chunk.size())
            return Outcome::WriteFailed;
        copied += chunk.size();
    }
}

} // namespace velk
