#pragma once

#include "objects/NeighbourLookup.h"

#include <QMap>

// The survey's ARP table (address text to MAC text) as the neighbour lookup
// of the interfaces that map construction adds. Refers to the table; the
// table must outlive the lookup.
class ArpTableLookup : public NeighbourLookup {
public:
    explicit ArpTableLookup(const QMap<QString, QString>& table);

    std::optional<QString> hardwareAddress(quint32 address) const override;

private:
    const QMap<QString, QString>& m_table;
};
