#pragma once

#include "survey/platform/SimulatedNetwork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <memory>

// Builds simulated networks for survey tests and benchmarks: computers and
// printers that announce themselves, the surveying machine and its router.
class SimulatedLan {
public:
    using Tweak = std::function<void(QJsonObject&)>;

    SimulatedLan()
    {
        m_local = QJsonObject{
            {"computerName", "ADMIN"},
            {"os", QJsonObject{{"major", 10}, {"minor", 0}, {"build", 19045}, {"platformId", 2},
                               {"productType", 1}, {"productInfo", 48}}},
            {"discoveryServices",
             QJsonObject{{"fdPHost", Service(true)}, {"FDResPub", Service(true)}}},
            {"adapters", QJsonArray{}},
            {"neighbours", QJsonArray{}},
        };
    }

    static QJsonObject Service(bool automatic)
    {
        return {{"automatic", automatic}, {"failedStage", 3}, {"error", 122}};
    }

    static QJsonObject Property(const char* fmtid, int pid, const QJsonValue& value)
    {
        const char* type = value.isArray() ? "strings" : "string";
        return {{"fmtid", fmtid}, {"pid", pid}, {"type", type}, {"value", value}};
    }

    static QJsonObject Discovery(const QString& identity, const QString& address,
                                 const QString& category, const QJsonArray& more)
    {
        QJsonArray properties{
            Property("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}", 4101, identity),
            Property("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}", 12297, address),
            Property("{78c34fc8-104a-4aca-9ea4-524d52996e57}", 90, QJsonArray{category}),
            Property("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}", 12292, category),
        };
        for (const QJsonValue& property : more)
            properties.append(property);
        return {{"providerInstanceId", "Provider\\Microsoft.Networking.WSD\\" + identity},
                {"properties", properties}};
    }

    // group is "Domain:CORP" or "Workgroup:WG".
    SimulatedLan& Computer(const QString& name, const QString& address, const QString& group,
                           const Tweak& tweak = {})
    {
        const QJsonArray more{
            Property("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}", 12288, "WSD " + name),
            Property("{63c6d5b8-f73a-4aca-967e-0cc787e0b559}", 20483, name + "/" + group),
        };
        QJsonObject host{
            {"address", address},
            {"computerName", name},
            {"dnsName", name.toLower() + ".corp.example"},
            {"discovery", Discovery("urn:uuid:" + name, address, "Computers", more)},
            {"serverInfo", QJsonObject{{"platformId", 500}, {"name", name},
                                       {"versionMajor", 10}, {"versionMinor", 0},
                                       {"type", "0x00001003"}, {"comment", ""}}},
        };
        if (tweak)
            tweak(host);
        m_hosts.append(host);
        return *this;
    }

    SimulatedLan& Printer(const QString& dnsName, const QString& address, const Tweak& tweak = {})
    {
        const QJsonArray more{
            Property("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}", 12288, "Laser " + dnsName),
        };
        QJsonObject host{
            {"address", address},
            {"discovery", Discovery("urn:uuid:" + dnsName, address, "Printers", more)},
        };
        if (!dnsName.isEmpty())
            host.insert("dnsName", dnsName);
        if (tweak)
            tweak(host);
        m_hosts.append(host);
        return *this;
    }

    SimulatedLan& Host(const QJsonObject& host)
    {
        m_hosts.append(host);
        return *this;
    }

    SimulatedLan& Local(const Tweak& tweak)
    {
        tweak(m_local);
        return *this;
    }

    SimulatedLan& Probe(const QString& probe, int delayMs, quint32 failWith = 0)
    {
        QJsonObject behaviour{{"delayMs", delayMs}};
        if (failWith)
            behaviour.insert("failWith", qint64(failWith));
        m_probes.insert(probe, behaviour);
        return *this;
    }

    SimulatedLan& Gateway(const QJsonObject& upnp)
    {
        m_upnp = upnp;
        return *this;
    }

    // The description file of the network.
    QByteArray Json() const
    {
        QJsonObject root{{"format", "varnex-simulated-network"},
                         {"version", 1},
                         {"probes", m_probes},
                         {"localMachine", m_local},
                         {"hosts", m_hosts}};
        if (!m_upnp.isEmpty())
            root.insert("upnpGateway", m_upnp);
        return QJsonDocument(root).toJson(QJsonDocument::Compact);
    }

    std::unique_ptr<SimulatedNetwork> Build() const
    {
        SimulatedNetwork::LoadResult loaded = SimulatedNetwork::loadFromBytes(Json());
        // A network the builder made wrongly is a fault of the caller's code.
        if (!loaded.network)
            qFatal("simulated network: %s", qPrintable(loaded.error));
        return std::move(loaded.network);
    }

private:
    QJsonObject m_local;
    QJsonObject m_probes;
    QJsonArray m_hosts;
    QJsonObject m_upnp;
};
