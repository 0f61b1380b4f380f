// A source file cut short by someone else while velk-pdf copies it into its
// working copy: the open is refused by the change detection, and neither
// the partial copy nor its workspace stays behind. The open runs in a
// process of its own, held still while the source is truncated under it.

#include "FaultFixtures.h"
#include "OperationTestFiles.h"

#include "support/SteppedProcess.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kStepTimeLimitMs = 60000;
constexpr qint64 kSourceBytes = 24 * 1048576;

} // namespace

class SourceTruncatedTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_inputs.isValid() && m_temp.isValid()); }

    void truncatedWhileCopiedIsRefused_data()
    {
        QTest::addColumn<qint64>("keep");
        QTest::newRow("cut to half") << kSourceBytes / 2;
        QTest::newRow("cut to nothing") << qint64(0);
    }

    void truncatedWhileCopiedIsRefused()
    {
        QFETCH(qint64, keep);
        const QString source = m_inputs.filePath(QStringLiteral("kaynak.pdf"));
        QVERIFY(writeBulkyPdf(source, "Kaynak", 2, kSourceBytes));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_temp.path());

        SteppedProcess child;
        QVERIFY(child.start(program(QStringLiteral("velk-test-operation")),
                            {QStringLiteral("open"), QStringLiteral("-"), source}, environment));
        const QString temp = m_temp.path();
        QVERIFY(child.stopWhen(
            [temp](qint64 pid) {
                for (const QString& file : openFiles(pid)) {
                    if (file.startsWith(temp) && file.endsWith(QStringLiteral("/document.pdf")))
                        return true;
                }
                return false;
            },
            kStepTimeLimitMs));
        QFile cut(source);
        QVERIFY(cut.resize(keep));
        child.resume();

        QCOMPARE(child.waitForExit(kStepTimeLimitMs), 1);
        QCOMPARE(QString::fromUtf8(child.output()),
                 QStringLiteral("PDF açılırken kaynak dosya değişti. Yeniden açın."));
        QCOMPARE(entriesStartingWith(m_temp.path(), {QStringLiteral("velk-")}), QStringList());
    }
};

QTEST_GUILESS_MAIN(SourceTruncatedTest)
#include "SourceTruncatedTest.moc"
