#pragma once

#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "objects/CDrawObj.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

// Shared helpers of the domain, segment and system tests.
namespace MapObjectTesting {

// An IPv4 address in dotted form as the platform keeps it: the first octet
// in the lowest byte.
inline quint32 ip(const char* dotted)
{
    const QStringList octets = QString::fromLatin1(dotted).split(QLatin1Char('.'));
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= octets.at(i).toUInt() << (8 * i);
    return value;
}

// How often each object was destroyed.
inline QHash<const void*, int>& destroyed()
{
    static QHash<const void*, int> counts;
    return counts;
}

// A map object class that counts its destructions.
template <class T>
class Counted : public T {
public:
    using T::T;
    ~Counted() override { ++destroyed()[this]; }
};

// A record written under any class name, to build files no object writes.
class ScriptedRecord : public Persistent {
public:
    ScriptedRecord(const char* className, std::function<void(Archive&)> write)
        : m_info{className, 0, nullptr, nullptr}
        , m_write(std::move(write))
    {
    }
    const ClassInfo& GetRuntimeClass() const override { return m_info; }
    void Serialize(Archive& ar) override { m_write(ar); }

private:
    ClassInfo m_info;
    std::function<void(Archive&)> m_write;
};

inline QByteArray written(const Persistent& object)
{
    QByteArray out;
    {
        Archive ar(out);
        ar.writeObject(&object);
    }
    return out;
}

// The cause of the failure when the bytes are read as one map object.
inline ArchiveException::Cause loadFailure(const QByteArray& bytes, CNetDoc* document)
{
    Archive ar(bytes, document);
    try {
        ar.readObject(&CDrawObj::StaticClass());
    } catch (const ArchiveException& e) {
        return e.cause();
    }
    ADD_FAILURE() << "load succeeded";
    return ArchiveException::Cause::Generic;
}

} // namespace MapObjectTesting
