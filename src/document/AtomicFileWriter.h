#pragma once

// Writes one new file atomically: the bytes go to an unnamed temporary file
// beside the destination, every write is checked, and only a complete file
// replaces the destination, by one rename. Qt's save file opened buffered
// can report a commit as done although its last buffered bytes never
// reached a full disk, so here nothing is buffered: a write either stores
// every byte it was given or the file is marked failed, and a failed file
// is never committed. Until commit() succeeds the destination keeps its old
// content or stays absent, and no temporary file survives (not even a
// killed process leaves one where the kernel offers unnamed files).
//
// A QIODevice, so that writers such as QPdfWriter can paint into it; the
// first short or failed write ends all later writes. Used on one thread by
// whoever owns it; the destination is never opened in place.

#include <QIODevice>
#include <QSaveFile>
#include <QString>

namespace velk {

class AtomicFileWriter : public QIODevice {
public:
    explicit AtomicFileWriter(const QString& destination);
    ~AtomicFileWriter() override;

    // Creates the temporary file; false when the destination's directory
    // cannot take it (missing, read-only, not a directory) or the name is
    // empty.
    bool open();

    // Every byte or false; after a failure all later writes fail too.
    bool writeAll(const QByteArray& bytes);

    // Replaces the destination with what was written. False, with the
    // temporary file removed, after any failed write or when the file
    // cannot be completed or renamed into place.
    bool commit();

    // Drops what was written; the destination is untouched.
    void discard();

    bool hasFailed() const { return m_failed; }
    // The underlying file's last error text, for sentences that show it.
    QString fileErrorString() const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QSaveFile m_file;
    bool m_failed = false;
};

} // namespace velk
