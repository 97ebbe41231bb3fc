// Coverage-guided fuzzing of the device metadata parser: the body of a
// WS-Transfer Get response, as any device on the link may send it.
#include "survey/platform/linux/WsdMetadata.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto metadata = WsdMetadata::Parse(body))
        (void)metadata->deviceCategories.size();
    return 0;
}
