#include "pages/PagesOperation.h"

#include "ErrorReply.h"
#include "pages/PageJobPlan.h"
#include "pages/PageSourceCheck.h"
#include "PdfWorkerLimits.h"
#include "pages/QpdfJob.h"

#include "worker/contract/operations/PagesContract.h"

#include <QDir>
#include <QFileInfo>

#include <variant>

namespace velk {

namespace {

constexpr int kMaxOutputPages = SharedLimits::kMaxOutputPages;

using Failure = QString;

struct VettedJob {
    QList<PageSource> sources;
    int totalPages = 0;
};

bool isUsableOutput(const QString& output)
{
    if (output.isEmpty() || output.contains(QChar(0)) || !QDir::isAbsolutePath(output))
        return false;
    const QFileInfo info(output);
    // A dangling symbolic link exists as far as writing is concerned.
    return !info.exists() && !info.isSymLink();
}

std::variant<PageSource, Failure> vetSource(const Pdfium& pdfium, const PageSourceEntry& source)
{
    const QString& path = source.path;
    if (!PageSourceCheck::isReadableSource(path))
        return Failure(QStringLiteral("Kaynak PDF okunamıyor."));
    const std::optional<PageSourceFacts> facts = PageSourceCheck::read(pdfium, path);
    if (!facts)
        return Failure(QStringLiteral("Şifreli veya bozuk PDF sayfa işlemine alınamadı."));
    if (facts->isProtected())
        return Failure(QStringLiteral(
            "Bu sürüm imzalı, şifreli veya etkileşimli form içeren PDF'lerde sayfa değişikliği yapmaz."));
    if (facts->pageCount < PdfWorkerLimits::kMinPageCount || facts->pageCount > PdfWorkerLimits::kMaxPageCount)
        return Failure(QStringLiteral("Sayfa sayısı desteklenen sınırı aşıyor."));

    PageSource vetted{QFileInfo(path).absoluteFilePath(), facts->pageCount, {}, 0};
    const std::optional<QString> range = PageJobPlan::rangeText(source.pages, facts->pageCount, vetted.selectedPages);
    if (!range)
        return Failure(QStringLiteral("Sayfa seçimi geçersiz."));
    vetted.rangeText = *range;
    return vetted;
}

std::variant<VettedJob, Failure> vetSources(const Pdfium& pdfium, const QList<PageSourceEntry>& sources)
{
    VettedJob job;
    for (const PageSourceEntry& entry : sources) {
        auto vetted = vetSource(pdfium, entry);
        if (auto* failure = std::get_if<Failure>(&vetted))
            return *failure;
        PageSource& source = std::get<PageSource>(vetted);
        job.totalPages += source.selectedPages;
        if (job.totalPages > kMaxOutputPages)
            return Failure(QStringLiteral("Çıktı 10000 sayfayı aşamaz."));
        job.sources.append(std::move(source));
    }
    return job;
}

std::variant<RotationGroups, Failure> readRotations(const std::optional<QList<qint64>>& rotations, int totalPages)
{
    if (!rotations || (!rotations->isEmpty() && rotations->size() != totalPages))
        return Failure(QStringLiteral("Döndürme listesi sayfa sayısıyla uyuşmuyor."));
    const std::optional<RotationGroups> groups = PageJobPlan::rotationGroups(*rotations);
    if (!groups)
        return Failure(QStringLiteral("Döndürme açısı geçersiz."));
    return *groups;
}

std::optional<Failure> runQpdf(const QStringList& arguments)
{
    switch (QpdfJob::run(arguments)) {
    case QpdfJob::Outcome::Succeeded:
        return std::nullopt;
    case QpdfJob::Outcome::LibraryMissing:
        return Failure(QStringLiteral("QPDF sayfa motoru yüklenemedi."));
    case QpdfJob::Outcome::FunctionMissing:
        return Failure(QStringLiteral("QPDF API sürümü uyumsuz."));
    case QpdfJob::Outcome::Failed:
        break;
    }
    return Failure(QStringLiteral("QPDF işlemi hata veya uyumluluk uyarısı verdi; çıktı kaydedilmedi."));
}

std::variant<int, Failure> verifyOutput(const Pdfium& pdfium, const QString& output, int expectedPages)
{
    const std::optional<PageSourceFacts> facts = PageSourceCheck::read(pdfium, output);
    if (!facts)
        return Failure(QStringLiteral("Oluşturulan PDF yeniden açılamadı."));
    if (facts->pageCount != expectedPages)
        return Failure(QStringLiteral("Çıktı sayfa sayısı doğrulanamadı."));
    return facts->pageCount;
}

std::variant<int, Failure> runJob(PageJobMode mode, const QJsonObject& json)
{
    const std::optional<PagesRequest> request = PagesRequest::fromJson(json);
    if (!request || !isUsableOutput(request->output))
        return Failure(QStringLiteral("Sayfa işlemi isteği geçersiz."));
    const QString& output = request->output;

    Pdfium pdfium;
    if (!pdfium.bindPdfium())
        return Failure(pdfium.errorMessage());
    auto vetted = vetSources(pdfium, request->sources);
    if (auto* failure = std::get_if<Failure>(&vetted))
        return *failure;
    const VettedJob& job = std::get<VettedJob>(vetted);
    if (mode == PageJobMode::Overlay
        && (job.sources.size() != 2 || job.sources[0].pageCount != job.sources[1].pageCount))
        return Failure(QStringLiteral("Metin katmanı sayfa sayısı uyuşmuyor."));
    auto rotations = readRotations(request->rotations, job.totalPages);
    if (auto* failure = std::get_if<Failure>(&rotations))
        return *failure;

    const QString absoluteOutput = QFileInfo(output).absoluteFilePath();
    const QStringList arguments =
        PageJobPlan::qpdfArguments(mode, job.sources, absoluteOutput, std::get<RotationGroups>(rotations));
    if (const std::optional<Failure> failure = runQpdf(arguments))
        return *failure;
    const int expected = mode == PageJobMode::Overlay ? job.sources[0].pageCount : job.totalPages;
    return verifyOutput(pdfium, absoluteOutput, expected);
}

void answer(QJsonObject& reply, const std::variant<int, Failure>& outcome)
{
    if (const auto* failure = std::get_if<Failure>(&outcome)) {
        reply = errorReply(*failure);
        return;
    }
    reply = PagesReply{std::get<int>(outcome)}.toJson();
}

} // namespace

void PagesOperation::pages(QJsonObject& reply, const QJsonObject& request)
{
    answer(reply, runJob(PageJobMode::Pages, request));
}

void PagesOperation::overlay(QJsonObject& reply, const QJsonObject& request)
{
    answer(reply, runJob(PageJobMode::Overlay, request));
}

} // namespace velk
