// Coverage-guided fuzzing of the SMB helper's answer parser: a hostile
// server's strings reach it through the helper.
#include "survey/platform/linux/SmbQueryAnswer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray output(reinterpret_cast<const char*>(data), qsizetype(size));
    const SmbQueryAnswer answer = SmbQueryAnswer::Parse(output);
    (void)answer.Printers().size();
    return 0;
}
