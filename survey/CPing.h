#pragma once

#include "survey/platform/NameResolutionProbe.h"
#include "survey/platform/PingProbe.h"

#include <QString>

// The echo check of the ping-only option: a host answers when one of two
// echo requests gets a reply within half a second.
class CPing {
public:
    static constexpr int kTimeoutMs = 500;
    static constexpr int kAttempts = 2;
    static constexpr int kMaxAddressText = 63;

    CPing(const NameResolutionProbe& names, const PingProbe& ping);

    // The IPv4 value (network order) of a host name or dotted address; 0
    // when it cannot be determined. Names start with anything but a digit.
    quint32 HostAddress(const QString& host) const;
    bool Ping(const QString& host) const;

    // Drops the leading zeros of every dotted component ("010.001" becomes
    // "10.1"), so that no component is read as octal.
    static QString WithoutLeadingZeros(const QString& text);

private:
    const NameResolutionProbe& m_names;
    const PingProbe& m_ping;
};
