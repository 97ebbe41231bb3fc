#pragma once

#include "Geometry.h"
#include "ReserveGroup.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>


class Archive;

// The reserve tail every map object carries: 10 DWORD arrays, 10 string
// arrays, then 5 point, 5 rectangle and 5 size arrays. A few classes give
// meaning to some arrays; all others stay empty but whatever a file holds in
// them is kept and written back.
class CReserveBlock {
public:
    static constexpr int kArrays = 10;
    static constexpr int kGeometryArrays = 5;

    void Serialize(Archive& ar);
    QJsonObject ToJson() const;

    ReserveGroup<QList<quint32>, kArrays> m_adwArrays;
    ReserveGroup<QStringList, kArrays> m_astrArrays;
    ReserveGroup<QList<Point>, kGeometryArrays> m_aptArrays;
    ReserveGroup<QList<Rect>, kGeometryArrays> m_arcArrays;
    ReserveGroup<QList<Size>, kGeometryArrays> m_asizeArrays;

protected:
    void serializeValueArrays(Archive& ar);
    void serializeGeometryArrays(Archive& ar);
};
