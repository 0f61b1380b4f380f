// The platform a release must name, and the per-machine identifier the
// update floor is stored under.

#include "update/DeviceIdentity.h"
#include "update/PlatformIdentity.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace velk;

class PlatformIdentityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void platform_data();
    void platform();
    void runningPlatform();
    void device_data();
    void device();
    void deviceIsStableAndDistinct();
    void fallsBackToSecondFile();

private:
    QString writeFile(const QString& name, const QByteArray& content);
    QTemporaryDir m_directory;
};

void PlatformIdentityTest::platform_data()
{
    QTest::addColumn<QString>("architecture");
    QTest::addColumn<QString>("identifier");

    QTest::newRow("x86_64") << "x86_64" << "linux-amd64";
    QTest::newRow("arm64") << "arm64" << "linux-arm64";
    QTest::newRow("aarch64") << "aarch64" << "linux-arm64";
    QTest::newRow("i686") << "i686" << "";
    QTest::newRow("i386") << "i386" << "";
    QTest::newRow("arm") << "arm" << "";
    QTest::newRow("upper case") << "X86_64" << "";
    QTest::newRow("trailing space") << "x86_64 " << "";
    QTest::newRow("empty") << "" << "";
}

void PlatformIdentityTest::platform()
{
    QFETCH(QString, architecture);
    QFETCH(QString, identifier);
    QCOMPARE(platformIdentifier(architecture), identifier);
    if (!identifier.isEmpty())
        QVERIFY(isKnownPlatformIdentifier(identifier));
}

void PlatformIdentityTest::runningPlatform()
{
    QCOMPARE(platformIdentifier(), platformIdentifier(QSysInfo::currentCpuArchitecture()));
#if defined(Q_PROCESSOR_X86_64)
    QCOMPARE(platformIdentifier(), QStringLiteral("linux-amd64"));
#endif
    QVERIFY(isKnownPlatformIdentifier(QStringLiteral("windows-arm64")));
    QVERIFY(!isKnownPlatformIdentifier(QStringLiteral("linux-i686")));
    QVERIFY(!isKnownPlatformIdentifier(QString()));
}

QString PlatformIdentityTest::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = m_directory.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return {};
    return path;
}

void PlatformIdentityTest::device_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("usable");

    const QByteArray id = "4c4c4544004a3110805ac4c04f4e4e32";
    QTest::newRow("with line feed") << QByteArray(id + '\n') << true;
    QTest::newRow("without line feed") << id << true;
    QTest::newRow("uninitialized") << QByteArray("uninitialized\n") << false;
    QTest::newRow("upper case") << QByteArray(id.toUpper() + '\n') << false;
    QTest::newRow("31 digits") << QByteArray(id.left(31) + '\n') << false;
    QTest::newRow("33 digits") << QByteArray(id + "0") << false;
    QTest::newRow("two line feeds") << QByteArray(id + "\n\n") << false;
    QTest::newRow("carriage return") << QByteArray(id + "\r\n") << false;
    QTest::newRow("leading space") << QByteArray(' ' + id) << false;
    QTest::newRow("dashed uuid") << QByteArray("4c4c4544-004a-3110-805a-c4c04f4e4e32\n") << false;
    QTest::newRow("all zeros") << QByteArray(QByteArray(32, '0') + '\n') << false;
    QTest::newRow("NUL inside") << QByteArray(id.left(16) + QByteArray(1, '\0') + id.mid(17) + '\n') << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("large") << QByteArray(1 << 20, 'a') << false;
}

void PlatformIdentityTest::device()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, usable);
    const QString path = writeFile(QStringLiteral("machine-id"), content);
    QVERIFY(!path.isEmpty());
    const QString identifier = deviceIdentifier({path});
    if (!usable) {
        QCOMPARE(identifier, QString());
        return;
    }
    // The form the secure store's account pattern admits after "update-".
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("Velk-HW-[A-Z0-9]{4}-[A-Z0-9]{4}")));
    QVERIFY2(form.match(identifier).hasMatch(), qPrintable(identifier));
}

void PlatformIdentityTest::deviceIsStableAndDistinct()
{
    const QString first = writeFile(QStringLiteral("a"), "4c4c4544004a3110805ac4c04f4e4e32\n");
    const QString same = writeFile(QStringLiteral("b"), "4c4c4544004a3110805ac4c04f4e4e32");
    const QString other = writeFile(QStringLiteral("c"), "4c4c4544004a3110805ac4c04f4e4e33\n");
    const QString identifier = deviceIdentifier({first});
    QVERIFY(!identifier.isEmpty());
    QCOMPARE(deviceIdentifier({first}), identifier);
    QCOMPARE(deviceIdentifier({same}), identifier);
    QVERIFY(deviceIdentifier({other}) != identifier);
    // The machine id itself never shows through.
    QVERIFY(!identifier.contains(QStringLiteral("4C4C")));
}

void PlatformIdentityTest::fallsBackToSecondFile()
{
    const QString valid = writeFile(QStringLiteral("dbus"), "0123456789abcdef0123456789abcdef\n");
    const QString uninitialized = writeFile(QStringLiteral("etc"), "uninitialized\n");
    const QString missing = m_directory.filePath(QStringLiteral("missing"));
    const QString expected = deviceIdentifier({valid});
    QVERIFY(!expected.isEmpty());
    QCOMPARE(deviceIdentifier({missing, valid}), expected);
    QCOMPARE(deviceIdentifier({uninitialized, valid}), expected);
    QCOMPARE(deviceIdentifier({missing, uninitialized}), QString());
    QCOMPARE(deviceIdentifier({m_directory.path(), valid}), expected);
    const QString fifo = m_directory.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(deviceIdentifier({fifo, valid}), expected);
    QCOMPARE(deviceIdentifier(QStringList()), QString());
}

QTEST_GUILESS_MAIN(PlatformIdentityTest)
#include "PlatformIdentityTest.moc"
