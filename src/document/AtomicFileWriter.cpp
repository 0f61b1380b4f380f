#include "AtomicFileWriter.h"

namespace velk {

AtomicFileWriter::AtomicFileWriter(const QString& destination)
    : m_file(destination)
{
    // The destination is only ever replaced by renaming a completed
    // temporary file, never written in place.
    m_file.setDirectWriteFallback(false);
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

bool AtomicFileWriter::open()
{
    // An empty name would become a temporary file in the current directory.
    if (m_file.fileName().isEmpty() || isOpen())
        return false;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    m_failed = false;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool AtomicFileWriter::writeAll(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return isOpen() && !m_failed;
    return write(bytes) == bytes.size();
}

qint64 AtomicFileWriter::writeData(const char* data, qint64 size)
{
    if (m_failed || !m_file.isOpen())
        return -1;
    // Unbuffered: a short count means the file system refused the rest
    // (full disk, size limit); the file can no longer become complete.
    const qint64 written = m_file.write(data, size);
    if (written == size)
        return size;
    // Qt records no error for a write that stored only part; one more try
    // of the rest fails outright and so keeps the system's reason.
    if (written > 0)
        static_cast<void>(m_file.write(data + written, size - written));
    m_failed = true;
    return -1;
}

qint64 AtomicFileWriter::readData(char*, qint64)
{
    return -1;
}

bool AtomicFileWriter::commit()
{
    if (!m_file.isOpen())
        return false;
    if (m_failed || !m_file.flush()) {
        discard();
        return false;
    }
    QIODevice::close();
    // QSaveFile removes its temporary file itself when the rename fails.
    return m_file.commit();
}

void AtomicFileWriter::discard()
{
    if (m_file.isOpen()) {
        // A commit after cancelling removes the temporary file at once
        // instead of when this object goes.
        m_file.cancelWriting();
        static_cast<void>(m_file.commit());
    }
    if (isOpen())
        QIODevice::close();
    m_failed = true;
}

QString AtomicFileWriter::fileErrorString() const
{
    return m_file.errorString();
}

} // namespace velk
