#pragma once

// The permission analysis of a document and of its signed and later
// revisions, asked of the sandboxed worker ("signaturePolicy"). A revision
// is the file's first bytes up to its end; it is written to the run's
// private directory, analysed and deleted at once. Each (revision end,
// evidence) pair is asked once per run: the same bytes give the same
// answer, so a document with n signatures costs about 2n worker runs
// instead of one per pair of signature and later revision.
//
// One per verification run, used by its pool thread only; owns the run's
// private directory, removed with it.

#include "worker/runner/CancelFlag.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace velk {

struct PolicyReply {
    QJsonObject json;
    // Empty on success, else one Turkish sentence.
    QString error;
};

class RevisionPolicySource {
public:
    // file: the document's bytes as verification read them; workingPath:
    // the same document on disk.
    RevisionPolicySource(QByteArray file, QString workingPath, CancelFlag cancel, QString applicationDirectory);

    const QByteArray& file() const { return m_file; }
    const CancelFlag& cancel() const { return m_cancel; }

    // The whole document, with its stored evidence.
    PolicyReply documentPolicy();
    // The revision ending at end (1 ≤ end ≤ file size), with its snapshot
    // and, when asked, its stored evidence.
    PolicyReply revisionPolicy(qint64 end, bool evidence);

private:
    PolicyReply run(const QString& path, bool snapshot, bool evidence);

    QByteArray m_file;
    QString m_workingPath;
    CancelFlag m_cancel;
    QString m_applicationDirectory;
    std::shared_ptr<QTemporaryDir> m_directory;
    bool m_directoryTried = false;
    QHash<QPair<qint64, bool>, PolicyReply> m_revisions;
};

} // namespace velk
