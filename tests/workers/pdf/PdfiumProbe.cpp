// A test program built into its own directory (beside an incomplete PDFium
// library, or beside none) so that the binding's search of the executable's
// directory can be observed. "bind" prints the binding's outcome;
// "dispatch" answers the JSON request on standard input with the dispatcher
// and prints the reply.

#include "pdfium/Pdfium.h"
#include "RequestDispatcher.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>

namespace {

void print(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("bind")) {
        velk::Pdfium pdfium;
        print(pdfium.bindPdfium() ? QByteArray("bound") : pdfium.errorMessage().toUtf8());
        return 0;
    }
    if (mode == QLatin1String("dispatch")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return 3;
        const QJsonObject request = QJsonDocument::fromJson(in.readAll()).object();
        print(velk::WorkerContract::encodeReply(velk::dispatchRequest(request)));
        return 0;
    }
    return 3;
}
