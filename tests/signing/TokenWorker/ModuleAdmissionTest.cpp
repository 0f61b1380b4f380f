// Which driver files the token worker agrees to load: only a local absolute
// regular file of at most 128 MiB whose SHA-256 is the approved lowercase
// hash, that loads as a library and exports a usable function list.

#include "TokenTestBed.h"

#include "signing/TokenWorker/TokenWorkerMessages.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace velk;
using namespace velk::test;

class ModuleAdmissionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TokenTestBed> m_bed;

    QString path(const QString& name) const { return m_bed->directory() + QLatin1Char('/') + name; }

    bool makeSparse(const QString& name, qint64 size)
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.resize(size);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bed = std::make_unique<TokenTestBed>();
        QVERIFY(m_bed->isValid());
        QVERIFY(m_bed->token().initToken(QStringLiteral("Velk Test")));
        QVERIFY(QFile::link(SoftHsmToken::softHsmModule(), path("link.so")));
        QVERIFY(makeSparse("limit.so", 134217728));
        QVERIFY(makeSparse("over.so", 134217729));
        QFile text(path("text.so"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a library\n");
    }

    void admission_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("hashOf");  // file whose hash is sent
        QTest::addColumn<bool>("upperCase");
        QTest::addColumn<QString>("error");   // empty: admitted

        const QString softHsm = SoftHsmToken::softHsmModule();
        const QString pathRequired = QString::fromUtf8(TokenWorkerMessages::kModulePathRequired);
        const QString changed = QString::fromUtf8(TokenWorkerMessages::kModuleChanged);
        const QString notLoaded = QString::fromUtf8(TokenWorkerMessages::kModuleNotLoaded);
        QTest::newRow("absolute") << softHsm << softHsm << false << QString();
        QTest::newRow("symbolic link") << "@link.so" << softHsm << false << QString();
        QTest::newRow("relative") << "libsofthsm2.so" << softHsm << false << pathRequired;
        QTest::newRow("directory") << "/usr/lib/softhsm" << softHsm << false << pathRequired;
        QTest::newRow("missing") << "@missing.so" << softHsm << false << pathRequired;
        QTest::newRow("network form") << "/" + softHsm << softHsm << false << pathRequired;
        QTest::newRow("backslash network form") << "\\\\server\\share\\x.so" << softHsm << false << pathRequired;
        QTest::newRow("128 MiB + 1") << "@over.so" << softHsm << false << pathRequired;
        QTest::newRow("128 MiB, not a library") << "@limit.so" << "@limit.so" << false << notLoaded;
        QTest::newRow("uppercase hash") << softHsm << softHsm << true << changed;
        QTest::newRow("another file's hash") << softHsm << SoftHsmToken::spyModule() << false << changed;
        QTest::newRow("not ELF") << "@text.so" << "@text.so" << false << notLoaded;
        QTest::newRow("no C_GetFunctionList") << SoftHsmToken::notAModule() << SoftHsmToken::notAModule() << false
                                              << QString::fromUtf8(TokenWorkerMessages::kFunctionListUnusable);
    }

    void admission()
    {
        QFETCH(QString, module);
        QFETCH(QString, hashOf);
        QFETCH(bool, upperCase);
        QFETCH(QString, error);
        const auto resolve = [this](const QString& name) {
            return name.startsWith('@') ? path(name.mid(1)) : name;
        };
        QByteArray hash = SoftHsmToken::sha256Hex(resolve(hashOf));
        if (upperCase)
            hash = hash.toUpper();
        QJsonObject request{{"operation", "list"}, {"module", resolve(module)}, {"moduleHash", QString(hash)}};
        const QJsonObject reply = TokenTestBed::run(request);
        QCOMPARE(reply.value("error").toString(), error);
        QCOMPARE(reply.value("ok").toBool(), error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ModuleAdmissionTest)
#include "ModuleAdmissionTest.moc"
