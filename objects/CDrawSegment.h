#pragma once

#include "CDrawDomain.h"

// One IPv4 network found on an adapter: an address (the adapter's default
// gateway), a mask and the network and broadcast addresses derived from them.
// It is not drawn; it tells which network an address belongs to.
//
// Addresses are kept as the platform keeps them: the four octets in
// transmission order, first octet in the lowest byte ("network order").
// They are compared as host-order numbers.
class CDrawSegment : public CDrawDomain {
    VX_DECLARE_SERIAL(CDrawSegment)

public:
    CDrawSegment();
    explicit CDrawSegment(const Rect& position);
    ~CDrawSegment() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    void ForgetObjects(const QSet<const CDrawObj*>& gone) override;

    // Stores the mask and derives the prefix, network and broadcast from
    // m_dwAddress.
    void SetMask(quint32 mask);

    // The address as a number that orders like the dotted form.
    static quint32 HostOrder(quint32 networkOrder);
    static quint32 NetworkOrder(quint32 hostOrder);

    CDrawDomain* m_pOwner = nullptr;
    quint32 m_dwAddress = 0;
    quint32 m_dwMask = 0;
    quint32 m_dwNetwork = 0;
    qint32 m_nPrefix = 0;
    quint32 m_dwBroadcast = 0;
    QList<CDrawObj*> m_reservedList1;
    QList<CDrawObj*> m_reservedList2;
    CReserveBlockEx m_segmentReserve;

protected:
    void DetachFromOwners() override;
};
