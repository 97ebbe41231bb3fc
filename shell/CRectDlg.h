#pragma once

#include "survey/SurveyDialogState.h"

#include <QDialog>

class CNetDoc;
class QButtonGroup;
class QListWidget;
class QPushButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QRadioButton;
class SettingsStore;
class SurveySettings;

// "ネットワーク調査設定": the survey options of a document and the survey
// settings of the program. The rules between the controls live in
// SurveyDialogState; this window shows that state and passes on the user's
// actions. Modal; nothing changes until "設定".
class CRectDlg : public QDialog {
    Q_OBJECT

public:
    CRectDlg(CNetDoc& document, SurveySettings& settings, QWidget* parent = nullptr);

    const SurveyDialogState& State() const { return m_state; }

    // The controls, for tests: the gateway octets, its buttons and label.
    QLineEdit* GatewayField() const { return m_pGateway; }
    QLabel* GatewayLabel() const { return m_pGatewayLabel; }
    QSpinBox* IntervalField() const { return m_pInterval; }
    QCheckBox* WmiCheck() const { return m_pWmi; }
    QCheckBox* SnmpCheck() const { return m_pSnmp; }
    QCheckBox* GatewayWiringCheck() const { return m_pGatewayWiring; }
    QLineEdit* CommunityField() const { return m_pCommunity; }
    QListWidget* CommunityList() const { return m_pCommunities; }
    // "入力" of the community field.
    void AddCommunity();
    QLineEdit* AccountField() const { return m_pAccount; }

    void EnterGateway();
    void ClearGateway();

public slots:
    void accept() override;

private:
    QWidget* CreateSurveyGroup();
    // 0 to 500 with spin buttons; the typed text is still checked on OK.
    static QSpinBox* IntervalSpin(QWidget* parent);
    QWidget* CreateWmiGroup();
    QWidget* CreateGatewayGroup();
    QWidget* CreateSnmpGroup();
    void ShowState();
    void ShowCommunities();
    void OnWmiToggled(bool on);
    void OnModeChosen(int mode);
    bool ReadIntervals();
    void Warn(const QString& message);

    CNetDoc& m_document;
    SurveySettings& m_settings;
    SurveyDialogState m_state;
    QSpinBox* m_pSpacing = nullptr;
    QSpinBox* m_pInterval = nullptr;
    QCheckBox* m_pPingOnly = nullptr;
    QCheckBox* m_pShowFailures = nullptr;
    QCheckBox* m_pWmi = nullptr;
    QButtonGroup* m_pModes = nullptr;
    QLabel* m_pAccountPrompt = nullptr;
    QLineEdit* m_pDomain = nullptr;
    QLineEdit* m_pAccount = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QLineEdit* m_pGateway = nullptr;
    QLabel* m_pGatewayLabel = nullptr;
    QButtonGroup* m_pShapes = nullptr;
    QCheckBox* m_pSnmp = nullptr;
    QCheckBox* m_pGatewayWiring = nullptr;
    QLabel* m_pCommunityPrompt = nullptr;
    QLineEdit* m_pCommunity = nullptr;
    QPushButton* m_pAddCommunity = nullptr;
    QPushButton* m_pRemoveCommunity = nullptr;
    QListWidget* m_pCommunities = nullptr;
};
