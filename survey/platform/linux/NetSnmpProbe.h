#pragma once

#include "survey/platform/SnmpProbe.h"

// SNMP GET through net-snmp's single-session API, one request at a time
// (the library shares counters between sessions). Version 1 as the Windows
// SNMP manager speaks it; numeric identifiers only, no MIB files read.
class NetSnmpProbe final : public SnmpProbe {
public:
    // Longest value taken from an answer. An agent may send 64 KiB; a
    // description that long would become a label of over a thousand lines.
    static constexpr qsizetype kMaxValue = 4096;

    // net-snmp's global set-up: call once before any thread asks.
    static void InitialiseOnce();

    Result Get(const QString& agent, const QString& community, const QString& oid,
               int timeoutMs) const override;
};
