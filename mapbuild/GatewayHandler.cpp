#include "GatewayHandler.h"

#include "AddressHolders.h"
#include "MapNames.h"
#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawNic.h"

namespace {

const QString kRouterPrefix = QStringLiteral("router.");
const QString kExternalLine = QStringLiteral("External IP Address");
// Placement requests of interface labels: above and left of the system.
constexpr int kAbove = 11;
constexpr int kLeftOf = 14;
// SetShapeKind takes the type code plus one.
constexpr int kRouterKind = CDrawSys::kRouter + 1;
constexpr int kTowerKind = CDrawSys::kTower + 1;

} // namespace

GatewayHandler::GatewayHandler(CNetDoc& document, QMap<QString, QString>& dnsSuffixTable,
                               AddressHolders& holders, StatusSink status)
    : m_document(document)
    , m_dnsSuffixTable(dnsSuffixTable)
    , m_holders(holders)
    , m_status(std::move(status))
    , m_arp(document.m_survey.ArpTable)
{
}

void GatewayHandler::Handle(CDrawNic& nic, quint32 gateway)
{
    const quint32 shape = m_document.m_survey.GatewayShape;
    if (shape == kRouterShape || shape == kServerShape)
        HandleRouterOrServer(nic, gateway, shape);
    else
        HandleAutomatic(nic, gateway);
}

QList<CDrawSys*> GatewayHandler::TakeRegistered()
{
    return std::exchange(m_registered, {});
}

void GatewayHandler::HandleAutomatic(CDrawNic& nic, quint32 gateway)
{
    if (m_holders.IsKnown(gateway))
        return;
    m_status(QStringLiteral("デフォルトゲートウェイ識別のため応答を待っています。"));
    if (!m_document.m_survey.GatewayHostName.isEmpty()) {
        m_status(QStringLiteral(
            "調査で見えなかったルーティングを行っているホストにNICの追加しています。"));
        if (CDrawSys* host = FirstHostBearingGatewayName()) {
            AddGatewayInterface(*host, gateway, kLeftOf);
            return;
        }
    }
    m_status(QStringLiteral("ルーターを作成しています。"));
    CDrawSys* router = NewGatewaySystem(CDrawSys::kRouter, nic);
    CDrawNic* inner = NewInterface(*router);
    const SurveyResults& survey = m_document.m_survey;
    const bool external = survey.GatewayExternalAddress != 0;
    if (external)
        NewInterface(*router)->AddTwoLineLabel(kExternalLine, survey.GatewayExternalAddressText,
                                               kAbove);
    Register(*router);
    GiveAddress(*inner, gateway, external ? kLeftOf : kAbove);
    router->RecalcExtent();
}

void GatewayHandler::HandleRouterOrServer(CDrawNic& nic, quint32 gateway, quint32 shape)
{
    if (!m_holders.IsKnown(gateway) && !m_document.m_survey.GatewayHostName.isEmpty()) {
        for (CDrawSys* host : HostsBearingGatewayName())
            AddGatewayInterface(*host, gateway, kLeftOf);
    }
    if (m_holders.IsKnown(gateway)) {
        const int kind = shape == kRouterShape ? kRouterKind : kTowerKind;
        for (CDrawObj* holder : m_holders.HoldersOf(gateway)) {
            if (CDrawObj* owner = holder->GetOwner())
                owner->SetShapeKind(kind);
        }
        return;
    }
    CDrawSys* system
        = NewGatewaySystem(shape == kServerShape ? CDrawSys::kTower : CDrawSys::kRouter, nic);
    CDrawNic* inner = NewInterface(*system);
    Register(*system);
    GiveAddress(*inner, gateway, kAbove);
    system->RecalcExtent();
}

void GatewayHandler::AssignDefaultRouterName(const CDrawNic& nic)
{
    QString& name = m_document.m_survey.GatewayHostName;
    if (!name.isEmpty())
        return;
    const CDrawObj* owner = nic.GetOwner();
    name = kRouterPrefix + MapNames::afterFirstDot(owner ? owner->GetFqdn() : QString());
}

CDrawSys* GatewayHandler::NewGatewaySystem(int typeCode, const CDrawNic& nic)
{
    auto* system = new CDrawSys(CDrawSys::DefaultRect(&m_document, typeCode).value_or(Rect{}));
    m_document.m_objects.append(system);
    system->m_pDocument = &m_document;
    system->m_pMainWnd = nic.m_pMainWnd;
    system->SetShapeKind(typeCode + 1);
    AssignDefaultRouterName(nic);
    const QStringList& info = m_document.m_survey.GatewayInfoLines;
    if (!info.isEmpty())
        system->DeviceInfoLines() = info;
    system->SetFqdn(m_document.m_survey.GatewayHostName);
    return system;
}

CDrawNic* GatewayHandler::NewInterface(CDrawSys& system)
{
    auto* nic = new CDrawNic(Rect{});
    m_document.m_objects.append(nic);
    system.m_nics.append(nic);
    nic->m_pDocument = &m_document;
    nic->SetOwner(&system);
    return nic;
}

void GatewayHandler::GiveAddress(CDrawNic& nic, quint32 gateway, int nRequest)
{
    nic.SetAddressesWithArp({gateway}, nRequest, &m_arp);
    m_holders.Add(&nic);
}

void GatewayHandler::AddGatewayInterface(CDrawSys& system, quint32 gateway, int nRequest)
{
    GiveAddress(*NewInterface(system), gateway, nRequest);
    system.RecalcExtent();
}

void GatewayHandler::Register(CDrawSys& router)
{
    const QString& name = m_document.m_survey.GatewayHostName;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QString suffix = MapNames::afterFirstDot(name);
    const QString first = MapNames::leftOf(suffix, suffix.indexOf(QLatin1Char('.')));
    const QString unc = MapNames::kUncPrefix + MapNames::leftOf(name, dot);
    router.SetName(suffix);
    m_document.m_survey.DomainOfHost[unc] = first;
    m_dnsSuffixTable[first] = suffix;
    m_registered.append(&router);
}

bool GatewayHandler::BearsGatewayName(const CDrawObj* object) const
{
    const QString& name = m_document.m_survey.GatewayHostName;
    const QString host = object->GetFqdn();
    return host.contains(name) || AsciiText::equalsIgnoringCase(host, name);
}

CDrawSys* GatewayHandler::FirstHostBearingGatewayName() const
{
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (object->IsKindOf(CDrawSys::StaticClass()) && BearsGatewayName(object))
            return static_cast<CDrawSys*>(object);
    }
    return nullptr;
}

QList<CDrawSys*> GatewayHandler::HostsBearingGatewayName() const
{
    QList<CDrawSys*> hosts;
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (object->IsKindOf(CDrawSys::StaticClass()) && BearsGatewayName(object))
            hosts.append(static_cast<CDrawSys*>(object));
    }
    return hosts;
}
