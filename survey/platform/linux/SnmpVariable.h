#pragma once

#include "survey/platform/SnmpProbe.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

// The value of one variable of an agent's answer, as net-snmp decoded it,
// in the probe's terms: numbers, bytes (at most the probe's limit), object
// identifiers and addresses as text; anything else is null.
class SnmpVariable {
public:
    static SnmpProbe::Value ValueOf(const netsnmp_variable_list& variable);

private:
    static QByteArray Bytes(const netsnmp_variable_list& variable);
};
