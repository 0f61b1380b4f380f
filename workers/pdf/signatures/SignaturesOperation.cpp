#include "signatures/SignaturesOperation.h"

#include "ErrorReply.h"
#include "qpdf/Qpdf.h"
#include "signatures/SignatureLimits.h"
#include "signatures/SignaturePolicyOperation.h"
#include "signatures/SignedFieldWalk.h"

#include <QJsonArray>

#include <algorithm>
#include <optional>

namespace velk {

namespace {

// A failure of the listing, carrying its sentence.
struct ListingFailure {
    QString message;
};

ListingFailure countFailure()
{
    return {QStringLiteral("İmza sayısı desteklenen sınırı aşıyor.")};
}

ListingFailure unreadable()
{
    return {QStringLiteral("İmza alanı okunamadı.")};
}

ListingFailure unsupported()
{
    return {QStringLiteral("İmza boyutu veya ByteRange yapısı desteklenmiyor.")};
}

std::vector<SignedField> walkSignedFields(const QJsonObject& request)
{
    try {
        Qpdf qpdf;
        if (!qpdf.bindQpdf())
            throw unreadable();
        qpdf.readFile(request.value(QStringLiteral("path")).toString(),
                      request.value(QStringLiteral("password")).toString().toUtf8());
        return SignedFieldWalk::read(qpdf, qpdf.root());
    } catch (const QpdfFailure& failure) {
        const std::string_view reason = failure.what();
        if (reason == "signature size")
            throw unsupported();
        if (reason == "signature count")
            throw countFailure();
        throw unreadable();
    }
}

// The empty signature fields the permission analysis declares safe.
int emptyFieldBudget(const QJsonObject& request)
{
    QJsonObject policy;
    SignaturePolicyOperation::run(policy, request);
    if (!policy.value(QStringLiteral("ok")).toBool())
        throw ListingFailure{QStringLiteral("Boş imza alanları güvenle çözümlenemedi.")};
    return policy.value(QStringLiteral("emptySignatures")).toInt();
}

// One of PDFium's signatures: a signed one must be one the walk found; an
// unsigned field spends one unit of the budget.
void crossCheck(const PdfiumFunctions& api, FPDF_SIGNATURE signature, const std::vector<SignedField>& walked,
                std::optional<int>& budget, const QJsonObject& request)
{
    if (!signature)
        throw unreadable();
    const unsigned long contents = api.FPDFSignatureObj_GetContents(signature, nullptr, 0);
    const int rangeCount = api.FPDFSignatureObj_GetByteRange(signature, nullptr, 0);
    if (contents == 0) {
        if (rangeCount > 0)
            throw unsupported();
        if (!budget)
            budget = emptyFieldBudget(request);
        if (*budget <= 0)
            throw unsupported();
        --*budget;
        return;
    }
    if (contents > unsigned(SignatureLimits::kMaxContentsBytes) || rangeCount != SignatureLimits::kByteRangeEntries)
        throw unsupported();
    int range[SignatureLimits::kByteRangeEntries] = {};
    if (api.FPDFSignatureObj_GetByteRange(signature, range, SignatureLimits::kByteRangeEntries)
        != SignatureLimits::kByteRangeEntries)
        throw unreadable();
    if (std::any_of(std::begin(range), std::end(range), [](int value) { return value < 0; }))
        throw unsupported();
    const bool found = std::any_of(walked.begin(), walked.end(), [&](const SignedField& field) {
        return std::equal(field.range.begin(), field.range.end(), std::begin(range));
    });
    if (!found)
        throw unreadable();
}

QJsonObject entry(const SignedField& field)
{
    QJsonArray range;
    for (const qint64 value : field.range)
        range.append(value);
    return QJsonObject{{QStringLiteral("cms"), QString::fromLatin1(field.contents.toBase64())},
                       {QStringLiteral("time"), field.time},
                       {QStringLiteral("range"), range},
                       {QStringLiteral("filter"), field.filter}};
}

QJsonObject listing(const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request)
{
    const PdfiumFunctions& api = pdfium.api();
    const int count = api.FPDF_GetSignatureCount(document);
    if (count < 0 || count > SignatureLimits::kMaxSignatures)
        throw countFailure();
    const std::vector<SignedField> walked = walkSignedFields(request);
    std::optional<int> budget;
    for (int index = 0; index < count; ++index)
        crossCheck(api, api.FPDF_GetSignatureObject(document, index), walked, budget, request);
    QJsonArray signatures;
    for (const SignedField& field : walked)
        signatures.append(entry(field));
    return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("signatures"), signatures}};
}

} // namespace

void SignaturesOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                              const QJsonObject& request)
{
    try {
        reply = listing(pdfium, document, request);
    } catch (const ListingFailure& failure) {
        reply = errorReply(failure.message, 0);
    } catch (const std::exception&) {
        reply = errorReply(QStringLiteral("İmza alanı okunamadı."), 0);
    }
}

} // namespace velk
