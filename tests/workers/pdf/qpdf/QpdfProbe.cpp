// A test program built into its own directory (beside an incomplete qpdf
// library, or beside none) so that the binding's search of the executable's
// directory can be observed: prints "bound" or "unbound".

#include "qpdf/Qpdf.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    velk::Qpdf qpdf;
    std::fputs(qpdf.bindQpdf() ? "bound" : "unbound", stdout);
    std::fflush(stdout);
    return 0;
}
