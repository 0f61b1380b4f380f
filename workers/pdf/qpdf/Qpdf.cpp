#include "qpdf/Qpdf.h"

#include "qpdf/QpdfFunctionTable.h"
#include "qpdf/QpdfLimits.h"

#include "common/EngineLibrary.h"

#include <cstdlib>

namespace velk {

namespace {

constexpr char kLibraryName[] = "libqpdf.so.29";
constexpr char kMemoryDescription[] = "document";

QByteArray copied(const char* text)
{
    return text ? QByteArray(text) : QByteArray();
}

} // namespace

Qpdf::Qpdf() = default;

// The document's cleanup runs while the library stays mapped.
Qpdf::~Qpdf()
{
    m_data.reset();
}

QString Qpdf::libraryPath()
{
    return EngineLibrary::pathIn(EngineLibrary::defaultDirectory(), kLibraryName);
}

QStringList Qpdf::functionNames()
{
    return EngineLibrary::functionNames(qpdfFunctionTable());
}

bool Qpdf::bindQpdf()
{
    return bindQpdf(EngineLibrary::defaultDirectory());
}

bool Qpdf::bindQpdf(const QString& directory)
{
    if (m_data)
        return true;
    QpdfFunctions functions;
    if (EngineLibrary::load(EngineLibrary::pathIn(directory, kLibraryName), EngineLibrary::kDefaultFlags,
                            qpdfFunctionTable(), functions)
        != EngineLibrary::Outcome::Loaded)
        return false;
    QpdfDataHandle data(functions.qpdf_init(), QpdfCleanup{functions.qpdf_cleanup});
    if (!data)
        return false;
    functions.qpdf_silence_errors(data.get());
    functions.qpdf_set_attempt_recovery(data.get(), 0);
    functions.qpdf_set_suppress_warnings(data.get(), 1);
    m_api = functions;
    m_data = std::move(data);
    return true;
}

void Qpdf::check()
{
    if (!m_data || m_failed)
        throw QpdfFailure("qpdf");
    if (m_api.qpdf_has_error(m_data.get())) {
        // Taken, so that cleanup stays quiet; the layer stays failed.
        m_api.qpdf_get_error(m_data.get());
        m_failed = true;
        throw QpdfFailure("qpdf");
    }
}

void Qpdf::checkStatus(int status)
{
    check();
    if (status & kQpdfErrors) {
        m_failed = true;
        throw QpdfFailure("qpdf");
    }
}

void Qpdf::readFile(const QString& path, const QByteArray& password)
{
    check();
    checkStatus(m_api.qpdf_read(m_data.get(), path.toUtf8().constData(),
                                password.isEmpty() ? nullptr : password.constData()));
}

void Qpdf::readMemory(const QByteArray& bytes)
{
    check();
    if (bytes.isEmpty() || bytes.size() > QpdfLimits::kMaxDocumentBytes)
        throw QpdfFailure("qpdf");
    // qpdf keeps reading from the buffer while the document lives.
    m_input = bytes;
    checkStatus(m_api.qpdf_read_memory(m_data.get(), kMemoryDescription, m_input.constData(),
                                       static_cast<unsigned long long>(m_input.size()), nullptr));
}

QByteArray Qpdf::writeToMemory()
{
    check();
    checkStatus(m_api.qpdf_init_write_memory(m_data.get()));
    m_api.qpdf_set_object_stream_mode(m_data.get(), kQpdfObjectStreamsPreserved);
    check();
    checkStatus(m_api.qpdf_write(m_data.get()));
    const std::size_t length = m_api.qpdf_get_buffer_length(m_data.get());
    const unsigned char* buffer = m_api.qpdf_get_buffer(m_data.get());
    check();
    if (!buffer || length == 0 || length > std::size_t(QpdfLimits::kMaxWrittenBytes))
        throw QpdfFailure("qpdf");
    return QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(length));
}

qpdf_oh Qpdf::root()
{
    check();
    const qpdf_oh result = m_api.qpdf_get_root(m_data.get());
    check();
    return result;
}

qpdf_oh Qpdf::trailer()
{
    check();
    const qpdf_oh result = m_api.qpdf_get_trailer(m_data.get());
    check();
    return result;
}

qpdf_oh Qpdf::page(int index)
{
    check();
    if (index < 0)
        throw QpdfFailure("qpdf");
    const qpdf_oh result = m_api.qpdf_get_page_n(m_data.get(), std::size_t(index));
    check();
    return result;
}

qpdf_oh Qpdf::parse(const QByteArray& text)
{
    check();
    const qpdf_oh result = m_api.qpdf_oh_parse(m_data.get(), text.constData());
    check();
    return result;
}

QByteArray Qpdf::unparse(qpdf_oh handle)
{
    check();
    QByteArray result = copied(m_api.qpdf_oh_unparse(m_data.get(), handle));
    check();
    return result;
}

QByteArray Qpdf::unparseResolved(qpdf_oh handle)
{
    check();
    QByteArray result = copied(m_api.qpdf_oh_unparse_resolved(m_data.get(), handle));
    check();
    return result;
}

bool Qpdf::isDictionary(qpdf_oh handle)
{
    check();
    const bool result = m_api.qpdf_oh_is_dictionary(m_data.get(), handle) != 0;
    check();
    return result;
}

bool Qpdf::isArray(qpdf_oh handle)
{
    check();
    const bool result = m_api.qpdf_oh_is_array(m_data.get(), handle) != 0;
    check();
    return result;
}

bool Qpdf::isString(qpdf_oh handle)
{
    check();
    const bool result = m_api.qpdf_oh_is_string(m_data.get(), handle) != 0;
    check();
    return result;
}

bool Qpdf::isStream(qpdf_oh handle)
{
    check();
    const bool result = m_api.qpdf_oh_is_stream(m_data.get(), handle) != 0;
    check();
    return result;
}

bool Qpdf::isInteger(qpdf_oh handle)
{
    check();
    const bool result = m_api.qpdf_oh_is_integer(m_data.get(), handle) != 0;
    check();
    return result;
}

qint64 Qpdf::integerValue(qpdf_oh handle)
{
    if (!isInteger(handle))
        throw QpdfFailure("qpdf");
    const qint64 result = m_api.qpdf_oh_get_int_value(m_data.get(), handle);
    check();
    return result;
}

int Qpdf::generation(qpdf_oh handle)
{
    check();
    const int result = m_api.qpdf_oh_get_generation(m_data.get(), handle);
    check();
    return result;
}

int Qpdf::objectNumber(qpdf_oh handle)
{
    check();
    const int result = m_api.qpdf_oh_get_object_id(m_data.get(), handle);
    check();
    return result;
}

bool Qpdf::hasKey(qpdf_oh dictionary, const char* key)
{
    check();
    const bool result = m_api.qpdf_oh_has_key(m_data.get(), dictionary, key) != 0;
    check();
    return result;
}

qpdf_oh Qpdf::key(qpdf_oh dictionary, const char* key)
{
    check();
    const qpdf_oh result = m_api.qpdf_oh_get_key(m_data.get(), dictionary, key);
    check();
    return result;
}

QList<QByteArray> Qpdf::keys(qpdf_oh dictionary, int limit)
{
    check();
    QList<QByteArray> result;
    m_api.qpdf_oh_begin_dict_key_iter(m_data.get(), dictionary);
    check();
    while (m_api.qpdf_oh_dict_more_keys(m_data.get())) {
        check();
        if (result.size() >= limit)
            throw QpdfFailure("dictionary limit");
        result << copied(m_api.qpdf_oh_dict_next_key(m_data.get()));
        check();
    }
    check();
    return result;
}

qpdf_oh Qpdf::streamDictionary(qpdf_oh stream)
{
    check();
    const qpdf_oh result = m_api.qpdf_oh_get_dict(m_data.get(), stream);
    check();
    return result;
}

int Qpdf::arraySize(qpdf_oh array)
{
    check();
    const int result = m_api.qpdf_oh_get_array_n_items(m_data.get(), array);
    check();
    return result < 0 ? 0 : result;
}

qpdf_oh Qpdf::arrayItem(qpdf_oh array, int index)
{
    check();
    const qpdf_oh result = m_api.qpdf_oh_get_array_item(m_data.get(), array, index);
    check();
    return result;
}

QString Qpdf::utf8Value(qpdf_oh string)
{
    check();
    const QByteArray bytes = copied(m_api.qpdf_oh_get_utf8_value(m_data.get(), string));
    check();
    return QString::fromUtf8(bytes);
}

QByteArray Qpdf::stringBytes(qpdf_oh string)
{
    if (!isString(string))
        throw QpdfFailure("qpdf");
    std::size_t length = 0;
    const char* bytes = m_api.qpdf_oh_get_binary_string_value(m_data.get(), string, &length);
    check();
    if (!bytes || length > std::size_t(QpdfLimits::kMaxDocumentBytes))
        throw QpdfFailure("qpdf");
    return QByteArray(bytes, qsizetype(length));
}

QByteArray Qpdf::streamData(qpdf_oh stream, int decodeLevel)
{
    if (!isStream(stream))
        throw QpdfFailure("qpdf");
    int filtered = 0;
    unsigned char* buffer = nullptr;
    std::size_t length = 0;
    m_api.qpdf_oh_get_stream_data(m_data.get(), stream, decodeLevel, &filtered, &buffer, &length);
    // qpdf allocated the buffer with malloc; it is ours on every path.
    // Asked to decode, qpdf hands out undecodable data raw and says so.
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);
    check();
    if ((decodeLevel != kQpdfDecodeNone && !filtered) || (length > 0 && !buffer) || length > std::size_t(QpdfLimits::kMaxStreamDataBytes))
        throw QpdfFailure("qpdf");
    return QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(length));
}

void Qpdf::release(qpdf_oh handle)
{
    check();
    m_api.qpdf_oh_release(m_data.get(), handle);
    check();
}

std::optional<double> Qpdf::numberValue(qpdf_oh handle)
{
    check();
    if (!m_api.qpdf_oh_is_number(m_data.get(), handle)) {
        check();
        return std::nullopt;
    }
    const double result = m_api.qpdf_oh_get_numeric_value(m_data.get(), handle);
    check();
    return result;
}

QByteArray Qpdf::nameValue(qpdf_oh handle)
{
    check();
    if (!m_api.qpdf_oh_is_name(m_data.get(), handle)) {
        check();
        return {};
    }
    QByteArray result = copied(m_api.qpdf_oh_get_name(m_data.get(), handle));
    check();
    return result;
}

std::optional<bool> Qpdf::boolValue(qpdf_oh handle)
{
    check();
    if (!m_api.qpdf_oh_is_bool(m_data.get(), handle)) {
        check();
        return std::nullopt;
    }
    const bool result = m_api.qpdf_oh_get_bool_value(m_data.get(), handle) != 0;
    check();
    return result;
}

void Qpdf::markChanged(qpdf_oh handle)
{
    const int number = objectNumber(handle);
    if (number != 0)
        m_changedObjects[number] = handle;
}

void Qpdf::setKey(qpdf_oh dictionary, const char* key, qpdf_oh value)
{
    check();
    m_api.qpdf_oh_replace_key(m_data.get(), dictionary, key, value);
    check();
    markChanged(dictionary);
}

qpdf_oh Qpdf::makeIndirect(qpdf_oh handle)
{
    check();
    const qpdf_oh result = m_api.qpdf_make_indirect_object(m_data.get(), handle);
    check();
    markChanged(result);
    return result;
}

qpdf_oh Qpdf::copyDirect(qpdf_oh handle)
{
    if (isArray(handle)) {
        const int count = arraySize(handle);
        if (count > QpdfLimits::kMaxCopiedArrayItems)
            throw QpdfFailure("array limit");
        const qpdf_oh copy = parse("[]");
        for (int index = 0; index < count; ++index)
            appendItem(copy, arrayItem(handle, index));
        return copy;
    }
    if (isDictionary(handle)) {
        const QList<QByteArray> names = keys(handle, QpdfLimits::kMaxCopiedDictionaryKeys);
        const qpdf_oh copy = parse("<< >>");
        for (const QByteArray& name : names) {
            m_api.qpdf_oh_replace_key(m_data.get(), copy, name.constData(), key(handle, name.constData()));
            check();
        }
        return copy;
    }
    return parse(unparseResolved(handle));
}

void Qpdf::appendItem(qpdf_oh array, qpdf_oh item)
{
    check();
    m_api.qpdf_oh_append_item(m_data.get(), array, item);
    check();
    markChanged(array);
}

qpdf_oh Qpdf::newStream(qpdf_oh entries, const QByteArray& data)
{
    if (!isDictionary(entries))
        throw QpdfFailure("qpdf");
    const QList<QByteArray> names = keys(entries, QpdfLimits::kMaxCopiedDictionaryKeys);
    const qpdf_oh stream = m_api.qpdf_oh_new_stream(m_data.get());
    check();
    const qpdf_oh none = parse("null");
    m_api.qpdf_oh_replace_stream_data(m_data.get(), stream, reinterpret_cast<const unsigned char*>(data.constData()),
                                      std::size_t(data.size()), none, none);
    check();
    const qpdf_oh target = streamDictionary(stream);
    for (const QByteArray& name : names) {
        m_api.qpdf_oh_replace_key(m_data.get(), target, name.constData(), key(entries, name.constData()));
        check();
    }
    markChanged(stream);
    return stream;
}

qpdf_oh Qpdf::newUnicodeString(const QByteArray& utf8)
{
    check();
    const qpdf_oh result = m_api.qpdf_oh_new_unicode_string(m_data.get(), utf8.constData());
    check();
    return result;
}

} // namespace velk
