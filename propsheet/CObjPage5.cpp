#include "CObjPage5.h"

#include "propsheet/CObjSheet.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawSys.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CObjPage5::CObjPage5(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("共有リソース情報"))
{
    m_hosts = new QListWidget(this);
    m_hosts->setObjectName(QStringLiteral("hosts"));
    connect(m_hosts, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { SelectHost(m_hosts->row(item)); });
    m_host = new QLabel(this);
    m_host->setObjectName(QStringLiteral("hostFqdn"));
    m_attach = new QPushButton(QStringLiteral("接続先変更"), this);
    m_attach->setObjectName(QStringLiteral("attachHost"));
    connect(m_attach, &QPushButton::clicked, this, &CObjPage5::Attach);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_hosts);
    layout->addWidget(m_host);
    layout->addWidget(m_attach);
    Refresh();
}

void CObjPage5::Enter()
{
    Refresh();
}

void CObjPage5::Refresh()
{
    const CDrawSys& system = m_sheet.System();
    m_hosts->clear();
    if (const CDrawDomain* forest = m_sheet.Document().FindDomain(QString()))
        for (const CDrawObj* domain : forest->m_subDomains) {
            if (!domain || !domain->IsKindOf(CDrawDomain::StaticClass()))
                continue;
            for (const CDrawObj* member : static_cast<const CDrawDomain*>(domain)->m_systems) {
                if (!member || !member->IsKindOf(CDrawSys::StaticClass()))
                    continue;
                const QString fqdn = static_cast<const CDrawSys*>(member)->m_strFqdn;
                if (!AsciiText::equalsIgnoringCase(fqdn, system.m_strFqdn) && fqdn.contains(QLatin1Char('.')))
                    m_hosts->addItem(fqdn);
            }
        }
    m_hosts->setEnabled(true);
    m_host->setEnabled(true);
    m_attach->setEnabled(false);
    const bool hosted = m_sheet.m_nAcceptedKind == 3 && system.m_pOwnerSys;
    m_host->setText(hosted ? system.m_pOwnerSys->m_strFqdn : QString());
}

void CObjPage5::SelectHost(int row)
{
    m_hosts->setCurrentRow(row);
    m_attach->setEnabled(row >= 0);
}

void CObjPage5::Attach()
{
    CDrawSys& system = m_sheet.System();
    if (!system.m_nics.isEmpty())
        return m_sheet.Inform(QStringLiteral("この機器を共有リソースにするには\nネットワークインターフェースを削除してください。"));
    const QListWidgetItem* item = m_hosts->currentItem();
    if (!item)
        return;
    if (const CDrawSys* host = m_sheet.Document().AttachToHost(item->text(), &system)) {
        m_sheet.m_strFqdn = system.m_strFqdn;
        m_host->setText(host->m_strFqdn);
    }
}
