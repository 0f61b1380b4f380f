#include "signing/ui/SignatureVerificationDialog.h"

#include "signing/verification/SignatureVerifier.h"
#include "signing/verification/VerificationText.h"

#include <QFutureWatcher>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <memory>

namespace velk {

namespace {

// The trust-chain path, or no value when the user stopped.
std::optional<QString> chooseTrust(QWidget* parent, const VerificationPrompts& prompts, bool& networkAllowed)
{
    const VerificationChoice choice = prompts.question(parent);
    networkAllowed = choice.networkAllowed;
    if (choice.trust == VerificationChoice::Trust::SystemStore)
        return QString();
    if (choice.trust != VerificationChoice::Trust::PemFile)
        return std::nullopt;
    const QString path = prompts.pemFile(parent, QStringLiteral("Güvenilen CA sertifikaları"),
                                         QStringLiteral("PEM sertifikaları (*.pem *.crt);;Tüm dosyalar (*)"));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

SignatureReports runBehindProgress(QWidget* parent, PdfDocumentPtr document, const QString& trustPath,
                                   const CancelFlag& cancel, const VerificationOptions& options)
{
    QProgressDialog progress(QStringLiteral("İmzalar kontrol ediliyor…"), QStringLiteral("İptal"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("verificationProgress"));
    progress.setWindowTitle(QStringLiteral("İmza doğrulama"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [cancel] { cancel->exchange(true); });

    QFutureWatcher<SignatureReports> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &progress, [&progress] { progress.done(0); });
    watcher.setFuture(QtConcurrent::run([document, trustPath, cancel, options] {
        return verifySignatures(document, trustPath, cancel, options);
    }));
    progress.exec();
    // A cancelled run ends quickly: its worker is killed.
    watcher.waitForFinished();
    return watcher.result();
}

} // namespace

void showSignatureVerification(QWidget* parent, PdfDocumentPtr document)
{
    showSignatureVerification(parent, std::move(document), VerificationPrompts::dialogs());
}

void showSignatureVerification(QWidget* parent, PdfDocumentPtr document, const VerificationPrompts& given)
{
    const VerificationPrompts prompts = VerificationPrompts::completed(given);
    bool networkAllowed = true;
    const std::optional<QString> trustPath = chooseTrust(parent, prompts, networkAllowed);
    if (!trustPath)
        return;
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
    VerificationOptions options;
    options.networkAllowed = networkAllowed;
    const SignatureReports result = runBehindProgress(parent, std::move(document), *trustPath, cancel, options);
    if (cancel->load())
        return;
    prompts.showResults(parent, VerificationText::text(result));
}

} // namespace velk
