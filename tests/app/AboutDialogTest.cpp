// "Hakkında" shows the name, the version, a licence summary and the
// third-party notices the build places beside the program; a missing
// notices file is named in one sentence instead.

#include "app/AboutDialog.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class AboutDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsVersionLicenceAndNotices()
    {
        const QString notices = test::applicationDirectory() + QStringLiteral("/THIRD_PARTY_NOTICES");
        QVERIFY2(QFile::exists(notices), qPrintable(notices));
        AboutDialog dialog(notices);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Velk PDF hakkında"));
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY2(labels.contains(QStringLiteral("Sürüm 0.5.3")), qPrintable(labels.join('|')));
        QVERIFY(labels.join('|').contains(QStringLiteral("kendi lisanslarına tabidir")));
        const QString shown = dialog.noticesView()->toPlainText();
        QVERIFY(shown.startsWith(QStringLiteral("Velk PDF - third-party notices")));
        QVERIFY(shown.contains(QStringLiteral("GNU Lesser General Public License")));
        QVERIFY(dialog.noticesView()->isReadOnly());
        QVERIFY(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close));
    }

    void missingNoticesAreNamed()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("THIRD_PARTY_NOTICES"));
        QCOMPARE(AboutDialog::readNotices(missing),
                 QStringLiteral("Üçüncü taraf bildirimleri okunamadı: %1").arg(missing));
    }

    void installedNoticesLieBesideTheProgram()
    {
        QCOMPARE(AboutDialog::installedNoticesPath(),
                 QApplication::applicationDirPath() + QStringLiteral("/THIRD_PARTY_NOTICES"));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
