#pragma once

// What the token worker tests share: a temporary directory holding a test
// PKI and a SoftHSM token store, the real velk-token-worker run through the
// real client, and OpenSC's call logger between the worker and a module.
// One per test class, made in initTestCase.

#include "support/SoftHsmToken.h"
#include "support/TestPki.h"
#include "signing/token/TokenWorkerClient.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace velk::test {

class TokenTestBed {
public:
    TokenTestBed();

    bool isValid() const { return m_directory.isValid() && m_pki->isValid() && m_token->error().isEmpty(); }
    QString directory() const { return m_directory.path(); }
    TestPki& pki() { return *m_pki; }
    SoftHsmToken& token() { return *m_token; }

    // The worker from the application directory, through runTokenWorker.
    static QJsonObject run(QJsonObject request, const QByteArray& pin = {}, const TokenWorkerTimes& times = {});
    static QJsonObject listRequest(const QString& module);
    static QJsonObject list(const QString& module = SoftHsmToken::softHsmModule());
    static QJsonObject signRequest(const QString& module, const QString& slot, const QString& idHex,
                                   const QByteArray& certificateDer, const QByteArray& data);

    // The slot of the listed certificate with this id, else empty.
    static QString slotOf(const QJsonObject& listing, const QString& idHex);

    // Puts the call logger in front of `target`; returns the module path to
    // send. Each call starts a fresh log.
    QString spyOn(const QString& target);
    static void spyOff();
    QStringList spyCalls() const;

    // The test module's behaviour for the next runs ("" for none).
    static void setBehaviour(const QString& behaviour);

    // A self-signed certificate with a UTF-8 subject, for names the
    // authority's policy would not take; keyAlgorithm as TestPki's.
    TestCertificate selfSigned(const QString& name, const QString& subject,
                               const QString& keyAlgorithm = QStringLiteral("rsa:2048"));

private:
    QTemporaryDir m_directory;
    std::unique_ptr<TestPki> m_pki;
    std::unique_ptr<SoftHsmToken> m_token;
};

} // namespace velk::test
