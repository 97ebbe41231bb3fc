#pragma once

#include "CDrawDomain.h"
#include "document/CDWordArray.h"

#include <QMap>

class CDrawNic;
class CDrawText;

#include <array>
#include <memory>
#include <optional>
#include <vector>

// Server information level 101 as 6 DWORDs: platform id, name reference,
// major, minor, type bits, comment reference.
using ServerRecord101 = std::array<quint32, 6>;

// One device on the map: a computer, router, hub or printer, with what the
// survey learned about it, the objects attached to it and its picture.
// Derives from the domain object, whose name field holds the name of the
// domain or workgroup the device belongs to.
//
// Ownership: its labels, the systems that hang on it and its interfaces are
// owned (they also sit in the document's object list), and so are its
// adapter address arrays. A system has up to two owners, a domain and a
// system; m_pOwner is the system owner if set, else the domain owner.
class CDrawSys : public CDrawDomain {
    VX_DECLARE_SERIAL(CDrawSys)

public:
    // Device type codes (m_nTypeCode). SetShapeKind takes the code plus one.
    static constexpr int kTower = 5;
    static constexpr int kDesktop = 6;
    static constexpr int kRouter = 7;
    static constexpr int kHub = 8;
    static constexpr int kPrinter = 9;
    static constexpr int kNotebook = 15;
    static constexpr int kRackMount = 16;
    static constexpr int kPocketPc = 17;

    // The longest line a label made from survey results shows.
    static constexpr qsizetype kMaxLabelLine = 200;

    // Per-adapter arrays by number: 0 masks, 1 gateways, 2 to 8 further values.
    static constexpr int kGatewayArray = 1;
    static constexpr int kFirstValueArray = 2;
    static constexpr int kLastValueArray = 8;

    CDrawSys();
    explicit CDrawSys(const Rect& position);
    ~CDrawSys() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;
    QList<CDrawObj*> AttachedObjects() const override;

    int GetHandleCount() const override;
    Point GetHandle(int nHandle) const override;
    HandleCursor GetHandleCursor(int nHandle) const override;
    void MoveTo(const Rect& position, DrawView* view) override;
    void MoveHandleTo(int nHandle, Point point, DrawView* view) override;

    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    void ForgetObjects(const QSet<const CDrawObj*>& gone) override;

    quint32 GetMaskAt(int nIndex) const override;
    void SetMasks(const QList<quint32>& masks) override;
    void ClearMasks() override;
    quint32 GetGatewayAt(int nIndex) const override;
    void SetGateways(const QList<quint32>& gateways) override;
    void ClearGateways() override;
    quint32 GetAdapterValueAt(int nArray, int nIndex) const override;
    void SetAdapterValues(int nArray, const QList<quint32>& values) override;
    void ClearAdapterValues(int nArray) override;

    void SetShapeKind(int nKind) override;
    void DeleteLabels() override;
    void AddLabel(CDrawObj* label) override;
    void AddSubSystem(CDrawObj* system) override;
    QString GetSharedPrinterAt(int nIndex) const override;
    int GetSharedPrinterCount() const override;
    ServerRecord102 GetServerRecord() const override;
    void AddAdapterAddresses(const QList<quint32>& addresses) override;
    void DeleteAdapterAddresses() override;
    void SetFqdn(const QString& fqdn) override;
    QString GetUncName() const override;
    void SetUncName(const QString& name) override;
    quint32 GetServerType() const override;
    void SetServerType(quint32 type) override;
    QString GetFqdn() const override;
    void SetServerInfoOk(quint16 flag) override;
    void SetServerTypeNames(quint16 flag) override;
    void SetReservedFlag(quint16 flag) override;

    // Opens the property sheet (plain systems only: interfaces, labels and
    // connections override this to do nothing).
    void EditProperties(DrawView* view) override;
    // Leaves the host it hangs on, else its domain: out of that owner's
    // list, with no owner.
    void LeaveOwner();
    // A system drawn by hand (no name, no domain, not a printer or hub).
    bool NeedsProvisioning() const;
    // Gives such a system the domain "TEMP", a name in it and, when the map
    // has a segment, an interface on its first free address.
    void ProvisionForEditing();
    // The kind chosen on the device page (0 to 8), centred where the system is.
    void SetTypeFromPage(int nPage);
    void SetChassisType(qint32 chassis);
    void SetServerInfo(const ServerRecord101& info);
    void SetServerRoleNames(const ServerRecord102& info);
    void ComputeRoleFlags();
    void RebuildRoleLabel();
    void BuildSegments();
    void RebuildIpMacMap();
    void AttachToOwner();
    void RecalcExtent();
    // A label of these lines next to this system (requests 11 to 14).
    void CreateLabel(const QStringList& lines, int nRequest);
    // One interface per adapter address list, with that adapter's values.
    void BuildInterfaces();
    void AddIpv6Address(const QString& address, const QString& mac);
    // Moves a hosted printer (no interfaces, an owner) to its offset from
    // its owner's top-left corner.
    void RepositionPrinter();
    // What drawing does before it draws: a hosted printer follows its host
    // and the extent takes in the labels where they stand.
    void FollowHost();
    void Draw(QPainter& painter) override;

    // The document's default rectangle of a type code, at the origin.
    static std::optional<Rect> DefaultRect(const CNetDoc* document, int typeCode);

    // Reserve arrays with a meaning for systems.
    QList<quint32>& RoleFlags();
    const QList<quint32>& RoleFlags() const;
    QStringList& WmiListing();
    const QStringList& WmiListing() const;
    QStringList& DeviceInfoLines();
    const QStringList& DeviceInfoLines() const;

    qint32 m_nTypeCode = kTower;
    Point m_ptRoundness{10, 10};
    qint32 m_bNtFamily = 1;
    quint16 m_wReserved2 = 0;
    CDrawObj* m_pOwner = nullptr;
    CDrawDomain* m_pOwnerDomain = nullptr;
    CDrawSys* m_pOwnerSys = nullptr;
    quint32 m_dwServerType = 0;
    qint32 m_nOsMajor = 0;
    qint32 m_nOsMinor = 0;
    qint32 m_nLastHandle = 0;
    qint32 m_nChassisType = 0;
    QString m_strOs;
    QString m_strFqdn;
    QString m_strUncName;
    QString m_strServerName;
    QString m_strServerComment;
    QString m_strServerName2;
    QString m_strServerComment2;
    QString m_strExtra1;
    QString m_strExtra2;
    QStringList m_astrReserved1;
    QStringList m_astrRoles;
    QStringList m_astrSharedPrinters;
    QList<CDrawObj*> m_labels;
    QList<CDrawObj*> m_subSystems;
    QList<CDrawObj*> m_nics;
    ServerRecord102 m_serverInfo102{};
    ServerRecord101 m_serverInfo101{};
    std::array<quint8, 168> m_abReserved168{};
    std::array<quint8, 648> m_abReserved648{};
    // Each array is a distinct object for as long as the system lives: the
    // archive tells objects apart by address.
    std::vector<std::unique_ptr<CDWordArray>> m_adapterAddresses;
    QList<quint32> m_adwMasks;
    QList<quint32> m_adwGateways;
    QList<quint32> m_adwAdapterValue2;
    QList<quint32> m_adwAdapterValue3;
    QList<quint32> m_adwAdapterValue4;
    QList<quint32> m_adwAdapterValue5;
    QList<quint32> m_adwAdapterValue6;
    QList<quint32> m_adwAdapterValue7;
    QList<quint32> m_adwAdapterValue8;
    quint16 m_wServerInfoOk = 1;
    quint16 m_wServerTypeNames = 1;
    quint16 m_wReservedFlag = 1;
    QList<quint32> m_adwReserved2;
    QStringList m_astrReserved2;
    QStringList m_astrServerNotes;
    QStringList m_astrDisplayLines;
    QStringList m_astrShareLines;
    QStringList m_astrMacLines;
    QStringList m_astrFailureLines;
    QMap<quint32, QString> m_mapIpToMac;
    CReserveBlockEx m_sysReserve;

protected:
    // A label of the owner (this system or one of its interfaces), filed in
    // the document; null when it came out empty and was discarded.
    CDrawText* MakeLabel(CDrawObj* owner, const QStringList& lines, int nRequest) const;
    void TakeOwned(QList<CDrawObj*>& owned) override;
    void DetachFromOwners() override;
    // Every field of the system record, the arrays and the adapter data;
    // not the owned lists.
    void CopySystemFields(CDrawSys* copy) const;

private:
    // A new interface of this system, filed in the document.
    CDrawNic* NewInterface();
    QList<quint32>& AdapterArray(int nArray);
    const QList<quint32>& AdapterArray(int nArray) const;
    void SerializeAdapterAddresses(Archive& ar);
    void SerializeRawBlocks(Archive& ar);
    void UpdateOwner();
    int EffectiveHandle(int nHandle) const;
    Rect RectForHandle(int nHandle, Point point) const;
    void SetRoundnessFrom(Point point);
    void SetRoleLine(qsizetype index, const QString& line);
    // Sets the name and the first role line; true when the platform line
    // stayed as line 0.
    bool NameOperatingSystem(const ServerRecord101& info);
    void AddServerLine(quint32 typeBits, bool platformLineKept);
};
