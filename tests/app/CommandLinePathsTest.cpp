// Documents named on the command line become absolute paths against the
// directory the program was started in; order and repetitions are kept for
// the main window, which folds a repeated file into one tab.

#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class CommandLinePathsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathsResolveAgainstStartDirectory_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("plain name") << QStringList{"a.pdf"} << QStringList{"/start/here/a.pdf"};
        QTest::newRow("dot prefix") << QStringList{"./a.pdf"} << QStringList{"/start/here/./a.pdf"};
        QTest::newRow("sub directory") << QStringList{"docs/a.pdf"} << QStringList{"/start/here/docs/a.pdf"};
        QTest::newRow("parent") << QStringList{"../b.pdf"} << QStringList{"/start/here/../b.pdf"};
        QTest::newRow("absolute kept") << QStringList{"/elsewhere/c.pdf"} << QStringList{"/elsewhere/c.pdf"};
        QTest::newRow("Turkish name with space")
            << QStringList{"Sözleşme örneği.pdf"} << QStringList{"/start/here/Sözleşme örneği.pdf"};
        QTest::newRow("order kept")
            << QStringList{"z.pdf", "/x/a.pdf", "m.pdf"}
            << QStringList{"/start/here/z.pdf", "/x/a.pdf", "/start/here/m.pdf"};
    }

    void pathsResolveAgainstStartDirectory()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        QCOMPARE(CommandLine::documentPaths(arguments, QStringLiteral("/start/here")), expected);
    }

    void currentDirectoryDoesNotMatter()
    {
        // The resolution uses the given start directory even when the process
        // has already moved elsewhere.
        QTemporaryDir start;
        QTemporaryDir elsewhere;
        QVERIFY(start.isValid() && elsewhere.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const QStringList paths = CommandLine::documentPaths({QStringLiteral("rapor.pdf")}, start.path());
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(paths, QStringList{QDir(start.path()).filePath(QStringLiteral("rapor.pdf"))});
    }

    void parentOfLinkFollowsTheFileSystem()
    {
        // "bag" links to deep/inner, so "bag/../rapor.pdf" is deep/rapor.pdf,
        // not the rapor.pdf beside "bag" that a textual clean-up would give.
        QTemporaryDir start;
        QVERIFY(start.isValid());
        const QDir dir(start.path());
        QVERIFY(dir.mkpath(QStringLiteral("deep/inner")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("deep/inner")), dir.filePath(QStringLiteral("bag"))));
        for (const QString& name : {QStringLiteral("rapor.pdf"), QStringLiteral("deep/rapor.pdf")}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QStringList paths = CommandLine::documentPaths({QStringLiteral("bag/../rapor.pdf")}, start.path());
        QCOMPARE(paths.size(), 1);
        QCOMPARE(QFileInfo(paths.at(0)).canonicalFilePath(),
                 QFileInfo(dir.filePath(QStringLiteral("deep/rapor.pdf"))).canonicalFilePath());
    }

    void repeatedFileIsKeptForTheWindowToFold_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");

        QTest::newRow("same spelling") << "rapor.pdf" << "rapor.pdf";
        QTest::newRow("dot prefix") << "rapor.pdf" << "./rapor.pdf";
        QTest::newRow("through sub directory") << "rapor.pdf" << "alt/../rapor.pdf";
        QTest::newRow("through symbolic link") << "rapor.pdf" << "bag/rapor.pdf";
    }

    void repeatedFileIsKeptForTheWindowToFold()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QTemporaryDir start;
        QVERIFY(start.isValid());
        const QDir dir(start.path());
        QVERIFY(dir.mkdir(QStringLiteral("alt")));
        QVERIFY(QFile::link(start.path(), dir.filePath(QStringLiteral("bag"))));
        QFile file(dir.filePath(QStringLiteral("rapor.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const QStringList paths = CommandLine::documentPaths({first, second}, start.path());
        QCOMPARE(paths.size(), 2);
        QVERIFY(QFileInfo(paths.at(0)).isAbsolute());
        QVERIFY(QFileInfo(paths.at(1)).isAbsolute());
        // Both name one file: its canonical path, the key of a tab, is equal.
        QCOMPARE(QFileInfo(paths.at(1)).canonicalFilePath(), QFileInfo(paths.at(0)).canonicalFilePath());
        QCOMPARE(QFileInfo(paths.at(0)).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
    }
};

QTEST_GUILESS_MAIN(CommandLinePathsTest)
#include "CommandLinePathsTest.moc"
