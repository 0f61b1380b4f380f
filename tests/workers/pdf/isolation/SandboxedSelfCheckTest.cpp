// The self-check's probes inside the real sandbox: every probe, run on its
// own, must find its restriction in force, and the whole check must pass.
// The probe host locks itself down exactly as the worker does; the sandbox
// starts it from the test programs' directory as its runtime directory.

#include "worker/sandbox/Sandbox.h"
#include "support/TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace velk;

namespace {

QJsonObject runHostSandboxed(const QByteArray& mode)
{
    // The mode travels as the request does.
    const QString directory = velk::test::testBinaryDirectory();
    const SandboxResult result = runSandboxedProcess(directory + "/velk-isolation-probe-host", directory, {}, {},
                                                     mode, [] { return false; }, 20000);
    if (!result.error().isEmpty() || result.exitStatus != 0)
        return {};
    return QJsonDocument::fromJson(result.output).object();
}

const QStringList kProbeNames = {
    "processLockedDown", "noNewPrivileges", "unprivilegedUser", "noCapabilities", "seccompFilter",
    "foreignUserNamespaces", "pidOne", "parentDeathSignal", "sessionLeader", "resourceLimits",
    "inheritedDescriptors", "rootDirectoryRefused", "temporaryFileRefused", "socketsRefused",
    "ioUringRefused", "executionRefused", "processCreationRefused"};

} // namespace

class SandboxedSelfCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_each = runHostSandboxed("each");
        QVERIFY2(!m_each.isEmpty(), "the probe host did not run in the sandbox (are user namespaces allowed?)");
    }

    void passes()
    {
        const QJsonObject report = runHostSandboxed("passes");
        QCOMPARE(report.value("passes").toBool(false), true);
        QCOMPARE(report.value("childrenLeft").toBool(true), false);
    }

    void eachProbeHolds_data()
    {
        QTest::addColumn<QString>("probe");
        for (const QString& name : kProbeNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void eachProbeHolds()
    {
        QFETCH(QString, probe);
        const QJsonValue value = m_each.value("probes").toObject().value(probe);
        QVERIFY2(value.isBool(), qPrintable(probe));
        QVERIFY2(value.toBool(), qPrintable(probe));
    }

    // The self-check's probe table and this test name the same probes, so
    // a probe added to the check is also checked here.
    void everyProbeListed()
    {
        QStringList reported = m_each.value("probes").toObject().keys();
        QStringList listed = kProbeNames;
        reported.sort();
        listed.sort();
        QCOMPARE(reported, listed);
    }

private:
    QJsonObject m_each;
};

QTEST_GUILESS_MAIN(SandboxedSelfCheckTest)
#include "SandboxedSelfCheckTest.moc"
