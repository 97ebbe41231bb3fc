#include "CDrawConnect.h"

#include "CDrawSegment.h"
#include "GdiMapping.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPainter>
#include <QtEndian>

VX_IMPLEMENT_SERIAL(CDrawConnect, &CDrawNic::classInfoCDrawNic)

namespace {

// The route is blue, branch lines red (0x00BBGGRR).
constexpr COLORREF kRouteColor = 0x00FF0000;
constexpr COLORREF kBranchColor = 0x000000FF;
// The extent is the route's rectangle grown by this much on every side.
constexpr qint32 kExtentMargin = 10;
// Branch lines leave the system this far in from its side.
constexpr qint32 kBranchInset = 50;
constexpr qint32 kBranchMargin = 5;

Point centreOf(const Rect& r)
{
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Which side of a the point b lies on: 1 left and above, 2 right and above,
// 3 right and below, 4 left and below (y grows downwards), 0 in line.
int quadrant(qint32 dx, qint32 dy)
{
    if (dx > 0 && dy > 0)
        return 1;
    if (dx < 0 && dy > 0)
        return 2;
    if (dx < 0 && dy < 0)
        return 3;
    if (dx > 0 && dy < 0)
        return 4;
    return 0;
}

bool keepsMiddleHeight(const CDrawSys* system)
{
    switch (system ? system->m_nLastHandle : 0) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
        return true;
    default:
        return false;
    }
}

quint32 hostOrder(quint32 networkOrder)
{
    return qFromBigEndian(qToLittleEndian(networkOrder));
}

QPointF pointF(const Point& p)
{
    return QPointF(p.x, p.y);
}

} // namespace

CDrawConnect::CDrawConnect() = default;

CDrawConnect::CDrawConnect(const Rect& position)
    : CDrawNic(position)
{
}

CDrawConnect::~CDrawConnect()
{
    DestroyOwned();
}

void CDrawConnect::Serialize(Archive& ar)
{
    CDrawNic::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeWord(quint16(m_nTypeCode));
        ar.writeObject(m_pFromNic);
        ar.writeObject(m_pFromSys);
        ar.writeObject(m_pToNic);
        ar.writeObject(m_pToSys);
        ar.writeRect(m_conectOld);
        for (const Point& p : {m_ptStart, m_ptEnd, m_ptBend1, m_ptBend2})
            ar.writePoint(p);
    } else {
        m_nTypeCode = ar.readWord();
        m_pFromNic = ar.readObjectOf<CDrawNic>();
        m_pFromSys = ar.readObjectOf<CDrawSys>();
        m_pToNic = ar.readObjectOf<CDrawNic>();
        m_pToSys = ar.readObjectOf<CDrawSys>();
        m_conectOld = ar.readRect();
        for (Point* p : {&m_ptStart, &m_ptEnd, &m_ptBend1, &m_ptBend2})
            *p = ar.readPoint();
    }
    ar.serialize(m_adwConnectReserved);
    ar.serialize(m_branchPoints);
    m_connectReserve.Serialize(ar);
}

void CDrawConnect::ReleaseLinks()
{
    m_pFromNic = nullptr;
    m_pFromSys = nullptr;
    m_pToNic = nullptr;
    m_pToSys = nullptr;
    m_connectReserve.m_aobjLists.clear();
    CDrawNic::ReleaseLinks();
}

void CDrawConnect::DetachFromOwners()
{
    if (m_pFromNic)
        m_pFromNic->m_connections.removeAll(this);
    if (m_pToNic)
        m_pToNic->m_incoming.removeAll(this);
    CDrawNic::DetachFromOwners();
}

void CDrawConnect::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    CDrawNic::ForgetObjects(gone);
    if (gone.contains(m_pFromNic))
        m_pFromNic = nullptr;
    if (gone.contains(m_pFromSys))
        m_pFromSys = nullptr;
    if (gone.contains(m_pToNic))
        m_pToNic = nullptr;
    if (gone.contains(m_pToSys))
        m_pToSys = nullptr;
    ForgetInReserve(m_connectReserve, gone);
}

// Connections have the plain handle geometry (and draw no handles).
int CDrawConnect::GetHandleCount() const
{
    return CDrawObj::GetHandleCount();
}

Point CDrawConnect::GetHandle(int nHandle) const
{
    return CDrawDomain::GetHandle(nHandle);
}

HandleCursor CDrawConnect::GetHandleCursor(int nHandle) const
{
    return CDrawDomain::GetHandleCursor(nHandle);
}

bool CDrawConnect::Intersects(const Rect& rect) const
{
    return CDrawDomain::Intersects(rect);
}

void CDrawConnect::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    CDrawDomain::MoveHandleTo(nHandle, point, view);
}

CDrawObj* CDrawConnect::GetOwner() const
{
    return m_pFromNic;
}

void CDrawConnect::SetOwner(CDrawObj* owner)
{
    m_pFromNic = nullptr;
    m_pFromSys = nullptr;
    if (!owner || !owner->IsKindOf(CDrawNic::StaticClass()))
        return;
    m_pFromNic = static_cast<CDrawNic*>(owner);
    CDrawObj* system = m_pFromNic->GetOwner();
    if (system && system->IsKindOf(CDrawSys::StaticClass()))
        m_pFromSys = static_cast<CDrawSys*>(system);
}

quint32 CDrawConnect::GetAddressAt(int nIndex) const
{
    CheckIndex(nIndex, 0);
    return 0;
}

CDrawNic* CDrawConnect::HolderOf(quint32 address) const
{
    if (!m_pDocument)
        return nullptr;
    for (CDrawObj* object : std::as_const(m_pDocument->m_objects)) {
        const int count = object->GetAddressCount();
        for (int i = 0; i < count; ++i) {
            if (object->GetAddressAt(i) == address)
                return static_cast<CDrawNic*>(object);
        }
    }
    return nullptr;
}

void CDrawConnect::EndAt(CDrawNic* far)
{
    m_pToNic = far;
    if (far != m_pFromNic)
        far->m_incoming.append(this);
    Route();
}

int CDrawConnect::AttachToGateway()
{
    if (!m_pDocument)
        return 0;
    for (CDrawObj* object : std::as_const(m_pDocument->m_objects)) {
        const quint32 gateway = object->GetGateway();
        if (gateway == 0)
            continue;
        if (CDrawNic* far = HolderOf(gateway)) {
            m_pToNic = far;
            far->m_incoming.append(this);
            Route();
            return 1;
        }
    }
    return 0;
}

int CDrawConnect::AttachTo(CDrawNic* far)
{
    if (!far)
        return 0;
    EndAt(far);
    return 1;
}

int CDrawConnect::AttachToSegmentGateway(CDrawNic* nic)
{
    CDrawDomain* forest = m_pDocument ? m_pDocument->FindDomain(QString()) : nullptr;
    if (!forest || !nic)
        return 0;
    for (CDrawObj* object : std::as_const(forest->m_segments)) {
        if (!object || !object->IsKindOf(CDrawSegment::StaticClass()))
            continue;
        const auto* segment = static_cast<const CDrawSegment*>(object);
        const quint32 network = hostOrder(segment->m_dwNetwork);
        const quint32 broadcast = hostOrder(segment->m_dwBroadcast);
        for (quint32 address : std::as_const(nic->m_adwAddresses)) {
            const quint32 host = hostOrder(address);
            if (host <= network || host >= broadcast)
                continue;
            if (CDrawNic* far = HolderOf(segment->m_dwAddress)) {
                EndAt(far);
                return 1;
            }
        }
    }
    return 0;
}

void CDrawConnect::RouteBetween(const Rect& a, const Rect& b)
{
    const Point cA = centreOf(a);
    const Point cB = centreOf(b);
    const bool keep = keepsMiddleHeight(m_pFromSys);
    m_ptStart = cA;
    m_ptEnd = cB;
    m_ptBend1.x = cA.x;
    m_ptBend2.x = cB.x;
    if (!keep) {
        m_ptBend1.y = cA.y;
        m_ptBend2.y = cB.y;
    }
    m_nMoveX = cA.x - cB.x;
    const qint32 dy = m_nMoveY = cA.y - cB.y;
    // The far system above (dy > 0) or below: leave by the facing edge and
    // turn halfway across the gap.
    const int q = quadrant(m_nMoveX, dy);
    if (q == 1 || q == 2) {
        m_ptStart.y = a.top;
        const qint32 u = (a.top - b.bottom) / 2;
        m_ptEnd.y = b.bottom;
        if (!(keep && m_ptBend1.y == m_ptBend2.y))
            m_ptBend1.y = a.top - u;
        if (!(keep && m_ptBend1.y == m_ptBend2.y))
            m_ptBend2.y = b.bottom + u;
    } else if (q == 3 || q == 4) {
        m_ptStart.y = a.bottom;
        const qint32 v = (b.top - a.bottom) / 2;
        m_ptEnd.y = b.top;
        if (!(keep && m_ptBend1.y == m_ptBend2.y))
            m_ptBend1.y = a.bottom + v;
        if (!(keep && m_ptBend1.y == m_ptBend2.y))
            m_ptBend2.y = b.top - v;
    }
}

int CDrawConnect::Route()
{
    if (m_pToNic) {
        CDrawObj* far = m_pToNic->GetOwner();
        m_pToSys = (far && far->IsKindOf(CDrawSys::StaticClass())) ? static_cast<CDrawSys*>(far)
                                                                   : nullptr;
        if (m_pFromSys && m_pToSys) {
            RouteBetween(m_pFromSys->m_position, m_pToSys->m_position);
            m_conectOld = m_pToSys->m_position;
            const Point p = m_ptBend2.y < m_ptEnd.y ? m_ptEnd : m_ptBend2;
            const Point s = m_ptStart.y < m_ptBend1.y ? m_ptStart : m_ptBend1;
            m_position = Rect{s.x, s.y, p.x, p.y}.normalized();
            m_rcNormal = m_position;
            m_rcExtent = Rect{m_position.left - kExtentMargin, m_position.top - kExtentMargin,
                              m_position.right + kExtentMargin, m_position.bottom + kExtentMargin};
        }
    }
    RebuildBranches();
    return 1;
}

void CDrawConnect::RebuildBranches()
{
    m_branchPoints.clear();
    if (!m_pFromSys || m_pFromSys->m_subSystems.isEmpty())
        return;
    const Rect a = m_pFromSys->m_position;
    const Point cA = centreOf(a);
    for (const CDrawObj* sub : std::as_const(m_pFromSys->m_subSystems)) {
        if (!sub)
            continue;
        const Rect s = sub->m_position;
        const Point cS = centreOf(s);
        const int q = quadrant(cA.x - cS.x, cA.y - cS.y);
        const qint32 x0 = (q == 2 || q == 3) ? a.right - kBranchInset : a.left + kBranchInset;
        qint32 m = cA.y;
        qint32 e = cS.y;
        if (q == 1 || q == 2) {
            m = s.bottom + (a.top - s.bottom) / 2;
            e = s.bottom;
        } else if (q == 3 || q == 4) {
            m = s.top - (s.top - a.bottom) / 2;
            e = s.top;
        } else {
            m = cS.y;
        }
        m_branchPoints << Point{x0, cA.y} << Point{x0, q == 0 ? cA.y : m} << Point{cS.x, m}
                       << Point{cS.x, e};
        Rect& r = m_position;
        if (cS.x < r.left)
            r.left = cS.x - kBranchMargin;
        if (r.right < cS.x)
            r.right = cS.x + kBranchMargin;
        if (std::min(m, e) < r.top)
            r.top = std::min(m, e) - kBranchMargin;
        if (r.bottom < std::max(m, e))
            r.bottom = std::max(m, e) + kBranchMargin;
        r = r.normalized();
        m_rcExtent = r;
    }
}

void CDrawConnect::Draw(QPainter& painter)
{
    m_logpen.lopnWidth = Point{1, 1};
    m_logpen.lopnColor = kRouteColor;
    Route();
    painter.save();
    painter.setPen(QPen(GdiMapping::color(kRouteColor), 1));
    painter.drawPolyline(QPolygonF{pointF(m_ptStart), pointF(m_ptBend1), pointF(m_ptBend2),
                                   pointF(m_ptEnd)});
    painter.setPen(QPen(GdiMapping::color(kBranchColor), 1));
    for (qsizetype i = 0; i + 3 < m_branchPoints.size(); i += 4) {
        painter.drawPolyline(QPolygonF{pointF(m_branchPoints[i]), pointF(m_branchPoints[i + 1]),
                                       pointF(m_branchPoints[i + 2]),
                                       pointF(m_branchPoints[i + 3])});
    }
    painter.restore();
}

CDrawObj* CDrawConnect::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawConnect(m_position);
    CopyNicFields(copy);
    copy->m_pNicOwner = nullptr;
    copy->m_adwAddresses.clear();
    copy->m_pFromNic = m_pFromNic;
    copy->m_pFromSys = m_pFromSys;
    copy->m_pToNic = m_pToNic;
    copy->m_pToSys = m_pToSys;
    copy->m_conectOld = m_conectOld;
    copy->m_ptStart = m_ptStart;
    copy->m_ptEnd = m_ptEnd;
    copy->m_ptBend1 = m_ptBend1;
    copy->m_ptBend2 = m_ptBend2;
    copy->m_pDocument = document;
    // Straight to the head of the list: no snapshot, not an edit of its own.
    if (document)
        document->m_objects.prepend(copy);
    return copy;
}

void CDrawConnect::DescribeTo(QJsonObject& out,
                              const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawNic::DescribeTo(out, indexOf);
    out["m_pFromNic"] = qint64(indexOf(m_pFromNic));
    out["m_pFromSys"] = qint64(indexOf(m_pFromSys));
    out["m_pToNic"] = qint64(indexOf(m_pToNic));
    out["m_pToSys"] = qint64(indexOf(m_pToSys));
    out["m_adwConnectReserved"] = JsonFields::dwords(m_adwConnectReserved);
    out["m_branchPoints"] = JsonFields::points(m_branchPoints);
    out["m_conectOld"] = JsonFields::rect(m_conectOld);
    out["m_ptStart"] = JsonFields::point(m_ptStart);
    out["m_ptEnd"] = JsonFields::point(m_ptEnd);
    out["m_ptBend1"] = JsonFields::point(m_ptBend1);
    out["m_ptBend2"] = JsonFields::point(m_ptBend2);
    out["connectReserve"] = m_connectReserve.ToJson(indexOf);
}
