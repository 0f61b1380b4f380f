#include "pages/QpdfJob.h"

#include "common/EngineLibrary.h"

#include <cstdio>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace velk {

namespace {

// Our own declaration of qpdf's C job entry: a null-terminated array of
// UTF-8 arguments in, qpdf's exit status out.
struct QpdfJobFunctions {
    int (*qpdfjob_run_from_argv)(char const* const argv[]) = nullptr;
};

constexpr char kLibraryName[] = "libqpdf.so.29";

constexpr EngineFunction<QpdfJobFunctions> kTable[] = {
    VELK_ENGINE_FUNCTION(QpdfJobFunctions, qpdfjob_run_from_argv),
};

QpdfJobFunctions& jobFunctions()
{
    static QpdfJobFunctions functions;
    return functions;
}

// Points standard output and error at the null device for one job: qpdf
// prints its warnings and notes there, and standard output carries the
// worker's reply.
class SilencedOutput {
public:
    SilencedOutput()
    {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        for (int index = 0; index < 2; ++index) {
            m_saved[index] = ::fcntl(index + 1, F_DUPFD_CLOEXEC, 3);
            if (null >= 0 && m_saved[index] >= 0)
                ::dup2(null, index + 1);
        }
        if (null >= 0)
            ::close(null);
    }
    ~SilencedOutput()
    {
        // Whatever qpdf left in a buffer goes to the null device too.
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        for (int index = 0; index < 2; ++index) {
            if (m_saved[index] >= 0) {
                ::dup2(m_saved[index], index + 1);
                ::close(m_saved[index]);
            }
        }
    }
    SilencedOutput(const SilencedOutput&) = delete;
    SilencedOutput& operator=(const SilencedOutput&) = delete;

private:
    int m_saved[2] = {-1, -1};
};

} // namespace

QString QpdfJob::libraryPath()
{
    return EngineLibrary::pathIn(EngineLibrary::defaultDirectory(), kLibraryName);
}

QpdfJob::Outcome QpdfJob::load()
{
    return load(EngineLibrary::defaultDirectory());
}

QpdfJob::Outcome QpdfJob::load(const QString& directory)
{
    if (jobFunctions().qpdfjob_run_from_argv)
        return Outcome::Succeeded;
    // Deliberately never unloaded: the worker ends after its one job.
    switch (EngineLibrary::load(EngineLibrary::pathIn(directory, kLibraryName), EngineLibrary::kDefaultFlags,
                                kTable, jobFunctions())) {
    case EngineLibrary::Outcome::Loaded:
        return Outcome::Succeeded;
    case EngineLibrary::Outcome::LibraryMissing:
        return Outcome::LibraryMissing;
    case EngineLibrary::Outcome::FunctionMissing:
        break;
    }
    return Outcome::FunctionMissing;
}

QpdfJob::Outcome QpdfJob::run(const QStringList& arguments)
{
    const Outcome loaded = load();
    if (loaded != Outcome::Succeeded)
        return loaded;
    std::vector<QByteArray> utf8;
    utf8.reserve(size_t(arguments.size()));
    for (const QString& argument : arguments)
        utf8.push_back(argument.toUtf8());
    std::vector<const char*> argv;
    argv.reserve(utf8.size() + 1);
    for (const QByteArray& argument : utf8)
        argv.push_back(argument.constData());
    argv.push_back(nullptr);

    int status = -1;
    {
        const SilencedOutput silenced;
        // The C interface catches qpdf's exceptions itself; this is the one
        // place anything thrown below would be caught all the same.
        try {
            status = jobFunctions().qpdfjob_run_from_argv(argv.data());
        } catch (...) {
            status = -1;
        }
    }
    return status == 0 ? Outcome::Succeeded : Outcome::Failed;
}

} // namespace velk
