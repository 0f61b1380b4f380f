// The worker's texts that come from driver numbers and bytes: the sentence
// for each PKCS#11 return value, and token labels in UTF-8 with Latin-1
// only for bytes that are not UTF-8.

#include "signing/TokenWorker/TokenErrorMessage.h"
#include "signing/TokenWorker/TokenListing.h"

#include <QTest>

#include <cstring>

using namespace velk;

class TokenTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorMessages_data()
    {
        QTest::addColumn<quint64>("rv");
        QTest::addColumn<QString>("message");
        const QString removed = QStringLiteral("Kart çıkarıldı veya cihaz bulunamadı.");
        const QString algorithm = QStringLiteral("Cihaz gerekli imza algoritmasını desteklemiyor.");
        const QString format = QStringLiteral("PIN biçimi veya uzunluğu uygun değil.");
        QTest::newRow("device removed") << quint64(0x32) << removed;
        QTest::newRow("token not present") << quint64(0xE0) << removed;
        QTest::newRow("key type") << quint64(0x63) << algorithm;
        QTest::newRow("mechanism") << quint64(0x70) << algorithm;
        QTest::newRow("PIN incorrect") << quint64(0xA0) << QStringLiteral("PIN yanlış. Otomatik yeniden deneme yapılmadı.");
        QTest::newRow("PIN invalid") << quint64(0xA1) << format;
        QTest::newRow("PIN length") << quint64(0xA2) << format;
        QTest::newRow("PIN expired") << quint64(0xA3)
                                     << QStringLiteral("PIN süresi dolmuş; üreticinin kart yönetimi aracını kullanın.");
        QTest::newRow("PIN locked") << quint64(0xA4)
                                    << QStringLiteral("PIN kilitli; üreticinin kart yönetimi aracını kullanın.");
        QTest::newRow("general error") << quint64(5) << QStringLiteral("PKCS#11 işlemi başarısız (0x5).");
        QTest::newRow("zero") << quint64(0) << QStringLiteral("PKCS#11 işlemi başarısız (0x0).");
        QTest::newRow("not logged in") << quint64(0x101) << QStringLiteral("PKCS#11 işlemi başarısız (0x101).");
        QTest::newRow("vendor defined") << quint64(0x80000001)
                                        << QStringLiteral("PKCS#11 işlemi başarısız (0x80000001).");
    }

    void errorMessages()
    {
        QFETCH(quint64, rv);
        QFETCH(QString, message);
        QCOMPARE(tokenErrorMessage(CK_RV(rv)), message);
    }

    void labels_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("label");
        QTest::newRow("UTF-8") << QByteArray("İmza Kartı") << QStringLiteral("İmza Kartı");
        QTest::newRow("Latin-1") << QByteArray("\xC7" "anakkale") << QStringLiteral("Çanakkale");
        QTest::newRow("ASCII with spaces around") << QByteArray("  Velk ") << QStringLiteral("Velk");
        QTest::newRow("all 32 bytes") << QByteArray(32, 'a') << QString(32, QLatin1Char('a'));
        QTest::newRow("blank") << QByteArray() << QString();
    }

    void labels()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, label);
        CK_TOKEN_INFO info{};
        std::memset(info.label, ' ', sizeof info.label);
        std::memcpy(info.label, bytes.constData(), size_t(bytes.size()));
        QCOMPARE(TokenListing::tokenLabel(info), label);
    }
};

QTEST_GUILESS_MAIN(TokenTextTest)
#include "TokenTextTest.moc"
