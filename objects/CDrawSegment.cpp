#include "CDrawSegment.h"

#include "document/Archive.h"
#include "document/CNetDoc.h"

#include <QtEndian>

#include <bit>

VX_IMPLEMENT_SERIAL(CDrawSegment, &CDrawDomain::classInfoCDrawDomain)

CDrawSegment::CDrawSegment() = default;

CDrawSegment::CDrawSegment(const Rect& position)
    : CDrawDomain(position)
{
}

CDrawSegment::~CDrawSegment()
{
    DestroyOwned();
}

quint32 CDrawSegment::HostOrder(quint32 networkOrder)
{
    return qbswap(networkOrder);
}

quint32 CDrawSegment::NetworkOrder(quint32 hostOrder)
{
    return qbswap(hostOrder);
}

void CDrawSegment::SetMask(quint32 mask)
{
    m_dwMask = mask;
    m_nPrefix = std::countl_one(HostOrder(mask));
    if (m_nPrefix == 0) {
        // Matches no address.
        m_dwNetwork = 0;
        m_dwBroadcast = 0;
        return;
    }
    const quint32 prefixMask = NetworkOrder(~quint32(0) << (32 - m_nPrefix));
    m_dwNetwork = m_dwAddress & prefixMask;
    m_dwBroadcast = m_dwAddress | ~prefixMask;
}

CDrawObj* CDrawSegment::GetOwner() const
{
    return m_pOwner;
}

void CDrawSegment::SetOwner(CDrawObj* owner)
{
    m_pOwner = (owner && owner->IsKindOf(CDrawDomain::StaticClass()))
        ? static_cast<CDrawDomain*>(owner)
        : nullptr;
}

void CDrawSegment::DetachFromOwners()
{
    if (m_pOwner)
        m_pOwner->m_segments.removeAll(this);
    CDrawDomain::DetachFromOwners();
}

void CDrawSegment::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    CDrawDomain::ForgetObjects(gone);
    if (gone.contains(m_pOwner))
        m_pOwner = nullptr;
    ForgetInList(m_reservedList1, gone);
    ForgetInList(m_reservedList2, gone);
    ForgetInReserve(m_segmentReserve, gone);
}

void CDrawSegment::ReleaseLinks()
{
    m_pOwner = nullptr;
    m_reservedList1.clear();
    m_reservedList2.clear();
    m_segmentReserve.m_aobjLists.clear();
    CDrawDomain::ReleaseLinks();
}

void CDrawSegment::Serialize(Archive& ar)
{
    CDrawDomain::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeObject(m_pOwner);
        ar.writeDword(m_dwAddress);
        ar.writeDword(m_dwMask);
        ar.writeDword(m_dwNetwork);
        ar.writeInt(m_nPrefix);
        ar.writeDword(m_dwBroadcast);
    } else {
        m_pOwner = ar.readObjectOf<CDrawDomain>();
        m_dwAddress = ar.readDword();
        m_dwMask = ar.readDword();
        m_dwNetwork = ar.readDword();
        m_nPrefix = ar.readInt();
        m_dwBroadcast = ar.readDword();
    }
    ar.serializeObjectList(m_reservedList1, CDrawObj::StaticClass());
    ar.serializeObjectList(m_reservedList2, CDrawObj::StaticClass());
    m_segmentReserve.Serialize(ar);
}

CDrawObj* CDrawSegment::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawSegment(m_position);
    CopyDomainFields(copy);
    copy->m_pOwner = m_pOwner;
    copy->m_dwAddress = m_dwAddress;
    copy->m_dwMask = m_dwMask;
    copy->m_dwNetwork = m_dwNetwork;
    copy->m_nPrefix = m_nPrefix;
    copy->m_dwBroadcast = m_dwBroadcast;
    // Segments go straight to the head of the list, without marking the
    // document modified.
    CloneBaseInto(copy, nullptr);
    copy->m_pDocument = document;
    if (document)
        document->m_objects.prepend(copy);
    return copy;
}

void CDrawSegment::DescribeTo(QJsonObject& out,
                              const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawDomain::DescribeTo(out, indexOf);
    out["m_pOwner"] = qint64(indexOf(m_pOwner));
    out["m_dwAddress"] = qint64(m_dwAddress);
    out["m_dwMask"] = qint64(m_dwMask);
    out["m_dwNetwork"] = qint64(m_dwNetwork);
    out["m_nPrefix"] = m_nPrefix;
    out["m_dwBroadcast"] = qint64(m_dwBroadcast);
    out["m_reservedList1"] = IndexesOf(m_reservedList1, indexOf);
    out["m_reservedList2"] = IndexesOf(m_reservedList2, indexOf);
    out["segmentReserve"] = m_segmentReserve.ToJson(indexOf);
}
