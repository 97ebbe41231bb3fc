// A system's adapter data: the per-adapter arrays, the address lists and
// the segments and address-to-MAC map made from them.
#include "CDrawSys.h"

#include "CDrawSegment.h"
#include "document/CNetDoc.h"

#include <array>

namespace {

using DwordArray = QList<quint32> CDrawSys::*;
const std::array<DwordArray, 9> kAdapterArrays{
    &CDrawSys::m_adwMasks,         &CDrawSys::m_adwGateways,      &CDrawSys::m_adwAdapterValue2,
    &CDrawSys::m_adwAdapterValue3, &CDrawSys::m_adwAdapterValue4, &CDrawSys::m_adwAdapterValue5,
    &CDrawSys::m_adwAdapterValue6, &CDrawSys::m_adwAdapterValue7, &CDrawSys::m_adwAdapterValue8,
};

} // namespace

QList<quint32>& CDrawSys::AdapterArray(int nArray)
{
    return this->*kAdapterArrays[size_t(nArray)];
}

const QList<quint32>& CDrawSys::AdapterArray(int nArray) const
{
    return this->*kAdapterArrays[size_t(nArray)];
}

quint32 CDrawSys::GetMaskAt(int nIndex) const
{
    CheckIndex(nIndex, m_adwMasks.size());
    return m_adwMasks.at(nIndex);
}

void CDrawSys::SetMasks(const QList<quint32>& masks)
{
    m_adwMasks = masks;
}

void CDrawSys::ClearMasks()
{
    m_adwMasks.clear();
}

quint32 CDrawSys::GetGatewayAt(int nIndex) const
{
    CheckIndex(nIndex, m_adwGateways.size());
    return m_adwGateways.at(nIndex);
}

void CDrawSys::SetGateways(const QList<quint32>& gateways)
{
    m_adwGateways = gateways;
    BuildSegments();
}

void CDrawSys::ClearGateways()
{
    m_adwGateways.clear();
}

quint32 CDrawSys::GetAdapterValueAt(int nArray, int nIndex) const
{
    CheckIndex(nArray - kFirstValueArray, kLastValueArray - kFirstValueArray + 1);
    const QList<quint32>& values = AdapterArray(nArray);
    CheckIndex(nIndex, values.size());
    return values.at(nIndex);
}

void CDrawSys::SetAdapterValues(int nArray, const QList<quint32>& values)
{
    CheckIndex(nArray - kFirstValueArray, kLastValueArray - kFirstValueArray + 1);
    AdapterArray(nArray) = values;
}

void CDrawSys::ClearAdapterValues(int nArray)
{
    CheckIndex(nArray - kFirstValueArray, kLastValueArray - kFirstValueArray + 1);
    AdapterArray(nArray).clear();
}

void CDrawSys::AddAdapterAddresses(const QList<quint32>& addresses)
{
    if (!addresses.isEmpty())
        m_adapterAddresses.push_back(std::make_unique<CDWordArray>(addresses));
}

void CDrawSys::DeleteAdapterAddresses()
{
    m_adapterAddresses.clear();
}

void CDrawSys::BuildSegments()
{
    // Segments live in the document's list and nowhere else.
    if (!m_pDocument)
        return;
    for (qsizetype i = 0; i < m_adwGateways.size(); ++i) {
        auto* segment = new CDrawSegment(Rect{});
        segment->m_dwAddress = m_adwGateways.at(i);
        if (i < m_adwMasks.size())
            segment->SetMask(m_adwMasks.at(i));
        m_pDocument->AddObject(segment);
    }
}

void CDrawSys::RebuildIpMacMap()
{
    m_mapIpToMac.clear();
    for (const CDrawObj* nic : std::as_const(m_nics)) {
        if (!nic)
            continue;
        for (int i = 0; i < nic->GetAddressCount(); ++i)
            m_mapIpToMac.insert(nic->GetAddressAt(i), nic->GetMacAddress());
    }
}
