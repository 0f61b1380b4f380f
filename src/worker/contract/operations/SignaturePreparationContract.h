#pragma once

// "prepareSignature": a copy of a PDF with one more incremental update that
// reserves a signature (or a document time stamp); "appendDss": evidence
// files stored in a signed PDF's /DSS for one signature. Both answer
// {"ok": true} or a sentence. The readers check the fields only; the
// worker checks the files they name.

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct PrepareSignatureRequest {
    QString path;
    QString output;
    // 0-based page of the widget; -1 (no page) when the request names none.
    int page = -1;
    bool visible = false;
    bool documentTimestamp = false;
    // Read up to the shared text limit; the worker enforces the shorter
    // limits of the dictionary with its own sentence.
    QString reason;
    QString signer;

    bool operator==(const PrepareSignatureRequest&) const = default;

    QJsonObject toJson() const;
    // Refuses a missing or oversized path or output, a page that is not a
    // whole number in the int range, flags that are not booleans and texts
    // that are not strings or exceed the text limit.
    static std::optional<PrepareSignatureRequest> fromJson(const QJsonObject& json);
};

struct DssSourceFile {
    // "Certs", "OCSPs" or "CRLs".
    QString kind;
    QString path;
    // Also listed in the signature's VRI entry.
    bool vri = true;

    bool operator==(const DssSourceFile&) const = default;
};

struct AppendDssRequest {
    QString path;
    QString output;
    // The signature's VRI key: 40 upper-case hex digits.
    QString vri;
    bool documentTimestamp = false;
    QList<DssSourceFile> sources;

    bool operator==(const AppendDssRequest&) const = default;

    QJsonObject toJson() const;
    // Refuses a missing path or output, a VRI key that is not 40 upper-case
    // hex digits, more sources than the limit, a source that is not an
    // object or has no kind, a non-boolean flag, and a known kind without
    // a path. A source of another kind is left out, as the worker ignores
    // it.
    static std::optional<AppendDssRequest> fromJson(const QJsonObject& json);
};

} // namespace velk
