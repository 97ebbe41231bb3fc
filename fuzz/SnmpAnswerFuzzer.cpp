// Coverage-guided fuzzing of what an SNMP agent answers: net-snmp decodes
// the datagram, then every variable becomes the probe's value and the text
// the survey shows of it.
#include "survey/CTh_SNMP.h"
#include "survey/platform/linux/NetSnmpProbe.h"
#include "survey/platform/linux/SnmpVariable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NetSnmpProbe::InitialiseOnce();
    netsnmp_session session;
    snmp_sess_init(&session);
    session.version = SNMP_VERSION_1;
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
    std::vector<u_char> datagram(data, data + size);
    if (snmp_parse(nullptr, &session, pdu, datagram.data(), datagram.size()) == SNMP_ERR_NOERROR)
        for (const netsnmp_variable_list* variable = pdu->variables; variable; variable = variable->next_variable)
            (void)CTh_SNMP::ValueText(SnmpVariable::ValueOf(*variable)).size();
    snmp_free_pdu(pdu);
    return 0;
}
