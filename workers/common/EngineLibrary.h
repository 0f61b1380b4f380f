#pragma once

// Loads one engine library (PDFium, qpdf, Tesseract, a token driver) from a
// directory the caller names, never from the current directory or the
// loader's search path, and resolves its whole function table: every entry
// must resolve, so a library of another version is refused as a whole. A
// caller that already opened the file may name it as /proc/self/fd/N.
// Libraries are never closed: a worker ends after its one request, and an
// engine's objects may outlive the binding that loaded it.

#include <QString>
#include <QStringList>

#include <span>
#include <type_traits>

#include <dlfcn.h>

namespace velk {

// One row of a function table: the exported name and the member of the
// table's struct it fills.
template <typename Functions>
struct EngineFunction {
    const char* name;
    void (*assign)(Functions& functions, void* address);
};

template <auto Member, typename Functions>
void assignEngineFunction(Functions& functions, void* address)
{
    using Pointer = std::remove_reference_t<decltype(functions.*Member)>;
    functions.*Member = reinterpret_cast<Pointer>(address);
}

// One row per function: the exported name and the member it fills, written
// once so that the two can never disagree.
#define VELK_ENGINE_FUNCTION(Functions, function) \
    ::velk::EngineFunction<Functions> { #function, &::velk::assignEngineFunction<&Functions::function, Functions> }

class EngineLibrary {
public:
    enum class Outcome { Loaded, LibraryMissing, FunctionMissing };

    // What a plain load asks of the dynamic loader: symbols bound on first
    // call, none of them offered to libraries loaded later.
    static constexpr int kDefaultFlags = RTLD_LAZY | RTLD_LOCAL;

    // The directory engines are taken from when a caller names none: the
    // running executable's own directory, or the one a test program set.
    // Empty without an application object and without a set directory.
    static QString defaultDirectory();
    static void setDefaultDirectory(const QString& directory);

    // directory + "/" + fileName; empty unless the directory is absolute,
    // so that a relative name never reaches the loader's search.
    static QString pathIn(const QString& directory, const char* fileName);

    // Opens the library at an absolute path with the loader flags; null on
    // any failure. The handle stays open until the process exits.
    static void* open(const QString& path, int flags);
    static void* symbol(void* library, const char* name);

    // The exported names of a table, in resolution order.
    template <typename Functions>
    static QStringList functionNames(std::span<const EngineFunction<Functions>> table)
    {
        QStringList names;
        for (const EngineFunction<Functions>& entry : table)
            names.append(QString::fromLatin1(entry.name));
        return names;
    }

    // Opens the library and resolves every row of the table into functions,
    // which stays untouched unless all of them resolve.
    template <typename Functions>
    static Outcome load(const QString& path, int flags,
                        std::span<const EngineFunction<std::type_identity_t<Functions>>> table, Functions& functions)
    {
        void* library = open(path, flags);
        if (!library)
            return Outcome::LibraryMissing;
        Functions resolved;
        for (const EngineFunction<Functions>& entry : table) {
            void* address = symbol(library, entry.name);
            if (!address)
                return Outcome::FunctionMissing;
            entry.assign(resolved, address);
        }
        functions = resolved;
        return Outcome::Loaded;
    }
};

} // namespace velk
