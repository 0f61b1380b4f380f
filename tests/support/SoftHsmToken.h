#pragma once

// A SoftHSM token store in a directory the test owns, named to every
// PKCS#11 user of this process and its children by SOFTHSM2_CONF: tokens
// initialised by softhsm2-util, keys and certificates written by
// pkcs11-tool, and objects pkcs11-tool refuses to write (unparsable
// certificates, empty ids) created through SoftHSM directly. Also the paths
// of the modules the token tests load and of OpenSC's call logger.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk::test {

class SoftHsmToken {
public:
    static constexpr const char* kPin = "1234";
    static constexpr const char* kSoPin = "87654321";

    // Writes the configuration and points SOFTHSM2_CONF at it.
    explicit SoftHsmToken(const QString& directory);

    QString error() const { return m_error; }
    QString configPath() const { return m_directory + QStringLiteral("/softhsm2.conf"); }

    bool initToken(const QString& label, const QString& pin = QString::fromLatin1(kPin));
    // PEM key (any algorithm SoftHSM takes) under the hex id.
    bool importKey(const QString& label, const QString& keyPemPath, const QString& idHex,
                   bool alwaysAuthenticate = false);
    bool importCertificate(const QString& label, const QByteArray& der, const QString& idHex);
    // A certificate object with any value and id, through C_CreateObject.
    bool createCertificateObject(const QString& label, const QByteArray& value, const QByteArray& id);

    // Runs pkcs11-tool on SoftHSM with the arguments; true on status 0.
    bool pkcs11Tool(const QStringList& arguments, QByteArray* output = nullptr);

    static QString softHsmModule();
    static QString spyModule();
    static QString testModule();       // tests/support/TestPkcs11Module.c
    static QString notAModule();       // a shared library without C_GetFunctionList
    static QByteArray sha256Hex(const QString& path);

private:
    bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);

    QString m_directory;
    QString m_error;
};

} // namespace velk::test
