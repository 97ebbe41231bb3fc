#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One storage of a compound file held in memory: its class id, its streams
// and its sub-storages. Embedded objects keep their native data in such a
// storage, which the map file carries unchanged.
struct StorageNode {
    struct Stream {
        QString name;
        QByteArray data;
        friend bool operator==(const Stream&, const Stream&) = default;
    };

    QString name;
    QByteArray classId; // 16 bytes, or empty when the storage has none
    QList<Stream> streams;
    QList<StorageNode> storages;

    friend bool operator==(const StorageNode&, const StorageNode&) = default;
};
