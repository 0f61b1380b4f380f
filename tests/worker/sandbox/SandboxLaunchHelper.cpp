// Runs the probe's "exclusive" action several times from a second process,
// so the tests can show that runs of different processes never overlap.
// Arguments: the shared output directory and the number of runs. Prints one
// answer per line.

#include "ProbeRun.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const QString directory = QFile::decodeName(argv[1]);
    const int runs = QByteArray(argv[2]).toInt();
    velk::test::ProbeOptions options;
    options.writeDirectory = directory;
    for (int run = 0; run < runs; ++run) {
        const velk::SandboxResult result = velk::test::runProbe(QByteArray("exclusive ") + argv[1], options);
        std::printf("%s%s\n", result.output.constData(), result.error().isEmpty() ? "" : " (error)");
    }
    return 0;
}
