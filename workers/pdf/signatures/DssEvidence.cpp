#include "signatures/DssEvidence.h"

#include "signatures/SignatureLimits.h"

namespace velk {

namespace {

struct EvidenceKind {
    const char* name;
    const char* dssKey;
    const char* vriKey;
};

constexpr EvidenceKind kKinds[] = {
    {"Certs", "/Certs", "/Cert"},
    {"OCSPs", "/OCSPs", "/OCSP"},
    {"CRLs", "/CRLs", "/CRL"},
};

} // namespace

DssEvidence::DssEvidence(Qpdf& qpdf)
    : m_qpdf(qpdf)
{
}

void DssEvidence::read(Qpdf& qpdf, qpdf_oh catalog, QJsonObject& reply)
{
    const qpdf_oh dss = qpdf.key(catalog, "/DSS");
    if (!qpdf.isDictionary(dss))
        return;
    DssEvidence evidence(qpdf);
    for (const EvidenceKind& kind : kKinds)
        evidence.collect(qpdf.key(dss, kind.dssKey), QLatin1String(kind.name), reply);

    const qpdf_oh vri = qpdf.key(dss, "/VRI");
    if (!qpdf.isDictionary(vri))
        return;
    QList<QByteArray> keys;
    try {
        keys = qpdf.keys(vri, SignatureLimits::kMaxVriEntries);
    } catch (const QpdfFailure&) {
        throw QpdfFailure("VRI limit");
    }
    for (const QByteArray& key : keys) {
        const qpdf_oh entry = qpdf.key(vri, key.constData());
        if (!qpdf.isDictionary(entry))
            throw QpdfFailure("VRI entry");
        for (const EvidenceKind& kind : kKinds)
            evidence.collect(qpdf.key(entry, kind.vriKey), QLatin1String(kind.name), reply);
    }
}

void DssEvidence::collect(qpdf_oh value, const QString& kind, QJsonObject& reply)
{
    if (!m_qpdf.isArray(value))
        return;
    const int count = m_qpdf.arraySize(value);
    if (count > SignatureLimits::kMaxEvidenceItems)
        throw QpdfFailure("DSS count");
    QJsonArray texts = reply.value(kind).toArray();
    for (int index = 0; index < count; ++index) {
        const QString text = streamText(m_qpdf.arrayItem(value, index));
        if (!texts.contains(text))
            texts.append(text);
    }
    reply.insert(kind, texts);
}

QString DssEvidence::streamText(qpdf_oh stream)
{
    if (!m_qpdf.isStream(stream))
        throw QpdfFailure("DSS stream");
    const quint64 key = (quint64(quint32(m_qpdf.objectNumber(stream))) << 32) | quint32(m_qpdf.generation(stream));
    const auto found = m_streamTexts.constFind(key);
    if (found != m_streamTexts.constEnd())
        return found.value();
    QByteArray data;
    try {
        // A decompression bomb ends at the worker's memory limit, where
        // qpdf reports the failed allocation as an error.
        data = m_qpdf.streamData(stream, kQpdfDecodeGeneralized);
    } catch (const QpdfFailure&) {
        throw QpdfFailure("DSS size");
    }
    if (data.size() > SignatureLimits::kMaxEvidenceStreamBytes
        || data.size() > SignatureLimits::kMaxEvidenceTotalBytes - m_bytesRead)
        throw QpdfFailure("DSS size");
    m_bytesRead += data.size();
    const QString text = QString::fromLatin1(data.toBase64());
    m_streamTexts.insert(key, text);
    return text;
}

} // namespace velk
