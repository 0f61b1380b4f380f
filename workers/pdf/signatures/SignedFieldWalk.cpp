#include "signatures/SignedFieldWalk.h"

#include "signatures/SignatureLimits.h"

#include <algorithm>
#include <limits>

namespace velk {

namespace {

quint64 objectKey(Qpdf& qpdf, qpdf_oh handle)
{
    return (quint64(quint32(qpdf.objectNumber(handle))) << 32) | quint32(qpdf.generation(handle));
}

qint64 rangeEnd(const SignedField& field)
{
    return field.range[2] + field.range[3];
}

} // namespace

SignedFieldWalk::SignedFieldWalk(Qpdf& qpdf)
    : m_qpdf(qpdf)
{
}

std::vector<SignedField> SignedFieldWalk::read(Qpdf& qpdf, qpdf_oh catalog)
{
    SignedFieldWalk walk(qpdf);
    walk.walkForm(catalog);
    if (int(walk.m_values.size()) > SignatureLimits::kMaxSignatures)
        throw QpdfFailure("signature count");
    std::vector<SignedField> fields;
    for (const qpdf_oh value : walk.m_values)
        fields.push_back(walk.readValue(value));
    std::stable_sort(fields.begin(), fields.end(),
                     [](const SignedField& a, const SignedField& b) { return rangeEnd(a) < rangeEnd(b); });
    return fields;
}

int SignedFieldWalk::count(Qpdf& qpdf, qpdf_oh catalog)
{
    SignedFieldWalk walk(qpdf);
    walk.walkForm(catalog);
    return int(walk.m_values.size());
}

void SignedFieldWalk::walkForm(qpdf_oh catalog)
{
    const qpdf_oh acroForm = m_qpdf.key(catalog, "/AcroForm");
    if (m_qpdf.isDictionary(acroForm))
        walk(m_qpdf.key(acroForm, "/Fields"), QByteArray(), 0);
}

void SignedFieldWalk::walk(qpdf_oh kids, const QByteArray& inheritedType, int depth)
{
    if (!m_qpdf.isArray(kids))
        return;
    if (depth > SignatureLimits::kMaxFieldDepth)
        throw QpdfFailure("field depth");
    const int count = m_qpdf.arraySize(kids);
    for (int index = 0; index < count; ++index) {
        if (++m_fields > SignatureLimits::kMaxAnalysedItems)
            throw QpdfFailure("field count");
        const qpdf_oh field = m_qpdf.arrayItem(kids, index);
        if (m_qpdf.objectNumber(field) != 0) {
            const quint64 key = objectKey(m_qpdf, field);
            if (m_visited.contains(key))
                continue;
            m_visited.insert(key);
        }
        const QByteArray type =
            m_qpdf.hasKey(field, "/FT") ? m_qpdf.unparse(m_qpdf.key(field, "/FT")) : inheritedType;
        const qpdf_oh value = m_qpdf.key(field, "/V");
        // A value shared by two fields is one signature.
        const bool sharedValue = m_qpdf.objectNumber(value) != 0 && m_visited.contains(objectKey(m_qpdf, value));
        if (type == "/Sig" && m_qpdf.isDictionary(value) && !sharedValue) {
            if (m_qpdf.objectNumber(value) != 0)
                m_visited.insert(objectKey(m_qpdf, value));
            m_values.push_back(value);
        }
        walk(m_qpdf.key(field, "/Kids"), type, depth + 1);
    }
}

SignedField SignedFieldWalk::readValue(qpdf_oh value)
{
    const qpdf_oh contents = m_qpdf.key(value, "/Contents");
    if (!m_qpdf.isString(contents))
        throw QpdfFailure("signature value");
    SignedField field;
    field.contents = m_qpdf.stringBytes(contents);
    if (field.contents.isEmpty() || field.contents.size() > SignatureLimits::kMaxContentsBytes)
        throw QpdfFailure("signature size");
    field.range = readRange(value);

    const QByteArray filter = m_qpdf.unparse(m_qpdf.key(value, "/SubFilter"));
    if (!filter.startsWith('/') || filter.size() > SignatureLimits::kMaxSubFilterCharacters + 1)
        throw QpdfFailure("signature value");
    field.filter = QString::fromLatin1(filter.mid(1));

    const qpdf_oh time = m_qpdf.key(value, "/M");
    if (m_qpdf.isString(time)) {
        const QByteArray text = m_qpdf.stringBytes(time);
        if (text.size() <= SignatureLimits::kMaxTimeCharacters)
            field.time = QString::fromLatin1(text);
    }
    return field;
}

std::array<qint64, 4> SignedFieldWalk::readRange(qpdf_oh value)
{
    const qpdf_oh range = m_qpdf.key(value, "/ByteRange");
    if (!m_qpdf.isArray(range))
        throw QpdfFailure("signature value");
    if (m_qpdf.arraySize(range) != SignatureLimits::kByteRangeEntries)
        throw QpdfFailure("signature size");
    std::array<qint64, 4> result{};
    for (int index = 0; index < SignatureLimits::kByteRangeEntries; ++index) {
        const qpdf_oh item = m_qpdf.arrayItem(range, index);
        // Unfilled placeholders are ten-digit numbers beyond any offset a
        // 32-bit reader can hold; verification must not see them.
        if (!m_qpdf.isInteger(item))
            throw QpdfFailure("signature size");
        const qint64 number = m_qpdf.integerValue(item);
        if (number < 0 || number > std::numeric_limits<qint32>::max())
            throw QpdfFailure("signature size");
        result[size_t(index)] = number;
    }
    return result;
}

} // namespace velk
