// Developer tool behind bench/evidence.sh, never run by CTest:
//   velk-evidence-bench serve DIR         makes the test PKI in DIR, serves it
//                                          on loopback, prints the port, runs until killed
//   velk-evidence-bench timestamp URL ROOT RUNS   median of requestTimestamp
//   velk-evidence-bench fetch URL RUNS            median of one GET through fetchEvidence
// Medians are printed in milliseconds, measured inside this process.

#include "signing/network/EvidenceFetcher.h"
#include "signing/timestamps/Timestamp.h"
#include "support/EvidencePki.h"
#include "support/EvidenceServer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr qsizetype kCrlBytes = 15 * 1000 * 1000;

velk::EvidenceFetchContext loopbackContext()
{
    velk::EvidenceFetchContext context;
    context.networkAllowed = true;
    context.privateHostAllowList = {QStringLiteral("127.0.0.1")};
    return context;
}

// Runs `step` `runs` times; the median in milliseconds, or -1 when a run failed.
double medianMs(int runs, const std::function<bool()>& step)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!step())
            return -1;
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const qsizetype middle = times.size() / 2;
    return times.size() % 2 != 0 ? times.at(middle) : (times.at(middle - 1) + times.at(middle)) / 2;
}

int serve(const QString& directory)
{
    velk::test::EvidenceServer server;
    if (!server.listen())
        return 1;
    velk::test::EvidencePki pki(directory, server);
    if (!pki.isValid())
        return 1;
    // The fetch is what is measured: the bytes need not parse as a CRL.
    QByteArray crl(kCrlBytes, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(crl.data()), crl.size() / 4);
    server.setRoute("/big.crl", velk::test::EvidenceServer::file(crl, "application/pkix-crl"));
    QTextStream(stdout) << server.port() << Qt::endl;
    return QCoreApplication::exec();
}

int timestamp(const QString& url, const QString& root, int runs)
{
    const QByteArray imprint = QCryptographicHash::hash("benchmark", QCryptographicHash::Sha256);
    const double median = medianMs(runs, [&] {
        velk::EvidenceFetchContext context = loopbackContext();
        QString error;
        return !velk::Timestamp::requestTimestamp(imprint, url, root, context, error).isEmpty();
    });
    QTextStream(stdout) << median << Qt::endl;
    return median < 0 ? 1 : 0;
}

int fetch(const QString& url, int runs)
{
    const double median = medianMs(runs, [&] {
        velk::EvidenceFetchContext context = loopbackContext();
        QString error;
        return !velk::EvidenceFetcher::fetchEvidence(context, QUrl(url), {}, "application/pkix-crl", error).isEmpty();
    });
    QTextStream(stdout) << median << Qt::endl;
    return median < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("serve") && arguments.size() == 3)
        return serve(arguments.at(2));
    if (mode == QLatin1String("timestamp") && arguments.size() == 5)
        return timestamp(arguments.at(2), arguments.at(3), arguments.at(4).toInt());
    if (mode == QLatin1String("fetch") && arguments.size() == 4)
        return fetch(arguments.at(2), arguments.at(3).toInt());
    return 2;
}
