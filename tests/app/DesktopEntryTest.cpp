// The desktop entry offers the installed velk-pdf for PDF files, in Turkish,
// with the application icon, and passes the desktop's own validator.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

// The keys of the "[Desktop Entry]" group.
QHash<QString, QString> desktopEntry()
{
    QHash<QString, QString> keys;
    QFile file(QStringLiteral(VELK_DESKTOP_FILE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.contains(QLatin1Char('=')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}

} // namespace

class DesktopEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entryOffersTheProgramForPdf_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        const QString program = QStringLiteral(VELK_DESKTOP_EXEC);
        QTest::newRow("type") << "Type" << "Application";
        QTest::newRow("name") << "Name" << "Velk PDF";
        QTest::newRow("comment")
            << "Comment" << "PDF belgelerini bilgisayarınızda görüntüleyin, oluşturun, düzenleyin ve imzalayın";
        QTest::newRow("PDF files") << "MimeType" << "application/pdf;";
        QTest::newRow("opens the files it is given") << "Exec" << program + QStringLiteral(" %F");
        QTest::newRow("hidden when not installed") << "TryExec" << program;
        QTest::newRow("icon") << "Icon" << "velk-pdf";
        QTest::newRow("no terminal") << "Terminal" << "false";
    }

    void entryOffersTheProgramForPdf()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(desktopEntry().value(key), value);
    }

    void programPathIsAbsolute()
    {
        const QString program = QStringLiteral(VELK_DESKTOP_EXEC);
        QVERIFY(program.startsWith(QLatin1Char('/')));
        QVERIFY(program.endsWith(QLatin1String("/velk-pdf")));
    }

    void installedIconFitsItsThemeDirectory()
    {
        // Installed under hicolor/512x512/apps, so it must be that size.
        const QImage icon(QStringLiteral(VELK_ICON_FILE));
        QCOMPARE(icon.size(), QSize(512, 512));
    }

    void desktopValidatorAccepts()
    {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing: run scripts/setup.sh");
        QProcess process;
        process.start(validator, {QStringLiteral(VELK_DESKTOP_FILE)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAll(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(DesktopEntryTest)
#include "DesktopEntryTest.moc"
