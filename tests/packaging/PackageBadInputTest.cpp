// A tree missing something the worker loads at run time makes no package:
// CPack stops with a sentence naming the file. The staged tree is the
// build's own install; each case breaks it and mends it again.

#include "PackageBuild.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <optional>

#include <unistd.h>

using namespace velk::test;

class PackageBadInputTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    std::optional<PackageBuild> m_build;

private Q_SLOTS:
    void initTestCase()
    {
        const QStringList missing = missingTools({"dpkg-deb", "dpkg-shlibdeps", "cpack", "cmake"});
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("Cannot build a Debian package here, missing: %1 (run scripts/setup.sh)")
                                 .arg(missing.join(QStringLiteral(", ")))));
        QVERIFY(m_work.isValid());
        m_build.emplace(m_work.path());
        QVERIFY2(m_build->stage(), m_build->log().constData());
    }

    void missingRuntimeFileStopsThePackage_data()
    {
        QTest::addColumn<QString>("name");      // in the application directory
        QTest::addColumn<QString>("damage");    // "remove", "empty" or "dangle"
        QTest::addColumn<QString>("sentence");
        const QString missing = QStringLiteral("Cannot build the package: usr/lib/velk-pdf/%1 is missing from the installed tree.");
        QTest::newRow("PDF engine") << "libpdfium.so" << "remove" << missing.arg("libpdfium.so");
        QTest::newRow("empty PDF engine") << "libpdfium.so" << "empty"
                                          << "Cannot build the package: usr/lib/velk-pdf/libpdfium.so is empty.";
        QTest::newRow("Turkish language file") << "tessdata/tur.traineddata" << "remove"
                                               << missing.arg("tessdata/tur.traineddata");
        QTest::newRow("English language file") << "tessdata/eng.traineddata" << "remove"
                                               << missing.arg("tessdata/eng.traineddata");
        QTest::newRow("notices") << "THIRD_PARTY_NOTICES" << "remove" << missing.arg("THIRD_PARTY_NOTICES");
        QTest::newRow("qpdf link") << "libqpdf.so.29" << "remove" << missing.arg("libqpdf.so.29");
        QTest::newRow("Tesseract link to nothing")
            << "libtesseract.so.5" << "dangle"
            << "Cannot build the package: usr/lib/velk-pdf/libtesseract.so.5 points at "
               "/usr/lib/x86_64-linux-gnu/libtesseract.so.0, which does not exist.";
        QTest::newRow("worker program") << "velk-pdf-worker" << "remove" << missing.arg("velk-pdf-worker");
    }
    void missingRuntimeFileStopsThePackage()
    {
        QFETCH(QString, name);
        QFETCH(QString, damage);
        QFETCH(QString, sentence);
        const QString file = m_build->applicationDirectory() + QLatin1Char('/') + name;
        const QString kept = m_work.filePath(QStringLiteral("kept"));
        // The links dangle inside the staging root: moved without resolving.
        QCOMPARE(std::rename(QFile::encodeName(file).constData(), QFile::encodeName(kept).constData()), 0);
        if (damage == QLatin1String("empty"))
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        else if (damage == QLatin1String("dangle"))
            QVERIFY(QFile::link(QStringLiteral("../x86_64-linux-gnu/libtesseract.so.0"), file));

        const QString package = m_build->pack();
        const QByteArray log = m_build->log();
        ::unlink(QFile::encodeName(file).constData());
        QCOMPARE(std::rename(QFile::encodeName(kept).constData(), QFile::encodeName(file).constData()), 0);

        QVERIFY2(package.isEmpty(), qPrintable(package));
        // CMake wraps its messages: compared with the line breaks folded.
        QVERIFY2(QString::fromUtf8(log).simplified().contains(sentence), log.constData());
        QVERIFY(QDir(m_work.filePath(QStringLiteral("cpack"))).entryList({QStringLiteral("*.deb")}, QDir::Files).isEmpty());
    }

    // A build directory still configured for /usr/local makes no package.
    void installPrefixOtherThanUsrStopsThePackage()
    {
        QVERIFY(m_build->pack({QStringLiteral("CPACK_PACKAGING_INSTALL_PREFIX=/usr/local")}).isEmpty());
        QVERIFY2(QString::fromUtf8(m_build->log()).simplified().contains(QStringLiteral(
                     "Cannot build the package: the build is configured to install under /usr/local; "
                     "run cmake -DCMAKE_INSTALL_PREFIX=/usr on it (scripts/package.sh does).")),
                 m_build->log().constData());
    }
};

QTEST_GUILESS_MAIN(PackageBadInputTest)
#include "PackageBadInputTest.moc"
