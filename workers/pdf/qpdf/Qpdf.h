#pragma once

// One binding of the qpdf library and one document read through it: loads
// libqpdf.so.29 from the engine directory (the running executable's own
// unless a directory is named), resolves the
// whole function table, creates the document handle, and offers a thin
// object layer on top (parsing object text, direct copies with limits, the
// indirect objects changed so far, raw data of streams the layer creates).
// One per operation, owned by the handler, on the worker's single thread.
//
// After bindQpdf() succeeded every other call may fail with QpdfFailure
// carrying a short internal reason; handlers catch it once and answer with
// their own sentence. Object handles belong to this document only.

#include "qpdf/QpdfFunctions.h"
#include "qpdf/QpdfHandles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

namespace velk {

// The layer's failure, never shown to the user: "qpdf", "array limit",
// "dictionary limit", …
class QpdfFailure : public std::runtime_error {
public:
    explicit QpdfFailure(const char* reason)
        : std::runtime_error(reason)
    {
    }
};

class Qpdf {
public:
    Qpdf();
    ~Qpdf();
    Qpdf(const Qpdf&) = delete;
    Qpdf& operator=(const Qpdf&) = delete;

    // Loads the library, resolves every function, creates the document
    // handle and makes qpdf quiet and strict (no recovery, no warnings on
    // standard error). False on any failure; nothing else may be called.
    bool bindQpdf();
    bool bindQpdf(const QString& directory);
    bool isBound() const { return bool(m_data); }

    // A status with the errors bit is a failure; warnings are accepted.
    // An empty password reads a document encrypted with an empty user
    // password, and nothing else that is encrypted.
    void readFile(const QString& path, const QByteArray& password = {});
    // qpdf reads from the layer's own copy of the bytes.
    void readMemory(const QByteArray& bytes);
    // The whole document, fully rewritten with qpdf's defaults and the
    // object streams of the input kept.
    QByteArray writeToMemory();

    qpdf_oh root();
    qpdf_oh trailer();
    // Past the last page qpdf reports an error.
    qpdf_oh page(int index);

    // A new direct object from PDF object text.
    qpdf_oh parse(const QByteArray& text);
    // The object's text; an indirect object gives its reference ("12 0 R").
    QByteArray unparse(qpdf_oh handle);
    QByteArray unparseResolved(qpdf_oh handle);

    bool isDictionary(qpdf_oh handle);
    bool isArray(qpdf_oh handle);
    bool isString(qpdf_oh handle);
    bool isStream(qpdf_oh handle);
    bool isInteger(qpdf_oh handle);
    // The value of an integer object.
    qint64 integerValue(qpdf_oh handle);
    // 0 for a direct object.
    int objectNumber(qpdf_oh handle);
    int generation(qpdf_oh handle);
    bool hasKey(qpdf_oh dictionary, const char* key);
    // The null object when the key is absent.
    qpdf_oh key(qpdf_oh dictionary, const char* key);
    // Every key of a dictionary; more than limit keys throws "dictionary
    // limit".
    QList<QByteArray> keys(qpdf_oh dictionary, int limit);
    qpdf_oh streamDictionary(qpdf_oh stream);
    int arraySize(qpdf_oh array);
    qpdf_oh arrayItem(qpdf_oh array, int index);
    QString utf8Value(qpdf_oh string);
    // The bytes of a string object exactly as stored (after decryption).
    QByteArray stringBytes(qpdf_oh string);
    // A stream's data at a decode level (kQpdfDecodeNone,
    // kQpdfDecodeGeneralized); data that cannot be decoded at that level
    // throws "qpdf".
    QByteArray streamData(qpdf_oh stream, int decodeLevel);
    // Gives a handle back to qpdf; the object itself stays in the document.
    void release(qpdf_oh handle);
    // Typed reads, each empty for an object of another type: a number
    // (integer or real), a name with its slash and its escapes decoded
    // ("/Widget"), a boolean.
    std::optional<double> numberValue(qpdf_oh handle);
    QByteArray nameValue(qpdf_oh handle);
    std::optional<bool> boolValue(qpdf_oh handle);

    // Records an indirect object for the incremental writer.
    void markChanged(qpdf_oh handle);
    // Replaces the key and marks the dictionary changed.
    void setKey(qpdf_oh dictionary, const char* key, qpdf_oh value);
    qpdf_oh makeIndirect(qpdf_oh handle);
    // A direct copy: an array or dictionary gets the same items (references
    // stay references), anything else is parsed from its resolved text.
    qpdf_oh copyDirect(qpdf_oh handle);
    void appendItem(qpdf_oh array, qpdf_oh item);
    // A new indirect stream whose dictionary receives every key of the
    // given dictionary, holding these bytes as given (no filter).
    qpdf_oh newStream(qpdf_oh dictionary, const QByteArray& data);
    // A text string from UTF-8, in the form qpdf picks (PDFDocEncoding or
    // UTF-16BE).
    qpdf_oh newUnicodeString(const QByteArray& utf8);

    // For the incremental writer (IncrementalWriter.cpp). A stream it
    // writes is a plain indirect dictionary whose body lives in
    // newStreamData: qpdf would not unparse a stream of its own creation
    // as an object body. /Length is set to the data's size.
    qpdf_oh addStreamObject(qpdf_oh dictionary, const QByteArray& data);
    // The catalog declares the extension level of the signatures it holds
    // and at least version 1.7 (a 2.0 document stays 2.0).
    void addDocumentExtensions(qpdf_oh catalog);
    // Writes source followed by one update holding every changed object;
    // false (and no file at output) on any failure. output must not exist.
    bool writeIncrementalUpdate(const QString& source, const QString& output);

    // Object number → handle, ascending.
    const std::map<int, qpdf_oh>& changedObjects() const { return m_changedObjects; }
    // Object number → raw data the incremental writer emits as its stream.
    std::map<int, QByteArray>& newStreamData() { return m_newStreamData; }

    static QString libraryPath();
    static QStringList functionNames();

private:
    // Throws "qpdf" when qpdf reports an error for the last call, and for
    // every call after the first error.
    void check();
    void checkStatus(int status);
    QByteArray incrementalUpdate(qint64 sourceSize, qint64 previous);
    QByteArray updateTrailer(qint64 size, qint64 previous, qint64 xrefOffset);

    QpdfFunctions m_api;
    QpdfDataHandle m_data;
    QByteArray m_input;
    bool m_failed = false;
    std::map<int, qpdf_oh> m_changedObjects;
    std::map<int, QByteArray> m_newStreamData;
};

} // namespace velk
