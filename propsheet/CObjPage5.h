#pragma once

#include "propsheet/CObjPage.h"

class QLabel;
class QListWidget;
class QPushButton;

// "共有リソース情報": the host a shared printer or hub hangs on. The change
// is made on the map at once.
class CObjPage5 : public CObjPage {
    Q_OBJECT

public:
    explicit CObjPage5(CObjSheet& sheet);

    void Enter() override;
    void Refresh();
    void SelectHost(int row);
    void Attach();

private:
    QListWidget* m_hosts = nullptr;
    QLabel* m_host = nullptr;
    QPushButton* m_attach = nullptr;
};
