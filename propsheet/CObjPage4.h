#pragma once

#include "propsheet/CObjPage.h"

#include <array>

class IpAddressEdit;
class QListWidget;
class QPushButton;

// "セグメント情報": the network segments of the map with their addresses.
// Every change is made on the map at once.
class CObjPage4 : public CObjPage {
    Q_OBJECT

public:
    struct Entry {
        quint32 network = 0;
        quint32 broadcast = 0;
        quint32 gateway = 0;
        quint32 mask = 0;
    };

    explicit CObjPage4(CObjSheet& sheet);

    void Enter() override;
    void Refresh();
    void SelectSegment(int row);
    void StartNew();
    void StartEdit();
    void Apply();
    void Delete();
    const QList<Entry>& Entries() const { return m_entries; }

private:
    enum Control { kGateway, kMask, kNetwork, kBroadcast };

    void Reload();
    // Shows the entry and brings its segment to the front of the map's.
    void Show(int row);
    void EnableAddresses(bool enabled);
    class CDrawSegment* SegmentOf(const Entry& entry) const;

    QList<Entry> m_entries;
    int m_nRemembered = 0;
    QListWidget* m_list = nullptr;
    std::array<IpAddressEdit*, 4> m_edits{};
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
};
