// After start-up Qt's own dialogs speak Turkish: the standard buttons, the
// file dialog's buttons, labels and dates, and numbers in Turkish format.
// The translations come from Debian's qt6-translations-l10n, which the
// set-up script installs; their absence is a failure, not a skip.

#include "app/QtTurkish.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace velk;

class QtTurkishTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QtTurkish::install(*qApp),
                 qPrintable(QStringLiteral("qtbase_tr.qm not found in %1 (scripts/setup.sh installs "
                                           "qt6-translations-l10n)")
                                .arg(QtTurkish::translationDirectory())));
    }

    void standardButtonsReadTurkish_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("ok") << int(QDialogButtonBox::Ok) << "Tamam";
        QTest::newRow("cancel") << int(QDialogButtonBox::Cancel) << "İptal";
        QTest::newRow("close") << int(QDialogButtonBox::Close) << "Kapat";
    }
    void standardButtonsReadTurkish()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QDialogButtonBox box{QDialogButtonBox::StandardButtons(button)};
        QCOMPARE(box.button(QDialogButtonBox::StandardButton(button))->text().remove(QLatin1Char('&')), text);
    }

    void fileDialogReadsTurkish_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("accept");
        QTest::newRow("open") << int(QFileDialog::AcceptOpen) << "Aç";
        QTest::newRow("save") << int(QFileDialog::AcceptSave) << "Kaydet";
    }
    void fileDialogReadsTurkish()
    {
        QFETCH(int, mode);
        QFETCH(QString, accept);
        QFileDialog dialog(nullptr, QStringLiteral("PDF aç"), QDir::homePath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptMode(mode));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QStringList texts;
        for (QAbstractButton* button : buttons->buttons())
            texts << button->text().remove(QLatin1Char('&'));
        QVERIFY2(texts.contains(accept), qPrintable(texts.join(QLatin1Char(','))));
        QVERIFY2(texts.contains(QStringLiteral("İptal")), qPrintable(texts.join(QLatin1Char(','))));
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text().remove(QLatin1Char('&'));
        QVERIFY2(labels.contains(QStringLiteral("Dosya adı:")), qPrintable(labels.join(QLatin1Char(','))));
    }

    void numbersAndDatesAreTurkish()
    {
        const QLocale locale;
        QCOMPARE(locale.language(), QLocale::Turkish);
        QCOMPARE(locale.toString(1234.5, 'f', 1), QStringLiteral("1.234,5"));
        QCOMPARE(locale.toString(QDate(2026, 12, 11), QStringLiteral("d MMM")), QStringLiteral("11 Ara"));
    }
};

QTEST_MAIN(QtTurkishTest)
#include "QtTurkishTest.moc"
