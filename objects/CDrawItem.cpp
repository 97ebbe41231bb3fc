#include "CDrawItem.h"

#include "CDrawOleObj.h"
#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/CompoundFile.h"

#include <QJsonArray>
#include <QtEndian>

VX_IMPLEMENT_SERIAL(CDrawItem, nullptr)

namespace {

// Presentation streams of embedded objects hold a header then the picture;
// clipboard format 8 is a device-independent bitmap.
const QString kPresentationPrefix = QStringLiteral("\002OlePres");
const QString kCompObjStream = QStringLiteral("\001CompObj");
constexpr quint32 kClipboardDib = 8;
constexpr qsizetype kCompObjHeader = 28;
constexpr qsizetype kBitmapFileHeader = 14;

quint32 dwordAt(const QByteArray& data, qsizetype at)
{
    return at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}

// A bitmap info header plus bits, made loadable by prefixing a file header.
QImage imageFromDib(const QByteArray& dib)
{
    const quint32 headerSize = dwordAt(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    const quint16 bitCount = quint16(dwordAt(dib, 14) & 0xFFFF);
    const quint32 usedColors = headerSize >= 36 ? dwordAt(dib, 32) : 0;
    const quint64 paletteEntries = usedColors ? usedColors : (bitCount <= 8 ? (1u << bitCount) : 0);
    // A palette cannot be larger than the data holding it.
    if (paletteEntries * 4 > quint64(dib.size() - headerSize))
        return {};
    const quint32 compression = headerSize >= 20 ? dwordAt(dib, 16) : 0;
    const quint32 masks = (compression == 3 && headerSize == 40) ? 12 : 0;
    const quint32 offset = quint32(kBitmapFileHeader) + headerSize + quint32(paletteEntries * 4) + masks;
    QByteArray file("BM");
    char field[4];
    qToLittleEndian(quint32(kBitmapFileHeader + dib.size()), field);
    file.append(field, 4);
    file.append(4, '\0');
    qToLittleEndian(offset, field);
    file.append(field, 4);
    file.append(dib);
    return QImage::fromData(file, "BMP");
}

// The picture of a presentation stream: clipboard format, target device,
// aspect, index, advise flags, reserved, width, height, size, then data.
QImage imageFromPresentation(const QByteArray& stream)
{
    if (dwordAt(stream, 0) != 0xFFFFFFFFu || dwordAt(stream, 4) != kClipboardDib)
        return {};
    const quint32 targetDevice = dwordAt(stream, 8);
    const qsizetype afterDevice = 8 + 4 + qsizetype(targetDevice > 4 ? targetDevice - 4 : 0);
    const qsizetype dataSizeAt = afterDevice + 6 * 4;
    const quint32 size = dwordAt(stream, dataSizeAt);
    if (size == 0 || dataSizeAt + 4 + qsizetype(size) > stream.size())
        return {};
    return imageFromDib(stream.mid(dataSizeAt + 4, size));
}

} // namespace

CDrawItem::~CDrawItem()
{
    if (m_pDrawObj)
        m_pDrawObj->m_pClientItem = nullptr;
}

QString CDrawItem::StorageName(quint32 itemNumber)
{
    return CompoundFile::kEmbeddingPrefix + QString::number(itemNumber);
}

StorageNode CDrawItem::Storage() const
{
    StorageNode storage = m_storage;
    storage.name = StorageName(m_dwItemNumber);
    return storage;
}

void CDrawItem::SetStorage(StorageNode storage)
{
    m_storage = std::move(storage);
    m_flatImage.clear();
    m_bPictureDecoded = false;
}

void CDrawItem::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.writeDword(m_dwType);
        ar.writeDword(m_dwItemNumber);
        ar.writeDword(m_dwAspect);
        ar.writeWord(m_wMoniker);
        ar.writeDword(m_dwDrawAspect);
        if (!ar.isFlat())
            return;
        QByteArray image = m_flatImage;
        QString error;
        if (image.isEmpty() && !CompoundFile::writeImage(m_storage, image, error))
            throw ArchiveException(ArchiveException::Cause::Generic, error.toStdString());
        ar.writeDword(quint32(image.size()));
        ar.writeRaw(image.constData(), image.size());
        return;
    }
    m_dwType = ar.readDword();
    m_dwItemNumber = ar.readDword();
    m_dwAspect = ar.readDword();
    m_wMoniker = ar.readWord();
    m_dwDrawAspect = ar.readDword();
    if (ar.isFlat()) {
        const quint32 size = ar.readDword();
        if (qsizetype(size) > ar.remaining())
            throw ArchiveException(ArchiveException::Cause::EndOfFile, "embedded item");
        m_flatImage.resize(size);
        ar.readRaw(m_flatImage.data(), size);
        QString error;
        if (!CompoundFile::readImage(m_flatImage, m_storage, error))
            m_storage = StorageNode{};
        return;
    }
    // The storage waits in the document, under the item's number.
    if (CNetDoc* document = ar.document()) {
        const QString name = StorageName(m_dwItemNumber);
        for (qsizetype i = 0; i < document->m_embeddings.size(); ++i) {
            if (document->m_embeddings.at(i).name == name) {
                m_storage = document->m_embeddings.takeAt(i);
                break;
            }
        }
    }
}

QImage CDrawItem::Picture() const
{
    if (m_bPictureDecoded)
        return m_picture;
    m_bPictureDecoded = true;
    for (const StorageNode::Stream& stream : m_storage.streams) {
        if (stream.name.startsWith(kPresentationPrefix))
            m_picture = imageFromPresentation(stream.data);
        else if (stream.name != kCompObjStream)
            m_picture = QImage::fromData(stream.data);
        if (!m_picture.isNull())
            break;
    }
    return m_picture;
}

QString CDrawItem::TypeName() const
{
    for (const StorageNode::Stream& stream : m_storage.streams) {
        if (stream.name != kCompObjStream)
            continue;
        const quint32 length = dwordAt(stream.data, kCompObjHeader);
        if (length > 1 && kCompObjHeader + 4 + qsizetype(length) <= stream.data.size())
            return QString::fromLocal8Bit(stream.data.mid(kCompObjHeader + 4, length - 1));
    }
    return QString();
}

void CDrawItem::DescribeTo(QJsonObject& out, const std::function<quint32(const Persistent*)>&) const
{
    out["m_dwType"] = qint64(m_dwType);
    out["m_dwItemNumber"] = qint64(m_dwItemNumber);
    out["m_dwAspect"] = qint64(m_dwAspect);
    out["m_wMoniker"] = m_wMoniker;
    out["m_dwDrawAspect"] = qint64(m_dwDrawAspect);
    QJsonArray streams;
    for (const StorageNode::Stream& stream : m_storage.streams)
        streams.append(QJsonObject{{"name", stream.name}, {"size", stream.data.size()}});
    out["storageStreams"] = streams;
}
