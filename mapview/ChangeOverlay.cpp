#include "ChangeOverlay.h"

#include "mapbuild/ComparisonReport.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

const QColor kAddedColour(0x2e, 0x9d, 0x3a);
const QColor kChangedColour(0xf0, 0x9a, 0x00);
const QColor kGoneColour(0x80, 0x80, 0x80);
// Map units (0.1 mm) between a device and its outline.
constexpr int kMargin = 15;
constexpr int kGoneTextHeight = 28;
constexpr qreal kPenPixels = 3.0;

QRectF Outline(const Rect& position)
{
    const Rect r = position.normalized();
    return QRectF(r.left - kMargin, r.top - kMargin, double(r.width()) + 2 * kMargin,
                  double(r.height()) + 2 * kMargin);
}

const CDrawSys* AsDevice(const CDrawObj* object)
{
    if (!object || !object->IsKindOf(CDrawSys::StaticClass()) || object->IsKindOf(CDrawText::StaticClass())
        || object->IsKindOf(CDrawConnect::StaticClass()) || object->IsKindOf(CDrawNic::StaticClass()))
        return nullptr;
    return static_cast<const CDrawSys*>(object);
}

} // namespace

ChangeOverlay::ChangeOverlay(const MapComparison& comparison)
{
    for (const MapComparison::HostChange& host : comparison.Hosts()) {
        if (host.kind == MapComparison::Kind::Gone) {
            m_gone.append({host.oldPosition, host.oldName});
            continue;
        }
        Mark mark{host.kind, {}};
        for (const MapComparison::FieldChange& change : host.changes)
            mark.lines.append(ComparisonReport::ChangeLine(change));
        m_marks.insert(AsciiText::lowered(host.newName), mark);
    }
}

const ChangeOverlay::Mark* ChangeOverlay::MarkOf(const QString& fqdn) const
{
    const auto found = m_marks.constFind(AsciiText::lowered(fqdn));
    return found == m_marks.cend() ? nullptr : &*found;
}

void ChangeOverlay::Draw(QPainter& painter, const CNetDoc& document) const
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    DrawGone(painter);
    QPen pen(kAddedColour, kPenPixels);
    pen.setCosmetic(true);
    std::lock_guard<std::recursive_mutex> lock(document.DocumentLock());
    for (const CDrawObj* object : document.m_objects) {
        const CDrawSys* device = AsDevice(object);
        const Mark* mark = device && !m_marks.isEmpty() ? MarkOf(device->m_strFqdn) : nullptr;
        if (!mark)
            continue;
        pen.setColor(mark->kind == MapComparison::Kind::Added ? kAddedColour : kChangedColour);
        painter.setPen(pen);
        painter.drawRect(Outline(device->m_position));
    }
    painter.restore();
}

void ChangeOverlay::DrawGone(QPainter& painter) const
{
    if (m_gone.isEmpty())
        return;
    QPen pen(kGoneColour, kPenPixels / 2, Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    QFont font = painter.font();
    font.setPixelSize(kGoneTextHeight);
    painter.setFont(font);
    for (const Gone& gone : m_gone) {
        const QRectF box = Outline(gone.position);
        painter.drawRect(box);
        painter.drawText(box.adjusted(kMargin, kMargin, -kMargin, -kMargin),
                         Qt::AlignCenter | Qt::TextWrapAnywhere, gone.name);
    }
}

QString ChangeOverlay::ToolTipAt(const CNetDoc& document, Point point) const
{
    const QPointF at(point.x, point.y);
    {
        std::lock_guard<std::recursive_mutex> lock(document.DocumentLock());
        // The topmost device drawn there.
        for (auto it = document.m_objects.crbegin(); it != document.m_objects.crend(); ++it) {
            const CDrawSys* device = AsDevice(*it);
            if (!device || !Outline(device->m_position).contains(at))
                continue;
            if (const Mark* mark = MarkOf(device->m_strFqdn))
                return mark->kind == MapComparison::Kind::Added
                    ? QStringLiteral("新規: %1").arg(device->m_strFqdn)
                    : device->m_strFqdn + QLatin1Char('\n') + mark->lines.join(QLatin1Char('\n'));
        }
    }
    for (const Gone& gone : m_gone)
        if (Outline(gone.position).contains(at))
            return QStringLiteral("なくなった機器: %1").arg(gone.name);
    return {};
}

Rect ChangeOverlay::Bounds() const
{
    Rect bounds;
    for (const Gone& gone : m_gone) {
        const QRectF box = Outline(gone.position);
        bounds.right = std::max(bounds.right, qint32(std::ceil(box.right())));
        bounds.bottom = std::max(bounds.bottom, qint32(std::ceil(box.bottom())));
    }
    return bounds;
}

QString ChangeOverlay::ListText(const QString& fqdn) const
{
    const Mark* mark = MarkOf(fqdn);
    if (!mark)
        return {};
    if (mark->kind == MapComparison::Kind::Added)
        return QStringLiteral("新規");
    return QStringLiteral("変更: ") + mark->lines.join(QStringLiteral("; "));
}
