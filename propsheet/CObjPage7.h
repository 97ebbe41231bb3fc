#pragma once

#include "propsheet/CObjPage.h"

#include <array>
#include <optional>

class IpAddressEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "NIC情報": the device's network interfaces by MAC address, with their
// addresses, netmask and gateway. Every change is made on the map at once.
class CObjPage7 : public CObjPage {
    Q_OBJECT

public:
    enum class State { Resting, Selected, Adding, Editing, ChangingAddresses, AddressSelected };

    struct Entry {
        QString mac;
        quint32 mask = 0;
        quint32 gateway = 0;
        QList<quint32> addresses;
    };

    explicit CObjPage7(CObjSheet& sheet);

    State CurrentState() const { return m_state; }
    const QList<Entry>& Entries() const { return m_entries; }

    void SelectInterface(int row);
    void StartAdding();
    void StartEditing();
    void ApplyInterface();
    void DeleteInterface();
    void Cancel();
    void StartChangingAddresses();
    void SelectAddress(int row);
    void AddAddress();
    void DeleteAddress();

    // The MAC text of the six fields; asks before an empty field counts as
    // "00", and gives nothing unless the answer is Yes.
    std::optional<QString> ReadMac();

private:
    QWidget* BuildInterfaceGroup();
    QWidget* BuildAddressGroup();
    void Fill();
    void RefillList();
    void Show(int index);
    void ShowMac(const QString& mac);
    void SetState(State state);
    int EntryOf(const QString& mac) const;
    void AdvanceFrom(int field);

    QList<Entry> m_entries;
    int m_nSelected = -1;
    State m_state = State::Resting;

    QListWidget* m_nics = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    std::array<QLineEdit*, 6> m_mac{};
    QListWidget* m_addresses = nullptr;
    IpAddressEdit* m_ip = nullptr;
    IpAddressEdit* m_gateway = nullptr;
    IpAddressEdit* m_mask = nullptr;
    QLabel* m_segment = nullptr;
    QPushButton* m_changeAddresses = nullptr;
    QPushButton* m_applyAddress = nullptr;
    QPushButton* m_deleteAddress = nullptr;
    QPushButton* m_cancelAddress = nullptr;
};
