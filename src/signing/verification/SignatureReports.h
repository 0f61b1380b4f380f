#pragma once

// The result of verifying a document: one report per signature field, in
// document order, or the error that stopped the run (then the list is
// empty). A plain value, handed from the pool thread to the GUI.

#include "signing/verification/SignatureReport.h"

#include <QList>
#include <QString>

namespace velk {

struct SignatureReports {
    QList<SignatureReport> reports;
    QString error;
};

} // namespace velk
