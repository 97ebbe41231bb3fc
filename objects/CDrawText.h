#pragma once

#include "CDrawSys.h"
#include "LogFont.h"

class CDrawNic;

// A label: lines of text in a font, placed next to the system (or the
// interface's system) that owns it by a position code, or free text placed
// with the text tool when it has no owner.
//
// Ownership: owned by its system (m_labels) or interface (m_nicLabels); also
// in the document's object list.
class CDrawText : public CDrawSys {
    VX_DECLARE_SERIAL(CDrawText)

public:
    // Position codes: above, below, right of and left of the owner system.
    enum Position { above = 10, below = 11, rightOf = 12, leftOf = 13 };
    // Gap between a label and its system.
    static constexpr int kGap = 10;

    CDrawText();
    explicit CDrawText(const Rect& position);
    ~CDrawText() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;
    void ForgetObjects(const QSet<const CDrawObj*>& gone) override;
    QList<CDrawObj*> AttachedObjects() const override { return {}; }

    int GetHandleCount() const override;
    Point GetHandle(int nHandle) const override;
    HandleCursor GetHandleCursor(int nHandle) const override;
    bool Intersects(const Rect& rect) const override;
    void MoveHandleTo(int nHandle, Point point, DrawView* view) override;
    CDrawObj* GetOwner() const override;
    void SetOwner(CDrawObj* owner) override;
    void EditProperties(DrawView* view) override;
    void Draw(QPainter& painter) override;

    // Sets the text and, for placement requests 11 to 14, the position code;
    // returns the label's new rectangle (empty for no lines).
    virtual Rect SetLines(const QStringList& lines, int nRequest);
    // Sizes the label and places it by its position code; with a painter
    // the font's own metrics are used.
    Rect Layout(QPainter* painter);
    // Places the label at its stored offset from its system.
    Rect Relayout(QPainter* painter);
    // Moves the label, as it is, to its offset from its system; a label
    // without an offset is sized again by the next Relayout.
    Rect FollowDevice();
    // Width and height of the text.
    Size MeasureText(QPainter* painter) const;

    qint32 m_nPosition = below;
    CDrawObj* m_pLabelOwner = nullptr;
    CDrawSys* m_pLabelSys = nullptr;
    CDrawNic* m_pLabelNic = nullptr;
    QStringList m_astrLines;
    LogFont m_logfont = LogFont::labelDefault();
    CReserveBlockEx m_textReserve;

protected:
    void DetachFromOwners() override;

private:
    // The system the label is placed against, or null.
    CDrawSys* PlacementSystem() const;
};
