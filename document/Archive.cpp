#include "Archive.h"

#include <algorithm>
#include <cstring>

#include "ArchiveException.h"
#include "ClassInfo.h"
#include "LargeStack.h"
#include "Persistent.h"
#include "objects/ClassRegistry.h"

#include <QStringDecoder>
#include <QtEndian>

#include <utility>

namespace {

// Untouched, so it costs no memory, only address space: enough for the
// small allocations of taking apart the objects of a large map one by one.
constexpr std::size_t kCleanupReserveBytes = 4u * 1024u * 1024u;

// Tag words of object references.
constexpr quint16 kNullTag = 0x0000;
constexpr quint16 kNewClassTag = 0xFFFF;
constexpr quint16 kClassTag = 0x8000;
constexpr quint32 kBigClassTag = 0x80000000;
constexpr quint16 kBigObjectTag = 0x7FFF;

// Class names are short ASCII identifiers; anything longer is not a class of ours.
constexpr quint16 kMaxClassNameLength = 64;

// The wide-character marker that follows a 0xFF length byte.
constexpr quint16 kWideMarker = 0xFFFE;

// Single-byte strings come from Japanese Windows, whose code page is 932.
QString fromSystemCodePage(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

// On a smaller stack than the one sized for kMaxNesting, fewer levels.
int NestingForThisThread()
{
    const std::size_t stack = largeStackBytes();
    if (stack == 0)
        return Archive::kMaxNesting;
    return int(std::min<std::size_t>(Archive::kMaxNesting, stack / kLargeStackBytesPerLevel));
}

} // namespace

Archive::Archive(QByteArray& out)
    : m_out(&out)
    , m_maxNesting(NestingForThisThread())
{
    const qsizetype used = out.size();
    out.resize(std::max(out.capacity(), used));
    m_put = out.data() + used;
    m_putEnd = out.data() + out.size();
}

Archive::Archive(Sink sink, QByteArray& buffer)
    : m_out(&buffer)
    , m_sink(std::move(sink))
    , m_maxNesting(NestingForThisThread())
{
    // Large enough that the sink is called rarely, small enough to stay in
    // the processor's caches.
    constexpr qsizetype kSinkBufferBytes = 256 * 1024;
    buffer.resize(std::max(buffer.capacity(), kSinkBufferBytes));
    m_put = buffer.data();
    m_putEnd = buffer.data() + buffer.size();
}

Archive::Archive(const QByteArray& in, CNetDoc* document)
    : m_in(in)
    , m_document(document)
    , m_maxNesting(NestingForThisThread())
    , m_cleanupReserve(new char[kCleanupReserveBytes])
{
    m_loadArray.push_back(LoadEntry{});
}

Archive::~Archive()
{
    if (m_out)
        m_out->resize(m_put - m_out->data());
    deleteCreatedObjects();
}

void Archive::flush()
{
    const qsizetype used = m_put - m_out->data();
    if (used > 0)
        m_sink(m_out->data(), used);
    m_put = m_out->data();
}

void Archive::growOutput(qsizetype size)
{
    if (m_sink) {
        flush();
        if (m_putEnd - m_put >= size)
            return;
    }
    const qsizetype used = m_put - m_out->data();
    m_out->resize(std::max(used + size, 2 * m_out->capacity() + 4096));
    m_put = m_out->data() + used;
    m_putEnd = m_out->data() + m_out->size();
}

void Archive::deleteCreatedObjects()
{
    if (!m_created.empty()) {
        m_cleanupReserve.reset();
        std::vector<LoadEntry>().swap(m_loadArray);
    }
    // Cut every link first so that no destructor reaches an object that is
    // deleted separately.
    for (Persistent* object : m_created)
        object->ReleaseLinks();
    for (Persistent* object : m_created)
        delete object;
    m_created.clear();
}

std::vector<Persistent*> Archive::TakeCreatedObjects()
{
    return std::exchange(m_created, {});
}

QList<QPair<quint32, const Persistent*>> Archive::writtenObjects() const
{
    QList<QPair<quint32, const Persistent*>> written;
    written.reserve(m_storeMap.size());
    for (auto it = m_storeMap.cbegin(); it != m_storeMap.cend(); ++it)
        written.append({it.value(), it.key()});
    std::sort(written.begin(), written.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return written;
}

void Archive::throwEndOfFile() const
{
    throw ArchiveException(ArchiveException::Cause::EndOfFile,
                           "at byte " + std::to_string(m_pos));
}

void Archive::need(qsizetype size) const
{
    if (size < 0 || size > remaining())
        throwEndOfFile();
}

void Archive::writeCount(quint64 count)
{
    if (count < 0xFFFF) {
        writeWord(quint16(count));
        return;
    }
    writeWord(0xFFFF);
    if (count < 0xFFFFFFFFu) {
        writeDword(quint32(count));
        return;
    }
    writeDword(0xFFFFFFFFu);
    writeDword(quint32(count));
    writeDword(quint32(count >> 32));
}

void Archive::writeString(const QString& text)
{
    // Maps hold millions of short strings: their header and characters go
    // to the cursor with one check for room.
    const quint64 length = quint64(text.size());
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        const qsizetype bytes = 4 + 2 * qsizetype(length);
        if (length < 0xFF && m_putEnd - m_put >= bytes) {
            const quint8 header[4] = {0xFF, quint8(kWideMarker & 0xFF), quint8(kWideMarker >> 8), quint8(length)};
            std::memcpy(m_put, header, 4);
            std::memcpy(m_put + 4, text.constData(), size_t(2 * length));
            m_put += bytes;
            return;
        }
    }
    quint8 header[19];
    qsizetype used = 0;
    const auto put = [&](quint64 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header[used++] = quint8(value >> (8 * i));
    };
    put(0xFF, 1);
    put(kWideMarker, 2);
    if (length < 0xFF) {
        put(length, 1);
    } else if (length < 0xFFFE) {
        put(0xFF, 1);
        put(length, 2);
    } else {
        put(0xFF, 1);
        put(0xFFFF, 2);
        if (length < 0xFFFFFFFFu) {
            put(length, 4);
        } else {
            put(0xFFFFFFFFu, 4);
            put(length, 8);
        }
    }
    writeRaw(header, used);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        writeRaw(text.constData(), text.size() * 2);
    } else {
        for (QChar c : text)
            writeWord(c.unicode());
    }
}

void Archive::writeClass(const ClassInfo& info)
{
    const auto found = m_classMap.constFind(&info);
    if (found != m_classMap.constEnd()) {
        const quint32 index = found.value();
        if (index < kBigObjectTag) {
            writeWord(quint16(kClassTag | index));
        } else {
            writeWord(kBigObjectTag);
            writeDword(kBigClassTag | index);
        }
        return;
    }
    writeWord(kNewClassTag);
    writeWord(info.schema);
    const qsizetype length = qstrlen(info.name);
    writeWord(quint16(length));
    writeRaw(info.name, length);
    m_classMap.insert(&info, m_nMapCount++);
}

void Archive::writeObject(const Persistent* object)
{
    if (!object) {
        writeWord(kNullTag);
        return;
    }
    const auto found = m_storeMap.constFind(object);
    if (found != m_storeMap.constEnd()) {
        const quint32 index = found.value();
        if (index < kBigObjectTag) {
            writeWord(quint16(index));
        } else {
            writeWord(kBigObjectTag);
            writeDword(index);
        }
        return;
    }
    if (m_nesting >= m_maxNesting)
        throw ArchiveException(ArchiveException::Cause::Generic, "object graph nested too deeply");
    writeClass(object->GetRuntimeClass());
    m_storeMap.insert(object, m_nMapCount++);
    ++m_nesting;
    // Serialize is not const only because the same routine also loads.
    const_cast<Persistent*>(object)->Serialize(*this);
    --m_nesting;
}

void Archive::readRaw(void* data, qsizetype size)
{
    need(size);
    memcpy(data, m_in.constData() + m_pos, size_t(size));
    m_pos += size;
}

qsizetype Archive::readRawUnchecked(void* data, qsizetype size)
{
    const qsizetype n = std::min(size, remaining());
    memcpy(data, m_in.constData() + m_pos, size_t(n));
    m_pos += n;
    return n;
}

quint8 Archive::readByte()
{
    need(1);
    return quint8(m_in.at(m_pos++));
}

quint16 Archive::readWord()
{
    need(2);
    const quint16 v = qFromLittleEndian<quint16>(m_in.constData() + m_pos);
    m_pos += 2;
    return v;
}

quint32 Archive::readDword()
{
    need(4);
    const quint32 v = qFromLittleEndian<quint32>(m_in.constData() + m_pos);
    m_pos += 4;
    return v;
}

Point Archive::readPoint()
{
    need(8);
    const qint32 x = readInt();
    return Point{x, readInt()};
}

Size Archive::readSize()
{
    need(8);
    const qint32 cx = readInt();
    return Size{cx, readInt()};
}

Rect Archive::readRect()
{
    need(16);
    Rect r;
    r.left = readInt();
    r.top = readInt();
    r.right = readInt();
    r.bottom = readInt();
    return r;
}

quint32 Archive::readCount(qsizetype minElementSize)
{
    quint64 count = readWord();
    if (count == 0xFFFF) {
        count = readDword();
        if (count == 0xFFFFFFFFu) {
            const quint64 low = readDword();
            count = low | (quint64(readDword()) << 32);
        }
    }
    if (count > quint64(remaining()) / quint64(std::max<qsizetype>(minElementSize, 1)))
        throwEndOfFile();
    return quint32(count);
}

qsizetype Archive::readStringLength(bool& wide)
{
    wide = false;
    quint8 byteLength = readByte();
    if (byteLength < 0xFF)
        return byteLength;
    quint16 wordLength = readWord();
    if (wordLength == kWideMarker) {
        wide = true;
        byteLength = readByte();
        if (byteLength < 0xFF)
            return byteLength;
        wordLength = readWord();
    }
    if (wordLength < 0xFFFF)
        return wordLength;
    const quint32 dwordLength = readDword();
    if (dwordLength < 0xFFFFFFFFu)
        return qsizetype(dwordLength);
    const quint64 low = readDword();
    const quint64 length = low | (quint64(readDword()) << 32);
    // Longer than anything the input could hold.
    if (length > quint64(remaining()))
        throwEndOfFile();
    return qsizetype(length);
}

QString Archive::readString()
{
    bool wide = false;
    const qsizetype length = readStringLength(wide);
    if (!wide) {
        need(length);
        const QByteArray bytes = m_in.mid(m_pos, length);
        m_pos += length;
        return fromSystemCodePage(bytes);
    }
    if (length > remaining() / 2)
        throwEndOfFile();
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(m_in.constData() + m_pos + 2 * i));
    m_pos += 2 * length;
    return text;
}

const ClassInfo* Archive::readNewClass()
{
    const quint16 schema = readWord();
    const quint16 length = readWord();
    if (length >= kMaxClassNameLength)
        throw ArchiveException(ArchiveException::Cause::BadClass, "class name too long");
    char name[kMaxClassNameLength];
    readRaw(name, length);
    const QByteArray className(name, length);
    const ClassInfo* info = ClassRegistry::find(className);
    if (!info)
        throw ArchiveException(ArchiveException::Cause::BadClass,
                               "unknown class " + className.toStdString());
    if (info->schema != schema)
        throw ArchiveException(ArchiveException::Cause::BadSchema,
                               className.toStdString() + " schema " + std::to_string(schema));
    m_loadArray.push_back(LoadEntry{info, nullptr});
    return info;
}

void Archive::requireClass(const ClassInfo& actual, const ClassInfo* required) const
{
    if (required && !actual.IsDerivedFrom(*required))
        throw ArchiveException(ArchiveException::Cause::BadClass,
                               std::string(actual.name) + " where " + required->name
                                   + " is required");
}

Persistent* Archive::readObject(const ClassInfo* required)
{
    const quint16 tag = readWord();
    quint32 objectTag = 0;
    if (tag == kBigObjectTag)
        objectTag = readDword();
    else
        objectTag = (quint32(tag & kClassTag) << 16) | (tag & kBigObjectTag);

    const ClassInfo* info = nullptr;
    if (tag == kNewClassTag) {
        info = readNewClass();
    } else if (objectTag & kBigClassTag) {
        const quint32 index = objectTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].object)
            throw ArchiveException(ArchiveException::Cause::BadClass,
                                   "class index " + std::to_string(index) + " names no class");
        info = m_loadArray[index].info;
    } else {
        if (objectTag == 0)
            return nullptr;
        if (objectTag >= m_loadArray.size() || !m_loadArray[objectTag].object)
            throw ArchiveException(ArchiveException::Cause::BadClass,
                                   "object index " + std::to_string(objectTag)
                                       + " names no object");
        Persistent* object = m_loadArray[objectTag].object;
        requireClass(object->GetRuntimeClass(), required);
        return object;
    }

    requireClass(*info, required);
    if (m_nesting >= m_maxNesting)
        throw ArchiveException(ArchiveException::Cause::Generic, "object graph nested too deeply");
    Persistent* object = info->create();
    m_created.push_back(object);
    m_loadArray.push_back(LoadEntry{info, object});
    ++m_nesting;
    object->Serialize(*this);
    --m_nesting;
    return object;
}

void Archive::serialize(QList<quint32>& values)
{
    if (IsStoring()) {
        writeCount(quint64(values.size()));
        for (quint32 v : std::as_const(values))
            writeDword(v);
        return;
    }
    const quint32 count = readCount(4);
    values.clear();
    if (count == 0)
        return; // keeps an empty list unallocated
    values.resize(count);
    for (quint32& v : values)
        v = readDword();
}

void Archive::serialize(QStringList& values)
{
    if (IsStoring()) {
        writeCount(quint64(values.size()));
        // Each string's characters lie in a block of their own somewhere in
        // the heap: asking for those a few strings ahead hides most of the
        // wait for memory that a survey's long inventory lists would cost.
        constexpr qsizetype kAhead = 8;
        const qsizetype count = values.size();
        for (qsizetype i = 0; i < count; ++i) {
            if (i + kAhead < count) {
                const QString& ahead = values.at(i + kAhead);
                __builtin_prefetch(ahead.constData());
                if (ahead.size() > 32)
                    __builtin_prefetch(ahead.constData() + 32);
            }
            writeString(values.at(i));
        }
        return;
    }
    const quint32 count = readCount(1);
    values.clear();
    if (count == 0)
        return;
    values.reserve(count);
    for (quint32 i = 0; i < count; ++i)
        values.append(readString());
}

void Archive::serialize(QList<Point>& values)
{
    if (IsStoring()) {
        writeCount(quint64(values.size()));
        for (const Point& v : std::as_const(values))
            writePoint(v);
        return;
    }
    const quint32 count = readCount(8);
    values.clear();
    if (count == 0)
        return; // keeps an empty list unallocated
    values.resize(count);
    for (Point& v : values)
        v = readPoint();
}

void Archive::serialize(QList<Rect>& values)
{
    if (IsStoring()) {
        writeCount(quint64(values.size()));
        for (const Rect& v : std::as_const(values))
            writeRect(v);
        return;
    }
    const quint32 count = readCount(16);
    values.clear();
    if (count == 0)
        return; // keeps an empty list unallocated
    values.resize(count);
    for (Rect& v : values)
        v = readRect();
}

void Archive::serialize(QList<Size>& values)
{
    if (IsStoring()) {
        writeCount(quint64(values.size()));
        for (const Size& v : std::as_const(values))
            writeSize(v);
        return;
    }
    const quint32 count = readCount(8);
    values.clear();
    if (count == 0)
        return; // keeps an empty list unallocated
    values.resize(count);
    for (Size& v : values)
        v = readSize();
}
