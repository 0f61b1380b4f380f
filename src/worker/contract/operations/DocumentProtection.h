#pragma once

// Whether a document is signed, encrypted or carries a form, decided once by
// the worker's "inspect" (and by every worker operation that needs it) with
// one rule, and read by the client as given: the client never derives these
// facts from anything else.

#include <QJsonObject>

#include <optional>

namespace velk {

struct DocumentProtection {
    // A signature field holds signature contents (an empty signature field a
    // form offers for signing later does not sign the document).
    bool signedDocument = false;
    bool encrypted = false;
    // The document has an interactive form (AcroForm or XFA).
    bool hasForm = false;

    // The one rule. signedFieldCount: signature fields holding contents, -1
    // when they could not be read (counts as signed, so a failure never
    // unlocks an edit); securityHandlerRevision: -1 without encryption;
    // formType: 0 without a form.
    static DocumentProtection decide(int signedFieldCount, int securityHandlerRevision, int formType);

    // Text, notes, shapes, text objects, OCR and page jobs change content
    // that a signature, an encryption or a form's appearances depend on.
    bool allowsContentEdits() const { return !signedDocument && !encrypted && !hasForm; }
    // A form is filled unless a signature covers it or it is encrypted.
    bool allowsFormFill() const { return !signedDocument && !encrypted; }

    // "signed", "encrypted", "hasForm" as booleans; fromJson refuses any of
    // them that is present and not a boolean, and reads an absent one as
    // false.
    void writeTo(QJsonObject& json) const;
    static std::optional<DocumentProtection> fromJson(const QJsonObject& json);

    bool operator==(const DocumentProtection&) const = default;
};

} // namespace velk
