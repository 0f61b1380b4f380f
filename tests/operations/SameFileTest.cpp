// The same-file test behind every refusal to write over the open document:
// existing files match through any spelling that resolves to them (links,
// "..", "." and doubled separators, relative paths); a file that does not
// exist yet matches only by its absolute path.

#include "operations/SameFile.h"

#include "OperationTestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

class SameFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub")));
        QVERIFY(writeBytes(at(QStringLiteral("belge.pdf")), "source"));
        QVERIFY(writeBytes(at(QStringLiteral("other.pdf")), "other"));
        QVERIFY(QFile::link(at(QStringLiteral("belge.pdf")), at(QStringLiteral("link.pdf"))));
        QVERIFY(QFile::link(at(QStringLiteral("link.pdf")), at(QStringLiteral("link-of-link.pdf"))));
        QVERIFY(QFile::link(at(QStringLiteral("gone.pdf")), at(QStringLiteral("dangling.pdf"))));
        QVERIFY(QFile::link(m_dir.path(), at(QStringLiteral("sub/up"))));
        // Relative spellings resolve against the current directory.
        QVERIFY(QDir::setCurrent(at(QStringLiteral("sub"))));
    }

    void comparesByWhatThePathsResolveTo_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("same");
        QTest::newRow("identical") << "belge.pdf" << "belge.pdf" << true;
        QTest::newRow("through ..") << "belge.pdf" << "sub/../belge.pdf" << true;
        QTest::newRow("through . and doubled separators") << "belge.pdf" << ".//./belge.pdf" << true;
        QTest::newRow("link to it") << "belge.pdf" << "link.pdf" << true;
        QTest::newRow("link to a link to it") << "belge.pdf" << "link-of-link.pdf" << true;
        QTest::newRow("through a linked directory") << "belge.pdf" << "sub/up/belge.pdf" << true;
        QTest::newRow("relative to the current directory") << "belge.pdf" << "relative:../belge.pdf" << true;
        QTest::newRow("the link first") << "link.pdf" << "belge.pdf" << true;
        QTest::newRow("another existing file") << "belge.pdf" << "other.pdf" << false;
        QTest::newRow("differs only in letter case, absent") << "belge.pdf" << "BELGE.pdf" << false;
        QTest::newRow("new file beside it") << "belge.pdf" << "yeni.pdf" << false;
        QTest::newRow("dangling link") << "belge.pdf" << "dangling.pdf" << false;
        QTest::newRow("absent first, absent second spelled alike") << "gone.pdf" << "sub/../gone.pdf" << true;
        QTest::newRow("absent first, dangling link to it") << "gone.pdf" << "dangling.pdf" << false;
        QTest::newRow("absent first, existing second") << "gone.pdf" << "belge.pdf" << false;
    }

    void comparesByWhatThePathsResolveTo()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        const auto spelled = [this](const QString& name) {
            return name.startsWith(QLatin1String("relative:")) ? name.mid(9) : at(name);
        };
        QCOMPARE(isSameFile(spelled(first), spelled(second)), same);
    }
};

QTEST_GUILESS_MAIN(SameFileTest)
#include "SameFileTest.moc"
