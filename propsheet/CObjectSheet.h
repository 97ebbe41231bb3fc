#pragma once

#include <QDialog>

class CDrawObj;

// The property sheet of a map object. For now it shows which object it is
// about: the device's host name, or its UNC name, or its kind.
class CObjectSheet : public QDialog {
    Q_OBJECT

public:
    explicit CObjectSheet(const CDrawObj& object, QWidget* parent = nullptr);

    static QString TitleOf(const CDrawObj& object);
};
