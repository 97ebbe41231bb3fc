#pragma once

#include <QByteArrayView>

struct ClassInfo;

// Every class a map file may name in a class tag, found by that name.
class ClassRegistry {
public:
    static const ClassInfo* find(QByteArrayView name);
};
