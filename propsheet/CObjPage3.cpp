#include "CObjPage3.h"

#include "propsheet/CObjSheet.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawSys.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// The host part of a device's name: after a UNC name's second backslash,
// else before the first dot.
QString HostPartOf(const QString& name)
{
    if (name.contains(QLatin1Char('\\'))) {
        const qsizetype first = name.indexOf(QLatin1Char('\\'));
        const qsizetype second = name.indexOf(QLatin1Char('\\'), first + 2);
        return second < 0 ? name.mid(2) : name.mid(second + 1);
    }
    return CNetDoc::HostPart(name);
}

} // namespace

CObjPage3::CObjPage3(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("ドメイン情報"))
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("domains"));
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { SelectDomain(m_list->row(item)); });
    m_connected = new QLabel(this);
    m_connected->setObjectName(QStringLiteral("connectedTo"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("domainName"));
    m_new = NamedButton(QStringLiteral("新規作成"), "newDomain");
    m_edit = NamedButton(QStringLiteral("編集"), "editDomain");
    m_delete = NamedButton(QStringLiteral("削除"), "deleteDomain");
    m_connect = NamedButton(QStringLiteral("接続先変更"), "connectDomain");
    m_apply = NamedButton(QStringLiteral("適用"), "applyDomain");
    m_cancel = NamedButton(QStringLiteral("中止"), "cancelDomain");
    connect(m_new, &QPushButton::clicked, this, &CObjPage3::StartNew);
    connect(m_edit, &QPushButton::clicked, this, &CObjPage3::StartEdit);
    connect(m_delete, &QPushButton::clicked, this, &CObjPage3::Delete);
    connect(m_connect, &QPushButton::clicked, this, &CObjPage3::Connect);
    connect(m_apply, &QPushButton::clicked, this, &CObjPage3::Apply);
    connect(m_cancel, &QPushButton::clicked, this, &CObjPage3::Refresh);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("接続先："), this), 0, 1);
    grid->addWidget(m_connected, 0, 2);
    grid->addWidget(m_name, 1, 1, 1, 2);
    grid->addWidget(m_new, 2, 1);
    grid->addWidget(m_edit, 2, 2);
    grid->addWidget(m_delete, 3, 1);
    grid->addWidget(m_connect, 3, 2);
    grid->addWidget(m_apply, 4, 1);
    grid->addWidget(m_cancel, 4, 2);
    Refresh();
}

void CObjPage3::Enter()
{
    Refresh();
}

void CObjPage3::Refresh()
{
    m_list->clear();
    if (const CDrawDomain* forest = m_sheet.Document().FindDomain(QString()))
        for (const CDrawObj* domain : forest->m_subDomains)
            if (domain)
                m_list->addItem(domain->GetName());
    const QString fqdn = m_sheet.m_strFqdn;
    const qsizetype dot = fqdn.indexOf(QLatin1Char('.'));
    QString connected;
    if (dot >= 0)
        for (int i = 0; i < m_list->count(); ++i)
            if (AsciiText::equalsIgnoringCase(m_list->item(i)->text(), fqdn.mid(dot + 1)))
                connected = m_list->item(i)->text();
    m_connected->setText(connected);
    m_name->clear();
    m_name->setEnabled(false);
    m_list->setEnabled(true);
    m_new->setEnabled(true);
    for (QPushButton* button : {m_edit, m_delete, m_connect, m_apply, m_cancel})
        button->setEnabled(false);
}

void CObjPage3::SelectDomain(int row)
{
    m_list->setCurrentRow(row);
    UpdateSelectionButtons();
}

void CObjPage3::UpdateSelectionButtons()
{
    const bool chosen = m_list->currentRow() >= 0 && m_list->currentItem() && m_list->currentItem()->isSelected();
    m_edit->setEnabled(chosen);
    m_delete->setEnabled(chosen);
    m_cancel->setEnabled(chosen);
    m_connect->setEnabled(chosen && !(m_list->count() < 2 && !m_connected->text().isEmpty()));
    m_apply->setEnabled(false);
    m_new->setEnabled(!chosen);
    m_name->setEnabled(false);
}

void CObjPage3::StartNew()
{
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
    m_name->clear();
    m_name->setEnabled(true);
    m_apply->setEnabled(true);
    m_cancel->setEnabled(true);
    m_new->setEnabled(false);
}

void CObjPage3::StartEdit()
{
    if (!m_list->currentItem())
        return;
    m_name->setText(m_list->currentItem()->text());
    m_name->setEnabled(true);
    m_apply->setEnabled(true);
    m_delete->setEnabled(false);
    m_connect->setEnabled(false);
}

void CObjPage3::Apply()
{
    const QString text = m_name->text().section(QLatin1Char('\n'), 0, 0).left(kMaxName);
    if (text.isEmpty())
        return Refresh();
    const int row = m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1;
    if (row < 0) {
        bool exists = false;
        for (int i = 0; i < m_list->count(); ++i)
            exists = exists || AsciiText::equalsIgnoringCase(m_list->item(i)->text(), text);
        if (!exists)
            m_sheet.Document().CreateDomain(text);
        Refresh();
        m_connected->clear();
        return;
    }
    CDrawSys& system = m_sheet.System();
    if (CDrawObj* owner = system.m_pOwnerDomain ? static_cast<CDrawObj*>(system.m_pOwnerDomain) : system.m_pOwnerSys)
        owner->SetName(text);
    Refresh();
    m_list->setCurrentRow(row);
    ShowConnection(m_list->item(row) ? m_list->item(row)->text() : text);
}

void CObjPage3::Delete()
{
    if (m_list->count() == 1) {
        m_sheet.Inform(QStringLiteral("このシステムで唯一のドメイン／ワークグループを削除することは出来ません。"));
        return Refresh();
    }
    CNetDoc& document = m_sheet.Document();
    if (QListWidgetItem* item = m_list->currentItem(); item && item->isSelected()) {
        if (CDrawDomain* domain = document.FindDomain(item->text())) {
            if (!domain->m_systems.isEmpty())
                return m_sheet.Inform(QStringLiteral("このドメイン／ワークグループには、メンバＰＣがいます。\n"
                                                     "先にメンバＰＣの所属ドメインを変更してください。"));
            if (!domain->m_subDomains.isEmpty())
                return m_sheet.Inform(QStringLiteral("このドメイン／ワークグループには、子ドメインがいます。\n"
                                                     "先に子ドメインの所属ドメインを変更してください。"));
            document.RemoveObject(domain, nullptr);
            delete domain;
        }
    }
    const QString connected = m_connected->text();
    Refresh();
    for (int i = 0; !connected.isEmpty() && i < m_list->count(); ++i)
        if (m_list->item(i)->text() == connected) {
            m_list->setCurrentRow(i);
            return ShowConnection(connected);
        }
    m_sheet.Inform(QStringLiteral("接続先を確認し選択して下さい。"));
    Refresh();
    m_connected->clear();
    if (m_list->count() > 0)
        SelectDomain(0);
}

void CObjPage3::Connect()
{
    const int row = m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1;
    const QString name = row >= 0 ? m_list->item(row)->text() : QString();
    Refresh();
    if (row < 0) {
        m_connected->clear();
        return;
    }
    CDrawSys& system = m_sheet.System();
    if (CDrawDomain* domain = m_sheet.Document().FindDomain(name)) {
        system.LeaveOwner();
        system.SetOwner(domain);
        domain->AddSystem(&system);
    }
    m_list->setCurrentRow(row);
    ShowConnection(name);
}

void CObjPage3::ShowConnection(const QString& domain)
{
    m_connected->setText(domain);
    m_sheet.m_strFqdn = NameInDomain(m_sheet.m_strFqdn, domain);
}

QString CObjPage3::NameInDomain(const QString& fqdn, const QString& domain)
{
    return HostPartOf(fqdn) + QLatin1Char('.') + domain;
}
