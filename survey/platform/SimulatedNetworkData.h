#pragma once

#include "survey/DiscoveryServiceCheck.h"
#include "survey/WsdDumpLines.h"
#include "survey/platform/LocalMachineProbe.h"
#include "survey/platform/LocalNetworkProbe.h"
#include "survey/platform/ServerInfoProbe.h"
#include "survey/platform/SnmpProbe.h"
#include "survey/platform/UpnpGatewayProbe.h"
#include "survey/platform/WmiProbe.h"
#include "survey/platform/WmiSession.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Everything a simulated network answers, as read from its description file.
// Never changed after reading, so any number of threads may read it.
struct SimulatedNetworkData {
    // How one probe behaves: a pause before it answers, and an optional
    // failure code it answers with instead of the facts.
    struct Behaviour {
        int delayMs = 0;
        quint32 failWith = 0;
    };

    struct Wmi {
        std::optional<WmiProbe::Credentials> account;
        quint32 connectError = 0;
        QMap<QString, QList<WmiSession::Instance>> classes;
    };

    using SnmpTable = QHash<QString, SnmpProbe::Value>; // by OID without leading "."

    struct Host {
        QString address;
        QString computerName;
        QString dnsName;
        QStringList aliases;
        bool answersPing = true;
        bool discoverable = false;
        QString providerInstanceId;
        QList<WsdDumpLines::Property> discovery;
        std::optional<ServerInfoProbe::Info101> serverInfo;
        quint32 serverInfoError = 0;
        std::optional<Wmi> wmi;
        QHash<QString, SnmpTable> snmp; // by community
    };

    QHash<QString, Behaviour> behaviours; // by probe name
    QList<Host> hosts;
    QString computerName;
    LocalMachineProbe::OsVersion osVersion;
    QHash<QString, DiscoveryServiceCheck::Probe> discoveryServices;
    QList<LocalNetworkProbe::Adapter> adapters;
    QList<LocalNetworkProbe::Neighbour> neighbours;
    QStringList sharedPrinters;
    std::optional<UpnpGatewayProbe::Gateway> upnpGateway;
};
