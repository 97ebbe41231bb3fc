#pragma once

#include "CDrawObj.h"

// A polygon drawn with the polygon tool: its vertices in drawing order.
// m_nAllocPoints is the capacity the file records; only the vertices in use
// are held in memory, so a file cannot make us allocate what it does not
// contain.
class CDrawPoly : public CDrawObj {
    VX_DECLARE_SERIAL(CDrawPoly)

public:
    // Capacity grows in steps of this many vertices.
    static constexpr int kGrowBy = 10;

    CDrawPoly();
    explicit CDrawPoly(const Rect& position);

    void Serialize(Archive& ar) override;
    int GetHandleCount() const override;
    Point GetHandle(int nHandle) const override;
    HandleCursor GetHandleCursor(int nHandle) const override;
    void Draw(QPainter& painter) override;
    void MoveTo(const Rect& position, DrawView* view) override;
    bool Intersects(const Rect& rect) const override;
    void MoveHandleTo(int nHandle, Point point, DrawView* view) override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    void AddPoint(Point point, DrawView* view);
    void DropLastPoint(DrawView* view);
    // Sets the position to the vertices' bounds; false when there are no
    // vertices or the bounds did not change.
    bool RecalcBounds(DrawView* view);

    int m_nPoints = 0;
    int m_nAllocPoints = 0;
    QList<Point> m_points;

private:
    void Invalidate(DrawView* view);
    QPolygonF Polygon() const;
};
