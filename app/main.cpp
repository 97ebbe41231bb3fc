#include "CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    return commandLine.run(QCoreApplication::arguments());
}
