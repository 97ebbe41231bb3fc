#include "InterfaceWiring.h"

#include "AddressHolders.h"
#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"

#include <algorithm>

namespace {

// The interface holding the gateway of nic on another system, or null.
CDrawNic* farEndOf(const CDrawNic& nic, const AddressHolders& holders)
{
    const quint32 gateway = nic.GetGateway();
    if (gateway == 0)
        return nullptr;
    CDrawObj* holder = holders.FirstHolder(gateway);
    if (!holder || !holder->IsKindOf(CDrawNic::StaticClass()))
        return nullptr;
    auto* far = static_cast<CDrawNic*>(holder);
    if (far == &nic || (nic.m_pNicOwner && far->m_pNicOwner == nic.m_pNicOwner))
        return nullptr;
    return far;
}

} // namespace

int InterfaceWiring::ConnectAllInterfaces(CNetDoc& document)
{
    // Connections hold no addresses, so the index stays valid as they come.
    AddressHolders holders;
    holders.Build(document.m_objects);
    QList<CDrawObj*> made;
    for (CDrawObj* object : std::as_const(document.m_objects)) {
        if (!object->IsKindOf(CDrawNic::StaticClass()) || object->IsConnection())
            continue;
        auto* nic = static_cast<CDrawNic*>(object);
        CDrawNic* far = farEndOf(*nic, holders);
        if (!far)
            continue;
        auto* connection = new CDrawConnect(Rect{});
        connection->m_pDocument = &document;
        connection->SetOwner(nic);
        connection->AttachTo(far);
        nic->m_connections.append(connection);
        made.append(connection);
    }
    std::reverse(made.begin(), made.end());
    document.m_objects = made + document.m_objects;
    return int(made.size());
}
