#pragma once

#include <QHash>
#include <QList>

class CDrawObj;

// Which objects list an IPv4 address among their addresses, so that "the
// first object holding this address" needs no walk over the whole map.
// Holders are kept in the order of the document's list; objects added later
// must come after every object already indexed (they are appended there).
class AddressHolders {
public:
    void Build(const QList<CDrawObj*>& objects);
    // Indexes an object whose addresses were just set.
    void Add(CDrawObj* holder);

    bool IsKnown(quint32 address) const { return m_holders.contains(address); }
    CDrawObj* FirstHolder(quint32 address) const;
    QList<CDrawObj*> HoldersOf(quint32 address) const { return m_holders.value(address); }

private:
    QHash<quint32, QList<CDrawObj*>> m_holders;
};
