#pragma once

#include "survey/platform/UpnpGatewayProbe.h"

// The Internet gateway device of the local network: found by SSDP through
// miniupnpc, described from its own description (read with a size and
// time limit), and asked for its external address only at its own address.
class MiniUpnpGateway final : public UpnpGatewayProbe {
public:
    static constexpr int kSearchMs = 500;

    std::optional<Gateway> FindGateway() const override;
};
