#pragma once

#include "survey/platform/UpnpGatewayProbe.h"

// The Internet gateway device of the local network: the default gateway
// as it answers an SSDP search (through miniupnpc), described from its own
// description and asked for its external address at its own address, both
// over HTTP with a size and time limit.
class MiniUpnpGateway final : public UpnpGatewayProbe {
public:
    static constexpr int kSearchMs = 500;

    std::optional<Gateway> FindGateway() const override;
};
