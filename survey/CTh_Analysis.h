#pragma once

#include "survey/CTh_Worker.h"
#include "survey/LocalNetworkFacts.h"
#include "survey/platform/ServerInfoProbe.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class NetworkProbes;

// The survey of one host: its names and addresses, an optional ping, the
// server information of computers, the local machine's own adapters and
// shared printers, and the grouping of its addresses into interfaces; all
// of it then goes into the host's system object. The gateway thread is an
// analysis thread without a system object and without a name: it asks the
// default gateway for its name, SNMP facts and UPnP description instead.
class CTh_Analysis final : public CTh_Worker {
public:
    // Half a second and one retry: a gateway answers in a millisecond, and
    // a silent one must not hold the survey up for half a minute.
    static constexpr int kSnmpTimeoutMs = 500;
    static constexpr int kSnmpRetries = 1;
    static constexpr int kInfoLineWidth = 40;
    static constexpr int kMaxComputerName = 15;
    static constexpr int kCredentialModeSetting = 2;
    static constexpr quint32 kExplicitCredentials = 1;

    // Everything the thread is given at launch, copied.
    struct Parameters {
        QList<quint32> surveySettings; // the document's five survey options
        QStringList wmiAccount; // the document's survey account: domain, user, password
        // The surveying machine's subnets: a host whose gateway is not
        // known is wired to the gateway of the subnet it is on. Empty: the
        // host stays unwired.
        QList<LocalNetworkFacts::Subnet> surveyorSubnets;
        QString address;
        QString deviceCategory;
        QString friendlyName;
        QString firmwareVersion;
        QString serialNumber;
        QStringList categories;
        QString mac; // from the neighbour table, may be empty
        QStringList otherDeviceAddresses;
        QStringList communities;
        QString defaultGatewaySetting;
        bool snmp = false;
        quint32 placeholderSeed = 0; // unique per thread of a survey
    };

    CTh_Analysis(NetworkSurvey& survey, CDrawSys* system, const QString& name,
                 Parameters parameters);

    // The failure lines of a server information error: the system's text
    // for the error, then the code.
    static QStringList ServerInfoFailureLines(quint32 error);
    // The gateway's SNMP description in lines of at most 40 characters.
    static QStringList DescriptionLines(const QString& sysName, const QString& sysDescr);

protected:
    void DoSurvey() override;
    void ReleaseResults() override;

private:
    const NetworkProbes& Probes() const;
    quint32 Setting(int index) const;
    QString DnsNameLookup(const QString& name);
    bool PingFails();
    void RecordSilentHost();
    void GatewayStep();
    QStringList GatewaySnmpLines(const QString& gatewayText) const;
    void AddUpnpFacts(QStringList& infoLines);
    bool LocalMachineStep();
    void CollectSharedPrinters();
    bool DeviceStep();
    void ComputerStep();
    void OtherDeviceStep();
    void ServerInfoStep();
    // The WMI inventory: false when it did not run to its end.
    bool WmiStep();
    std::optional<ServerInfoProbe::Account> SurveyAccount() const;
    void GroupAddressesByMac();
    void TransferToSystem();
    void TransferServerInfo();
    void TransferInterfaces();

    Parameters m_p;
    bool m_bWmiWanted = false;
    bool m_bServerInfoOk = false;
    bool m_bNotComputer = false;
    QString m_strHostDnsName;
    QString m_strResolvedAddress;

    quint32 m_dwPlatformId = 0;
    quint32 m_dwVersionMajor = 0;
    quint32 m_dwVersionMinor = 0;
    quint32 m_dwServerType = 0;
    QString m_strServerName;
    QString m_strServerComment;

    QList<quint32> m_adwAddresses;
    LocalNetworkFacts::Adapters m_adapters;
    bool m_bLocalMachine = false;
    QMap<quint32, QString> m_mapIpToMac;

    qint32 m_nChassisCode = 0; // 0 while WMI has given none
    QString m_strOs;
    QString m_strWmiCaption;
    QStringList m_astrWmiListing;
    QStringList m_astrPrinterList; // "share//caption" from WMI
    QStringList m_astrInfoLines;
    QStringList m_astrFailureLines;
    QStringList m_astrSharedPrinters;
};
