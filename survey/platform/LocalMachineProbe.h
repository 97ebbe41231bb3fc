#pragma once

#include "survey/DiscoveryServiceCheck.h"

#include <QString>

// Facts of the machine the survey runs on. Implementations must be safe to
// call from many threads at once.
class LocalMachineProbe {
public:
    struct OsVersion {
        quint32 major = 0;
        quint32 minor = 0;
        quint32 build = 0;
        quint32 platformId = 0;
        quint32 servicePackMajor = 0;
        quint32 servicePackMinor = 0;
        quint32 productType = 0; // 1 workstation, 2 domain controller, 3 server
        quint32 suiteMask = 0;
        quint32 productInfo = 0; // the edition code of the product
        QString csdVersion;
    };

    virtual ~LocalMachineProbe() = default;
    virtual QString ComputerName() const = 0;
    virtual OsVersion Version() const = 0;
    // The display name of the machine's operating system.
    virtual QString OsName() const = 0;
    // What the service manager says about one of the discovery services.
    virtual DiscoveryServiceCheck::Probe DiscoveryService(const QString& service) const = 0;
    // Whether a survey can start from this machine, and what the user is
    // told when it cannot. Where the discovery services exist, their start
    // types decide.
    virtual DiscoveryServiceCheck::Verdict SurveyPrecondition() const
    {
        return DiscoveryServiceCheck::Decide(
            [this](const QString& service) { return DiscoveryService(service); });
    }
    // Whether WMI inventories can be collected from this machine.
    virtual bool WmiCapable() const = 0;
};
