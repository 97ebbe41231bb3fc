#pragma once

#include "ClassInfo.h"

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
};
