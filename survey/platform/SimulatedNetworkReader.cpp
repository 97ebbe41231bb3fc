#include "SimulatedNetworkReader.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSet>
#include <QUuid>

#include <cmath>
#include <limits>

namespace {

// A whole number that a 64-bit integer holds: beyond it the conversion is
// undefined, and a file may hold any number.
bool IsWholeInt64(double d)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    return std::isfinite(d) && d == std::trunc(d) && d >= -kTwoTo63 && d < kTwoTo63;
}

// Carries the first error out of the nested readers.
struct ReadFailure {
    QString message;
};

constexpr qint64 kMaxInt32 = std::numeric_limits<qint32>::max();
constexpr qint64 kMinInt32 = std::numeric_limits<qint32>::min();
constexpr quint64 kMaxUInt32 = std::numeric_limits<quint32>::max();
constexpr qint64 kMaxDelayMs = 60000;

template<class T, class F>
QList<T> Elements(const QJsonArray& array, const QString& path, F&& readOne)
{
    QList<T> items;
    for (qsizetype i = 0; i < array.size(); ++i)
        items.append(readOne(array.at(i), QStringLiteral("%1[%2]").arg(path).arg(i)));
    return items;
}

} // namespace

const QString SimulatedNetworkReader::kFormatName = QStringLiteral("varnex-simulated-network");

const QStringList& SimulatedNetworkReader::ProbeNames()
{
    static const QStringList names{
        QStringLiteral("discovery"), QStringLiteral("reverseLookup"),
        QStringLiteral("lookupHost"), QStringLiteral("forwardLookup"),
        QStringLiteral("ping"), QStringLiteral("serverInfo"),
        QStringLiteral("sharedPrinters"), QStringLiteral("adapters"),
        QStringLiteral("neighbours"), QStringLiteral("arpLookup"),
        QStringLiteral("ipv6Neighbour"),
        QStringLiteral("snmp"), QStringLiteral("upnp"),
        QStringLiteral("wmiConnect"), QStringLiteral("wmiEnumerate"),
        QStringLiteral("localMachine"),
    };
    return names;
}

std::variant<SimulatedNetworkData, QString> SimulatedNetworkReader::Read(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("$: not valid JSON at offset %1: %2")
            .arg(parseError.offset)
            .arg(parseError.errorString());
    SimulatedNetworkData data;
    try {
        ReadRoot(document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array()),
                 data);
    } catch (const ReadFailure& failure) {
        return failure.message;
    }
    return data;
}

void SimulatedNetworkReader::ReadRoot(const QJsonValue& v, SimulatedNetworkData& data)
{
    const Path p = QStringLiteral("$");
    const QJsonObject o = Object(v, p,
                                 {"format", "version", "probes", "localMachine", "hosts",
                                  "upnpGateway"});
    if (String(Required(o, p, "format"), Member(p, "format")) != kFormatName)
        Fail(Member(p, "format"), QStringLiteral("expected \"%1\"").arg(kFormatName));
    if (Integer(Required(o, p, "version"), Member(p, "version"), 1, 1) != 1)
        Fail(Member(p, "version"), QStringLiteral("unsupported version"));
    if (o.contains("probes"))
        ReadBehaviours(o["probes"], Member(p, "probes"), data);
    ReadLocalMachine(Required(o, p, "localMachine"), Member(p, "localMachine"), data);
    data.hosts = Elements<SimulatedNetworkData::Host>(
        Array(Required(o, p, "hosts"), Member(p, "hosts")), Member(p, "hosts"), ReadHost);
    QSet<QString> seen;
    for (qsizetype i = 0; i < data.hosts.size(); ++i) {
        if (seen.contains(data.hosts[i].address))
            Fail(Member(Element(Member(p, "hosts"), i), "address"),
                 QStringLiteral("address %1 is used twice").arg(data.hosts[i].address));
        seen.insert(data.hosts[i].address);
    }
    if (o.contains("upnpGateway"))
        data.upnpGateway = ReadUpnp(o["upnpGateway"], Member(p, "upnpGateway"));
}

void SimulatedNetworkReader::ReadBehaviours(const QJsonValue& v, const Path& p,
                                            SimulatedNetworkData& data)
{
    const QJsonObject o = Object(v, p, ProbeNames());
    for (auto it = o.begin(); it != o.end(); ++it) {
        const Path at = Member(p, it.key());
        const QJsonObject b = Object(it.value(), at, {"delayMs", "failWith"});
        SimulatedNetworkData::Behaviour behaviour;
        if (b.contains("delayMs"))
            behaviour.delayMs = int(Integer(b["delayMs"], Member(at, "delayMs"), 0, kMaxDelayMs));
        if (b.contains("failWith"))
            behaviour.failWith = quint32(Unsigned(b["failWith"], Member(at, "failWith"), kMaxUInt32));
        data.behaviours.insert(it.key(), behaviour);
    }
}

void SimulatedNetworkReader::ReadLocalMachine(const QJsonValue& v, const Path& p,
                                              SimulatedNetworkData& data)
{
    const QJsonObject o = Object(v, p,
                                 {"computerName", "os", "discoveryServices", "adapters",
                                  "neighbours", "sharedPrinters"});
    data.computerName = String(Required(o, p, "computerName"), Member(p, "computerName"));
    if (data.computerName.isEmpty() || data.computerName.size() > 15)
        Fail(Member(p, "computerName"), QStringLiteral("expected 1 to 15 characters"));
    data.osVersion = ReadOsVersion(Required(o, p, "os"), Member(p, "os"));
    data.discoveryServices = ReadServices(Required(o, p, "discoveryServices"),
                                          Member(p, "discoveryServices"));
    data.adapters = Elements<LocalNetworkProbe::Adapter>(
        Array(Required(o, p, "adapters"), Member(p, "adapters")), Member(p, "adapters"),
        ReadAdapter);
    if (o.contains("neighbours"))
        data.neighbours = Elements<LocalNetworkProbe::Neighbour>(
            Array(o["neighbours"], Member(p, "neighbours")), Member(p, "neighbours"),
            ReadNeighbour);
    if (o.contains("sharedPrinters"))
        data.sharedPrinters = Strings(o["sharedPrinters"], Member(p, "sharedPrinters"));
}

LocalMachineProbe::OsVersion SimulatedNetworkReader::ReadOsVersion(const QJsonValue& v,
                                                                   const Path& p)
{
    const QJsonObject o = Object(v, p,
                                 {"major", "minor", "build", "platformId", "servicePackMajor",
                                  "servicePackMinor", "productType", "suiteMask", "productInfo",
                                  "csdVersion"});
    const auto number = [&](const char* key) {
        return o.contains(key) ? quint32(Unsigned(o[key], Member(p, key), kMaxUInt32)) : 0u;
    };
    LocalMachineProbe::OsVersion os;
    os.major = quint32(Unsigned(Required(o, p, "major"), Member(p, "major"), kMaxUInt32));
    os.minor = quint32(Unsigned(Required(o, p, "minor"), Member(p, "minor"), kMaxUInt32));
    os.build = number("build");
    os.platformId = number("platformId");
    os.servicePackMajor = number("servicePackMajor");
    os.servicePackMinor = number("servicePackMinor");
    os.productType = number("productType");
    os.suiteMask = number("suiteMask");
    os.productInfo = number("productInfo");
    if (o.contains("csdVersion"))
        os.csdVersion = String(o["csdVersion"], Member(p, "csdVersion"));
    return os;
}

QHash<QString, DiscoveryServiceCheck::Probe> SimulatedNetworkReader::ReadServices(
    const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p, {DiscoveryServiceCheck::kFunctionDiscoveryHost,
                                        DiscoveryServiceCheck::kResourcePublication});
    QHash<QString, DiscoveryServiceCheck::Probe> services;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const Path at = Member(p, it.key());
        const QJsonObject s = Object(it.value(), at, {"automatic", "failedStage", "error"});
        DiscoveryServiceCheck::Probe probe;
        probe.automatic = Bool(Required(s, at, "automatic"), Member(at, "automatic"));
        if (s.contains("failedStage"))
            probe.failedStage = DiscoveryServiceCheck::Stage(
                Integer(s["failedStage"], Member(at, "failedStage"), 0, 3));
        if (s.contains("error"))
            probe.error = quint32(Unsigned(s["error"], Member(at, "error"), kMaxUInt32));
        services.insert(it.key(), probe);
    }
    return services;
}

LocalNetworkProbe::Adapter SimulatedNetworkReader::ReadAdapter(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p,
                                 {"name", "description", "mac", "addresses", "gateway", "dhcp",
                                  "dhcpServer", "primaryWins", "secondaryWins"});
    LocalNetworkProbe::Adapter adapter;
    adapter.name = String(Required(o, p, "name"), Member(p, "name"));
    if (o.contains("description"))
        adapter.description = String(o["description"], Member(p, "description"));
    adapter.mac = Mac(Required(o, p, "mac"), Member(p, "mac"));
    adapter.addresses = Elements<LocalNetworkProbe::AddressMask>(
        Array(Required(o, p, "addresses"), Member(p, "addresses")), Member(p, "addresses"),
        ReadAddressMask);
    if (o.contains("gateway"))
        adapter.gateway = ReadAddressMask(o["gateway"], Member(p, "gateway"));
    if (o.contains("dhcp"))
        adapter.dhcpEnabled = Bool(o["dhcp"], Member(p, "dhcp"));
    if (o.contains("dhcpServer"))
        adapter.dhcpServer = ReadAddressMask(o["dhcpServer"], Member(p, "dhcpServer"));
    if (o.contains("primaryWins"))
        adapter.primaryWins = ReadAddressMask(o["primaryWins"], Member(p, "primaryWins"));
    if (o.contains("secondaryWins"))
        adapter.secondaryWins = ReadAddressMask(o["secondaryWins"], Member(p, "secondaryWins"));
    return adapter;
}

LocalNetworkProbe::AddressMask SimulatedNetworkReader::ReadAddressMask(const QJsonValue& v,
                                                                       const Path& p)
{
    const QJsonObject o = Object(v, p, {"address", "mask"});
    LocalNetworkProbe::AddressMask am;
    am.address = Ipv4(Required(o, p, "address"), Member(p, "address"));
    if (o.contains("mask"))
        am.mask = Ipv4(o["mask"], Member(p, "mask"));
    return am;
}

LocalNetworkProbe::Neighbour SimulatedNetworkReader::ReadNeighbour(const QJsonValue& v,
                                                                   const Path& p)
{
    const QJsonObject o = Object(v, p, {"address", "mac"});
    return {Address(Required(o, p, "address"), Member(p, "address")),
            Mac(Required(o, p, "mac"), Member(p, "mac"))};
}

UpnpGatewayProbe::Gateway SimulatedNetworkReader::ReadUpnp(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p,
                                 {"friendlyName", "manufacturer", "modelName", "modelNumber",
                                  "presentationUrl", "externalAddress"});
    const auto text = [&](const char* key) {
        return o.contains(key) ? String(o[key], Member(p, key)) : QString();
    };
    UpnpGatewayProbe::Gateway gateway{text("friendlyName"), text("manufacturer"),
                                      text("modelName"),    text("modelNumber"),
                                      text("presentationUrl"), QString()};
    if (o.contains("externalAddress") && !o["externalAddress"].toString().isEmpty())
        gateway.externalAddress = Ipv4(o["externalAddress"], Member(p, "externalAddress"));
    else
        gateway.externalAddress = text("externalAddress");
    return gateway;
}

SimulatedNetworkData::Host SimulatedNetworkReader::ReadHost(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p,
                                 {"address", "computerName", "dnsName", "aliases", "ping",
                                  "discovery", "serverInfo", "serverInfoError", "wmi", "snmp"});
    SimulatedNetworkData::Host host;
    host.address = Address(Required(o, p, "address"), Member(p, "address"));
    if (o.contains("computerName"))
        host.computerName = String(o["computerName"], Member(p, "computerName"));
    if (o.contains("dnsName"))
        host.dnsName = String(o["dnsName"], Member(p, "dnsName"));
    if (o.contains("aliases"))
        host.aliases = Strings(o["aliases"], Member(p, "aliases"));
    if (o.contains("ping"))
        host.answersPing = Bool(o["ping"], Member(p, "ping"));
    if (o.contains("discovery"))
        ReadDiscovery(o["discovery"], Member(p, "discovery"), host);
    if (o.contains("serverInfo") && o.contains("serverInfoError"))
        Fail(Member(p, "serverInfoError"), QStringLiteral("conflicts with serverInfo"));
    if (o.contains("serverInfo"))
        host.serverInfo = ReadServerInfo(o["serverInfo"], Member(p, "serverInfo"));
    if (o.contains("serverInfoError"))
        host.serverInfoError = quint32(
            Unsigned(o["serverInfoError"], Member(p, "serverInfoError"), kMaxUInt32));
    if (o.contains("wmi"))
        host.wmi = ReadWmi(o["wmi"], Member(p, "wmi"));
    if (o.contains("snmp"))
        host.snmp = ReadSnmp(o["snmp"], Member(p, "snmp"));
    return host;
}

void SimulatedNetworkReader::ReadDiscovery(const QJsonValue& v, const Path& p,
                                           SimulatedNetworkData::Host& host)
{
    const QJsonObject o = Object(v, p, {"providerInstanceId", "properties"});
    host.discoverable = true;
    host.providerInstanceId = String(Required(o, p, "providerInstanceId"),
                                     Member(p, "providerInstanceId"));
    host.discovery = Elements<WsdDumpLines::Property>(
        Array(Required(o, p, "properties"), Member(p, "properties")), Member(p, "properties"),
        ReadProperty);
}

WsdDumpLines::Property SimulatedNetworkReader::ReadProperty(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p, {"fmtid", "pid", "type", "value", "typeCode"});
    WsdDumpLines::Property property;
    const QString fmtid = String(Required(o, p, "fmtid"), Member(p, "fmtid"));
    property.formatId = QUuid::fromString(fmtid);
    if (property.formatId.isNull())
        Fail(Member(p, "fmtid"), QStringLiteral("expected a GUID in braces"));
    property.propertyId = quint32(Unsigned(Required(o, p, "pid"), Member(p, "pid"), kMaxUInt32));
    property.value = ReadPropertyValue(o, p);
    return property;
}

WsdDumpLines::Value SimulatedNetworkReader::ReadPropertyValue(const QJsonObject& o, const Path& p)
{
    const QString type = String(Required(o, p, "type"), Member(p, "type"));
    const Path vp = Member(p, "value");
    if (type == "empty")
        return std::monostate{};
    if (type == "other")
        return WsdDumpLines::OtherType{
            quint16(Unsigned(Required(o, p, "typeCode"), Member(p, "typeCode"), 0xFFFF))};
    const QJsonValue value = Required(o, p, "value");
    if (type == "int32")
        return qint32(Integer(value, vp, kMinInt32, kMaxInt32));
    if (type == "uint32")
        return quint32(Unsigned(value, vp, kMaxUInt32));
    if (type == "bool")
        return Bool(value, vp);
    if (type == "uint64")
        return quint64(Unsigned(value, vp, std::numeric_limits<quint64>::max()));
    if (type == "string")
        return String(value, vp);
    if (type == "strings")
        return Strings(value, vp);
    if (type == "bytes")
        return QByteArray::fromHex(String(value, vp).toLatin1());
    if (type == "guid") {
        const QUuid id = QUuid::fromString(String(value, vp));
        if (id.isNull())
            Fail(vp, QStringLiteral("expected a GUID in braces"));
        return id;
    }
    Fail(Member(p, "type"), QStringLiteral("unknown property type \"%1\"").arg(type));
}

ServerInfoProbe::Info101 SimulatedNetworkReader::ReadServerInfo(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p,
                                 {"platformId", "name", "versionMajor", "versionMinor", "type",
                                  "comment"});
    const auto number = [&](const char* key) {
        return quint32(Unsigned(Required(o, p, key), Member(p, key), kMaxUInt32));
    };
    ServerInfoProbe::Info101 info;
    info.platformId = number("platformId");
    info.name = String(Required(o, p, "name"), Member(p, "name"));
    info.versionMajor = number("versionMajor");
    info.versionMinor = number("versionMinor");
    info.type = number("type");
    if (o.contains("comment"))
        info.comment = String(o["comment"], Member(p, "comment"));
    return info;
}

SimulatedNetworkData::Wmi SimulatedNetworkReader::ReadWmi(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p, {"account", "connectError", "classes"});
    SimulatedNetworkData::Wmi wmi;
    if (o.contains("account"))
        wmi.account = ReadCredentials(o["account"], Member(p, "account"));
    if (o.contains("connectError"))
        wmi.connectError = quint32(Unsigned(o["connectError"], Member(p, "connectError"), kMaxUInt32));
    const Path cp = Member(p, "classes");
    const QJsonObject classes = Object(Required(o, p, "classes"), cp, {});
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        const Path at = Member(cp, it.key());
        wmi.classes.insert(it.key(), Elements<WmiSession::Instance>(Array(it.value(), at), at,
                                                                    ReadInstance));
    }
    return wmi;
}

WmiProbe::Credentials SimulatedNetworkReader::ReadCredentials(const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p, {"domain", "user", "password"});
    return {String(Required(o, p, "domain"), Member(p, "domain")),
            String(Required(o, p, "user"), Member(p, "user")),
            String(Required(o, p, "password"), Member(p, "password"))};
}

WmiSession::Instance SimulatedNetworkReader::ReadInstance(const QJsonValue& v, const Path& p)
{
    // Member order is alphabetical, as the classes list their properties.
    const QJsonObject o = Object(v, p, {});
    WmiSession::Instance instance;
    for (auto it = o.begin(); it != o.end(); ++it)
        instance.properties.append({it.key(), ReadWmiValue(it.value(), Member(p, it.key()))});
    return instance;
}

WmiSession::Value SimulatedNetworkReader::ReadWmiValue(const QJsonValue& v, const Path& p)
{
    if (v.isNull())
        return WmiSession::Null{};
    if (v.isBool())
        return v.toBool();
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (IsWholeInt64(d))
            return qint64(d);
        return d;
    }
    if (v.isArray())
        return ReadWmiArray(v.toArray(), p);
    const QJsonObject o = Object(v, p, {"date", "empty"});
    if (o.contains("empty"))
        return WmiSession::Empty{};
    const QDateTime date = QDateTime::fromString(String(Required(o, p, "date"), Member(p, "date")),
                                                 Qt::ISODate);
    if (!date.isValid())
        Fail(Member(p, "date"), QStringLiteral("expected an ISO 8601 date and time"));
    return date;
}

WmiSession::Value SimulatedNetworkReader::ReadWmiArray(const QJsonArray& a, const Path& p)
{
    if (!a.isEmpty() && a.first().isString())
        return Strings(a, p);
    return Elements<qint32>(a, p, [](const QJsonValue& e, const Path& at) {
        return qint32(Integer(e, at, kMinInt32, kMaxInt32));
    });
}

QHash<QString, SimulatedNetworkData::SnmpTable> SimulatedNetworkReader::ReadSnmp(
    const QJsonValue& v, const Path& p)
{
    const QJsonObject o = Object(v, p, {});
    QHash<QString, SimulatedNetworkData::SnmpTable> communities;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const Path at = Member(p, it.key());
        const QJsonObject values = Object(it.value(), at, {});
        SimulatedNetworkData::SnmpTable table;
        for (auto vt = values.begin(); vt != values.end(); ++vt)
            table.insert(Oid(vt.key(), Member(at, vt.key())),
                         ReadSnmpValue(vt.value(), Member(at, vt.key())));
        communities.insert(it.key(), table);
    }
    return communities;
}

SnmpProbe::Value SimulatedNetworkReader::ReadSnmpValue(const QJsonValue& v, const Path& p)
{
    if (v.isNull())
        return SnmpProbe::Null{};
    if (v.isString())
        return v.toString().toUtf8();
    return Integer(v, p, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
}

void SimulatedNetworkReader::Fail(const Path& p, const QString& what)
{
    throw ReadFailure{p + QStringLiteral(": ") + what};
}

QJsonObject SimulatedNetworkReader::Object(const QJsonValue& v, const Path& p,
                                           const QStringList& allowed)
{
    if (!v.isObject())
        Fail(p, QStringLiteral("expected an object"));
    const QJsonObject o = v.toObject();
    if (allowed.isEmpty())
        return o;
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!allowed.contains(it.key()))
            Fail(Member(p, it.key()), QStringLiteral("unknown member"));
    return o;
}

QJsonArray SimulatedNetworkReader::Array(const QJsonValue& v, const Path& p)
{
    if (!v.isArray())
        Fail(p, QStringLiteral("expected an array"));
    return v.toArray();
}

QJsonValue SimulatedNetworkReader::Required(const QJsonObject& o, const Path& p, const QString& key)
{
    if (!o.contains(key))
        Fail(Member(p, key), QStringLiteral("missing member"));
    return o[key];
}

QString SimulatedNetworkReader::String(const QJsonValue& v, const Path& p)
{
    if (!v.isString())
        Fail(p, QStringLiteral("expected a string"));
    return v.toString();
}

QStringList SimulatedNetworkReader::Strings(const QJsonValue& v, const Path& p)
{
    return Elements<QString>(Array(v, p), p, String);
}

bool SimulatedNetworkReader::Bool(const QJsonValue& v, const Path& p)
{
    if (!v.isBool())
        Fail(p, QStringLiteral("expected true or false"));
    return v.toBool();
}

qint64 SimulatedNetworkReader::Integer(const QJsonValue& v, const Path& p, qint64 min, qint64 max)
{
    const double d = v.toDouble();
    if (!v.isDouble() || !std::isfinite(d) || d != std::trunc(d))
        Fail(p, QStringLiteral("expected an integer"));
    if (!IsWholeInt64(d) || qint64(d) < min || qint64(d) > max)
        Fail(p, QStringLiteral("expected an integer from %1 to %2").arg(min).arg(max));
    return qint64(d);
}

// A non-negative number, or a string in hexadecimal with "0x" for values
// that read better so (type bits, error codes, 64-bit values).
quint64 SimulatedNetworkReader::Unsigned(const QJsonValue& v, const Path& p, quint64 max)
{
    quint64 value = 0;
    if (v.isString()) {
        bool ok = false;
        const QString text = v.toString();
        value = text.startsWith(QLatin1String("0x")) ? text.mid(2).toULongLong(&ok, 16) : 0;
        if (!ok)
            Fail(p, QStringLiteral("expected a hexadecimal text starting with \"0x\""));
    } else {
        value = quint64(Integer(v, p, 0, std::numeric_limits<qint64>::max()));
    }
    if (value > max)
        Fail(p, QStringLiteral("expected at most %1").arg(max));
    return value;
}

QString SimulatedNetworkReader::Ipv4(const QJsonValue& v, const Path& p)
{
    static const QRegularExpression dotted(
        QStringLiteral("^(25[0-5]|2[0-4]\\d|1\\d\\d|[1-9]?\\d)(\\.(25[0-5]|2[0-4]\\d|1\\d\\d|[1-9]?\\d)){3}$"));
    const QString text = String(v, p);
    if (!dotted.match(text).hasMatch())
        Fail(p, QStringLiteral("expected a dotted IPv4 address"));
    return text;
}

// A dotted IPv4 address or an IPv6 text.
QString SimulatedNetworkReader::Address(const QJsonValue& v, const Path& p)
{
    static const QRegularExpression ipv6(QStringLiteral("^[0-9a-fA-F:]*:[0-9a-fA-F:.]*$"));
    const QString text = String(v, p);
    return ipv6.match(text).hasMatch() ? text : Ipv4(v, p);
}

QByteArray SimulatedNetworkReader::Mac(const QJsonValue& v, const Path& p)
{
    static const QRegularExpression mac(
        QStringLiteral("^[0-9A-Fa-f]{2}([-:][0-9A-Fa-f]{2}){5}$"));
    const QString text = String(v, p);
    if (!mac.match(text).hasMatch())
        Fail(p, QStringLiteral("expected six hexadecimal bytes joined by \"-\""));
    return QByteArray::fromHex(text.toLatin1().replace('-', "").replace(':', ""));
}

QString SimulatedNetworkReader::Oid(const QString& text, const Path& p)
{
    static const QRegularExpression oid(QStringLiteral("^\\.?\\d+(\\.\\d+)+$"));
    if (!oid.match(text).hasMatch())
        Fail(p, QStringLiteral("expected a numeric object identifier"));
    return text.startsWith(QLatin1Char('.')) ? text.mid(1) : text;
}

SimulatedNetworkReader::Path SimulatedNetworkReader::Member(const Path& p, const QString& key)
{
    return p + QLatin1Char('.') + key;
}

SimulatedNetworkReader::Path SimulatedNetworkReader::Element(const Path& p, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(p).arg(index);
}
