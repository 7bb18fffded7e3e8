#include <QCoreApplication>

#include <cstdio>

// Stand-in until the main window exists.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fprintf(stderr, "Tarvelo: the main window is not built yet.\n");
    return 0;
}
