#pragma once

#include "Persistent.h"

#include <QList>

// A persistable array of 32-bit values. Systems write one per network adapter
// (its IPv4 addresses) into their address list.
class CDWordArray : public Persistent {
    VX_DECLARE_SERIAL(CDWordArray)

public:
    CDWordArray() = default;
    explicit CDWordArray(QList<quint32> values)
        : m_values(std::move(values))
    {
    }

    void Serialize(Archive& ar) override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    QList<quint32> m_values;
};
