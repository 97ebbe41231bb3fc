#pragma once

#include "document/Persistent.h"
#include "document/StorageNode.h"

#include <QImage>
#include <QString>

class CDrawOleObj;

// The container item of one embedded object: the item header the map file
// records and the item's own storage (its native data and cached pictures).
// In a compound map file the storage is the "Embedding <item number>"
// sub-storage; in a plain archive it follows the header as a byte count and
// a compound-file image.
//
// Owned by its CDrawOleObj; m_pDrawObj points back to it.
class CDrawItem : public Persistent {
    VX_DECLARE_SERIAL(CDrawItem)

public:
    CDrawItem() = default;
    ~CDrawItem() override;

    void Serialize(Archive& ar) override;
    void ReleaseLinks() override { m_pDrawObj = nullptr; }
    bool HasOwner() const override { return m_pDrawObj != nullptr; }
    void DescribeTo(QJsonObject& out,
                    const std::function<quint32(const Persistent*)>& indexOf) const override;

    // The storage under the name the compound map file gives it.
    StorageNode Storage() const;
    void SetStorage(StorageNode storage);
    // The cached presentation picture, if the storage holds one we can
    // decode (a device-independent bitmap or a PNG/BMP/JPEG stream).
    QImage Picture() const;
    // The embedded object's type as its storage names it, for placeholders.
    QString TypeName() const;
    static QString StorageName(quint32 itemNumber);

    CDrawOleObj* m_pDrawObj = nullptr;
    quint32 m_dwType = 0;
    quint32 m_dwItemNumber = 0;
    quint32 m_dwAspect = 0;
    quint16 m_wMoniker = 0;
    quint32 m_dwDrawAspect = 0;

private:
    StorageNode m_storage;
    // The image as read from a plain archive, written back unchanged.
    QByteArray m_flatImage;
    mutable bool m_bPictureDecoded = false;
    mutable QImage m_picture;
};
