// The Debian package made from the built tree: its name, control fields and
// dependencies, every file with its mode, the judgement of lintian,
// appstreamcli and desktop-file-validate, and the maintainer scripts that
// place the AppArmor profile. PackagedWorkerTest runs what it holds.

#include "PackageBuild.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace velk::test;

namespace {

const QString kAppDir = QStringLiteral("./usr/lib/velk-pdf/");
const QString kData = QStringLiteral("-rw-r--r--");
const QString kProgram = QStringLiteral("-rwxr-xr-x");
const QString kLink = QStringLiteral("lrwxrwxrwx");

struct Entry {
    QString mode;
    QString owner;
    QString target; // links only
};

// "dpkg-deb --contents" lines: mode, owner, size, date, time, path [-> target].
QHash<QString, Entry> parseContents(const QByteArray& listing)
{
    static const QRegularExpression line(QStringLiteral(R"(^(\S+)\s+(\S+)\s+\d+\s+\S+\s+\S+\s+(\S+)(?: -> (\S+))?$)"));
    QHash<QString, Entry> entries;
    for (const QByteArray& raw : listing.split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(raw));
        if (match.hasMatch())
            entries.insert(match.captured(3), Entry{match.captured(1), match.captured(2), match.captured(4)});
    }
    return entries;
}

QSet<QString> dependencyNames(const QString& field)
{
    QSet<QString> names;
    for (const QString& clause : field.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        for (const QString& alternative : clause.split(QLatin1Char('|')))
            names.insert(alternative.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char(':'), 0, 0));
    }
    return names;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DebianPackageTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QString m_package;
    QString m_root; // the package unpacked with dpkg-deb -x
    QHash<QString, Entry> m_contents;

    QString field(const QString& name)
    {
        return QString::fromUtf8(
            runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_package, name}).output.trimmed());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QStringList missing = missingTools({"dpkg-deb", "dpkg-shlibdeps", "cpack", "cmake"});
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("Cannot build a Debian package here, missing: %1 (run scripts/setup.sh)")
                                 .arg(missing.join(QStringLiteral(", ")))));
        QVERIFY(m_work.isValid());
        PackageBuild build(m_work.path());
        QVERIFY2(build.stage(), build.log().constData());
        m_package = build.pack();
        QVERIFY2(!m_package.isEmpty(), build.log().constData());
        m_root = m_work.filePath(QStringLiteral("root"));
        QVERIFY(runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_package, m_root}).succeeded());
        m_contents = parseContents(runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_package}).output);
        QVERIFY(!m_contents.isEmpty());
    }

    void fileNameCarriesTheProjectVersion()
    {
        const QString arch = QString::fromUtf8(runCommand(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed());
        QCOMPARE(QFileInfo(m_package).fileName(), QStringLiteral("velk-pdf_%1_%2.deb").arg(QStringLiteral(VELK_VERSION), arch));
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("package") << "Package" << "velk-pdf";
        QTest::newRow("version") << "Version" << VELK_VERSION;
        QTest::newRow("section") << "Section" << "graphics";
        QTest::newRow("priority") << "Priority" << "optional";
        QTest::newRow("recommends") << "Recommends" << "ca-certificates";
    }
    void controlFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(field(name), value);
    }

    // The shared libraries found by dpkg-shlibdeps, the engines the worker
    // loads by path, the Qt platform plugins and Qt's Turkish translations.
    void dependsNamesWhatRuns_data()
    {
        QTest::addColumn<QString>("package");
        for (const char* name : {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libssl3",
                                 "libqpdf29", "libtesseract5", "qt6-qpa-plugins",
                                 "qt6-translations-l10n", "libqt6printsupport6"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void dependsNamesWhatRuns()
    {
        QFETCH(QString, package);
        const QString depends = field(QStringLiteral("Depends"));
        QVERIFY2(dependencyNames(depends).contains(package), qPrintable(depends));
    }

    // Each engine link resolves, on an installed system, to a file of a
    // package the package depends on.
    void engineLinksLandInDependencies_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("qpdf") << "libqpdf.so.29";
        QTest::newRow("tesseract") << "libtesseract.so.5";
    }
    void engineLinksLandInDependencies()
    {
        QFETCH(QString, link);
        // The link as packaged, resolved where the package installs it.
        const QString target = m_contents.value(kAppDir + link).target;
        QVERIFY(!target.isEmpty());
        const QString installed = QDir::cleanPath(QStringLiteral("/usr/lib/velk-pdf/") + target);
        const CommandRun owner = runCommand(QStringLiteral("dpkg-query"), {QStringLiteral("-S"), installed});
        QVERIFY2(owner.succeeded(), owner.output.constData());
        const QString package = QString::fromUtf8(owner.output).section(QLatin1Char(':'), 0, 0).trimmed();
        const QString depends = field(QStringLiteral("Depends"));
        QVERIFY2(dependencyNames(depends).contains(package), qPrintable(package + QStringLiteral(" not in ") + depends));
    }

    void dependsLeavesOutBuildPackages()
    {
        static const QSet<QString> buildOnly{"cmake", "ninja-build", "ccache", "pkg-config", "build-essential",
                                             "gcc", "g++", "git", "nodejs", "npm", "qpdf", "poppler-utils",
                                             "tesseract-ocr-tur", "tesseract-ocr-eng", "fonts-roboto-unhinted"};
        const QString depends = field(QStringLiteral("Depends"));
        for (const QString& name : dependencyNames(depends)) {
            QVERIFY2(!name.endsWith(QLatin1String("-dev")) && !buildOnly.contains(name), qPrintable(depends));
        }
    }

    void contents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("target");
        for (const char* program : {"velk-pdf", "velk-pdf-worker", "velk-token-worker", "velk-secure-store",
                                    "velk-office-worker"})
            QTest::newRow(program) << kAppDir + QLatin1String(program) << kProgram << QString();
        for (const char* data : {"libpdfium.so", "THIRD_PARTY_NOTICES", "tessdata/tur.traineddata",
                                 "tessdata/eng.traineddata"})
            QTest::newRow(data) << kAppDir + QLatin1String(data) << kData << QString();
        QTest::newRow("qpdf") << kAppDir + "libqpdf.so.29" << kLink << "../x86_64-linux-gnu/libqpdf.so.29";
        QTest::newRow("tesseract") << kAppDir + "libtesseract.so.5" << kLink << "../x86_64-linux-gnu/libtesseract.so.5";
        QTest::newRow("launcher") << "./usr/bin/velk-pdf" << kLink << "../lib/velk-pdf/velk-pdf";
        QTest::newRow("desktop entry") << "./usr/share/applications/velk-pdf.desktop" << kData << QString();
        for (const char* size : {"48x48", "128x128", "256x256", "512x512"})
            QTest::newRow(size) << QStringLiteral("./usr/share/icons/hicolor/%1/apps/velk-pdf.png").arg(QLatin1String(size))
                                << kData << QString();
        QTest::newRow("metainfo") << "./usr/share/metainfo/velk-pdf.metainfo.xml" << kData << QString();
        QTest::newRow("copyright") << "./usr/share/doc/velk-pdf/copyright" << kData << QString();
        QTest::newRow("changelog") << "./usr/share/doc/velk-pdf/changelog.gz" << kData << QString();
        QTest::newRow("manual") << "./usr/share/man/man1/velk-pdf.1.gz" << kData << QString();
        QTest::newRow("Turkish manual") << "./usr/share/man/tr/man1/velk-pdf.1.gz" << kData << QString();
        QTest::newRow("AppArmor profile") << "./usr/share/velk-pdf/apparmor/velk-pdf" << kData << QString();
        QTest::newRow("lintian overrides") << "./usr/share/lintian/overrides/velk-pdf" << kData << QString();
    }
    void contents()
    {
        QFETCH(QString, path);
        QFETCH(QString, mode);
        QFETCH(QString, target);
        QVERIFY2(m_contents.contains(path), qPrintable(path));
        const Entry entry = m_contents.value(path);
        QCOMPARE(entry.mode, mode);
        QCOMPARE(entry.owner, QStringLiteral("root/root"));
        QCOMPARE(entry.target, target);
    }

    // Nothing else lands in the application directory (no test program),
    // and every directory is root's, 0755.
    void applicationDirectoryHoldsOnlyWhatShips()
    {
        for (auto it = m_contents.cbegin(); it != m_contents.cend(); ++it) {
            if (it.value().mode.startsWith(QLatin1Char('d')))
                QVERIFY2(it.value().mode == QLatin1String("drwxr-xr-x") && it.value().owner == QLatin1String("root/root"),
                         qPrintable(it.key()));
        }
        QStringList inAppDir = QDir(m_root + QStringLiteral("/usr/lib/velk-pdf"))
                                   .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        inAppDir.sort();
        QCOMPARE(inAppDir, QStringList({"THIRD_PARTY_NOTICES", "libpdfium.so", "libqpdf.so.29", "libtesseract.so.5",
                                        "tessdata", "velk-office-worker", "velk-pdf", "velk-pdf-worker",
                                        "velk-secure-store", "velk-token-worker"}));
        const QStringList languages = QDir(m_root + QStringLiteral("/usr/lib/velk-pdf/tessdata"))
                                          .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(languages, QStringList({"eng.traineddata", "tur.traineddata"}));
    }

    void iconsFitTheirDirectories_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {48, 128, 256, 512})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }
    void iconsFitTheirDirectories()
    {
        QFETCH(int, size);
        const QImage icon(m_root + QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/velk-pdf.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
    }

    void lintianFindsNoError()
    {
        if (!missingTools({"lintian"}).isEmpty())
            QFAIL("lintian is missing: run scripts/setup.sh");
        const CommandRun run = runCommand(QStringLiteral("lintian"), {QStringLiteral("--fail-on"), QStringLiteral("error"), m_package},
                                          300000);
        QVERIFY2(run.succeeded(), run.output.constData());
        QVERIFY2(!run.output.contains("\nE: ") && !run.output.startsWith("E: "), run.output.constData());
    }

    void validatorsAccept_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("appstreamcli") << "appstreamcli"
                                      << QStringList{"validate", "--no-net", "/usr/share/metainfo/velk-pdf.metainfo.xml"};
        QTest::newRow("desktop-file-validate") << "desktop-file-validate"
                                               << QStringList{"/usr/share/applications/velk-pdf.desktop"};
    }
    void validatorsAccept()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        if (!missingTools({tool}).isEmpty())
            QFAIL(qPrintable(tool + QStringLiteral(" is missing: run scripts/setup.sh")));
        arguments.last().prepend(m_root);
        const CommandRun run = runCommand(tool, arguments);
        QVERIFY2(run.succeeded(), run.output.constData());
    }

    // The release the software centres show is the package's version, and
    // the texts are in English and Turkish.
    void metainfoDescribesTheRelease()
    {
        QXmlStreamReader xml(readAll(m_root + QStringLiteral("/usr/share/metainfo/velk-pdf.metainfo.xml")));
        QStringList seen;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QString lang = xml.attributes().value(QStringLiteral("xml:lang")).toString();
            if (xml.name() == QLatin1String("release"))
                seen.append(QStringLiteral("release ") + xml.attributes().value(QStringLiteral("version")).toString());
            else if (xml.name() == QLatin1String("summary") || xml.name() == QLatin1String("p"))
                seen.append(xml.name().toString() + QLatin1Char(' ') + (lang.isEmpty() ? QStringLiteral("en") : lang));
            else if (xml.name() == QLatin1String("launchable") || xml.name() == QLatin1String("content_rating"))
                seen.append(xml.name().toString() + QLatin1Char(' ') + xml.readElementText());
        }
        QVERIFY(!xml.hasError());
        for (const QString& wanted : {QStringLiteral("release " VELK_VERSION), QStringLiteral("summary en"),
                                      QStringLiteral("summary tr"), QStringLiteral("p en"), QStringLiteral("p tr"),
                                      QStringLiteral("launchable velk-pdf.desktop"), QStringLiteral("content_rating ")})
            QVERIFY2(seen.contains(wanted), qPrintable(wanted + QStringLiteral(" in ") + seen.join(QLatin1Char(','))));
    }

    // Machine-readable: every licence named in a stanza has its paragraph.
    void copyrightListsEachComponent_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("format") << "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/";
        QTest::newRow("ours") << "Files: *";
        QTest::newRow("PDFium") << "Files: usr/lib/velk-pdf/libpdfium.so";
        QTest::newRow("qpdf") << "Files: usr/lib/velk-pdf/libqpdf.so.29";
        QTest::newRow("Tesseract") << "Files: usr/lib/velk-pdf/libtesseract.so.5";
        QTest::newRow("Roboto") << "           2011 Google Inc. (the Roboto Bold font compiled into the program)";
        for (const char* licence : {"Velk", "Apache-2.0", "BSD-3-Clause", "FTL", "ICU", "MIT", "BSD-2-Clause"})
            QTest::newRow(licence) << QStringLiteral("License: ") + QLatin1String(licence);
    }
    void copyrightListsEachComponent()
    {
        QFETCH(QString, line);
        const QString copyright = QString::fromUtf8(readAll(m_root + QStringLiteral("/usr/share/doc/velk-pdf/copyright")));
        QVERIFY2(copyright.startsWith(QLatin1String("Format: ")), "not a machine-readable copyright file");
        QVERIFY2(copyright.split(QLatin1Char('\n')).contains(line), qPrintable(line));
    }

    void apparmorProfileGrantsUserNamespaces()
    {
        const QString profile = QString::fromUtf8(readAll(m_root + QStringLiteral("/usr/share/velk-pdf/apparmor/velk-pdf")));
        QVERIFY(profile.contains(QLatin1String(
            "profile velk-pdf /usr/lib/velk-pdf/{velk-pdf,velk-pdf-worker,velk-token-worker,velk-secure-store,"
            "velk-office-worker} flags=(unconfined) {")));
        QVERIFY(profile.contains(QLatin1String("\n  userns,\n")));
        QVERIFY(profile.contains(QLatin1String("\nabi <abi/4.0>,\n")));
    }

    // The profile is put in place only where AppArmor 4 reads it, and goes
    // with the package; DPKG_ROOT lets the scripts run on a private root.
    void maintainerScriptsPlaceTheProfile_data()
    {
        QTest::addColumn<bool>("apparmor4");
        QTest::newRow("AppArmor 4") << true;
        QTest::newRow("older or no AppArmor") << false;
    }
    void maintainerScriptsPlaceTheProfile()
    {
        QFETCH(bool, apparmor4);
        QTemporaryDir system;
        const QString control = system.filePath(QStringLiteral("control"));
        QVERIFY(runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-e"), m_package, control}).succeeded());
        QCOMPARE(readAll(control + QStringLiteral("/triggers")), QByteArray("interest-noawait /etc/apparmor.d/abi\n"));
        const QString root = system.filePath(QStringLiteral("root"));
        QVERIFY(runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_package, root}).succeeded());
        QVERIFY(QDir().mkpath(root + QStringLiteral("/etc/apparmor.d/abi")));
        if (apparmor4)
            QVERIFY(QFile(root + QStringLiteral("/etc/apparmor.d/abi/4.0")).open(QIODevice::WriteOnly));
        const QStringList env{QStringLiteral("DPKG_ROOT=") + root};
        const QString profile = root + QStringLiteral("/etc/apparmor.d/velk-pdf");

        const CommandRun configure = runCommand(QStringLiteral("sh"), {control + QStringLiteral("/postinst"), QStringLiteral("configure")}, 30000, env);
        QVERIFY2(configure.succeeded(), configure.output.constData());
        QCOMPARE(QFile::exists(profile), apparmor4);
        if (apparmor4) {
            QCOMPARE(readAll(profile), readAll(root + QStringLiteral("/usr/share/velk-pdf/apparmor/velk-pdf")));
            QCOMPARE(QFile::permissions(profile),
                     QFileDevice::Permissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                              QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        }
        const CommandRun remove = runCommand(QStringLiteral("sh"), {control + QStringLiteral("/postrm"), QStringLiteral("remove")}, 30000, env);
        QVERIFY2(remove.succeeded(), remove.output.constData());
        QVERIFY(!QFile::exists(profile));
    }
};

QTEST_GUILESS_MAIN(DebianPackageTest)
#include "DebianPackageTest.moc"
