#pragma once

#include "Geometry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class CNetDoc;
class Persistent;
struct ClassInfo;

// The binary archive every map file, snapshot and clipboard block is made
// of: little-endian primitives without padding, counts with a 0xFFFF escape,
// length-prefixed strings, and object references that write an object's class
// and record at its first reference and only its index afterwards.
//
// A storing archive appends to a byte array; a loading archive reads from a
// byte array it does not own, which must outlive it. A loading archive never
// trusts a count: an array is refused (end of file) before anything is
// allocated when the bytes left could not hold it.
//
// Objects created while loading belong to the archive until the caller takes
// them with TakeCreatedObjects(). If the archive is destroyed first (a load
// that failed half way), it cuts the links between them and deletes each one
// exactly once.
class Archive {
public:
    // Object records may contain references whose records contain references;
    // this bounds the recursion a hostile file could force. Loading and saving
    // run on a thread whose stack holds this depth.
    static constexpr int kMaxNesting = 100000;

    // Storing appends to out, which holds exactly the bytes written once
    // the archive is destroyed (not before).
    explicit Archive(QByteArray& out);
    // Storing through a sink: the bytes gather in buffer, which goes to the
    // sink whenever it is full and at flush(), so a large map is never held
    // whole in memory. The buffer's earlier contents are overwritten. (The
    // sink comes first so that no call can mistake it for a loading one.)
    using Sink = std::function<void(const char* data, qsizetype size)>;
    Archive(Sink sink, QByteArray& buffer);
    Archive(const QByteArray& in, CNetDoc* document);
    ~Archive();

    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return m_out != nullptr; }
    // Storing through a sink: passes on what the buffer holds. What has not
    // been flushed when the archive ends stays in the buffer only.
    void flush();
    bool IsLoading() const { return m_out == nullptr; }
    CNetDoc* document() const { return m_document; }
    void setDocument(CNetDoc* document) { m_document = document; }

    // Whether embedded items carry their storage inside the archive (plain
    // archives: snapshots, the clipboard, plain map files) or keep it in the
    // compound map file beside it.
    bool isFlat() const { return m_flat; }
    void setFlat(bool flat) { m_flat = flat; }

    // Loading: bytes not yet read.
    qsizetype remaining() const { return m_in.size() - m_pos; }
    bool atEnd() const { return remaining() == 0; }

    void writeRaw(const void* data, qsizetype size)
    {
        // Most writes are a few bytes, millions of them in a large map: a
        // copy to the cursor, the buffer grown by doubling when full.
        if (m_putEnd - m_put < size)
            growOutput(size);
        std::memcpy(m_put, data, size_t(size));
        m_put += size;
    }
    void writeByte(quint8 value) { writeRaw(&value, 1); }
    void writeWord(quint16 value)
    {
        const quint16 le = qToLittleEndian(value);
        writeRaw(&le, sizeof le);
    }
    void writeDword(quint32 value)
    {
        const quint32 le = qToLittleEndian(value);
        writeRaw(&le, sizeof le);
    }
    void writeInt(qint32 value) { writeDword(quint32(value)); }
    void writeBoolAsWord(qint32 value) { writeWord(quint16(value)); }
    void writePoint(const Point& p) { writeInts({p.x, p.y}); }
    void writeSize(const Size& s) { writeInts({s.cx, s.cy}); }
    void writeRect(const Rect& r) { writeInts({r.left, r.top, r.right, r.bottom}); }
    void writeCount(quint64 count);
    void writeString(const QString& text);
    void writeObject(const Persistent* object);

    // Reads exactly size bytes or throws end of file.
    void readRaw(void* data, qsizetype size);
    // Reads at most size bytes; returns how many were there. Used where the
    // format reads a block without checking its length.
    qsizetype readRawUnchecked(void* data, qsizetype size);
    quint8 readByte();
    quint16 readWord();
    quint32 readDword();
    qint32 readInt() { return qint32(readDword()); }
    qint32 readBoolFromWord() { return readWord(); }
    Point readPoint();
    Size readSize();
    Rect readRect();
    // The count, refused unless the remaining input could hold that many
    // elements of at least minElementSize bytes each.
    quint32 readCount(qsizetype minElementSize);
    QString readString();
    // Reads a reference; the object must be of class required or derived
    // from it (null accepts any class).
    Persistent* readObject(const ClassInfo* required);

    // Arrays in both directions: count, then the elements.
    void serialize(QList<quint32>& values);
    void serialize(QStringList& values);
    void serialize(QList<Point>& values);
    void serialize(QList<Rect>& values);
    void serialize(QList<Size>& values);

    // An object list whose elements must be of class required (or derived).
    template <class T>
    void serializeObjectList(QList<T*>& list, const ClassInfo& required)
    {
        if (IsStoring()) {
            writeCount(quint64(list.size()));
            for (T* object : std::as_const(list))
                writeObject(object);
        } else {
            const quint32 count = readCount(2);
            for (quint32 i = 0; i < count; ++i)
                list.append(static_cast<T*>(readObject(&required)));
        }
    }

    template <class T>
    T* readObjectOf()
    {
        return static_cast<T*>(readObject(&T::StaticClass()));
    }

    // Storing: the index an object or class received, 0 if not written.
    quint32 indexOf(const Persistent* object) const { return m_storeMap.value(object, 0); }

    // Storing: every object written so far with its index, in index order.
    QList<QPair<quint32, const Persistent*>> writtenObjects() const;

    // Loading: every object created, in creation order; ownership passes to
    // the caller.
    std::vector<Persistent*> TakeCreatedObjects();

private:
    [[noreturn]] void throwEndOfFile() const;
    void need(qsizetype size) const;
    void writeClass(const ClassInfo& info);
    const ClassInfo* readNewClass();
    qsizetype readStringLength(bool& wide);
    void requireClass(const ClassInfo& actual, const ClassInfo* required) const;
    void deleteCreatedObjects();

    struct LoadEntry {
        const ClassInfo* info = nullptr;
        Persistent* object = nullptr; // null for a class entry
    };

    // Up to four values as consecutive little-endian DWORDs, in one write:
    // every object has several of them.
    void writeInts(std::initializer_list<qint32> values)
    {
        quint32 little[4];
        qsizetype n = 0;
        for (const qint32 value : values)
            little[n++] = qToLittleEndian(quint32(value));
        writeRaw(little, n * qsizetype(sizeof(quint32)));
    }

    // Storing writes at m_put within the whole capacity of *m_out, which
    // is cut to what was written when the archive ends.
    void growOutput(qsizetype size);
    char* m_put = nullptr;
    char* m_putEnd = nullptr;
    QByteArray* m_out = nullptr;
    Sink m_sink;
    QByteArray m_in;
    qsizetype m_pos = 0;
    CNetDoc* m_document = nullptr;
    int m_nesting = 0;
    // kMaxNesting, or less when this thread's stack holds less.
    int m_maxNesting = kMaxNesting;
    bool m_flat = true;

    quint32 m_nMapCount = 1; // storing: next index; 0 is the null reference
    QHash<const Persistent*, quint32> m_storeMap;
    QHash<const ClassInfo*, quint32> m_classMap;
    std::vector<LoadEntry> m_loadArray; // loading: index -> class or object
    std::vector<Persistent*> m_created;
    // Loading: address space set aside for taking apart what a load that ran
    // out of memory created (the objects' destructors allocate a little, and
    // Qt's containers do not all survive a failed allocation).
    std::unique_ptr<char[]> m_cleanupReserve;
};
