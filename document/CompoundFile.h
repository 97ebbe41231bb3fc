#pragma once

#include "StorageNode.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The container of a map file: a compound file whose "Contents" stream holds
// the document archive and whose "Embedding <n>" storages hold the native
// data of embedded objects.
class CompoundFile {
public:
    static const QString kContentsStream;
    static const QString kEmbeddingPrefix;

    // Splits a file's bytes. A file without the compound-file signature is
    // taken whole as the contents. Returns false with a reason for a file
    // that has the signature but cannot be read as a compound file.
    static bool read(const QByteArray& file, QByteArray& contents,
                     QList<StorageNode>& embeddings, QString& error);

    // Builds a compound file holding the contents and the embeddings.
    static bool write(const QByteArray& contents, const QList<StorageNode>& embeddings,
                      QByteArray& file, QString& error);

    // The same bytes written straight into an open file (the descriptor
    // stays open), the contents made meanwhile: produce passes them, in
    // order and in pieces of any size, to the writer it is given, and
    // returns false (with a reason) to abandon the file. A large map is
    // then never held whole in memory. The writer returns false once the
    // file takes no more (a full disk): the rest need not be made.
    using ContentsWriter = std::function<bool(const char* data, qsizetype size)>;
    using ContentsProducer = std::function<bool(const ContentsWriter& write, QString& error)>;
    static bool writeToFile(const ContentsProducer& produce, const QList<StorageNode>& embeddings,
                            int fd, QString& error);

    static bool hasSignature(const QByteArray& file);

    // A whole compound file as one storage tree, its root named "Root Entry",
    // and back. Embedded items travel this way inside plain archives.
    static bool readImage(const QByteArray& file, StorageNode& root, QString& error);
    static bool writeImage(const StorageNode& root, QByteArray& file, QString& error);
};
