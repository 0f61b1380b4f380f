// Start-up ends with status 2, before any window and without changing the
// theme, when the application directory cannot become current or the theme
// resources cannot be loaded; otherwise it leaves the process in the
// application directory with the theme applied and the documents resolved
// against the directory the program was started in.

#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = QDir(dir.path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

} // namespace

class StartupExitStatusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A style other than the theme's, so that a change would show.
        QApplication::setStyle(QStringLiteral("Windows"));
        QVERIFY(m_start.isValid() && m_app.isValid() && m_scratch.isValid());
        m_notText = writeFile(m_scratch, QStringLiteral("not-a-font.ttf"), "this is not a font");
        m_plainFile = writeFile(m_scratch, QStringLiteral("plain-file"), "x");
        QVERIFY(!m_notText.isEmpty() && !m_plainFile.isEmpty());
    }

    void failureEndsWithStatusTwoAndChangesNothing_data()
    {
        QTest::addColumn<QString>("applicationDirectory");
        QTest::addColumn<QString>("fontPath");
        QTest::addColumn<QString>("styleSheetPath");
        QTest::addColumn<bool>("entersDirectory");

        const QString font = QStringLiteral(":/fonts/Roboto-Bold.ttf");
        const QString sheet = QStringLiteral(":/styles/dark.qss");
        const QString missing = QDir(m_scratch.path()).filePath(QStringLiteral("missing"));

        QTest::newRow("directory missing") << missing << font << sheet << false;
        QTest::newRow("directory is a file") << m_plainFile << font << sheet << false;
        QTest::newRow("directory empty") << QString() << font << sheet << false;
        QTest::newRow("style sheet missing") << m_app.path() << font << missing << true;
        QTest::newRow("style sheet is a directory") << m_app.path() << font << m_scratch.path() << true;
        QTest::newRow("font missing") << m_app.path() << missing << sheet << true;
        QTest::newRow("font unreadable as a font") << m_app.path() << m_notText << sheet << true;
        QTest::newRow("both missing") << m_app.path() << missing << missing << true;
    }

    void failureEndsWithStatusTwoAndChangesNothing()
    {
        QFETCH(QString, applicationDirectory);
        QFETCH(QString, fontPath);
        QFETCH(QString, styleSheetPath);
        QFETCH(bool, entersDirectory);

        QVERIFY(QDir::setCurrent(m_start.path()));
        const QFont fontBefore = QApplication::font();
        const QPalette paletteBefore = QApplication::palette();
        const QString styleBefore = QApplication::style()->name();

        StartupPlan plan;
        plan.arguments = {QStringLiteral("rapor.pdf")};
        plan.startDirectory = m_start.path();
        plan.applicationDirectory = applicationDirectory;
        plan.theme.fontPath = fontPath;
        plan.theme.styleSheetPath = styleSheetPath;
        const StartupOutcome outcome = prepareStartup(plan);

        QCOMPARE(outcome.exitStatus, 2);
        QVERIFY(!outcome.succeeded());
        QCOMPARE(QDir::currentPath(), entersDirectory ? m_app.path() : m_start.path());
        QVERIFY(qApp->styleSheet().isEmpty());
        QCOMPARE(QApplication::font(), fontBefore);
        QCOMPARE(QApplication::palette(), paletteBefore);
        QCOMPARE(QApplication::style()->name(), styleBefore);
        // No application font was left registered (ids are handed out from 0).
        for (int id = 0; id < 4; ++id)
            QVERIFY(QFontDatabase::applicationFontFamilies(id).isEmpty());
    }

    // Runs last: success applies the theme to this process for good.
    void successEntersApplicationDirectoryAndAppliesTheme()
    {
        QVERIFY(QDir::setCurrent(m_start.path()));
        StartupPlan plan;
        plan.arguments = {QStringLiteral("rapor.pdf"), QStringLiteral("alt/ek.pdf"), QStringLiteral("/mutlak/yol.pdf")};
        plan.startDirectory = QDir::currentPath();
        plan.applicationDirectory = m_app.path();

        const StartupOutcome outcome = prepareStartup(plan);

        QCOMPARE(outcome.exitStatus, 0);
        QVERIFY(outcome.succeeded());
        QCOMPARE(QDir::currentPath(), m_app.path());
        // Relative documents still mean the start directory, not the one that
        // is current now.
        const QDir start(m_start.path());
        QCOMPARE(outcome.documentPaths,
                 (QStringList{start.filePath(QStringLiteral("rapor.pdf")), start.filePath(QStringLiteral("alt/ek.pdf")),
                              QStringLiteral("/mutlak/yol.pdf")}));
        QCOMPARE(QImageReader::allocationLimit(), 128);
        QVERIFY(!qApp->styleSheet().isEmpty());
        // The style sheet wraps the selected style and becomes its parent.
        const QStyle* selected = QApplication::style()->findChild<QStyle*>();
        QVERIFY(selected);
        QCOMPARE(selected->name().toLower(), QStringLiteral("fusion"));
        QCOMPARE(QApplication::font().family(), QStringLiteral("Roboto"));
    }

private:
    QTemporaryDir m_start;
    QTemporaryDir m_app;
    QTemporaryDir m_scratch;
    QString m_notText;
    QString m_plainFile;
};

QTEST_MAIN(StartupExitStatusTest)
#include "StartupExitStatusTest.moc"
