// Coverage-guided fuzzing of the WS-Discovery datagram parser: whatever a
// device on the link sends must be refused or read within its bounds.
#include "survey/platform/linux/WsdMessage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto parsed = WsdMessage::Parse(datagram))
        for (const WsdMessage::Match& match : parsed->matches)
            (void)match.endpoint.size();
    return 0;
}
