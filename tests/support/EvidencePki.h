#pragma once

// The public-key infrastructure of the evidence tests, served by a loopback
// EvidenceServer: a root and an intermediate authority (the intermediate
// names the root's CRL), a time-stamp authority, OCSP responders with and
// without id-pkix-ocsp-nocheck, and a good and a revoked signer whose
// authority information access and CRL distribution points name the server.
// Routes: /root.crl, /intermediate.crl, /intermediate.der, /ocsp, /tsa.

#include "EvidenceServer.h"
#include "TestPki.h"

namespace velk::test {

class EvidencePki {
public:
    // The server must already listen.
    EvidencePki(const QString& directory, EvidenceServer& server);

    bool isValid() const { return m_valid; }
    QString error() const { return m_pki.error(); }
    TestPki& pki() { return m_pki; }
    QString rootPath() const { return m_pki.root().certificatePath; }

    // Routes of the responder and the authority under other paths or clocks.
    HttpRoute ocspRoute(const TestCertificate& responder, const QString& fakeTime = {},
                        const QStringList& extraArguments = {});
    HttpRoute tsaRoute(const QString& configPath, const QString& fakeTime = {});

    TestCertificate intermediate;
    TestCertificate tsa;
    TestCertificate responder;        // with id-pkix-ocsp-nocheck
    TestCertificate checkedResponder; // without it: its own status is checked
    TestCertificate goodLeaf;
    TestCertificate revokedLeaf;
    QString tsaConfig;

private:
    bool build();
    TestCertificate issueLeaf(const QString& name, const QString& ocspPath, const QString& crlPath);

    TestPki m_pki;
    EvidenceServer& m_server;
    bool m_valid = false;
};

} // namespace velk::test
