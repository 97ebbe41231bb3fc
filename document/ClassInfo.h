#pragma once

#include <QtGlobal>

class Persistent;

// Run-time class record of a persistable class: the name and schema written
// into class tags, the base for "is derived from" checks, and the factory the
// loader uses to create an empty object of that class.
struct ClassInfo {
    const char* name;
    quint16 schema;
    const ClassInfo* base;
    Persistent* (*create)();

    bool IsDerivedFrom(const ClassInfo& other) const;
};

// Declares the class record and the factory of a persistable class.
#define VX_DECLARE_SERIAL(Class)                                      \
public:                                                               \
    static const ClassInfo classInfo##Class;                          \
    static const ClassInfo& StaticClass() { return classInfo##Class; } \
    const ClassInfo& GetRuntimeClass() const override;                \
    static Persistent* CreateObject();

// Defines them; Base is the nearest persistable base or null.
#define VX_IMPLEMENT_SERIAL(Class, BaseInfo)                                          \
    Persistent* Class::CreateObject() { return new Class; }                           \
    const ClassInfo Class::classInfo##Class{#Class, 0, BaseInfo, &Class::CreateObject}; \
    const ClassInfo& Class::GetRuntimeClass() const { return classInfo##Class; }
