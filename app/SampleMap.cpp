#include "SampleMap.h"

#include "document/CNetDoc.h"
#include "mapbuild/InterfaceWiring.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSys.h"
#include "objects/ServerRoles.h"

namespace {

// Server type bits of the server information.
constexpr quint32 kWorkstation = 0x1;
constexpr quint32 kServer = 0x2;
constexpr quint32 kDomainController = 0x8;
constexpr quint32 kTimeSource = 0x20;
constexpr quint32 kPrintQueue = 0x200;
constexpr quint32 kMemberServer = 0x8000;
constexpr quint32 kMasterBrowser = 0x40000;

quint32 ip(int a, int b, int c, int d)
{
    return quint32(a) | (quint32(b) << 8) | (quint32(c) << 16) | (quint32(d) << 24);
}

const quint32 kMask = ip(255, 255, 255, 0);
const quint32 kGateway = ip(10, 77, 0, 1);

struct Host {
    const char* fqdn;
    int kind; // SetShapeKind value: type code plus one
    Point at;
    quint32 address;
    const char* mac;
    quint32 typeBits;
};

CDrawSys* addHost(CNetDoc& doc, CDrawDomain& domain, const Host& host)
{
    auto* system = new CDrawSys(Rect{});
    doc.AddObject(system);
    system->SetShapeKind(host.kind);
    system->SetOwner(&domain);
    domain.AddSystem(system);
    system->SetName(domain.m_strName);
    system->AddAdapterAddresses({host.address});
    system->SetMasks({kMask});
    system->SetGateways({host.address == kGateway ? 0u : kGateway});
    system->m_mapIpToMac.insert(host.address, QString::fromLatin1(host.mac));
    system->SetFqdn(QString::fromLatin1(host.fqdn));
    if (host.typeBits) {
        ServerRecord101 info{ServerRoles::kPlatformNt, 0, 10, 0, host.typeBits, 0};
        system->m_serverInfo101 = info;
        ServerRecord102 roles{};
        roles[4] = host.typeBits;
        system->SetServerInfo(info);
        system->SetServerRoleNames(roles);
    }
    system->BuildInterfaces();
    return system;
}

// Systems are built at the origin, as a survey leaves them, and placed
// afterwards; labels, hanging printers and connections follow them.
void place(CDrawSys& system, Point at)
{
    system.m_position = system.m_position.translated(at.x, at.y);
    system.RecalcExtent();
}

} // namespace

void SampleMap::build(CNetDoc& doc)
{
    auto* forest = new CDrawDomain(Rect{});
    doc.AddObject(forest);
    forest->SetName(QStringLiteral("FOREST_TREE_TAVRIN"));
    auto* domain = new CDrawDomain(Rect{});
    doc.AddObject(domain);
    domain->SetName(QStringLiteral("EXAMPLE"));
    domain->SetOwner(forest);
    forest->AddSubDomain(domain);

    const Host hosts[] = {
        {"gateway.example.local", 8, {900, 150}, kGateway, "00-1a-2b-3c-4d-01", 0},
        {"dc01.example.local", 6, {200, 650}, ip(10, 77, 0, 10), "00-1a-2b-3c-4d-10",
         kWorkstation | kServer | kDomainController | kTimeSource | kMasterBrowser},
        {"fs01.example.local", 6, {1000, 650}, ip(10, 77, 0, 11), "00-1a-2b-3c-4d-11",
         kWorkstation | kServer | kMemberServer | kPrintQueue},
        {"pc-sales01.example.local", 7, {300, 1400}, ip(10, 77, 0, 101), "00-1a-2b-3c-4d-65",
         kWorkstation},
        {"pc-acct02.example.local", 7, {1300, 1400}, ip(10, 77, 0, 102), "00-1a-2b-3c-4d-66",
         kWorkstation},
    };
    QList<CDrawSys*> systems;
    for (const Host& host : hosts)
        systems.append(addHost(doc, *domain, host));

    // A printer shared by the file server hangs on it.
    CDrawSys* server = systems.at(2);
    auto* printer = new CDrawSys(Rect{});
    doc.AddObject(printer);
    printer->SetOwner(server);
    server->AddSubSystem(printer);
    printer->SetShapeKind(10);
    printer->SetFqdn(QStringLiteral("\\\\fs01\\経理部プリンタ"));
    server->m_astrSharedPrinters = {QStringLiteral("\\\\fs01\\経理部プリンタ")};

    InterfaceWiring::ConnectAllInterfaces(doc);
    for (qsizetype i = 0; i < systems.size(); ++i)
        place(*systems.at(i), hosts[i].at);
    printer->RepositionPrinter();
    server->RecalcExtent();
}
