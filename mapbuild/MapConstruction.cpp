#include "MapConstruction.h"

#include "AsciiKey.h"
#include "AutomaticLayout.h"
#include "InterfaceWiring.h"
#include "MapNames.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawText.h"

#include <algorithm>
#include <new>

namespace {

// Placement request of a host-name label: below the system.
constexpr int kHostNameLabel = 12;
constexpr int kPrinterKind = CDrawSys::kPrinter + 1;
// A DNS suffix is taken only from a name whose first dot is this far in.
constexpr qsizetype kMinimumDotPosition = 3;

// A device on the map, not one of the label, interface and connection
// classes that share its record.
CDrawSys* asSystem(CDrawObj* object)
{
    if (!object || !object->IsKindOf(CDrawSys::StaticClass())
        || object->IsKindOf(CDrawNic::StaticClass())
        || object->IsKindOf(CDrawText::StaticClass()))
        return nullptr;
    return static_cast<CDrawSys*>(object);
}

bool isUncName(const QString& name)
{
    return name.startsWith(MapNames::kUncPrefix);
}

// A system that joins a domain in the memberships: named, not by UNC path.
// A printer hanging on its host stays there, whatever its share is called.
bool canJoinDomain(const CDrawObj* object)
{
    const QString host = object->GetFqdn();
    const CDrawObj* owner = object->GetOwner();
    const bool hosted = owner && owner->IsKindOf(CDrawSys::StaticClass());
    return !host.isEmpty() && !isUncName(host) && !hosted;
}

using Listed = QList<QPair<qsizetype, CDrawObj*>>;

// Both lists merged in list order.
QList<CDrawObj*> mergedInListOrder(const Listed& a, const Listed& b)
{
    QList<CDrawObj*> merged;
    merged.reserve(a.size() + b.size());
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a.at(i).first < b.at(j).first))
            merged.append(a.at(i++).second);
        else
            merged.append(b.at(j++).second);
    }
    return merged;
}

} // namespace

QString MapConstruction::Headline()
{
    return QStringLiteral("システムの構成") + QStringLiteral(" の") + QStringLiteral("調査をします。");
}

void MapConstruction::MakeDomain(CNetDoc& document, const StatusSink& status)
{
    MapConstruction run(document, status ? status : [](const QString&) {});
    try {
        run.Run();
    } catch (const ArchiveException&) {
        // What was built so far stays; the survey's end goes on as usual.
    } catch (const std::bad_alloc&) {
    }
}

MapConstruction::MapConstruction(CNetDoc& document, StatusSink status)
    : m_document(document)
    , m_status(std::move(status))
    , m_gateways(document, m_dnsSuffixTable, m_holders, m_status)
{
}

void MapConstruction::Run()
{
    BuildIndexes();
    NameDomainsFromHostTable();
    RecordDnsSuffixes();
    RewriteHostTable();
    AnalyseObjects();
    JoinDomains();
    HangSegmentsUnderForest();
    LayoutAndWire();
    m_status(QStringLiteral("共有リソースプリンタの位置変更しています。"));
    AutomaticLayout::RepositionPrinters(m_document);
    UseDnsDomainNames();
}

void MapConstruction::BuildIndexes()
{
    const QMap<QString, QString>& hosts = m_document.m_survey.DomainOfHost;
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it)
        m_hostTableValues[AsciiKey::of(it.key())].append(it.value());
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        CDrawSys* system = asSystem(object);
        if (!system || system->m_strUncName.isEmpty())
            continue;
        const QString key = AsciiKey::of(system->m_strUncName);
        if (!m_systemsByUnc.contains(key))
            m_systemsByUnc.insert(key, system);
    }
    m_holders.Build(m_document.m_objects);
}

void MapConstruction::NameDomainsFromHostTable()
{
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (object->GetFqdn().isEmpty() || !object->GetName().isEmpty())
            continue;
        const QStringList values = m_hostTableValues.value(AsciiKey::of(object->GetUncName()));
        if (!values.isEmpty())
            object->SetName(values.last());
    }
}

void MapConstruction::RecordDnsSuffixes()
{
    for (const CDrawObj* object : std::as_const(m_document.m_objects)) {
        const QString host = object->GetFqdn();
        const qsizetype dot = host.indexOf(QLatin1Char('.'));
        if (host.isEmpty() || isUncName(host) || dot < kMinimumDotPosition)
            continue;
        const QString suffix = host.mid(dot + 1);
        for (const QString& domain : m_hostTableValues.value(AsciiKey::of(object->GetUncName())))
            m_dnsSuffixTable[domain] = suffix;
    }
}

void MapConstruction::RewriteHostTable()
{
    if (m_dnsSuffixTable.isEmpty())
        return;
    QMap<QString, QString>& hosts = m_document.m_survey.DomainOfHost;
    QHash<QString, QStringList> hostsByDomain;
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it)
        hostsByDomain[it.value()].append(it.key());
    // A rewritten entry may be rewritten again by a later pair, as when the
    // table is walked once per pair.
    for (auto pair = m_dnsSuffixTable.cbegin(); pair != m_dnsSuffixTable.cend(); ++pair) {
        const QStringList keys = hostsByDomain.take(pair.key());
        for (const QString& key : keys)
            hosts[key] = pair.value();
        hostsByDomain[pair.value()].append(keys);
    }
}

void MapConstruction::AnalyseObjects()
{
    m_status(QStringLiteral("調査結果を分析しています。"));
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (MapNames::isForest(object))
            m_listedForests.append(object);
    }
    // Objects appended meanwhile are visited too; those put at the head
    // move the walk on by one.
    for (m_nWalk = 0; m_nWalk < m_document.m_objects.size(); ++m_nWalk) {
        CDrawObj* object = m_document.m_objects.at(m_nWalk);
        CreateSharedPrinters(*object);
        HandleGateway(*object);
        const QString domain = object->GetName();
        if (!domain.isEmpty() && !m_createdDomains.contains(AsciiKey::of(domain)))
            CreateDomainFor(domain);
    }
}

void MapConstruction::CreateSharedPrinters(CDrawObj& object)
{
    if (!object.IsKindOf(CDrawSys::StaticClass()))
        return;
    auto& sharer = static_cast<CDrawSys&>(object);
    for (int i = 0; i < sharer.GetSharedPrinterCount(); ++i)
        CreateSharedPrinter(sharer, sharer.GetSharedPrinterAt(i));
}

CDrawSys* MapConstruction::HostOfShare(const QString& hostPart) const
{
    if (hostPart.isEmpty())
        return nullptr;
    return m_systemsByUnc.value(AsciiKey::of(hostPart));
}

void MapConstruction::CreateSharedPrinter(CDrawSys& sharer, const QString& share)
{
    const qsizetype slash = share.size() < 2 ? -1 : share.indexOf(QLatin1Char('\\'), 2);
    // A share whose host is not on the map hangs on the system sharing it.
    CDrawSys* host = HostOfShare(MapNames::leftOf(share, slash));
    CDrawSys& owner = host ? *host : sharer;
    m_status(QStringLiteral("共有リソースプリンタの作成をしています。"));
    auto* printer
        = new CDrawSys(CDrawSys::DefaultRect(&m_document, CDrawSys::kPrinter).value_or(Rect{}));
    m_document.m_objects.append(printer);
    printer->m_pDocument = &m_document;
    printer->m_pMainWnd = sharer.m_pMainWnd;
    owner.AddSubSystem(printer);
    printer->m_strFqdn = share;
    printer->SetOwner(&owner);
    QStringList lines{share};
    for (const QString& description : std::as_const(owner.m_astrShareLines)) {
        const qsizetype s = description.indexOf(QLatin1Char('/'));
        const QString path = owner.m_strUncName + QLatin1Char('\\') + MapNames::leftOf(description, s);
        if (AsciiText::equalsIgnoringCase(path, share)) {
            lines.append(description.mid(s + 2));
            break;
        }
    }
    printer->CreateLabel(lines, kHostNameLabel);
    printer->SetShapeKind(kPrinterKind);
}

void MapConstruction::HandleGateway(CDrawObj& object)
{
    const quint32 gateway = object.GetGateway();
    if (gateway == 0 || !object.IsKindOf(CDrawNic::StaticClass()))
        return;
    auto& nic = static_cast<CDrawNic&>(object);
    // The survey gives an adapter without a gateway its own address as one;
    // that is no gateway to place.
    if (nic.m_adwAddresses.contains(gateway))
        return;
    m_gateways.Handle(nic, gateway);
    for (CDrawSys* registered : m_gateways.TakeRegistered()) {
        if (MapNames::isForest(registered))
            m_tailForests.append(registered);
    }
}

CDrawObj* MapConstruction::LastForest() const
{
    if (!m_tailForests.isEmpty())
        return m_tailForests.last();
    if (!m_listedForests.isEmpty())
        return m_listedForests.last();
    // The earliest made of those at the head sits last among them.
    return m_headForests.isEmpty() ? nullptr : m_headForests.first();
}

void MapConstruction::CreateDomainFor(const QString& name)
{
    m_status(QStringLiteral("ドメインを作成しました。"));
    m_createdDomains.insert(AsciiKey::of(name));
    auto* domain = new CDrawDomain(Rect{});
    m_document.m_objects.prepend(domain);
    ++m_nWalk;
    domain->m_pDocument = &m_document;
    domain->SetName(name);
    if (MapNames::isForest(domain))
        m_headForests.append(domain);
    domain->SetOwner(LastForest());
    if (!m_bForestPending)
        return;
    m_status(QStringLiteral("フォレストを作成しました。"));
    auto* forest = new CDrawDomain(Rect{});
    m_document.m_objects.prepend(forest);
    ++m_nWalk;
    forest->m_pDocument = &m_document;
    forest->SetName(MapNames::kForest);
    m_headForests.append(forest);
    m_bForestPending = false;
    forest->SetOwner(nullptr);
    domain->SetOwner(forest);
}

void MapConstruction::JoinDomains()
{
    m_status(QStringLiteral("システム情報を分析しています。"));
    QList<CDrawObj*> forests;
    QList<CDrawObj*> domains;
    QHash<QString, Listed> joinersByDomain;
    Listed unnamedJoiners;
    const QList<CDrawObj*>& objects = m_document.m_objects;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        CDrawObj* object = objects.at(i);
        const QString name = object->GetName();
        if (MapNames::isForest(object))
            forests.append(object);
        else if (!name.isEmpty() && object->m_position.isNull())
            domains.append(object);
        if (!canJoinDomain(object))
            continue;
        if (name.isEmpty())
            unnamedJoiners.append({i, object});
        else
            joinersByDomain[name].append({i, object});
    }
    for (CDrawObj* forest : std::as_const(forests)) {
        for (CDrawObj* domain : std::as_const(domains)) {
            forest->AddSubDomain(domain);
            JoinDomain(*static_cast<CDrawDomain*>(domain),
                       mergedInListOrder(joinersByDomain.value(domain->GetName()), unnamedJoiners));
        }
    }
}

void MapConstruction::JoinDomain(CDrawDomain& domain, const QList<CDrawObj*>& members)
{
    for (CDrawObj* member : members) {
        if (member->IsKindOf(CDrawSys::StaticClass()))
            CompleteHostName(*static_cast<CDrawSys*>(member), domain);
        domain.AddSystem(member);
        member->SetOwner(&domain);
    }
}

void MapConstruction::CompleteHostName(CDrawSys& system, const CDrawDomain& domain)
{
    const QString host = system.m_strFqdn;
    const QString& name = domain.m_strName;
    const QMap<QString, QString>& hosts = m_document.m_survey.DomainOfHost;
    const auto entry = hosts.constFind(system.m_strUncName);
    if (AsciiText::equalsIgnoringCase(MapNames::afterFirstDot(host).left(name.size()), name)
        || m_dnsSuffixTable.isEmpty() || host.contains(QLatin1Char('.'))
        || entry == hosts.constEnd())
        return;
    const QString completed = host + QLatin1Char('.') + entry.value();
    for (CDrawObj* object : std::as_const(system.m_labels)) {
        if (!object || !object->IsKindOf(CDrawText::StaticClass()))
            continue;
        auto* label = static_cast<CDrawText*>(object);
        if (label->m_astrLines.isEmpty() || label->m_astrLines.first() != host)
            continue;
        QStringList lines = label->m_astrLines;
        lines.first() = completed;
        label->m_position = label->SetLines(lines, kHostNameLabel);
        system.RecalcExtent();
    }
    system.m_strFqdn = completed;
}

void MapConstruction::HangSegmentsUnderForest()
{
    CDrawDomain* forest = nullptr;
    QSet<quint32> gateways;
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (!forest && MapNames::isForest(object) && object->GetFqdn().isEmpty())
            forest = static_cast<CDrawDomain*>(object);
        gateways.insert(object->GetGateway());
    }
    if (!forest)
        return;
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (!object->IsKindOf(CDrawSegment::StaticClass()))
            continue;
        auto* segment = static_cast<CDrawSegment*>(object);
        if (!gateways.contains(segment->m_dwAddress))
            continue;
        segment->SetOwner(forest);
        forest->m_segments.append(segment);
    }
}

void MapConstruction::LayoutAndWire()
{
    m_status(QStringLiteral("システム内の描画位置作成しています。"));
    AutomaticLayout layout(m_document);
    const auto forest = std::find_if(m_document.m_objects.cbegin(), m_document.m_objects.cend(),
                                     MapNames::isForest);
    if (forest != m_document.m_objects.cend())
        layout.LayoutWorkgroupLast(*static_cast<CDrawDomain*>(*forest));
    layout.LayoutLooseSystems();
    if (forest != m_document.m_objects.cend())
        InterfaceWiring::ConnectAllInterfaces(m_document);
}

void MapConstruction::UseDnsDomainNames()
{
    if (m_dnsSuffixTable.isEmpty())
        return;
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        const QString name = object->GetName();
        if (name.isEmpty() || name == MapNames::kForest)
            continue;
        const QString suffix = m_dnsSuffixTable.value(name);
        if (!suffix.isEmpty())
            object->SetName(suffix);
    }
}
