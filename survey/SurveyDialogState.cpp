#include "SurveyDialogState.h"

#include "SurveySettings.h"
#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"

namespace {

constexpr int kOptionCount = 5;

enum Option {
    kPingOnly,
    kWmi,
    kCredentialMode,
    kShowFailures,
    kThreadInterval,
};

} // namespace

void SurveyDialogState::EnsureDialogDefaults(QList<quint32>& surveySettings)
{
    if (surveySettings.size() < kOptionCount)
        surveySettings = {1, 1, kModeLoggedOnUser, 0, 100};
}

SurveyDialogState SurveyDialogState::Open(CNetDoc& document, const SurveySettings& frame)
{
    EnsureDialogDefaults(document.m_adwSurveySettings);
    SurveyDialogState state;
    state.m_bWmiAvailable = frame.WmiAvailable;
    state.CopyDocument(document);
    state.CopyFrame(frame);
    state.ApplyOpeningRules();
    return state;
}

void SurveyDialogState::SetWmi(bool on)
{
    m_bWmi = on;
    if (!on) {
        m_strDomain.clear();
        m_strAccount.clear();
        m_strPassword.clear();
        m_bAccountFieldsEnabled = false;
        m_bCredentialRadiosEnabled = false;
        return;
    }
    m_bCredentialRadiosEnabled = true;
    if (m_nCredentialMode == kModeExplicitAccount) {
        m_strAccount = m_strProvisionedAccount;
        m_strPassword = m_strProvisionedPassword;
    }
}

void SurveyDialogState::SetCredentialMode(quint32 mode)
{
    m_nCredentialMode = mode;
    m_strAccount.clear();
    m_strPassword.clear();
    m_bAccountFieldsEnabled = mode == kModeExplicitAccount;
    if (!m_bAccountFieldsEnabled)
        m_strDomain.clear();
}

AddressInput::Check SurveyDialogState::EnterGateway(const AddressInput::Octets& octets)
{
    const AddressInput::Check check = AddressInput::ForGateway(octets);
    if (check.verdict == AddressInput::Verdict::Accepted)
        m_strDefaultGateway = check.text;
    return check;
}

void SurveyDialogState::ClearGateway()
{
    m_strDefaultGateway.clear();
}

QString SurveyDialogState::GatewayLabel() const
{
    return AddressInput::GatewayLabel(m_strDefaultGateway);
}

void SurveyDialogState::SetSnmp(bool on)
{
    m_bSnmp = on;
    m_bCommunityControlsEnabled = on;
}

bool SurveyDialogState::AddCommunity(const QString& name)
{
    return m_communities.Add(name);
}

bool SurveyDialogState::RemoveCommunity(int row)
{
    return m_communities.RemoveRow(row);
}

AddressInput::Check SurveyDialogState::AddPrinter(const AddressInput::Octets& octets)
{
    const AddressInput::Check check = AddressInput::ForPrinter(octets);
    if (check.verdict == AddressInput::Verdict::Accepted)
        m_printers.Add(check.text);
    return check;
}

bool SurveyDialogState::RemovePrinter(int row)
{
    return m_printers.RemoveRow(row);
}

void SurveyDialogState::Confirm(CNetDoc& document, SurveySettings& frame,
                                SettingsStore& store) const
{
    frame.SaveConfirmed(store, m_printers.Entries(), m_communities.Entries(), m_strDefaultGateway,
                        m_bSnmp, m_nGatewayShape);
    document.m_nObjectSpacing = int(m_nObjectSpacing);
    for (CDrawObj* object : std::as_const(document.m_objects))
        object->m_nSpacing = qint32(m_nObjectSpacing);
    SurveySettings::SaveSurveyOptions(store, m_bPingOnly, m_bWmi, m_nCredentialMode);
    frame.SaveGatewayWiring(store, m_bGatewayWiring);
    StoreInDocument(document);
    document.UpdateAllViews(0, nullptr);
    document.SetModifiedFlag(true);
}

// A stored mode other than the explicit account's is taken as the logged-on
// user's, so that exactly one radio is checked.
void SurveyDialogState::CopyDocument(const CNetDoc& document)
{
    const QList<quint32>& options = document.m_adwSurveySettings;
    m_nObjectSpacing = quint32(document.m_nObjectSpacing);
    m_bPingOnly = options.at(kPingOnly) != 0;
    if (m_bWmiAvailable) {
        m_bWmi = options.at(kWmi) != 0;
        m_nCredentialMode = options.at(kCredentialMode) == kModeExplicitAccount
                                ? kModeExplicitAccount
                                : kModeLoggedOnUser;
        if (document.m_astrWmiAccount.size() == 3) {
            m_strDomain = document.m_astrWmiAccount.at(0);
            m_strAccount = document.m_astrWmiAccount.at(1);
            m_strPassword = document.m_astrWmiAccount.at(2);
        }
    } else {
        m_bPingOnly = true;
        m_bWmi = false;
        m_nCredentialMode = kModeLoggedOnUser;
    }
    m_bShowFailures = options.at(kShowFailures) != 0;
    m_nThreadInterval = options.at(kThreadInterval);
}

void SurveyDialogState::CopyFrame(const SurveySettings& frame)
{
    m_strProvisionedAccount = frame.ProvisionedAccount;
    m_strProvisionedPassword = frame.ProvisionedPassword;
    m_printers = DialogList(frame.NetPrinterList);
    m_communities = DialogList(frame.CommunityList);
    m_bSnmp = frame.SnmpSurveyFlag == 1;
    m_bGatewayWiring = frame.SurveyorGatewayWiring != 0;
    m_strDefaultGateway = frame.DefaultGatewaySetting;
    m_nGatewayShape = frame.GatewayShape;
}

// The SNMP survey is offered as it stands, with its communities: forcing
// it off would turn the gateway's SNMP survey off for good once the dialog
// is confirmed. The printer list is not offered.
void SurveyDialogState::ApplyOpeningRules()
{
    m_bSnmpCheckEnabled = true;
    m_bCommunityControlsEnabled = m_bSnmp;
    m_bPrinterControlsEnabled = false;
    if (!m_bWmiAvailable)
        return;
    m_bWmiGroupEnabled = true;
    SetWmi(m_bWmi);
    if (m_bWmi)
        SetCredentialMode(m_nCredentialMode);
}

void SurveyDialogState::StoreInDocument(CNetDoc& document) const
{
    QList<quint32>& options = document.m_adwSurveySettings;
    EnsureDialogDefaults(options);
    options[kPingOnly] = m_bPingOnly ? 1 : 0;
    options[kWmi] = m_bWmi ? 1 : 0;
    options[kCredentialMode] = m_nCredentialMode;
    options[kShowFailures] = m_bShowFailures ? 1 : 0;
    options[kThreadInterval] = m_nThreadInterval;
    document.m_astrWmiAccount = QStringList{m_strDomain, m_strAccount, m_strPassword};
}
