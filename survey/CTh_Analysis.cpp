#include "CTh_Analysis.h"

#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"
#include "survey/AddressMacGrouping.h"
#include "survey/CPing.h"
#include "survey/CTh_SNMP.h"
#include "survey/NetworkSurvey.h"
#include "survey/SystemErrorText.h"
#include "survey/WmiInventoryStep.h"
#include "survey/platform/NetworkProbes.h"

#include <mutex>

namespace {

const QString kBackslashes = QStringLiteral("\\\\");

QString ServerInfoCodeText(quint32 error)
{
    switch (error) {
    case 5:
        return QStringLiteral("101_ACCESS_DENIED %1").arg(error);
    case 8:
        return QStringLiteral("101_NOT_ENOUGH_MEMORY %1").arg(error);
    case 53:
        return QStringLiteral("「ネットワーク共有サービス」が有効かご確認ください。");
    case 87:
        return QStringLiteral("101_INVALID_PARAMETER %1").arg(error);
    case 123:
        return QStringLiteral("101_INVALID_NAME %1").arg(error);
    case 124:
        return QStringLiteral("101_INVALID_LEVEL %1").arg(error);
    default:
        return QStringLiteral("101_ERR_%1").arg(error);
    }
}

} // namespace

CTh_Analysis::CTh_Analysis(NetworkSurvey& survey, CDrawSys* system, const QString& name,
                           Parameters parameters)
    : CTh_Worker(survey, system, name)
    , m_p(std::move(parameters))
{
}

QStringList CTh_Analysis::ServerInfoFailureLines(quint32 error)
{
    QStringList lines;
    const QString text = SystemErrorText::Text(error).trimmed();
    if (!text.isEmpty())
        lines.append(text);
    lines.append(ServerInfoCodeText(error));
    return lines;
}

QStringList CTh_Analysis::DescriptionLines(const QString& sysName, const QString& sysDescr)
{
    QStringList lines;
    if (!sysName.isEmpty())
        lines.append(sysName);
    for (qsizetype at = 0; at < sysDescr.size(); at += kInfoLineWidth)
        lines.append(sysDescr.mid(at, kInfoLineWidth));
    return lines;
}

const NetworkProbes& CTh_Analysis::Probes() const
{
    return m_survey.Probes();
}

quint32 CTh_Analysis::Setting(int index) const
{
    return m_p.surveySettings.value(index);
}

void CTh_Analysis::DoSurvey()
{
    m_bWmiWanted = Setting(1) == 1;
    if (!InMapMode())
        return;
    const QString reverseName = Probes().Names().ReverseLookup(m_p.address);
    if (m_strName.contains(QLatin1Char('\\')))
        m_strHostDnsName = reverseName.contains(QLatin1Char('.')) ? reverseName
                                                                   : DnsNameLookup(reverseName);
    else if (!m_strName.isEmpty())
        m_strName = reverseName;
    m_strResolvedAddress = Probes().Names().ForwardLookup(reverseName);
    if (m_strName.isEmpty()) {
        GatewayStep();
        return;
    }
    if (PingFails()) {
        RecordSilentHost();
        return;
    }
    const QString localName =
        kBackslashes + Probes().LocalMachine().ComputerName().left(kMaxComputerName);
    m_bLocalMachine = m_strName.compare(localName, Qt::CaseInsensitive) == 0;
    if (!(m_bLocalMachine ? LocalMachineStep() : DeviceStep())) {
        ReleaseResults();
        return;
    }
    Report(m_strName + QStringLiteral("の機能情報を取得しました。"));
    if (m_p.otherDeviceAddresses.contains(m_strResolvedAddress, Qt::CaseInsensitive)) {
        m_bNotComputer = true;
        m_bWmiWanted = false;
    }
    if (m_bWmiWanted && m_bServerInfoOk) {
        if (!WmiStep() && !InMapMode()) {
            ReleaseResults();
            return;
        }
        Report(m_strName + QStringLiteral("のハードウェア情報を取得しました。"));
    }
    if (!InMapMode()) {
        ReleaseResults();
        return;
    }
    GroupAddressesByMac();
    TransferToSystem();
    ReleaseResults();
}

bool CTh_Analysis::WmiStep()
{
    WmiInventoryStep::Inputs inputs;
    inputs.host = m_strName;
    inputs.showFailures = Setting(3) != 0;
    inputs.credentialMode = Setting(kCredentialModeSetting);
    inputs.account = m_p.wmiAccount;
    inputs.inMapMode = [this] { return InMapMode(); };
    WmiInventoryStep::Outputs outputs;
    outputs.results.infoLines = m_astrInfoLines;
    outputs.results.adapters = m_adapters.listing;
    const bool listed = WmiInventoryStep::Run(Probes().Wmi(), inputs, outputs);
    m_astrInfoLines = outputs.results.infoLines;
    m_astrWmiListing = outputs.listing;
    m_strWmiCaption = outputs.results.caption;
    m_adapters.listing = outputs.results.adapters;
    m_astrPrinterList = outputs.results.printers;
    m_nChassisCode = outputs.results.chassisCode;
    return listed;
}

void CTh_Analysis::ReleaseResults()
{
    m_adapters = {};
    m_adwAddresses.clear();
    m_mapIpToMac.clear();
}

QString CTh_Analysis::DnsNameLookup(const QString& name)
{
    const std::optional<NameResolutionProbe::HostEntry> entry = Probes().Names().LookupHost(name);
    if (!entry)
        return {};
    m_p.address = entry->address;
    return entry->officialName;
}

bool CTh_Analysis::PingFails()
{
    if (!m_p.deviceCategory.contains(QLatin1String("Computers")) || Setting(0) != 1)
        return false;
    const CPing ping(Probes().Names(), Probes().Ping());
    return !ping.Ping(m_strName.mid(2));
}

void CTh_Analysis::RecordSilentHost()
{
    m_strHostDnsName = m_strName;
    const std::lock_guard lock(m_survey.Document().DocumentLock());
    m_pSystem->SetUncName(m_strName);
    m_pSystem->SetFqdn(m_strName);
    m_pSystem->m_bBrush = 0;
}

void CTh_Analysis::GatewayStep()
{
    CNetDoc& document = m_survey.Document();
    quint32 gateway = 0;
    {
        const std::lock_guard lock(document.DocumentLock());
        gateway = document.m_survey.LocalGatewayAddress;
    }
    if (gateway == 0)
        return;
    const QString gatewayText = LocalNetworkFacts::AddressText(gateway);
    const QString name = Probes().Names().ReverseLookup(gatewayText);
    if (!name.isEmpty() && name != gatewayText) {
        m_strResolvedAddress = gatewayText;
        const std::lock_guard lock(document.DocumentLock());
        document.m_survey.GatewayHostName = name;
    }
    Report(QStringLiteral("のハードウェア情報を取得しました。"));
    QStringList infoLines;
    if (!m_strResolvedAddress.isEmpty() && m_p.snmp) {
        infoLines = GatewaySnmpLines(gatewayText);
        const std::lock_guard lock(document.DocumentLock());
        document.m_survey.GatewayInfoLines = infoLines;
    }
    AddUpnpFacts(infoLines);
}

QStringList CTh_Analysis::GatewaySnmpLines(const QString& gatewayText) const
{
    CTh_SNMP query(Probes().Snmp(), gatewayText);
    query.Query(m_p.communities, CTh_SNMP::kSysName, kSnmpTimeoutMs, kSnmpRetries);
    query.Query(m_p.communities, CTh_SNMP::kSysDescr, kSnmpTimeoutMs, kSnmpRetries);
    return DescriptionLines(query.m_strSysName, query.m_strSysDescr);
}

void CTh_Analysis::AddUpnpFacts(QStringList& infoLines)
{
    const std::optional<UpnpGatewayProbe::Gateway> gateway = Probes().UpnpGateway().FindGateway();
    if (!gateway)
        return;
    for (const QString& text : {gateway->friendlyName, gateway->manufacturer, gateway->modelName,
                                gateway->modelNumber, gateway->presentationUrl}) {
        if (!text.isEmpty())
            infoLines.append(text);
    }
    CNetDoc& document = m_survey.Document();
    const std::lock_guard lock(document.DocumentLock());
    document.m_survey.GatewayInfoLines = infoLines;
    if (gateway->externalAddress.isEmpty())
        return;
    const quint32 external = LocalNetworkFacts::AddressValue(gateway->externalAddress);
    m_adwAddresses.append(external);
    document.m_survey.GatewayExternalAddressText = gateway->externalAddress;
    document.m_survey.GatewayExternalAddress = external;
}

bool CTh_Analysis::LocalMachineStep()
{
    m_strOs = Probes().LocalMachine().OsName();
    if (InMapMode())
        CollectSharedPrinters();
    if (InMapMode())
        m_adapters = LocalNetworkFacts::CollectAdapters(Probes().LocalNetwork().Adapters(),
                                                        m_p.defaultGatewaySetting);
    if (InMapMode())
        DeviceStep();
    return InMapMode();
}

void CTh_Analysis::CollectSharedPrinters()
{
    const SharedPrinterProbe::Result result = Probes().SharedPrinters().Enumerate();
    if (result.error)
        return;
    for (const QString& remoteName : result.remoteNames) {
        if (remoteName.startsWith(kBackslashes) && remoteName.indexOf(QLatin1Char('\\'), 3) > 0)
            m_astrSharedPrinters.append(remoteName);
    }
}

bool CTh_Analysis::DeviceStep()
{
    if (m_p.deviceCategory.contains(QLatin1String("Computers")))
        ComputerStep();
    else
        OtherDeviceStep();
    return InMapMode();
}

void CTh_Analysis::ComputerStep()
{
    ServerInfoStep();
    if (!InMapMode())
        return;
    const std::optional<NameResolutionProbe::HostEntry> entry =
        Probes().Names().LookupHost(m_strName.mid(2));
    if (!entry) {
        m_strHostDnsName = m_strName;
        return;
    }
    m_adwAddresses.append(LocalNetworkFacts::AddressValue(entry->address));
    m_strHostDnsName = entry->officialName;
    m_strResolvedAddress = entry->address;
}

void CTh_Analysis::OtherDeviceStep()
{
    m_strHostDnsName = m_strName;
    m_strResolvedAddress = m_p.address;
    m_strOs = m_p.friendlyName;
    m_astrInfoLines.append(QStringLiteral("FriendlyName:") + m_p.friendlyName);
    m_astrInfoLines.append(QStringLiteral("FirmwareVersion:") + m_p.firmwareVersion);
    m_astrInfoLines.append(QStringLiteral("SerialNumber:") + m_p.serialNumber);
    m_astrInfoLines.append(QStringLiteral("DeviceCategory:") + m_p.deviceCategory);
    for (const QString& category : std::as_const(m_p.categories))
        m_astrInfoLines.append(QString(15, QLatin1Char(' ')) + category);
    if (!m_strResolvedAddress.contains(QLatin1Char(':')))
        m_adwAddresses.append(LocalNetworkFacts::AddressValue(m_strResolvedAddress));
    m_bNotComputer = true;
}

std::optional<ServerInfoProbe::Account> CTh_Analysis::SurveyAccount() const
{
    // Only an account given explicitly is presented; the logged-on user's
    // identity is the caller's own.
    if (Setting(kCredentialModeSetting) != kExplicitCredentials || m_p.wmiAccount.value(1).isEmpty())
        return std::nullopt;
    return ServerInfoProbe::Account{m_p.wmiAccount.value(0), m_p.wmiAccount.value(1), m_p.wmiAccount.value(2)};
}

void CTh_Analysis::ServerInfoStep()
{
    const ServerInfoProbe::Result result = Probes().ServerInfo().ServerInfo101(m_strName, SurveyAccount());
    if (result.error) {
        m_astrFailureLines = ServerInfoFailureLines(result.error);
        return;
    }
    m_bServerInfoOk = true;
    m_dwPlatformId = result.info.platformId;
    m_dwVersionMajor = result.info.versionMajor;
    m_dwVersionMinor = result.info.versionMinor;
    m_dwServerType = result.info.type;
    m_strServerName = result.info.name;
    m_strServerComment = result.info.comment;
}

void CTh_Analysis::GroupAddressesByMac()
{
    const QString placeholder = AddressMacGrouping::Placeholder(m_p.placeholderSeed);
    if (m_bLocalMachine && !m_adapters.addresses.isEmpty()) {
        m_mapIpToMac = AddressMacGrouping::MapAdapters(m_adapters.addresses, m_adapters.macs,
                                                       placeholder);
        const AddressMacGrouping::Merged merged =
            AddressMacGrouping::MergeByMac(m_adapters.addresses, m_mapIpToMac);
        LocalNetworkFacts::Adapters kept;
        kept.listing = m_adapters.listing;
        kept.addresses = merged.addresses;
        for (const int j : merged.adapterIndexes) {
            kept.macs.append(m_adapters.macs.at(j));
            kept.masks.append(m_adapters.masks.at(j));
            kept.gateways.append(m_adapters.gateways.at(j));
        }
        m_adapters = kept;
        return;
    }
    const LocalNetworkProbe& local = Probes().LocalNetwork();
    m_mapIpToMac = AddressMacGrouping::MapAddresses(
        m_adwAddresses,
        [&local](quint32 address) -> std::optional<QString> {
            const std::optional<QByteArray> mac =
                local.ArpLookup(LocalNetworkFacts::AddressText(address));
            if (!mac)
                return std::nullopt;
            return LocalNetworkFacts::MacTextLower(*mac);
        },
        placeholder);
}

void CTh_Analysis::TransferToSystem()
{
    const std::lock_guard lock(m_survey.Document().DocumentLock());
    CDrawSys& system = *m_pSystem;
    if (!m_strWmiCaption.isEmpty())
        m_strOs = m_strWmiCaption;
    if (!m_astrWmiListing.isEmpty())
        system.WmiListing() = m_astrWmiListing;
    if (!m_astrInfoLines.isEmpty())
        system.DeviceInfoLines() = m_astrInfoLines;
    system.m_astrMacLines = m_adapters.listing;
    system.m_astrShareLines = m_astrPrinterList;
    system.m_strOs = m_strOs;
    system.m_astrFailureLines = m_astrFailureLines;
    TransferServerInfo();
    if (m_bWmiWanted)
        system.SetChassisType(m_nChassisCode);
    if (m_bNotComputer)
        system.SetShapeKind(10);
    system.SetUncName(m_strName);
    system.SetFqdn(m_strHostDnsName);
    TransferInterfaces();
    if (m_p.address.contains(QLatin1Char(':')))
        system.AddIpv6Address(m_p.address, m_p.mac);
    if (!m_astrSharedPrinters.isEmpty())
        system.m_astrSharedPrinters = m_astrSharedPrinters;
}

void CTh_Analysis::TransferServerInfo()
{
    CDrawSys& system = *m_pSystem;
    system.SetServerInfoOk(m_bServerInfoOk ? 1 : 0);
    system.m_strServerName = m_strServerName;
    system.m_strServerComment = m_strServerComment;
    system.SetServerTypeNames(m_bServerInfoOk ? 1 : 0);
    system.m_strServerName2 = m_strServerName;
    system.m_strServerComment2 = m_strServerComment;
    system.m_strExtra1.clear();
    system.m_serverInfo101 = {m_dwPlatformId, 0, m_dwVersionMajor, m_dwVersionMinor,
                              m_dwServerType, 0};
    system.SetServerInfo(system.m_serverInfo101);
    system.m_serverInfo102 = {};
    system.m_serverInfo102[0] = m_dwPlatformId;
    system.m_serverInfo102[2] = m_dwVersionMajor;
    system.m_serverInfo102[3] = m_dwVersionMinor;
    system.m_serverInfo102[4] = m_dwServerType;
    system.SetServerRoleNames(system.m_serverInfo102);
}

void CTh_Analysis::TransferInterfaces()
{
    CDrawSys& system = *m_pSystem;
    for (const QList<quint32>& addresses : std::as_const(m_adapters.addresses))
        system.AddAdapterAddresses(addresses);
    if (m_adapters.addresses.isEmpty() && !m_adwAddresses.isEmpty())
        system.AddAdapterAddresses(m_adwAddresses);
    if (!m_adapters.masks.isEmpty())
        system.SetMasks(m_adapters.masks);
    QList<quint32> gateways = m_adapters.gateways;
    for (qsizetype j = 0; j < gateways.size(); ++j) {
        if (gateways.at(j) == 0 && !m_adapters.addresses.at(j).isEmpty())
            gateways[j] = m_adapters.addresses.at(j).first();
    }
    system.SetGateways(gateways);
    // Nothing the survey reads tells a remote host's gateway; the subnet it
    // shares with the surveying machine does. Set without a segment of its
    // own: the surveying machine made that one already.
    if (m_adapters.addresses.isEmpty() && !m_adwAddresses.isEmpty())
        if (const quint32 gateway = LocalNetworkFacts::GatewayFor(m_p.surveyorSubnets, m_adwAddresses.first()))
            system.m_adwGateways = {gateway};
    for (auto it = m_mapIpToMac.cbegin(); it != m_mapIpToMac.cend(); ++it)
        system.m_mapIpToMac.insert(it.key(), it.value());
    system.BuildInterfaces();
}
