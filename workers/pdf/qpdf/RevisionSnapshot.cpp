#include "qpdf/RevisionSnapshot.h"

#include <QCryptographicHash>

namespace velk {

namespace {

// The keys a signature field may carry and still be signed later without
// its own appearance or behaviour changing.
bool isSafeSignatureKey(const QByteArray& key)
{
    static const QSet<QByteArray> safe = {"/Type", "/Subtype", "/FT", "/T", "/V",  "/Rect",
                                          "/P",    "/F",       "/AP", "/AS", "/Parent"};
    return safe.contains(key);
}

} // namespace

RevisionSnapshot::RevisionSnapshot(Qpdf& qpdf, const SnapshotLimits& limits)
    : m_qpdf(qpdf)
    , m_limits(limits)
    , m_digest(qpdf, limits)
{
}

QJsonObject RevisionSnapshot::build(Qpdf& qpdf, const SnapshotLimits& limits, qint64* visitsUsed)
{
    RevisionSnapshot snapshot(qpdf, limits);
    QJsonObject result = snapshot.compose();
    if (visitsUsed)
        *visitsUsed = snapshot.m_digest.visits();
    return result;
}

QJsonObject RevisionSnapshot::compose()
{
    const qpdf_oh catalog = m_qpdf.root();
    const qpdf_oh acroForm = m_qpdf.key(catalog, "/AcroForm");
    if (m_qpdf.isDictionary(acroForm))
        walkFields(m_qpdf.key(acroForm, "/Fields"), QString(), QByteArray(), 0);
    walkPages(m_qpdf.key(catalog, "/Pages"), 0);

    const qpdf_oh trailer = m_qpdf.trailer();
    QJsonObject snapshot;
    snapshot.insert(QStringLiteral("base"),
                    QString::fromLatin1(m_digest.snapshotDigest(catalog, {"/AcroForm", "/DSS"})));
    snapshot.insert(QStringLiteral("form"),
                    QString::fromLatin1(m_digest.snapshotDigest(acroForm, {"/Fields", "/SigFlags"})));
    snapshot.insert(QStringLiteral("fields"), m_fields);
    snapshot.insert(QStringLiteral("annotations"), m_annotations);
    snapshot.insert(QStringLiteral("dss"),
                    QString::fromLatin1(m_digest.snapshotDigest(m_qpdf.key(catalog, "/DSS"))));
    snapshot.insert(QStringLiteral("trailer"),
                    QString::fromLatin1(m_digest.snapshotDigest(m_qpdf.key(trailer, "/Info"))
                                        + m_digest.snapshotDigest(m_qpdf.key(trailer, "/Encrypt"))));
    snapshot.insert(QStringLiteral("prev"), QString::fromLatin1(m_qpdf.unparse(m_qpdf.key(trailer, "/Prev"))));
    return snapshot;
}

void RevisionSnapshot::walkFields(qpdf_oh kids, const QString& parentName, const QByteArray& inheritedType,
                                  int depth)
{
    if (!m_qpdf.isArray(kids))
        return;
    const int count = m_qpdf.arraySize(kids);
    if (depth > m_limits.maxTreeDepth || count > m_limits.maxFieldsPerArray)
        throw QpdfFailure("snapshot fields");
    for (int index = 0; index < count; ++index) {
        const qpdf_oh field = m_qpdf.arrayItem(kids, index);
        const int number = m_qpdf.objectNumber(field);
        // A field listed twice, or inside its own kids, would let one
        // revision's record stand for two places in the tree.
        if (number == 0 || !m_qpdf.isDictionary(field) || m_registeredFields.contains(number))
            throw QpdfFailure("ambiguous field tree");
        m_registeredFields.insert(number);

        QString name = parentName;
        const qpdf_oh title = m_qpdf.key(field, "/T");
        if (m_qpdf.isString(title)) {
            const QString text = m_qpdf.utf8Value(title);
            name = parentName.isEmpty() ? text : parentName + QLatin1Char('.') + text;
        }
        const QByteArray type = m_qpdf.hasKey(field, "/FT") ? m_qpdf.unparse(m_qpdf.key(field, "/FT")) : inheritedType;
        m_fields.insert(QString::number(number), fieldRecord(field, name, type));
        walkFields(m_qpdf.key(field, "/Kids"), name, type, depth + 1);
    }
}

QJsonObject RevisionSnapshot::fieldRecord(qpdf_oh field, const QString& name, const QByteArray& type)
{
    const qpdf_oh value = m_qpdf.key(field, "/V");
    const bool signedField = m_qpdf.isDictionary(value);
    QByteArray valueType;
    bool signatureShape = false;
    if (signedField) {
        valueType = m_qpdf.unparse(m_qpdf.key(value, "/Type"));
        signatureShape =
            m_qpdf.isArray(m_qpdf.key(value, "/ByteRange")) && m_qpdf.isString(m_qpdf.key(value, "/Contents"));
    }
    const bool timestamp = valueType == "/DocTimeStamp";
    bool safe = true;
    for (const QByteArray& key : m_qpdf.keys(field, m_limits.maxKeys))
        safe = safe && isSafeSignatureKey(key);

    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("type"), QString::fromLatin1(type)},
        {QStringLiteral("structure"),
         QString::fromLatin1(m_digest.snapshotDigest(field, {"/V", "/AS", "/AP", "/Kids"}))},
        {QStringLiteral("value"), QString::fromLatin1(m_digest.snapshotDigest(value))},
        {QStringLiteral("appearance"), QString::fromLatin1(m_digest.snapshotDigest(m_qpdf.key(field, "/AP"))
                                                          + m_digest.snapshotDigest(m_qpdf.key(field, "/AS")))},
        {QStringLiteral("signed"), signedField},
        {QStringLiteral("signature"), (valueType == "/Sig" || timestamp) && signatureShape},
        {QStringLiteral("safeSignatureField"), safe},
        {QStringLiteral("timestamp"), timestamp},
    };
}

void RevisionSnapshot::walkPages(qpdf_oh node, int depth)
{
    try {
        m_digest.countVisit();
    } catch (const QpdfFailure&) {
        throw QpdfFailure("snapshot pages");
    }
    if (depth > m_limits.maxTreeDepth)
        throw QpdfFailure("snapshot pages");
    if (m_qpdf.unparse(m_qpdf.key(node, "/Type")) != "/Pages") {
        readPage(node);
        return;
    }
    const qpdf_oh kids = m_qpdf.key(node, "/Kids");
    if (!m_qpdf.isArray(kids) || m_qpdf.arraySize(kids) > m_limits.maxPageKids)
        throw QpdfFailure("page kids");
    const int count = m_qpdf.arraySize(kids);
    for (int index = 0; index < count; ++index)
        walkPages(m_qpdf.arrayItem(kids, index), depth + 1);
}

void RevisionSnapshot::readPage(qpdf_oh page)
{
    const int pageNumber = m_qpdf.objectNumber(page);
    QByteArray digests;
    if (m_qpdf.hasKey(page, "/Annots")) {
        const qpdf_oh annotations = m_qpdf.key(page, "/Annots");
        if (!m_qpdf.isArray(annotations))
            throw QpdfFailure("invalid annotations");
        const int count = m_qpdf.arraySize(annotations);
        if (count > m_limits.maxAnnotationsPerPage)
            throw QpdfFailure("annotations limit");
        for (int index = 0; index < count; ++index) {
            const qpdf_oh annotation = m_qpdf.arrayItem(annotations, index);
            if (m_qpdf.unparse(m_qpdf.key(annotation, "/Subtype")) != "/Widget") {
                digests += m_digest.snapshotDigest(annotation);
                continue;
            }
            // Every widget belongs to a field the form lists, so that a
            // widget added or changed always shows as a field change.
            const QString field = QString::number(m_qpdf.objectNumber(annotation));
            if (!m_fields.contains(field))
                throw QpdfFailure("unregistered widget");
            QJsonObject record = m_fields.value(field).toObject();
            record.insert(QStringLiteral("page"), pageNumber);
            m_fields.insert(field, record);
        }
    }
    m_annotations.insert(QString::number(pageNumber),
                         QString::fromLatin1(QCryptographicHash::hash(digests, QCryptographicHash::Sha256).toHex()));
}

} // namespace velk
