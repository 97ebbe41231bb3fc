#include "LocalNetworkFacts.h"

QString LocalNetworkFacts::MacTextUpper(const QByteArray& mac)
{
    return MacText(mac, true);
}

QString LocalNetworkFacts::MacTextLower(const QByteArray& mac)
{
    return MacText(mac, false);
}

QString LocalNetworkFacts::MacText(const QByteArray& mac, bool upper)
{
    QStringList bytes;
    for (const char byte : mac) {
        const QString text = QStringLiteral("%1").arg(quint8(byte), 2, 16, QLatin1Char('0'));
        bytes.append(upper ? text.toUpper() : text);
    }
    return bytes.join(QLatin1Char('-'));
}

quint32 LocalNetworkFacts::AddressValue(const QString& dotted)
{
    const QStringList parts = dotted.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return 0;
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const uint octet = parts.at(i).toUInt(&ok, 10);
        if (!ok || octet > 255 || parts.at(i).isEmpty())
            return 0;
        value |= quint32(octet) << (8 * i);
    }
    return value;
}

QString LocalNetworkFacts::AddressText(quint32 value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg((value >> 16) & 0xFF)
        .arg(value >> 24);
}

quint32 LocalNetworkFacts::LocalGateway(const QList<LocalNetworkProbe::Adapter>& adapters)
{
    quint32 gateway = 0;
    for (const LocalNetworkProbe::Adapter& adapter : adapters) {
        if (adapter.gateway.address.isEmpty())
            continue;
        if (const quint32 value = AddressValue(adapter.gateway.address))
            gateway = value;
    }
    return gateway;
}

QMap<QString, QString> LocalNetworkFacts::NeighbourSnapshot(
    const QList<LocalNetworkProbe::Neighbour>& neighbours)
{
    QMap<QString, QString> table;
    for (const LocalNetworkProbe::Neighbour& neighbour : neighbours) {
        const QString mac = MacTextUpper(neighbour.mac);
        if (neighbour.address.isEmpty() || mac.isEmpty() || IsPlaceholderMac(mac))
            continue;
        table.insert(neighbour.address, mac);
    }
    return table;
}

bool LocalNetworkFacts::IsPlaceholderMac(const QString& macText)
{
    return macText.compare(QLatin1String("00-00-00-00-00-00"), Qt::CaseInsensitive) == 0
        || macText.compare(QLatin1String("FF-FF-FF-FF-FF-FF"), Qt::CaseInsensitive) == 0;
}

LocalNetworkFacts::Adapters LocalNetworkFacts::CollectAdapters(
    const QList<LocalNetworkProbe::Adapter>& adapters, const QString& defaultGatewaySetting)
{
    Adapters result;
    for (const LocalNetworkProbe::Adapter& adapter : adapters) {
        QList<quint32> addresses;
        for (const LocalNetworkProbe::AddressMask& address : adapter.addresses)
            addresses.append(AddressValue(address.address));
        if (HasUnsetAddress(addresses))
            continue;
        const QString mac = MacTextLower(adapter.mac);
        const QString gateway = defaultGatewaySetting.isEmpty() ? adapter.gateway.address
                                                                : defaultGatewaySetting;
        result.macs.append(mac);
        result.addresses.append(addresses);
        result.masks.append(adapter.addresses.isEmpty()
                                ? 0
                                : AddressValue(adapter.addresses.first().mask));
        result.gateways.append(AddressValue(gateway));
        result.listing.append(mac + QStringLiteral("//") + adapter.name);
    }
    return result;
}

bool LocalNetworkFacts::HasUnsetAddress(const QList<quint32>& addresses)
{
    return addresses.contains(0u);
}

QList<LocalNetworkFacts::Subnet> LocalNetworkFacts::GatewaySubnets(const QList<LocalNetworkProbe::Adapter>& adapters)
{
    QList<Subnet> subnets;
    for (const LocalNetworkProbe::Adapter& adapter : adapters) {
        const quint32 gateway = AddressValue(adapter.gateway.address);
        if (gateway == 0)
            continue;
        for (const LocalNetworkProbe::AddressMask& address : adapter.addresses) {
            const Subnet subnet{AddressValue(address.address), AddressValue(address.mask), gateway};
            if (subnet.address != 0 && subnet.mask != 0)
                subnets.append(subnet);
        }
    }
    return subnets;
}

quint32 LocalNetworkFacts::GatewayFor(const QList<Subnet>& subnets, quint32 address)
{
    for (const Subnet& subnet : subnets)
        if ((address & subnet.mask) == (subnet.address & subnet.mask))
            return subnet.gateway;
    return 0;
}
