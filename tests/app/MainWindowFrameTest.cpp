// The main window as it first shows: the start tab between the two panels,
// the main tool bar, the menus with their exact texts, shortcuts and tool
// tips, the status bar with its hidden cancel button, and the commands with
// their drawn icons and first enabled states.

#include "app/DetailsPanel.h"
#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "app/StartPage.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"
#include "update/UpdateDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace velk;

namespace {

QMenu* menuTitled(const MainWindow& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QStringList texts(const QList<QAction*>& actions)
{
    QStringList list;
    for (const QAction* action : actions)
        list << (action->isSeparator() ? QStringLiteral("—") : action->text());
    return list;
}

} // namespace

class MainWindowFrameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void windowFramesTheStartTab()
    {
        MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Velk PDF"));
        QCOMPARE(window.size(), QSize(1280, 840));
        QCOMPARE(window.minimumSize(), QSize(760, 540));
        QCOMPARE(window.centralWidget(), window.tabs());
        QCOMPARE(window.tabs()->count(), 1);
        QCOMPARE(window.tabs()->tabText(0), QStringLiteral("Başlangıç"));
        QCOMPARE(window.tabs()->widget(0), window.startPage());
        QVERIFY(window.tabs()->tabsClosable());
        QVERIFY(window.tabs()->isMovable());
        QCOMPARE(window.tabs()->tabBar()->tabButton(0, QTabBar::LeftSide), nullptr);
        QCOMPARE(window.tabs()->tabBar()->tabButton(0, QTabBar::RightSide), nullptr);

        QCOMPARE(window.dockWidgetArea(window.toolsPanel()), Qt::LeftDockWidgetArea);
        QCOMPARE(window.dockWidgetArea(window.detailsPanel()), Qt::RightDockWidgetArea);
        QCOMPARE(window.detailsPanel()->title(), QStringLiteral("Belge açık değil"));
        QVERIFY(!window.isBusy());
    }

    void mainToolbarCarriesBrandAndFileCommands()
    {
        MainWindow window;
        auto* toolbar = window.findChild<QToolBar*>(QStringLiteral("mainToolbar"));
        QVERIFY(toolbar);
        QCOMPARE(toolbar->windowTitle(), QStringLiteral("Dosya araçları"));
        QVERIFY(!toolbar->isMovable());
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(toolbar->iconSize(), QSize(20, 20));
        QCOMPARE(window.toolBarArea(toolbar), Qt::TopToolBarArea);

        const QList<QAction*> items = toolbar->actions();
        QCOMPARE(items.size(), 6);
        auto* badge = qobject_cast<QLabel*>(toolbar->widgetForAction(items.at(0)));
        auto* name = qobject_cast<QLabel*>(toolbar->widgetForAction(items.at(1)));
        QVERIFY(badge && name);
        QCOMPARE(badge->objectName(), QStringLiteral("brandBadge"));
        QCOMPARE(badge->text(), QStringLiteral("PDF"));
        QCOMPARE(name->objectName(), QStringLiteral("brandName"));
        QCOMPARE(name->text(), QStringLiteral("Velk PDF"));
        QVERIFY(items.at(2)->isSeparator());
        const MainWindowActions& a = window.actions();
        QCOMPARE(items.mid(3), (QList<QAction*>{a.open, a.blankPdf, a.imagesToPdf}));
    }

    void menusListTheCommandsInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");

        QTest::newRow("file") << "&Dosya"
                              << QStringList{"PDF &aç…", "Farklı kaydet…", "&Boş PDF oluştur…", "&Görsellerden PDF…",
                                             "Word / ODT / RTF'den PDF…", "—", "Son açılanlar", "Yazdır…",
                                             "Sekmeyi kapat", "—", "Çı&kış"};
        QTest::newRow("view") << "&Görünüm"
                              << QStringList{"Tam ekran", "Sonraki sekme", "Önceki sekme", "Tüm araçlar", "Belge"};
        QTest::newRow("document") << "&Belge"
                                  << QStringList{"Metni düzenle…", "Vurgulama veya şekil ekle…", "PDF formunu doldur…",
                                                 "Sayfaları düzenle…", "PDF birleştir…", "Metni tanı (OCR)…"};
        QTest::newRow("signature") << "&E-imza" << QStringList{"Cihazla imzala…", "İmzaları doğrula…"};
        QTest::newRow("help") << "&Yardım" << QStringList{"Güvenli güncelleme…", "Hakkında"};
    }

    void menusListTheCommandsInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        MainWindow window;
        QCOMPARE(texts(window.menuBar()->actions()),
                 (QStringList{"&Dosya", "&Görünüm", "&Belge", "&E-imza", "&Yardım"}));
        QMenu* found = menuTitled(window, menu);
        QVERIFY(found);
        QCOMPARE(texts(found->actions()), items);
    }

    void viewMenuTogglesThePanels()
    {
        MainWindow window;
        const QList<QAction*> view = menuTitled(window, "&Görünüm")->actions();
        QCOMPARE(view, (QList<QAction*>{window.actions().fullScreen, window.actions().nextTab,
                                        window.actions().previousTab, window.toolsPanel()->toggleViewAction(),
                                        window.detailsPanel()->toggleViewAction()}));
    }

    void commandsCarryShortcutsAndToolTips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QKeySequence>>("shortcuts");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("objectName");

        const auto standard = [](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); };
        const QList<QKeySequence> none;
        QTest::newRow("open") << "PDF &aç…" << standard(QKeySequence::Open)
                              << "Yerel bir PDF belgesini yeni sekmede aç" << "";
        QTest::newRow("save copy") << "Farklı kaydet…" << standard(QKeySequence::SaveAs)
                                   << "Açık belgenin çalışma kopyasını değiştirmeden yeni PDF'ye kaydet" << "";
        QTest::newRow("blank") << "&Boş PDF oluştur…" << standard(QKeySequence::New)
                               << "Yeni bir A4 PDF belgesi oluştur ve kaydet" << "";
        QTest::newRow("images") << "&Görsellerden PDF…" << none
                                << "PNG, JPEG veya BMP görsellerini sırasıyla PDF sayfalarına dönüştür" << "";
        QTest::newRow("office") << "Word / ODT / RTF'den PDF…" << none
                                << "LibreOffice Writer ile yerel ve yalıtılmış PDF dönüşümü" << "";
        QTest::newRow("quit") << "Çı&kış" << standard(QKeySequence::Quit) << "" << "";
        QTest::newRow("full screen") << "Tam ekran" << QList<QKeySequence>{QKeySequence(Qt::Key_F11)}
                                     << "Tam ekran görünümünü aç veya kapat (F11)" << "";
        QTest::newRow("edit text") << "Metni düzenle…" << none
                                   << "Geçerli sayfadaki metin nesnesini düzenle veya kaldır" << "";
        QTest::newRow("shape") << "Vurgulama veya şekil ekle…" << none
                               << "Sayfada iki köşe seçerek vurgulama, dikdörtgen veya elips ekle" << "";
        QTest::newRow("form") << "PDF formunu doldur…" << none
                              << "Belgedeki standart metin ve seçim alanlarını doldur" << "";
        QTest::newRow("organise") << "Sayfaları düzenle…" << none
                                  << "Sayfa sıralama, silme, döndürme ve seçilen sayfaları yeni PDF'ye ayırma" << "";
        QTest::newRow("merge") << "PDF birleştir…" << none
                               << "Birden fazla PDF'yi istediğiniz sırada yeni bir belgede birleştir" << "";
        QTest::newRow("OCR") << "Metni tanı (OCR)…" << none
                             << "Türkçe/İngilizce taramaları yerel olarak tanı ve yeni aranabilir PDF oluştur" << "";
        QTest::newRow("sign") << "Cihazla imzala…" << none
                              << "USB token veya akıllı kart ile yeni PDF'ye elektronik imza at"
                              << "signDocumentAction";
        QTest::newRow("verify") << "İmzaları doğrula…" << none
                                << "PDF imzalarının bütünlük ve sertifika zinciri durumunu kontrol et"
                                << "verifySignaturesAction";
        QTest::newRow("update") << "Güvenli güncelleme…" << none << "" << "";
        QTest::newRow("print") << "Yazdır…" << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_P)}
                               << "Açık belgeyi yazıcıya gönder" << "";
        QTest::newRow("close tab") << "Sekmeyi kapat"
                                   << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_W),
                                                          QKeySequence(Qt::CTRL | Qt::Key_F4)}
                                   << "" << "";
        QTest::newRow("next tab") << "Sonraki sekme" << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Tab)}
                                  << "" << "";
        QTest::newRow("about") << "Hakkında" << QList<QKeySequence>{QKeySequence(Qt::Key_F1)} << "" << "";
    }

    void commandsCarryShortcutsAndToolTips()
    {
        QFETCH(QString, text);
        QFETCH(QList<QKeySequence>, shortcuts);
        QFETCH(QString, toolTip);
        QFETCH(QString, objectName);
        MainWindow window;
        QAction* action = nullptr;
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            for (QAction* item : menu->actions()) {
                if (item->text() == text)
                    action = item;
            }
        }
        QVERIFY(action);
        QCOMPARE(action->shortcuts(), shortcuts);
        // No tool tip of its own: Qt's default, made from the text.
        QCOMPARE(action->toolTip(), toolTip.isEmpty() ? QAction(text).toolTip() : toolTip);
        QCOMPARE(action->objectName(), objectName);
        if (!objectName.isEmpty())
            QCOMPARE(window.findChild<QAction*>(objectName), action);
    }

    void commandsCarryTheirIconsAndState_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("open") << 0 << true;
        QTest::newRow("blank PDF") << 1 << true;
        QTest::newRow("images to PDF") << 2 << true;
        QTest::newRow("office to PDF") << 3 << false;
        QTest::newRow("edit text") << 4 << false;
        QTest::newRow("fill form") << 5 << false;
        QTest::newRow("organise pages") << 6 << false;
        QTest::newRow("merge") << 7 << true;
        QTest::newRow("OCR") << 8 << false;
    }

    void commandsCarryTheirIconsAndState()
    {
        QFETCH(int, which);
        QFETCH(bool, enabled);
        MainWindow window;
        const MainWindowActions& a = window.actions();
        const QList<QAction*> all = {a.open, a.blankPdf, a.imagesToPdf, a.officeToPdf, a.editText,
                                     a.fillForm, a.organizePages, a.merge, a.ocr};
        QAction* action = all.at(which);
        QVERIFY(action);
        QVERIFY(!action->icon().isNull());
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(!action->toolTip().isEmpty());
    }

    void officeConversionStaysHidden()
    {
        MainWindow window;
        QVERIFY(!window.actions().officeToPdf->isVisible());
        QVERIFY(!window.actions().officeToPdf->isEnabled());
    }

    void statusBarStartsReady()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Hazır · Belgeler yerel olarak işlenir"));
        QPushButton* cancel = window.cancelButton();
        QCOMPARE(cancel->text(), QStringLiteral("İptal"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Devam eden işlemi iptal et"));
        QCOMPARE(cancel->parentWidget(), window.statusBar());
        QVERIFY(!cancel->isVisible());
    }

    void fullScreenToggles()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* fullScreen = window.actions().fullScreen;
        QVERIFY(fullScreen->isCheckable());
        fullScreen->trigger();
        QTRY_VERIFY(window.windowState().testFlag(Qt::WindowFullScreen));
        fullScreen->trigger();
        QTRY_VERIFY(!window.windowState().testFlag(Qt::WindowFullScreen));
    }

    void quitClosesTheWindow()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.actions().quit->trigger();
        QVERIFY(!window.isVisible());
    }

    void updateCommandOpensTheUpdateDialog()
    {
        // The shipped build has no release anchor: the dialog says so, offers
        // nothing, and the window is left as it was.
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QAction* update = window.actions().secureUpdate;
        QVERIFY(update->isEnabled());
        QString title;
        QString status;
        QList<bool> enabled;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<UpdateDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            status = dialog->statusLabel()->text();
            enabled = {dialog->checkButton()->isEnabled(), dialog->downloadButton()->isEnabled(),
                       dialog->installerButton()->isEnabled()};
            dialog->reject();
        });
        update->trigger();
        QCOMPARE(title, QStringLiteral("Güvenli güncelleme"));
        QCOMPARE(status, QStringLiteral("Bu geliştirme sürümünde üretim güncelleme anahtarı ve HTTPS yayın kanalı "
                                        "henüz yapılandırılmadı. İmzasız paket yüklenmez."));
        QCOMPARE(enabled, (QList<bool>{false, false, false}));
        QCOMPARE(window.tabs()->count(), 1);
        QVERIFY(!window.isBusy());
        QVERIFY(prompts.openQuestions.isEmpty() && prompts.saveQuestions.isEmpty() && prompts.warnings.isEmpty());
    }

    void openCommandAsksForAPdf()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.actions().open->trigger();
        QCOMPARE(prompts.openQuestions.size(), 1);
        QCOMPARE(prompts.openQuestions.at(0).title, QStringLiteral("PDF aç"));
        QCOMPARE(prompts.openQuestions.at(0).filter, QStringLiteral("PDF belgeleri (*.pdf)"));
        // Cancelled: nothing opens.
        QCOMPARE(window.tabs()->count(), 1);
        QVERIFY(prompts.warnings.isEmpty());
    }
};

QTEST_MAIN(MainWindowFrameTest)
#include "MainWindowFrameTest.moc"
