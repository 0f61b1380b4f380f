// velk-secure-store, run as a real process on files damaged or replaced
// behind its back: each refusal has its sentence and exit status 1, and the
// store repairs nothing, regenerates no key and changes no byte on disk.

#include "store/RecordSealing.h"
#include "StoreHome.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velk::test;

namespace {

const QString kAccount = QStringLiteral("test-record-owner");
const QString kOtherAccount = QStringLiteral("test-someone-else");
const QJsonObject kRecord{{"version", "2.4.1"}, {"sequence", 12}};

const QString kOpenFailed =
    QStringLiteral("Güvenli kayıt açılamadı; başka bir hesaba ya da kullanıcıya ait veya bozulmuş.");
const QString kKeyUnusable =
    QStringLiteral("Güvenli depo anahtarı kullanılamıyor; dosyanın sahibi, izinleri veya boyutu uygun değil.");
const QString kUnreadable = QStringLiteral("Güvenli kayıt dosyası okunamadı.");
const QString kDamaged = QStringLiteral("Güvenli kayıt bozuk veya çok büyük.");
const QString kWriteFailed = QStringLiteral("Güvenli kayıt yazılamadı; önceki kayıt korundu.");
const QString kNoDirectory = QStringLiteral("Güvenli depo dizini hazırlanamadı.");
const QString kClearFailed = QStringLiteral("Güvenli kayıt silinemedi.");

enum class Damage {
    FlipHeader, FlipNonce, FlipCipherText, FlipTag,
    CutToEmpty, CutToTen, CutLastByte,
    MovedToOtherAccount, FromOtherUser, KeyRemoved,
    OtherKey, ShortKey, KeyMode0644, KeySymbolicLink, KeyOfOtherOwner, KeyDirectory, KeyFifo,
    RecordTooLarge, RecordDirectory, RecordFifo, RecordSymbolicLink,
    StoreSymbolicLink, StoreOfOtherOwner,
    SealedEmpty, SealedArray, SealedNotJson, SealedTooLarge,
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool replaceFile(const QString& path, const QByteArray& bytes, mode_t mode = 0600)
{
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
        && ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool flipByte(const QString& path, qsizetype offset)
{
    QByteArray bytes = contentOf(path);
    if (offset < 0 || offset >= bytes.size())
        return false;
    bytes[offset] = char(bytes.at(offset) ^ 0x01);
    return replaceFile(path, bytes);
}

bool cutTo(const QString& path, qint64 size)
{
    return QFile::resize(path, size);
}

// A record sealed as the store would, with this home's key, around chosen text.
bool sealAround(const StoreHome& home, const QByteArray& plain)
{
    const velk::SecretBytes key(contentOf(home.keyPath()));
    const velk::SecretBytes sealed = velk::RecordSealing::seal(key, kAccount, plain);
    return !sealed.isEmpty() && replaceFile(home.recordPath(kAccount), sealed.bytes());
}

bool recordFromOtherUser(const StoreHome& home)
{
    const StoreHome other;
    return other.write(kAccount, kRecord).exitCode == 0
        && replaceFile(home.recordPath(kAccount), contentOf(other.recordPath(kAccount)));
}

bool moveKeyAside(const StoreHome& home, const QString& aside)
{
    return QFile::rename(home.keyPath(), aside);
}

bool damage(const StoreHome& home, Damage kind)
{
    const QString record = home.recordPath(kAccount);
    const qsizetype size = contentOf(record).size();
    const QString key = home.keyPath();
    using S = velk::RecordSealing;
    switch (kind) {
    case Damage::FlipHeader: return flipByte(record, 0);
    case Damage::FlipNonce: return flipByte(record, S::kHeaderBytes + 3);
    case Damage::FlipCipherText: return flipByte(record, S::kHeaderBytes + S::kNonceBytes + 2);
    case Damage::FlipTag: return flipByte(record, size - 1);
    case Damage::CutToEmpty: return cutTo(record, 0);
    case Damage::CutToTen: return cutTo(record, 10);
    case Damage::CutLastByte: return cutTo(record, size - 1);
    case Damage::MovedToOtherAccount: return QFile::rename(record, home.recordPath(kOtherAccount));
    case Damage::FromOtherUser: return recordFromOtherUser(home);
    case Damage::KeyRemoved: return QFile::remove(key);
    case Damage::OtherKey: return replaceFile(key, QByteArray(32, '\x5a'));
    case Damage::ShortKey: return replaceFile(key, contentOf(key).left(31));
    case Damage::KeyMode0644: return ::chmod(QFile::encodeName(key).constData(), 0644) == 0;
    case Damage::KeySymbolicLink:
        return moveKeyAside(home, key + ".real") && QFile::link(key + ".real", key);
    case Damage::KeyOfOtherOwner: return ::chown(QFile::encodeName(key).constData(), 65534, 65534) == 0;
    case Damage::KeyDirectory: return QFile::remove(key) && QDir().mkdir(key);
    case Damage::KeyFifo: return QFile::remove(key) && ::mkfifo(QFile::encodeName(key).constData(), 0600) == 0;
    case Damage::RecordTooLarge: return replaceFile(record, QByteArray(65537, '\x01'));
    case Damage::RecordDirectory: return QFile::remove(record) && QDir().mkdir(record);
    case Damage::RecordFifo: return QFile::remove(record) && ::mkfifo(QFile::encodeName(record).constData(), 0600) == 0;
    case Damage::RecordSymbolicLink: {
        const QString aside = home.dataHome() + "/aside.sealed";
        return QFile::rename(record, aside) && QFile::link(aside, record);
    }
    case Damage::StoreSymbolicLink: {
        const QString store = home.storeDirectory();
        return QFile::rename(store, store + ".real") && QFile::link(store + ".real", store);
    }
    case Damage::StoreOfOtherOwner:
        return ::chown(QFile::encodeName(home.storeDirectory()).constData(), 65534, 65534) == 0;
    case Damage::SealedEmpty: return sealAround(home, QByteArray());
    case Damage::SealedArray: return sealAround(home, "[]");
    case Damage::SealedNotJson: return sealAround(home, "not json");
    case Damage::SealedTooLarge:
        return sealAround(home, QJsonDocument(QJsonObject{{"f", QString(24577 - 8, 'x')}}).toJson(QJsonDocument::Compact));
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class StoreBadInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refused_data()
    {
        QTest::addColumn<Damage>("kind");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("error");

        const QString read = QStringLiteral("read");
        QTest::newRow("header byte flipped") << Damage::FlipHeader << read << kAccount << kOpenFailed;
        QTest::newRow("nonce byte flipped") << Damage::FlipNonce << read << kAccount << kOpenFailed;
        QTest::newRow("ciphertext byte flipped") << Damage::FlipCipherText << read << kAccount << kOpenFailed;
        QTest::newRow("tag byte flipped") << Damage::FlipTag << read << kAccount << kOpenFailed;
        QTest::newRow("cut to 0 bytes") << Damage::CutToEmpty << read << kAccount << kOpenFailed;
        QTest::newRow("cut to 10 bytes") << Damage::CutToTen << read << kAccount << kOpenFailed;
        QTest::newRow("last byte cut") << Damage::CutLastByte << read << kAccount << kOpenFailed;
        QTest::newRow("moved to another account") << Damage::MovedToOtherAccount << read << kOtherAccount << kOpenFailed;
        QTest::newRow("from another user") << Damage::FromOtherUser << read << kAccount << kOpenFailed;
        QTest::newRow("key removed") << Damage::KeyRemoved << read << kAccount << kOpenFailed;
        QTest::newRow("other 32-byte key") << Damage::OtherKey << read << kAccount << kOpenFailed;
        QTest::newRow("key of 31 bytes") << Damage::ShortKey << read << kAccount << kKeyUnusable;
        QTest::newRow("key mode 0644") << Damage::KeyMode0644 << read << kAccount << kKeyUnusable;
        QTest::newRow("key a symbolic link") << Damage::KeySymbolicLink << read << kAccount << kKeyUnusable;
        QTest::newRow("key of another owner") << Damage::KeyOfOtherOwner << read << kAccount << kKeyUnusable;
        QTest::newRow("key a FIFO") << Damage::KeyFifo << read << kAccount << kKeyUnusable;
        QTest::newRow("record of 65,537 bytes") << Damage::RecordTooLarge << read << kAccount << kUnreadable;
        QTest::newRow("record a directory") << Damage::RecordDirectory << read << kAccount << kUnreadable;
        QTest::newRow("record a FIFO") << Damage::RecordFifo << read << kAccount << kUnreadable;
        QTest::newRow("record a symbolic link") << Damage::RecordSymbolicLink << read << kAccount << kUnreadable;
        QTest::newRow("store a symbolic link") << Damage::StoreSymbolicLink << read << kAccount << kNoDirectory;
        QTest::newRow("store of another owner") << Damage::StoreOfOtherOwner << read << kAccount << kNoDirectory;
        QTest::newRow("sealed empty text") << Damage::SealedEmpty << read << kAccount << kDamaged;
        QTest::newRow("sealed array") << Damage::SealedArray << read << kAccount << kDamaged;
        QTest::newRow("sealed non-JSON") << Damage::SealedNotJson << read << kAccount << kDamaged;
        QTest::newRow("sealed 24,577 bytes") << Damage::SealedTooLarge << read << kAccount << kDamaged;

        // A bad key is never replaced, not even by a write that needs one.
        const QString write = QStringLiteral("write");
        QTest::newRow("write: key of 31 bytes") << Damage::ShortKey << write << kAccount << kKeyUnusable;
        QTest::newRow("write: key mode 0644") << Damage::KeyMode0644 << write << kAccount << kKeyUnusable;
        QTest::newRow("write: key a symbolic link") << Damage::KeySymbolicLink << write << kAccount << kKeyUnusable;
        QTest::newRow("write: key of another owner") << Damage::KeyOfOtherOwner << write << kAccount << kKeyUnusable;
        QTest::newRow("write: key a directory") << Damage::KeyDirectory << write << kAccount << kKeyUnusable;
        QTest::newRow("write: record a directory") << Damage::RecordDirectory << write << kAccount << kWriteFailed;
        QTest::newRow("write: record a FIFO") << Damage::RecordFifo << write << kAccount << kWriteFailed;
        QTest::newRow("write: record a symbolic link")
            << Damage::RecordSymbolicLink << write << kAccount << kWriteFailed;
        QTest::newRow("clear: record a directory")
            << Damage::RecordDirectory << QStringLiteral("clear") << kAccount << kClearFailed;
    }

    void refused()
    {
        QFETCH(Damage, kind);
        QFETCH(QString, operation);
        QFETCH(QString, account);
        QFETCH(QString, error);
        if ((kind == Damage::KeyOfOtherOwner || kind == Damage::StoreOfOtherOwner) && ::geteuid() != 0)
            QSKIP("giving a file to another user needs root");

        const StoreHome home;
        QVERIFY(home.isValid());
        QCOMPARE(home.write(kAccount, kRecord).exitCode, 0);
        QVERIFY(damage(home, kind));
        const QMap<QString, QByteArray> before = home.snapshot();

        const QByteArray request = operation == QLatin1String("write")
            ? writeRequest(account, QJsonObject{{"version", "9.9.9"}})
            : storeRequest(operation, account);
        const StoreRun run = home.run(request);
        QVERIFY(run.finished); // a FIFO in a file's place does not hold the store up
        QCOMPARE(run.error(), error);
        QCOMPARE(run.reply().value("ok").toBool(true), false);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errorOutput, QByteArray());
        QCOMPARE(home.snapshot(), before);
    }
};

QTEST_GUILESS_MAIN(StoreBadInputTest)
#include "StoreBadInputTest.moc"
