#include "CObjPage4.h"

#include "propsheet/CObjSheet.h"
#include "propsheet/IpAddressEdit.h"

#include "document/CNetDoc.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Line(const CObjPage4::Entry& entry)
{
    return CDrawNic::DottedAddress(entry.network) + QStringLiteral("  ～  ") + CDrawNic::DottedAddress(entry.broadcast);
}

bool Same(const CObjPage4::Entry& entry, const CDrawSegment& segment)
{
    return segment.m_dwNetwork == entry.network && segment.m_dwBroadcast == entry.broadcast
        && segment.m_dwAddress == entry.gateway && segment.m_dwMask == entry.mask;
}

} // namespace

CObjPage4::CObjPage4(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("セグメント情報"))
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("segments"));
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { SelectSegment(m_list->row(item)); });
    const char* names[] = {"segmentGateway", "segmentMask", "segmentNetwork", "segmentBroadcast"};
    const QString labels[] = {QStringLiteral("ゲートウェイ"), QStringLiteral("ネットマスク"),
                              QStringLiteral("ネットワークアドレス"), QStringLiteral("ブロードキャストアドレス")};
    auto* form = new QFormLayout;
    for (size_t i = 0; i < m_edits.size(); ++i) {
        m_edits[i] = new IpAddressEdit(this);
        m_edits[i]->setObjectName(QLatin1String(names[i]));
        form->addRow(labels[i], m_edits[i]);
    }
    m_new = NamedButton(QStringLiteral("セグメント新規作成"), "newSegment");
    m_edit = NamedButton(QStringLiteral("編集"), "editSegment");
    m_delete = NamedButton(QStringLiteral("削除"), "deleteSegment");
    m_apply = NamedButton(QStringLiteral("適用"), "applySegment");
    m_cancel = NamedButton(QStringLiteral("中止"), "cancelSegment");
    connect(m_new, &QPushButton::clicked, this, &CObjPage4::StartNew);
    connect(m_edit, &QPushButton::clicked, this, &CObjPage4::StartEdit);
    connect(m_delete, &QPushButton::clicked, this, &CObjPage4::Delete);
    connect(m_apply, &QPushButton::clicked, this, &CObjPage4::Apply);
    connect(m_cancel, &QPushButton::clicked, this, &CObjPage4::Refresh);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_new, m_edit, m_delete, m_apply, m_cancel})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("セグメント一覧"), this));
    layout->addWidget(m_list);
    layout->addLayout(form);
    layout->addLayout(buttons);
    Refresh();
}

void CObjPage4::Enter()
{
    Refresh();
}

void CObjPage4::Reload()
{
    m_entries.clear();
    if (const CDrawDomain* forest = m_sheet.Document().FindDomain(QString()))
        for (const CDrawObj* object : forest->m_segments)
            if (object && object->IsKindOf(CDrawSegment::StaticClass())) {
                const auto* segment = static_cast<const CDrawSegment*>(object);
                m_entries.append({segment->m_dwNetwork, segment->m_dwBroadcast, segment->m_dwAddress, segment->m_dwMask});
            }
}

void CObjPage4::Refresh()
{
    Reload();
    Show(m_entries.isEmpty() ? -1 : qBound(0, m_nRemembered, int(m_entries.size()) - 1));
    EnableAddresses(false);
    for (QPushButton* button : {m_edit, m_delete, m_apply, m_cancel})
        button->setEnabled(false);
    m_new->setEnabled(true);
}

CDrawSegment* CObjPage4::SegmentOf(const Entry& entry) const
{
    if (const CDrawDomain* forest = m_sheet.Document().FindDomain(QString()))
        for (CDrawObj* object : forest->m_segments)
            if (object && object->IsKindOf(CDrawSegment::StaticClass()) && Same(entry, *static_cast<CDrawSegment*>(object)))
                return static_cast<CDrawSegment*>(object);
    return nullptr;
}

void CObjPage4::Show(int row)
{
    if (row < 0 || row >= m_entries.size()) {
        m_list->clear();
        for (const Entry& entry : std::as_const(m_entries))
            m_list->addItem(Line(entry));
        for (IpAddressEdit* edit : m_edits)
            edit->Clear();
        return;
    }
    const Entry entry = m_entries.at(row);
    m_edits[kGateway]->SetAddress(entry.gateway);
    m_edits[kMask]->SetAddress(entry.mask);
    m_edits[kNetwork]->SetAddress(entry.network);
    m_edits[kBroadcast]->SetAddress(entry.broadcast);
    // The segment shown goes to the front, of the map's list and the page's.
    if (CDrawDomain* forest = m_sheet.Document().FindDomain(QString()))
        if (CDrawSegment* segment = SegmentOf(entry)) {
            forest->m_segments.removeAll(segment);
            forest->m_segments.prepend(segment);
        }
    m_entries.move(row, 0);
    m_nRemembered = 0;
    m_list->clear();
    for (const Entry& e : std::as_const(m_entries))
        m_list->addItem(Line(e));
    m_list->setCurrentRow(0);
}

void CObjPage4::EnableAddresses(bool enabled)
{
    for (IpAddressEdit* edit : m_edits)
        edit->setEnabled(enabled);
}

void CObjPage4::SelectSegment(int row)
{
    Show(row);
    m_edit->setEnabled(true);
    m_delete->setEnabled(true);
    m_cancel->setEnabled(true);
    m_apply->setEnabled(false);
    m_new->setEnabled(false);
    EnableAddresses(false);
}

void CObjPage4::StartNew()
{
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
    for (IpAddressEdit* edit : m_edits)
        edit->Clear();
    EnableAddresses(true);
    m_apply->setEnabled(true);
    m_cancel->setEnabled(true);
    m_new->setEnabled(false);
}

void CObjPage4::StartEdit()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    Show(row);
    EnableAddresses(true);
    m_apply->setEnabled(true);
    m_delete->setEnabled(false);
}

void CObjPage4::Delete()
{
    if (m_entries.size() == 1) {
        m_sheet.Inform(QStringLiteral("このシステムで唯一のセグメントを削除することは出来ません。"));
        return Refresh();
    }
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_entries.size()) {
        if (CDrawSegment* segment = SegmentOf(m_entries.at(row))) {
            m_sheet.Document().RemoveObject(segment, nullptr);
            delete segment;
        }
        m_entries.removeAt(row);
    }
    Refresh();
}

void CObjPage4::Apply()
{
    for (const IpAddressEdit* edit : m_edits)
        if (!edit->IsComplete())
            return m_sheet.Inform(QStringLiteral("IPアドレスに空欄があります。"));
    const Entry typed{m_edits[kNetwork]->Address(), m_edits[kBroadcast]->Address(), m_edits[kGateway]->Address(),
                      m_edits[kMask]->Address()};
    const int row = m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1;
    if (row < 0) {
        for (const Entry& entry : std::as_const(m_entries))
            if (entry.mask == typed.mask && entry.broadcast == typed.broadcast)
                return Refresh();
        if (CDrawSegment* segment = m_sheet.Document().CreateSegment(typed.gateway, typed.mask)) {
            segment->m_dwBroadcast = typed.broadcast;
            segment->m_dwNetwork = typed.network;
        }
        m_nRemembered = 0;
        return Refresh();
    }
    if (CDrawSegment* segment = SegmentOf(m_entries.at(row))) {
        segment->m_dwAddress = typed.gateway;
        segment->SetMask(typed.mask);
        segment->m_dwNetwork = typed.network;
        segment->m_dwBroadcast = typed.broadcast;
    }
    m_entries[row] = typed;
    m_nRemembered = row;
    Refresh();
}
