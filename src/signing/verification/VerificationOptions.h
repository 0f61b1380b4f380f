#pragma once

// What one verification run may do beyond reading the document: use the
// network for revocation evidence, and reach private addresses for the
// listed host names. Copied into the run.

#include <QString>
#include <QStringList>

namespace velk {

struct VerificationOptions {
    bool networkAllowed = false;
    QStringList privateHostAllowList;
    // The directory of velk-pdf-worker; empty: beside the running program.
    // Tests and developer tools run the build's workers from elsewhere.
    QString applicationDirectory;
};

} // namespace velk
