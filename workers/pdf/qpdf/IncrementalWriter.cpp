// The incremental writer of Qpdf: one update appended to the untouched
// source bytes, with a classic cross-reference table whose /Prev is the
// source's last startxref, so that every earlier signature keeps covering
// exactly the bytes it signed.

#include "Qpdf.h"

#include "QpdfLimits.h"

#include <QFile>
#include <QRegularExpression>

namespace velk {

namespace {

QByteArray readSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > QpdfLimits::kMaxIncrementalBytes)
        throw QpdfFailure("write");
    QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        throw QpdfFailure("write");
    return bytes;
}

// The offset after the last "startxref" of the file's tail; whatever
// follows "%%EOF" except white space makes the file unusable here.
qint64 lastStartXref(const QByteArray& source)
{
    static const QRegularExpression pattern(QStringLiteral("startxref\\s+([0-9]+)\\s+%%EOF\\s*$"));
    const qsizetype tailSize = qMin<qsizetype>(source.size(), QpdfLimits::kTrailerTailBytes);
    const QString tail = QString::fromLatin1(source.right(tailSize));
    QRegularExpressionMatchIterator matches = pattern.globalMatch(tail);
    QRegularExpressionMatch last;
    while (matches.hasNext())
        last = matches.next();
    if (!last.hasMatch())
        throw QpdfFailure("write");
    bool ok = false;
    const qint64 offset = last.captured(1).toLongLong(&ok);
    if (!ok || offset < 0 || offset >= source.size())
        throw QpdfFailure("write");
    return offset;
}

QByteArray padded(qint64 value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0');
}

// Created new; a write that stops short leaves no file behind.
bool writeNewFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
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
    QByteArray result;
    try {
        result = incrementalUpdate(readSource(source));
    } catch (const QpdfFailure&) {
        return false;
    }
    if (result.size() > QpdfLimits::kMaxIncrementalBytes)
        return false;
    return writeNewFile(output, result);
}

QByteArray Qpdf::incrementalUpdate(const QByteArray& source)
{
    const qint64 previous = lastStartXref(source);
    const qpdf_oh oldTrailer = trailer();
    const qpdf_oh oldSize = key(oldTrailer, "/Size");
    if (!isInteger(oldSize) || hasKey(oldTrailer, "/Encrypt"))
        throw QpdfFailure("write");
    qint64 size = integerValue(oldSize);
    if (size < 1 || size > QpdfLimits::kMaxTrailerSize)
        throw QpdfFailure("write");

    QByteArray out = source + '\n';
    QByteArray table = "xref\n";
    for (const auto& [number, handle] : m_changedObjects) {
        const auto data = m_newStreamData.find(number);
        // A stream qpdf holds would be written without its data.
        if (isStream(handle) && data == m_newStreamData.end())
            throw QpdfFailure("write");
        const int generation = this->generation(handle);
        table += QByteArray::number(number) + " 1\n" + padded(out.size(), 10) + ' ' + padded(generation, 5) + " n \n";
        out += QByteArray::number(number) + ' ' + QByteArray::number(generation) + " obj\n" + unparseResolved(handle);
        if (data != m_newStreamData.end())
            out += "\nstream\n" + data->second + "\nendstream";
        out += "\nendobj\n";
        size = qMax<qint64>(size, qint64(number) + 1);
        if (out.size() > QpdfLimits::kMaxIncrementalBytes)
            throw QpdfFailure("write");
    }
    const qint64 xrefOffset = out.size();
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
