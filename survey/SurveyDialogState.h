#pragma once

#include "AddressInput.h"
#include "DialogList.h"

#include <QList>
#include <QString>

class CNetDoc;
class SettingsStore;
class SurveySettings;

// What the survey settings dialog shows and lets the user change, and the
// rules that tie its controls together. The dialog window only displays this
// state and forwards the user's actions.
class SurveyDialogState {
public:
    static constexpr quint32 kModeLoggedOnUser = 0;
    static constexpr quint32 kModeExplicitAccount = 1;

    // Survey options a document gets when it has none as the dialog opens:
    // ping-only, WMI, logged-on user, no failures shown, 100 ms.
    static void EnsureDialogDefaults(QList<quint32>& surveySettings);

    // Takes the document's and the frame's values and applies the opening
    // rules. The frame's provisioned account should have just been reloaded.
    static SurveyDialogState Open(CNetDoc& document, const SurveySettings& frame);

    // Toggling "WMI（ハードウェア、OS精細）調査をする".
    void SetWmi(bool on);
    // Choosing one of the two credential radios.
    void SetCredentialMode(quint32 mode);

    AddressInput::Check EnterGateway(const AddressInput::Octets& octets);
    void ClearGateway();
    QString GatewayLabel() const;

    void SetSnmp(bool on);
    bool AddCommunity(const QString& name);
    bool RemoveCommunity(int row);
    AddressInput::Check AddPrinter(const AddressInput::Octets& octets);
    bool RemovePrinter(int row);

    // "設定": the interval fields have been validated already.
    void Confirm(CNetDoc& document, SurveySettings& frame, SettingsStore& store) const;

    quint32 m_nObjectSpacing = 0;
    bool m_bPingOnly = false;
    bool m_bWmi = false;
    quint32 m_nCredentialMode = kModeLoggedOnUser;
    QString m_strDomain;
    QString m_strAccount;
    QString m_strPassword;
    bool m_bShowFailures = false;
    quint32 m_nThreadInterval = 0;
    DialogList m_communities;
    DialogList m_printers;
    QString m_strDefaultGateway;
    bool m_bSnmp = false;
    bool m_bGatewayWiring = true;
    quint32 m_nGatewayShape = 0;
    QString m_strProvisionedAccount;
    QString m_strProvisionedPassword;
    bool m_bWmiAvailable = false;

    // Which controls the user may change.
    bool m_bWmiGroupEnabled = false;
    bool m_bCredentialRadiosEnabled = false;
    bool m_bAccountFieldsEnabled = false;
    bool m_bSnmpCheckEnabled = false;
    bool m_bCommunityControlsEnabled = false;
    bool m_bPrinterControlsEnabled = false;

private:
    void CopyDocument(const CNetDoc& document);
    void CopyFrame(const SurveySettings& frame);
    void ApplyOpeningRules();
    void StoreInDocument(CNetDoc& document) const;
};
