#include "LiteralMapConstruction.h"

#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "mapbuild/MapRebuild.h"
#include "objects/AsciiText.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawText.h"
#include "objects/NeighbourLookup.h"

#include <QStringList>

namespace {

const QString kForest = QStringLiteral("FOREST_TREE_TAVRIN");

bool same(const QString& a, const QString& b)
{
    return AsciiText::equalsIgnoringCase(a, b);
}

QString left(const QString& s, qsizetype n)
{
    return n < 0 ? QString() : s.left(n);
}

bool isForest(const CDrawObj* o)
{
    return o->GetName() == kForest;
}

bool isPlainSystem(const CDrawObj* o)
{
    return o->IsKindOf(CDrawSys::StaticClass()) && !o->IsKindOf(CDrawNic::StaticClass())
           && !o->IsKindOf(CDrawText::StaticClass());
}

QString className(const CDrawObj* o)
{
    if (o->IsKindOf(CDrawText::StaticClass()))
        return QStringLiteral("CDrawText");
    if (o->IsKindOf(CDrawConnect::StaticClass()))
        return QStringLiteral("CDrawConnect");
    if (o->IsKindOf(CDrawNic::StaticClass()))
        return QStringLiteral("CDrawNic");
    if (o->IsKindOf(CDrawSys::StaticClass()))
        return QStringLiteral("CDrawSys");
    if (o->IsKindOf(CDrawSegment::StaticClass()))
        return QStringLiteral("CDrawSegment");
    if (o->IsKindOf(CDrawDomain::StaticClass()))
        return QStringLiteral("CDrawDomain");
    if (o->IsKindOf(CDrawOleObj::StaticClass()))
        return QStringLiteral("CDrawOleObj");
    return QStringLiteral("クラス判定エラー");
}

int band(const CDrawObj* o)
{
    if (!o->IsKindOf(CDrawSys::StaticClass()))
        return -1;
    const int t = static_cast<const CDrawSys*>(o)->m_nTypeCode;
    const quint32 f = o->GetServerType();
    if (t == 7)
        return 0;
    if (t == 9)
        return 3;
    if (t == 8)
        return 4;
    if (t == 5 || t == 6 || t == 15 || t == 16 || t == 17) {
        if (f & 0x18)
            return 1;
        if (f & 0x83004EFC)
            return 2;
        return 5;
    }
    return -1;
}

class Arp : public NeighbourLookup {
public:
    explicit Arp(const QMap<QString, QString>& t)
        : table(t)
    {
    }
    std::optional<QString> hardwareAddress(quint32 a) const override
    {
        const QString key = CDrawNic::DottedAddress(a);
        if (!table.contains(key))
            return std::nullopt;
        return table.value(key);
    }
    const QMap<QString, QString>& table;
};

} // namespace

LiteralMapConstruction::LiteralMapConstruction(CNetDoc& document, StatusSink status)
    : m_document(document)
    , m_status(std::move(status))
{
}

void LiteralMapConstruction::MakeDomain(CNetDoc& document, const StatusSink& status)
{
    LiteralMapConstruction run(document, status);
    try {
        run.Run();
    } catch (const ArchiveException&) {
    }
}

void LiteralMapConstruction::Run()
{
    QList<CDrawObj*>& objects = m_document.m_objects;
    QMap<QString, QString>& hosts = m_document.m_survey.DomainOfHost;
    // 1
    for (CDrawObj* o : objects) {
        if (o->GetFqdn().isEmpty() || !o->GetName().isEmpty())
            continue;
        for (auto it = hosts.begin(); it != hosts.end(); ++it) {
            if (same(it.key(), o->GetUncName()))
                o->SetName(it.value());
        }
    }
    // 2
    for (CDrawObj* o : objects) {
        const QString h = o->GetFqdn();
        const qsizetype dot = h.indexOf('.');
        if (h.startsWith(QStringLiteral("\\\\")) || h.isEmpty() || dot < 3)
            continue;
        for (auto it = hosts.begin(); it != hosts.end(); ++it) {
            if (same(it.key(), o->GetUncName()))
                m_dnsSuffixTable[it.value()] = h.mid(dot + 1);
        }
    }
    // 3
    for (auto pair = m_dnsSuffixTable.begin(); pair != m_dnsSuffixTable.end(); ++pair) {
        for (auto it = hosts.begin(); it != hosts.end(); ++it) {
            if (it.value() == pair.key())
                it.value() = pair.value();
        }
    }
    AnalyseObjects();
    JoinDomains();
    AttachSegments();
    // 7
    m_status(QStringLiteral("システム内の描画位置作成しています。"));
    bool forestFound = false;
    for (CDrawObj* o : objects) {
        if (isForest(o)) {
            forestFound = true;
            LayoutForest(m_document, *static_cast<CDrawDomain*>(o));
            break;
        }
    }
    LayoutLoose(m_document);
    if (forestFound)
        ConnectAllInterfaces(m_document);
    // 8
    m_status(QStringLiteral("共有リソースプリンタの位置変更しています。"));
    RepositionPrinters(m_document);
    // 9
    if (m_dnsSuffixTable.isEmpty())
        return;
    for (CDrawObj* o : objects) {
        const QString n = o->GetName();
        if (n.isEmpty() || n == kForest)
            continue;
        if (m_dnsSuffixTable.contains(n) && !m_dnsSuffixTable.value(n).isEmpty())
            o->SetName(m_dnsSuffixTable.value(n));
    }
}

void LiteralMapConstruction::AnalyseObjects()
{
    m_status(QStringLiteral("調査結果を分析しています。"));
    QList<CDrawObj*>& objects = m_document.m_objects;
    qsizetype i = 0;
    while (i < objects.size()) {
        CDrawObj* obj = objects.at(i);
        for (int k = 0; k < obj->GetSharedPrinterCount(); ++k)
            CreateSharedPrinter(*static_cast<CDrawSys*>(obj), obj->GetSharedPrinterAt(k));
        const quint32 gw = obj->GetGateway();
        if (gw != 0) {
            auto* nic = static_cast<CDrawNic*>(obj);
            if (!nic->m_adwAddresses.contains(gw))
                HandleGateway(*nic, gw);
        }
        const QString d = obj->GetName();
        bool made = false;
        for (const QString& c : std::as_const(m_createdDomains))
            made = made || same(c, d);
        if (!d.isEmpty() && !made)
            CreateDomain(d);
        // Domains go to the head: the walk goes on after the object.
        i = objects.indexOf(obj) + 1;
    }
}

void LiteralMapConstruction::CreateSharedPrinter(CDrawSys& sharer, const QString& share)
{
    const qsizetype k = share.size() < 2 ? -1 : share.indexOf('\\', 2);
    const QString hostPart = left(share, k);
    CDrawSys* owner = &sharer;
    for (CDrawObj* o : m_document.m_objects) {
        if (!hostPart.isEmpty() && isPlainSystem(o) && same(o->GetUncName(), hostPart)) {
            owner = static_cast<CDrawSys*>(o);
            break;
        }
    }
    m_status(QStringLiteral("共有リソースプリンタの作成をしています。"));
    auto* p = new CDrawSys(*CDrawSys::DefaultRect(&m_document, 9));
    m_document.m_objects.append(p);
    p->m_pDocument = &m_document;
    p->m_pMainWnd = sharer.m_pMainWnd;
    owner->AddSubSystem(p);
    p->m_strFqdn = share;
    p->SetOwner(owner);
    QStringList lines{share};
    for (const QString& d : std::as_const(owner->m_astrShareLines)) {
        const qsizetype s = d.indexOf('/');
        if (same(owner->GetUncName() + "\\" + left(d, s), share)) {
            lines << d.mid(s + 2);
            break;
        }
    }
    p->CreateLabel(lines, 12);
    p->SetShapeKind(10);
}

bool LiteralMapConstruction::IsKnown(quint32 address) const
{
    for (CDrawObj* o : m_document.m_objects) {
        for (int i = 0; i < o->GetAddressCount(); ++i) {
            if (o->GetAddressAt(i) == address)
                return true;
        }
    }
    return false;
}

bool LiteralMapConstruction::BearsGatewayName(const CDrawObj* o) const
{
    const QString& n = m_document.m_survey.GatewayHostName;
    return o->IsKindOf(CDrawSys::StaticClass())
           && (o->GetFqdn().contains(n) || same(o->GetFqdn(), n));
}

CDrawNic* LiteralMapConstruction::NewInterface(CDrawSys& system)
{
    auto* nic = new CDrawNic(Rect{});
    m_document.m_objects.append(nic);
    system.m_nics.append(nic);
    nic->m_pDocument = &m_document;
    nic->SetOwner(&system);
    return nic;
}

void LiteralMapConstruction::AddGatewayInterface(CDrawSys& system, quint32 gateway, int nRequest)
{
    CDrawNic* nic = NewInterface(system);
    const Arp arp(m_document.m_survey.ArpTable);
    nic->SetAddressesWithArp({gateway}, nRequest, &arp);
    system.RecalcExtent();
}

CDrawSys* LiteralMapConstruction::NewGatewaySystem(int typeCode, const CDrawNic& nic)
{
    SurveyResults& survey = m_document.m_survey;
    auto* r = new CDrawSys(*CDrawSys::DefaultRect(&m_document, typeCode));
    m_document.m_objects.append(r);
    r->m_pDocument = &m_document;
    r->m_pMainWnd = nic.m_pMainWnd;
    r->SetShapeKind(typeCode + 1);
    if (survey.GatewayHostName.isEmpty()) {
        const QString h = nic.GetOwner() ? nic.GetOwner()->GetFqdn() : QString();
        const qsizetype dot = h.indexOf('.');
        survey.GatewayHostName = "router." + (dot < 0 ? h : h.mid(dot + 1));
    }
    if (survey.GatewayInfoLines.size() >= 1)
        r->DeviceInfoLines() = survey.GatewayInfoLines;
    r->SetFqdn(survey.GatewayHostName);
    return r;
}

void LiteralMapConstruction::Register(CDrawSys& router)
{
    const QString n = m_document.m_survey.GatewayHostName;
    const qsizetype dot = n.indexOf('.');
    const QString suffix = dot < 0 ? n : n.mid(dot + 1);
    const qsizetype dot2 = suffix.indexOf('.');
    const QString first = dot2 < 0 ? QString() : suffix.left(dot2);
    const QString unc = "\\\\" + (dot < 0 ? QString() : n.left(dot));
    router.SetName(suffix);
    m_document.m_survey.DomainOfHost[unc] = first;
    m_dnsSuffixTable[first] = suffix;
}

void LiteralMapConstruction::HandleGateway(CDrawNic& nic, quint32 gw)
{
    SurveyResults& survey = m_document.m_survey;
    const quint32 shape = survey.GatewayShape;
    if (shape == 0 || shape == 1) {
        if (!IsKnown(gw) && !survey.GatewayHostName.isEmpty()) {
            const QList<CDrawObj*> objects = m_document.m_objects;
            for (CDrawObj* o : objects) {
                if (BearsGatewayName(o))
                    AddGatewayInterface(*static_cast<CDrawSys*>(o), gw, 14);
            }
        }
        if (IsKnown(gw)) {
            for (CDrawObj* o : m_document.m_objects) {
                if (o->IsKindOf(CDrawNic::StaticClass())
                    && static_cast<CDrawNic*>(o)->m_adwAddresses.contains(gw))
                    o->GetOwner()->SetShapeKind(shape == 0 ? 8 : 6);
            }
            return;
        }
        CDrawSys* r = NewGatewaySystem(shape == 1 ? 5 : 7, nic);
        CDrawNic* inner = NewInterface(*r);
        Register(*r);
        const Arp arp(survey.ArpTable);
        inner->SetAddressesWithArp({gw}, 11, &arp);
        r->RecalcExtent();
        return;
    }
    if (IsKnown(gw))
        return;
    m_status(QStringLiteral("デフォルトゲートウェイ識別のため応答を待っています。"));
    if (!survey.GatewayHostName.isEmpty()) {
        m_status(QStringLiteral(
            "調査で見えなかったルーティングを行っているホストにNICの追加しています。"));
        for (CDrawObj* o : m_document.m_objects) {
            if (BearsGatewayName(o)) {
                AddGatewayInterface(*static_cast<CDrawSys*>(o), gw, 14);
                return;
            }
        }
    }
    m_status(QStringLiteral("ルーターを作成しています。"));
    CDrawSys* r = NewGatewaySystem(7, nic);
    CDrawNic* inner = NewInterface(*r);
    if (survey.GatewayExternalAddress != 0)
        NewInterface(*r)->AddTwoLineLabel(QStringLiteral("External IP Address"),
                                          survey.GatewayExternalAddressText, 11);
    Register(*r);
    const Arp arp(survey.ArpTable);
    inner->SetAddressesWithArp({gw}, survey.GatewayExternalAddress != 0 ? 14 : 11, &arp);
    r->RecalcExtent();
}

void LiteralMapConstruction::CreateDomain(const QString& d)
{
    m_status(QStringLiteral("ドメインを作成しました。"));
    m_createdDomains << d;
    auto* domain = new CDrawDomain(Rect{});
    m_document.m_objects.prepend(domain);
    domain->m_pDocument = &m_document;
    domain->SetName(d);
    for (CDrawObj* o : m_document.m_objects) {
        if (isForest(o))
            domain->SetOwner(o);
    }
    if (m_nForestFlag == 1) {
        m_status(QStringLiteral("フォレストを作成しました。"));
        auto* forest = new CDrawDomain(Rect{});
        m_document.m_objects.prepend(forest);
        forest->m_pDocument = &m_document;
        forest->SetName(kForest);
        m_nForestFlag = 0;
        forest->SetOwner(nullptr);
        domain->SetOwner(forest);
    }
}

void LiteralMapConstruction::JoinDomains()
{
    m_status(QStringLiteral("システム情報を分析しています。"));
    const QList<CDrawObj*> objects = m_document.m_objects;
    for (CDrawObj* f : objects) {
        if (!isForest(f))
            continue;
        for (CDrawObj* d : objects) {
            if (d->GetName().isEmpty() || d->GetName() == kForest || !d->m_position.isNull())
                continue;
            f->AddSubDomain(d);
            for (CDrawObj* u : objects) {
                const bool member = u->GetName() == d->GetName() || u->GetName().isEmpty();
                const QString h = u->GetFqdn();
                const bool hosted
                    = u->GetOwner() && u->GetOwner()->IsKindOf(CDrawSys::StaticClass());
                if (!member || h.isEmpty() || h.startsWith(QStringLiteral("\\\\")) || hosted)
                    continue;
                CompleteHostName(*static_cast<CDrawSys*>(u), d->GetName());
                d->AddSystem(u);
                u->SetOwner(d);
            }
        }
    }
}

void LiteralMapConstruction::CompleteHostName(CDrawSys& u, const QString& domain)
{
    const QString h = u.GetFqdn();
    const qsizetype dot = h.indexOf('.');
    const QMap<QString, QString>& hosts = m_document.m_survey.DomainOfHost;
    if (same(h.mid(dot + 1).left(domain.size()), domain) || m_dnsSuffixTable.isEmpty()
        || h.contains('.') || !hosts.contains(u.GetUncName()))
        return;
    const QString name = h + "." + hosts.value(u.GetUncName());
    for (CDrawObj* o : u.m_labels) {
        auto* label = static_cast<CDrawText*>(o);
        if (!label->m_astrLines.isEmpty() && label->m_astrLines.first() == h) {
            QStringList lines = label->m_astrLines;
            lines[0] = name;
            label->m_position = label->SetLines(lines, 12);
            u.RecalcExtent();
        }
    }
    u.m_strFqdn = name;
}

void LiteralMapConstruction::AttachSegments()
{
    CDrawDomain* forest = nullptr;
    for (CDrawObj* o : m_document.m_objects) {
        if (isForest(o) && o->GetFqdn().isEmpty() && !o->GetName().isEmpty()) {
            forest = static_cast<CDrawDomain*>(o);
            break;
        }
    }
    if (!forest)
        return;
    for (CDrawObj* o : m_document.m_objects) {
        if (!o->IsKindOf(CDrawSegment::StaticClass()))
            continue;
        auto* q = static_cast<CDrawSegment*>(o);
        for (CDrawObj* b : m_document.m_objects) {
            if (b->GetGateway() == q->m_dwAddress) {
                q->SetOwner(forest);
                forest->m_segments.append(q);
                break;
            }
        }
    }
}

void LiteralMapConstruction::RepositionPrinters(CNetDoc& document)
{
    for (CDrawObj* o : document.m_objects) {
        if (o->IsKindOf(CDrawSys::StaticClass()))
            static_cast<CDrawSys*>(o)->RepositionPrinter();
    }
}

void LiteralMapConstruction::LayoutTree(CNetDoc& document, CDrawDomain& d)
{
    Rect e = d.m_rcExtent.normalized();
    CDrawObj* fr = nullptr;
    for (CDrawObj* o : document.m_objects) {
        if (isForest(o)) {
            fr = o;
            break;
        }
    }
    for (CDrawObj* x : d.m_systems) {
        const qint32 w = fr ? fr->m_rcExtent.right - fr->m_rcExtent.left : 0;
        x->m_position = x->m_position.translated(w, 0);
        x->m_rcExtent = x->m_rcExtent.translated(w, 0);
        static_cast<CDrawSys*>(x)->RecalcExtent();
        e = e.united(x->m_rcExtent.normalized());
        d.m_rcExtent = e;
    }
    for (CDrawObj* c : d.m_subDomains) {
        LayoutSystems(document, static_cast<CDrawDomain*>(c)->m_systems, c->m_nSpacing);
        LayoutTree(document, *static_cast<CDrawDomain*>(c));
        e = e.united(c->m_rcExtent.normalized());
        d.m_rcExtent = e;
    }
}

void LiteralMapConstruction::LayoutSystems(CNetDoc& document, const QList<CDrawObj*>& systems,
                                           qint32 S)
{
    document.UpdatePageSize();
    document.UpdatePageCount();
    const qint32 W = document.m_sizePage.cx;
    QList<Rect> rows[6];
    qint32 H[6] = {};
    for (CDrawObj* x : systems) {
        const int b = band(x);
        if (b < 0)
            continue;
        const Rect e = x->m_rcExtent.normalized();
        if (rows[b].isEmpty())
            rows[b].append(Rect{0, 0, 0, 0});
        const Rect last = rows[b].last();
        if (last.right + e.width() < W)
            rows[b].last() = Rect{last.left, last.top, last.right + e.width() + S,
                                  std::max(last.bottom, last.top + e.height())};
        else
            rows[b].append(Rect{0, last.bottom, e.width() + S, last.bottom + e.height()});
        H[b] = rows[b].last().bottom;
    }
    for (qint32& h : H) {
        if (h > 0)
            h += S;
    }
    for (int b = 0; b < 6; ++b) {
        qint32 y = S;
        for (int c = 0; c < b; ++c)
            y += H[c];
        for (qsizetype i = 0; i < rows[b].size(); ++i) {
            Rect& r = rows[b][i];
            r.right -= S;
            const qint32 dx = ((r.left - r.right) + W) / 2;
            r = Rect{r.left + dx, r.top + y, r.right + dx, r.bottom + y};
            if (i >= 1)
                H[b] += S;
        }
    }
    qsizetype current[6] = {};
    qint32 cursor[6] = {};
    for (CDrawObj* x : systems) {
        const int b = band(x);
        if (b < 0)
            continue;
        const Rect e = x->m_rcExtent.normalized();
        while (current[b] < rows[b].size()) {
            const qsizetype i = current[b];
            const Rect r = rows[b].at(i);
            if (cursor[b] + e.width() <= (r.right - r.left) + S) {
                const qint32 dx = r.left + cursor[b] - e.left;
                const qint32 dy = r.top + qint32(i) * S - e.top;
                x->m_position = x->m_position.translated(dx, dy);
                x->m_rcExtent = x->m_rcExtent.translated(dx, dy);
                cursor[b] += e.width() + S;
                break;
            }
            cursor[b] = 0;
            current[b] = i + 1;
        }
    }
}

void LiteralMapConstruction::ConnectAllInterfaces(CNetDoc& document)
{
    const QList<CDrawObj*> objects = document.m_objects;
    for (CDrawObj* o : objects) {
        if (!o->IsKindOf(CDrawNic::StaticClass()) || o->IsKindOf(CDrawConnect::StaticClass()))
            continue;
        auto* nic = static_cast<CDrawNic*>(o);
        CDrawNic* far = nullptr;
        for (CDrawObj* h : document.m_objects) {
            for (int i = 0; !far && nic->GetGateway() != 0 && i < h->GetAddressCount(); ++i) {
                if (h->GetAddressAt(i) == nic->GetGateway())
                    far = static_cast<CDrawNic*>(h);
            }
            if (far)
                break;
        }
        if (!far || far == nic || (nic->m_pNicOwner && far->m_pNicOwner == nic->m_pNicOwner))
            continue;
        auto* c = new CDrawConnect(Rect{});
        c->m_pDocument = &document;
        c->SetOwner(nic);
        c->AttachTo(far);
        nic->m_connections.append(c);
        document.m_objects.prepend(c);
    }
}

void LiteralMapConstruction::Regroup(CNetDoc& document, bool deleteConnections)
{
    QList<QPair<CDrawObj*, QString>> kept;
    const QList<CDrawObj*> objects = document.m_objects;
    for (CDrawObj* o : objects) {
        const QString name = className(o);
        if (deleteConnections && name == QStringLiteral("CDrawConnect")) {
            delete o;
            continue;
        }
        if (deleteConnections && name == QStringLiteral("CDrawSys"))
            static_cast<CDrawSys*>(o)->m_nLastHandle = 0;
        kept.append({o, name});
    }
    document.m_objects.clear();
    const QStringList order{"CDrawDomain", "CDrawConnect", "CDrawSegment", "CDrawSys",
                            "CDrawNic",    "CDrawText",    "CDrawOleObj"};
    for (const QString& name : order) {
        for (const auto& [o, n] : kept) {
            if (same(n, name))
                document.m_objects.append(o);
        }
    }
    for (const auto& [o, n] : kept) {
        if (!order.contains(n))
            document.m_objects.append(o);
    }
}

QList<CDrawObj*> LiteralMapConstruction::Loose(CNetDoc& document)
{
    QList<CDrawObj*> loose;
    for (CDrawObj* o : document.m_objects) {
        if (className(o) == QStringLiteral("CDrawSys") && !o->GetOwner())
            loose << o;
    }
    return loose;
}

void LiteralMapConstruction::LayoutForest(CNetDoc& document, CDrawDomain& forest)
{
    QList<CDrawObj*>& subs = forest.m_subDomains;
    for (qsizetype i = 0; i < subs.size(); ++i) {
        if (same(subs.at(i)->GetName(), QStringLiteral("WORKGROUP"))) {
            subs.append(subs.takeAt(i));
            break;
        }
    }
    LayoutTree(document, forest);
}

void LiteralMapConstruction::LayoutLoose(CNetDoc& document)
{
    const QList<CDrawObj*> loose = Loose(document);
    if (loose.isEmpty())
        return;
    LayoutSystems(document, loose, document.m_nObjectSpacing);
    qint32 shift = 0;
    for (CDrawObj* o : document.m_objects) {
        if (isForest(o)) {
            const Rect e = o->m_rcExtent.normalized();
            shift = e.isEmpty() ? 0 : std::max(e.right, 0);
            break;
        }
    }
    for (CDrawObj* x : loose) {
        x->m_position = x->m_position.translated(shift, 0);
        x->m_rcExtent = x->m_rcExtent.translated(shift, 0);
        static_cast<CDrawSys*>(x)->RecalcExtent();
    }
}

void LiteralMapConstruction::ToOrigin(CDrawObj* x)
{
    const Rect p = x->m_position;
    x->m_rcExtent = x->m_rcExtent.translated(-p.left, -p.top);
    x->m_position = x->m_position.translated(-p.left, -p.top);
    MapRebuild::PlaceAttachments(*static_cast<CDrawSys*>(x));
}

void LiteralMapConstruction::ResetPositions(CNetDoc& document)
{
    bool forestFound = false;
    for (CDrawObj* o : document.m_objects) {
        if (!isForest(o))
            continue;
        forestFound = true;
        auto* forest = static_cast<CDrawDomain*>(o);
        for (CDrawObj* c : forest->m_subDomains) {
            for (CDrawObj* x : static_cast<CDrawDomain*>(c)->m_systems)
                ToOrigin(x);
            c->m_position = c->m_rcExtent = Rect{};
        }
        forest->m_position = forest->m_rcExtent = Rect{};
    }
    if (forestFound) {
        for (CDrawObj* x : Loose(document))
            ToOrigin(x);
    }
    RepositionPrinters(document);
}

void LiteralMapConstruction::Layout(CNetDoc& document)
{
    for (CDrawObj* o : document.m_objects) {
        if (isForest(o)) {
            LayoutForest(document, *static_cast<CDrawDomain*>(o));
            LayoutLoose(document);
            break;
        }
    }
    RepositionPrinters(document);
}

void LiteralMapConstruction::Relayout(CNetDoc& document)
{
    if (document.m_objects.isEmpty())
        return;
    Regroup(document, true);
    ResetPositions(document);
    Layout(document);
    for (CDrawObj* o : QList<CDrawObj*>(document.m_objects)) {
        if (isForest(o))
            ConnectAllInterfaces(document);
    }
    Regroup(document, false);
}

void LiteralMapConstruction::Rewire(CNetDoc& document)
{
    Regroup(document, true);
    for (CDrawObj* o : QList<CDrawObj*>(document.m_objects)) {
        if (isForest(o))
            ConnectAllInterfaces(document);
    }
    Regroup(document, false);
}
