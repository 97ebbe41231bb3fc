// Coverage-guided fuzzing of the simulated network reader: a network file
// may be any file a user names.
#include "survey/platform/SimulatedNetworkReader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = SimulatedNetworkReader::Read(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    (void)read.index();
    return 0;
}
