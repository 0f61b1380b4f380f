// The verification window, offscreen: its question box, the PEM choice,
// the progress dialog's cancel, the texts shown for a document without
// signatures, a signature whose revocation check needs the network, a
// document time stamp, one fixed report compared as text, and the result
// window. Documents are opened and verified by the real worker in the real
// sandbox; the tests find it beside themselves, as velk-pdf does.

#include "signing/ui/SignatureVerificationDialog.h"
#include "signing/ui/VerificationResultDialog.h"
#include "signing/verification/VerificationFixtures.h"
#include "signing/verification/VerificationText.h"

#include "document/core/DocumentOpen.h"
#include "support/PdfFixtures.h"
#include "support/SandboxHold.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

struct Scripted {
    VerificationChoice choice;
    QString pemAnswer;
    QStringList pemQuestions;
    QStringList results;

    VerificationPrompts prompts()
    {
        VerificationPrompts p;
        p.question = [this](QWidget*) { return choice; };
        p.pemFile = [this](QWidget*, const QString& title, const QString& filter) {
            pemQuestions << title + QLatin1Char('|') + filter;
            return pemAnswer;
        };
        p.showResults = [this](QWidget*, const QString& text) { results << text; };
        return p;
    }
};

// Runs action on the first modal widget of type T once it shows.
template <typename T>
void whenModal(std::function<void(T*)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(widget);
        }
    });
    timer->start();
}

SignatureReport fixedReport()
{
    SignatureReport r;
    r.number = 2;
    r.signerName = QStringLiteral("Ayşe Yılmaz");
    r.integrityValid = true;
    r.verdict = QStringLiteral("Belge bütünlüğü ve sertifika zinciri doğrulandı. GEÇERLİ: DSS OCSP");
    r.declaredSigningTime = QStringLiteral("2026-12-11T09:30:00Z");
    r.hasTimestamp = true;
    r.timestampValid = true;
    r.timestampTime = QStringLiteral("2026-12-11T09:30:05Z");
    r.tsaRevocationStatus = kStatusGood;
    r.revocationStatus = kStatusGood;
    r.nesText = QStringLiteral("Nitelikli değil / NES niteliği doğrulanamadı. Sertifika politikaları: 1.2.3");
    r.permissionsText = QStringLiteral("DocMDP: 2; FieldMDP: yok\nRevizyon 1: form doldurma [ad]: İZİNLİ");
    r.historicalText = QStringLiteral("GEÇERLİ — TSA zamanı: 2026-12-11T09:30:05Z; TSA: GEÇERLİ; DSS OCSP");
    r.archiveText = QStringLiteral("Doğrulanmış DocTimeStamp zinciri kapsamı yok; BELİRSİZ.");
    return r;
}

} // namespace

class SignatureVerificationDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_tsa;
    int m_files = 0;

    PdfDocumentPtr open(const QByteArray& pdf)
    {
        const QString path = m_dir.filePath(QStringLiteral("document-%1.pdf").arg(++m_files));
        if (!writeFile(path, pdf))
            return nullptr;
        return openPdfDocument(path, QString(), nullptr).document;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.filePath(QStringLiteral("pki")));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_tsa = m_pki->issueTimeStampAuthority(QStringLiteral("tsa"), m_pki->root());
        QVERIFY(m_tsa.isValid());
    }

    void pemFileDialogCancelledRunsNothing()
    {
        const PdfDocumentPtr document = open(pdfBytes());
        QVERIFY(document);
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::PemFile, true};
        showSignatureVerification(nullptr, document, scripted.prompts());
        QCOMPARE(scripted.pemQuestions,
                 QStringList{"Güvenilen CA sertifikaları|PEM sertifikaları (*.pem *.crt);;Tüm dosyalar (*)"});
        QVERIFY(scripted.results.isEmpty());
    }

    void questionCancelledRunsNothing()
    {
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::Cancel, true};
        showSignatureVerification(nullptr, open(pdfBytes()), scripted.prompts());
        QVERIFY(scripted.pemQuestions.isEmpty() && scripted.results.isEmpty());
    }

    void documentWithoutSignatures()
    {
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::SystemStore, false};
        showSignatureVerification(nullptr, open(pdfBytes()), scripted.prompts());
        QCOMPARE(scripted.results, QStringList{"Bu belgede kriptografik PDF imzası bulunamadı."});
    }

    void networkOffLeavesRevocationUndetermined()
    {
        const TestCertificate signer = m_pki->issueSigner(QStringLiteral("ocsp-signer"), m_pki->root(),
                                                          {"authorityInfoAccess=OCSP;URI:http://127.0.0.1:9/"});
        QVERIFY(signer.isValid());
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::PemFile, false};
        scripted.pemAnswer = m_pki->root().certificatePath;
        showSignatureVerification(nullptr, open(signedDocument(*m_pki, signer)), scripted.prompts());
        QCOMPARE(scripted.results.size(), 1);
        const QString text = scripted.results.constFirst();
        QVERIFY2(text.contains(QStringLiteral("\nİptal durumu: BELİRSİZ\n")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Belge bütünlüğü ve sertifika zinciri doğrulandı. BELİRSİZ: Ağ izni "
                                              "kapalı; iptal durumu BELİRSİZ.")),
                 qPrintable(text));
    }

    void documentTimestampLine()
    {
        // A document time stamp added to a signed document's empty field.
        const TestCertificate signer = m_pki->issueSigner(QStringLiteral("stamp-signer"), m_pki->root());
        const QByteArray stamped = addDocumentTimestamp(signedDocument(*m_pki, signer), *m_pki, m_tsa);
        QVERIFY(!stamped.isEmpty());
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::PemFile, false};
        scripted.pemAnswer = m_pki->root().certificatePath;
        showSignatureVerification(nullptr, open(stamped), scripted.prompts());
        QCOMPARE(scripted.results.size(), 1);
        const QRegularExpression line(QStringLiteral(
            "\nZaman damgası: İmza/zincir doğrulandı — \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ; TSA iptal durumu: "
            "BELİRSİZ\n"));
        QVERIFY2(scripted.results.constFirst().contains(line), qPrintable(scripted.results.constFirst()));
    }

    void cancelledProgressShowsNoResults()
    {
        const PdfDocumentPtr document = open(pdfBytes());
        QVERIFY(document);
        SandboxHold hold;
        QVERIFY(hold.take());
        QString title;
        QString label;
        whenModal<QProgressDialog>([&](QProgressDialog* progress) {
            title = progress->windowTitle();
            label = progress->labelText();
            progress->findChild<QPushButton*>()->click();
        });
        Scripted scripted;
        scripted.choice = {VerificationChoice::Trust::SystemStore, false};
        QTimer::singleShot(5000, [&hold] { hold.release(); });
        showSignatureVerification(nullptr, document, scripted.prompts());
        hold.release();
        QCOMPARE(title, QStringLiteral("İmza doğrulama"));
        QCOMPARE(label, QStringLiteral("İmzalar kontrol ediliyor…"));
        QVERIFY(scripted.results.isEmpty());
    }

    void questionBox()
    {
        QString text;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->windowTitle() + QLatin1Char('|') + box->text();
            QVERIFY(box->checkBox() && box->checkBox()->isChecked());
            QCOMPARE(box->checkBox()->text(), QStringLiteral("OCSP/CRL için ağ erişimine izin ver"));
            box->checkBox()->setChecked(false);
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("PEM sertifika dosyası seç…"))
                    button->click();
            }
        });
        const VerificationChoice choice = VerificationPrompts::dialogs().question(nullptr);
        QCOMPARE(text, QStringLiteral("İmza doğrulama|Her imzanın bütünlüğü, zaman damgası, NES profili ve belge "
                                      "değişiklikleri kontrol edilir. OCSP/CRL için sertifika adreslerine "
                                      "bağlanılır; belge içeriği gönderilmez. Ağ veya güvenilir kanıt yoksa iptal "
                                      "durumu BELİRSİZ olur."));
        QVERIFY(choice.trust == VerificationChoice::Trust::PemFile);
        QVERIFY(!choice.networkAllowed);
    }

    void fixedReportText()
    {
        QCOMPARE(VerificationText::block(fixedReport()),
                 QStringLiteral("İmza 2\nİmzacı: Ayşe Yılmaz\nBütünlük: Doğrulandı\n"
                                "Güncel dosyanın tamamını kapsıyor: Hayır — imzadan sonra belgeye veri eklenmiş\n"
                                "Belge bütünlüğü ve sertifika zinciri doğrulandı. GEÇERLİ: DSS OCSP\n"
                                "Beyan edilen imza zamanı: 2026-12-11T09:30:00Z (cihaz saati; güvenilir zaman "
                                "değildir)\n"
                                "Zaman damgası: İmza/zincir doğrulandı — 2026-12-11T09:30:05Z; TSA iptal durumu: "
                                "GEÇERLİ\n"
                                "İptal durumu: GEÇERLİ\n"
                                "NES: Nitelikli değil / NES niteliği doğrulanamadı. Sertifika politikaları: 1.2.3\n"
                                "İzinler: DocMDP: 2; FieldMDP: yok\nRevizyon 1: form doldurma [ad]: İZİNLİ\n"
                                "Tarihsel doğrulama: GEÇERLİ — TSA zamanı: 2026-12-11T09:30:05Z; TSA: GEÇERLİ; DSS "
                                "OCSP\n"
                                "Arşiv: Doğrulanmış DocTimeStamp zinciri kapsamı yok; BELİRSİZ."));

        SignatureReport bare;
        bare.number = 1;
        bare.hasTimestamp = true;
        const QString text = VerificationText::text({{bare, fixedReport()}, {}});
        QVERIFY(text.contains(QStringLiteral("\nBeyan edilen imza zamanı: Yok (cihaz saati")));
        QVERIFY(text.contains(QStringLiteral("\nZaman damgası: Var, doğrulanamadı\n")));
        QVERIFY(text.contains(QStringLiteral("\nBütünlük: Doğrulanamadı\nGüncel dosyanın tamamını kapsıyor: Hayır")));
        QVERIFY(text.contains(QStringLiteral("\nArşiv: \n\nİmza 2\n")));
        QCOMPARE(VerificationText::text({{bare}, QStringLiteral("İşlem iptal edildi.")}),
                 QStringLiteral("İşlem iptal edildi."));
    }

    void resultWindow()
    {
        const std::unique_ptr<QDialog> dialog = createVerificationResultDialog(nullptr, QStringLiteral("a\n\nb"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("İmza kontrol sonucu"));
        QCOMPARE(dialog->size(), QSize(760, 620));
        QVERIFY(dialog->styleSheet().startsWith(QStringLiteral("QDialog, QPlainTextEdit { background: #F8FAFC;")));
        auto* view = dialog->findChild<QPlainTextEdit*>();
        QVERIFY(view && view->isReadOnly());
        QCOMPARE(view->toPlainText(), QStringLiteral("a\n\nb"));
        auto* notice = dialog->findChild<QLabel*>(QStringLiteral("signatureNotice"));
        QVERIFY(notice && notice->textFormat() == Qt::RichText);
        QVERIFY(notice->text().startsWith(QStringLiteral("Bu özellik geliştirilmektedir, sorun yaşanması halinde "
                                                         "ekran görüntüsü ile bizimle iletişime geçin: <a ")));
        QVERIFY(notice->text().contains(QStringLiteral("mailto:")));
        QPushButton* close = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
        QCOMPARE(close->text(), QStringLiteral("Kapat"));
        dialog->show();
        close->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(SignatureVerificationDialogTest)
#include "SignatureVerificationDialogTest.moc"
