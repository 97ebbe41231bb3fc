#include "CompoundFile.h"

// GLib's headers use "signals" as an identifier, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gsf/gsf.h>
#pragma pop_macro("signals")

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

const QString CompoundFile::kContentsStream = QStringLiteral("Contents");
const QString CompoundFile::kEmbeddingPrefix = QStringLiteral("Embedding ");

namespace {

constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr int kClassIdSize = 16;

struct GObjectUnref {
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};

template <class T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// libgsf describes every flaw of a malformed file on standard error; the
// caller reports the failure in one line of its own.
void Silence(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void initGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        const GLogLevelFlags levels = GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_MESSAGE
                                                     | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", static_cast<const char*>(nullptr)})
            g_log_set_handler(domain, levels, &Silence, nullptr);
    });
}

bool isStorage(GsfInput* input)
{
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

// A sound file's streams together hold no more than its own bytes (no two
// share a sector), and no map nests storages anywhere near this deep: a
// file beyond either is refused before it is unfolded into memory.
constexpr int kMaxStorageDepth = 32;

struct TreeLimits {
    gsf_off_t bytesLeft = 0;
    QString error;
};

QByteArray readStream(GsfInput* input)
{
    const gsf_off_t size = gsf_input_size(input);
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (size > 0 && !gsf_input_read(input, size_t(size), reinterpret_cast<guint8*>(data.data())))
        return {};
    return data;
}

QByteArray classIdOf(GsfInfile* storage)
{
    if (!GSF_IS_INFILE_MSOLE(storage))
        return {};
    guint8 id[kClassIdSize];
    if (!gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(storage), id))
        return {};
    const QByteArray classId(reinterpret_cast<const char*>(id), kClassIdSize);
    return classId.count('\0') == kClassIdSize ? QByteArray() : classId;
}

bool readStorage(GsfInfile* storage, const QString& name, int depth, TreeLimits& limits, StorageNode& node)
{
    if (depth > kMaxStorageDepth) {
        limits.error = QStringLiteral("the compound file's storages are nested too deeply");
        return false;
    }
    node.name = name;
    node.classId = classIdOf(storage);
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        GPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
        if (!child)
            continue;
        const QString childName = QString::fromUtf8(gsf_infile_name_by_index(storage, i));
        if (isStorage(child.get())) {
            StorageNode sub;
            if (!readStorage(GSF_INFILE(child.get()), childName, depth + 1, limits, sub))
                return false;
            node.storages.append(std::move(sub));
            continue;
        }
        const gsf_off_t size = gsf_input_size(child.get());
        if (size < 0 || size > limits.bytesLeft) {
            limits.error = QStringLiteral("the compound file's streams hold more than the file");
            return false;
        }
        limits.bytesLeft -= size;
        node.streams.append(StorageNode::Stream{childName, readStream(child.get())});
    }
    // The container orders entries its own way; by name is what callers can rely on.
    std::sort(node.streams.begin(), node.streams.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    std::sort(node.storages.begin(), node.storages.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return true;
}

bool writeStream(GsfOutfile* parent, const QString& name, const QByteArray& data)
{
    GPtr<GsfOutput> stream(gsf_outfile_new_child(parent, name.toUtf8().constData(), FALSE));
    if (!stream)
        return false;
    const bool written =
        data.isEmpty()
        || gsf_output_write(stream.get(), size_t(data.size()),
                            reinterpret_cast<const guint8*>(data.constData()));
    return gsf_output_close(stream.get()) && written;
}

bool writeStorage(GsfOutfile* parent, const StorageNode& node)
{
    GPtr<GsfOutput> child(gsf_outfile_new_child(parent, node.name.toUtf8().constData(), TRUE));
    if (!child)
        return false;
    GsfOutfile* storage = GSF_OUTFILE(child.get());
    if (node.classId.size() == kClassIdSize)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(storage),
                                       reinterpret_cast<const guint8*>(node.classId.constData()));
    bool ok = true;
    for (const StorageNode::Stream& stream : node.streams)
        ok = writeStream(storage, stream.name, stream.data) && ok;
    for (const StorageNode& sub : node.storages)
        ok = writeStorage(storage, sub) && ok;
    return gsf_output_close(child.get()) && ok;
}

bool writeProducedStream(GsfOutput* sink, GsfOutfile* parent, const QString& name,
                         const CompoundFile::ContentsProducer& produce, QString& error)
{
    GPtr<GsfOutput> stream(gsf_outfile_new_child(parent, name.toUtf8().constData(), FALSE));
    if (!stream)
        return false;
    bool written = true;
    // The compound writer passes large streams on to the sink without
    // looking at what the sink's writes return; only the sink keeps the error.
    const CompoundFile::ContentsWriter write = [&](const char* data, qsizetype size) {
        written = written && gsf_output_write(stream.get(), size_t(size), reinterpret_cast<const guint8*>(data))
            && !gsf_output_error(sink);
        return written;
    };
    const bool produced = produce(write, error);
    return gsf_output_close(stream.get()) && produced && written;
}

// The root's streams follow the produced one, when there is one.
bool writeInto(GsfOutput* sink, const StorageNode& root, QString& error,
               const CompoundFile::ContentsProducer* produce = nullptr)
{
    GPtr<GsfOutfile> outfile(gsf_outfile_msole_new(sink));
    if (!outfile) {
        error = QStringLiteral("cannot create a compound file");
        return false;
    }
    if (root.classId.size() == kClassIdSize)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(outfile.get()),
                                       reinterpret_cast<const guint8*>(root.classId.constData()));
    bool ok = !produce || writeProducedStream(sink, outfile.get(), CompoundFile::kContentsStream, *produce, error);
    for (const StorageNode::Stream& stream : root.streams)
        ok = writeStream(outfile.get(), stream.name, stream.data) && ok;
    for (const StorageNode& sub : root.storages)
        ok = writeStorage(outfile.get(), sub) && ok;
    ok = gsf_output_close(GSF_OUTPUT(outfile.get())) && ok;
    if (!ok && error.isEmpty())
        error = QStringLiteral("cannot write the compound file");
    return ok;
}

StorageNode mapRoot(const QByteArray& contents, const QList<StorageNode>& embeddings)
{
    StorageNode root;
    root.streams.append(StorageNode::Stream{CompoundFile::kContentsStream, contents});
    root.storages = embeddings;
    return root;
}

} // namespace

bool CompoundFile::hasSignature(const QByteArray& file)
{
    return file.startsWith(QByteArray::fromRawData(kSignature, 8));
}

bool CompoundFile::readImage(const QByteArray& file, StorageNode& root, QString& error)
{
    if (!hasSignature(file)) {
        error = QStringLiteral("not a compound file");
        return false;
    }
    initGsf();
    GPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                              file.size(), FALSE));
    GError* rawError = nullptr;
    GPtr<GsfInfile> infile(gsf_infile_msole_new(input.get(), &rawError));
    std::unique_ptr<GError, GErrorFree> gerror(rawError);
    if (!infile) {
        error = QStringLiteral("not a valid compound file");
        if (gerror)
            error += QStringLiteral(": ") + QString::fromUtf8(gerror->message);
        return false;
    }
    TreeLimits limits;
    limits.bytesLeft = file.size();
    StorageNode read;
    if (!readStorage(infile.get(), QStringLiteral("Root Entry"), 0, limits, read)) {
        error = limits.error;
        return false;
    }
    root = std::move(read);
    return true;
}

bool CompoundFile::writeImage(const StorageNode& root, QByteArray& file, QString& error)
{
    initGsf();
    GPtr<GsfOutput> memory(gsf_output_memory_new());
    if (!writeInto(memory.get(), root, error))
        return false;
    const gsf_off_t size = gsf_output_size(memory.get());
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    file = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
    return true;
}

bool CompoundFile::read(const QByteArray& file, QByteArray& contents,
                        QList<StorageNode>& embeddings, QString& error)
{
    embeddings.clear();
    if (!hasSignature(file)) {
        contents = file;
        return true;
    }
    StorageNode root;
    if (!readImage(file, root, error))
        return false;
    const auto stream = std::find_if(root.streams.cbegin(), root.streams.cend(),
                                     [](const auto& s) { return s.name == kContentsStream; });
    if (stream == root.streams.cend()) {
        error = QStringLiteral("the compound file has no \"Contents\" stream");
        return false;
    }
    contents = stream->data;
    for (const StorageNode& storage : std::as_const(root.storages)) {
        if (storage.name.startsWith(kEmbeddingPrefix))
            embeddings.append(storage);
    }
    return true;
}

bool CompoundFile::write(const QByteArray& contents, const QList<StorageNode>& embeddings,
                         QByteArray& file, QString& error)
{
    return writeImage(mapRoot(contents, embeddings), file, error);
}

bool CompoundFile::writeToFile(const ContentsProducer& produce, const QList<StorageNode>& embeddings, int fd,
                               QString& error)
{
    initGsf();
    // Closing the output closes its own stream, on a copy of the descriptor
    // that no child started meanwhile inherits.
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    FILE* stream = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
    if (!stream) {
        if (copy >= 0)
            ::close(copy);
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    GPtr<GsfOutput> sink(gsf_output_stdio_new_FILE("map", stream, FALSE));
    StorageNode root;
    root.storages = embeddings;
    bool written = false;
    try {
        written = writeInto(sink.get(), root, error, &produce);
    } catch (...) {
        // The compound writer's objects hold each other until closed; the
        // file, at least, is let go of before the failure goes on.
        gsf_output_close(sink.get());
        throw;
    }
    const bool closed = gsf_output_is_closed(sink.get()) || gsf_output_close(sink.get());
    // The compound writer does not look at what its writes return: a full
    // disk shows only as the error the output kept.
    if (const GError* failure = gsf_output_error(sink.get())) {
        error = QString::fromUtf8(failure->message);
        return false;
    }
    if (written && !closed)
        error = QStringLiteral("cannot write the compound file");
    return written && closed;
}
