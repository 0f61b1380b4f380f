#pragma once

// Writes one file atomically: the bytes go to an unnamed temporary file in
// the destination's folder, every write is checked, the file is synced, and
// only a complete file takes the destination's name. Until commit()
// succeeds the destination keeps its old content or stays absent, and no
// temporary file is ever named in the folder, so not even a process killed
// mid-write leaves one (where a file system cannot make unnamed files, a
// named one is used and removed on every path but a kill).
//
// A destination that exists when the writer opens is replaced (the user
// chose it, and its permissions are kept); one that does not is created
// only if nobody else created it meanwhile: when two writers race for the
// same new name, exactly one wins and the other is refused with
// destinationTaken(), the winner's file intact.
//
// A QIODevice, so that writers such as QPdfWriter can paint into it; the
// first failed or short write fails the file, and a failed file is never
// committed. Used on one thread by whoever owns it.

#include <QIODevice>
#include <QString>

namespace velk {

class AtomicFileWriter : public QIODevice {
public:
    explicit AtomicFileWriter(const QString& destination);
    ~AtomicFileWriter() override;

    // Creates the temporary file; false when the destination's folder
    // cannot take it (missing, read-only, not a folder), when the
    // destination is a folder, or the name is empty.
    bool open();

    // Every byte or false; after a failure all later writes fail too.
    bool writeAll(const QByteArray& bytes);

    // Gives the destination what was written. False, with the temporary
    // file gone, after any failed write, when the file cannot be completed
    // on disk, or when a new destination was taken by someone else.
    bool commit();

    // Drops what was written; the destination is untouched.
    void discard();

    bool hasFailed() const { return m_failed; }
    // After a failed commit: another process created the new destination
    // first; its file was left as it is.
    bool destinationTaken() const { return m_taken; }
    // The system's reason for the last failure, for sentences that show it.
    QString fileErrorString() const { return m_error; }

    // The sentence for a refused race; shown unchanged.
    static QString destinationTakenSentence();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool openTemporary(const QByteArray& folder);
    bool fail(int error);
    bool linkInto(const QByteArray& name);
    bool publish();

    QString m_destination;
    QByteArray m_target;       // the final name; a link's target when replacing through one
    QByteArray m_namedTemporary; // empty while the file has no name
    int m_fd = -1;
    bool m_replace = false;
    bool m_failed = false;
    bool m_taken = false;
    QString m_error;
};

} // namespace velk
