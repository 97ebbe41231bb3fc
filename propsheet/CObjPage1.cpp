#include "CObjPage1.h"

#include "propsheet/CObjSheet.h"

#include "objects/CDrawSys.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

const QStringList CObjPage1::kOsNames = {
    QStringLiteral("Windows 8 "), QStringLiteral("Windows 8 Pro"), QStringLiteral("Windows 7 Starter"),
    QStringLiteral("Windows 7 Home Premium"), QStringLiteral("Windows 7 Professional"),
    QStringLiteral("Windows 7 Ultimate"), QStringLiteral("Windows Vista Home Basic"),
    QStringLiteral("Windows Vista Home Premium"), QStringLiteral("Windows Vista Business"),
    QStringLiteral("Windows Vista Ultimate"), QStringLiteral("Windows Server 2012 Datacenter"),
    QStringLiteral("Windows Server 2012 Standard"), QStringLiteral("Windows Server 2012 Essentials"),
    QStringLiteral("Windows Server 2012 Foundation"), QStringLiteral("Windows Server 2008 R2 Enterprise"),
    QStringLiteral("Windows Server 2008 R2 Datacenter"), QStringLiteral("Windows Server 2008 R2 Standard"),
    QStringLiteral("Windows Server 2008 R2 Itanium"), QStringLiteral("Windows WebServer 2008 R2"),
    QStringLiteral("Windows Server 2008 R2 Foundation"), QStringLiteral("Windows Server 2008 Enterprise"),
    QStringLiteral("Windows Server 2008 Datacenter"), QStringLiteral("Windows Server 2008 Standard"),
    QStringLiteral("Windows Server 2008 Itanium"), QStringLiteral("Windows WebServer 2008"),
    QStringLiteral("Windows Server 2008 Foundation"), QStringLiteral("Windows Server 2003 R2 Web Edition"),
    QStringLiteral("Windows Server 2003 R2 Standard"), QStringLiteral("Windows Server 2003 R2 Datacenter"),
    QStringLiteral("Windows Server 2003 R2 Compute Cluster Server"),
    QStringLiteral("Windows Server 2003 R2 Small Business Server"), QStringLiteral("Windows Server 2003 Standard"),
    QStringLiteral("Windows Server 2003 Datacenter"), QStringLiteral("Windows Server 2003 Compute Cluster Server"),
    QStringLiteral("Windows Server 2003 Small Business Server"), QStringLiteral("Windows XP Pro"),
    QStringLiteral("Windows XP Home"), QStringLiteral("Windows 2000"), QStringLiteral("Windows NT WorkStation 4.0"),
    QStringLiteral("Windows NT WorkStation 3.51"), QStringLiteral("Windows NT WorkStation 3.5"),
    QStringLiteral("Windows NT 3.1"), QStringLiteral("Windows Me"), QStringLiteral("Windows 98"),
    QStringLiteral("Windows 98 SecondEdition"), QStringLiteral("Windows 95"), QStringLiteral("Windows 95 OSR1"),
    QStringLiteral("Windows 3.1"), QStringLiteral("Windows 2000 Server"), QStringLiteral("Windows 2000 Advanced Server"),
    QStringLiteral("Windows 2000 Datacenter Server"), QStringLiteral("Windows NT Server 4.0"),
    QStringLiteral("Windows NT Server 4.0 Enterprise Edition"), QStringLiteral("Windows NT Server 3.51"),
    QStringLiteral("Windows NT Server 3.5"), QStringLiteral("Windows NT Advanced Server 3.1"),
};

const QStringList CObjPage1::kKindLabels = {
    QStringLiteral("タワー"), QStringLiteral("デスクトップ"), QStringLiteral("プリントサーバー"),
    QStringLiteral("共有プリンター"), QStringLiteral("ルーター"), QStringLiteral("ハブ"),
    QStringLiteral("ノート"), QStringLiteral("ポケットPC"), QStringLiteral("ラックマウント"),
};

CObjPage1::CObjPage1(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("機器情報"))
{
    m_fqdn = new QLineEdit(this);
    m_fqdn->setObjectName(QStringLiteral("fqdn"));
    m_os = new QComboBox(this);
    m_os->setObjectName(QStringLiteral("os"));
    m_os->setEditable(true);
    m_os->setInsertPolicy(QComboBox::NoInsert);
    m_os->addItems(kOsNames);
    m_os->addItem(sheet.System().m_strOs);
    m_os->setCurrentIndex(m_os->count() - 1);
    // The OS name is the system's at once, chosen or typed.
    connect(m_os, &QComboBox::currentTextChanged, this, [this](const QString& text) { m_sheet.System().m_strOs = text; });

    auto* kindBox = new QGroupBox(QStringLiteral("機器の種類"), this);
    auto* kindGrid = new QGridLayout(kindBox);
    m_kinds = new QButtonGroup(this);
    for (int i = 0; i < kKindLabels.size(); ++i) {
        auto* radio = new QRadioButton(kKindLabels.at(i), kindBox);
        radio->setObjectName(QStringLiteral("kind%1").arg(i));
        m_kinds->addButton(radio, i);
        kindGrid->addWidget(radio, i / 3, i % 3);
    }
    m_kinds->button(sheet.m_nAcceptedKind)->setChecked(true);
    connect(m_kinds, &QButtonGroup::idClicked, this, &CObjPage1::ChooseKind);

    m_hostCaption = new QLabel(QStringLiteral("接続先FQDNホスト名"), this);
    m_hostCaption->setObjectName(QStringLiteral("hostCaption"));
    m_hostName = new QLabel(this);
    m_hostName->setObjectName(QStringLiteral("hostName"));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("ＦＱＤＮ名\n（機器名）"), m_fqdn);
    form->addRow(QStringLiteral("OS"), m_os);
    form->addRow(kindBox);
    form->addRow(m_hostCaption, m_hostName);
    UpdateKindControls();
}

void CObjPage1::Enter()
{
    // The domain and shared-resource pages may have renamed the device.
    m_fqdn->setText(m_sheet.m_strFqdn);
}

bool CObjPage1::Leave()
{
    m_sheet.m_strFqdn = m_fqdn->text();
    m_sheet.System().m_strOs = m_os->currentText();
    return true;
}

bool CObjPage1::ChooseKind(int kind)
{
    const QString refusal = Refusal(kind);
    if (!refusal.isEmpty()) {
        m_sheet.Inform(refusal);
        m_kinds->button(m_sheet.m_nAcceptedKind)->setChecked(true);
        return false;
    }
    if (kind != m_sheet.m_nAcceptedKind) {
        m_sheet.System().SetTypeFromPage(kind);
        m_sheet.m_nAcceptedKind = kind;
    }
    m_sheet.m_nKind = kind;
    m_kinds->button(kind)->setChecked(true);
    UpdateKindControls();
    return true;
}

QString CObjPage1::Refusal(int kind)
{
    CDrawSys& system = m_sheet.System();
    const bool shared = CObjSheet::IsSharedKind(kind);
    if (shared && !system.m_nics.isEmpty())
        return QStringLiteral("ネットワークインターフェースがあります。\nNIC情報ページで削除してください。");
    if (!shared && system.m_nics.isEmpty())
        return QStringLiteral("ネットワークインターフェースがありません。\nNIC情報ページで作成してください。");
    if (kind == m_sheet.m_nAcceptedKind)
        return {};
    if (system.m_pOwnerSys) {
        if (CObjSheet::IsSharedKind(m_sheet.m_nAcceptedKind))
            system.LeaveOwner();
        return {};
    }
    if (!shared)
        return {};
    if (!system.m_subSystems.isEmpty())
        return QStringLiteral("この機器につながれている共有リソースがあります。\n共有リソースページから接続を解除してください。");
    if (!system.m_pOwnerDomain)
        return QStringLiteral("この共有リソースのホスト機器がありません。。\n共有リソースページからホストに接続してください。");
    system.LeaveOwner();
    return {};
}

void CObjPage1::UpdateKindControls()
{
    const int kind = m_sheet.m_nAcceptedKind;
    const bool hostShown = CObjSheet::IsSharedKind(kind);
    if (kind == 3) {
        m_hostCaption->setText(QStringLiteral("接続先FQDN名"));
        const CDrawSys* host = m_sheet.System().m_pOwnerSys;
        m_hostName->setText(host ? host->m_strFqdn : QString());
    }
    for (QLabel* label : {m_hostCaption, m_hostName}) {
        label->setVisible(hostShown);
        label->setEnabled(hostShown);
    }
    m_os->setEnabled(kind != 3 && kind != 4 && kind != 5);
}
