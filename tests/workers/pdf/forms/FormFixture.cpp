#include "FormFixture.h"

namespace velk::test {

namespace {

PdfFormField field(const QByteArray& type, const QByteArray& name, int flags, const QByteArray& entries = {})
{
    PdfFormField result;
    result.type = type;
    result.name = name;
    result.flags = flags;
    result.entries = entries;
    return result;
}

PdfFormField button(const QByteArray& name, int flags, const QList<QByteArray>& states, const QByteArray& onState)
{
    PdfFormField result = field("/Btn", name, flags);
    result.states = states;
    result.onState = onState;
    return result;
}

} // namespace

PdfFormSpec sampleForm()
{
    PdfFormSpec spec;
    PdfFormField name = field("/Tx", "ad", 0, "/V (Ali) /DA (/Helv 24 Tf 0 g)");
    name.rect = QRectF(40, 700, 500, 40);
    spec.fields = {
        name,
        field("/Tx", "adres", 4096, "/V (Satir) /DA (/Helv 10 Tf 0 g)"),
        field("/Tx", "parola", 8192, "/V (gizli) /DA (/Helv 10 Tf 0 g)"),
        field("/Tx", "kod", 0, "/MaxLen 5 /DA (/Helv 10 Tf 0 g)"),
        button("onay", 0, {"Yes"}, {}),
        button("abone", 0, {"Yes"}, "Yes"),
        button("secim", 32768 | 16384, {"Bir", "Iki"}, "Bir"),
        field("/Ch", "sehir", 131072, "/Opt [(Ankara) (Bursa) (Izmir)] /DA (/Helv 10 Tf 0 g)"),
        field("/Ch", "diller", 2097152, "/Opt [(C) (D) (E) (F)] /V [(D) (F)] /I [1 3] /DA (/Helv 10 Tf 0 g)"),
        field("/Ch", "renk", 0, "/Opt [(Kirmizi) (Mavi) (Yesil)] /V (Mavi) /I [1] /DA (/Helv 10 Tf 0 g)"),
        field("/Btn", "gonder", 65536),
        field("/Sig", "imza", 0),
        field("/Tx", "sabit", 1, "/V (Degismez) /DA (/Helv 10 Tf 0 g)"),
    };
    return spec;
}

PdfFormSpec textFields(int count)
{
    PdfFormSpec spec;
    for (int i = 1; i <= count; ++i)
        spec.fields << field("/Tx", "alan" + QByteArray::number(i), 0, "/DA (/Helv 8 Tf 0 g)");
    return spec;
}

QJsonObject entryAt(const QJsonObject& reply, int page, int annotation)
{
    for (const QJsonValue& value : reply.value(QStringLiteral("fields")).toArray()) {
        const QJsonObject entry = value.toObject();
        if (entry.value(QStringLiteral("page")).toInt(-1) == page
            && entry.value(QStringLiteral("annotation")).toInt(-1) == annotation)
            return entry;
    }
    return {};
}

QJsonObject fillRequest(const QString& path, const QString& output, const QJsonArray& updates)
{
    return {{QStringLiteral("operation"), QStringLiteral("fillFields")},
            {QStringLiteral("path"), path},
            {QStringLiteral("output"), output},
            {QStringLiteral("updates"), updates}};
}

QJsonObject update(int annotation, const QString& key, const QJsonValue& value, int page)
{
    return {{QStringLiteral("page"), page}, {QStringLiteral("annotation"), annotation}, {key, value}};
}

} // namespace velk::test
