// velk-worker-run: developer tool, built with the tests and never installed.
// Reads one request object (from the file named as argument, else from
// standard input), runs it through runPdfWorker against the build's
// application directory and prints {"error": ..., "reply": ...} on standard
// output. Exit status 0 when the run succeeded, 1 when it reported an
// error, 2 when the tool could not even form a request.
//
//   velk-worker-run [--time-limit MS] [REQUEST.json]

#include "worker/runner/PdfWorkerRunner.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cstdio>
#include <optional>

namespace {

// A request file is compacted before the runner bounds it; this only keeps
// the tool from reading an unbounded file.
constexpr qint64 kMaxInputBytes = 16 * 1024 * 1024;
constexpr int kDefaultTimeLimitMs = 20000;

std::optional<QByteArray> readInput(const QString& path)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        return std::nullopt;
    QByteArray bytes = file.read(kMaxInputBytes + 1);
    if (bytes.size() > kMaxInputBytes)
        return std::nullopt;
    return bytes;
}

int print(const QJsonObject& result, int status)
{
    const QByteArray text = QJsonDocument(result).toJson(QJsonDocument::Indented);
    const bool written = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
    return (written && std::fflush(stdout) == 0) ? status : 2;
}

int toolFailure(const QString& sentence)
{
    return print(QJsonObject{{"error", sentence}, {"reply", QJsonValue::Null}}, 2);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption timeLimit(QStringLiteral("time-limit"), QStringLiteral("Time limit in milliseconds."),
                                       QStringLiteral("ms"), QString::number(kDefaultTimeLimitMs));
    parser.addOption(timeLimit);
    parser.addPositionalArgument(QStringLiteral("request"), QStringLiteral("Request file; standard input if absent."));
    if (!parser.parse(application.arguments()) || parser.positionalArguments().size() > 1)
        return toolFailure(QStringLiteral("Kullanım: velk-worker-run [--time-limit MS] [İSTEK.json]"));

    bool numeric = false;
    const int timeLimitMs = parser.value(timeLimit).toInt(&numeric);
    if (!numeric)
        return toolFailure(QStringLiteral("Süre sınırı bir tam sayı olmalı."));

    const QString path = parser.positionalArguments().value(0);
    const std::optional<QByteArray> input = readInput(path);
    if (!input)
        return toolFailure(QStringLiteral("İstek okunamadı."));
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(*input, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return toolFailure(QStringLiteral("İstek bir JSON nesnesi değil."));

    const velk::WorkerReply reply =
        velk::runPdfWorker(document.object(), nullptr, timeLimitMs, QStringLiteral(VELK_APP_DIR));
    const QJsonObject result{{"error", reply.error}, {"reply", reply.json}};
    return print(result, reply.error.isEmpty() ? 0 : 1);
}
