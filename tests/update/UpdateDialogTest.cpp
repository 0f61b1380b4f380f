// The update dialog: its widgets, which actions each state offers, the
// progress display, and closing it in the middle of a download. Runs the
// real service against the test channel in a private network.

#include "PrivateNetwork.h"
#include "UpdateTestBed.h"
#include "update/UpdateDialog.h"
#include "update/UpdateMessages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QList<bool> actionStates(const UpdateDialog& dialog)
{
    return {dialog.checkButton()->isEnabled(), dialog.downloadButton()->isEnabled(),
            dialog.installerButton()->isEnabled()};
}

UpdatePrompts silentPrompts()
{
    UpdatePrompts prompts;
    prompts.warning = [](QWidget*, const QString&, const QString&) {};
    prompts.question = [](QWidget*, const QString&, const QString&) { return false; };
    prompts.openUrl = [](const QUrl&) { return false; };
    return prompts;
}

} // namespace

class UpdateDialogTest : public QObject {
    Q_OBJECT

public:
    explicit UpdateDialogTest(const QString& networkError)
        : m_networkError(networkError)
    {
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void shippedBuildOffersNothing();
    void widgetsAsDesigned();
    void progressDisplay_data();
    void progressDisplay();
    void downloadWithoutAnnouncedSize();
    void closingDuringDownloadLeavesNothing();
    void failedCheckOffersCheckAgain();

private:
    std::unique_ptr<UpdateDialog> availableDialog();

    QString m_networkError;
    std::unique_ptr<UpdateTestBed> m_bed;
};

void UpdateDialogTest::initTestCase()
{
    QVERIFY2(m_networkError.isEmpty(), qPrintable(m_networkError));
    m_bed = std::make_unique<UpdateTestBed>();
    QVERIFY2(m_bed->isValid(), qPrintable(m_bed->error()));
}

void UpdateDialogTest::init()
{
    m_bed->channel().clear();
    m_bed->clearPackages();
    QVERIFY(m_bed->clearFloor());
}

std::unique_ptr<UpdateDialog> UpdateDialogTest::availableDialog()
{
    m_bed->serve(m_bed->payload());
    auto dialog = std::make_unique<UpdateDialog>(m_bed->service(), silentPrompts());
    dialog->checkButton()->click();
    if (!UpdateTestBed::settle(*dialog->service()) || dialog->service()->state() != UpdateService::Available)
        return nullptr;
    return dialog;
}

void UpdateDialogTest::shippedBuildOffersNothing()
{
    QTemporaryDir dataHome;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    {
        UpdateDialog dialog(std::make_unique<UpdateService>(), silentPrompts());
        QCOMPARE(dialog.statusLabel()->text(), QString::fromUtf8(UpdateMessages::kNotConfiguredStatus));
        QCOMPARE(actionStates(dialog), (QList<bool>{false, false, false}));
        dialog.service()->check();
        QCOMPARE(actionStates(dialog), (QList<bool>{false, false, false}));
    }
    qputenv("XDG_DATA_HOME", saved);
    QVERIFY(QDir(dataHome.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(m_bed->channel().requests().isEmpty());
}

void UpdateDialogTest::widgetsAsDesigned()
{
    UpdateDialog dialog(m_bed->service(), silentPrompts());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Güvenli güncelleme"));
    QCOMPARE(dialog.size(), QSize(700, 440));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("dialogTitle"))->text(), QStringLiteral("Güvenli güncelleme"));
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("dialogSubtitle"))->wordWrap());
    QVERIFY(dialog.findChild<QFrame*>(QStringLiteral("statusPanel")));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("updateStatus")), dialog.statusLabel());
    QCOMPARE(dialog.statusLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(dialog.statusLabel()->text(), QString::fromUtf8(UpdateMessages::kReadyStatus));
    QCOMPARE(dialog.checkButton()->objectName(), QStringLiteral("checkUpdatesButton"));
    QCOMPARE(dialog.checkButton()->property("primary").toBool(), true);
    QCOMPARE(dialog.checkButton()->text(), QStringLiteral("Güncellemeleri kontrol et"));
    QCOMPARE(dialog.downloadButton()->text(), QStringLiteral("Paketi indir ve doğrula"));
    QCOMPARE(dialog.installerButton()->text(), QStringLiteral("Doğrulanmış yükleyiciyi aç…"));
    QCOMPARE(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->text(),
             QStringLiteral("Kapat / İptal"));
    QVERIFY(dialog.findChildren<QLabel*>().size() >= 4);
    QCOMPARE(actionStates(dialog), (QList<bool>{true, false, false}));
    QVERIFY(!dialog.progressBar()->isVisibleTo(&dialog));
}

void UpdateDialogTest::progressDisplay_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    QTest::newRow("512 MiB of 512 MiB") << qint64(536870912) << qint64(536870912) << 100 << 100;
    QTest::newRow("a third") << qint64(1) << qint64(3) << 100 << 33;
    QTest::newRow("more than announced") << qint64(7) << qint64(5) << 100 << 100;
    QTest::newRow("no size") << qint64(10) << qint64(-1) << 0 << -1;
    QTest::newRow("size 0") << qint64(10) << qint64(0) << 0 << -1;
}

void UpdateDialogTest::progressDisplay()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(int, maximum);
    QFETCH(int, value);
    UpdateDialog dialog(m_bed->service(), silentPrompts());
    Q_EMIT dialog.service()->progress(received, total);
    QCOMPARE(dialog.progressBar()->maximum(), maximum);
    if (maximum > 0)
        QCOMPARE(dialog.progressBar()->value(), value);
}

void UpdateDialogTest::downloadWithoutAnnouncedSize()
{
    auto dialog = availableDialog();
    QVERIFY(dialog);
    QCOMPARE(actionStates(*dialog), (QList<bool>{true, true, false}));
    ChannelAnswer unannounced;
    unannounced.body = m_bed->package();
    unannounced.announcedLength = -2;
    unannounced.pieceBytes = unannounced.body.size() / 4 + 1;
    unannounced.intervalMs = 100;
    m_bed->channel().setAnswer(QLatin1String(kPackagePath), unannounced);
    dialog->downloadButton()->click();
    QCOMPARE(dialog->service()->state(), int(UpdateService::Downloading));
    QCOMPARE(actionStates(*dialog), (QList<bool>{false, false, false}));
    QVERIFY(dialog->progressBar()->isVisibleTo(dialog.get()));
    QTRY_COMPARE(dialog->progressBar()->maximum(), 0);
    QVERIFY(UpdateTestBed::settle(*dialog->service()));
    QCOMPARE(dialog->statusLabel()->text(), QString::fromUtf8(UpdateMessages::kPackageVerified));
    QCOMPARE(actionStates(*dialog), (QList<bool>{true, false, true}));
    QVERIFY(!dialog->progressBar()->isVisibleTo(dialog.get()));
}

void UpdateDialogTest::closingDuringDownloadLeavesNothing()
{
    auto dialog = availableDialog();
    QVERIFY(dialog);
    ChannelAnswer held;
    held.body = m_bed->package();
    held.pieceBytes = 16384;
    held.intervalMs = 10;
    held.stopAfter = held.body.size() / 2;
    m_bed->channel().setAnswer(QLatin1String(kPackagePath), held);
    dialog->downloadButton()->click();
    QTRY_VERIFY(dialog->progressBar()->value() > 0);
    dialog->reject();
    dialog.reset();
    QTest::qWait(50);
    QCOMPARE(m_bed->packageEntries(), QStringList());
}

void UpdateDialogTest::failedCheckOffersCheckAgain()
{
    UpdateDialog dialog(m_bed->service(), silentPrompts());
    dialog.checkButton()->click();
    QCOMPARE(actionStates(dialog), (QList<bool>{false, false, false}));
    QVERIFY(UpdateTestBed::settle(*dialog.service()));
    QCOMPARE(dialog.statusLabel()->text(), QString::fromUtf8(UpdateMessages::kDescriptionNotFetched));
    QCOMPARE(actionStates(dialog), (QList<bool>{true, false, false}));
}

int main(int argc, char** argv)
{
    // Before any thread exists.
    const QString networkError = enterPrivateNetwork();
    QApplication application(argc, argv);
    UpdateDialogTest test(networkError);
    return QTest::qExec(&test, argc, argv);
}

#include "UpdateDialogTest.moc"
