#pragma once

#include "survey/platform/DeviceDiscoveryProbe.h"
#include "survey/platform/LocalMachineProbe.h"
#include "survey/platform/LocalNetworkProbe.h"
#include "survey/platform/NameResolutionProbe.h"
#include "survey/platform/PingProbe.h"
#include "survey/platform/ServerInfoProbe.h"
#include "survey/platform/SharedPrinterProbe.h"
#include "survey/platform/SnmpProbe.h"
#include "survey/platform/UpnpGatewayProbe.h"
#include "survey/platform/WmiProbe.h"

// Every platform service the survey uses, handed to the survey as one
// object. The probes are called from many analysis threads at once, so each
// must be thread-safe; the object outlives the survey that uses it.
class NetworkProbes {
public:
    virtual ~NetworkProbes() = default;
    virtual const DeviceDiscoveryProbe& Discovery() const = 0;
    virtual const NameResolutionProbe& Names() const = 0;
    virtual const PingProbe& Ping() const = 0;
    virtual const ServerInfoProbe& ServerInfo() const = 0;
    virtual const SharedPrinterProbe& SharedPrinters() const = 0;
    virtual const LocalNetworkProbe& LocalNetwork() const = 0;
    virtual const SnmpProbe& Snmp() const = 0;
    virtual const UpnpGatewayProbe& UpnpGateway() const = 0;
    virtual const WmiProbe& Wmi() const = 0;
    virtual const LocalMachineProbe& LocalMachine() const = 0;
};
