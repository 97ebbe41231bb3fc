#include "AddressHolders.h"

#include "objects/CDrawObj.h"

void AddressHolders::Build(const QList<CDrawObj*>& objects)
{
    m_holders.clear();
    for (CDrawObj* object : objects)
        Add(object);
}

void AddressHolders::Add(CDrawObj* holder)
{
    const int count = holder->GetAddressCount();
    for (int i = 0; i < count; ++i) {
        QList<CDrawObj*>& holders = m_holders[holder->GetAddressAt(i)];
        // An address listed twice by one object makes it one holder.
        if (holders.isEmpty() || holders.last() != holder)
            holders.append(holder);
    }
}

CDrawObj* AddressHolders::FirstHolder(quint32 address) const
{
    const auto found = m_holders.constFind(address);
    return found == m_holders.constEnd() ? nullptr : found->first();
}
