#include "CDrawNic.h"

#include "CDrawConnect.h"
#include "CDrawText.h"
#include "NeighbourLookup.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"


VX_IMPLEMENT_SERIAL(CDrawNic, &CDrawSys::classInfoCDrawSys)

namespace {

// The survey's mark for an adapter whose MAC address is unknown.
const QString kNoAddressMark = QStringLiteral("No-Ad-");
constexpr int kIpv6Array = 0;

} // namespace

CDrawNic::CDrawNic() = default;

CDrawNic::CDrawNic(const Rect& position)
    : CDrawSys(position)
{
}

CDrawNic::~CDrawNic()
{
    DestroyOwned();
}

QString CDrawNic::DottedAddress(quint32 address)
{
    // Network byte order as a little-endian DWORD: the first octet is the lowest byte.
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg((address >> 16) & 0xFF)
        .arg(address >> 24);
}

QStringList& CDrawNic::Ipv6Addresses()
{
    return m_nicReserve.m_astrArrays[kIpv6Array];
}

const QStringList& CDrawNic::Ipv6Addresses() const
{
    return std::as_const(m_nicReserve.m_astrArrays)[kIpv6Array];
}

void CDrawNic::Serialize(Archive& ar)
{
    CDrawSys::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeObject(m_pNicOwner);
        ar.writeDword(m_dwMask);
        ar.writeDword(m_dwGateway);
        for (quint32 value : m_adwAdapterValue)
            ar.writeDword(value);
        ar.writeString(m_strMac);
        ar.writeDword(m_dwNicReserved);
    } else {
        m_pNicOwner = ar.readObjectOf<CDrawSys>();
        m_dwMask = ar.readDword();
        m_dwGateway = ar.readDword();
        for (quint32& value : m_adwAdapterValue)
            value = ar.readDword();
        m_strMac = ar.readString();
        m_dwNicReserved = ar.readDword();
    }
    ar.serialize(m_adwAddresses);
    // The lists are read with their classes required: the code that walks
    // them relies on what they hold.
    ar.serializeObjectList(m_connections, CDrawConnect::StaticClass());
    ar.serializeObjectList(m_incoming, CDrawConnect::StaticClass());
    ar.serializeObjectList(m_nicLabels, CDrawText::StaticClass());
    m_nicReserve.Serialize(ar);
}

void CDrawNic::ReleaseLinks()
{
    m_pNicOwner = nullptr;
    m_connections.clear();
    m_incoming.clear();
    m_nicLabels.clear();
    m_nicReserve.m_aobjLists.clear();
    CDrawSys::ReleaseLinks();
}

void CDrawNic::TakeOwned(QList<CDrawObj*>& owned)
{
    owned.append(std::exchange(m_nicLabels, {}));
    owned.append(std::exchange(m_connections, {}));
    owned.append(std::exchange(m_incoming, {}));
    CDrawSys::TakeOwned(owned);
}

void CDrawNic::DetachFromOwners()
{
    if (m_pNicOwner)
        m_pNicOwner->m_nics.removeAll(this);
    CDrawSys::DetachFromOwners();
}

void CDrawNic::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    CDrawSys::ForgetObjects(gone);
    ForgetInList(m_connections, gone);
    ForgetInList(m_incoming, gone);
    ForgetInList(m_nicLabels, gone);
    if (gone.contains(m_pNicOwner))
        m_pNicOwner = nullptr;
    ForgetInReserve(m_nicReserve, gone);
}

CDrawObj* CDrawNic::GetOwner() const
{
    return m_pNicOwner;
}

void CDrawNic::SetOwner(CDrawObj* owner)
{
    m_pNicOwner = (owner && owner->IsKindOf(CDrawSys::StaticClass())) ? static_cast<CDrawSys*>(owner)
                                                                       : nullptr;
}

void CDrawNic::EditProperties(DrawView*)
{
}

quint32 CDrawNic::GetGateway() const
{
    return m_dwGateway;
}

int CDrawNic::GetAddressCount() const
{
    return int(m_adwAddresses.size());
}

quint32 CDrawNic::GetAddressAt(int nIndex) const
{
    CheckIndex(nIndex, m_adwAddresses.size());
    return m_adwAddresses.at(nIndex);
}

QString CDrawNic::GetMacAddress() const
{
    return m_strMac;
}

int CDrawNic::PlacementRequestFor(qsizetype nicCount)
{
    switch (nicCount) {
    case 1:
        return 14;
    case 2:
    case 5:
        return 12;
    case 3:
        return 13;
    default:
        return 11;
    }
}

void CDrawNic::AppendAdapterName(QStringList& lines) const
{
    if (m_strMac.isEmpty() || !m_pNicOwner)
        return;
    // Adapter lines read "MAC//adapter name".
    for (const QString& entry : std::as_const(m_pNicOwner->m_astrMacLines)) {
        const qsizetype slash = entry.indexOf(QLatin1Char('/'));
        if (slash >= 0 && entry.left(slash) == m_strMac) {
            lines.append(entry.mid(slash + 2));
            return;
        }
    }
}

QStringList CDrawNic::AddressLines()
{
    QStringList lines;
    for (quint32 address : std::as_const(m_adwAddresses))
        lines.append(DottedAddress(address));
    if (!m_adwAddresses.isEmpty() && m_pNicOwner) {
        const auto found = m_pNicOwner->m_mapIpToMac.constFind(m_adwAddresses.last());
        if (found != m_pNicOwner->m_mapIpToMac.constEnd()) {
            m_strMac = found.value();
            if (!m_strMac.contains(kNoAddressMark))
                lines.append(m_strMac);
        }
    }
    return lines;
}

void CDrawNic::SetAddresses(const QList<quint32>& addresses)
{
    m_adwAddresses = addresses;
    QStringList lines = AddressLines();
    AppendAdapterName(lines);
    CreateNicLabel(lines, PlacementRequestFor(m_pNicOwner ? m_pNicOwner->m_nics.size() : 0));
    RecalcExtent();
}

void CDrawNic::SetAddressText(const QString& text)
{
    QStringList lines{text, m_strMac};
    AppendAdapterName(lines);
    CreateNicLabel(lines, PlacementRequestFor(m_pNicOwner ? m_pNicOwner->m_nics.size() : 0));
    RecalcExtent();
}

void CDrawNic::SetAddressesWithArp(const QList<quint32>& addresses, int nRequest,
                                   const NeighbourLookup* lookup)
{
    m_adwAddresses = addresses;
    QStringList lines;
    for (quint32 address : std::as_const(m_adwAddresses))
        lines.append(DottedAddress(address));
    if (!m_adwAddresses.isEmpty() && lookup) {
        if (const std::optional<QString> mac = lookup->hardwareAddress(m_adwAddresses.last())) {
            lines.append(*mac);
            m_strMac = *mac;
        }
    }
    CreateNicLabel(lines, nRequest);
}

void CDrawNic::AddTwoLineLabel(const QString& first, const QString& second, int nRequest)
{
    CreateNicLabel({first, second}, nRequest);
}

void CDrawNic::ReplaceAddresses(const QList<quint32>& addresses)
{
    m_adwAddresses = addresses;
}

void CDrawNic::RebuildLabel()
{
    QStringList lines;
    for (quint32 address : std::as_const(m_adwAddresses))
        lines.append(DottedAddress(address));
    if (!m_adwAddresses.isEmpty())
        lines.append(m_strMac);
    if (m_nicLabels.isEmpty() || !m_nicLabels.first())
        return;
    auto* label = static_cast<CDrawText*>(m_nicLabels.first());
    label->m_astrLines = lines;
    label->Layout(nullptr);
}

QString CDrawNic::GetFirstIpv6Address() const
{
    return Ipv6Addresses().value(0);
}

void CDrawNic::CreateNicLabel(const QStringList& lines, int nRequest)
{
    CDrawText* label = MakeLabel(this, lines, nRequest);
    if (!label)
        return;
    m_nicLabels.append(label);
    if (m_pNicOwner)
        m_pNicOwner->RecalcExtent();
}

void CDrawNic::CopyNicFields(CDrawNic* copy) const
{
    CopyBaseFieldsTo(copy);
    CopySystemFields(copy);
    copy->m_pNicOwner = m_pNicOwner;
    copy->m_adwAddresses = m_adwAddresses;
    copy->m_dwMask = m_dwMask;
    copy->m_dwGateway = m_dwGateway;
    copy->m_adwAdapterValue = m_adwAdapterValue;
    copy->m_strMac = m_strMac;
    copy->m_dwNicReserved = m_dwNicReserved;
}

CDrawObj* CDrawNic::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawNic(m_position);
    CopyNicFields(copy);
    copy->m_pDocument = document;
    if (document)
        document->AddObject(copy);
    for (const CDrawObj* connection : m_connections) {
        if (!connection)
            continue;
        auto* cloned = static_cast<CDrawConnect*>(connection->Clone(document));
        cloned->m_pFromNic = copy;
        cloned->m_pFromSys = copy->m_pNicOwner;
        copy->m_connections.append(cloned);
    }
    for (const CDrawObj* label : m_nicLabels) {
        if (!label)
            continue;
        auto* cloned = static_cast<CDrawText*>(label->Clone(document));
        cloned->SetOwner(copy);
        copy->m_nicLabels.append(cloned);
    }
    return copy;
}

void CDrawNic::DescribeTo(QJsonObject& out,
                          const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawSys::DescribeTo(out, indexOf);
    out["m_pNicOwner"] = qint64(indexOf(m_pNicOwner));
    out["m_adwAddresses"] = JsonFields::dwords(m_adwAddresses);
    out["m_dwMask"] = qint64(m_dwMask);
    out["m_dwGateway"] = qint64(m_dwGateway);
    out["m_adwAdapterValue"] =
        JsonFields::dwords(QList<quint32>(m_adwAdapterValue.cbegin(), m_adwAdapterValue.cend()));
    out["m_strMac"] = m_strMac;
    out["m_dwNicReserved"] = qint64(m_dwNicReserved);
    out["m_connections"] = IndexesOf(m_connections, indexOf);
    out["m_incoming"] = IndexesOf(m_incoming, indexOf);
    out["m_nicLabels"] = IndexesOf(m_nicLabels, indexOf);
    out["nicReserve"] = m_nicReserve.ToJson(indexOf);
}
