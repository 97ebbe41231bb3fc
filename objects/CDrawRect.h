#pragma once

#include "CDrawObj.h"

// A free drawing primitive: rectangle, rounded rectangle, ellipse or line.
class CDrawRect : public CDrawObj {
    VX_DECLARE_SERIAL(CDrawRect)

public:
    enum Shape { rectangle = 0, roundRectangle = 1, ellipse = 2, line = 3 };

    CDrawRect() = default;
    explicit CDrawRect(const Rect& position);

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

    // The ends of a line, pulled inside the rectangle by half the pen width.
    QLine LineEnds() const;

    qint32 m_nShape = rectangle;
    Point m_roundness{20, 20};

private:
    int effectiveHandle(int nHandle) const;
};
