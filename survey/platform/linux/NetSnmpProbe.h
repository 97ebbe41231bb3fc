#pragma once

#include "survey/platform/SnmpProbe.h"

// SNMP GET through net-snmp's single-session API, one request at a time
// (the library shares counters between sessions). Version 1 as the Windows
// SNMP manager speaks it; numeric identifiers only, no MIB files read.
class NetSnmpProbe final : public SnmpProbe {
public:
    // Longest value taken from an answer; an agent may send up to 64 KiB.
    static constexpr qsizetype kMaxValue = 65535;

    // net-snmp's global set-up: call once before any thread asks.
    static void InitialiseOnce();

    Result Get(const QString& agent, const QString& community, const QString& oid,
               int timeoutMs) const override;
};
