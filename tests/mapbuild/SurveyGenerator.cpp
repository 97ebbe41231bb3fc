#include "SurveyGenerator.h"

#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"

namespace {

quint32 address(int a, int b, int c, int d)
{
    return quint32(a) | quint32(b) << 8 | quint32(c) << 16 | quint32(d) << 24;
}

// Server type bits of workstations, servers, domain controllers and others.
constexpr quint32 kTypeBits[] = {0x1003, 0x1003, 0x1003, 0x9003, 0x900B, 0x9013, 0x1007,
                                 0x2001003, 0x10000000, 0x0};
constexpr int kMajors[] = {5, 6, 6, 10, 10, 4, 3};
constexpr int kChassis[] = {0, 3, 3, 6, 9, 10, 17, 11, 23};

} // namespace

SurveyGenerator::SurveyGenerator(quint32 seed)
    : m_random(seed)
{
}

bool SurveyGenerator::Chance(int percent)
{
    return Pick(100) < percent;
}

int SurveyGenerator::Pick(int count)
{
    return int(std::uniform_int_distribution<int>(0, count - 1)(m_random));
}

void SurveyGenerator::Fill(CNetDoc& document, int hostCount)
{
    const int domainCount = 1 + Pick(4) + hostCount / 400;
    for (int i = 0; i < domainCount; ++i)
        m_domains << (Chance(15) ? QStringLiteral("WORKGROUP") : QStringLiteral("CORP%1").arg(i));
    const int gatewayCount = 1 + Pick(3);
    for (int i = 0; i < gatewayCount; ++i)
        m_gateways << address(192, 168, i, 1);
    for (int i = 0; i < hostCount; ++i) {
        const Host host = NewHost(i);
        auto* system = new CDrawSys(document.m_rcDefaultSize[1]);
        system->m_pDocument = &document;
        system->m_nSpacing = document.m_nObjectSpacing;
        document.m_objects.append(system);
        Transfer(*system, host, i);
        if (!host.domain.isEmpty()) {
            // Domains are named with varying case, as hosts report them.
            const QString domain = Chance(10) ? host.domain.toLower() : host.domain;
            document.m_survey.DomainOfHost.insert(host.unc, domain);
            // The same host listed again in other case, with another domain.
            if (Chance(3))
                document.m_survey.DomainOfHost.insert(host.unc.toLower(),
                                                      m_domains.at(Pick(int(m_domains.size()))));
        }
    }
    SetGatewayResults(document);
}

SurveyGenerator::Host SurveyGenerator::NewHost(int index)
{
    Host host;
    host.computer = Chance(85);
    host.name = HostName(index, host.computer);
    if (Chance(90))
        host.domain = m_domains.at(Pick(int(m_domains.size())));
    host.fqdn = DnsName(host.name, host.domain);
    // A device is known by its resolved name, a computer by its UNC name.
    host.unc = host.computer || host.fqdn.isEmpty() ? host.name : host.fqdn;
    m_hostNames << host.name;
    m_dnsNames << host.fqdn;
    return host;
}

QString SurveyGenerator::HostName(int index, bool computer)
{
    // Now and then a host answers twice, under names that differ in case.
    if (computer && index > 0 && Chance(2))
        return m_hostNames.at(Pick(index)).toLower();
    if (computer)
        return QStringLiteral("\\\\PC%1").arg(index);
    return QStringLiteral("dev%1").arg(index);
}

QString SurveyGenerator::DnsName(const QString& name, const QString& domain)
{
    const QString bare = name.startsWith(QStringLiteral("\\\\")) ? name.mid(2) : name;
    switch (Pick(8)) {
    case 0:
        return bare; // no DNS suffix known
    case 1:
        return name; // no answer to ping: the UNC name
    case 2:
        return QStringLiteral("a.") + bare; // dot too far forward
    case 3:
        return QString(); // nothing resolved
    default:
        return bare.toLower() + QLatin1Char('.')
               + (domain.isEmpty() ? QStringLiteral("lan") : domain.toLower())
               + (Chance(80) ? QStringLiteral(".example") : QStringLiteral(".test"));
    }
}

void SurveyGenerator::Transfer(CDrawSys& system, const Host& host, int index)
{
    const bool answered = Chance(90);
    system.m_astrShareLines.clear();
    system.m_strOs = QString();
    system.SetServerInfoOk(answered ? 1 : 0);
    system.m_strServerName = host.name.mid(2);
    system.SetServerTypeNames(answered ? 1 : 0);
    const quint32 type = host.computer ? kTypeBits[Pick(std::size(kTypeBits))] : 0;
    const ServerRecord101 info101{500, 0, quint32(kMajors[Pick(std::size(kMajors))]),
                                  quint32(Pick(4)), type, 0};
    system.m_serverInfo101 = info101;
    system.SetServerInfo(info101);
    ServerRecord102 info102{};
    info102[0] = info101[0];
    info102[2] = info101[2];
    info102[3] = info101[3];
    info102[4] = type;
    system.m_serverInfo102 = info102;
    system.SetServerRoleNames(info102);
    if (host.computer && Chance(50))
        system.SetChassisType(kChassis[Pick(std::size(kChassis))]);
    if (!host.computer)
        system.SetShapeKind(CDrawSys::kPrinter + 1);
    system.SetUncName(host.unc);
    system.SetFqdn(host.fqdn);
    AddAdapters(system, index);
    if (host.computer && Chance(20))
        AddSharedPrinters(system, host);
}

void SurveyGenerator::AddAdapters(CDrawSys& system, int index)
{
    const int adapters = Chance(10) ? 2 : 1;
    QList<quint32> masks;
    QList<quint32> gateways;
    for (int a = 0; a < adapters; ++a) {
        QList<quint32> addresses{address(10, a, index / 250, 1 + index % 250)};
        const int g = Pick(int(m_gateways.size()));
        // A few hosts route for the others and hold a gateway address.
        if (Chance(3))
            addresses << m_gateways.at(g);
        if (Chance(5))
            addresses << address(172, 16, index / 250, 1 + index % 250);
        system.AddAdapterAddresses(addresses);
        masks << address(255, 255, 255, 0);
        // An adapter without a gateway gets its own first address as one.
        gateways << (Chance(80) ? m_gateways.at(g) : addresses.first());
        for (quint32 a2 : std::as_const(addresses)) {
            if (Chance(70))
                system.m_mapIpToMac.insert(a2, QStringLiteral("00-11-22-33-%1-%2")
                                                   .arg(index % 256, 2, 16, QLatin1Char('0'))
                                                   .arg(a, 2, 16, QLatin1Char('0')));
        }
    }
    if (Chance(90))
        system.SetMasks(masks);
    system.SetGateways(gateways);
    system.BuildInterfaces();
}

void SurveyGenerator::AddSharedPrinters(CDrawSys& system, const Host& host)
{
    const int count = 1 + Pick(3);
    for (int i = 0; i < count; ++i) {
        const QString share = QStringLiteral("Laser%1").arg(i);
        QString host2 = host.name;
        switch (Pick(10)) {
        case 0:
            host2 = m_hostNames.at(Pick(int(m_hostNames.size()))); // another host's printer
            break;
        case 1:
            host2 = QStringLiteral("\\\\GONE"); // a host not on the map
            break;
        case 2:
            host2 = host.name.toLower();
            break;
        default:
            break;
        }
        system.m_astrSharedPrinters << (Chance(5) ? share : host2 + QLatin1Char('\\') + share);
        system.m_astrShareLines << (Chance(10) ? share : share + QStringLiteral("//Printer ") + share);
    }
}

void SurveyGenerator::SetGatewayResults(CNetDoc& document)
{
    SurveyResults& survey = document.m_survey;
    survey.GatewayShape = quint32(Pick(3));
    switch (Pick(4)) {
    case 0:
        survey.GatewayHostName = QStringLiteral("gw.corp0.example");
        break;
    case 1:
        // The gateway is a surveyed host the survey named.
        survey.GatewayHostName = m_dnsNames.at(Pick(int(m_dnsNames.size())));
        break;
    default:
        break;
    }
    if (Chance(50))
        survey.GatewayInfoLines = {QStringLiteral("Broadband router"), QStringLiteral("rev 2")};
    if (Chance(50)) {
        survey.GatewayExternalAddress = address(203, 0, 113, 5);
        survey.GatewayExternalAddressText = QStringLiteral("203.0.113.5");
    }
    for (quint32 gateway : std::as_const(m_gateways))
        survey.ArpTable.insert(QStringLiteral("192.168.%1.1").arg((gateway >> 16) & 0xFF),
                               QStringLiteral("aa-bb-cc-00-00-%1").arg((gateway >> 16) & 0xFF));
}
