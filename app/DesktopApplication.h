#pragma once

#include "shell/CMainFrame.h"

#include <QStringList>

// varnex [--network live|demo|sim:FILE] [FILE]
// varnex --print FILE
// varnex --print-to PRINTER FILE      (PRINTER ending in .pdf: that PDF file)
// varnex --print-list-to PRINTER FILE (the device list instead of the map)
// Starts the desktop application, or prints a map without showing a window.
// Surveys ask the live network unless another is named; the user can switch
// to the built-in demo network from the tools menu.
class DesktopApplication {
public:
    int run(const QStringList& arguments);
    // Whether the arguments are a valid start of the desktop application.
    static bool IsValid(const QStringList& arguments);

private:
    struct Options {
        QString network = QStringLiteral("live");
        QString file;
        QString printer;
        bool print = false;
        bool list = false; // print the device list instead of the map
        CMainFrame::PageChoice page;
    };

    static bool parse(const QStringList& arguments, Options& options);
    static bool IsMapFileName(const QString& argument);
    int print(const Options& options);
    int fail(const QString& message);
};
