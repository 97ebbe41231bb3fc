#include "ArpTableLookup.h"

#include "objects/CDrawNic.h"

ArpTableLookup::ArpTableLookup(const QMap<QString, QString>& table)
    : m_table(table)
{
}

std::optional<QString> ArpTableLookup::hardwareAddress(quint32 address) const
{
    const auto found = m_table.constFind(CDrawNic::DottedAddress(address));
    if (found == m_table.constEnd())
        return std::nullopt;
    return found.value();
}
