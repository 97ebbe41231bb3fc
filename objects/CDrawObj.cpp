#include "CDrawObj.h"

#include "DrawView.h"
#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPainter>
#include <QtEndian>

VX_IMPLEMENT_SERIAL(CDrawObj, nullptr)

namespace {

// Half the side of a selection handle, in logical units when drawn and in
// device pixels when hit-tested.
constexpr int kHandleHalf = 3;

void putDword(uchar* at, quint32 v)
{
    qToLittleEndian(v, at);
}

quint32 getDword(const uchar* at)
{
    return qFromLittleEndian<quint32>(at);
}

} // namespace

CDrawObj::CDrawObj() = default;

CDrawObj::CDrawObj(const Rect& position)
    : m_position(position)
    , m_rcExtent(position)
{
    SetNormal(position.normalized());
}

void CDrawObj::SetNormal(const Rect& rect)
{
    m_rcNormal = rect;
    m_ptCenter = rect.center();
}

void CDrawObj::CheckIndex(qsizetype nIndex, qsizetype count)
{
    if (nIndex < 0 || nIndex >= count)
        throw ArchiveException(ArchiveException::Cause::InvalidArgument,
                               "index " + std::to_string(nIndex) + " of "
                                   + std::to_string(count));
}

void CDrawObj::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        m_position = m_position.normalized();
        ar.writeRect(m_position);
        ar.writeBoolAsWord(m_bPen);
        ar.writeDword(m_logpen.lopnStyle);
        ar.writePoint(m_logpen.lopnWidth);
        ar.writeDword(m_logpen.lopnColor);
        ar.writeBoolAsWord(m_bBrush);
        ar.writeDword(m_logbrush.lbStyle);
        ar.writeDword(m_logbrush.lbColor);
        ar.writeDword(m_logbrush.lbHatch);
        ar.writeRect(m_rcBaseSize);
        ar.writeRect(m_rcExtent);
        ar.writeInt(m_nSpacing);
        ar.writeInt(m_nMoveX);
        ar.writeInt(m_nMoveY);
        ar.writeDword(m_dwReserved);
    } else {
        m_pDocument = ar.document();
        m_position = ar.readRect();
        m_bPen = ar.readBoolFromWord();
        // The pen and brush blocks are copied without a length check: a short
        // block keeps the rest of the current values.
        uchar pen[16];
        putDword(pen, m_logpen.lopnStyle);
        putDword(pen + 4, quint32(m_logpen.lopnWidth.x));
        putDword(pen + 8, quint32(m_logpen.lopnWidth.y));
        putDword(pen + 12, m_logpen.lopnColor);
        ar.readRawUnchecked(pen, sizeof pen);
        m_logpen = LogPen{getDword(pen), Point{qint32(getDword(pen + 4)), qint32(getDword(pen + 8))},
                          getDword(pen + 12)};
        m_bBrush = ar.readBoolFromWord();
        uchar brush[12];
        putDword(brush, m_logbrush.lbStyle);
        putDword(brush + 4, m_logbrush.lbColor);
        putDword(brush + 8, m_logbrush.lbHatch);
        ar.readRawUnchecked(brush, sizeof brush);
        m_logbrush = LogBrush{getDword(brush), getDword(brush + 4), getDword(brush + 8)};
        m_rcBaseSize = ar.readRect();
        SetNormal(m_position.normalized());
        m_rcExtent = ar.readRect();
        m_nSpacing = ar.readInt();
        const Point move = ar.readPoint();
        m_nMoveX = move.x;
        m_nMoveY = move.y;
        m_dwReserved = ar.readDword();
    }
    m_reserve.Serialize(ar);
}

int CDrawObj::GetHandleCount() const
{
    return 8;
}

Point CDrawObj::GetHandle(int nHandle) const
{
    const Rect& r = m_position;
    const qint32 xCenter = r.left + (r.right - r.left) / 2;
    const qint32 yCenter = r.top + (r.bottom - r.top) / 2;
    switch (nHandle) {
    case 2:
        return Point{xCenter, r.top};
    case 3:
        return Point{r.right, r.top};
    case 4:
        return Point{r.right, yCenter};
    case 5:
        return Point{r.right, r.bottom};
    case 6:
        return Point{xCenter, r.bottom};
    case 7:
        return Point{r.left, r.bottom};
    case 8:
        return Point{r.left, yCenter};
    default:
        return Point{r.left, r.top};
    }
}

HandleCursor CDrawObj::GetHandleCursor(int nHandle) const
{
    switch (nHandle) {
    case 2:
    case 6:
        return HandleCursor::SizeNS;
    case 3:
    case 7:
        return HandleCursor::SizeNESW;
    case 4:
    case 8:
        return HandleCursor::SizeWE;
    default:
        return HandleCursor::SizeNWSE;
    }
}

void CDrawObj::MarkModified()
{
    if (m_pDocument)
        m_pDocument->SetModifiedFlag(true);
}

void CDrawObj::NotifyChanged()
{
    if (m_pDocument)
        m_pDocument->UpdateAllViews(1, this);
    MarkModified();
}

void CDrawObj::SetLineColor(COLORREF color)
{
    m_logpen.lopnColor = color;
    NotifyChanged();
}

void CDrawObj::SetFillColor(COLORREF color)
{
    m_logbrush.lbColor = color;
    NotifyChanged();
}

void CDrawObj::Draw(QPainter&)
{
}

void CDrawObj::DrawTracker(QPainter& painter, TrackerState state)
{
    if (state != TrackerState::Selected && state != TrackerState::Active)
        return;
    if (IsConnection())
        return;
    // Handles have the same size in pixels at any scale.
    const QTransform toDevice = painter.transform();
    painter.save();
    painter.resetTransform();
    // Inverting the destination makes a second pass restore the picture.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (int n = 1; n <= GetHandleCount(); ++n) {
        const Point h = GetHandle(n);
        const QPoint d = toDevice.map(QPoint(h.x, h.y));
        painter.fillRect(QRect(d.x() - kHandleHalf, d.y() - kHandleHalf, 2 * kHandleHalf + 1,
                               2 * kHandleHalf + 1),
                         Qt::black);
    }
    painter.restore();
}

void CDrawObj::MoveTo(const Rect& position, DrawView* view)
{
    if (position == m_position)
        return;
    m_nMoveX += std::min(position.left, position.right) - std::min(m_position.left, m_position.right);
    m_nMoveY += std::min(position.top, position.bottom) - std::min(m_position.top, m_position.bottom);
    if (view) {
        view->invalidateObject(this);
        m_position = position;
        view->invalidateObject(this);
    } else {
        if (m_pDocument)
            m_pDocument->UpdateAllViews(1, this);
        m_position = position;
        if (m_pDocument)
            m_pDocument->UpdateAllViews(1, this);
    }
    MarkModified();
}

int CDrawObj::HitTest(Point point, const DrawView* view, bool bSelected) const
{
    if (bSelected) {
        if (!view)
            return 0;
        for (int n = 1; n <= GetHandleCount(); ++n) {
            const Point d = view->logicalToDevice(GetHandle(n));
            const Point topLeft = view->deviceToLogical(Point{d.x - kHandleHalf, d.y - kHandleHalf});
            const Point bottomRight =
                view->deviceToLogical(Point{d.x + kHandleHalf, d.y + kHandleHalf});
            if (point.x >= topLeft.x && point.x < bottomRight.x && point.y > topLeft.y
                && point.y <= bottomRight.y)
                return n;
        }
        return 0;
    }
    // Expects a rectangle whose top is the larger y, as the unselected test
    // always has; the view's own picking goes through Intersects.
    const Rect& r = m_position;
    return (point.x >= r.left && point.x < r.right && point.y > r.bottom && point.y <= r.top) ? 1
                                                                                              : 0;
}

bool CDrawObj::Intersects(const Rect& rect) const
{
    return m_position.normalized().intersects(rect.normalized());
}

void CDrawObj::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    Rect r = m_position;
    switch (nHandle) {
    case 2:
        r.top = point.y;
        break;
    case 3:
        r.right = point.x;
        r.top = point.y;
        break;
    case 4:
        r.right = point.x;
        break;
    case 5:
        r.right = point.x;
        r.bottom = point.y;
        break;
    case 6:
        r.bottom = point.y;
        break;
    case 7:
        r.left = point.x;
        r.bottom = point.y;
        break;
    case 8:
        r.left = point.x;
        break;
    default:
        r.left = point.x;
        r.top = point.y;
        break;
    }
    MoveTo(r, view);
}

void CDrawObj::OnOpen(DrawView* view)
{
    EditProperties(view);
}

void CDrawObj::EditProperties(DrawView*)
{
    // Only systems and embedded objects have something to show.
}

void CDrawObj::CopyPenAndBrushTo(CDrawObj* copy) const
{
    copy->m_bPen = m_bPen;
    copy->m_logpen = m_logpen;
    copy->m_bBrush = m_bBrush;
    copy->m_logbrush = m_logbrush;
}

void CDrawObj::FileClone(CDrawObj* copy, CNetDoc* document)
{
    copy->m_pDocument = document;
    if (document) {
        document->AddObject(copy);
        document->SaveSnapshot();
    }
}

void CDrawObj::CloneBaseInto(CDrawObj* copy, CNetDoc* document) const
{
    CopyBaseFieldsTo(copy);
    FileClone(copy, document);
}

void CDrawObj::CopyBaseFieldsTo(CDrawObj* copy) const
{
    CopyPenAndBrushTo(copy);
    copy->m_rcBaseSize = m_rcBaseSize;
    copy->m_rcNormal = m_rcNormal;
    copy->m_ptCenter = m_ptCenter;
    copy->m_rcExtent = m_rcExtent;
    copy->m_nSpacing = m_nSpacing;
    copy->m_nMoveX = m_nMoveX;
    copy->m_nMoveY = m_nMoveY;
    copy->m_dwReserved = m_dwReserved;
}

CDrawObj* CDrawObj::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawObj(m_position);
    CloneBaseInto(copy, document);
    return copy;
}

void CDrawObj::Remove()
{
    delete this;
}

QString CDrawObj::GetName() const { return {}; }
void CDrawObj::SetName(const QString&) {}
CDrawObj* CDrawObj::GetOwner() const { return nullptr; }
void CDrawObj::SetOwner(CDrawObj*) {}
CDrawObj* CDrawObj::FindSubDomainByName(const QString&) const { return nullptr; }
void CDrawObj::AddSubDomain(CDrawObj*) {}
CDrawObj* CDrawObj::FindSystemByKey(const QString&) const { return nullptr; }
void CDrawObj::AddSystem(CDrawObj*) {}
quint16 CDrawObj::GetReservedWord() const { return 0; }
void CDrawObj::SetReservedWord(quint16) {}
quint32 CDrawObj::GetMaskAt(int) const { return 0; }
void CDrawObj::SetMasks(const QList<quint32>&) {}
void CDrawObj::ClearMasks() {}
quint32 CDrawObj::GetGatewayAt(int) const { return 0; }
void CDrawObj::SetGateways(const QList<quint32>&) {}
void CDrawObj::ClearGateways() {}
quint32 CDrawObj::GetAdapterValueAt(int, int) const { return 0; }
void CDrawObj::SetAdapterValues(int, const QList<quint32>&) {}
void CDrawObj::ClearAdapterValues(int) {}
QString CDrawObj::GetNote() const { return {}; }
void CDrawObj::SetNote(const QString&) {}
void CDrawObj::SetShapeKind(int) {}
void CDrawObj::DeleteLabels() {}
void CDrawObj::AddLabel(CDrawObj*) {}
void CDrawObj::AddSubSystem(CDrawObj*) {}
QString CDrawObj::GetSharedPrinterAt(int) const { return {}; }
int CDrawObj::GetSharedPrinterCount() const { return 0; }
ServerRecord102 CDrawObj::GetServerRecord() const { return {}; }
void CDrawObj::AddAdapterAddresses(const QList<quint32>&) {}
void CDrawObj::DeleteAdapterAddresses() {}
QString CDrawObj::GetKey() const { return {}; }
void CDrawObj::SetFqdn(const QString&) {}
QString CDrawObj::GetUncName() const { return {}; }
void CDrawObj::SetUncName(const QString&) {}
quint32 CDrawObj::GetServerType() const { return 0; }
void CDrawObj::SetServerType(quint32) {}
quint32 CDrawObj::GetGateway() const { return 0; }
int CDrawObj::GetAddressCount() const { return 0; }
quint32 CDrawObj::GetAddressAt(int) const { return 0; }
QString CDrawObj::GetFqdn() const { return {}; }
void CDrawObj::SetServerInfoOk(quint16) {}
void CDrawObj::SetServerTypeNames(quint16) {}
void CDrawObj::SetReservedFlag(quint16) {}
QString CDrawObj::GetMacAddress() const { return {}; }

void CDrawObj::DescribeTo(QJsonObject& out,
                          const std::function<quint32(const Persistent*)>&) const
{
    out["m_position"] = JsonFields::rect(m_position);
    out["m_bPen"] = m_bPen;
    out["m_logpen"] = QJsonObject{{"style", qint64(m_logpen.lopnStyle)},
                                  {"width", JsonFields::point(m_logpen.lopnWidth)},
                                  {"color", qint64(m_logpen.lopnColor)}};
    out["m_bBrush"] = m_bBrush;
    out["m_logbrush"] = QJsonObject{{"style", qint64(m_logbrush.lbStyle)},
                                    {"color", qint64(m_logbrush.lbColor)},
                                    {"hatch", qint64(m_logbrush.lbHatch)}};
    out["m_rcBaseSize"] = JsonFields::rect(m_rcBaseSize);
    out["m_rcExtent"] = JsonFields::rect(m_rcExtent);
    out["m_nSpacing"] = m_nSpacing;
    out["m_nMoveX"] = m_nMoveX;
    out["m_nMoveY"] = m_nMoveY;
    out["m_dwReserved"] = qint64(m_dwReserved);
    out["reserve"] = m_reserve.ToJson();
}
