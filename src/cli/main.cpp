// q540-cli: the directory and the module from the command line.

#include "cli/Cli.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q540-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return q540::cli::run(QCoreApplication::arguments().mid(1), out, err);
}
