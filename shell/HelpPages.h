#pragma once

#include <QString>

class QWidget;

// The program's help: Japanese HTML pages built into the program, shown in
// a help window of ours so that they work without a browser or network.
class HelpPages {
public:
    static constexpr const char* kIndex = "index.html";

    // page is a file name such as "vx_set_infra.aspx" or "index.html"; pages
    // named after the web site's pages are served from their HTML twin.
    static void Open(const QString& page, QWidget* parent);
    // The resource path of a page, empty when there is none.
    static QString ResourceOf(const QString& page);
};
