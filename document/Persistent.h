#pragma once

#include "ClassInfo.h"

#include <QJsonObject>

#include <functional>

class Archive;

// Base of everything that goes through the archive as an object reference:
// the map objects and the adapter address arrays of a system.
class Persistent {
public:
    Persistent() = default;
    Persistent(const Persistent&) = delete;
    Persistent& operator=(const Persistent&) = delete;
    virtual ~Persistent() = default;

    virtual const ClassInfo& GetRuntimeClass() const = 0;
    virtual void Serialize(Archive& ar) = 0;

    bool IsKindOf(const ClassInfo& info) const { return GetRuntimeClass().IsDerivedFrom(info); }

    // Forgets every pointer to other objects without touching them, so that a
    // half-read object graph can be deleted object by object, each exactly once.
    virtual void ReleaseLinks() {}

    // True while another object owns this one (an embedded item its map
    // object), so that a loader knows not to delete it.
    virtual bool HasOwner() const { return false; }

    // Adds every persistent member to a JSON listing; references are the
    // archive indexes given by indexOf.
    virtual void DescribeTo(QJsonObject& out,
                            const std::function<quint32(const Persistent*)>& indexOf) const
    {
        Q_UNUSED(out);
        Q_UNUSED(indexOf);
    }
};
