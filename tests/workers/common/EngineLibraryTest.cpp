// The engine loader: only absolute paths reach the dynamic loader, a table
// is taken whole or not at all, and a library the caller already opened is
// loaded through its descriptor.

#include "common/EngineLibrary.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace velk;

namespace {

// Two functions every qpdf library exports, and one no library has.
struct TwoFunctions {
    void (*qpdf_init)() = nullptr;
    void (*qpdf_cleanup)() = nullptr;
};
struct WithMissing {
    void (*qpdf_init)() = nullptr;
    void (*velk_no_such_function)() = nullptr;
};

constexpr EngineFunction<TwoFunctions> kTwo[] = {
    VELK_ENGINE_FUNCTION(TwoFunctions, qpdf_init),
    VELK_ENGINE_FUNCTION(TwoFunctions, qpdf_cleanup),
};
constexpr EngineFunction<WithMissing> kWithMissing[] = {
    VELK_ENGINE_FUNCTION(WithMissing, qpdf_init),
    VELK_ENGINE_FUNCTION(WithMissing, velk_no_such_function),
};

QString realQpdf()
{
    return test::applicationDirectory() + QStringLiteral("/libqpdf.so.29");
}

} // namespace

class EngineLibraryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathIn_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("path");
        QTest::newRow("absolute") << QStringLiteral("/opt/velk") << QStringLiteral("/opt/velk/libqpdf.so.29");
        QTest::newRow("relative") << QStringLiteral("velk") << QString();
        QTest::newRow("dot") << QStringLiteral(".") << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void pathIn()
    {
        QFETCH(QString, directory);
        QFETCH(QString, path);
        QCOMPARE(EngineLibrary::pathIn(directory, "libqpdf.so.29"), path);
    }

    void onlyAbsolutePathsOpen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("opens");
        QTest::newRow("the real library") << realQpdf() << true;
        // A bare name would be found on the loader's search path.
        QTest::newRow("bare name of a system library") << QStringLiteral("libqpdf.so.29") << false;
        QTest::newRow("relative path") << QStringLiteral("./libqpdf.so.29") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/libqpdf.so.29") << false;
        QTest::newRow("zero inside") << realQpdf() + QChar(0) + QStringLiteral("x") << false;
    }

    void onlyAbsolutePathsOpen()
    {
        QFETCH(QString, path);
        QFETCH(bool, opens);
        QCOMPARE(EngineLibrary::open(path, EngineLibrary::kDefaultFlags) != nullptr, opens);
    }

    void wholeTableOrNothing()
    {
        TwoFunctions two;
        QCOMPARE(EngineLibrary::load(realQpdf(), EngineLibrary::kDefaultFlags, kTwo, two),
                 EngineLibrary::Outcome::Loaded);
        QVERIFY(two.qpdf_init);
        QVERIFY(two.qpdf_cleanup);

        WithMissing missing;
        QCOMPARE(EngineLibrary::load(realQpdf(), EngineLibrary::kDefaultFlags, kWithMissing, missing),
                 EngineLibrary::Outcome::FunctionMissing);
        // Not even the function that resolved is handed out.
        QVERIFY(!missing.qpdf_init);

        TwoFunctions none;
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        QCOMPARE(EngineLibrary::load(EngineLibrary::pathIn(empty.path(), "libqpdf.so.29"),
                                     EngineLibrary::kDefaultFlags, kTwo, none),
                 EngineLibrary::Outcome::LibraryMissing);
        QVERIFY(!none.qpdf_init);
    }

    // A caller that opened the file itself (a token driver checked before
    // use) names it by its descriptor.
    void loadsThroughAnOpenDescriptor()
    {
        const int fd = ::open(QFile::encodeName(realQpdf()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        TwoFunctions two;
        const EngineLibrary::Outcome outcome = EngineLibrary::load(
            QStringLiteral("/proc/self/fd/%1").arg(fd), EngineLibrary::kDefaultFlags, kTwo, two);
        ::close(fd);
        QCOMPARE(outcome, EngineLibrary::Outcome::Loaded);
        QVERIFY(two.qpdf_init);
    }

    void defaultDirectory()
    {
        QCOMPARE(EngineLibrary::defaultDirectory(), QCoreApplication::applicationDirPath());
        EngineLibrary::setDefaultDirectory(test::applicationDirectory());
        QCOMPARE(EngineLibrary::defaultDirectory(), test::applicationDirectory());
        EngineLibrary::setDefaultDirectory(QString());
        QCOMPARE(EngineLibrary::defaultDirectory(), QCoreApplication::applicationDirPath());
    }
};

QTEST_GUILESS_MAIN(EngineLibraryTest)
#include "EngineLibraryTest.moc"
