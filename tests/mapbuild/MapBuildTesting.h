#pragma once

#include "document/CNetDoc.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/MapObjectTesting.h"

#include <QStringList>

// Helpers of the map construction tests: surveyed systems made the way the
// survey's transfer makes them, and lookups in the finished map.
namespace MapBuildTesting {

using MapObjectTesting::ip;

struct HostSetup {
    QString unc;
    QString fqdn;
    QList<quint32> addresses;
    quint32 gateway = 0; // 0: the adapter's own first address, as the survey does
    quint32 serverType = 0x1003;
    int kind = 0; // SetShapeKind value, 0 to keep the tower
};

inline CDrawSys* addHost(CNetDoc& doc, const HostSetup& setup)
{
    auto* system = new CDrawSys(doc.m_rcDefaultSize[1]);
    system->m_pDocument = &doc;
    system->m_nSpacing = doc.m_nObjectSpacing;
    doc.m_objects.append(system);
    system->m_dwServerType = setup.serverType;
    if (setup.kind != 0)
        system->SetShapeKind(setup.kind);
    system->SetUncName(setup.unc);
    system->SetFqdn(setup.fqdn);
    if (!setup.addresses.isEmpty()) {
        system->AddAdapterAddresses(setup.addresses);
        system->SetMasks({ip("255.255.255.0")});
        system->SetGateways({setup.gateway != 0 ? setup.gateway : setup.addresses.first()});
    }
    system->BuildInterfaces();
    return system;
}

template <class T>
QList<T*> objectsOf(const CNetDoc& doc)
{
    QList<T*> found;
    for (CDrawObj* object : doc.m_objects) {
        if (&object->GetRuntimeClass() == &T::StaticClass())
            found.append(static_cast<T*>(object));
    }
    return found;
}

inline CDrawSys* systemNamed(const CNetDoc& doc, const QString& fqdn)
{
    for (CDrawSys* system : objectsOf<CDrawSys>(doc)) {
        if (system->m_strFqdn == fqdn)
            return system;
    }
    return nullptr;
}

inline CDrawDomain* forestOf(const CNetDoc& doc)
{
    for (CDrawDomain* domain : objectsOf<CDrawDomain>(doc)) {
        if (domain->m_strName == QStringLiteral("FOREST_TREE_TAVRIN"))
            return domain;
    }
    return nullptr;
}

inline QStringList domainNames(const CNetDoc& doc)
{
    QStringList names;
    for (CDrawDomain* domain : objectsOf<CDrawDomain>(doc))
        names << domain->m_strName;
    return names;
}

// Pairs of systems (not hosted printers) whose pictures overlap.
inline int overlappingSystems(const CNetDoc& doc)
{
    QList<const CDrawSys*> placed;
    for (const CDrawSys* system : objectsOf<CDrawSys>(doc)) {
        if (!system->m_pOwnerSys)
            placed.append(system);
    }
    int pairs = 0;
    for (qsizetype i = 0; i < placed.size(); ++i) {
        for (qsizetype j = i + 1; j < placed.size(); ++j)
            pairs += placed.at(i)->m_position.intersects(placed.at(j)->m_position) ? 1 : 0;
    }
    return pairs;
}

} // namespace MapBuildTesting
