// The paths a request lets the worker read and the directory it lets it
// write: order kept, duplicates kept, relative paths resolved against the
// current directory, nothing cleaned, non-strings ignored.

#include "worker/runner/WorkerAccess.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

QJsonObject parse(const char* json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

} // namespace

class WorkerAccessTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Relative rows resolve against a known current directory.
        QVERIFY(m_cwd.isValid());
        QVERIFY(QDir::setCurrent(m_cwd.path()));
    }

    void readList_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QStringList>("expected");
        const QString cwd = QDir::currentPath();

        QTest::newRow("path and two sources in order")
            << QByteArray(R"({"path":"/d/a.pdf","sources":[{"path":"/d/b.pdf"},{"path":"/e/c.pdf"}]})")
            << QStringList{"/d/a.pdf", "/d/b.pdf", "/e/c.pdf"};
        QTest::newRow("duplicates kept")
            << QByteArray(R"({"path":"/d/a.pdf","sources":[{"path":"/d/a.pdf"},{"path":"/d/a.pdf"}]})")
            << QStringList{"/d/a.pdf", "/d/a.pdf", "/d/a.pdf"};
        QTest::newRow("relative against the current directory")
            << QByteArray(R"({"path":"a.pdf","sources":[{"path":"sub/../b.pdf"}]})")
            << QStringList{cwd + "/a.pdf", cwd + "/sub/../b.pdf"};
        QTest::newRow("sources only") << QByteArray(R"({"sources":[{"path":"/x.png"},{"path":"/y.png"}]})")
                                      << QStringList{"/x.png", "/y.png"};
        QTest::newRow("empty and missing skipped")
            << QByteArray(R"({"path":"","sources":[{"path":""},{},{"path":"/z.pdf"}]})") << QStringList{"/z.pdf"};
        QTest::newRow("non-strings count as empty")
            << QByteArray(R"({"path":7,"sources":[{"path":["/a"]},{"path":null},{"path":true},"/s.pdf",3,{"path":"/ok.pdf"}]})")
            << QStringList{"/ok.pdf"};
        QTest::newRow("sources not an array") << QByteArray(R"({"path":"/a.pdf","sources":{"path":"/b.pdf"}})")
                                              << QStringList{"/a.pdf"};
        QTest::newRow("nothing") << QByteArray(R"({"operation":"inspect"})") << QStringList{};
        QTest::newRow("output is not read") << QByteArray(R"({"output":"/o/out.pdf"})") << QStringList{};
    }

    void readList()
    {
        QFETCH(QByteArray, request);
        QFETCH(QStringList, expected);
        QCOMPARE(WorkerAccess::readList(parse(request.constData())), expected);
    }

    void writeDirectory_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();

        QTest::newRow("file in D gives D") << QByteArray(R"({"output":"/work/d/out.pdf"})") << QString("/work/d");
        QTest::newRow("relative file gives the current directory") << QByteArray(R"({"output":"out.pdf"})") << cwd;
        QTest::newRow("relative in a subdirectory") << QByteArray(R"({"output":"sub/out.pdf"})") << cwd + "/sub";
        QTest::newRow("file in the root") << QByteArray(R"({"output":"/out.pdf"})") << QString("/");
        QTest::newRow("no output, no write access") << QByteArray(R"({"path":"/d/a.pdf"})") << QString();
        QTest::newRow("empty output") << QByteArray(R"({"output":""})") << QString();
        QTest::newRow("output not a string") << QByteArray(R"({"output":["/d/out.pdf"]})") << QString();
    }

    void writeDirectory()
    {
        QFETCH(QByteArray, request);
        QFETCH(QString, expected);
        QCOMPARE(WorkerAccess::writeDirectory(parse(request.constData())), expected);
    }

private:
    QTemporaryDir m_cwd;
};

QTEST_GUILESS_MAIN(WorkerAccessTest)
#include "WorkerAccessTest.moc"
