#pragma once

#include "propsheet/CObjPage.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "ドメイン情報": the domains and workgroups of the map, and the one the
// device belongs to. Every change is made on the map at once.
class CObjPage3 : public CObjPage {
    Q_OBJECT

public:
    static constexpr qsizetype kMaxName = 256;

    explicit CObjPage3(CObjSheet& sheet);

    void Enter() override;
    void Refresh();
    void SelectDomain(int row);
    void StartNew();
    void StartEdit();
    void Apply();
    void Delete();
    void Connect();

    // The device's name in a domain: its host part, ".", the domain.
    static QString NameInDomain(const QString& fqdn, const QString& domain);

private:
    void ShowConnection(const QString& domain);
    void UpdateSelectionButtons();

    QListWidget* m_list = nullptr;
    QLabel* m_connected = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_connect = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
};
