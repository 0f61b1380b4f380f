#pragma once

// "appendDss": stores evidence files (certificates, OCSP responses, CRLs)
// in a signed PDF's /DSS with a /VRI entry for one signature, as one more
// incremental update. Every failure answers one sentence and leaves no
// output file.

#include <QJsonObject>

namespace velk {

class AppendDssOperation {
public:
    static void run(QJsonObject& reply, const QJsonObject& request);
};

} // namespace velk
