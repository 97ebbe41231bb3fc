#include "CRectDlg.h"

#include "document/CNetDoc.h"
#include "shell/SettingsStore.h"
#include "survey/IntervalField.h"
#include "survey/SurveySettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

CRectDlg::CRectDlg(CNetDoc& document, SurveySettings& settings, QWidget* parent)
    : QDialog(parent)
    , m_document(document)
    , m_settings(settings)
{
    m_settings.LoadProvisionedAccount(SettingsStore());
    m_state = SurveyDialogState::Open(document, settings);
    setWindowTitle(QStringLiteral("ネットワーク調査設定"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateSurveyGroup());
    layout->addWidget(CreateWmiGroup());
    layout->addWidget(CreateGatewayGroup());
    layout->addWidget(CreateSnmpGroup());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("設定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRectDlg::reject);
    layout->addWidget(buttons);
    ShowState();
}

QWidget* CRectDlg::CreateSurveyGroup()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("PING調査"), box);
    auto* form = new QFormLayout(group);
    m_pPingOnly = new QCheckBox(QStringLiteral("PINGに応答するクライアントのみ調査する"), group);
    m_pShowFailures = new QCheckBox(QStringLiteral("接続できない場合の状況を表示する"), group);
    m_pInterval = IntervalSpin(group);
    auto* interval = new QHBoxLayout;
    interval->addWidget(m_pInterval);
    interval->addWidget(new QLabel(QStringLiteral("ミリ秒"), group));
    interval->addStretch();
    form->addRow(m_pPingOnly);
    form->addRow(m_pShowFailures);
    form->addRow(QStringLiteral("調査時のスレッド開始間隔"), interval);
    connect(m_pPingOnly, &QCheckBox::toggled, this, [this](bool on) { m_state.m_bPingOnly = on; });
    connect(m_pShowFailures, &QCheckBox::toggled, this,
            [this](bool on) { m_state.m_bShowFailures = on; });
    auto* drawing = new QGroupBox(QStringLiteral("描画オブジェクト"), box);
    auto* spacing = new QFormLayout(drawing);
    m_pSpacing = IntervalSpin(drawing);
    spacing->addRow(QStringLiteral("間隔"), m_pSpacing);
    layout->addWidget(group, 1);
    layout->addWidget(drawing);
    return box;
}

QSpinBox* CRectDlg::IntervalSpin(QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, int(IntervalField::kMaximum));
    spin->setDisplayIntegerBase(10);
    return spin;
}

QWidget* CRectDlg::CreateWmiGroup()
{
    auto* group = new QGroupBox(QStringLiteral("WMI調査"), this);
    auto* form = new QFormLayout(group);
    m_pWmi = new QCheckBox(QStringLiteral("WMI（ハードウェア、OS精細）調査をする"), group);
    form->addRow(m_pWmi);
    m_pModes = new QButtonGroup(group);
    auto* loggedOn = new QRadioButton(QStringLiteral("ドメインの管理者権限で調査する"), group);
    auto* explicitAccount = new QRadioButton(
        QStringLiteral("WMI 取得にセキュリティ情報をセットする\n（WMI 収集のアカウントがドメインに必要です）"), group);
    m_pModes->addButton(loggedOn, int(SurveyDialogState::kModeLoggedOnUser));
    m_pModes->addButton(explicitAccount, int(SurveyDialogState::kModeExplicitAccount));
    auto* modes = new QVBoxLayout;
    modes->addWidget(loggedOn);
    modes->addWidget(explicitAccount);
    form->addRow(modes);
    m_pAccountPrompt = new QLabel(QStringLiteral("WMI 収集のアカウントをご指定ください"), group);
    form->addRow(m_pAccountPrompt);
    m_pDomain = new QLineEdit(group);
    m_pDomain->setPlaceholderText(QStringLiteral("corp.example"));
    m_pAccount = new QLineEdit(group);
    m_pPassword = new QLineEdit(group);
    m_pPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("ドメイン"), m_pDomain);
    form->addRow(QStringLiteral("アカウント"), m_pAccount);
    form->addRow(QStringLiteral("パスワード"), m_pPassword);
    connect(m_pWmi, &QCheckBox::toggled, this, &CRectDlg::OnWmiToggled);
    connect(m_pModes, &QButtonGroup::idClicked, this, &CRectDlg::OnModeChosen);
    connect(m_pDomain, &QLineEdit::textEdited, this, [this](const QString& t) { m_state.m_strDomain = t; });
    connect(m_pAccount, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_state.m_strAccount = t; });
    connect(m_pPassword, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_state.m_strPassword = t; });
    return group;
}

QWidget* CRectDlg::CreateGatewayGroup()
{
    auto* group = new QGroupBox(QStringLiteral("デフォルトゲートウェイ"), this);
    auto* layout = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    m_pGateway = new QLineEdit(group);
    m_pGateway->setInputMask(QStringLiteral("000.000.000.000;_"));
    auto* enter = new QPushButton(QStringLiteral("入力"), group);
    auto* clear = new QPushButton(QStringLiteral("削除"), group);
    row->addWidget(m_pGateway);
    row->addWidget(enter);
    row->addWidget(clear);
    layout->addLayout(row);
    m_pGatewayLabel = new QLabel(group);
    layout->addWidget(m_pGatewayLabel);
    auto* shapes = new QHBoxLayout;
    shapes->addWidget(new QLabel(QStringLiteral("筐体形状"), group));
    m_pShapes = new QButtonGroup(group);
    const std::pair<int, const char*> choices[] = {
        {int(SurveySettings::kShapeRouter), "Rooter"},
        {int(SurveySettings::kShapeServer), "Server"},
        {int(SurveySettings::kShapeAutomatic), "自動判定"}};
    for (const auto& [id, text] : choices) {
        auto* radio = new QRadioButton(QString::fromUtf8(text), group);
        m_pShapes->addButton(radio, id);
        shapes->addWidget(radio);
    }
    layout->addLayout(shapes);
    connect(enter, &QPushButton::clicked, this, &CRectDlg::EnterGateway);
    connect(clear, &QPushButton::clicked, this, &CRectDlg::ClearGateway);
    connect(m_pShapes, &QButtonGroup::idClicked, this,
            [this](int id) { m_state.m_nGatewayShape = quint32(id); });
    m_pGatewayWiring = new QCheckBox(QStringLiteral("ゲートウェイが不明な機器を調査機のゲートウェイに結線する"), group);
    layout->addWidget(m_pGatewayWiring);
    connect(m_pGatewayWiring, &QCheckBox::toggled, this, [this](bool on) { m_state.m_bGatewayWiring = on; });
    return group;
}

QWidget* CRectDlg::CreateSnmpGroup()
{
    auto* group = new QGroupBox(QStringLiteral("SNMP調査"), this);
    auto* layout = new QVBoxLayout(group);
    m_pSnmp = new QCheckBox(QStringLiteral("ゲートウェイ調査"), group);
    layout->addWidget(m_pSnmp);
    auto* row = new QHBoxLayout;
    m_pCommunityPrompt = new QLabel(QStringLiteral("コミュニティ入力"), group);
    m_pCommunity = new QLineEdit(group);
    m_pAddCommunity = new QPushButton(QStringLiteral("入力"), group);
    m_pRemoveCommunity = new QPushButton(QStringLiteral("削除"), group);
    row->addWidget(m_pCommunityPrompt);
    row->addWidget(m_pCommunity);
    row->addWidget(m_pAddCommunity);
    row->addWidget(m_pRemoveCommunity);
    layout->addLayout(row);
    m_pCommunities = new QListWidget(group);
    m_pCommunities->setMaximumHeight(4 * fontMetrics().height());
    layout->addWidget(m_pCommunities);
    connect(m_pSnmp, &QCheckBox::toggled, this, [this](bool on) {
        m_state.SetSnmp(on);
        ShowState();
    });
    connect(m_pAddCommunity, &QPushButton::clicked, this, &CRectDlg::AddCommunity);
    connect(m_pRemoveCommunity, &QPushButton::clicked, this, [this] {
        m_state.RemoveCommunity(m_pCommunities->currentRow());
        ShowState();
    });
    return group;
}

void CRectDlg::AddCommunity()
{
    m_state.AddCommunity(m_pCommunity->text().trimmed());
    m_pCommunity->clear();
    ShowState();
}

void CRectDlg::ShowCommunities()
{
    {
        const QSignalBlocker block(m_pSnmp);
        m_pSnmp->setChecked(m_state.m_bSnmp);
    }
    m_pSnmp->setEnabled(m_state.m_bSnmpCheckEnabled);
    m_pCommunities->clear();
    if (m_state.m_bSnmp)
        m_pCommunities->addItems(m_state.m_communities.Rows());
    for (QWidget* control : {static_cast<QWidget*>(m_pCommunityPrompt), static_cast<QWidget*>(m_pCommunity),
                             static_cast<QWidget*>(m_pAddCommunity), static_cast<QWidget*>(m_pRemoveCommunity),
                             static_cast<QWidget*>(m_pCommunities)})
        control->setEnabled(m_state.m_bCommunityControlsEnabled);
}

void CRectDlg::ShowState()
{
    ShowCommunities();
    m_pGatewayWiring->setChecked(m_state.m_bGatewayWiring);
    m_pPingOnly->setChecked(m_state.m_bPingOnly);
    m_pShowFailures->setChecked(m_state.m_bShowFailures);
    m_pInterval->setValue(int(m_state.m_nThreadInterval));
    m_pSpacing->setValue(int(m_state.m_nObjectSpacing));
    {
        const QSignalBlocker block(m_pWmi);
        m_pWmi->setChecked(m_state.m_bWmi);
    }
    m_pWmi->setEnabled(m_state.m_bWmiGroupEnabled);
    if (QAbstractButton* mode = m_pModes->button(int(m_state.m_nCredentialMode)))
        mode->setChecked(true);
    for (QAbstractButton* radio : m_pModes->buttons())
        radio->setEnabled(m_state.m_bCredentialRadiosEnabled);
    m_pDomain->setText(m_state.m_strDomain);
    m_pAccount->setText(m_state.m_strAccount);
    m_pPassword->setText(m_state.m_strPassword);
    for (QWidget* field : {static_cast<QWidget*>(m_pAccountPrompt), static_cast<QWidget*>(m_pDomain),
                           static_cast<QWidget*>(m_pAccount), static_cast<QWidget*>(m_pPassword)})
        field->setEnabled(m_state.m_bAccountFieldsEnabled);
    m_pGatewayLabel->setText(m_state.GatewayLabel());
    if (QAbstractButton* shape = m_pShapes->button(int(m_state.m_nGatewayShape)))
        shape->setChecked(true);
}

void CRectDlg::OnWmiToggled(bool on)
{
    m_state.SetWmi(on);
    ShowState();
}

void CRectDlg::OnModeChosen(int mode)
{
    m_state.SetCredentialMode(quint32(mode));
    ShowState();
}

void CRectDlg::EnterGateway()
{
    AddressInput::Octets octets{};
    const QStringList parts = m_pGateway->text().split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        octets[size_t(i)] = quint8(std::min(255u, parts.value(i).trimmed().toUInt()));
    const AddressInput::Check check = m_state.EnterGateway(octets);
    if (check.verdict == AddressInput::Verdict::Rejected)
        Warn(check.message);
    ShowState();
}

void CRectDlg::ClearGateway()
{
    m_state.ClearGateway();
    ShowState();
}

bool CRectDlg::ReadIntervals()
{
    const IntervalField::Parsed interval = IntervalField::Parse(m_pInterval->cleanText());
    if (!interval.ok) {
        Warn(interval.message);
        m_pInterval->setFocus();
        return false;
    }
    const IntervalField::Parsed spacing = IntervalField::Parse(m_pSpacing->cleanText());
    if (!spacing.ok) {
        Warn(spacing.message);
        m_pSpacing->setFocus();
        return false;
    }
    m_state.m_nThreadInterval = interval.value;
    m_state.m_nObjectSpacing = spacing.value;
    return true;
}

void CRectDlg::accept()
{
    if (!ReadIntervals())
        return;
    SettingsStore store;
    m_state.Confirm(m_document, m_settings, store);
    QDialog::accept();
}

void CRectDlg::Warn(const QString& message)
{
    QMessageBox::warning(this, QStringLiteral("Varnex"), message);
}
