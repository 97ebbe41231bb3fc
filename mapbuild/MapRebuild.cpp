#include "MapRebuild.h"

#include "AutomaticLayout.h"
#include "InterfaceWiring.h"
#include "MapNames.h"
#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawText.h"

#include <QSet>

#include <algorithm>
#include <array>

namespace {

// Position of each class in the regrouped list; the classes not named here
// (rectangles, polygons) come last.
enum ClassOrder { Domain, Connect, Segment, System, Nic, Text, OleObj, Other, kClassCount };

// Most derived class first.
ClassOrder classOf(const CDrawObj* object)
{
    if (object->IsKindOf(CDrawText::StaticClass()))
        return Text;
    if (object->IsKindOf(CDrawConnect::StaticClass()))
        return Connect;
    if (object->IsKindOf(CDrawNic::StaticClass()))
        return Nic;
    if (object->IsKindOf(CDrawSys::StaticClass()))
        return System;
    if (object->IsKindOf(CDrawSegment::StaticClass()))
        return Segment;
    if (object->IsKindOf(CDrawDomain::StaticClass()))
        return Domain;
    if (object->IsKindOf(CDrawOleObj::StaticClass()))
        return OleObj;
    return Other;
}

void relayoutLabels(const QList<CDrawObj*>& labels)
{
    for (CDrawObj* label : labels) {
        if (label && label->IsKindOf(CDrawText::StaticClass()))
            static_cast<CDrawText*>(label)->Relayout(nullptr);
    }
}

} // namespace

bool MapRebuild::CommandsEnabled(bool surveyRunning, const QList<CDrawObj*>& objects)
{
    if (surveyRunning)
        return false;
    return std::any_of(objects.begin(), objects.end(), [](const CDrawObj* object) {
        return object && classOf(object) == System;
    });
}

void MapRebuild::Relayout(CNetDoc& document)
{
    if (document.m_objects.isEmpty())
        return;
    document.SaveSnapshot();
    Regroup(document, true);
    ResetPositions(document);
    Layout(document);
    Wire(document);
    Regroup(document, false);
    document.UpdateAllViews(0, nullptr);
    document.SetModifiedFlag(true);
    document.SaveSnapshot();
}

void MapRebuild::Rewire(CNetDoc& document)
{
    Regroup(document, true);
    Wire(document);
    Regroup(document, false);
    document.SetModifiedFlag(true);
    document.SaveSnapshot();
    document.UpdateAllViews(0, nullptr);
}

void MapRebuild::Regroup(CNetDoc& document, bool deleteConnections)
{
    if (deleteConnections)
        DeleteConnections(document);
    std::array<QList<CDrawObj*>, kClassCount> groups;
    for (CDrawObj* object : std::as_const(document.m_objects)) {
        const ClassOrder order = classOf(object);
        if (deleteConnections && order == System)
            static_cast<CDrawSys*>(object)->m_nLastHandle = 0;
        groups[order].append(object);
    }
    document.m_objects.clear();
    for (const QList<CDrawObj*>& group : groups)
        document.m_objects.append(group);
}

void MapRebuild::DeleteConnections(CNetDoc& document)
{
    QList<CDrawObj*> connections;
    QSet<const CDrawObj*> gone;
    QSet<CDrawNic*> ends;
    for (CDrawObj* object : std::as_const(document.m_objects)) {
        if (classOf(object) != Connect)
            continue;
        auto* connection = static_cast<CDrawConnect*>(object);
        connections.append(connection);
        gone.insert(connection);
        ends << connection->m_pFromNic << connection->m_pToNic;
    }
    // Unlinked from both ends in one pass each, so that destroying them
    // one by one does not search long incoming lists.
    ends.remove(nullptr);
    for (CDrawNic* nic : std::as_const(ends)) {
        nic->m_connections.removeIf([&gone](const CDrawObj* c) { return gone.contains(c); });
        nic->m_incoming.removeIf([&gone](const CDrawObj* c) { return gone.contains(c); });
    }
    CDrawDomain::DeleteTree(connections);
}

void MapRebuild::PlaceAttachments(CDrawSys& system)
{
    for (CDrawObj* object : std::as_const(system.m_subSystems)) {
        if (!object || !object->IsKindOf(CDrawSys::StaticClass()))
            continue;
        auto* hosted = static_cast<CDrawSys*>(object);
        hosted->RepositionPrinter();
        relayoutLabels(hosted->m_labels);
        hosted->RecalcExtent();
    }
    relayoutLabels(system.m_labels);
    for (CDrawObj* nic : std::as_const(system.m_nics)) {
        if (nic && nic->IsKindOf(CDrawNic::StaticClass()))
            relayoutLabels(static_cast<CDrawNic*>(nic)->m_nicLabels);
    }
    system.RecalcExtent();
}

void MapRebuild::ResetPositions(CNetDoc& document)
{
    bool surveyed = false;
    for (CDrawObj* object : std::as_const(document.m_objects)) {
        if (!MapNames::isForest(object) || !object->IsKindOf(CDrawDomain::StaticClass()))
            continue;
        surveyed = true;
        auto* forest = static_cast<CDrawDomain*>(object);
        for (CDrawObj* child : std::as_const(forest->m_subDomains)) {
            if (!child || !child->IsKindOf(CDrawDomain::StaticClass()))
                continue;
            for (CDrawObj* member : static_cast<CDrawDomain*>(child)->m_systems)
                MoveToOrigin(member);
            child->m_position = child->m_rcExtent = Rect{};
        }
        forest->m_position = forest->m_rcExtent = Rect{};
    }
    // A drawing without a forest keeps its loose systems where they are.
    if (surveyed) {
        for (CDrawObj* loose : AutomaticLayout::LooseSystems(document.m_objects))
            MoveToOrigin(loose);
    }
    AutomaticLayout::RepositionPrinters(document);
}

void MapRebuild::MoveToOrigin(CDrawObj* member)
{
    if (!member)
        return;
    const Rect p = member->m_position;
    member->m_position = p.translated(-p.left, -p.top);
    member->m_rcExtent = member->m_rcExtent.translated(-p.left, -p.top);
    if (member->IsKindOf(CDrawSys::StaticClass()))
        PlaceAttachments(*static_cast<CDrawSys*>(member));
}

void MapRebuild::Layout(CNetDoc& document)
{
    for (CDrawObj* object : std::as_const(document.m_objects)) {
        if (MapNames::isForest(object) && object->IsKindOf(CDrawDomain::StaticClass())) {
            AutomaticLayout layout(document);
            layout.LayoutWorkgroupLast(*static_cast<CDrawDomain*>(object));
            layout.LayoutLooseSystems();
            break;
        }
    }
    AutomaticLayout::RepositionPrinters(document);
}

void MapRebuild::Wire(CNetDoc& document)
{
    qsizetype forests = 0;
    for (const CDrawObj* object : std::as_const(document.m_objects)) {
        if (MapNames::isForest(object))
            ++forests;
    }
    for (qsizetype i = 0; i < forests; ++i)
        InterfaceWiring::ConnectAllInterfaces(document);
}
