// The binding takes libpdfium.so only from the directory it is given (by
// default the running executable's own), refuses a library that lacks any function of its table, binds
// the real PDFium, reports PDFium's open-error codes and serves the
// form-fill layer through its host record.

#include "pdfium/FormFillSession.h"
#include "support/PdfFixtures.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "pdfium/PdfiumFunctionTable.h"
#include "support/TestPaths.h"
#include "support/WorkerProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

class PdfiumBindingTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    Pdfium m_pdfium;

    QString probe(const QString& variant) const
    {
        return testBinaryDirectory() + QStringLiteral("/pdfium-%1/pdfium-probe").arg(variant);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        QVERIFY(m_pdfium.bindPdfium(applicationDirectory()));
    }

    void realLibraryBinds()
    {
        Pdfium pdfium;
        QVERIFY(!pdfium.isBound());
        QVERIFY(pdfium.bindPdfium(applicationDirectory()));
        QVERIFY(pdfium.isBound());
        QVERIFY(pdfium.errorMessage().isEmpty());
        QCOMPARE(Pdfium::libraryPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/libpdfium.so"));
        // A second bind changes nothing.
        QVERIFY(pdfium.bindPdfium(applicationDirectory()));
        // Every slot of the table is filled.
        const auto* slots = reinterpret_cast<const QFunctionPointer*>(&pdfium.api());
        for (int i = 0; i < kPdfiumFunctionCount; ++i)
            QVERIFY2(slots[i], qPrintable(Pdfium::functionNames().at(i)));
    }

    void functionTableOrder()
    {
        const QStringList names = Pdfium::functionNames();
        QCOMPARE(names.size(), kPdfiumFunctionCount);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), kPdfiumFunctionCount);
        QCOMPARE(names.first(), QStringLiteral("FPDF_InitLibrary"));
        QCOMPARE(names.at(9), QStringLiteral("FPDF_GetLastError"));
        QCOMPARE(names.at(77), QStringLiteral("FPDF_SaveAsCopy"));
        QCOMPARE(names.last(), QStringLiteral("FPDFAnnot_GetStringValue"));
    }

    void incompleteLibraryLacksOnlyTheLastName()
    {
        QLibrary library(testBinaryDirectory() + QStringLiteral("/pdfium-incomplete/libpdfium.so"));
        QVERIFY(library.load());
        const QStringList names = Pdfium::functionNames();
        for (qsizetype i = 0; i + 1 < names.size(); ++i)
            QVERIFY2(library.resolve(names.at(i).toLatin1().constData()), qPrintable(names.at(i)));
        QVERIFY(!library.resolve(names.last().toLatin1().constData()));
    }

    void librarySearch_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<bool>("realLibraryInWorkingDirectory");
        QTest::addColumn<bool>("realLibraryOnLibraryPath");
        QTest::addColumn<QString>("outcome");
        const QString notLoaded = QStringLiteral("PDFium motoru yüklenemedi.");
        const QString incompatible = QStringLiteral("PDFium API sürümü uyumsuz.");
        QTest::newRow("none beside, real one in working directory") << "missing" << true << false << notLoaded;
        QTest::newRow("none beside, real one on library path") << "missing" << false << true << notLoaded;
        QTest::newRow("none anywhere") << "missing" << false << false << notLoaded;
        QTest::newRow("incomplete beside") << "incomplete" << false << false << incompatible;
        QTest::newRow("incomplete beside, real one in working directory and on library path")
            << "incomplete" << true << true << incompatible;
    }

    void librarySearch()
    {
        QFETCH(QString, variant);
        QFETCH(bool, realLibraryInWorkingDirectory);
        QFETCH(bool, realLibraryOnLibraryPath);
        QFETCH(QString, outcome);
        QTemporaryDir workingDirectory;
        QVERIFY(workingDirectory.isValid());
        const QString real = applicationDirectory() + QStringLiteral("/libpdfium.so");
        if (realLibraryInWorkingDirectory)
            QVERIFY(QFile::copy(real, workingDirectory.filePath(QStringLiteral("libpdfium.so"))));
        WorkerRunOptions options;
        options.workingDirectory = workingDirectory.path();
        if (realLibraryOnLibraryPath)
            options.environment.insert(QStringLiteral("LD_LIBRARY_PATH"), applicationDirectory());
        const QString program = probe(variant);
        QVERIFY(QFile::exists(program));
        QVERIFY(!QFile::exists(QFileInfo(program).path() + QStringLiteral("/libpdfium.so"))
                || variant == QLatin1String("incomplete"));

        QProcess process;
        process.setProgram(program);
        process.setArguments({QStringLiteral("bind")});
        process.setWorkingDirectory(options.workingDirectory);
        process.setProcessEnvironment(options.environment);
        process.start();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), outcome);
        QVERIFY(process.readAllStandardError().isEmpty());
    }

    // A directory passed in is the only place looked at.
    void passedDirectory_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("outcome");
        const QString notLoaded = QStringLiteral("PDFium motoru yüklenemedi.");
        QTest::newRow("the application directory") << applicationDirectory() << QString();
        QTest::newRow("a directory without the library") << m_directory.path() << notLoaded;
        QTest::newRow("the incomplete stand-in") << testBinaryDirectory() + QStringLiteral("/pdfium-incomplete")
                                                 << QStringLiteral("PDFium API sürümü uyumsuz.");
        QTest::newRow("a relative directory") << QStringLiteral("bin") << notLoaded;
        QTest::newRow("no directory") << QString() << notLoaded;
    }

    void passedDirectory()
    {
        QFETCH(QString, directory);
        QFETCH(QString, outcome);
        Pdfium pdfium;
        QCOMPARE(pdfium.bindPdfium(directory), outcome.isEmpty());
        QCOMPARE(pdfium.isBound(), outcome.isEmpty());
        QCOMPARE(pdfium.errorMessage(), outcome);
    }

    void openErrorCodes_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::newRow("readable") << pdfBytes() << false << "" << 0;
        QTest::newRow("missing file") << QByteArray() << false << "" << 2;
        QTest::newRow("not a PDF") << QByteArray("just text, no PDF\n") << false << "" << 3;
        QTest::newRow("empty file") << QByteArray("") << false << "" << 3;
        QTest::newRow("truncated PDF") << pdfBytes().left(40) << false << "" << 3;
        QTest::newRow("encrypted, no password") << pdfBytes() << true << "" << 4;
        QTest::newRow("encrypted, wrong password") << pdfBytes() << true << "yanlış" << 4;
        QTest::newRow("encrypted, password with a zero byte") << pdfBytes() << true << QStringLiteral("açık\0x") << 4;
        QTest::newRow("encrypted, right password") << pdfBytes() << true << "açık" << 0;
    }

    void openErrorCodes()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, encrypt);
        QFETCH(QString, password);
        QFETCH(int, code);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        QString path = m_directory.filePath(tag + QStringLiteral("-ğüş.pdf"));
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        if (encrypt) {
            const QString encrypted = path + QStringLiteral(".enc.pdf");
            QVERIFY(writeEncryptedCopy(path, encrypted, QStringLiteral("açık"), QStringLiteral("sahip")));
            path = encrypted;
        }
        QByteArray passwordUtf8 = password.toUtf8();
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path, passwordUtf8);
        QCOMPARE(opened.error, code);
        QCOMPARE(bool(opened.document), code == 0);
        // The password bytes do not outlive the open call.
        QCOMPARE(passwordUtf8, QByteArray(passwordUtf8.size(), '\0'));
    }

    void pathWithZeroCharacterIsNotOpened_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("zero at the end") << QStringLiteral("\0");
        QTest::newRow("zero before more text") << QStringLiteral("\0.other");
    }

    void pathWithZeroCharacterIsNotOpened()
    {
        QFETCH(QString, suffix);
        // The part before the zero names a readable PDF: it must not be the
        // file that gets opened.
        const QString path = m_directory.filePath(QStringLiteral("zero.pdf"));
        QVERIFY(writePdf(path));
        QByteArray password("geheim");
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path + suffix, password);
        QVERIFY(!opened.document);
        QCOMPARE(opened.error, 2);
        QCOMPARE(password, QByteArray(6, '\0'));
    }

    void formFillHostCallbacks_data()
    {
        QTest::addColumn<int>("hostIndex");
        QTest::addColumn<int>("askedIndex");
        QTest::addColumn<bool>("answersPage");
        QTest::newRow("own index") << 3 << 3 << true;
        QTest::newRow("other index") << 3 << 2 << false;
        QTest::newRow("first page, asked for the next") << 0 << 1 << false;
        QTest::newRow("negative index") << 0 << -1 << false;
    }

    void formFillHostCallbacks()
    {
        QFETCH(int, hostIndex);
        QFETCH(int, askedIndex);
        QFETCH(bool, answersPage);
        auto* page = reinterpret_cast<FPDF_PAGE>(quintptr(0x1000));
        FormFillHost host(page, hostIndex);
        QCOMPARE(host.info.version, 2);
        QCOMPARE(host.info.xfa_disabled, 1);
        QVERIFY(!host.info.Release);
        QVERIFY(!host.info.m_pJsPlatform);
        QVERIFY(!host.info.FFI_SetTimer);
        QVERIFY(!host.info.FFI_OnFocusChange);
        QVERIFY(!host.info.FFI_DoURIActionWithKeyboardModifier);
        for (auto slot : host.info.xfaCallbacks)
            QVERIFY(!slot);
        QCOMPARE(host.info.FFI_GetPage(&host.info, nullptr, askedIndex), answersPage ? page : nullptr);
        QCOMPARE(host.info.FFI_GetCurrentPage(&host.info, nullptr), page);
        host.info.FFI_Invalidate(&host.info, page, 0, 0, 1, 1);
    }

    void formFillSessionDrawsFields_data()
    {
        QTest::addColumn<QByteArray>("fieldName");
        QTest::newRow("form") << QByteArray("ad");
        QTest::newRow("no form") << QByteArray();
    }

    void formFillSessionDrawsFields()
    {
        QFETCH(QByteArray, fieldName);
        PdfFixtureSpec spec;
        spec.formFieldName = fieldName;
        spec.formFieldValue = "Velk";
        const QString path = m_directory.filePath(QStringLiteral("session-%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(writePdf(path, spec));
        QByteArray password;
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path, password);
        QVERIFY(opened.document);
        const PdfiumFunctions& api = m_pdfium.api();
        const PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(opened.document.get(), 0));
        QVERIFY(page);
        const int width = 60;
        const int height = 84;
        QList<quint32> pixels(width * height, 0xffffffffu);
        const BitmapHandle bitmap =
            wrapBitmap(m_pdfium, api.FPDFBitmap_CreateEx(width, height, kFpdfBitmapBgra, pixels.data(), width * 4));
        QVERIFY(bitmap);
        FormFillSession session(m_pdfium, opened.document.get(), page.get(), 0);
        QVERIFY(session.form());
        api.FPDF_RenderPageBitmap(bitmap.get(), page.get(), 0, 0, width, height, 0, kFpdfRenderAnnotations);
        api.FPDF_FFLDraw(session.form(), bitmap.get(), page.get(), 0, 0, width, height, 0, kFpdfRenderAnnotations);
        // The page's text line is drawn into our own memory.
        QVERIFY(pixels.count(0xffffffffu) < pixels.size());
    }
};

QTEST_GUILESS_MAIN(PdfiumBindingTest)
#include "PdfiumBindingTest.moc"
