#pragma once

// "inspect": the request that opens a document for viewing and the reply
// that describes it (page sizes, signature fields, protection).

#include "worker/contract/operations/Decoded.h"
#include "worker/contract/operations/DocumentProtection.h"

#include <QJsonObject>
#include <QList>
#include <QSizeF>
#include <QString>

namespace velk {

struct InspectRequest {
    QString path;

    QJsonObject toJson() const;
};

struct InspectReply {
    // Width and height in PDF points, one entry per page.
    QList<QSizeF> pageSizes;
    // Signature fields the document lists; -1 when they could not be read.
    int signatureCount = 0;
    DocumentProtection protection;
    // The 32 permission bits as an unsigned number.
    qint64 permissions = 0;

    QJsonObject toJson() const;
    // Refuses (with its sentence) a page list that is missing, empty, longer
    // than the page limit or holds a side out of bounds; without a sentence
    // a signature count, a flag or permissions of the wrong kind.
    static Decoded<InspectReply> fromJson(const QJsonObject& json);
};

} // namespace velk
