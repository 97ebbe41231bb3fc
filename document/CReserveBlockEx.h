#pragma once

#include "CReserveBlock.h"

#include <functional>

class CDrawObj;
class Persistent;

// The reserve tail of the document and of systems: the plain reserve block
// with 10 object lists between the string arrays and the geometry arrays.
// The lists do not own their objects; every map object belongs to the
// document's object list.
class CReserveBlockEx : public CReserveBlock {
public:
    void Serialize(Archive& ar);
    QJsonObject ToJson(const std::function<quint32(const Persistent*)>& indexOf) const;

    ReserveGroup<QList<CDrawObj*>, kArrays> m_aobjLists;
};
