#pragma once

#include <QString>

#include <optional>

// The UPnP Internet gateway device of the local network. Implementations
// must be safe to call from many threads at once.
class UpnpGatewayProbe {
public:
    struct Gateway {
        QString friendlyName;
        QString manufacturer;
        QString modelName;
        QString modelNumber;
        QString presentationUrl;
        // Empty when the gateway does not know it or has no connection service.
        QString externalAddress;
    };

    virtual ~UpnpGatewayProbe() = default;
    // Nothing when no gateway device answered the search.
    virtual std::optional<Gateway> FindGateway() const = 0;
};
