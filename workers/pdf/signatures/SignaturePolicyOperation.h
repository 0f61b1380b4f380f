#pragma once

// "signaturePolicy": reads a document with qpdf (no password) and answers
// its permission analysis, with the revision snapshot and the stored DSS
// evidence when the request asks for them. Any failure is the one sentence
// "DocMDP/FieldMDP izinleri güvenle çözümlenemedi." with no partial
// result. Also run by the signature listing on its own request.

#include <QJsonObject>

namespace velk {

class SignaturePolicyOperation {
public:
    static void run(QJsonObject& reply, const QJsonObject& request);
};

} // namespace velk
