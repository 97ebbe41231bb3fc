#pragma once

#include "CDrawObj.h"

class CDrawItem;

// An embedded object of another application on the map. Linux has no
// embedding service: the object keeps its item's data unchanged and draws
// the item's cached picture, or a frame naming the object's type.
//
// Owns m_pClientItem; deleting the object deletes its item first.
class CDrawOleObj : public CDrawObj {
    VX_DECLARE_SERIAL(CDrawOleObj)

public:
    CDrawOleObj() = default;
    explicit CDrawOleObj(const Rect& position);
    ~CDrawOleObj() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override { m_pClientItem = nullptr; }
    // The item is not a map object: it stays and goes with this object.
    void ForgetMapLinks() override {}
    void Draw(QPainter& painter) override;
    // Opens the embedded file with the program the desktop has for it.
    void EditProperties(DrawView* view) override;
    void MoveTo(const Rect& position, DrawView* view) override;
    CDrawObj* Clone(CNetDoc* document) const override;
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    // Takes a new extent of the item (0.01 mm): the first one sizes the
    // object from its top-left corner, later ones scale it.
    void UpdateExtent(Size extent);
    // Makes the item this object's own.
    void SetItem(CDrawItem* item);

    CDrawItem* m_pClientItem = nullptr;
    Size m_extent{};
};
