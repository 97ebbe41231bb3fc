#pragma once

#include "survey/platform/LocalNetworkProbe.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What the survey reads from the machine it runs on: its default gateway,
// its neighbour table and, when it surveys itself, its own adapters. IPv4
// values are in network order (first octet in the lowest byte), as the map
// objects keep them.
class LocalNetworkFacts {
public:
    // The local adapters as one survey thread keeps them: parallel lists,
    // one entry per adapter.
    struct Adapters {
        QStringList macs;
        QList<QList<quint32>> addresses;
        QList<quint32> masks;
        QList<quint32> gateways;
        QStringList listing; // "<MAC>//<adapter name>"
    };

    // "AA-BB-CC-DD-EE-FF": the form of the neighbour table.
    static QString MacTextUpper(const QByteArray& mac);
    // "aa-bb-cc-dd-ee-ff": the form of single ARP lookups and adapters.
    static QString MacTextLower(const QByteArray& mac);

    // The value of a dotted IPv4 text, 0 when it is not one.
    static quint32 AddressValue(const QString& dotted);
    static QString AddressText(quint32 value);

    // A subnet of the surveying machine with the gateway it reaches it by;
    // values in network order.
    struct Subnet {
        quint32 address = 0;
        quint32 mask = 0;
        quint32 gateway = 0;
    };
    // Every address of the adapters that have a gateway.
    static QList<Subnet> GatewaySubnets(const QList<LocalNetworkProbe::Adapter>& adapters);
    // The gateway of the first subnet that holds the address, or 0.
    static quint32 GatewayFor(const QList<Subnet>& subnets, quint32 address);

    // The last non-zero first gateway of the adapters, or 0.
    static quint32 LocalGateway(const QList<LocalNetworkProbe::Adapter>& adapters);
    // Address text to MAC text of every usable neighbour row.
    static QMap<QString, QString> NeighbourSnapshot(
        const QList<LocalNetworkProbe::Neighbour>& neighbours);
    // Whether a neighbour MAC text stands for no address at all.
    static bool IsPlaceholderMac(const QString& macText);
    // With a default gateway setting every adapter reports that gateway.
    // Adapters that have no address yet (0.0.0.0) are left out.
    static Adapters CollectAdapters(const QList<LocalNetworkProbe::Adapter>& adapters,
                                    const QString& defaultGatewaySetting);

private:
    static QString MacText(const QByteArray& mac, bool upper);
    static bool HasUnsetAddress(const QList<quint32>& addresses);
};
