#include "store/SecureStore.h"

#include "store/RecordFile.h"
#include "store/RecordSealing.h"
#include "store/StoreAccount.h"
#include "store/StoreDirectory.h"
#include "store/StoreKey.h"
#include "store/StoreLimits.h"
#include "store/StoreMessages.h"
#include "worker/contract/JsonFields.h"
#include "worker/contract/SecureWipe.h"
#include "worker/contract/WorkerContract.h"
#include "worker/contract/WorkerProfile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonParseError>

namespace velk {

namespace {

const QString kRead = QStringLiteral("read");
const QString kWrite = QStringLiteral("write");
const QString kClear = QStringLiteral("clear");

QJsonObject fail(const char* sentence)
{
    return WorkerContract::errorReply(QString::fromUtf8(sentence));
}

QJsonObject succeed()
{
    return QJsonObject{{QStringLiteral("ok"), true}};
}

QString recordPath(const QString& directory, const QString& account)
{
    return QDir(directory).filePath(StoreAccount::recordFileName(account));
}

const char* keyFailure(KeyStatus status)
{
    return status == KeyStatus::NotCreated ? StoreMessages::kKeyNotCreated : StoreMessages::kKeyUnusable;
}

// The record as a JSON object, or nothing when the text is too large, empty,
// not JSON or not an object.
std::optional<QJsonObject> parseRecord(const SecretBytes& plain)
{
    if (plain.isEmpty() || plain.size() > StoreLimits::kMaxRecordBytes)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(plain.bytes(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

QJsonObject SecureStore::handleStoreRequest(const QJsonObject& request)
{
    const QString account =
        JsonFields::string(request, QStringLiteral("account"), StoreLimits::kMaxAccountLength).value_or(QString());
    const QString operation =
        JsonFields::string(request, QStringLiteral("operation"), StoreLimits::kMaxOperationLength)
            .value_or(QString());
    if (!StoreAccount::isValid(account) || (operation != kRead && operation != kWrite && operation != kClear))
        return WorkerContract::invalidRequestReply(WorkerProfiles::secureStore());

    SecretBytes plain;
    if (operation == kWrite) {
        const std::optional<QJsonObject> record = JsonFields::object(request, QStringLiteral("record"));
        if (!record)
            return fail(StoreMessages::kRecordFormatInvalid);
        QByteArray serialised = QJsonDocument(*record).toJson(QJsonDocument::Compact);
        plain = SecretBytes(std::move(serialised));
        if (plain.size() > StoreLimits::kMaxRecordBytes)
            return fail(StoreMessages::kRecordTooLarge);
    }

    const QString directory = StoreDirectory::path();
    if (!StoreDirectory::prepare(directory))
        return fail(StoreMessages::kDirectoryUnavailable);
    if (operation == kWrite)
        return writeRecord(directory, account, plain);
    if (operation == kRead)
        return readRecord(directory, account);
    return clearRecord(directory, account);
}

QJsonObject SecureStore::writeRecord(const QString& directory, const QString& account, const SecretBytes& plain)
{
    const StoreKeyResult key = StoreKey::loadOrCreate(directory);
    if (key.status != KeyStatus::Loaded)
        return fail(keyFailure(key.status));
    const SecretBytes sealed = RecordSealing::seal(key.key, account, plain.bytes());
    if (sealed.isEmpty())
        return fail(StoreMessages::kSealFailed);
    if (!RecordFile::write(recordPath(directory, account), sealed))
        return fail(StoreMessages::kWriteFailed);
    return succeed();
}

QJsonObject SecureStore::readRecord(const QString& directory, const QString& account)
{
    const RecordFileRead file = RecordFile::read(recordPath(directory, account));
    if (file.status == RecordFileStatus::Missing)
        return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("found"), false}};
    if (file.status != RecordFileStatus::Read)
        return fail(StoreMessages::kFileUnreadable);
    // Reading never makes a key: without one, no record here can open.
    const StoreKeyResult key = StoreKey::load(directory);
    if (key.status == KeyStatus::Missing)
        return fail(StoreMessages::kOpenFailed);
    if (key.status != KeyStatus::Loaded)
        return fail(keyFailure(key.status));
    const std::optional<SecretBytes> plain = RecordSealing::open(key.key, account, file.bytes.bytes());
    if (!plain)
        return fail(StoreMessages::kOpenFailed);
    const std::optional<QJsonObject> record = parseRecord(*plain);
    if (!record)
        return fail(StoreMessages::kRecordDamaged);
    return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("found"), true}, {QStringLiteral("record"), *record}};
}

QJsonObject SecureStore::clearRecord(const QString& directory, const QString& account)
{
    if (!RecordFile::remove(recordPath(directory, account)))
        return fail(StoreMessages::kClearFailed);
    return succeed();
}

} // namespace velk
