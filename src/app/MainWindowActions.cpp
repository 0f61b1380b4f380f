#include "app/MainWindowActions.h"

#include <QAction>
#include <QKeySequence>

namespace velk {

namespace {

// An empty tool tip leaves Qt's default (the text without its mnemonic).
QAction* makeAction(QObject* parent, const QString& text, const QString& toolTip = QString())
{
    auto* action = new QAction(text, parent);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    return action;
}

void createFileActions(MainWindowActions& a, QObject* parent)
{
    a.open = makeAction(parent, QStringLiteral("PDF &aç…"), QStringLiteral("Yerel bir PDF belgesini yeni sekmede aç"));
    a.open->setShortcut(QKeySequence::Open);
    a.saveCopy = makeAction(parent, QStringLiteral("Farklı kaydet…"),
                            QStringLiteral("Açık belgenin çalışma kopyasını değiştirmeden yeni PDF'ye kaydet"));
    a.saveCopy->setShortcut(QKeySequence::SaveAs);
    a.blankPdf = makeAction(parent, QStringLiteral("&Boş PDF oluştur…"),
                            QStringLiteral("Yeni bir A4 PDF belgesi oluştur ve kaydet"));
    a.blankPdf->setShortcut(QKeySequence::New);
    a.imagesToPdf =
        makeAction(parent, QStringLiteral("&Görsellerden PDF…"),
                   QStringLiteral("PNG, JPEG veya BMP görsellerini sırasıyla PDF sayfalarına dönüştür"));
    a.officeToPdf = makeAction(parent, QStringLiteral("Word / ODT / RTF'den PDF…"),
                               QStringLiteral("LibreOffice Writer ile yerel ve yalıtılmış PDF dönüşümü"));
    a.officeToPdf->setVisible(false);
    a.officeToPdf->setEnabled(false);
    a.quit = makeAction(parent, QStringLiteral("Çı&kış"));
    a.quit->setShortcut(QKeySequence::Quit);
}

void createViewActions(MainWindowActions& a, QObject* parent)
{
    a.fullScreen = makeAction(parent, QStringLiteral("Tam ekran"),
                              QStringLiteral("Tam ekran görünümünü aç veya kapat (F11)"));
    a.fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    a.fullScreen->setCheckable(true);
}

void createDocumentActions(MainWindowActions& a, QObject* parent)
{
    a.editText = makeAction(parent, QStringLiteral("Metni düzenle…"),
                            QStringLiteral("Geçerli sayfadaki metin nesnesini düzenle veya kaldır"));
    a.addShape = makeAction(parent, QStringLiteral("Vurgulama veya şekil ekle…"),
                            QStringLiteral("Sayfada iki köşe seçerek vurgulama, dikdörtgen veya elips ekle"));
    a.fillForm = makeAction(parent, QStringLiteral("PDF formunu doldur…"),
                            QStringLiteral("Belgedeki standart metin ve seçim alanlarını doldur"));
    a.organizePages =
        makeAction(parent, QStringLiteral("Sayfaları düzenle…"),
                   QStringLiteral("Sayfa sıralama, silme, döndürme ve seçilen sayfaları yeni PDF'ye ayırma"));
    a.merge = makeAction(parent, QStringLiteral("PDF birleştir…"),
                         QStringLiteral("Birden fazla PDF'yi istediğiniz sırada yeni bir belgede birleştir"));
    a.ocr = makeAction(
        parent, QStringLiteral("Metni tanı (OCR)…"),
        QStringLiteral("Türkçe/İngilizce taramaları yerel olarak tanı ve yeni aranabilir PDF oluştur"));
}

void createSignatureActions(MainWindowActions& a, QObject* parent)
{
    a.signDocument = makeAction(parent, QStringLiteral("Cihazla imzala…"),
                                QStringLiteral("USB token veya akıllı kart ile yeni PDF'ye elektronik imza at"));
    a.signDocument->setObjectName(QStringLiteral("signDocumentAction"));
    a.verifySignatures =
        makeAction(parent, QStringLiteral("İmzaları doğrula…"),
                   QStringLiteral("PDF imzalarının bütünlük ve sertifika zinciri durumunu kontrol et"));
    a.verifySignatures->setObjectName(QStringLiteral("verifySignaturesAction"));
    a.secureUpdate = makeAction(parent, QStringLiteral("Güvenli güncelleme…"));
}

} // namespace

MainWindowActions createMainWindowActions(QObject* parent)
{
    MainWindowActions actions;
    createFileActions(actions, parent);
    createViewActions(actions, parent);
    createDocumentActions(actions, parent);
    createSignatureActions(actions, parent);
    createDesktopActions(actions, parent);
    setActionIcons(actions);
    return actions;
}

} // namespace velk
