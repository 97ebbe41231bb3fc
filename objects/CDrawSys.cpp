#include "CDrawSys.h"

#include "AsciiText.h"
#include "CDrawConnect.h"
#include "CDrawNic.h"
#include "CDrawText.h"
#include "DevicePictures.h"
#include "GdiMapping.h"
#include "DrawView.h"
#include "ServerRoles.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPaintDevice>
#include <QPainter>
#include <QtEndian>

VX_IMPLEMENT_SERIAL(CDrawSys, &CDrawDomain::classInfoCDrawDomain)

namespace {

// Reserve arrays of a system.
constexpr int kRoleFlagsArray = 0;
constexpr int kWmiListingArray = 1;
constexpr int kDeviceInfoArray = 2;

// SetShapeKind takes the type code plus one.
constexpr int kPrinterKind = CDrawSys::kPrinter + 1;

// Type codes of the device page's kinds 0 to 8.
constexpr std::array<int, 9> kPageTypeCodes{
    CDrawSys::kTower,    CDrawSys::kDesktop,  CDrawSys::kPrinter,
    CDrawSys::kPrinter,  CDrawSys::kRouter,   CDrawSys::kHub,
    CDrawSys::kNotebook, CDrawSys::kPocketPc, CDrawSys::kRackMount,
};

// The eight strings of the record, in file order.
using Text = QString CDrawSys::*;
const std::array<Text, 8> kRecordStrings{
    &CDrawSys::m_strOs,          &CDrawSys::m_strFqdn,
    &CDrawSys::m_strServerName,  &CDrawSys::m_strServerComment,
    &CDrawSys::m_strServerName2, &CDrawSys::m_strServerComment2,
    &CDrawSys::m_strExtra1,      &CDrawSys::m_strExtra2,
};

// A raw block of DWORDs. Loading does not check the length: a short block
// keeps the rest of the values, and the next read reports the end of file.
template <size_t N>
void serializeDwordBlock(Archive& ar, std::array<quint32, N>& values)
{
    std::array<uchar, 4 * N> bytes;
    for (size_t i = 0; i < N; ++i)
        qToLittleEndian(values[i], bytes.data() + 4 * i);
    if (ar.IsStoring()) {
        ar.writeRaw(bytes.data(), qsizetype(bytes.size()));
        return;
    }
    ar.readRawUnchecked(bytes.data(), qsizetype(bytes.size()));
    for (size_t i = 0; i < N; ++i)
        values[i] = qFromLittleEndian<quint32>(bytes.data() + 4 * i);
}

template <size_t N>
void serializeByteBlock(Archive& ar, std::array<quint8, N>& bytes)
{
    if (ar.IsStoring())
        ar.writeRaw(bytes.data(), qsizetype(N));
    else
        ar.readRawUnchecked(bytes.data(), qsizetype(N));
}

template <size_t N>
QJsonArray dwordBlockJson(const std::array<quint32, N>& values)
{
    return JsonFields::dwords(QList<quint32>(values.begin(), values.end()));
}

template <size_t N>
QString byteBlockJson(const std::array<quint8, N>& bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(N)).toHex());
}

} // namespace

CDrawSys::CDrawSys() = default;

CDrawSys::CDrawSys(const Rect& position)
    : CDrawDomain(position)
{
}

CDrawSys::~CDrawSys()
{
    DestroyOwned();
}

// --- record -----------------------------------------------------------------

void CDrawSys::Serialize(Archive& ar)
{
    CDrawDomain::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeWord(quint16(m_nTypeCode));
        ar.writePoint(m_ptRoundness);
        ar.writeBoolAsWord(m_bNtFamily);
        ar.writeWord(m_wReserved2);
        ar.writeObject(m_pOwnerDomain);
        ar.writeObject(m_pOwnerSys);
        ar.writeDword(m_dwServerType);
        ar.writeInt(m_nOsMajor);
        ar.writeInt(m_nOsMinor);
        ar.writeInt(m_nLastHandle);
        ar.writeInt(m_nChassisType);
        for (Text text : kRecordStrings)
            ar.writeString(this->*text);
        SerializeRawBlocks(ar);
        ar.writeWord(m_wServerInfoOk);
        ar.writeWord(m_wServerTypeNames);
        ar.writeWord(m_wReservedFlag);
    } else {
        m_nTypeCode = ar.readWord();
        m_ptRoundness = ar.readPoint();
        m_bNtFamily = ar.readBoolFromWord();
        m_wReserved2 = ar.readWord();
        m_pOwnerDomain = ar.readObjectOf<CDrawDomain>();
        m_pOwnerSys = ar.readObjectOf<CDrawSys>();
        m_dwServerType = ar.readDword();
        m_nOsMajor = ar.readInt();
        m_nOsMinor = ar.readInt();
        m_nLastHandle = ar.readInt();
        m_nChassisType = ar.readInt();
        for (Text text : kRecordStrings)
            this->*text = ar.readString();
        SerializeRawBlocks(ar);
        m_wServerInfoOk = ar.readWord();
        m_wServerTypeNames = ar.readWord();
        m_wReservedFlag = ar.readWord();
        UpdateOwner();
    }
    ar.serialize(m_astrReserved1);
    ar.serialize(m_astrRoles);
    ar.serialize(m_astrSharedPrinters);
    ar.serializeObjectList(m_labels, CDrawObj::StaticClass());
    ar.serializeObjectList(m_subSystems, CDrawObj::StaticClass());
    ar.serializeObjectList(m_nics, CDrawObj::StaticClass());
    SerializeAdapterAddresses(ar);
    // The masks are not saved.
    for (int n = kGatewayArray; n <= kLastValueArray; ++n)
        ar.serialize(AdapterArray(n));
    ar.serialize(m_adwReserved2);
    ar.serialize(m_astrReserved2);
    ar.serialize(m_astrServerNotes);
    m_sysReserve.Serialize(ar);
}

void CDrawSys::SerializeRawBlocks(Archive& ar)
{
    serializeDwordBlock(ar, m_serverInfo101);
    serializeDwordBlock(ar, m_serverInfo102);
    serializeByteBlock(ar, m_abReserved168);
    serializeByteBlock(ar, m_abReserved648);
}

void CDrawSys::SerializeAdapterAddresses(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.writeCount(quint64(m_adapterAddresses.size()));
        for (const auto& addresses : m_adapterAddresses)
            ar.writeObject(addresses.get());
        return;
    }
    const quint32 count = ar.readCount(2);
    m_adapterAddresses.clear();
    for (quint32 i = 0; i < count; ++i) {
        // The arrays read belong to the load and go with it; the system keeps
        // copies. A null entry stays as an empty list so that the adapter
        // indexes still match the gateways.
        const auto* loaded = ar.readObjectOf<CDWordArray>();
        m_adapterAddresses.push_back(
            std::make_unique<CDWordArray>(loaded ? loaded->m_values : QList<quint32>{}));
    }
}

void CDrawSys::DescribeTo(QJsonObject& out,
                          const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawDomain::DescribeTo(out, indexOf);
    out["m_nTypeCode"] = m_nTypeCode;
    out["m_ptRoundness"] = JsonFields::point(m_ptRoundness);
    out["m_bNtFamily"] = m_bNtFamily;
    out["m_wReserved2"] = m_wReserved2;
    out["m_pOwnerDomain"] = qint64(indexOf(m_pOwnerDomain));
    out["m_pOwnerSys"] = qint64(indexOf(m_pOwnerSys));
    out["m_dwServerType"] = qint64(m_dwServerType);
    out["m_nOsMajor"] = m_nOsMajor;
    out["m_nOsMinor"] = m_nOsMinor;
    out["m_nLastHandle"] = m_nLastHandle;
    out["m_nChassisType"] = m_nChassisType;
    out["m_strOs"] = m_strOs;
    out["m_strFqdn"] = m_strFqdn;
    out["m_strServerName"] = m_strServerName;
    out["m_strServerComment"] = m_strServerComment;
    out["m_strServerName2"] = m_strServerName2;
    out["m_strServerComment2"] = m_strServerComment2;
    out["m_strExtra1"] = m_strExtra1;
    out["m_strExtra2"] = m_strExtra2;
    out["m_serverInfo101"] = dwordBlockJson(m_serverInfo101);
    out["m_serverInfo102"] = dwordBlockJson(m_serverInfo102);
    out["m_abReserved168"] = byteBlockJson(m_abReserved168);
    out["m_abReserved648"] = byteBlockJson(m_abReserved648);
    out["m_wServerInfoOk"] = m_wServerInfoOk;
    out["m_wServerTypeNames"] = m_wServerTypeNames;
    out["m_wReservedFlag"] = m_wReservedFlag;
    out["m_astrReserved1"] = JsonFields::strings(m_astrReserved1);
    out["m_astrRoles"] = JsonFields::strings(m_astrRoles);
    out["m_astrSharedPrinters"] = JsonFields::strings(m_astrSharedPrinters);
    out["m_labels"] = IndexesOf(m_labels, indexOf);
    out["m_subSystems"] = IndexesOf(m_subSystems, indexOf);
    out["m_nics"] = IndexesOf(m_nics, indexOf);
    QJsonArray adapters;
    for (const auto& addresses : m_adapterAddresses)
        adapters.append(JsonFields::dwords(addresses->m_values));
    out["m_adapterAddresses"] = adapters;
    out["m_adwGateways"] = JsonFields::dwords(m_adwGateways);
    for (int n = kFirstValueArray; n <= kLastValueArray; ++n)
        out[QStringLiteral("m_adwAdapterValue%1").arg(n)] = JsonFields::dwords(AdapterArray(n));
    out["m_adwReserved2"] = JsonFields::dwords(m_adwReserved2);
    out["m_astrReserved2"] = JsonFields::strings(m_astrReserved2);
    out["m_astrServerNotes"] = JsonFields::strings(m_astrServerNotes);
    out["sysReserve"] = m_sysReserve.ToJson(indexOf);
}

// --- ownership --------------------------------------------------------------

CDrawObj* CDrawSys::GetOwner() const
{
    return m_pOwner;
}

void CDrawSys::SetOwner(CDrawObj* owner)
{
    // Only domains and systems own systems; anything else clears the owner.
    m_pOwnerSys = nullptr;
    m_pOwnerDomain = nullptr;
    if (owner && owner->IsKindOf(CDrawSys::StaticClass()))
        m_pOwnerSys = static_cast<CDrawSys*>(owner);
    else if (owner && owner->IsKindOf(CDrawDomain::StaticClass()))
        m_pOwnerDomain = static_cast<CDrawDomain*>(owner);
    UpdateOwner();
}

void CDrawSys::UpdateOwner()
{
    m_pOwner = m_pOwnerSys ? static_cast<CDrawObj*>(m_pOwnerSys) : m_pOwnerDomain;
}

void CDrawSys::TakeOwned(QList<CDrawObj*>& owned)
{
    owned.append(std::exchange(m_labels, {}));
    owned.append(std::exchange(m_nics, {}));
    owned.append(std::exchange(m_subSystems, {}));
    CDrawDomain::TakeOwned(owned);
}

void CDrawSys::DetachFromOwners()
{
    if (m_pOwnerDomain)
        m_pOwnerDomain->m_systems.removeAll(this);
    if (m_pOwnerSys) {
        m_pOwnerSys->m_subSystems.removeAll(this);
        m_pOwnerSys->m_nics.removeAll(this);
        m_pOwnerSys->m_labels.removeAll(this);
    }
    CDrawDomain::DetachFromOwners();
}

void CDrawSys::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    CDrawDomain::ForgetObjects(gone);
    ForgetInList(m_labels, gone);
    ForgetInList(m_subSystems, gone);
    ForgetInList(m_nics, gone);
    if (gone.contains(m_pOwnerDomain))
        m_pOwnerDomain = nullptr;
    if (gone.contains(m_pOwnerSys))
        m_pOwnerSys = nullptr;
    UpdateOwner();
    ForgetInReserve(m_sysReserve, gone);
}

void CDrawSys::ReleaseLinks()
{
    m_pOwner = nullptr;
    m_pOwnerDomain = nullptr;
    m_pOwnerSys = nullptr;
    m_labels.clear();
    m_subSystems.clear();
    m_nics.clear();
    m_sysReserve.m_aobjLists.clear();
    CDrawDomain::ReleaseLinks();
}

QList<CDrawObj*> CDrawSys::AttachedObjects() const
{
    QList<CDrawObj*> attached = m_labels;
    for (CDrawObj* system : m_subSystems) {
        if (!system)
            continue;
        attached.append(system);
        if (system->IsKindOf(CDrawSys::StaticClass()))
            attached.append(static_cast<CDrawSys*>(system)->m_labels);
    }
    for (const CDrawObj* nic : m_nics) {
        if (nic && nic->IsKindOf(CDrawNic::StaticClass()))
            attached.append(static_cast<const CDrawNic*>(nic)->m_nicLabels);
    }
    attached.removeAll(nullptr);
    return attached;
}

void CDrawSys::DeleteLabels()
{
    DeleteTree(std::exchange(m_labels, {}));
}

void CDrawSys::AddLabel(CDrawObj* label)
{
    m_labels.append(label);
}

void CDrawSys::AddSubSystem(CDrawObj* system)
{
    m_subSystems.append(system);
}

// --- copying ----------------------------------------------------------------

void CDrawSys::CopySystemFields(CDrawSys* copy) const
{
    CopyDomainFields(copy);
    copy->m_pParent = m_pParent;
    copy->m_nTypeCode = m_nTypeCode;
    copy->m_ptRoundness = m_ptRoundness;
    copy->m_bNtFamily = m_bNtFamily;
    copy->m_wReserved2 = m_wReserved2;
    copy->m_dwServerType = m_dwServerType;
    copy->m_nOsMajor = m_nOsMajor;
    copy->m_nOsMinor = m_nOsMinor;
    copy->m_nLastHandle = m_nLastHandle;
    copy->m_nChassisType = m_nChassisType;
    for (Text text : kRecordStrings)
        copy->*text = this->*text;
    copy->m_strUncName = m_strUncName;
    copy->m_astrReserved1 = m_astrReserved1;
    copy->m_astrRoles = m_astrRoles;
    copy->m_astrSharedPrinters = m_astrSharedPrinters;
    copy->m_serverInfo102 = m_serverInfo102;
    copy->m_serverInfo101 = m_serverInfo101;
    copy->m_abReserved168 = m_abReserved168;
    copy->m_abReserved648 = m_abReserved648;
    for (const auto& addresses : m_adapterAddresses)
        copy->m_adapterAddresses.push_back(std::make_unique<CDWordArray>(addresses->m_values));
    for (int n = 0; n <= kLastValueArray; ++n)
        copy->AdapterArray(n) = AdapterArray(n);
    copy->m_wServerInfoOk = m_wServerInfoOk;
    copy->m_wServerTypeNames = m_wServerTypeNames;
    copy->m_wReservedFlag = m_wReservedFlag;
    copy->m_adwReserved2 = m_adwReserved2;
    copy->m_astrReserved2 = m_astrReserved2;
    copy->m_astrServerNotes = m_astrServerNotes;
    copy->m_astrDisplayLines = m_astrDisplayLines;
    copy->m_astrShareLines = m_astrShareLines;
    copy->m_astrMacLines = m_astrMacLines;
    copy->m_astrFailureLines = m_astrFailureLines;
    copy->m_mapIpToMac = m_mapIpToMac;
    // The inventory travels with the copy; the role flags are derived anew.
    if (!WmiListing().isEmpty())
        copy->WmiListing() = WmiListing();
    if (!DeviceInfoLines().isEmpty())
        copy->DeviceInfoLines() = DeviceInfoLines();
}

CDrawObj* CDrawSys::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawSys(m_position.translated(10, 10));
    CopySystemFields(copy);
    copy->m_pOwnerDomain = m_pOwnerDomain;
    copy->m_pOwnerSys = m_pOwnerSys;
    copy->UpdateOwner();
    if (m_pOwnerDomain)
        m_pOwnerDomain->AddSystem(copy);
    if (m_pOwnerSys)
        m_pOwnerSys->AddSubSystem(copy);
    CloneBaseInto(copy, document);
    copy->m_labels = CloneMembers(m_labels, copy, document);
    copy->m_subSystems = CloneMembers(m_subSystems, copy, document);
    copy->m_nics = CloneMembers(m_nics, copy, document);
    // The cloned interfaces' connections start at the copy.
    for (CDrawObj* nic : std::as_const(copy->m_nics)) {
        if (!nic || !nic->IsKindOf(CDrawNic::StaticClass()))
            continue;
        for (CDrawObj* connection : static_cast<CDrawNic*>(nic)->m_connections) {
            if (connection)
                static_cast<CDrawConnect*>(connection)->m_pFromSys = copy;
        }
    }
    copy->ComputeRoleFlags();
    return copy;
}

// --- kind and placement -----------------------------------------------------

std::optional<Rect> CDrawSys::DefaultRect(const CNetDoc* document, int typeCode)
{
    if (!document)
        return std::nullopt;
    Rect r;
    switch (typeCode) {
    case kTower:
    case kDesktop:
    case kRouter:
    case kHub:
    case kPrinter:
        r = document->m_rcDefaultSize[size_t(typeCode - kTower + 1)];
        break;
    case kNotebook:
    case kRackMount:
    case kPocketPc:
        r = document->m_rcShapeSizeExtra[size_t(typeCode - kNotebook)];
        break;
    default:
        return std::nullopt;
    }
    return r.translated(-r.left, -r.top);
}

void CDrawSys::SetShapeKind(int nKind)
{
    const int code = nKind - 1;
    const bool known
        = (code >= kTower && code <= kPrinter) || (code >= kNotebook && code <= kPocketPc);
    if (!known)
        return;
    m_nTypeCode = code;
    if (const std::optional<Rect> r = DefaultRect(m_pDocument, code))
        m_position = *r;
    if (nKind == kPrinterKind)
        AttachToOwner();
}

void CDrawSys::SetTypeFromPage(int nPage)
{
    if (nPage < 0 || nPage >= int(kPageTypeCodes.size()))
        return;
    m_nTypeCode = kPageTypeCodes[size_t(nPage)];
    if (const std::optional<Rect> r = DefaultRect(m_pDocument, m_nTypeCode)) {
        const Point now = m_position.center();
        const Point centre = r->center();
        m_position = r->translated(now.x - centre.x, now.y - centre.y);
    }
    RecalcExtent();
}

void CDrawSys::RecalcExtent()
{
    Rect extent = m_position.normalized();
    for (const CDrawObj* label : std::as_const(m_labels)) {
        if (label)
            extent = extent.united(label->m_position.normalized());
    }
    for (const CDrawObj* system : std::as_const(m_subSystems)) {
        if (system)
            extent = extent.united(system->m_rcExtent.normalized());
    }
    for (const CDrawObj* nic : std::as_const(m_nics)) {
        if (!nic || !nic->IsKindOf(CDrawNic::StaticClass()))
            continue;
        for (const CDrawObj* label : static_cast<const CDrawNic*>(nic)->m_nicLabels) {
            if (label)
                extent = extent.united(label->m_position.normalized());
        }
    }
    m_rcExtent = extent;
}

void CDrawSys::AttachToOwner()
{
    if (!m_pOwner || (!m_nics.isEmpty() && m_nTypeCode != kPrinter))
        return;
    CDrawSys* ownerSys = m_pOwnerSys;
    if (ownerSys)
        ownerSys->RecalcExtent();
    const Rect pos = m_position.normalized();
    const Rect extent = m_rcExtent.normalized();
    const Rect ownerExtent = m_pOwner->m_rcExtent.normalized();
    const qint32 ownerBottom = std::max(m_pOwner->m_position.top, m_pOwner->m_position.bottom);
    const qint32 c = (pos.left + extent.right - pos.right - extent.left) / 2;
    // Right of the owner, or left of it when the owner carries this one only.
    const bool onlyDevice = ownerSys && ownerSys->m_subSystems.size() == 1;
    const qint32 dx = onlyDevice ? ownerExtent.left + 2 * pos.left - c - m_nSpacing - pos.right
                                 : pos.left + c + m_nSpacing + ownerExtent.right;
    const qint32 dy = ownerBottom - pos.bottom;
    m_nMoveX = dx;
    m_nMoveY = dy;
    m_position = m_position.translated(dx, dy);
    for (CDrawObj* label : std::as_const(m_labels)) {
        if (label && label->IsKindOf(CDrawText::StaticClass()))
            static_cast<CDrawText*>(label)->Layout(nullptr);
    }
    RecalcExtent();
    if (ownerSys)
        ownerSys->RecalcExtent();
}

void CDrawSys::RepositionPrinter()
{
    // A hosted printer keeps its offset from its host's top-left corner.
    if (!m_nics.isEmpty() || m_nTypeCode != kPrinter || !m_pOwner)
        return;
    const Rect owner = m_pOwner->m_position.normalized();
    const Rect r = m_position;
    m_position = r.translated(owner.left + m_nMoveX - r.left, owner.top + m_nMoveY - r.top);
}

CDrawText* CDrawSys::MakeLabel(CDrawObj* owner, const QStringList& lines, int nRequest) const
{
    auto* label = new CDrawText(Rect{});
    label->m_pDocument = m_pDocument;
    label->SetOwner(owner);
    // Label texts come from the network and may run to any length: one
    // name must not spread the map over thousands of pages.
    QStringList shown = lines;
    for (QString& line : shown)
        if (line.size() > kMaxLabelLine)
            line = line.left(kMaxLabelLine - 1) + QChar(0x2026);
    label->SetLines(shown, nRequest);
    // No lines, or nothing to place it against: no label.
    if (label->m_position.normalized().isEmpty()) {
        label->SetOwner(nullptr);
        delete label;
        return nullptr;
    }
    if (m_pDocument)
        m_pDocument->m_objects.append(label);
    return label;
}

void CDrawSys::CreateLabel(const QStringList& lines, int nRequest)
{
    CDrawText* label = MakeLabel(this, lines, nRequest);
    if (!label)
        return;
    m_labels.append(label);
    RecalcExtent();
}

CDrawNic* CDrawSys::NewInterface()
{
    auto* nic = new CDrawNic(Rect{});
    nic->SetOwner(this);
    nic->m_pDocument = m_pDocument;
    if (m_pDocument)
        m_pDocument->m_objects.append(nic);
    return nic;
}

void CDrawSys::BuildInterfaces()
{
    for (size_t i = 0; i < m_adapterAddresses.size(); ++i) {
        CDrawNic* nic = NewInterface();
        nic->SetAddresses(m_adapterAddresses[i]->m_values);
        const qsizetype index = qsizetype(i);
        nic->m_dwMask = m_adwMasks.value(index);
        nic->m_dwGateway = m_adwGateways.value(index);
        for (int array = kFirstValueArray; array <= kLastValueArray; ++array)
            nic->m_adwAdapterValue[size_t(array - kFirstValueArray)] = AdapterArray(array).value(index);
        m_nics.append(nic);
    }
    RecalcExtent();
}

void CDrawSys::AddIpv6Address(const QString& address, const QString& mac)
{
    bool matched = false;
    for (CDrawObj* object : std::as_const(m_nics)) {
        if (!object || !object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        auto* nic = static_cast<CDrawNic*>(object);
        if (!AsciiText::equalsIgnoringCase(nic->m_strMac, mac))
            continue;
        matched = true;
        nic->Ipv6Addresses().append(address);
        // The address label shows the new address too.
        if (!nic->m_nicLabels.isEmpty() && nic->m_nicLabels.first()) {
            auto* label = static_cast<CDrawText*>(nic->m_nicLabels.first());
            label->m_astrLines.append(address);
            label->Layout(nullptr);
        }
    }
    if (matched) {
        RecalcExtent();
        return;
    }
    CDrawNic* nic = NewInterface();
    nic->m_strMac = mac;
    nic->Ipv6Addresses().append(address);
    nic->SetAddressText(address);
    m_nics.append(nic);
    RecalcExtent();
}

void CDrawSys::FollowHost()
{
    RecalcExtent();
    RepositionPrinter();
    RecalcExtent();
}

namespace {

constexpr double kSmallestPicturePixels = 6.0;

} // namespace

void CDrawSys::Draw(QPainter& painter)
{
    if (m_position.isNull())
        return;
    FollowHost();
    m_rcNormal = m_position.normalized();
    // The print image on printers and wherever the screen image would be
    // enlarged; the screen image otherwise.
    const QPaintDevice* device = painter.device();
    const bool printing = device && device->devType() == QInternal::Printer;
    const bool enlarged = painter.worldTransform().m11() > 1.0;
    // A device a few pixels wide (a whole map zoomed out) is a plain mark.
    if (!printing && m_rcNormal.width() * std::abs(painter.worldTransform().m11()) < kSmallestPicturePixels) {
        painter.fillRect(GdiMapping::rectF(m_rcNormal), QColor(70, 110, 170));
        return;
    }
    DevicePictures::draw(painter, m_nTypeCode,
                         GdiMapping::rectF(m_rcNormal),
                         printing || enlarged ? DevicePictures::Medium::Print
                                              : DevicePictures::Medium::Screen);
}

// --- plain accessors --------------------------------------------------------

QString CDrawSys::GetSharedPrinterAt(int nIndex) const
{
    CheckIndex(nIndex, m_astrSharedPrinters.size());
    return m_astrSharedPrinters.at(nIndex);
}

int CDrawSys::GetSharedPrinterCount() const
{
    return int(m_astrSharedPrinters.size());
}

ServerRecord102 CDrawSys::GetServerRecord() const
{
    return m_serverInfo102;
}

void CDrawSys::SetFqdn(const QString& fqdn)
{
    if (fqdn.isEmpty())
        return;
    m_strFqdn = fqdn;
    m_astrDisplayLines = QStringList{fqdn} + DeviceInfoLines();
    CreateLabel(m_astrDisplayLines, 12);
}

QString CDrawSys::GetFqdn() const
{
    return m_strFqdn;
}

QString CDrawSys::GetUncName() const
{
    return m_strUncName;
}

void CDrawSys::SetUncName(const QString& name)
{
    m_strUncName = name;
}

quint32 CDrawSys::GetServerType() const
{
    return m_dwServerType;
}

void CDrawSys::SetServerType(quint32 type)
{
    m_dwServerType = type;
}

void CDrawSys::SetServerInfoOk(quint16 flag)
{
    m_wServerInfoOk = flag;
}

void CDrawSys::SetServerTypeNames(quint16 flag)
{
    m_wServerTypeNames = flag;
}

void CDrawSys::SetReservedFlag(quint16 flag)
{
    m_wReservedFlag = flag;
}

QList<quint32>& CDrawSys::RoleFlags()
{
    return m_sysReserve.m_adwArrays[kRoleFlagsArray];
}

const QList<quint32>& CDrawSys::RoleFlags() const
{
    return m_sysReserve.m_adwArrays[kRoleFlagsArray];
}

QStringList& CDrawSys::WmiListing()
{
    return m_sysReserve.m_astrArrays[kWmiListingArray];
}

const QStringList& CDrawSys::WmiListing() const
{
    return m_sysReserve.m_astrArrays[kWmiListingArray];
}

QStringList& CDrawSys::DeviceInfoLines()
{
    return m_sysReserve.m_astrArrays[kDeviceInfoArray];
}

const QStringList& CDrawSys::DeviceInfoLines() const
{
    return m_sysReserve.m_astrArrays[kDeviceInfoArray];
}
