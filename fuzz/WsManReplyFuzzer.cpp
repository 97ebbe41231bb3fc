// Coverage-guided fuzzing of what a WS-Management server answers: the
// sealed frame first, then the SOAP reply with its WMI instances, which
// must be refused or read within their bounds.
#include "survey/platform/linux/EncryptedBody.h"
#include "survey/platform/linux/WsManReply.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)EncryptedBody::Unframe(body);
    const WsManReply reply = WsManReply::Parse(body);
    for (const WmiSession::Instance& instance : reply.instances)
        (void)instance.properties.size();
    return 0;
}
