#pragma once

#include "CDrawNic.h"

// The line from an interface's system to the system whose interface holds
// its gateway: a route of three orthogonal segments in blue, with red branch
// lines from the same system to each system that hangs on it. Routed anew
// on every paint, so it follows its systems.
//
// Ownership: owned by m_pFromNic (its m_connections); listed in m_incoming
// of m_pToNic; kept at the head of the document's object list.
class CDrawConnect : public CDrawNic {
    VX_DECLARE_SERIAL(CDrawConnect)

public:
    CDrawConnect();
    explicit CDrawConnect(const Rect& position);
    ~CDrawConnect() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;
    void ForgetObjects(const QSet<const CDrawObj*>& gone) override;
    bool IsConnection() const override { return true; }
    QList<CDrawObj*> AttachedObjects() const override { return {}; }

    int GetHandleCount() const override;
    Point GetHandle(int nHandle) const override;
    HandleCursor GetHandleCursor(int nHandle) const override;
    bool Intersects(const Rect& rect) const override;
    void MoveHandleTo(int nHandle, Point point, DrawView* view) override;
    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    quint32 GetGateway() const override { return 0; }
    int GetAddressCount() const override { return 0; }
    quint32 GetAddressAt(int nIndex) const override;
    QString GetMacAddress() const override { return {}; }
    void Draw(QPainter& painter) override;

    // Ends the connection at the interface that holds the first gateway some
    // interface of the map lists; 1 when routed, 0 when there is none.
    int AttachToGateway();
    // Ends the connection at the gateway of the forest's segment that holds
    // one of the interface's addresses; 1 when routed, 0 when there is none.
    int AttachToSegmentGateway(CDrawNic* nic);
    // Ends the connection at the given interface, found by the caller;
    // 1 when routed, 0 for none.
    int AttachTo(CDrawNic* far);
    // Recomputes the route, the rectangles and the branch lines; always 1.
    int Route();

    CDrawNic* m_pFromNic = nullptr;
    CDrawSys* m_pFromSys = nullptr;
    CDrawNic* m_pToNic = nullptr;
    CDrawSys* m_pToSys = nullptr;
    QList<quint32> m_adwConnectReserved;
    QList<Point> m_branchPoints;
    Rect m_conectOld;
    Point m_ptStart;
    Point m_ptEnd;
    Point m_ptBend1;
    Point m_ptBend2;
    CReserveBlockEx m_connectReserve;

protected:
    void DetachFromOwners() override;

private:
    void EndAt(CDrawNic* far);
    void RouteBetween(const Rect& a, const Rect& b);
    void RebuildBranches();
    // The first map object listing the address among its addresses.
    CDrawNic* HolderOf(quint32 address) const;
};
