#include "SoftHsmToken.h"

#include <p11-kit/pkcs11.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <dlfcn.h>

namespace velk::test {

namespace {

constexpr int kToolTimeoutMs = 30000;

QByteArray paddedLabel(const QString& label)
{
    QByteArray bytes = label.toUtf8().left(32);
    return bytes + QByteArray(32 - bytes.size(), ' ');
}

// SoftHSM called in this process: initialised for one object, then
// finalised, so the worker processes see the object on disk.
class DirectSoftHsm {
public:
    DirectSoftHsm()
    {
        m_library = dlopen(SoftHsmToken::softHsmModule().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        auto getList = m_library ? reinterpret_cast<CK_C_GetFunctionList>(dlsym(m_library, "C_GetFunctionList"))
                                 : nullptr;
        if (getList && getList(&m_functions) == CKR_OK && m_functions->C_Initialize(nullptr) == CKR_OK)
            m_initialised = true;
    }
    ~DirectSoftHsm()
    {
        // The library stays loaded: SoftHSM's OpenSSL clean-up does not
        // survive an unload in a process that keeps using OpenSSL.
        if (m_initialised)
            m_functions->C_Finalize(nullptr);
    }
    bool create(const QString& label, CK_ATTRIBUTE* attributes, CK_ULONG count)
    {
        if (!m_initialised)
            return false;
        CK_SLOT_ID slots[128];
        CK_ULONG slotCount = 128;
        if (m_functions->C_GetSlotList(CK_TRUE, slots, &slotCount) != CKR_OK)
            return false;
        for (CK_ULONG i = 0; i < slotCount; ++i) {
            CK_TOKEN_INFO info{};
            if (m_functions->C_GetTokenInfo(slots[i], &info) != CKR_OK
                || QByteArray(reinterpret_cast<const char*>(info.label), 32) != paddedLabel(label))
                continue;
            CK_SESSION_HANDLE session = 0;
            if (m_functions->C_OpenSession(slots[i], CKF_SERIAL_SESSION | CKF_RW_SESSION, nullptr, nullptr, &session)
                != CKR_OK)
                return false;
            QByteArray pin(SoftHsmToken::kPin);
            CK_OBJECT_HANDLE object = 0;
            const bool created =
                m_functions->C_Login(session, CKU_USER, reinterpret_cast<CK_UTF8CHAR*>(pin.data()), CK_ULONG(pin.size()))
                    == CKR_OK
                && m_functions->C_CreateObject(session, attributes, count, &object) == CKR_OK;
            m_functions->C_Logout(session);
            m_functions->C_CloseSession(session);
            return created;
        }
        return false;
    }

private:
    void* m_library = nullptr;
    CK_FUNCTION_LIST* m_functions = nullptr;
    bool m_initialised = false;
};

} // namespace

SoftHsmToken::SoftHsmToken(const QString& directory) : m_directory(directory)
{
    QDir().mkpath(m_directory + QStringLiteral("/tokens"));
    QFile config(configPath());
    if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || config.write("directories.tokendir = " + QFile::encodeName(m_directory) + "/tokens\n"
                        "objectstore.backend = file\nlog.level = ERROR\nslots.removable = false\n")
            <= 0)
        m_error = QStringLiteral("cannot write ") + configPath();
    config.close();
    qputenv("SOFTHSM2_CONF", QFile::encodeName(configPath()));
}

bool SoftHsmToken::run(const QString& program, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        m_error = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ")
            + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

bool SoftHsmToken::initToken(const QString& label, const QString& pin)
{
    return run(QStringLiteral("softhsm2-util"),
               {QStringLiteral("--init-token"), QStringLiteral("--free"), QStringLiteral("--label"), label,
                QStringLiteral("--pin"), pin, QStringLiteral("--so-pin"), QString::fromLatin1(kSoPin)});
}

bool SoftHsmToken::pkcs11Tool(const QStringList& arguments, QByteArray* output)
{
    return run(QStringLiteral("pkcs11-tool"), QStringList{QStringLiteral("--module"), softHsmModule()} + arguments,
               output);
}

bool SoftHsmToken::importKey(const QString& label, const QString& keyPemPath, const QString& idHex,
                             bool alwaysAuthenticate)
{
    const QString derPath = keyPemPath + QStringLiteral(".der");
    if (!run(QStringLiteral("openssl"), {QStringLiteral("pkey"), QStringLiteral("-in"), keyPemPath,
                                         QStringLiteral("-outform"), QStringLiteral("DER"), QStringLiteral("-out"),
                                         derPath}))
        return false;
    QStringList arguments{QStringLiteral("--token-label"), label, QStringLiteral("--login"), QStringLiteral("--pin"),
                          QString::fromLatin1(kPin), QStringLiteral("--write-object"), derPath,
                          QStringLiteral("--type"), QStringLiteral("privkey"), QStringLiteral("--id"), idHex,
                          QStringLiteral("--usage-sign")};
    if (alwaysAuthenticate)
        arguments << QStringLiteral("--always-auth");
    return pkcs11Tool(arguments);
}

bool SoftHsmToken::importCertificate(const QString& label, const QByteArray& der, const QString& idHex)
{
    const QString path = m_directory + QStringLiteral("/certificate-") + idHex + QStringLiteral(".der");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(der) != der.size())
        return false;
    file.close();
    return pkcs11Tool({QStringLiteral("--token-label"), label, QStringLiteral("--login"), QStringLiteral("--pin"),
                       QString::fromLatin1(kPin), QStringLiteral("--write-object"), path, QStringLiteral("--type"),
                       QStringLiteral("cert"), QStringLiteral("--id"), idHex});
}

bool SoftHsmToken::createCertificateObject(const QString& label, const QByteArray& value, const QByteArray& id)
{
    CK_OBJECT_CLASS objectClass = CKO_CERTIFICATE;
    CK_CERTIFICATE_TYPE type = CKC_X_509;
    CK_BBOOL yes = CK_TRUE;
    QByteArray valueCopy = value;
    QByteArray idCopy = id;
    QByteArray subject = QByteArray::fromHex("3000");
    CK_ATTRIBUTE attributes[] = {
        {CKA_CLASS, &objectClass, sizeof objectClass},
        {CKA_CERTIFICATE_TYPE, &type, sizeof type},
        {CKA_TOKEN, &yes, sizeof yes},
        {CKA_VALUE, valueCopy.data(), CK_ULONG(valueCopy.size())},
        {CKA_ID, idCopy.data(), CK_ULONG(idCopy.size())},
        {CKA_SUBJECT, subject.data(), CK_ULONG(subject.size())},
    };
    DirectSoftHsm softHsm;
    if (!softHsm.create(label, attributes, sizeof attributes / sizeof attributes[0])) {
        m_error = QStringLiteral("C_CreateObject on ") + label + QStringLiteral(" failed");
        return false;
    }
    return true;
}

QString SoftHsmToken::softHsmModule() { return QStringLiteral("/usr/lib/softhsm/libsofthsm2.so"); }
QString SoftHsmToken::spyModule() { return QStringLiteral("/usr/lib/x86_64-linux-gnu/pkcs11/pkcs11-spy.so"); }
QString SoftHsmToken::testModule() { return QStringLiteral(VELK_TEST_PKCS11_MODULE); }
QString SoftHsmToken::notAModule() { return QStringLiteral(VELK_TEST_NOT_PKCS11_MODULE); }

QByteArray SoftHsmToken::sha256Hex(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

} // namespace velk::test
