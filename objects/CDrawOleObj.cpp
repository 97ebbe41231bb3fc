#include "CDrawOleObj.h"

#include "CDrawItem.h"
#include "DrawView.h"
#include "GdiMapping.h"
#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPaintDevice>
#include <QPainter>

VX_IMPLEMENT_SERIAL(CDrawOleObj, &CDrawObj::classInfoCDrawObj)

namespace {

// Map units are 0.1 mm, item extents 0.01 mm.
constexpr int kExtentPerMapUnit = 10;

qint32 scaled(qint32 length, qint32 now, qint32 before)
{
    return before ? qint32(qRound64(double(length) * now / before)) : length;
}

quint32 nextItemNumber(const CNetDoc& document)
{
    quint32 next = 1;
    for (const CDrawObj* object : document.m_objects) {
        if (!object->IsKindOf(CDrawOleObj::StaticClass()))
            continue;
        if (const CDrawItem* item = static_cast<const CDrawOleObj*>(object)->m_pClientItem)
            next = std::max(next, item->m_dwItemNumber + 1);
    }
    return next;
}

} // namespace

CDrawOleObj::CDrawOleObj(const Rect& position)
    : CDrawObj(position)
{
}

CDrawOleObj::~CDrawOleObj()
{
    if (m_pClientItem) {
        m_pClientItem->m_pDrawObj = nullptr;
        delete m_pClientItem;
    }
}

void CDrawOleObj::SetItem(CDrawItem* item)
{
    m_pClientItem = item;
    if (item)
        item->m_pDrawObj = this;
}

void CDrawOleObj::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeSize(m_extent);
        ar.writeObject(m_pClientItem);
        return;
    }
    m_extent = ar.readSize();
    auto* item = ar.readObjectOf<CDrawItem>();
    // An item has one owner; two objects sharing one would both delete it.
    if (item && item->m_pDrawObj && item->m_pDrawObj != this)
        throw ArchiveException(ArchiveException::Cause::BadClass,
                               "embedded item referenced by two objects");
    SetItem(item);
}

void CDrawOleObj::EditProperties(DrawView* view)
{
    if (view)
        view->openPropertySheet(this);
}

void CDrawOleObj::Draw(QPainter& painter)
{
    const QRectF area = GdiMapping::rectF(m_position.normalized());
    const QImage picture = m_pClientItem ? m_pClientItem->Picture() : QImage();
    painter.save();
    if (!picture.isNull()) {
        painter.drawImage(area, picture);
    } else {
        painter.setPen(QPen(Qt::darkGray, 0, Qt::DashLine));
        painter.setBrush(QColor(0xF4, 0xF4, 0xF4));
        painter.drawRect(area);
        const QString type = m_pClientItem ? m_pClientItem->TypeName() : QString();
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         type.isEmpty() ? QStringLiteral("Embedded object") : type);
    }
    // On screen the item gets its frame; printouts show the picture only.
    const QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Printer) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area);
    }
    painter.restore();
}

void CDrawOleObj::MoveTo(const Rect& position, DrawView* view)
{
    CDrawObj::MoveTo(position, view);
    m_rcExtent = m_position;
}

void CDrawOleObj::UpdateExtent(Size extent)
{
    if (extent == m_extent)
        return;
    const Rect r = m_position;
    if (m_extent == Size{}) {
        m_position.right = r.left + extent.cx / kExtentPerMapUnit;
        m_position.bottom = r.top + extent.cy / kExtentPerMapUnit;
    } else {
        m_position.right = r.left + scaled(r.width(), extent.cx, m_extent.cx);
        m_position.bottom = r.top + scaled(r.height(), extent.cy, m_extent.cy);
    }
    m_rcExtent = m_position;
    m_extent = extent;
    if (m_pDocument)
        m_pDocument->UpdateAllViews(1, this);
}

CDrawObj* CDrawOleObj::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawOleObj(m_position);
    CopyPenAndBrushTo(copy);
    copy->m_extent = m_extent;
    if (m_pClientItem) {
        auto* item = new CDrawItem;
        item->m_dwType = m_pClientItem->m_dwType;
        item->m_dwAspect = m_pClientItem->m_dwAspect;
        item->m_wMoniker = m_pClientItem->m_wMoniker;
        item->m_dwDrawAspect = m_pClientItem->m_dwDrawAspect;
        item->m_dwItemNumber = document ? nextItemNumber(*document) : m_pClientItem->m_dwItemNumber;
        item->SetStorage(m_pClientItem->Storage());
        copy->SetItem(item);
    }
    FileClone(copy, document);
    return copy;
}

void CDrawOleObj::DescribeTo(QJsonObject& out,
                             const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawObj::DescribeTo(out, indexOf);
    out["m_extent"] = JsonFields::size(m_extent);
    out["m_pClientItem"] = qint64(indexOf(m_pClientItem));
}
