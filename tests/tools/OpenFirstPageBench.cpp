// velk-open-first-page-bench: how fast a document opens to its first page,
// and what one page render through the sandboxed worker costs next to
// pdftoppm and mutool. Generates a 500-page text PDF, then measures
//   1. openPdfDocument start to the first page's decoded image at 150 dpi
//      (width = page width in points x 150 / 72), with its parts;
//   2. one page render through runPdfWorker plus decodePagePixels, against
//      whole-process "pdftoppm -r 150" and "mutool draw -r 150 -c rgb" of
//      the same page (RGB PPM to the null device), medians and ratios;
//   3. where the sandboxed render's time goes: a run that opens the
//      document and renders nothing, the in-process PDFium render, the reply
//      encoding and the client's parsing and decoding.
// Built into the application directory (openPdfDocument finds the worker
// beside the running program) and never installed; started by
// bench/open-first-page.sh, never by CTest.
//
//   velk-open-first-page-bench [RUNS]

#include "document/core/DocumentOpen.h"
#include "worker/runner/PagePixels.h"
#include "support/PdfFixtures.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "pdfium/PdfiumHandles.h"
#include "inspection/RenderOperation.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kDefaultRuns = 30;
constexpr int kMaxRuns = 10000;
constexpr int kPages = 500;
constexpr int kLinesPerPage = 46;
constexpr double kDpi = 150;
constexpr int kTimeLimitMs = 20000;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs `measure` `runs` times (after one warm-up run) and returns the
// median; -1 as soon as one run failed (measured a negative time).
double medianOf(int runs, const std::function<double()>& measure)
{
    measure();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(measure());
        if (times.back() < 0)
            return -1;
    }
    return median(times);
}

// A text page as office documents make them: 46 lines of running text in
// Helvetica, with Turkish letters.
velk::test::PdfFixtureSpec textDocument()
{
    const QString sentence = QString::fromUtf8(
        "Velk PDF belgeyi yalnızca kendi bilgisayarınızda açar; İstanbul, Iğdır ve Şanlıurfa örnek satırı %1.");
    velk::test::PdfFixtureSpec spec;
    spec.pages.clear();
    for (int page = 0; page < kPages; ++page) {
        velk::test::PdfPageSpec text{595.276, 841.89, 0, QByteArray("Sayfa ") + QByteArray::number(page + 1)};
        for (int line = 0; line < kLinesPerPage; ++line)
            text.lines << sentence.arg(page * kLinesPerPage + line);
        spec.pages << text;
    }
    return spec;
}

QJsonObject renderRequest(const QString& path, int page, int width)
{
    return QJsonObject{{"operation", "render"}, {"path", path}, {"page", page}, {"width", width}};
}

// Whole-process wall time of a program, its standard output and error to
// the null device; negative when it could not be started or failed.
double timeProcess(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const double elapsed = millisecondsSince(start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

void printRow(const char* label, double milliseconds, double reference = 0)
{
    if (milliseconds < 0)
        std::printf("  %-58s   failed\n", label);
    else if (reference > 0)
        std::printf("  %-58s %8.1f ms   %5.2f x\n", label, milliseconds, milliseconds / reference);
    else
        std::printf("  %-58s %8.1f ms\n", label, milliseconds);
}

struct FirstPage {
    double total = 0;
    double open = 0;
    double render = 0;
    double decode = 0;
    bool ok = false;
};

FirstPage openToFirstPage(const QString& path)
{
    FirstPage times;
    const Clock::time_point start = Clock::now();
    const velk::PdfOpenResult opened = velk::openPdfDocument(path, QString(), nullptr);
    times.open = millisecondsSince(start);
    if (!opened.document)
        return times;
    const int width = int(std::lround(opened.document->pageSizes.first().width() * kDpi / 72));
    const Clock::time_point renderStart = Clock::now();
    const velk::WorkerReply reply =
        velk::runPdfWorker(renderRequest(opened.document->workingPath, 0, width), nullptr, kTimeLimitMs);
    times.render = millisecondsSince(renderStart);
    const Clock::time_point decodeStart = Clock::now();
    const velk::PdfRenderResult image = velk::decodePagePixels(reply.json);
    times.decode = millisecondsSince(decodeStart);
    times.total = millisecondsSince(start);
    times.ok = reply.error.isEmpty() && !image.image.isNull();
    return times;
}

void measureFirstPage(const QString& path, int runs)
{
    std::vector<double> total, open, render, decode;
    for (int i = 0; i <= runs; ++i) {
        const FirstPage times = openToFirstPage(path);
        if (!times.ok) {
            std::printf("  open or first render failed\n");
            return;
        }
        if (i == 0)
            continue; // warm-up
        total.push_back(times.total);
        open.push_back(times.open);
        render.push_back(times.render);
        decode.push_back(times.decode);
    }
    std::printf("1. openPdfDocument to the first page's image, 150 dpi (goal: 150 ms)\n");
    printRow("open: copy into a workspace + sandboxed \"inspect\"", median(open));
    printRow("render: sandboxed \"render\" of page 1", median(render));
    printRow("decode: decodePagePixels", median(decode));
    printRow("total", median(total));
}

// Sandboxed render of one page, the image decoded as the page view does.
double sandboxedRender(const QString& path, int page, int width, bool decode)
{
    const Clock::time_point start = Clock::now();
    const velk::WorkerReply reply = velk::runPdfWorker(renderRequest(path, page, width), nullptr, kTimeLimitMs);
    if (!reply.error.isEmpty())
        return -1;
    if (decode && velk::decodePagePixels(reply.json).image.isNull())
        return -1;
    return millisecondsSince(start);
}

void measurePage(const QString& path, int page, int width, int runs)
{
    const std::string file = path.toStdString();
    const std::string pageNumber = std::to_string(page + 1);
    const std::string dpi = std::to_string(int(kDpi));
    const double ours = medianOf(runs, [&] { return sandboxedRender(path, page, width, true); });
    const double oursRaw = medianOf(runs, [&] { return sandboxedRender(path, page, width, false); });
    const double poppler = medianOf(runs, [&] {
        return timeProcess({"pdftoppm", "-r", dpi, "-f", pageNumber, "-l", pageNumber, file});
    });
    const double mupdf = medianOf(runs, [&] {
        return timeProcess(
            {"mutool", "draw", "-q", "-r", dpi, "-c", "rgb", "-F", "pnm", "-o", "/dev/null", file, pageNumber});
    });
    std::printf("2. page %d at 150 dpi, whole process, median of %d (ratio to mutool; goal: <= 1.3 x)\n", page + 1,
                runs);
    if (mupdf > 0) {
        printRow("mutool draw -r 150 -c rgb (PPM)", mupdf, mupdf);
        printRow("pdftoppm -r 150 (PPM)", poppler, mupdf);
        printRow("velk: sandboxed render + decodePagePixels", ours, mupdf);
        printRow("velk: sandboxed render, reply parsed, not decoded", oursRaw, mupdf);
    } else {
        std::printf("  mutool not found or failed (Debian package mupdf-tools)\n");
        printRow("pdftoppm -r 150 (PPM)", poppler);
        printRow("velk: sandboxed render + decodePagePixels", ours);
    }
}

// PDFium alone: page 1 loaded and drawn into memory, nothing else.
double pdfiumDraw(const velk::Pdfium& pdfium, velk::FPDF_DOCUMENT document, int width)
{
    const velk::PdfiumFunctions& api = pdfium.api();
    const Clock::time_point start = Clock::now();
    double pageWidth = 0;
    double pageHeight = 0;
    api.FPDF_GetPageSizeByIndex(document, 0, &pageWidth, &pageHeight);
    const int height = int(pageHeight * width / pageWidth);
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4, 0xFF);
    const velk::PageHandle page = velk::wrapPage(pdfium, api.FPDF_LoadPage(document, 0));
    const velk::BitmapHandle bitmap =
        velk::wrapBitmap(pdfium, api.FPDFBitmap_CreateEx(width, height, velk::kFpdfBitmapBgra, pixels.data(), width * 4));
    if (!page || !bitmap)
        return -1;
    api.FPDF_RenderPageBitmap(bitmap.get(), page.get(), 0, 0, width, height, 0, velk::kFpdfRenderAnnotations);
    return millisecondsSince(start);
}

// Where the sandboxed render's time goes.
void measureParts(const QString& path, int width, int runs)
{
    // Opens the document and answers at once: launch, start-up, binding,
    // open and reply without any rendering.
    const double emptyRun = medianOf(runs, [&] {
        const Clock::time_point start = Clock::now();
        velk::runPdfWorker(renderRequest(path, -1, width), nullptr, kTimeLimitMs);
        return millisecondsSince(start);
    });

    velk::Pdfium pdfium;
    if (!pdfium.bindPdfium()) {
        std::printf("  PDFium not found beside this program\n");
        return;
    }
    QByteArray password;
    const velk::OpenedDocument opened = velk::loadPdfiumDocument(pdfium, path, password);
    const double draw = medianOf(runs, [&] { return pdfiumDraw(pdfium, opened.document.get(), width); });
    QJsonObject reply;
    const QJsonObject request = renderRequest(path, 0, width);
    const double handler = medianOf(runs, [&] {
        const Clock::time_point start = Clock::now();
        velk::RenderOperation::run(reply, pdfium, opened.document.get(), request);
        return millisecondsSince(start);
    });
    QByteArray encoded;
    const double encode = medianOf(runs, [&] {
        const Clock::time_point start = Clock::now();
        encoded = velk::WorkerContract::encodeReply(reply);
        return millisecondsSince(start);
    });
    QJsonObject parsed;
    const double parse = medianOf(runs, [&] {
        const Clock::time_point start = Clock::now();
        parsed = QJsonDocument::fromJson(encoded).object();
        return millisecondsSince(start);
    });
    const double decode = medianOf(runs, [&] {
        const Clock::time_point start = Clock::now();
        velk::decodePagePixels(parsed);
        return millisecondsSince(start);
    });
    std::printf("3. parts of one sandboxed render of page 1 (reply %.1f MB)\n", double(encoded.size()) / 1e6);
    printRow("sandboxed run that opens the document, renders nothing", emptyRun);
    printRow("in-process PDFium draw only (load page, render to memory)", draw);
    printRow("in-process render handler (draw, RGBA, Base64, reply object)", handler);
    printRow("reply encoding to compact JSON (worker)", encode);
    printRow("reply parsing (runner)", parse);
    printRow("decodePagePixels (Base64 to image)", decode);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, kMaxRuns) : kDefaultRuns;
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("metin-500.pdf"));
    // Anything a tool writes beside itself goes with the directory.
    if (!directory.isValid() || !QDir::setCurrent(directory.path()) || !velk::test::writePdf(path, textDocument())) {
        std::fprintf(stderr, "cannot write the test document\n");
        return 2;
    }
    const int width = int(std::lround(595.276 * kDpi / 72));
    std::printf("500-page text PDF (%lld bytes), A4 at 150 dpi = %d px wide, %d runs\n",
                static_cast<long long>(QFileInfo(path).size()), width, runs);
    measureFirstPage(path, runs);
    measurePage(path, 0, width, runs);
    measurePage(path, 249, width, runs);
    measureParts(path, width, runs);
    return 0;
}
