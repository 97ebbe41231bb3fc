#pragma once

#include "CDrawSys.h"

#include <array>

class CDrawConnect;
class CDrawText;
class NeighbourLookup;

// One network interface of a system: its addresses, mask, gateway and MAC
// text, its labels and its connections. It has no picture of its own; it
// shows through its address label and its connections.
//
// Ownership: owned by its system (m_nics). It owns its labels and the
// connections that start at it; connections that end at it are owned by
// their starting interface but are deleted with either end. All of them
// also sit in the document's object list.
class CDrawNic : public CDrawSys {
    VX_DECLARE_SERIAL(CDrawNic)

public:
    CDrawNic();
    explicit CDrawNic(const Rect& position);
    ~CDrawNic() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;
    void ForgetObjects(const QSet<const CDrawObj*>& gone) override;

    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    void EditProperties(DrawView* view) override;
    quint32 GetGateway() const override;
    int GetAddressCount() const override;
    quint32 GetAddressAt(int nIndex) const override;
    QString GetMacAddress() const override;

    void SetAddresses(const QList<quint32>& addresses);
    void SetAddressText(const QString& text);
    void SetAddressesWithArp(const QList<quint32>& addresses, int nRequest,
                             const NeighbourLookup* lookup);
    void AddTwoLineLabel(const QString& first, const QString& second, int nRequest);
    void ReplaceAddresses(const QList<quint32>& addresses);
    void RebuildLabel();
    QString GetFirstIpv6Address() const;
    void CreateNicLabel(const QStringList& lines, int nRequest);

    // The label placement request for the interface about to be added to a
    // system that has nicCount interfaces.
    static int PlacementRequestFor(qsizetype nicCount);
    static QString DottedAddress(quint32 address);

    QStringList& Ipv6Addresses();
    const QStringList& Ipv6Addresses() const;

    CDrawSys* m_pNicOwner = nullptr;
    QList<quint32> m_adwAddresses;
    quint32 m_dwMask = 0;
    quint32 m_dwGateway = 0;
    // Copies of the system's per-adapter values 2 to 8.
    std::array<quint32, 7> m_adwAdapterValue{};
    QString m_strMac;
    quint32 m_dwNicReserved = 0;
    QList<CDrawObj*> m_connections;
    QList<CDrawObj*> m_incoming;
    QList<CDrawObj*> m_nicLabels;
    CReserveBlockEx m_nicReserve;

protected:
    void TakeOwned(QList<CDrawObj*>& owned) override;
    void DetachFromOwners() override;
    void CopyNicFields(CDrawNic* copy) const;

private:
    // The address lines, and the MAC and adapter-name lines of the last
    // address as the owner system knows them.
    QStringList AddressLines();
    void AppendAdapterName(QStringList& lines) const;
};
