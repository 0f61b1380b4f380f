#include "operations/DocumentQueryProgress.h"

#include "worker/runner/CancelFlag.h"
#include "operations/OperationMessages.h"
#include "operations/QueryDocument.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QtConcurrent>

namespace velk {

WorkerReply query(QWidget* parent, PdfDocumentPtr document, const QString& operation, int page)
{
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);

    QProgressDialog progress(QStringLiteral("Belge alanları okunuyor…"), QStringLiteral("İptal"), 0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    // "İptal" only raises the flag: the dialog stays up, and input stays
    // blocked, until the stopped run has really ended. The default
    // connection to cancel(), which would hide the dialog, is made by name.
    QObject::disconnect(&progress, SIGNAL(canceled()), &progress, SLOT(cancel()));
    const auto raiseFlag = [cancel] { cancel->store(true); };
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, raiseFlag);
    // Escape rejects the dialog without "canceled"; it cancels all the same.
    QObject::connect(&progress, &QDialog::rejected, &progress, raiseFlag);

    QEventLoop loop;
    bool ended = false;
    QFutureWatcher<WorkerReply> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, [&loop, &ended] {
        ended = true;
        loop.quit();
    });
    watcher.setFuture(QtConcurrent::run(
        [document, operation, page, cancel] { return queryDocument(document, operation, page, cancel); }));
    progress.show();
    // The finished signal may already have been delivered while the dialog
    // was shown; a loop started after it would never end.
    if (!ended)
        loop.exec();
    progress.hide();

    if (cancel->load())
        return WorkerReply{QJsonObject(), OperationMessages::cancelled()};
    return watcher.result();
}

} // namespace velk
