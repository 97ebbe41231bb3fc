#pragma once

#include "survey/WsdDumpLines.h"

#include <QList>
#include <QString>

// Finds the devices that announce themselves through WS-Discovery. Each
// device comes with its property store as typed values, ready for the dump
// lines. Implementations must be safe to call from any thread.
class DeviceDiscoveryProbe {
public:
    struct Device {
        QString providerInstanceId;
        QList<WsdDumpLines::Property> properties;
    };

    struct Result {
        quint32 error = 0; // 0 when the search completed
        QList<Device> devices;
    };

    virtual ~DeviceDiscoveryProbe() = default;
    // Blocks until the search is complete.
    virtual Result Discover() const = 0;
};
