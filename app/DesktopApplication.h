#pragma once

#include <QStringList>

// varnex [--network sim:FILE] [FILE]
// varnex --print FILE
// varnex --print-to PRINTER FILE      (PRINTER ending in .pdf: that PDF file)
// Starts the desktop application, or prints a map without showing a window.
// Until the live network probes are built, surveys run on the simulated
// network given (the built-in demo network by default).
class DesktopApplication {
public:
    int run(const QStringList& arguments);

private:
    struct Options {
        QString network = QStringLiteral("sim::/data/demo-network.json");
        QString file;
        QString printer;
        bool print = false;
    };

    static bool parse(const QStringList& arguments, Options& options);
    int print(const Options& options);
    int fail(const QString& message);
};
