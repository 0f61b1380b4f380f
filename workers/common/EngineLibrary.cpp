#include "common/EngineLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace velk {

namespace {

QString& setDirectory()
{
    static QString directory;
    return directory;
}

} // namespace

QString EngineLibrary::defaultDirectory()
{
    if (!setDirectory().isEmpty())
        return setDirectory();
    // Without an application object there is no trustworthy own directory.
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::applicationDirPath();
}

void EngineLibrary::setDefaultDirectory(const QString& directory)
{
    setDirectory() = directory;
}

QString EngineLibrary::pathIn(const QString& directory, const char* fileName)
{
    if (directory.isEmpty() || !QDir::isAbsolutePath(directory))
        return {};
    return directory + QLatin1Char('/') + QLatin1String(fileName);
}

void* EngineLibrary::open(const QString& path, int flags)
{
    // A name without a slash would send the loader through its search path.
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return nullptr;
    void* library = ::dlopen(QFile::encodeName(path).constData(), flags);
    if (!library)
        static_cast<void>(::dlerror()); // taken, so that a later query starts clean
    return library;
}

void* EngineLibrary::symbol(void* library, const char* name)
{
    if (!library)
        return nullptr;
    static_cast<void>(::dlerror());
    return ::dlsym(library, name);
}

} // namespace velk
