#include "signatures/SignatureReservation.h"

#include "qpdf/Qpdf.h"
#include "signatures/PageTreeCheck.h"
#include "signatures/PermissionAnalysis.h"
#include "signatures/SealAppearance.h"
#include "signatures/SignatureLimits.h"

#include <QJsonObject>
#include <QUuid>

namespace velk {

namespace {

const QString kStructureUnreadable = QStringLiteral("PDF yapısı imzalama için okunamadı.");
const QString kQpdfMissing = QStringLiteral("QPDF imza hazırlama motoru yüklenemedi.");
const QString kRestricted = QStringLiteral(
    "DocMDP/FieldMDP kısıtı var. P=1 değişiklik yasaktır; P=2/3 veya alan kilidi varken yeni imza alanı ekleme "
    "güvenli biçimde reddedildi.");
const QString kFormUnsupported = QStringLiteral("Form yapısı desteklenmiyor.");
const QString kTooLong = QStringLiteral("İmza açıklaması çok uzun.");
const QString kFieldsInvalid = QStringLiteral("Form alan listesi geçersiz.");
const QString kWriteFailed = QStringLiteral("Incremental imza alanı yazılamadı.");
const QString kFailed = QStringLiteral("PDF imza alanı oluşturulamadı.");

// A sentence of its own for one step; everything else of the qpdf layer
// answers kFailed.
struct Refusal {
    QString message;
};

QByteArray utcStamp()
{
    return "(" + QDateTime::currentDateTimeUtc().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")).toLatin1() + ")";
}

qpdf_oh signatureValue(Qpdf& qpdf, const ReservationRequest& request)
{
    const QByteArray type = request.documentTimestamp ? "/DocTimeStamp" : "/Sig";
    const QByteArray subFilter = request.documentTimestamp ? "/ETSI.RFC3161" : "/ETSI.CAdES.detached";
    const qpdf_oh value = qpdf.makeIndirect(qpdf.parse(
        "<< /Type " + type + " /Filter /Adobe.PPKLite /SubFilter " + subFilter
        + " /ByteRange [0 1111111111 2222222222 3333333333] /Contents "
        + SignatureReservation::contentsPlaceholder() + " >>"));
    if (request.reason.size() > SignatureLimits::kMaxReasonLength
        || request.signer.size() > SignatureLimits::kMaxSignerLength)
        throw Refusal{kTooLong};
    if (!request.documentTimestamp) {
        qpdf.setKey(value, "/Reason", qpdf.newUnicodeString(request.reason.toUtf8()));
        qpdf.setKey(value, "/Name", qpdf.newUnicodeString(request.signer.toUtf8()));
        qpdf.setKey(value, "/M", qpdf.parse(utcStamp()));
    }
    return value;
}

qpdf_oh formDictionary(Qpdf& qpdf, qpdf_oh catalog)
{
    const qpdf_oh form = qpdf.hasKey(catalog, "/AcroForm") ? qpdf.copyDirect(qpdf.key(catalog, "/AcroForm"))
                                                           : qpdf.parse("<< /Fields [] >>");
    if (!qpdf.isDictionary(form) || qpdf.hasKey(form, "/XFA"))
        throw Refusal{kFormUnsupported};
    return form;
}

void addToPage(Qpdf& qpdf, qpdf_oh page, qpdf_oh widget)
{
    const qpdf_oh old = qpdf.key(page, "/Annots");
    const qpdf_oh annots = qpdf.isArray(old) ? qpdf.copyDirect(old) : qpdf.parse("[]");
    qpdf.appendItem(annots, widget);
    qpdf.setKey(page, "/Annots", annots);
}

// The form dictionary becomes an object of its own: a later signer that
// adds its field to a direct /AcroForm may leave it out of /Fields.
void addToForm(Qpdf& qpdf, qpdf_oh catalog, qpdf_oh form, qpdf_oh widget)
{
    const qpdf_oh oldFields = qpdf.key(form, "/Fields");
    if (!qpdf.isArray(oldFields))
        throw Refusal{kFieldsInvalid};
    const qpdf_oh fields = qpdf.copyDirect(oldFields);
    qpdf.appendItem(fields, widget);
    qpdf.setKey(form, "/Fields", fields);
    qpdf.setKey(form, "/SigFlags", qpdf.parse("3"));
    qpdf.setKey(catalog, "/AcroForm", qpdf.makeIndirect(form));
}

QString reserve(Qpdf& qpdf, const ReservationRequest& request)
{
    const qpdf_oh catalog = qpdf.root();
    const QJsonObject permissions = PermissionAnalysis::permissions(qpdf, catalog);
    if (permissions.value(QStringLiteral("docMdp")).toInt() != 0
        || !permissions.value(QStringLiteral("fieldMdp")).toString().isEmpty())
        return kRestricted;
    const qpdf_oh form = formDictionary(qpdf, catalog);
    const qpdf_oh value = signatureValue(qpdf, request);
    qpdf.addDocumentExtensions(catalog);
    PageTreeCheck::requireDistinctPages(qpdf, catalog);
    const qpdf_oh page = qpdf.page(request.page);
    const QByteArray name = QUuid::createUuid().toByteArray(QUuid::Id128);
    const qpdf_oh widget = qpdf.makeIndirect(qpdf.parse("<< /Type /Annot /Subtype /Widget /FT /Sig /T (VelkSignature_"
                                                        + name + ") /F 132 /Rect " + request.rectangle + " >>"));
    qpdf.setKey(widget, "/V", value);
    qpdf.setKey(widget, "/P", page);
    addToPage(qpdf, page, widget);
    addToForm(qpdf, catalog, form, widget);
    if (request.visible) {
        const qpdf_oh appearance = qpdf.parse("<< >>");
        qpdf.setKey(appearance, "/N", SealAppearance::create(qpdf, request.signer, request.localTime));
        qpdf.setKey(widget, "/AP", appearance);
    }
    return qpdf.writeIncrementalUpdate(request.path, request.output) ? QString() : kWriteFailed;
}

} // namespace

QByteArray SignatureReservation::contentsPlaceholder()
{
    using namespace SignatureLimits;
    return '<' + QByteArray("a5").repeated(kReservationMarkerBytes)
           + QByteArray("00").repeated(kReservedContentsBytes - kReservationMarkerBytes) + '>';
}

QString SignatureReservation::write(const ReservationRequest& request)
{
    Qpdf qpdf;
    if (!qpdf.bindQpdf())
        return kQpdfMissing;
    try {
        qpdf.readFile(request.path);
    } catch (const std::exception&) {
        return kStructureUnreadable;
    }
    try {
        return reserve(qpdf, request);
    } catch (const Refusal& refusal) {
        return refusal.message;
    } catch (const std::exception&) {
        return kFailed;
    }
}

} // namespace velk
