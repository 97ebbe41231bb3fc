#include "EmbeddedFile.h"

#include "document/CNetDoc.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>

namespace {

const QString kNativeStream = QStringLiteral("\001Ole10Native");
const QString kCompObj = QStringLiteral("\001CompObj");
const QString kPictureStream = QStringLiteral("CONTENTS");

void AppendDword(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 DwordAt(const QByteArray& data, qsizetype at)
{
    return at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}

// The zero-terminated text at a position; at moves past it.
QByteArray TextAt(const QByteArray& data, qsizetype& at)
{
    const qsizetype end = data.indexOf('\0', at);
    if (end < 0) {
        at = data.size();
        return {};
    }
    const QByteArray text = data.mid(at, end - at);
    at = end + 1;
    return text;
}

const QByteArray* NativeOf(const CDrawItem& item, StorageNode& holder)
{
    holder = item.Storage();
    for (const StorageNode::Stream& stream : holder.streams)
        if (stream.name == kNativeStream)
            return &stream.data;
    return nullptr;
}

} // namespace

bool EmbeddedFile::IsOwnMapFile(const QString& path)
{
    // Map files end in ".vxnj"; the short extension of older maps too.
    return path.endsWith(QLatin1String(".vxn"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".vxnj"), Qt::CaseInsensitive);
}

QString EmbeddedFile::RefusalMessage()
{
    return QStringLiteral("OLE Varnex Document ファイルを呼出す事は出来ません。");
}

// The package layout: total size, format 2, label, original path, a fixed
// marker, the temporary path, then the data with its length.
QByteArray EmbeddedFile::NativeStream(const QString& fileName, const QByteArray& data)
{
    const QByteArray name = fileName.toUtf8();
    QByteArray body;
    body.append("\x02\x00", 2);
    body.append(name).append('\0');
    body.append(name).append('\0');
    AppendDword(body, 0x00030000);
    AppendDword(body, quint32(name.size() + 1));
    body.append(name).append('\0');
    AppendDword(body, quint32(data.size()));
    body.append(data);
    QByteArray stream;
    AppendDword(stream, quint32(body.size()));
    return stream + body;
}

QByteArray EmbeddedFile::CompObjStream(const QString& typeName)
{
    QByteArray stream;
    AppendDword(stream, 0xFFFE0001);
    AppendDword(stream, 0x00000A03);
    AppendDword(stream, 0xFFFFFFFF);
    stream.append(QByteArray(16, '\0'));
    const QByteArray type = typeName.toUtf8();
    AppendDword(stream, quint32(type.size() + 1));
    stream.append(type).append('\0');
    AppendDword(stream, 0);
    return stream;
}

CDrawItem* EmbeddedFile::ItemFromFile(const CNetDoc& document, const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return nullptr;
    }
    const QByteArray data = file.readAll();
    const QString name = QFileInfo(path).fileName();
    quint32 number = 0;
    for (const CDrawObj* object : document.m_objects)
        if (object->IsKindOf(CDrawOleObj::StaticClass())) {
            const CDrawItem* item = static_cast<const CDrawOleObj*>(object)->m_pClientItem;
            if (item)
                number = std::max(number, item->m_dwItemNumber + 1);
        }
    auto* item = new CDrawItem;
    item->m_dwItemNumber = number;
    item->m_dwDrawAspect = 1;
    StorageNode storage;
    if (!QImageReader::imageFormat(path).isEmpty())
        storage.streams.append({kPictureStream, data});
    storage.streams.append({kCompObj, CompObjStream(name)});
    storage.streams.append({kNativeStream, NativeStream(name, data)});
    item->SetStorage(storage);
    return item;
}

EmbeddedFile::Package EmbeddedFile::Unpack(const CDrawItem& item)
{
    StorageNode holder;
    const QByteArray* native = NativeOf(item, holder);
    if (!native)
        return {};
    qsizetype at = 6;
    Package package;
    package.fileName = QString::fromUtf8(TextAt(*native, at));
    TextAt(*native, at);
    at += 8;
    TextAt(*native, at);
    const quint32 size = DwordAt(*native, at);
    at += 4;
    if (at + qsizetype(size) <= native->size())
        package.data = native->mid(at, size);
    return package;
}

QString EmbeddedFile::FileName(const CDrawItem& item)
{
    return Unpack(item).fileName;
}

QByteArray EmbeddedFile::FileData(const CDrawItem& item)
{
    return Unpack(item).data;
}

QString EmbeddedFile::WriteToPrivateFolder(const CDrawItem& item)
{
    const Package package = Unpack(item);
    // The name comes from the map: no folder part, and never "." or "..".
    const QString name = QFileInfo(package.fileName).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    // A folder of its own under a name nobody can guess (created 0700), so
    // that no other local user can plant or swap the file being opened. It
    // stays after the program ends: the application opening it may still
    // be reading.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = runtime.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::TempLocation) : runtime;
    QTemporaryDir folder(base + QStringLiteral("/varnex-embedded-XXXXXX"));
    if (!folder.isValid())
        return {};
    QFile out(folder.filePath(name));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || out.write(package.data) != package.data.size()
        || !out.flush())
        return {};
    folder.setAutoRemove(false);
    return out.fileName();
}

bool EmbeddedFile::Open(const CDrawItem& item)
{
    const QString path = WriteToPrivateFolder(item);
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
