// Coverage-guided fuzzing of the device metadata parser (the body of a
// WS-Transfer Get response) and of the properties made from it.
#include "survey/platform/linux/WsDiscoveryClient.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto metadata = WsdMetadata::Parse(body))
        (void)WsDiscoveryClient::DeviceOf(QStringLiteral("urn:uuid:1"), QStringLiteral("10.77.0.20"), *metadata);
    return 0;
}
