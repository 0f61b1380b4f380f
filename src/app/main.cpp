// velk-pdf: the desktop application. The window arrives with the
// application shell; until then the program says so and ends cleanly.

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream(stdout) << "Velk PDF: ana pencere bu derlemede henüz yok.\n";
    return 0;
}
