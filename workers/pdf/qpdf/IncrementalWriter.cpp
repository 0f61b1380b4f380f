// The incremental writer of Qpdf: one update appended to the untouched
// source bytes, with a classic cross-reference table whose /Prev is the
// source's last startxref, so that every earlier signature keeps covering
// exactly the bytes it signed.

#include "qpdf/Qpdf.h"

#include "qpdf/QpdfLimits.h"

#include <QFile>
#include <QRegularExpression>

namespace velk {

namespace {

// The source is copied, never held whole: only its size and its last
// bytes, where the trailer is, are read here.
struct SourceEnd {
    qint64 size = 0;
    QByteArray tail;
};

SourceEnd readSourceEnd(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > QpdfLimits::kMaxIncrementalBytes)
        throw QpdfFailure("write");
    SourceEnd end{file.size(), {}};
    const qint64 tailSize = qMin(end.size, QpdfLimits::kTrailerTailBytes);
    if (!file.seek(end.size - tailSize))
        throw QpdfFailure("write");
    end.tail = file.read(tailSize);
    if (end.tail.size() != tailSize)
        throw QpdfFailure("write");
    return end;
}

// The offset after the last "startxref" of the file's tail; whatever
// follows "%%EOF" except white space makes the file unusable here.
qint64 lastStartXref(const SourceEnd& source)
{
    static const QRegularExpression pattern(QStringLiteral("startxref\\s+([0-9]+)\\s+%%EOF\\s*$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(source.tail));
    if (!match.hasMatch())
        throw QpdfFailure("write");
    bool ok = false;
    const qint64 offset = match.captured(1).toLongLong(&ok);
    if (!ok || offset < 0 || offset >= source.size)
        throw QpdfFailure("write");
    return offset;
}

QByteArray padded(qint64 value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0');
}

bool copyFile(QFile& from, QFile& to, qint64 size)
{
    constexpr qint64 kChunkBytes = 1 << 20;
    qint64 copied = 0;
    while (copied < size) {
        const QByteArray chunk = from.read(qMin(kChunkBytes, size - copied));
        if (chunk.isEmpty() || to.write(chunk) != chunk.size())
            return false;
        copied += chunk.size();
    }
    return from.atEnd();
}

// Created new: the source's bytes, then the update. A write that stops
// short leaves no file behind.
bool writeNewFile(const QString& source, qint64 size, const QString& path, const QByteArray& update)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly) || input.size() != size)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const bool written = copyFile(input, file, size) && file.write(update) == update.size() && file.flush();
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    file.remove();
    return false;
}

} // namespace

qpdf_oh Qpdf::addStreamObject(qpdf_oh dictionary, const QByteArray& data)
{
    if (!isDictionary(dictionary))
        throw QpdfFailure("qpdf");
    setKey(dictionary, "/Length", parse(QByteArray::number(data.size())));
    const qpdf_oh object = makeIndirect(dictionary);
    m_newStreamData[objectNumber(object)] = data;
    return object;
}

void Qpdf::addDocumentExtensions(qpdf_oh catalog)
{
    const qpdf_oh old = key(catalog, "/Extensions");
    const qpdf_oh extensions = isDictionary(old) ? copyDirect(old) : parse("<< >>");
    setKey(extensions, "/ADBE", parse("<< /BaseVersion /1.7 /ExtensionLevel 8 >>"));
    setKey(catalog, "/Extensions", extensions);
    if (unparse(key(catalog, "/Version")) != "/2.0")
        setKey(catalog, "/Version", parse("/1.7"));
}

bool Qpdf::writeIncrementalUpdate(const QString& source, const QString& output)
{
    SourceEnd end;
    QByteArray update;
    try {
        end = readSourceEnd(source);
        update = incrementalUpdate(end.size, lastStartXref(end));
    } catch (const QpdfFailure&) {
        return false;
    }
    if (update.size() > QpdfLimits::kMaxIncrementalBytes - end.size)
        return false;
    return writeNewFile(source, end.size, output, update);
}

// The update alone: it starts with a line feed right after the source's
// last byte, so its offsets count from the source's size.
QByteArray Qpdf::incrementalUpdate(qint64 sourceSize, qint64 previous)
{
    const qpdf_oh oldTrailer = trailer();
    const qpdf_oh oldSize = key(oldTrailer, "/Size");
    if (!isInteger(oldSize) || hasKey(oldTrailer, "/Encrypt"))
        throw QpdfFailure("write");
    qint64 size = integerValue(oldSize);
    if (size < 1 || size > QpdfLimits::kMaxTrailerSize)
        throw QpdfFailure("write");

    QByteArray out = "\n";
    QByteArray table = "xref\n";
    for (const auto& [number, handle] : m_changedObjects) {
        const auto data = m_newStreamData.find(number);
        // A stream qpdf holds would be written without its data.
        if (isStream(handle) && data == m_newStreamData.end())
            throw QpdfFailure("write");
        const int generation = this->generation(handle);
        table += QByteArray::number(number) + " 1\n" + padded(sourceSize + out.size(), 10) + ' '
                 + padded(generation, 5) + " n \n";
        out += QByteArray::number(number) + ' ' + QByteArray::number(generation) + " obj\n" + unparseResolved(handle);
        if (data != m_newStreamData.end())
            out += "\nstream\n" + data->second + "\nendstream";
        out += "\nendobj\n";
        size = qMax<qint64>(size, qint64(number) + 1);
        if (out.size() > QpdfLimits::kMaxIncrementalBytes - sourceSize)
            throw QpdfFailure("write");
    }
    const qint64 xrefOffset = sourceSize + out.size();
    return out + table + updateTrailer(size, previous, xrefOffset);
}

QByteArray Qpdf::updateTrailer(qint64 size, qint64 previous, qint64 xrefOffset)
{
    const qpdf_oh oldTrailer = trailer();
    QByteArray text = "trailer\n<< /Size " + QByteArray::number(size) + " /Root " + unparse(root()) + " /Prev "
                      + QByteArray::number(previous);
    for (const char* name : {"/Info", "/ID"}) {
        if (hasKey(oldTrailer, name))
            text += ' ' + QByteArray(name) + ' ' + unparse(key(oldTrailer, name));
    }
    return text + " >>\nstartxref\n" + QByteArray::number(xrefOffset) + "\n%%EOF\n";
}

} // namespace velk
