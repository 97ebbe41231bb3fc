#pragma once

#include <QDialog>

// The about box: the program's name and its version.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Varnex Version " and the four-part version of this build.
    static QString VersionLabel();
};
