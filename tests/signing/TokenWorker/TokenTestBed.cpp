#include "TokenTestBed.h"

#include "support/TestPaths.h"
#include "signing/token/TokenSignFunction.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>

namespace velk::test {

TokenTestBed::TokenTestBed()
{
    m_pki = std::make_unique<TestPki>(m_directory.filePath(QStringLiteral("pki")));
    m_token = std::make_unique<SoftHsmToken>(m_directory.filePath(QStringLiteral("softhsm")));
    spyOff();
    setBehaviour(QString());
}

QJsonObject TokenTestBed::run(QJsonObject request, const QByteArray& pin, const TokenWorkerTimes& times)
{
    QByteArray copy = pin;
    return runTokenWorker(request, {}, SecretBytes(std::move(copy)), applicationDirectory(), times);
}

QJsonObject TokenTestBed::listRequest(const QString& module)
{
    return TokenSigner::listRequest(module, SoftHsmToken::sha256Hex(module));
}

QJsonObject TokenTestBed::list(const QString& module)
{
    return run(listRequest(module));
}

QJsonObject TokenTestBed::signRequest(const QString& module, const QString& slot, const QString& idHex,
                                      const QByteArray& certificateDer, const QByteArray& data)
{
    const SigningIdentity identity{module, SoftHsmToken::sha256Hex(module), slot, QByteArray::fromHex(idHex.toLatin1()),
                                   certificateDer};
    return TokenSigner::signRequest(identity, data);
}

QString TokenTestBed::slotOf(const QJsonObject& listing, const QString& idHex)
{
    for (const QJsonValue& entry : listing.value(QStringLiteral("certificates")).toArray())
        if (entry.toObject().value(QStringLiteral("id")).toString() == idHex)
            return entry.toObject().value(QStringLiteral("slot")).toString();
    return {};
}

QString TokenTestBed::spyOn(const QString& target)
{
    const QString log = m_directory.filePath(QStringLiteral("spy.log"));
    QFile::remove(log);
    qputenv("PKCS11SPY", QFile::encodeName(target));
    qputenv("PKCS11SPY_OUTPUT", QFile::encodeName(log));
    return SoftHsmToken::spyModule();
}

void TokenTestBed::spyOff()
{
    qunsetenv("PKCS11SPY");
    qunsetenv("PKCS11SPY_OUTPUT");
}

QStringList TokenTestBed::spyCalls() const
{
    QFile file(m_directory.filePath(QStringLiteral("spy.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression call(QStringLiteral("^\\d+: (C_\\w+)"), QRegularExpression::MultilineOption);
    QStringList calls;
    auto matches = call.globalMatch(QString::fromLatin1(file.readAll()));
    while (matches.hasNext())
        calls << matches.next().captured(1);
    return calls;
}

void TokenTestBed::setBehaviour(const QString& behaviour)
{
    if (behaviour.isEmpty())
        qunsetenv("VELK_TEST_PKCS11_BEHAVIOUR");
    else
        qputenv("VELK_TEST_PKCS11_BEHAVIOUR", behaviour.toLatin1());
    qputenv("VELK_TEST_PKCS11_PIN", SoftHsmToken::kPin);
}

TestCertificate TokenTestBed::selfSigned(const QString& name, const QString& subject, const QString& keyAlgorithm)
{
    TestCertificate result;
    result.name = name;
    result.keyPath = m_pki->directory() + QLatin1Char('/') + name + QStringLiteral("-key.pem");
    result.certificatePath = m_pki->directory() + QLatin1Char('/') + name + QStringLiteral(".pem");
    const QString derPath = m_pki->directory() + QLatin1Char('/') + name + QStringLiteral(".der");
    const QString algorithm = keyAlgorithm.startsWith(QLatin1String("ec:"))
        ? QStringLiteral("ec -pkeyopt ec_paramgen_curve:") + keyAlgorithm.mid(3)
        : keyAlgorithm;
    QStringList arguments{QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-utf8"),
                          QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("30"),
                          QStringLiteral("-subj"), subject, QStringLiteral("-keyout"), result.keyPath,
                          QStringLiteral("-out"), result.certificatePath};
    arguments << QStringLiteral("-newkey") << algorithm.split(QLatin1Char(' '));
    if (!m_pki->openssl(arguments)
        || !m_pki->openssl({QStringLiteral("x509"), QStringLiteral("-in"), result.certificatePath,
                            QStringLiteral("-outform"), QStringLiteral("DER"), QStringLiteral("-out"), derPath}))
        return {};
    QFile der(derPath);
    if (der.open(QIODevice::ReadOnly))
        result.der = der.readAll();
    return result;
}

} // namespace velk::test
