#pragma once

#include "document/CReserveBlock.h"
#include "document/Geometry.h"
#include "document/Persistent.h"

#include <QJsonObject>
#include <QString>

#include <array>
#include <functional>

class CNetDoc;
class DrawView;
class QObject;
class QPainter;

using COLORREF = quint32; // 0x00BBGGRR

struct LogPen {
    quint32 lopnStyle = 6; // inside-frame solid
    Point lopnWidth{1, 1};
    COLORREF lopnColor = 0;

    friend bool operator==(const LogPen&, const LogPen&) = default;
};

struct LogBrush {
    quint32 lbStyle = 0; // solid
    COLORREF lbColor = 0x00C0C0C0;
    quint32 lbHatch = 0;

    friend bool operator==(const LogBrush&, const LogBrush&) = default;
};

// Server information level 102 as 13 DWORDs.
using ServerRecord102 = std::array<quint32, 13>;

// Cursor shown over a selection handle; the view maps it to a platform cursor.
enum class HandleCursor { SizeNWSE, SizeNS, SizeNESW, SizeWE, SizeAll, Arrow };

// Selection state passed to DrawTracker.
enum class TrackerState { Normal = 0, Selected = 1, Active = 2 };

// Base of every object on a network map.
//
// Ownership: the document's object list owns every object. Pointers between
// objects (owners, member lists, interfaces, connection ends) do not own;
// derived classes that destroy their members in cascade unlink them from the
// document first, so each object is deleted exactly once.
//
// The wide virtual interface below lets views, tools, the survey and the map
// builder reach the data of every kind through a base pointer; the base
// returns nothing and ignores setters. Accessors by index throw
// ArchiveException(InvalidArgument) for an index outside their array.
class CDrawObj : public Persistent {
    VX_DECLARE_SERIAL(CDrawObj)

public:
    CDrawObj();
    explicit CDrawObj(const Rect& position);
    ~CDrawObj() override = default;

    void Serialize(Archive& ar) override;

    virtual int GetHandleCount() const;
    virtual Point GetHandle(int nHandle) const;
    virtual HandleCursor GetHandleCursor(int nHandle) const;
    virtual void SetLineColor(COLORREF color);
    virtual void SetFillColor(COLORREF color);
    virtual void Draw(QPainter& painter);
    virtual void DrawTracker(QPainter& painter, TrackerState state);
    virtual void MoveTo(const Rect& position, DrawView* view);
    virtual int HitTest(Point point, const DrawView* view, bool bSelected) const;
    virtual bool Intersects(const Rect& rect) const;
    virtual void MoveHandleTo(int nHandle, Point point, DrawView* view);
    virtual void OnOpen(DrawView* view);
    virtual void EditProperties(DrawView* view);
    virtual CDrawObj* Clone(CNetDoc* document) const;
    virtual void Remove();

    virtual QString GetName() const;
    virtual void SetName(const QString& name);
    virtual CDrawObj* GetOwner() const;
    virtual void SetOwner(CDrawObj* owner);
    virtual CDrawObj* FindSubDomainByName(const QString& name) const;
    virtual void AddSubDomain(CDrawObj* domain);
    virtual CDrawObj* FindSystemByKey(const QString& key) const;
    virtual void AddSystem(CDrawObj* system);
    virtual quint16 GetReservedWord() const;
    virtual void SetReservedWord(quint16 value);

    // Per-adapter arrays of a system: 0 masks, 1 gateways, 2 to 8 further values.
    virtual quint32 GetMaskAt(int nIndex) const;
    virtual void SetMasks(const QList<quint32>& masks);
    virtual void ClearMasks();
    virtual quint32 GetGatewayAt(int nIndex) const;
    virtual void SetGateways(const QList<quint32>& gateways);
    virtual void ClearGateways();
    virtual quint32 GetAdapterValueAt(int nArray, int nIndex) const;
    virtual void SetAdapterValues(int nArray, const QList<quint32>& values);
    virtual void ClearAdapterValues(int nArray);

    virtual QString GetNote() const;
    virtual void SetNote(const QString& note);
    virtual void SetShapeKind(int nKind);
    virtual void DeleteLabels();
    virtual void AddLabel(CDrawObj* label);
    virtual void AddSubSystem(CDrawObj* system);
    virtual QString GetSharedPrinterAt(int nIndex) const;
    virtual int GetSharedPrinterCount() const;
    virtual ServerRecord102 GetServerRecord() const;
    virtual void AddAdapterAddresses(const QList<quint32>& addresses);
    virtual void DeleteAdapterAddresses();
    virtual QString GetKey() const;
    virtual void SetFqdn(const QString& fqdn);
    virtual QString GetUncName() const;
    virtual void SetUncName(const QString& name);
    virtual quint32 GetServerType() const;
    virtual void SetServerType(quint32 type);
    virtual quint32 GetGateway() const;
    virtual int GetAddressCount() const;
    virtual quint32 GetAddressAt(int nIndex) const;
    virtual QString GetFqdn() const;
    virtual void SetServerInfoOk(quint16 flag);
    virtual void SetServerTypeNames(quint16 flag);
    virtual void SetReservedFlag(quint16 flag);
    virtual QString GetMacAddress() const;

    // Forgets every pointer to other map objects, keeping what it owns that
    // is not a map object; used when the whole map is deleted at once.
    virtual void ForgetMapLinks() { ReleaseLinks(); }

    // Connections are kept at the head of the document's list and drawn
    // whatever the visible area.
    virtual bool IsConnection() const { return false; }
    // Objects drawn right after this one (labels, hanging systems, interface
    // labels), in drawing order.
    virtual QList<CDrawObj*> AttachedObjects() const { return {}; }
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    // Throws InvalidArgument unless 0 <= nIndex < count.
    static void CheckIndex(qsizetype nIndex, qsizetype count);

    Rect m_position;
    CNetDoc* m_pDocument = nullptr;
    Rect m_rcBaseSize;
    Point m_ptCenter;
    Rect m_rcNormal;
    Rect m_rcExtent;
    qint32 m_nSpacing = 200;
    qint32 m_nMoveX = 0;
    qint32 m_nMoveY = 0;
    quint32 m_dwReserved = 0;
    bool m_bPendingDraw = false;
    QObject* m_pMainWnd = nullptr;
    qint32 m_bPen = 1;
    LogPen m_logpen;
    qint32 m_bBrush = 1;
    LogBrush m_logbrush;
    CReserveBlock m_reserve;

protected:
    // Copies the base fields into a fresh copy and files it in the document.
    void CloneBaseInto(CDrawObj* copy, CNetDoc* document) const;
    void CopyPenAndBrushTo(CDrawObj* copy) const;
    // Every base field a clone takes over (not the reserve block).
    void CopyBaseFieldsTo(CDrawObj* copy) const;
    // Gives a copy its document and, when there is one, adds it there and
    // takes a snapshot.
    static void FileClone(CDrawObj* copy, CNetDoc* document);
    void SetNormal(const Rect& rect);
    // Tells the views that this object changed (hint 1) and marks the document modified.
    void NotifyChanged();
    void MarkModified();
};
