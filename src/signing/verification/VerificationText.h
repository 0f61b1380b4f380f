#pragma once

// The program's report format for signatures: one plain-text block per
// signature report, as the verification window and the developer tool show
// it. Pure.

#include "signing/verification/SignatureReports.h"

#include <QString>
#include <QStringList>

namespace velk {

class VerificationText {
public:
    static QString block(const SignatureReport& report);
    // The run's error alone, the sentence for a document without
    // signatures, or one block per report in order.
    static QStringList texts(const SignatureReports& reports);
    // The texts joined by an empty line.
    static QString text(const SignatureReports& reports);
};

} // namespace velk
