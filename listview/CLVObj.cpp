#include "CLVObj.h"

void CLVObj::Put(qsizetype start, const QStringList& fields)
{
    while (m_astrCells.size() < start)
        m_astrCells.append(QString());
    for (const QString& field : fields)
        m_astrCells.append(field.left(kMaxCell));
}
