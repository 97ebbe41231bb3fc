// Feeds arbitrary bytes to the map loader as the "Contents" of a map file.
// Whatever loads must save, load again and save to the same bytes.
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    CNetDoc doc;
    try {
        doc.LoadContents(input);
    } catch (const ArchiveException&) {
        return 0;
    }
    const QByteArray saved = doc.SaveContents();
    CNetDoc again;
    again.LoadContents(saved);
    if (again.SaveContents() != saved)
        abort();
    return 0;
}
