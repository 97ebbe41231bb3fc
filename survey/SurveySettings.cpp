#include "SurveySettings.h"

#include "ProvisionedPassword.h"
#include "shell/SettingsStore.h"

#include <algorithm>

const QString SurveySettings::kSurveyKey = QStringLiteral("NetRes");
const QString SurveySettings::kCommunityKey = QStringLiteral("NetRes\\COMMUNITY");
const QString SurveySettings::kNetPrinterKey = QStringLiteral("NetRes\\NET_PRINTER");
const QString SurveySettings::kResearchKey = QStringLiteral("ENV_SET\\RESEARCH");

void SurveySettings::LoadAtStart(const SettingsStore& store)
{
    NetPrinterList = ReadList(store, kNetPrinterKey);
    CommunityList = ReadList(store, kCommunityKey);
    store.readString(kSurveyKey, QStringLiteral("DefaultGate"), DefaultGatewaySetting);
    LoadGatewayShape(store);
    quint32 wiring = SurveyorGatewayWiring;
    if (store.readDword(kSurveyKey, QStringLiteral("GatewayWiring"), wiring))
        SurveyorGatewayWiring = wiring ? 1 : 0;
}

void SurveySettings::SaveGatewayWiring(SettingsStore& store, bool on)
{
    SurveyorGatewayWiring = on ? 1 : 0;
    store.writeDword(kSurveyKey, QStringLiteral("GatewayWiring"), SurveyorGatewayWiring);
}

void SurveySettings::LoadProvisionedAccount(const SettingsStore& store)
{
    QString account;
    quint32 number = 0;
    if (!store.readString(kResearchKey, QStringLiteral("ACCOUNT"), account)
        || !store.readDword(kResearchKey, QStringLiteral("ACCOUNT_B"), number))
        return;
    ProvisionedAccount = account;
    ProvisionedPassword = ProvisionedPassword::Build(number);
}

void SurveySettings::SaveConfirmed(SettingsStore& store, const QStringList& netPrinters,
                                   const QStringList& communities, const QString& defaultGateway,
                                   bool snmp, quint32 gatewayShape)
{
    WriteList(store, kNetPrinterKey, netPrinters);
    NetPrinterList = netPrinters;
    WriteList(store, kCommunityKey, communities);
    CommunityList = communities;
    store.writeString(kSurveyKey, QStringLiteral("DefaultGate"), defaultGateway);
    DefaultGatewaySetting = defaultGateway;
    SnmpSurveyFlag = snmp ? 1 : 0;
    store.writeDword(kSurveyKey, QStringLiteral("SNMP"), SnmpSurveyFlag);
    GatewayShape = gatewayShape;
    store.writeDword(kSurveyKey, QStringLiteral("DGW_Shape"), GatewayShape);
}

void SurveySettings::SaveSurveyOptions(SettingsStore& store, bool pingOnly, bool wmi,
                                       quint32 credentialMode)
{
    store.writeDword(kSurveyKey, QStringLiteral("Ping"), pingOnly ? 1 : 0);
    store.writeDword(kSurveyKey, QStringLiteral("Wmi"), wmi ? 1 : 0);
    store.writeDword(kSurveyKey, QStringLiteral("Proxy"), credentialMode);
}

QStringList SurveySettings::ReadList(const SettingsStore& store, const QString& subKey)
{
    QStringList entries = store.readCountedList(subKey);
    std::reverse(entries.begin(), entries.end());
    return entries;
}

void SurveySettings::WriteList(SettingsStore& store, const QString& subKey,
                               const QStringList& entries)
{
    store.writeCountedList(subKey, entries);
}

QString SurveySettings::WmiUnavailableMessage()
{
    return QStringLiteral(
        "現在お使いのOSは、OSの規定によりWMI調査ができません。\n　NetBIOS調査に切り替えます。");
}

// A shape the map cannot draw is read as missing.
void SurveySettings::LoadGatewayShape(const SettingsStore& store)
{
    quint32 shape = GatewayShape;
    if (store.readDword(kSurveyKey, QStringLiteral("DGW_Shape"), shape) && shape <= kShapeAutomatic)
        GatewayShape = shape;
}
