#include "EvidencePki.h"

namespace velk::test {

EvidencePki::EvidencePki(const QString& directory, EvidenceServer& server) : m_pki(directory), m_server(server)
{
    m_valid = m_pki.isValid() && build();
}

TestCertificate EvidencePki::issueLeaf(const QString& name, const QString& ocspPath, const QString& crlPath)
{
    QStringList extensions;
    QString access = QStringLiteral("authorityInfoAccess=caIssuers;URI:") + m_server.url(QStringLiteral("/intermediate.der"));
    if (!ocspPath.isEmpty())
        access += QStringLiteral(",OCSP;URI:") + m_server.url(ocspPath);
    extensions << access;
    if (!crlPath.isEmpty())
        extensions << QStringLiteral("crlDistributionPoints=URI:") + m_server.url(crlPath);
    return m_pki.issueSigner(name, intermediate, extensions);
}

bool EvidencePki::build()
{
    CertificateRequest authority;
    authority.name = QStringLiteral("intermediate");
    authority.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                            QStringLiteral("keyUsage=critical,keyCertSign,cRLSign"),
                            QStringLiteral("subjectKeyIdentifier=hash"),
                            QStringLiteral("crlDistributionPoints=URI:") + m_server.url(QStringLiteral("/root.crl"))};
    authority.days = 1825;
    intermediate = m_pki.issue(authority, m_pki.root());
    if (!intermediate.isValid())
        return false;
    tsa = m_pki.issueTimeStampAuthority(QStringLiteral("tsa"), intermediate);
    CertificateRequest noCheck;
    noCheck.name = QStringLiteral("responder");
    noCheck.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                          QStringLiteral("keyUsage=critical,digitalSignature"),
                          QStringLiteral("extendedKeyUsage=critical,OCSPSigning"), QStringLiteral("noCheck=ignored")};
    responder = m_pki.issue(noCheck, intermediate);
    CertificateRequest checked;
    checked.name = QStringLiteral("checked-responder");
    checked.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                          QStringLiteral("keyUsage=critical,digitalSignature"),
                          QStringLiteral("extendedKeyUsage=critical,OCSPSigning"),
                          QStringLiteral("crlDistributionPoints=URI:") + m_server.url(QStringLiteral("/intermediate.crl"))};
    checkedResponder = m_pki.issue(checked, intermediate);
    goodLeaf = issueLeaf(QStringLiteral("good-leaf"), QStringLiteral("/ocsp"), QStringLiteral("/intermediate.crl"));
    revokedLeaf = issueLeaf(QStringLiteral("revoked-leaf"), QStringLiteral("/ocsp"), QStringLiteral("/intermediate.crl"));
    if (!tsa.isValid() || !responder.isValid() || !checkedResponder.isValid() || !goodLeaf.isValid()
        || !revokedLeaf.isValid() || !m_pki.revoke(revokedLeaf, intermediate))
        return false;
    tsaConfig = m_pki.writeTsaConfig(tsa, {intermediate});
    const QByteArray rootCrl = m_pki.makeCrl(m_pki.root(), 48);
    const QByteArray intermediateCrl = m_pki.makeCrl(intermediate, 48);
    if (tsaConfig.isEmpty() || rootCrl.isEmpty() || intermediateCrl.isEmpty())
        return false;
    m_server.setRoute("/root.crl", EvidenceServer::file(rootCrl, "application/pkix-crl"));
    m_server.setRoute("/intermediate.crl", EvidenceServer::file(intermediateCrl, "application/pkix-crl"));
    m_server.setRoute("/intermediate.der", EvidenceServer::file(intermediate.der, "application/pkix-cert"));
    m_server.setRoute("/ocsp", ocspRoute(responder));
    m_server.setRoute("/tsa", tsaRoute(tsaConfig));
    return true;
}

HttpRoute EvidencePki::ocspRoute(const TestCertificate& signer, const QString& fakeTime,
                                 const QStringList& extraArguments)
{
    ProgramRun run;
    run.workingDirectory = m_pki.directory();
    run.fakeTime = fakeTime;
    run.arguments = QStringList{QStringLiteral("ocsp"), QStringLiteral("-index"), m_pki.indexPath(),
                                QStringLiteral("-CA"), intermediate.certificatePath, QStringLiteral("-rsigner"),
                                signer.certificatePath, QStringLiteral("-rkey"), signer.keyPath,
                                QStringLiteral("-ndays"), QStringLiteral("1"), QStringLiteral("-reqin"),
                                QStringLiteral("/dev/stdin"), QStringLiteral("-respout"), QStringLiteral("/dev/stdout")}
                    + extraArguments;
    return EvidenceServer::openssl(run, "application/ocsp-response");
}

HttpRoute EvidencePki::tsaRoute(const QString& configPath, const QString& fakeTime)
{
    ProgramRun run;
    run.workingDirectory = m_pki.directory();
    run.fakeTime = fakeTime;
    run.arguments = {QStringLiteral("ts"), QStringLiteral("-reply"), QStringLiteral("-config"), configPath,
                     QStringLiteral("-queryfile"), QStringLiteral("/dev/stdin"), QStringLiteral("-out"),
                     QStringLiteral("/dev/stdout")};
    return EvidenceServer::openssl(run, "application/timestamp-reply");
}

} // namespace velk::test
