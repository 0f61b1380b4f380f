#pragma once

// "signatures" and "signaturePolicy": the raw values of every signed
// signature, and the permission analysis of a document or of one of its
// revisions (with its canonical snapshot and stored evidence when asked).
// The client reads the listing leniently per entry: a malformed entry is
// kept, so that verification can report it with its own sentence.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct SignaturesRequest {
    QString path;

    QJsonObject toJson() const;
};

struct SignatureEntry {
    // The four /ByteRange values; empty when the entry's range is not a
    // list of four whole numbers.
    QList<qint64> range;
    QString filter;
    // The /Contents bytes; empty when absent or not strict Base64.
    std::optional<QByteArray> cms;
    QString time;
};

struct SignaturesReply {
    QList<SignatureEntry> signatures;

    // Refuses a missing list, more entries than the listing limit and an
    // entry that is not an object.
    static std::optional<SignaturesReply> fromJson(const QJsonObject& json);
};

struct SignaturePolicyRequest {
    QString path;
    bool snapshot = false;
    bool evidence = false;

    QJsonObject toJson() const;
};

} // namespace velk
