#pragma once

#include <QWidget>

class CObjSheet;
class QPushButton;

// One page of the system property sheet. Enter runs when the page becomes
// the current one, Leave when the user goes to another page or presses OK
// (false keeps the user on the page).
class CObjPage : public QWidget {
    Q_OBJECT

public:
    CObjPage(CObjSheet& sheet, const QString& title);

    QString Title() const { return m_title; }
    virtual void Enter() {}
    virtual bool Leave() { return true; }

protected:
    // A button with the object name the tests find it by.
    QPushButton* NamedButton(const QString& text, const char* name);

    CObjSheet& m_sheet;

private:
    QString m_title;
};
