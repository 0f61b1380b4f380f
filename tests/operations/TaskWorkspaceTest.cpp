// A task's workspace: a fresh owner-only directory in the system temporary
// location, unique per task, removed with everything in it when the task
// lets go of it; refused, never made elsewhere, when the temporary location
// does not exist or is not a directory.

#include "operations/TaskWorkspace.h"

#include "OperationTestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

class TaskWorkspaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_temp.isValid()); }

    void init() { useTemporaryDirectory(m_temp.path()); }

    void isPrivateAndGoesWithItsTask()
    {
        QString path;
        {
            const TaskWorkspace first;
            const TaskWorkspace second;
            QVERIFY(first.isValid() && second.isValid());
            path = QFileInfo(first.filePath(QStringLiteral("edited.pdf"))).absolutePath();
            QCOMPARE(QFileInfo(path).absolutePath(), m_temp.path());
            QVERIFY(QFileInfo(path).fileName().startsWith(QStringLiteral("velk-task-")));
            QVERIFY(first.filePath(QStringLiteral("edited.pdf")) != second.filePath(QStringLiteral("edited.pdf")));
            QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QVERIFY(writeBytes(first.filePath(QStringLiteral("edited.pdf")), "partial output"));
            QVERIFY(QDir(path).mkpath(QStringLiteral("nested/deeper")));
            QCOMPARE(entriesOf(m_temp.path()).size(), 2);
        }
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(entriesOf(m_temp.path()), QStringList());
    }

    void isRefusedWithoutATemporaryLocation_data()
    {
        QTest::addColumn<QString>("temporary");
        QTest::newRow("missing directory") << "missing";
        QTest::newRow("a plain file") << "plain-file";
    }

    void isRefusedWithoutATemporaryLocation()
    {
        QFETCH(QString, temporary);
        QVERIFY(writeBytes(m_temp.filePath(QStringLiteral("plain-file")), "x"));
        useTemporaryDirectory(m_temp.filePath(temporary));
        const QStringList rootBefore = entriesOf(QStringLiteral("/"));
        const TaskWorkspace workspace;
        QVERIFY(!workspace.isValid());
        QCOMPARE(workspace.filePath(QStringLiteral("edited.pdf")), QString());
        QCOMPARE(entriesOf(QStringLiteral("/")), rootBefore);
        QCOMPARE(entriesOf(m_temp.path()), QStringList{QStringLiteral("plain-file")});
        QVERIFY(QFile::remove(m_temp.filePath(QStringLiteral("plain-file"))));
    }
};

QTEST_GUILESS_MAIN(TaskWorkspaceTest)
#include "TaskWorkspaceTest.moc"
