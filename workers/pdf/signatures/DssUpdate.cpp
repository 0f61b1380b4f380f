#include "signatures/DssUpdate.h"

#include "signatures/SignatureLimits.h"

#include <QCryptographicHash>
#include <QDateTime>

namespace velk {

namespace {

struct Kind {
    const char* name;
    const char* dssKey;
    const char* vriKey;
};

constexpr Kind kKinds[] = {
    {"Certs", "/Certs", "/Cert"},
    {"OCSPs", "/OCSPs", "/OCSP"},
    {"CRLs", "/CRLs", "/CRL"},
};

QByteArray digest(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
}

} // namespace

DssUpdate::DssUpdate(Qpdf& qpdf, qpdf_oh dss)
    : m_qpdf(qpdf)
    , m_dss(dss)
{
}

void DssUpdate::build(Qpdf& qpdf, qpdf_oh catalog, const QByteArray& vriKey, bool documentTimestamp,
                      const QList<EvidenceSource>& sources)
{
    const qpdf_oh old = qpdf.key(catalog, "/DSS");
    const qpdf_oh dss = qpdf.isDictionary(old) ? qpdf.copyDirect(old) : qpdf.parse("<< >>");
    const qpdf_oh oldVri = qpdf.key(dss, "/VRI");
    const qpdf_oh vri = qpdf.isDictionary(oldVri) ? qpdf.copyDirect(oldVri) : qpdf.parse("<< >>");
    const qpdf_oh entry = qpdf.parse("<< /Type /VRI >>");
    if (!documentTimestamp) {
        const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'"));
        qpdf.setKey(entry, "/TU", qpdf.parse("(" + now.toLatin1() + ")"));
    }
    DssUpdate update(qpdf, dss);
    for (const Kind& kind : kKinds)
        qpdf.setKey(dss, kind.dssKey, update.addKind(kind.name, sources, entry, kind.vriKey));
    const QByteArray key = '/' + vriKey;
    qpdf.setKey(vri, key.constData(), qpdf.makeIndirect(entry));
    if (qpdf.keys(vri, SignatureLimits::kMaxVriEntries + 1).size() > SignatureLimits::kMaxVriEntries)
        throw QpdfFailure("VRI limit");
    qpdf.setKey(dss, "/VRI", vri);
    qpdf.setKey(catalog, "/DSS", qpdf.makeIndirect(dss));
}

// The DSS array of one kind with the new evidence appended (bytes already
// stored there are referenced instead), and the VRI entry's list.
qpdf_oh DssUpdate::addKind(const char* name, const QList<EvidenceSource>& sources, qpdf_oh entry,
                           const char* vriName)
{
    const QByteArray dssKey = QByteArray("/") + name;
    const qpdf_oh old = m_qpdf.key(m_dss, dssKey.constData());
    const qpdf_oh array = m_qpdf.isArray(old) ? m_qpdf.copyDirect(old) : m_qpdf.parse("[]");
    QHash<QByteArray, qpdf_oh> stored = storedStreams(array);
    const qpdf_oh list = m_qpdf.parse("[]");
    for (const EvidenceSource& source : sources) {
        if (source.kind != QLatin1String(name))
            continue;
        const QByteArray hash = digest(source.data);
        auto found = stored.constFind(hash);
        if (found == stored.constEnd()) {
            countBytes(source.data.size());
            const qpdf_oh stream = m_qpdf.addStreamObject(m_qpdf.parse("<< >>"), source.data);
            m_qpdf.appendItem(array, stream);
            found = stored.insert(hash, stream);
        }
        if (source.vri)
            m_qpdf.appendItem(list, found.value());
    }
    if (m_qpdf.arraySize(array) > SignatureLimits::kMaxEvidenceItems)
        throw QpdfFailure("array limit");
    if (m_qpdf.arraySize(list) > 0)
        m_qpdf.setKey(entry, vriName, list);
    return array;
}

// Digest of each stored item's data → the item, read as the evidence
// reading reads it and counted against the same total.
QHash<QByteArray, qpdf_oh> DssUpdate::storedStreams(qpdf_oh array)
{
    QHash<QByteArray, qpdf_oh> stored;
    const int count = m_qpdf.arraySize(array);
    if (count > SignatureLimits::kMaxEvidenceItems)
        throw QpdfFailure("array limit");
    for (int index = 0; index < count; ++index) {
        const qpdf_oh item = m_qpdf.arrayItem(array, index);
        if (!m_qpdf.isStream(item))
            throw QpdfFailure("DSS stream");
        const QByteArray data = m_qpdf.streamData(item, kQpdfDecodeGeneralized);
        if (data.size() > SignatureLimits::kMaxEvidenceStreamBytes)
            throw QpdfFailure("DSS size");
        const QByteArray hash = digest(data);
        if (!stored.contains(hash)) {
            countBytes(data.size());
            stored.insert(hash, item);
        }
    }
    return stored;
}

void DssUpdate::countBytes(qint64 bytes)
{
    if (bytes > SignatureLimits::kMaxEvidenceTotalBytes - m_bytes)
        throw QpdfFailure("DSS size");
    m_bytes += bytes;
}

} // namespace velk
