#include "CObjPage7.h"

#include "propsheet/CObjSheet.h"
#include "propsheet/IpAddressEdit.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr qsizetype kMacLength = 17;
constexpr qsizetype kShortMac = 16;

QString SegmentRange(const CDrawSegment* segment)
{
    if (!segment)
        return {};
    return CDrawNic::DottedAddress(segment->m_dwNetwork) + QStringLiteral("  ～  ")
        + CDrawNic::DottedAddress(segment->m_dwBroadcast);
}

} // namespace

CObjPage7::CObjPage7(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("NIC情報"))
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BuildInterfaceGroup());
    layout->addWidget(BuildAddressGroup());
    Fill();
    Show(m_entries.isEmpty() ? -1 : 0);
    m_nSelected = -1;
    SetState(State::Resting);
}

QWidget* CObjPage7::BuildInterfaceGroup()
{
    auto* box = new QGroupBox(QStringLiteral("ネットワークインターフェース"), this);
    m_nics = new QListWidget(box);
    m_nics->setObjectName(QStringLiteral("nics"));
    connect(m_nics, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { SelectInterface(m_nics->row(item)); });
    m_add = NamedButton(QStringLiteral("NIC追加"), "addNic");
    m_edit = NamedButton(QStringLiteral("編集"), "editNic");
    m_delete = NamedButton(QStringLiteral("削除"), "deleteNic");
    m_apply = NamedButton(QStringLiteral("適用"), "applyNic");
    m_cancel = NamedButton(QStringLiteral("中止"), "cancelNic");
    connect(m_add, &QPushButton::clicked, this, &CObjPage7::StartAdding);
    connect(m_edit, &QPushButton::clicked, this, &CObjPage7::StartEditing);
    connect(m_delete, &QPushButton::clicked, this, &CObjPage7::DeleteInterface);
    connect(m_apply, &QPushButton::clicked, this, &CObjPage7::ApplyInterface);
    connect(m_cancel, &QPushButton::clicked, this, &CObjPage7::Cancel);
    auto* macRow = new QHBoxLayout;
    for (size_t i = 0; i < m_mac.size(); ++i) {
        auto* field = new QLineEdit(box);
        field->setObjectName(QStringLiteral("mac%1").arg(i));
        field->setMaxLength(2);
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("WWW")) + 8);
        connect(field, &QLineEdit::textEdited, this, [this, i] { AdvanceFrom(int(i)); });
        macRow->addWidget(field);
        if (i + 1 < m_mac.size())
            macRow->addWidget(new QLabel(QStringLiteral("-"), box));
        m_mac[i] = field;
    }
    macRow->addStretch();
    m_gateway = new IpAddressEdit(box);
    m_gateway->setObjectName(QStringLiteral("gateway"));
    m_mask = new IpAddressEdit(box);
    m_mask->setObjectName(QStringLiteral("netmask"));
    m_segment = new QLabel(box);
    m_segment->setObjectName(QStringLiteral("segmentRange"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_add, m_edit, m_delete, m_apply, m_cancel})
        buttons->addWidget(button);
    auto* form = new QFormLayout(box);
    form->addRow(m_nics);
    form->addRow(buttons);
    form->addRow(QStringLiteral("MACアドレス"), macRow);
    form->addRow(QStringLiteral("ゲートウェイ"), m_gateway);
    form->addRow(QStringLiteral("ネットマスク"), m_mask);
    form->addRow(QStringLiteral("選択NIC接続セグメント："), m_segment);
    return box;
}

QWidget* CObjPage7::BuildAddressGroup()
{
    auto* box = new QGroupBox(QStringLiteral("IPアドレス"), this);
    m_addresses = new QListWidget(box);
    m_addresses->setObjectName(QStringLiteral("addresses"));
    connect(m_addresses, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SelectAddress(m_addresses->row(item)); });
    m_ip = new IpAddressEdit(box);
    m_ip->setObjectName(QStringLiteral("ipAddress"));
    m_changeAddresses = NamedButton(QStringLiteral("IPアドレス追加／削除"), "changeAddresses");
    m_applyAddress = NamedButton(QStringLiteral("適用"), "applyAddress");
    m_deleteAddress = NamedButton(QStringLiteral("削除"), "deleteAddress");
    m_cancelAddress = NamedButton(QStringLiteral("中止"), "cancelAddress");
    connect(m_changeAddresses, &QPushButton::clicked, this, &CObjPage7::StartChangingAddresses);
    connect(m_applyAddress, &QPushButton::clicked, this, &CObjPage7::AddAddress);
    connect(m_deleteAddress, &QPushButton::clicked, this, &CObjPage7::DeleteAddress);
    connect(m_cancelAddress, &QPushButton::clicked, this, &CObjPage7::Cancel);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_applyAddress, m_deleteAddress, m_cancelAddress})
        buttons->addWidget(button);
    auto* form = new QFormLayout(box);
    form->addRow(m_addresses);
    form->addRow(QStringLiteral("ＴＣＰ/ＩＰアドレス"), m_ip);
    form->addRow(m_changeAddresses);
    form->addRow(buttons);
    return box;
}

void CObjPage7::Fill()
{
    CDrawSys& system = m_sheet.System();
    m_entries.clear();
    int position = 0;
    for (CDrawObj* object : system.m_nics) {
        ++position;
        if (!object || !object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        auto* nic = static_cast<CDrawNic*>(object);
        if (nic->m_strMac.size() <= kShortMac) {
            // An interface without a whole MAC address gets a name to be found by.
            nic->m_strMac = QStringLiteral("xx-xx-xx-xx-xx-%1").arg(position, 2, 16, QLatin1Char('0'));
            system.RebuildIpMacMap();
            nic->RebuildLabel();
        }
        m_entries.append({nic->m_strMac, nic->m_dwMask, nic->m_dwGateway, nic->m_adwAddresses});
    }
    RefillList();
}

void CObjPage7::RefillList()
{
    m_nics->clear();
    for (const Entry& entry : std::as_const(m_entries))
        m_nics->addItem(entry.mac);
    if (m_nSelected >= 0)
        m_nics->setCurrentRow(m_nSelected);
}

void CObjPage7::Show(int index)
{
    m_addresses->clear();
    if (index < 0 || index >= m_entries.size()) {
        for (IpAddressEdit* edit : {m_ip, m_gateway, m_mask})
            edit->Clear();
        for (QLineEdit* field : m_mac)
            field->clear();
        m_segment->clear();
        return;
    }
    const Entry& entry = m_entries.at(index);
    for (quint32 address : entry.addresses)
        m_addresses->addItem(CDrawNic::DottedAddress(address));
    const CDrawSegment* segment = m_sheet.Document().FindSegmentOfNic(entry.mac);
    if (segment) {
        m_mask->SetAddress(segment->m_dwMask);
        m_gateway->SetAddress(segment->m_dwAddress);
    } else {
        m_mask->Clear();
        m_gateway->Clear();
    }
    const int chosen = m_addresses->currentRow();
    if (!entry.addresses.isEmpty())
        m_ip->SetAddress(entry.addresses.value(chosen >= 0 ? chosen : 0));
    else
        m_ip->Clear();
    ShowMac(entry.mac);
    m_segment->setText(SegmentRange(segment));
}

void CObjPage7::ShowMac(const QString& mac)
{
    for (size_t i = 0; i < m_mac.size(); ++i)
        m_mac[i]->setText(mac.mid(qsizetype(i) * 3, 2));
}

void CObjPage7::SetState(State state)
{
    m_state = state;
    const bool resting = state == State::Resting;
    const bool selected = state == State::Selected;
    const bool adding = state == State::Adding;
    const bool editing = state == State::Editing;
    const bool changing = state == State::ChangingAddresses;
    const bool addressChosen = state == State::AddressSelected;
    m_nics->setEnabled(resting || selected || editing);
    m_add->setEnabled(resting);
    m_changeAddresses->setEnabled(resting);
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_cancel->setEnabled(selected || adding || editing);
    m_apply->setEnabled(adding || editing);
    for (QLineEdit* field : m_mac)
        field->setEnabled(adding || editing);
    for (IpAddressEdit* edit : {m_gateway, m_mask})
        edit->setEnabled(adding || editing);
    m_ip->setEnabled(adding || editing || changing || addressChosen);
    m_addresses->setEnabled(changing || addressChosen || selected || resting);
    m_applyAddress->setEnabled(changing || addressChosen);
    m_cancelAddress->setEnabled(changing || addressChosen);
    m_deleteAddress->setEnabled(addressChosen && m_addresses->count() >= 2);
}

void CObjPage7::SelectInterface(int row)
{
    if (m_state == State::Editing || row < 0 || row >= m_entries.size())
        return;
    m_nSelected = row;
    m_nics->setCurrentRow(row);
    Show(row);
    SetState(State::Selected);
}

void CObjPage7::StartAdding()
{
    m_nSelected = -1;
    m_nics->clearSelection();
    m_nics->setCurrentRow(-1);
    Show(-1);
    SetState(State::Adding);
}

void CObjPage7::StartEditing()
{
    if (m_nSelected < 0)
        return;
    SetState(State::Editing);
}

void CObjPage7::Cancel()
{
    m_nSelected = -1;
    m_nics->clearSelection();
    m_nics->setCurrentRow(-1);
    SetState(State::Resting);
}

std::optional<QString> CObjPage7::ReadMac()
{
    bool blank = false;
    for (const QLineEdit* field : m_mac)
        blank = blank || field->text().isEmpty();
    if (blank && m_sheet.AskYesNoCancel(QStringLiteral(
                     "ネットワークカードアドレスに空欄があります。空欄を00として処理を進めますか？"))
            != QMessageBox::Yes)
        return std::nullopt;
    QStringList fields;
    for (const QLineEdit* field : m_mac)
        fields.append(field->text().isEmpty() ? QStringLiteral("00") : field->text());
    return fields.join(QLatin1Char('-'));
}

void CObjPage7::ApplyInterface()
{
    const std::optional<QString> mac = ReadMac();
    if (!mac)
        return;
    if (!m_ip->IsComplete())
        return m_sheet.Inform(QStringLiteral("IPアドレスに空欄があります。"));
    if (!m_gateway->IsComplete())
        return m_sheet.Inform(QStringLiteral("デフォルトゲートウェイアドレスに空欄があります。"));
    if (!m_mask->IsComplete())
        return m_sheet.Inform(QStringLiteral("サブネットマスクアドレスに空欄があります。"));
    CNetDoc& document = m_sheet.Document();
    if (m_nSelected < 0) {
        for (const Entry& entry : std::as_const(m_entries))
            if (AsciiText::equalsIgnoringCase(entry.mac, *mac))
                return m_sheet.Inform(QStringLiteral("MACアドレスが同じものがありあます。MACアドレスを変更してください。"));
        CDrawNic* nic = document.CreateNic(&m_sheet.System(), {m_ip->Address()}, m_mask->Address(),
                                           m_gateway->Address(), *mac);
        if (!nic)
            return;
        m_entries.prepend({*mac, nic->m_dwMask, nic->m_dwGateway, nic->m_adwAddresses});
        m_nSelected = 0;
        RefillList();
        Show(0);
    } else {
        Entry& entry = m_entries[m_nSelected];
        if (CDrawNic* nic = document.FindNicByMac(entry.mac)) {
            const int chosen = qMax(0, m_addresses->currentRow());
            if (chosen < entry.addresses.size())
                entry.addresses[chosen] = m_ip->Address();
            else
                entry.addresses.append(m_ip->Address());
            nic->m_strMac = *mac;
            nic->m_dwGateway = m_gateway->Address();
            nic->m_dwMask = m_mask->Address();
            nic->ReplaceAddresses(entry.addresses);
            m_sheet.System().RebuildIpMacMap();
            nic->RebuildLabel();
            entry = {*mac, nic->m_dwMask, nic->m_dwGateway, entry.addresses};
            RefillList();
        }
    }
    Cancel();
}

void CObjPage7::DeleteInterface()
{
    if (m_nSelected < 0)
        return;
    CNetDoc& document = m_sheet.Document();
    if (CDrawNic* nic = document.FindNicByMac(m_entries.at(m_nSelected).mac)) {
        document.RemoveObject(nic, nullptr);
        delete nic;
    }
    m_entries.removeAt(m_nSelected);
    m_nSelected = -1;
    RefillList();
    Show(-1);
    Cancel();
}

void CObjPage7::StartChangingAddresses()
{
    m_ip->Clear();
    SetState(State::ChangingAddresses);
}

void CObjPage7::SelectAddress(int row)
{
    if (m_state != State::ChangingAddresses && m_state != State::AddressSelected)
        return;
    m_addresses->setCurrentRow(row);
    if (QListWidgetItem* item = m_addresses->item(row))
        m_ip->SetText(item->text());
    SetState(State::AddressSelected);
}

int CObjPage7::EntryOf(const QString& mac) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).mac == mac)
            return i;
    return -1;
}

void CObjPage7::AddAddress()
{
    const std::optional<QString> mac = ReadMac();
    if (!mac)
        return;
    if (!m_ip->IsComplete())
        return m_sheet.Inform(QStringLiteral("IPアドレスに空欄があります。"));
    CDrawNic* nic = m_sheet.Document().FindNicByMac(*mac);
    const int index = EntryOf(*mac);
    if (!nic || index < 0)
        return;
    Entry& entry = m_entries[index];
    entry.addresses.prepend(m_ip->Address());
    nic->ReplaceAddresses(entry.addresses);
    nic->RebuildLabel();
    m_addresses->insertItem(0, CDrawNic::DottedAddress(m_ip->Address()));
    SetState(m_state);
}

void CObjPage7::DeleteAddress()
{
    if (m_addresses->count() == 1)
        return m_sheet.Inform(QStringLiteral("このネットワークインターフェースの唯一のIPアドレスは削除できません。\n"
                                             "IPアドレスを追加した後に削除して下さい。"
                                             "または、ネットワークインターフェースを削除してください。"));
    const std::optional<QString> mac = ReadMac();
    if (!mac)
        return;
    CDrawNic* nic = m_sheet.Document().FindNicByMac(*mac);
    const int index = EntryOf(*mac);
    const int row = m_addresses->currentRow();
    if (!nic || index < 0 || row < 0 || row >= m_entries.at(index).addresses.size())
        return;
    Entry& entry = m_entries[index];
    entry.addresses.removeAt(row);
    nic->ReplaceAddresses(entry.addresses);
    nic->RebuildLabel();
    delete m_addresses->takeItem(row);
    SetState(State::ChangingAddresses);
}

void CObjPage7::AdvanceFrom(int field)
{
    if (m_mac[size_t(field)]->text().size() < 2)
        return;
    if (field + 1 < int(m_mac.size()))
        m_mac[size_t(field) + 1]->setFocus();
    else
        m_ip->setFocus();
}
