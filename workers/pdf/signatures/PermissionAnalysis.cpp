#include "signatures/PermissionAnalysis.h"

#include "signatures/SignatureLimits.h"

#include <algorithm>

namespace velk {

namespace {

// A DocMDP transform without /P grants form filling and signing.
constexpr int kDefaultDocMdp = 2;

bool isLockAction(const QByteArray& action)
{
    return action == "/All" || action == "/Include" || action == "/Exclude";
}

} // namespace

PermissionAnalysis::PermissionAnalysis(Qpdf& qpdf)
    : m_qpdf(qpdf)
{
}

QJsonObject PermissionAnalysis::permissions(Qpdf& qpdf, qpdf_oh catalog)
{
    PermissionAnalysis analysis(qpdf);
    if (qpdf.hasKey(catalog, "/Perms")) {
        const qpdf_oh perms = qpdf.key(catalog, "/Perms");
        if (!qpdf.isDictionary(perms))
            throw QpdfFailure("invalid permissions");
        const qpdf_oh certification = qpdf.key(perms, "/DocMDP");
        if (qpdf.isDictionary(certification))
            analysis.analyseReferences(certification);
        // Usage rights alone, or a certification without a transform we
        // understand, are not a permission we can enforce.
        if (analysis.m_docMdp == 0)
            throw QpdfFailure("unsupported permissions");
    }
    const qpdf_oh acroForm = qpdf.key(catalog, "/AcroForm");
    if (qpdf.isDictionary(acroForm))
        analysis.walkFields(qpdf.key(acroForm, "/Fields"), 0);
    // Every call checks qpdf's error state; a last look covers the walk.
    qpdf.root();
    return analysis.result();
}

QJsonObject PermissionAnalysis::result() const
{
    return QJsonObject{{QStringLiteral("ok"), true},
                       {QStringLiteral("docMdp"), m_docMdp},
                       {QStringLiteral("fieldMdp"), m_descriptions.join(QStringLiteral("; "))},
                       {QStringLiteral("locks"), m_locks},
                       {QStringLiteral("emptySignatures"), m_emptySignatures}};
}

void PermissionAnalysis::countItem(const char* reason)
{
    if (++m_items > SignatureLimits::kMaxAnalysedItems)
        throw QpdfFailure(reason);
}

QString PermissionAnalysis::description(const QByteArray& unparsed) const
{
    return QString::fromLatin1(unparsed.left(SignatureLimits::kMaxDescriptionCharacters));
}

void PermissionAnalysis::analyseReferences(qpdf_oh signature)
{
    if (!m_qpdf.hasKey(signature, "/Reference"))
        return;
    const qpdf_oh references = m_qpdf.key(signature, "/Reference");
    if (!m_qpdf.isArray(references))
        throw QpdfFailure("invalid signature references");
    const int count = m_qpdf.arraySize(references);
    for (int index = 0; index < count; ++index) {
        countItem("permissions limit");
        const qpdf_oh reference = m_qpdf.arrayItem(references, index);
        if (!m_qpdf.isDictionary(reference))
            throw QpdfFailure("invalid signature references");
        analyseReference(reference);
    }
}

void PermissionAnalysis::analyseReference(qpdf_oh reference)
{
    const QByteArray method = m_qpdf.unparse(m_qpdf.key(reference, "/TransformMethod"));
    const qpdf_oh params = m_qpdf.key(reference, "/TransformParams");
    if (method == "/DocMDP") {
        if (m_qpdf.hasKey(reference, "/TransformParams") && !m_qpdf.isDictionary(params))
            throw QpdfFailure("invalid DocMDP");
        const qpdf_oh level = m_qpdf.key(params, "/P");
        int p = kDefaultDocMdp;
        if (m_qpdf.unparse(level) != "null") {
            const qint64 value = m_qpdf.isInteger(level) ? m_qpdf.integerValue(level) : 0;
            if (value < 1 || value > 3)
                throw QpdfFailure("invalid DocMDP");
            p = int(value);
        }
        m_docMdp = m_docMdp == 0 ? p : std::min(m_docMdp, p);
        return;
    }
    if (method == "/FieldMDP") {
        if (!m_qpdf.isDictionary(params))
            throw QpdfFailure("invalid FieldMDP");
        recordLock(params);
        const QByteArray action = m_qpdf.unparse(m_qpdf.key(params, "/Action"));
        m_descriptions << QString::fromLatin1(action) + QLatin1Char(' ')
                              + description(m_qpdf.unparse(m_qpdf.key(params, "/Fields")));
        return;
    }
    throw QpdfFailure("unknown transform");
}

void PermissionAnalysis::recordLock(qpdf_oh lock)
{
    const QByteArray action = m_qpdf.unparse(m_qpdf.key(lock, "/Action"));
    if (!isLockAction(action))
        throw QpdfFailure("invalid FieldMDP action");
    QJsonArray names;
    if (action != "/All") {
        const qpdf_oh fields = m_qpdf.key(lock, "/Fields");
        if (!m_qpdf.isArray(fields) || m_qpdf.arraySize(fields) > SignatureLimits::kMaxLockedNames)
            throw QpdfFailure("invalid locked fields");
        const int count = m_qpdf.arraySize(fields);
        for (int index = 0; index < count; ++index) {
            const qpdf_oh name = m_qpdf.arrayItem(fields, index);
            if (!m_qpdf.isString(name))
                throw QpdfFailure("invalid field name");
            names.append(m_qpdf.utf8Value(name));
        }
    }
    m_locks.append(QJsonObject{{QStringLiteral("action"), QString::fromLatin1(action)},
                               {QStringLiteral("fields"), names}});
}

void PermissionAnalysis::walkFields(qpdf_oh kids, int depth)
{
    if (!m_qpdf.isArray(kids))
        return;
    if (depth > SignatureLimits::kMaxFieldDepth)
        throw QpdfFailure("field depth");
    const int count = m_qpdf.arraySize(kids);
    for (int index = 0; index < count; ++index) {
        countItem("field count");
        const qpdf_oh field = m_qpdf.arrayItem(kids, index);
        const int number = m_qpdf.objectNumber(field);
        if (number != 0) {
            const quint64 key = (quint64(quint32(number)) << 32) | quint32(m_qpdf.generation(field));
            if (m_visitedFields.contains(key))
                continue;
            m_visitedFields.insert(key);
        }
        analyseField(field);
        walkFields(m_qpdf.key(field, "/Kids"), depth + 1);
    }
}

void PermissionAnalysis::analyseField(qpdf_oh field)
{
    const qpdf_oh value = m_qpdf.key(field, "/V");
    const bool signedField = m_qpdf.isDictionary(value);
    if (m_qpdf.unparse(m_qpdf.key(field, "/FT")) == "/Sig") {
        if (!signedField) {
            // Absent, null, or a reference to nothing: an offer to sign.
            if (m_qpdf.isArray(value) || m_qpdf.isStream(value) || m_qpdf.unparseResolved(value) != "null")
                throw QpdfFailure("malformed signature value");
            ++m_emptySignatures;
        } else if (!m_qpdf.isString(m_qpdf.key(value, "/Contents"))
                   || !m_qpdf.isArray(m_qpdf.key(value, "/ByteRange"))) {
            throw QpdfFailure("malformed signature value");
        }
    }
    if (signedField)
        analyseReferences(value);
    const qpdf_oh lock = m_qpdf.key(field, "/Lock");
    // A lock takes effect when its field is signed; before that it only
    // describes what signing will lock.
    if (signedField && m_qpdf.isDictionary(lock)) {
        recordLock(lock);
        m_descriptions << description(m_qpdf.unparse(m_qpdf.copyDirect(lock)));
    }
}

} // namespace velk
