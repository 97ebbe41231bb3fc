#pragma once

#include "survey/platform/SimulatedNetworkData.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <variant>

// Reads the description file of a simulated network. The reading is strict:
// unknown members, missing members, wrong types and malformed addresses are
// errors, and the first one is reported with its JSON path ("$.hosts[2].address").
//
// The file is one object:
//   "format": "varnex-simulated-network", "version": 1,
//   "probes": { "<probe>": { "delayMs": n, "failWith": code } }  (optional; probe
//       names in ProbeNames(); codes as numbers or "0x..." texts),
//   "localMachine": { "computerName", "os": { "major", "minor", "build", ... },
//       "discoveryServices": { "fdPHost": { "automatic", "failedStage", "error" }, ... },
//       "adapters": [ { "name", "description", "mac", "addresses": [ { "address", "mask" } ],
//                       "gateway", "dhcp", "dhcpServer", "primaryWins", "secondaryWins" } ],
//       "neighbours": [ { "address", "mac" } ], "sharedPrinters": [ "\\server\printer" ] },
//   "hosts": [ { "address", "computerName", "dnsName", "aliases", "ping",
//       "discovery": { "providerInstanceId", "properties": [ { "fmtid", "pid", "type", "value" } ] },
//       "serverInfo": { "platformId", "name", "versionMajor", "versionMinor", "type", "comment" }
//           or "serverInfoError": code,
//       "wmi": { "account": { "domain", "user", "password" }, "connectError",
//                "classes": { "<class>": [ { "<property>": value } ] } },
//       "snmp": { "<community>": { "<oid>": text, number or null } } } ],
//   "upnpGateway": { "friendlyName", "manufacturer", "modelName", "modelNumber",
//                    "presentationUrl", "externalAddress" }  (optional).
// Property types: empty, int32, uint32, bool, uint64, string, strings, guid, bytes (hex
// text), other (with "typeCode"). WMI values take their type from JSON: text, integer,
// floating point, true/false, null, arrays of integers or texts, {"date": ISO text},
// {"empty": true}.
class SimulatedNetworkReader {
public:
    static const QString kFormatName; // "varnex-simulated-network"
    static const QStringList& ProbeNames();

    static std::variant<SimulatedNetworkData, QString> Read(const QByteArray& json);

private:
    using Path = QString;

    static void ReadRoot(const QJsonValue& v, SimulatedNetworkData& data);
    static void ReadBehaviours(const QJsonValue& v, const Path& p, SimulatedNetworkData& data);
    static void ReadLocalMachine(const QJsonValue& v, const Path& p, SimulatedNetworkData& data);
    static LocalMachineProbe::OsVersion ReadOsVersion(const QJsonValue& v, const Path& p);
    static QHash<QString, DiscoveryServiceCheck::Probe> ReadServices(const QJsonValue& v,
                                                                     const Path& p);
    static LocalNetworkProbe::Adapter ReadAdapter(const QJsonValue& v, const Path& p);
    static LocalNetworkProbe::AddressMask ReadAddressMask(const QJsonValue& v, const Path& p);
    static LocalNetworkProbe::Neighbour ReadNeighbour(const QJsonValue& v, const Path& p);
    static UpnpGatewayProbe::Gateway ReadUpnp(const QJsonValue& v, const Path& p);
    static SimulatedNetworkData::Host ReadHost(const QJsonValue& v, const Path& p);
    static void ReadDiscovery(const QJsonValue& v, const Path& p, SimulatedNetworkData::Host& host);
    static WsdDumpLines::Property ReadProperty(const QJsonValue& v, const Path& p);
    static WsdDumpLines::Value ReadPropertyValue(const QJsonObject& o, const Path& p);
    static ServerInfoProbe::Info101 ReadServerInfo(const QJsonValue& v, const Path& p);
    static SimulatedNetworkData::Wmi ReadWmi(const QJsonValue& v, const Path& p);
    static WmiProbe::Credentials ReadCredentials(const QJsonValue& v, const Path& p);
    static WmiSession::Instance ReadInstance(const QJsonValue& v, const Path& p);
    static WmiSession::Value ReadWmiValue(const QJsonValue& v, const Path& p);
    static WmiSession::Value ReadWmiArray(const QJsonArray& a, const Path& p);
    static QHash<QString, SimulatedNetworkData::SnmpTable> ReadSnmp(const QJsonValue& v,
                                                                    const Path& p);
    static SnmpProbe::Value ReadSnmpValue(const QJsonValue& v, const Path& p);

    [[noreturn]] static void Fail(const Path& p, const QString& what);
    static QJsonObject Object(const QJsonValue& v, const Path& p, const QStringList& allowed);
    static QJsonArray Array(const QJsonValue& v, const Path& p);
    static QJsonValue Required(const QJsonObject& o, const Path& p, const QString& key);
    static QString String(const QJsonValue& v, const Path& p);
    static QStringList Strings(const QJsonValue& v, const Path& p);
    static bool Bool(const QJsonValue& v, const Path& p);
    static qint64 Integer(const QJsonValue& v, const Path& p, qint64 min, qint64 max);
    static quint64 Unsigned(const QJsonValue& v, const Path& p, quint64 max);
    static QString Ipv4(const QJsonValue& v, const Path& p);
    static QString Address(const QJsonValue& v, const Path& p);
    static QByteArray Mac(const QJsonValue& v, const Path& p);
    static QString Oid(const QString& text, const Path& p);
    static Path Member(const Path& p, const QString& key);
    static Path Element(const Path& p, qsizetype index);
};
