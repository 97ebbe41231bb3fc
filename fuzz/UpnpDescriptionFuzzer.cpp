// Coverage-guided fuzzing of the gateway description parser: whatever the
// device that answers the UPnP search serves must be refused or read within
// its bounds, and its control address must stay on the device.
#include "survey/platform/linux/UpnpDescription.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString origin = QStringLiteral("http://10.77.0.1:5555/rootDesc.xml");
    if (const auto description = UpnpDescription::Parse(body, origin))
        (void)UpnpDescription::OnSameHost(description->controlUrl, origin);
    return 0;
}
