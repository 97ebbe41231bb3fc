// Coverage-guided fuzzing of the device list's table reader: the inventory
// tables may come from any map file.
#include "listview/DeviceListRows.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    const std::vector<CLVObj> rows = DeviceListRows::Build(DeviceListRows::Split(lines));
    size_t cells = 0;
    for (const CLVObj& row : rows)
        cells += size_t(row.m_astrCells.size()) + row.m_children.size();
    (void)cells;
    return 0;
}
