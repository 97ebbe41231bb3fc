#include "AutomaticLayout.h"

#include "MapNames.h"
#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawSys.h"

#include <algorithm>

namespace {

CDrawDomain* asDomain(CDrawObj* object)
{
    return object && object->IsKindOf(CDrawDomain::StaticClass())
               ? static_cast<CDrawDomain*>(object)
               : nullptr;
}

void moveBy(CDrawObj& object, qint32 dx, qint32 dy)
{
    object.m_position = object.m_position.translated(dx, dy);
    object.m_rcExtent = object.m_rcExtent.translated(dx, dy);
}

} // namespace

AutomaticLayout::AutomaticLayout(CNetDoc& document)
    : m_document(document)
{
    for (const CDrawObj* object : std::as_const(document.m_objects)) {
        if (MapNames::isForest(object)) {
            m_pForest = object;
            break;
        }
    }
}

int AutomaticLayout::BandOf(const CDrawObj* system)
{
    if (!system || !system->IsKindOf(CDrawSys::StaticClass()))
        return -1;
    switch (static_cast<const CDrawSys*>(system)->m_nTypeCode) {
    case CDrawSys::kRouter:
        return Routers;
    case CDrawSys::kPrinter:
        return Printers;
    case CDrawSys::kHub:
        return Hubs;
    case CDrawSys::kTower:
    case CDrawSys::kDesktop:
    case CDrawSys::kNotebook:
    case CDrawSys::kRackMount:
    case CDrawSys::kPocketPc: {
        const quint32 flags = system->GetServerType();
        if (flags & kDomainControllerBits)
            return DomainControllers;
        return (flags & kServerBits) ? Servers : Computers;
    }
    default:
        return -1;
    }
}

void AutomaticLayout::LayoutWorkgroupLast(CDrawDomain& forest)
{
    QList<CDrawObj*>& domains = forest.m_subDomains;
    for (qsizetype i = 0; i < domains.size(); ++i) {
        if (domains.at(i) && AsciiText::equalsIgnoringCase(domains.at(i)->GetName(),
                                                           MapNames::kWorkgroup)) {
            domains.append(domains.takeAt(i));
            break;
        }
    }
    LayoutTree(forest);
}

qint32 AutomaticLayout::ForestWidth() const
{
    return m_pForest ? m_pForest->m_rcExtent.width() : 0;
}

void AutomaticLayout::LayoutTree(CDrawDomain& domain)
{
    if (m_laidOut.contains(&domain))
        return;
    m_laidOut.insert(&domain);
    Rect extent = domain.m_rcExtent.normalized();
    for (CDrawObj* system : std::as_const(domain.m_systems)) {
        if (!system)
            continue;
        moveBy(*system, ForestWidth(), 0);
        if (system->IsKindOf(CDrawSys::StaticClass()))
            static_cast<CDrawSys*>(system)->RecalcExtent();
        extent = extent.united(system->m_rcExtent.normalized());
        domain.m_rcExtent = extent;
    }
    // Taken by value: a cycle may lead back to this list.
    const QList<CDrawObj*> children = domain.m_subDomains;
    for (CDrawObj* object : children) {
        CDrawDomain* child = asDomain(object);
        if (!child || m_laidOut.contains(child))
            continue;
        LayoutSystems(*child);
        LayoutTree(*child);
        extent = extent.united(child->m_rcExtent.normalized());
        domain.m_rcExtent = extent;
    }
}

void AutomaticLayout::LayoutSystems(CDrawDomain& domain)
{
    LayoutMembers(domain.m_systems, domain.m_nSpacing);
}

QList<CDrawObj*> AutomaticLayout::LooseSystems(const QList<CDrawObj*>& objects)
{
    QList<CDrawObj*> loose;
    for (CDrawObj* object : objects) {
        if (&object->GetRuntimeClass() == &CDrawSys::StaticClass() && !object->GetOwner())
            loose.append(object);
    }
    return loose;
}

void AutomaticLayout::LayoutLooseSystems()
{
    const QList<CDrawObj*> loose = LooseSystems(m_document.m_objects);
    if (loose.isEmpty())
        return;
    LayoutMembers(loose, m_document.m_nObjectSpacing);
    const Rect taken = m_pForest ? m_pForest->m_rcExtent.normalized() : Rect{};
    const qint32 shift = taken.isEmpty() ? 0 : std::max(taken.right, 0);
    for (CDrawObj* system : loose) {
        moveBy(*system, shift, 0);
        static_cast<CDrawSys*>(system)->RecalcExtent();
    }
}

void AutomaticLayout::LayoutMembers(const QList<CDrawObj*>& members, qint32 spacing)
{
    m_document.UpdatePageSize();
    // The page count walks the whole map and does not steer the layout:
    // once per run keeps a map of many domains linear.
    if (!m_bPagesCounted) {
        m_document.UpdatePageCount();
        m_bPagesCounted = true;
    }
    std::array<Rows, kBandCount> bands;
    std::array<qint32, kBandCount> heights{};
    PackRows(members, spacing, bands, heights);
    PlaceRows(bands, heights, spacing);
    PlaceSystems(members, bands, spacing);
}

void AutomaticLayout::PackRows(const QList<CDrawObj*>& members, qint32 spacing,
                               std::array<Rows, kBandCount>& bands,
                               std::array<qint32, kBandCount>& heights) const
{
    const qint64 width = m_document.m_sizePage.cx;
    for (const CDrawObj* system : members) {
        const int band = BandOf(system);
        if (band < 0)
            continue;
        const Rect e = system->m_rcExtent.normalized();
        Rows& rows = bands[size_t(band)];
        if (rows.isEmpty())
            rows.append(Rect{});
        Rect& row = rows.last();
        if (qint64(row.right) + e.width() < width) {
            row.right = row.right + e.width() + spacing;
            row.bottom = std::max(row.bottom, row.top + e.height());
        } else {
            rows.append(Rect{0, row.bottom, e.width() + spacing, row.bottom + e.height()});
        }
        heights[size_t(band)] = rows.last().bottom;
    }
    for (qint32& height : heights) {
        if (height > 0)
            height += spacing;
    }
}

void AutomaticLayout::PlaceRows(std::array<Rows, kBandCount>& bands,
                                std::array<qint32, kBandCount>& heights, qint32 spacing) const
{
    const qint32 width = m_document.m_sizePage.cx;
    qint32 y = spacing;
    for (size_t band = 0; band < bands.size(); ++band) {
        Rows& rows = bands[band];
        for (qsizetype i = 0; i < rows.size(); ++i) {
            Rect& row = rows[i];
            row.right -= spacing;
            const qint32 dx = qint32((qint64(row.left) - row.right + width) / 2);
            row = row.translated(dx, y);
            if (i >= 1)
                heights[band] += spacing;
        }
        y += heights[band];
    }
}

void AutomaticLayout::PlaceSystems(const QList<CDrawObj*>& members,
                                   const std::array<Rows, kBandCount>& bands, qint32 spacing)
{
    std::array<qsizetype, kBandCount> rowIndex{};
    std::array<qint64, kBandCount> cursor{};
    for (CDrawObj* system : members) {
        const int band = BandOf(system);
        if (band < 0)
            continue;
        const Rows& rows = bands[size_t(band)];
        qsizetype& i = rowIndex[size_t(band)];
        qint64& x = cursor[size_t(band)];
        const Rect e = system->m_rcExtent.normalized();
        for (; i < rows.size(); ++i, x = 0) {
            const Rect& row = rows.at(i);
            // Measured against the row's own width: the row was packed
            // from the origin and only then centred.
            if (x + e.width() <= qint64(row.width()) + spacing) {
                moveBy(*system, qint32(row.left + x - e.left),
                       qint32(qint64(row.top) + i * spacing - e.top));
                x += e.width() + spacing;
                break;
            }
        }
    }
}

void AutomaticLayout::RepositionPrinters(const CNetDoc& document)
{
    for (CDrawObj* object : document.m_objects) {
        if (object->IsKindOf(CDrawSys::StaticClass()))
            static_cast<CDrawSys*>(object)->RepositionPrinter();
    }
}
