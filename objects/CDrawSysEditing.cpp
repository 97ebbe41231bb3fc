// A system edited by hand: the property sheet opens on plain systems only,
// and a device just drawn gets a name, a domain and an interface to edit.
#include "CDrawSys.h"

#include "CDrawNic.h"
#include "CDrawSegment.h"
#include "DrawView.h"
#include "document/CNetDoc.h"

#include <QSet>

#include <atomic>

namespace {

const QString kTemporaryDomain = QStringLiteral("TEMP");

// A MAC text that no adapter has: "te-mp-" and a number of this run.
QString TemporaryMac()
{
    static std::atomic<quint32> next{1};
    const QString digits = QStringLiteral("%1").arg(next++, 8, 16, QLatin1Char('0'));
    return QStringLiteral("te-mp-%1-%2-%3-%4")
        .arg(digits.mid(0, 2), digits.mid(2, 2), digits.mid(4, 2), digits.mid(6, 2));
}

QSet<quint32> AddressesInUse(const CNetDoc& document)
{
    QSet<quint32> used;
    for (const CDrawObj* object : document.m_objects)
        for (int i = 0; i < object->GetAddressCount(); ++i)
            used.insert(object->GetAddressAt(i));
    return used;
}

} // namespace

void CDrawSys::EditProperties(DrawView* view)
{
    if (view)
        view->openPropertySheet(this);
}

void CDrawSys::LeaveOwner()
{
    if (m_pOwnerSys)
        m_pOwnerSys->m_subSystems.removeAll(this);
    else if (m_pOwnerDomain)
        m_pOwnerDomain->m_systems.removeAll(this);
    SetOwner(nullptr);
}

bool CDrawSys::NeedsProvisioning() const
{
    return m_strFqdn.isEmpty() && !m_pOwnerDomain && m_nTypeCode != kPrinter && m_nTypeCode != kHub;
}

void CDrawSys::ProvisionForEditing()
{
    if (!m_pDocument || !NeedsProvisioning())
        return;
    CNetDoc& document = *m_pDocument;
    CDrawDomain* domain = document.FindDomain(kTemporaryDomain);
    if (!domain)
        domain = document.CreateDomain(kTemporaryDomain);
    SetOwner(domain);
    domain->AddSystem(this);
    m_strFqdn = QString::number(domain->m_systems.size(), 16) + QLatin1Char('.') + kTemporaryDomain;

    const CDrawDomain* forest = document.FindDomain(QString());
    if (!forest || forest->m_segments.isEmpty() || !forest->m_segments.first()
        || !forest->m_segments.first()->IsKindOf(CDrawSegment::StaticClass()))
        return;
    const auto* segment = static_cast<const CDrawSegment*>(forest->m_segments.first());
    const QSet<quint32> used = AddressesInUse(document);
    const quint32 broadcast = CDrawSegment::HostOrder(segment->m_dwBroadcast);
    for (quint32 host = CDrawSegment::HostOrder(segment->m_dwNetwork) + 1; host < broadcast; ++host) {
        const quint32 address = CDrawSegment::NetworkOrder(host);
        if (used.contains(address))
            continue;
        document.CreateNic(this, {address}, segment->m_dwMask, segment->m_dwAddress, TemporaryMac());
        return;
    }
}
