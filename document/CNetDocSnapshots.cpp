// The undo steps of a document: snapshot files of the whole map, written
// after every edit and read back by undo and redo.
#include "CNetDoc.h"

#include "ArchiveException.h"
#include "MapFileWriter.h"
#include "SnapshotChild.h"
#include "SnapshotDirectory.h"

#include <QFile>
#include <QTemporaryFile>

#include <future>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Plain system calls: this runs in the copy of the process as well.
bool WriteWholeFile(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool written = MapFileWriter::WriteAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

} // namespace

void CNetDoc::SaveSnapshot()
{
    RecordSnapshot({});
}

void CNetDoc::RecordSnapshot(const QByteArray& contents)
{
    // Each snapshot has a file of its own: a few may still be on their way
    // (a re-layout takes two at once), but no more, for the memory's sake.
    WaitForSnapshotWrites(kMaxPendingSnapshotWrites - 1);
    if (!m_bSnapshots)
        return;
    DropSnapshotsAfterCurrent();
    const QString directory = SnapshotDirectory::Path();
    QTemporaryFile file(SnapshotDirectory::FileTemplate(directory));
    file.setAutoRemove(false);
    if (directory.isEmpty() || !file.open()) {
        m_bSnapshots = false;
        return;
    }
    file.close();
    if (m_nSnapshot >= m_astrSnapshots.size())
        m_astrSnapshots.resize(m_nSnapshot + 1);
    const QString path = file.fileName();
    m_astrSnapshots[m_nSnapshot] = path;
    m_bSnapshotIsFileContents = !contents.isEmpty();
    if (!m_bSnapshotIsFileContents)
        emit snapshotStarting();
    if (m_bSnapshotIsFileContents || !StartSnapshotChild(path))
        WriteSnapshotHere(path, contents);
    m_nLastSnapshot = m_nSnapshot;
    ++m_nSnapshot;
}

// The contents given, or the document serialised here, written to path on
// a helper thread.
void CNetDoc::WriteSnapshotHere(const QString& path, const QByteArray& contents)
{
    // The buffer stays untouched until its earlier write is waited for.
    WaitForSnapshotWrite();
    if (!contents.isEmpty()) {
        m_snapshotBuffer = contents;
    } else {
        m_snapshotBuffer.resize(0);
        SerializeInto(m_snapshotBuffer, false);
    }
    const char* bytes = m_snapshotBuffer.constData();
    const qsizetype size = m_snapshotBuffer.size();
    const auto write = [file = QFile::encodeName(path), bytes, size] {
        return WriteWholeFile(file, QByteArray::fromRawData(bytes, size));
    };
    try {
        m_snapshotWrites.push_back(std::async(std::launch::async, write));
    } catch (const std::system_error&) {
        // No thread to be had: written here and now.
        std::promise<bool> written;
        written.set_value(write());
        m_snapshotWrites.push_back(written.get_future());
    }
}

// A large map takes a while to serialise: a copy of the process made at
// this instant does it, and the interface goes on at once. The copy shares
// the memory until either side changes it, so it sees exactly this map.
bool CNetDoc::StartSnapshotChild(const QString& path)
{
    // Embedded items are written through libgsf and GLib, whose locks
    // another thread may hold at the moment of the copy.
    if (!m_bSnapshotChildren || HoldsEmbeddedItems())
        return false;
    const QByteArray file = QFile::encodeName(path);
    std::shared_ptr<SnapshotChild> child;
    {
        // No survey thread is halfway through a change at the moment of the copy.
        const std::lock_guard lock(m_lock);
        child = SnapshotChild::Start([this, &file] {
            QByteArray bytes;
            SerializeInto(bytes, false);
            return WriteWholeFile(file, bytes);
        });
    }
    if (!child)
        return false;
    m_snapshotWrites.push_back(std::async(std::launch::deferred, [child] { return child->Wait(); }));
    return true;
}

void CNetDoc::WaitForSnapshotWrite()
{
    WaitForSnapshotWrites(0);
}

void CNetDoc::WaitForSnapshotWrites(std::size_t stillPending)
{
    while (m_snapshotWrites.size() > stillPending) {
        // A truncated snapshot is worse than none.
        if (!m_snapshotWrites.front().get())
            m_bSnapshots = false;
        m_snapshotWrites.pop_front();
    }
}

void CNetDoc::DropSnapshotsAfterCurrent()
{
    if (m_nSnapshot <= m_nLastSnapshot + 1)
        return;
    for (int n = m_nLastSnapshot + 1; n < m_nSnapshot && n < m_astrSnapshots.size(); ++n) {
        QFile::remove(m_astrSnapshots.at(n));
        m_astrSnapshots[n].clear();
    }
    m_nSnapshot = m_nLastSnapshot + 1;
}

bool CNetDoc::CanUndo() const
{
    return m_bSnapshots && m_nSnapshot > 0 && m_nLastSnapshot > 0;
}

bool CNetDoc::CanRedo() const
{
    return m_bSnapshots && m_nLastSnapshot + 1 < m_nSnapshot;
}

bool CNetDoc::Undo()
{
    return CanUndo() && RestoreSnapshot(m_nLastSnapshot - 1);
}

bool CNetDoc::Redo()
{
    return CanRedo() && RestoreSnapshot(m_nLastSnapshot + 1);
}

// Replaces the objects and settings by those of a snapshot; the snapshot
// list itself stays as it is.
bool CNetDoc::RestoreSnapshot(int index)
{
    WaitForSnapshotWrite();
    // A snapshot whose write failed may be cut short: the map stays as it is.
    if (!m_bSnapshots)
        return false;
    m_bSnapshotIsFileContents = false;
    QFile file(m_astrSnapshots.value(index));
    if (!file.open(QIODevice::ReadOnly) || !RestoreContents(file.readAll()))
        return false;
    m_nLastSnapshot = index;
    return true;
}

bool CNetDoc::RestoreContents(const QByteArray& contents)
{
    DeleteAllObjects();
    try {
        LoadContents(contents);
    } catch (const ArchiveException&) {
        return false;
    }
    SetModifiedFlag(true);
    UpdateAllViews(0, nullptr);
    return true;
}

void CNetDoc::SaveSnapshotUnlessCurrent(const QByteArray& contents)
{
    WaitForSnapshotWrite();
    // The file as read holds the same map in other bytes.
    if (m_bSnapshotIsFileContents && !IsModified())
        return;
    if (m_nSnapshot > 0) {
        QFile latest(m_astrSnapshots.value(m_nLastSnapshot));
        if (latest.open(QIODevice::ReadOnly) && latest.size() == contents.size() && latest.readAll() == contents)
            return;
    }
    SaveSnapshot();
}

void CNetDoc::DeleteSnapshotFiles()
{
    WaitForSnapshotWrite();
    for (const QString& name : std::as_const(m_astrSnapshots)) {
        if (!name.isEmpty())
            QFile::remove(name);
    }
    m_astrSnapshots.clear();
}
