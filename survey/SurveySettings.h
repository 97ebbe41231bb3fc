#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The survey settings the main frame holds while the program runs, and
// their registry values. The five per-document options live in the document.
class SurveySettings {
public:
    static const QString kSurveyKey; // "NetRes"
    static const QString kCommunityKey; // "NetRes\\COMMUNITY"
    static const QString kNetPrinterKey; // "NetRes\\NET_PRINTER"
    static const QString kResearchKey; // "ENV_SET\\RESEARCH"

    // Shapes of the default gateway object.
    static constexpr quint32 kShapeRouter = 0;
    static constexpr quint32 kShapeServer = 1;
    static constexpr quint32 kShapeAutomatic = 2;

    QStringList CommunityList;
    // Kept and edited only; no survey step reads it.
    QStringList NetPrinterList;
    QString DefaultGatewaySetting;
    quint32 SnmpSurveyFlag = 1;
    quint32 GatewayShape = kShapeAutomatic;
    // Wire hosts whose gateway is unknown to the gateway of the surveying
    // machine's subnet they are on (0: leave them unwired).
    quint32 SurveyorGatewayWiring = 1;
    // How many host threads may run at once; 0 sizes it to the machine.
    // The threads still start in the same order and report the same.
    int RunningThreadLimit = 0;
    QString ProvisionedAccount;
    QString ProvisionedPassword;
    bool WmiAvailable = true;

    // Printers, communities, gateway and shape, in this order. Missing
    // values leave the current ones.
    void LoadAtStart(const SettingsStore& store);
    // ACCOUNT and ACCOUNT_B are taken only together.
    void LoadProvisionedAccount(const SettingsStore& store);
    // What confirming the dialog writes and keeps of the frame's values.
    void SaveConfirmed(SettingsStore& store, const QStringList& netPrinters,
                       const QStringList& communities, const QString& defaultGateway, bool snmp,
                       quint32 gatewayShape);
    // Ping, Wmi and Proxy; the failure and interval options are never written.
    static void SaveSurveyOptions(SettingsStore& store, bool pingOnly, bool wmi,
                                  quint32 credentialMode);
    void SaveGatewayWiring(SettingsStore& store, bool on);

    // Lists come back in reverse of their stored order.
    static QStringList ReadList(const SettingsStore& store, const QString& subKey);
    static void WriteList(SettingsStore& store, const QString& subKey, const QStringList& entries);

    static QString WmiUnavailableMessage();

private:
    void LoadGatewayShape(const SettingsStore& store);
};
