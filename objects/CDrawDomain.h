#pragma once

#include "CDrawObj.h"
#include "document/CReserveBlockEx.h"

#include <QJsonArray>
#include <QList>
#include <QSet>
#include <QString>

class CDrawSegment;

// A Windows domain or workgroup, or the root of the map's domain tree. It is
// not drawn; it groups sub-domains, systems and segments and owns them.
//
// Ownership: the three member lists own their objects, which also sit in the
// document's object list. Destroying a domain unlinks everything it owns,
// directly or further down, from the document and deletes each object once,
// without recursion, so neither a deep tree nor an object listed by two
// owners (or a cycle read from a file) can break it. The objects of the
// document that remain drop every reference to the deleted ones, so nothing
// is left pointing at them.
//
// Every class of the family calls DestroyOwned() first in its destructor, so
// that its own overrides of the operations below take part.
class CDrawDomain : public CDrawObj {
    VX_DECLARE_SERIAL(CDrawDomain)

public:
    CDrawDomain();
    explicit CDrawDomain(const Rect& position);
    ~CDrawDomain() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    QString GetName() const override;
    void SetName(const QString& name) override;
    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    CDrawObj* FindSubDomainByName(const QString& name) const override;
    void AddSubDomain(CDrawObj* domain) override;
    CDrawObj* FindSystemByKey(const QString& key) const override;
    void AddSystem(CDrawObj* system) override;
    quint16 GetReservedWord() const override;
    void SetReservedWord(quint16 value) override;
    QString GetNote() const override;
    void SetNote(const QString& note) override;

    // The first segment whose network strictly contains the address
    // (network byte order), or null.
    CDrawSegment* FindSegmentForAddress(quint32 address) const;

    // Connects every interface of the document to the holder of its
    // gateway; stops at the first interface that cannot be connected.
    void ConnectAllInterfaces();

    // Drops every list entry and pointer that refers to one of the objects.
    virtual void ForgetObjects(const QSet<const CDrawObj*>& gone);

    // Deletes the objects and everything they own, each exactly once, after
    // unlinking them from their document and from every reference there.
    static void DeleteTree(QList<CDrawObj*> objects, const CDrawObj* keep = nullptr);

    QString m_strName;
    CDrawDomain* m_pParent = nullptr;
    QList<CDrawObj*> m_subDomains;
    QList<CDrawObj*> m_systems;
    QList<CDrawObj*> m_segments;
    quint16 m_wReserved = 0;
    QString m_strNote;
    CReserveBlockEx m_domainReserve;

protected:
    void DestroyOwned();
    // Moves the objects this one owns into owned and empties its lists.
    virtual void TakeOwned(QList<CDrawObj*>& owned);
    // Takes this object out of the lists of the objects that own it.
    virtual void DetachFromOwners();
    // Name, reserved word and note; derived clones decide about the parent.
    void CopyDomainFields(CDrawDomain* copy) const;
    // Clones each member into the document and gives the clone the copy as
    // its owner, out of the lists of this object's owners. A member that is
    // being cloned already (a cycle read from a file) is left out. The list
    // is taken by value: cloning a system appends to its owner's list.
    QList<CDrawObj*> CloneMembers(QList<CDrawObj*> members, CDrawObj* copy,
                                  CNetDoc* document) const;
    static void ForgetInList(QList<CDrawObj*>& list, const QSet<const CDrawObj*>& gone);
    static void ForgetInReserve(CReserveBlockEx& reserve, const QSet<const CDrawObj*>& gone);
    static QJsonArray IndexesOf(const QList<CDrawObj*>& list,
                                const std::function<quint32(const Persistent*)>& indexOf);

private:
    // Takes this object out of its owners, hands over what it owns and
    // forgets every link.
    void Retire(QList<CDrawObj*>& owned);
    static void ForgetInDocument(CNetDoc& document, const QSet<const CDrawObj*>& gone);
};
