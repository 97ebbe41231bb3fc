#include "CDrawDomain.h"

#include "AsciiText.h"
#include "CDrawConnect.h"
#include "CDrawSegment.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"

#include <QSet>

VX_IMPLEMENT_SERIAL(CDrawDomain, &CDrawObj::classInfoCDrawObj)

namespace {

CDrawObj* findIgnoringAsciiCase(const QList<CDrawObj*>& list, const QString& text,
                                QString (CDrawObj::*textOf)() const)
{
    for (CDrawObj* object : list) {
        if (object && AsciiText::equalsIgnoringCase((object->*textOf)(), text))
            return object;
    }
    return nullptr;
}

// The objects whose members are being cloned right now.
QSet<const CDrawObj*>& objectsBeingCloned()
{
    thread_local QSet<const CDrawObj*> cloning;
    return cloning;
}

} // namespace

CDrawDomain::CDrawDomain() = default;

CDrawDomain::CDrawDomain(const Rect& position)
    : CDrawObj(position)
{
}

CDrawDomain::~CDrawDomain()
{
    DestroyOwned();
}

void CDrawDomain::DestroyOwned()
{
    DeleteTree({this}, this);
}

void CDrawDomain::DeleteTree(QList<CDrawObj*> objects, const CDrawObj* keep)
{
    // Everything is taken apart first and deleted afterwards: no destructor
    // recurses, and an object reached twice is deleted once.
    QSet<const CDrawObj*> seen;
    QSet<CNetDoc*> documents;
    QList<CDrawObj*> retired;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        CDrawObj* object = objects.at(i);
        if (!object || seen.contains(object))
            continue;
        seen.insert(object);
        if (object->m_pDocument)
            documents.insert(object->m_pDocument);
        if (object->IsKindOf(StaticClass()))
            static_cast<CDrawDomain*>(object)->Retire(objects);
        if (object != keep)
            retired.append(object);
    }
    for (CNetDoc* document : std::as_const(documents))
        ForgetInDocument(*document, seen);
    qDeleteAll(retired);
}

void CDrawDomain::Retire(QList<CDrawObj*>& owned)
{
    DetachFromOwners();
    TakeOwned(owned);
    ReleaseLinks();
}

void CDrawDomain::ForgetInDocument(CNetDoc& document, const QSet<const CDrawObj*>& gone)
{
    for (QList<CDrawObj*>* list : {&document.m_objects, &document.m_unlisted}) {
        list->removeIf([&gone](const CDrawObj* object) { return gone.contains(object); });
        for (CDrawObj* object : std::as_const(*list)) {
            if (object && object->IsKindOf(StaticClass()))
                static_cast<CDrawDomain*>(object)->ForgetObjects(gone);
        }
    }
    ForgetInReserve(document.m_reserve, gone);
}

void CDrawDomain::TakeOwned(QList<CDrawObj*>& owned)
{
    owned.append(std::exchange(m_segments, {}));
    owned.append(std::exchange(m_systems, {}));
    owned.append(std::exchange(m_subDomains, {}));
}

void CDrawDomain::DetachFromOwners()
{
    if (m_pParent)
        m_pParent->m_subDomains.removeAll(this);
}

void CDrawDomain::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    ForgetInList(m_subDomains, gone);
    ForgetInList(m_systems, gone);
    ForgetInList(m_segments, gone);
    if (gone.contains(m_pParent))
        m_pParent = nullptr;
    ForgetInReserve(m_domainReserve, gone);
}

void CDrawDomain::ForgetInList(QList<CDrawObj*>& list, const QSet<const CDrawObj*>& gone)
{
    if (!list.isEmpty())
        list.removeIf([&gone](const CDrawObj* object) { return gone.contains(object); });
}

void CDrawDomain::ForgetInReserve(CReserveBlockEx& reserve, const QSet<const CDrawObj*>& gone)
{
    // Looked at read-only first: writing would allocate the unused lists.
    for (int i = 0; i < CReserveBlock::kArrays; ++i) {
        if (!std::as_const(reserve.m_aobjLists)[i].isEmpty())
            ForgetInList(reserve.m_aobjLists[i], gone);
    }
}

void CDrawDomain::ReleaseLinks()
{
    m_pParent = nullptr;
    m_subDomains.clear();
    m_systems.clear();
    m_segments.clear();
    m_domainReserve.m_aobjLists.clear();
    // Without a document the destructor reaches no other object.
    m_pDocument = nullptr;
}

void CDrawDomain::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeString(m_strName);
        ar.writeWord(m_wReserved);
        ar.writeString(m_strNote);
        ar.writeObject(m_pParent);
    } else {
        m_strName = ar.readString();
        m_wReserved = ar.readWord();
        m_strNote = ar.readString();
        m_pParent = ar.readObjectOf<CDrawDomain>();
    }
    ar.serializeObjectList(m_subDomains, CDrawObj::StaticClass());
    ar.serializeObjectList(m_systems, CDrawObj::StaticClass());
    ar.serializeObjectList(m_segments, CDrawObj::StaticClass());
    m_domainReserve.Serialize(ar);
}

void CDrawDomain::CopyDomainFields(CDrawDomain* copy) const
{
    copy->m_strName = m_strName;
    copy->m_wReserved = m_wReserved;
    copy->m_strNote = m_strNote;
}

CDrawObj* CDrawDomain::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawDomain(m_position);
    CopyDomainFields(copy);
    // The copy names the same parent but is not one of its sub-domains.
    copy->m_pParent = m_pParent;
    CloneBaseInto(copy, document);
    copy->m_subDomains = CloneMembers(m_subDomains, copy, document);
    copy->m_systems = CloneMembers(m_systems, copy, document);
    copy->m_segments = CloneMembers(m_segments, copy, document);
    return copy;
}

QList<CDrawObj*> CDrawDomain::CloneMembers(QList<CDrawObj*> members, CDrawObj* copy,
                                           CNetDoc* document) const
{
    QSet<const CDrawObj*>& cloning = objectsBeingCloned();
    cloning.insert(this);
    QList<CDrawObj*> clones;
    for (const CDrawObj* member : members) {
        if (!member || cloning.contains(member))
            continue;
        CDrawObj* clone = member->Clone(document);
        // A cloned system files itself with the original's owners.
        if (clone->IsKindOf(StaticClass()))
            static_cast<CDrawDomain*>(clone)->DetachFromOwners();
        clone->SetOwner(copy);
        clones.append(clone);
    }
    cloning.remove(this);
    return clones;
}

void CDrawDomain::ConnectAllInterfaces()
{
    if (!m_pDocument)
        return;
    // New connections go to the head of the list, behind the walk.
    const QList<CDrawObj*> objects = m_pDocument->m_objects;
    for (CDrawObj* object : objects) {
        if (!object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        auto* nic = static_cast<CDrawNic*>(object);
        auto* connection = new CDrawConnect(Rect{});
        connection->m_pDocument = m_pDocument;
        connection->SetOwner(nic);
        if (connection->AttachToGateway() == 0) {
            delete connection;
            return;
        }
        nic->m_connections.append(connection);
        m_pDocument->m_objects.prepend(connection);
    }
}

QString CDrawDomain::GetName() const
{
    return m_strName;
}

void CDrawDomain::SetName(const QString& name)
{
    m_strName = name;
}

CDrawObj* CDrawDomain::GetOwner() const
{
    return m_pParent;
}

void CDrawDomain::SetOwner(CDrawObj* owner)
{
    m_pParent
        = (owner && owner->IsKindOf(StaticClass())) ? static_cast<CDrawDomain*>(owner) : nullptr;
}

CDrawObj* CDrawDomain::FindSubDomainByName(const QString& name) const
{
    return findIgnoringAsciiCase(m_subDomains, name, &CDrawObj::GetName);
}

void CDrawDomain::AddSubDomain(CDrawObj* domain)
{
    m_subDomains.append(domain);
}

CDrawObj* CDrawDomain::FindSystemByKey(const QString& key) const
{
    return findIgnoringAsciiCase(m_systems, key, &CDrawObj::GetKey);
}

void CDrawDomain::AddSystem(CDrawObj* system)
{
    m_systems.append(system);
}

quint16 CDrawDomain::GetReservedWord() const
{
    return m_wReserved;
}

void CDrawDomain::SetReservedWord(quint16 value)
{
    m_wReserved = value;
}

QString CDrawDomain::GetNote() const
{
    return m_strNote;
}

void CDrawDomain::SetNote(const QString& note)
{
    m_strNote = note;
}

CDrawSegment* CDrawDomain::FindSegmentForAddress(quint32 address) const
{
    const quint32 host = CDrawSegment::HostOrder(address);
    for (CDrawObj* object : m_segments) {
        if (!object || !object->IsKindOf(CDrawSegment::StaticClass()))
            continue;
        auto* segment = static_cast<CDrawSegment*>(object);
        if (CDrawSegment::HostOrder(segment->m_dwNetwork) < host
            && host < CDrawSegment::HostOrder(segment->m_dwBroadcast))
            return segment;
    }
    return nullptr;
}

QJsonArray CDrawDomain::IndexesOf(const QList<CDrawObj*>& list,
                                  const std::function<quint32(const Persistent*)>& indexOf)
{
    QJsonArray indexes;
    for (const CDrawObj* object : list)
        indexes.append(qint64(indexOf(object)));
    return indexes;
}

void CDrawDomain::DescribeTo(QJsonObject& out,
                             const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawObj::DescribeTo(out, indexOf);
    out["m_strName"] = m_strName;
    out["m_wReserved"] = m_wReserved;
    out["m_strNote"] = m_strNote;
    out["m_pParent"] = qint64(indexOf(m_pParent));
    out["m_subDomains"] = IndexesOf(m_subDomains, indexOf);
    out["m_systems"] = IndexesOf(m_systems, indexOf);
    out["m_segments"] = IndexesOf(m_segments, indexOf);
    out["domainReserve"] = m_domainReserve.ToJson(indexOf);
}
