#include "signing/certificates/QcStatements.h"

#include <QSet>
#include <QString>

#include <openssl/asn1.h>
#include <openssl/objects.h>

#include <array>
#include <memory>

namespace velk {

namespace {

constexpr const char* kCompliance = "0.4.0.1862.1.1";
constexpr const char* kTurkishStatement = "2.16.792.1.61.0.1.5070.1.1";
constexpr const char* kQcType = "0.4.0.1862.1.6";
constexpr const char* kQcTypeEsign = "0.4.0.1862.1.6.1";
constexpr const char* kRequiredText =
    "Bu sertifika, 5070 sayılı Elektronik İmza Kanununa göre nitelikli elektronik sertifikadır.";

// Dotted OID texts of this profile are short; a longer one matches nothing.
constexpr int kOidTextBytes = 128;

struct SequenceDeleter {
    void operator()(ASN1_SEQUENCE_ANY* sequence) const { sk_ASN1_TYPE_pop_free(sequence, ASN1_TYPE_free); }
};
using SequencePtr = std::unique_ptr<ASN1_SEQUENCE_ANY, SequenceDeleter>;

// A SEQUENCE OF ANY that must take every byte.
SequencePtr parseSequence(const unsigned char* data, int length)
{
    const unsigned char* cursor = data;
    SequencePtr sequence(d2i_ASN1_SEQUENCE_ANY(nullptr, &cursor, length));
    if (!sequence || cursor != data + length)
        return {};
    return sequence;
}

SequencePtr parseSequence(const ASN1_STRING* bytes)
{
    return bytes != nullptr ? parseSequence(ASN1_STRING_get0_data(bytes), ASN1_STRING_length(bytes)) : SequencePtr();
}

QString oidText(const ASN1_OBJECT* object)
{
    std::array<char, kOidTextBytes> text{};
    const int length = OBJ_obj2txt(text.data(), int(text.size()), object, 1);
    if (length <= 0 || length >= int(text.size()))
        return {};
    return QString::fromLatin1(text.data(), length);
}

QString normalisedText(const ASN1_TYPE* value)
{
    if (value->type != V_ASN1_UTF8STRING && value->type != V_ASN1_PRINTABLESTRING)
        return {};
    unsigned char* utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, value->value.asn1_string);
    QString text;
    if (length > 0)
        text = QString::fromUtf8(reinterpret_cast<const char*>(utf8), length);
    OPENSSL_free(utf8);
    return text.normalized(QString::NormalizationForm_C).simplified();
}

bool isEsignType(const ASN1_TYPE* value)
{
    if (value->type != V_ASN1_SEQUENCE)
        return false;
    const SequencePtr types = parseSequence(value->value.sequence);
    if (!types || sk_ASN1_TYPE_num(types.get()) != 1)
        return false;
    const ASN1_TYPE* type = sk_ASN1_TYPE_value(types.get(), 0);
    return type->type == V_ASN1_OBJECT && oidText(type->value.object) == QLatin1String(kQcTypeEsign);
}

// One statement into the facts; false when it is malformed or repeated.
bool readStatement(const ASN1_TYPE* element, QSet<QString>& seen, QcStatementFacts& facts)
{
    if (element->type != V_ASN1_SEQUENCE)
        return false;
    const SequencePtr statement = parseSequence(element->value.sequence);
    const int count = statement ? sk_ASN1_TYPE_num(statement.get()) : 0;
    if (count < 1 || count > 2)
        return false;
    const ASN1_TYPE* first = sk_ASN1_TYPE_value(statement.get(), 0);
    const QString oid = first->type == V_ASN1_OBJECT ? oidText(first->value.object) : QString();
    if (oid.isEmpty() || seen.contains(oid))
        return false;
    seen.insert(oid);
    const ASN1_TYPE* parameter = count == 2 ? sk_ASN1_TYPE_value(statement.get(), 1) : nullptr;
    if (oid == QLatin1String(kCompliance) && parameter == nullptr)
        facts.compliance = true;
    else if (oid == QLatin1String(kTurkishStatement) && parameter != nullptr)
        facts.turkishStatement = normalisedText(parameter) == QString::fromUtf8(kRequiredText);
    else if (oid == QLatin1String(kQcType))
        facts.esignKept = parameter != nullptr && isEsignType(parameter);
    return true;
}

} // namespace

std::optional<QcStatementFacts> QcStatements::read(X509* certificate)
{
    const int index = X509_get_ext_by_NID(certificate, NID_qcStatements, -1);
    if (index < 0 || X509_get_ext_by_NID(certificate, NID_qcStatements, index) >= 0)
        return std::nullopt;
    const ASN1_OCTET_STRING* value = X509_EXTENSION_get_data(X509_get_ext(certificate, index));
    const SequencePtr statements = parseSequence(value);
    const int count = statements ? sk_ASN1_TYPE_num(statements.get()) : 0;
    if (count < 1 || count > kMaxQcStatements)
        return std::nullopt;
    QcStatementFacts facts;
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        if (!readStatement(sk_ASN1_TYPE_value(statements.get(), i), seen, facts))
            return std::nullopt;
    }
    return facts;
}

} // namespace velk
