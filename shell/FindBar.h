#pragma once

#include "objects/CDrawSys.h"

#include <QToolBar>

class QLabel;
class QLineEdit;

// "検索": finds a device of the active map by host name, address or MAC
// address, selects it and brings it into view; next and previous step
// through every match.
class FindBar : public QToolBar {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    void Start();
    QLineEdit* Field() const { return m_field; }
    QString Status() const;

signals:
    // The match to show; null when there is none.
    void found(CDrawSys* device);
    // Asks for the matches of the text in the active map.
    void searchRequested(const QString& text);

public slots:
    void SetMatches(const QList<CDrawSys*>& matches);
    void Next();
    void Previous();

private:
    void Show(int index);

    QLineEdit* m_field = nullptr;
    QLabel* m_status = nullptr;
    QList<CDrawSys*> m_matches;
    int m_nCurrent = -1;
};
