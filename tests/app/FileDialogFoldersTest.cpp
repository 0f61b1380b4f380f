// Where the file dialogs start and what they propose: the documents folder
// at first, then the folder last used for opening or saving (kept across
// runs); outputs derived from a document start beside it as
// "<name>-<what>.pdf", never over an existing file. The shipped dialogs
// are driven for real; settings live in a temporary location.

#include "app/FileDialogFolders.h"
#include "app/MainWindowPrompts.h"
#include "operations/OutputNames.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velk;

class FileDialogFoldersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_files;

    QString at(const QString& name) const { return m_files.filePath(name); }

    // Answers the next modal file dialog: records where it started, then
    // chooses answer (or cancels when empty).
    void answerNextDialog(QString* startedIn, const QString& answer)
    {
        QTimer::singleShot(0, this, [this, startedIn, answer] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                answerNextDialog(startedIn, answer);
                return;
            }
            *startedIn = dialog->directory().absolutePath();
            if (answer.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(answer);
            // Accepting checks the chosen name as the user's click would.
            static_cast<QDialog*>(dialog)->accept();
        });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid() && m_files.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        for (const char* folder : {"x", "y", "gorseller"})
            QVERIFY(QDir(m_files.path()).mkdir(QString::fromLatin1(folder)));
        for (const char* name : {"x/rapor.pdf", "x/rapor-duzenlenmis.pdf", "x/a.pdf", "gorseller/foto.png"}) {
            QFile file(at(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void proposalsAreDerivedFromTheirSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        const QString x = m_files.filePath("x");
        QTest::newRow("organise, a name already taken")
            << x + "/rapor.pdf" << "duzenlenmis" << x + "/rapor-duzenlenmis-2.pdf";
        QTest::newRow("merge, from the first input") << x + "/a.pdf" << "birlestirilmis" << x + "/a-birlestirilmis.pdf";
        QTest::newRow("OCR") << x + "/rapor.pdf" << "aranabilir" << x + "/rapor-aranabilir.pdf";
        QTest::newRow("signing") << x + "/rapor.pdf" << "imzali" << x + "/rapor-imzali.pdf";
        QTest::newRow("images, from the first image")
            << m_files.filePath("gorseller/foto.png") << "" << m_files.filePath("gorseller/foto.pdf");
        QTest::newRow("a folder that is gone") << "/yok/rapor.pdf" << "kopya" << "/yok/rapor-kopya.pdf";
        QTest::newRow("no source") << "" << "" << "belge.pdf";
    }
    void proposalsAreDerivedFromTheirSource()
    {
        QFETCH(QString, source);
        QFETCH(QString, what);
        QFETCH(QString, expected);
        QCOMPARE(OutputNames::derived(source, what), expected);
    }

    void takenNamesAreNumbered()
    {
        const QString taken = at("x/rapor-duzenlenmis.pdf");
        QCOMPARE(OutputNames::unused(taken), at("x/rapor-duzenlenmis-2.pdf"));
        QFile second(at("x/rapor-duzenlenmis-2.pdf"));
        QVERIFY(second.open(QIODevice::WriteOnly));
        second.close();
        QCOMPARE(OutputNames::unused(taken), at("x/rapor-duzenlenmis-3.pdf"));
        QVERIFY(second.remove());
        // A "%" in a name stays text.
        QFile percent(at("x/%1%2.pdf"));
        QVERIFY(percent.open(QIODevice::WriteOnly));
        QCOMPARE(OutputNames::unused(at("x/%1%2.pdf")), at("x/%1%2-2.pdf"));
    }

    void startFoldersFollowTheLastChoice_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("proposal");
        QTest::addColumn<QString>("expected");
        const QString documents = FileDialogFolders::defaultFolder();
        const QString x = m_files.filePath("x");
        const QString y = m_files.filePath("y");
        const int open = int(DialogFolderKind::Open);
        const int save = int(DialogFolderKind::Save);
        QTest::newRow("first open") << QString() << open << QString() << documents;
        QTest::newRow("open after a choice") << y << open << QString() << y;
        QTest::newRow("remembered folder removed") << "/yok/artik" << open << QString() << documents;
        QTest::newRow("damaged entry") << QString(5000, 'a') << open << QString() << documents;
        QTest::newRow("first blank PDF") << QString() << save << "belge.pdf" << documents + "/belge.pdf";
        QTest::newRow("blank PDF after a save") << y << save << "belge.pdf" << y + "/belge.pdf";
        QTest::newRow("derived from /x/rapor.pdf")
            << y << save << x + "/rapor-duzenlenmis-2.pdf" << x + "/rapor-duzenlenmis-2.pdf";
    }
    void startFoldersFollowTheLastChoice()
    {
        QFETCH(QString, remembered);
        QFETCH(int, kind);
        QFETCH(QString, proposal);
        QFETCH(QString, expected);
        QSettings settings(m_settingsDir.filePath("table.conf"), QSettings::IniFormat);
        settings.clear();
        if (!remembered.isEmpty())
            settings.setValue(kind == int(DialogFolderKind::Open) ? "dialogs/openFolder" : "dialogs/saveFolder",
                              remembered);
        if (kind == int(DialogFolderKind::Open))
            QCOMPARE(FileDialogFolders::startFolder(settings, DialogFolderKind::Open), expected);
        else
            QCOMPARE(FileDialogFolders::saveStartPath(settings, proposal), expected);
    }

    void documentsFolderIsTheDefault()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(FileDialogFolders::defaultFolder(),
                 QFileInfo(documents).isDir() ? documents : QDir::homePath());
    }

    // The shipped dialogs: the open and save folders are separate and both
    // survive a restart (a new settings object reads the same file).
    void shippedDialogsRememberTheirFolders()
    {
        const MainWindowPrompts prompts = MainWindowPrompts::dialogs();
        QString startedIn;
        answerNextDialog(&startedIn, at("x/a.pdf"));
        QCOMPARE(prompts.openFileName(nullptr, "PDF aç", "PDF belgeleri (*.pdf)"), at("x/a.pdf"));
        QCOMPARE(startedIn, QFileInfo(FileDialogFolders::defaultFolder()).absoluteFilePath());

        answerNextDialog(&startedIn, at("y/yeni.pdf"));
        QCOMPARE(prompts.saveFileName(nullptr, "PDF kaydet", "belge.pdf", "PDF belgeleri (*.pdf)"),
                 at("y/yeni.pdf"));

        answerNextDialog(&startedIn, QString());
        QCOMPARE(prompts.openFileName(nullptr, "PDF aç", "PDF belgeleri (*.pdf)"), QString());
        QCOMPARE(startedIn, m_files.filePath("x"));
        answerNextDialog(&startedIn, QString());
        QCOMPARE(prompts.saveFileName(nullptr, "PDF kaydet", "belge.pdf", "PDF belgeleri (*.pdf)"), QString());
        QCOMPARE(startedIn, m_files.filePath("y"));

        const QSettings restarted;
        QCOMPARE(FileDialogFolders::startFolder(restarted, DialogFolderKind::Open), m_files.filePath("x"));
        QCOMPARE(FileDialogFolders::startFolder(restarted, DialogFolderKind::Save), m_files.filePath("y"));
    }
};

QTEST_MAIN(FileDialogFoldersTest)
#include "FileDialogFoldersTest.moc"
