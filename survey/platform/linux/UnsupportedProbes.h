#pragma once

#include "survey/platform/WmiProbe.h"

// WMI, which the live network cannot reach yet: every connection fails at
// once, as the platform fails when the service is missing, so a survey goes
// on without the inventory instead of waiting for it.
class UnsupportedProbes final : public WmiProbe {
public:
    static constexpr quint32 kNotImplemented = 0x80004001; // E_NOTIMPL

    Connection Connect(const QString& host, const std::optional<Credentials>& credentials) const override;
};
