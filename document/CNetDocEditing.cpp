// The structural edits of the map made by hand: domains, segments and
// interfaces created on the property sheet, and shared devices hung on a host.
#include "CNetDoc.h"

#include "objects/AsciiText.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"

namespace {

const QString kForest = QStringLiteral("FOREST_TREE_TAVRIN");

// Placement of an interface's label by the system's interface count:
// above, left, below, right, and round again.
constexpr int kLabelRequests[] = {11, 14, 12, 13};

bool IsDomainObject(const CDrawObj* object)
{
    return &object->GetRuntimeClass() == &CDrawDomain::StaticClass();
}

CDrawDomain* NewForest(CNetDoc& document)
{
    auto* forest = new CDrawDomain(Rect{});
    forest->m_pDocument = &document;
    forest->m_strName = kForest;
    document.m_objects.append(forest);
    return forest;
}

// Whether the address lies strictly inside one of the forest's segments.
bool InsideASegment(const CDrawDomain* forest, quint32 address)
{
    if (!forest)
        return false;
    const quint32 host = CDrawSegment::HostOrder(address);
    for (const CDrawObj* object : forest->m_segments) {
        if (!object || !object->IsKindOf(CDrawSegment::StaticClass()))
            continue;
        const auto* segment = static_cast<const CDrawSegment*>(object);
        if (host > CDrawSegment::HostOrder(segment->m_dwNetwork) && host < CDrawSegment::HostOrder(segment->m_dwBroadcast))
            return true;
    }
    return false;
}

} // namespace

CDrawDomain* CNetDoc::FindDomain(const QString& name) const
{
    const QString& wanted = name.isEmpty() ? kForest : name;
    for (CDrawObj* object : m_objects) {
        if (IsDomainObject(object) && !static_cast<CDrawDomain*>(object)->m_strName.isEmpty()
            && AsciiText::equalsIgnoringCase(static_cast<CDrawDomain*>(object)->m_strName, wanted))
            return static_cast<CDrawDomain*>(object);
    }
    return nullptr;
}

CDrawDomain* CNetDoc::CreateDomain(const QString& name)
{
    auto* domain = new CDrawDomain(Rect{});
    domain->m_pDocument = this;
    CDrawDomain* forest = FindDomain(QString());
    if (!forest)
        forest = NewForest(*this);
    forest->m_subDomains.append(domain);
    domain->SetOwner(forest);
    domain->SetName(name);
    m_objects.append(domain);
    return domain;
}

CDrawSegment* CNetDoc::CreateSegment(quint32 gateway, quint32 mask)
{
    if (m_objects.isEmpty())
        NewForest(*this);
    CDrawDomain* forest = FindDomain(QString());
    if (!forest)
        return nullptr;
    auto* segment = new CDrawSegment(Rect{});
    segment->m_pDocument = this;
    forest->m_segments.prepend(segment);
    segment->SetOwner(forest);
    segment->m_dwAddress = gateway;
    segment->SetMask(mask);
    m_objects.append(segment);
    return segment;
}

CDrawNic* CNetDoc::CreateNic(CDrawSys* system, const QList<quint32>& addresses, quint32 mask, quint32 gateway,
                             const QString& mac)
{
    if (!system)
        return nullptr;
    if (system->m_pOwnerSys)
        system->LeaveOwner();
    auto* nic = new CDrawNic(Rect{});
    nic->m_pDocument = this;
    system->m_nics.append(nic);
    nic->SetOwner(system);
    nic->m_dwMask = mask;
    nic->m_dwGateway = gateway;
    nic->m_strMac = mac;
    nic->m_adwAddresses = addresses;
    system->RebuildIpMacMap();

    QStringList lines;
    for (quint32 address : addresses)
        lines.append(CDrawNic::DottedAddress(address));
    lines.append(mac);
    nic->CreateNicLabel(lines, kLabelRequests[(system->m_nics.size() - 1) % 4]);

    const CDrawDomain* forest = FindDomain(QString());
    const bool known = std::any_of(addresses.cbegin(), addresses.cend(),
                                   [forest](quint32 address) { return InsideASegment(forest, address); });
    if (!known)
        CreateSegment(gateway, mask);

    auto* connection = new CDrawConnect(Rect{});
    connection->m_pDocument = this;
    connection->SetOwner(nic);
    if (connection->AttachToSegmentGateway(nic)) {
        nic->m_connections.append(connection);
        m_objects.prepend(connection);
    } else {
        delete connection;
    }
    m_objects.append(nic);
    return nic;
}

CDrawNic* CNetDoc::FindNicByMac(const QString& mac) const
{
    if (mac.isEmpty())
        return nullptr;
    for (CDrawObj* object : m_objects)
        if (&object->GetRuntimeClass() == &CDrawNic::StaticClass()
            && !static_cast<CDrawNic*>(object)->m_strMac.isEmpty()
            && static_cast<CDrawNic*>(object)->m_strMac == mac)
            return static_cast<CDrawNic*>(object);
    return nullptr;
}

CDrawSegment* CNetDoc::FindSegmentOfNic(const QString& mac) const
{
    const CDrawDomain* forest = FindDomain(QString());
    if (!forest || mac.isEmpty())
        return nullptr;
    for (CDrawObj* object : m_objects) {
        if (&object->GetRuntimeClass() != &CDrawNic::StaticClass() || static_cast<CDrawNic*>(object)->m_strMac != mac)
            continue;
        for (quint32 address : static_cast<CDrawNic*>(object)->m_adwAddresses)
            if (CDrawSegment* segment = forest->FindSegmentForAddress(address))
                return segment;
    }
    return nullptr;
}

CDrawSys* CNetDoc::AttachToHost(const QString& hostName, CDrawSys* device)
{
    if (hostName.isEmpty() || !device)
        return nullptr;
    CDrawSys* host = nullptr;
    for (CDrawObj* object : m_objects)
        if (object->IsKindOf(CDrawSys::StaticClass())
            && AsciiText::equalsIgnoringCase(static_cast<CDrawSys*>(object)->m_strFqdn, hostName)) {
            host = static_cast<CDrawSys*>(object);
            break;
        }
    if (!host)
        return nullptr;
    device->LeaveOwner();
    device->m_strFqdn = QStringLiteral("\\\\") + HostPart(host->m_strFqdn) + QLatin1Char('\\')
        + DevicePart(device->m_strFqdn);
    host->AddSubSystem(device);
    device->SetOwner(host);
    return host;
}

QString CNetDoc::HostPart(const QString& fqdn)
{
    const qsizetype dot = fqdn.indexOf(QLatin1Char('.'));
    return dot < 0 ? fqdn : fqdn.left(dot);
}

QString CNetDoc::DevicePart(const QString& name)
{
    if (!name.startsWith(QLatin1Char('\\')))
        return HostPart(name);
    const qsizetype slash = name.indexOf(QLatin1Char('\\'), 2);
    return slash < 0 ? name.mid(2) : name.mid(slash + 1);
}
