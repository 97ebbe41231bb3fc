#include "CNetDoc.h"

#include "Archive.h"
#include "ArchiveException.h"
#include "CompoundFile.h"
#include "LargeStack.h"
#include "MapFileWriter.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawObj.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/DrawView.h"
#include "shell/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPen>
#include <QSet>
#include <QThread>

#include <new>

namespace {

// A4 portrait in 0.1 mm, the page when there is no printer.
constexpr Size kDefaultPage{2100, 2970};

// Several times the file of a 100,000-host map with every inventory.
constexpr qint64 kMaxMapFileBytes = qint64(4) << 30;

const QString kSurveyKey = QStringLiteral("NetRes");
const QString kHiddenColumnsKey = QStringLiteral("List_Del");
// Registry values of the five survey settings, in array order.
const char* const kSurveyValueNames[] = {"Ping", "Wmi", "Proxy", "Err", "ThreadStart"};

CNetDoc::PrinterPageSource& printerPageSource()
{
    static CNetDoc::PrinterPageSource source;
    return source;
}

int pagesFor(qint32 length, qint32 page)
{
    return int((qint64(length) + page - 1) / page);
}

} // namespace

CNetDoc::PrinterPageSource CNetDoc::printerPage()
{
    return printerPageSource();
}

void CNetDoc::setPrinterPageSource(PrinterPageSource source)
{
    printerPageSource() = std::move(source);
}

CNetDoc::CNetDoc(QObject* parent)
    : QObject(parent)
    , m_astrWmiClassNames{QStringLiteral("ComputerSystem"), QStringLiteral("OperatingSystem"),
                          QStringLiteral("Processor"),      QStringLiteral("DiskDrive"),
                          QStringLiteral("NetworkAdapter"), QStringLiteral("SystemEnclosure"),
                          QStringLiteral("Printer")}
{
    m_rcDefaultSize[0] = Rect{0, 0, 100, 200};
    UpdatePageSize();
}

CNetDoc::~CNetDoc()
{
    DeleteAllObjects();
    DeleteSnapshotFiles();
}

bool CNetDoc::OnNewDocument()
{
    DeleteAllObjects();
    SetModifiedFlag(false);
    ResetDocument();
    SaveSnapshot();
    return true;
}

bool CNetDoc::OnOpenDocument(const QString& path, QString* error)
{
    ResetDocument();
    QString reason;
    QFile file(path);
    QByteArray bytes;
    QByteArray contents;
    QList<StorageNode> embeddings;
    // A device or a pipe (/dev/zero) would be read without end.
    if (!QFileInfo(path).isFile() && QFileInfo::exists(path)) {
        reason = QStringLiteral("not a regular file");
    } else if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else if (file.size() > kMaxMapFileBytes) {
        // Read whole, such a file would take the machine's memory for nothing.
        reason = QStringLiteral("too large for a map file (over %1 GiB)").arg(kMaxMapFileBytes >> 30);
    } else {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else
            CompoundFile::read(bytes, contents, embeddings, reason);
    }
    // The file's bytes are not needed once its contents are out: a large
    // map's objects are built without them in memory.
    const bool compound = CompoundFile::hasSignature(bytes);
    bytes = QByteArray();
    DeleteAllObjects();
    if (reason.isEmpty()) {
        try {
            m_embeddings = std::move(embeddings);
            LoadContents(contents, compound);
        } catch (const ArchiveException& e) {
            reason = QString::fromStdString(e.what());
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("out of memory");
        }
    }
    if (!reason.isEmpty()) {
        m_embeddings.clear();
        if (error)
            *error = reason;
        return false;
    }
    SetModifiedFlag(false);
    // The map as read is the first undo step: its archive serves as the
    // snapshot unless embedded items are kept apart from it.
    RecordSnapshot(compound && HoldsEmbeddedItems() ? QByteArray() : contents);
    return true;
}

bool CNetDoc::HoldsEmbeddedItems() const
{
    const auto embedded = [](const CDrawObj* object) { return object && object->IsKindOf(CDrawOleObj::StaticClass()); };
    return std::any_of(m_objects.cbegin(), m_objects.cend(), embedded)
        || std::any_of(m_unlisted.cbegin(), m_unlisted.cend(), embedded);
}

bool CNetDoc::OnSaveDocument(const QString& path, QString* error)
{
    // The archive goes straight into the file beside the map as it is made:
    // a large map is never held whole in memory a second time.
    const QList<StorageNode> embeddings = CollectEmbeddings();
    const auto contents = [this](const CompoundFile::ContentsWriter& write, QString& reason) {
        return StreamContents(write, reason);
    };
    const auto produce = [&](int fd, QString& reason) {
        return CompoundFile::writeToFile(contents, embeddings, fd, reason);
    };
    return Saved(MapFileWriter::Write(path, produce, NewFileMode(), error));
}

bool CNetDoc::FileBytes(QByteArray& file, QString* error)
{
    QString reason;
    if (CompoundFile::write(SaveContents(true), CollectEmbeddings(), file, reason))
        return true;
    if (error)
        *error = reason;
    return false;
}

bool CNetDoc::WriteFile(const QByteArray& file, const QString& path, QString* error)
{
    return Saved(MapFileWriter::Write(path, file, NewFileMode(), error));
}

mode_t CNetDoc::NewFileMode() const
{
    // The survey account's password is kept in clear in the file, as the
    // format has it: a new map that holds one is for its owner only. An
    // existing file keeps the mode it has.
    return m_astrWmiAccount.value(2).isEmpty() ? 0666 : 0600;
}

bool CNetDoc::Saved(bool written)
{
    if (!written)
        return false;
    // Saved unmodified from here on, but not the archive first read.
    m_bSnapshotIsFileContents = false;
    SetModifiedFlag(false);
    return true;
}

void CNetDoc::OnCloseDocument()
{
    DeleteAllObjects();
}

void CNetDoc::Serialize(Archive& ar)
{
    ar.setDocument(this);
    if (ar.IsStoring()) {
        ar.writeDword(m_crBackground);
        for (const Rect& r : m_rcDefaultSize)
            ar.writeRect(r);
        ar.writeDword(m_dwReserved);
        ar.writeSize(m_sizePage);
        ar.writeDword(m_crBackground);
    } else {
        m_crBackground = ar.readDword();
        for (Rect& r : m_rcDefaultSize)
            r = ar.readRect();
        m_dwReserved = ar.readDword();
        // The saved page size is not used: the page is the printer's.
        ar.readSize();
        m_crBackground = ar.readDword();
        m_objects.clear();
        m_reserve.m_aobjLists.clear();
    }
    ar.serializeObjectList(m_objects, CDrawObj::classInfoCDrawObj);
    // The list owns each object once; a null entry stands for nothing.
    if (ar.IsLoading())
        RemoveNullsAndRepeats(m_objects);
    ar.serialize(m_astrWsdNames);
    ar.serialize(m_astrSurveyHosts);
    m_reserve.Serialize(ar);
}

QByteArray CNetDoc::SaveContents(bool forCompoundFile)
{
    QByteArray contents;
    // Saves and copies of a map come again and again; the last size saves
    // regrowing the buffer.
    contents.reserve(m_nLastContentsSize);
    SerializeInto(contents, forCompoundFile);
    m_nLastContentsSize = contents.size();
    return contents;
}

void CNetDoc::SerializeInto(QByteArray& contents, bool forCompoundFile)
{
    runOnLargeStack([&] {
        Archive ar(contents);
        ar.setFlat(!forCompoundFile);
        Serialize(ar);
    });
}

bool CNetDoc::StreamContents(const std::function<bool(const char*, qsizetype)>& write, QString& error)
{
    // Thrown out of the archive's walk once the file takes no more.
    struct WriteRefused {};
    qsizetype size = 0;
    try {
        runOnLargeStack([&] {
            QByteArray buffer;
            const auto pass = [&](const char* data, qsizetype bytes) {
                if (!write(data, bytes))
                    throw WriteRefused{};
                size += bytes;
            };
            Archive ar(pass, buffer);
            ar.setFlat(false);
            Serialize(ar);
            ar.flush();
        });
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("out of memory");
        return false;
    } catch (const ArchiveException& failure) {
        error = QString::fromLocal8Bit(failure.what());
        return false;
    } catch (const WriteRefused&) {
        error = QStringLiteral("cannot write the map");
        return false;
    }
    m_nLastContentsSize = size;
    return true;
}

QList<StorageNode> CNetDoc::CollectEmbeddings() const
{
    QList<StorageNode> storages = m_embeddings;
    for (const CDrawObj* object : m_objects) {
        if (object->IsKindOf(CDrawOleObj::StaticClass())) {
            const CDrawItem* item = static_cast<const CDrawOleObj*>(object)->m_pClientItem;
            if (item)
                storages.append(item->Storage());
        }
    }
    return storages;
}

void CNetDoc::LoadContents(const QByteArray& contents, bool fromCompoundFile)
{
    runOnLargeStack([&] {
        Archive ar(contents, this);
        ar.setFlat(!fromCompoundFile);
        try {
            Serialize(ar);
        } catch (...) {
            // The archive deletes what it created; nothing may point there.
            ForgetObjectPointers();
            throw;
        }
        AdoptLoadedObjects(ar.TakeCreatedObjects());
    });
}

void CNetDoc::RemoveNullsAndRepeats(QList<CDrawObj*>& objects)
{
    QSet<const CDrawObj*> seen;
    objects.removeIf([&seen](const CDrawObj* object) {
        if (!object || seen.contains(object))
            return true;
        seen.insert(object);
        return false;
    });
}

void CNetDoc::ForgetObjectPointers()
{
    m_objects.clear();
    m_reserve.m_aobjLists.clear();
}

void CNetDoc::AdoptLoadedObjects(std::vector<Persistent*> created)
{
    // Map objects that the file left outside the object list are kept as
    // unlisted ones; helper objects (address arrays) have been copied by
    // their readers, and embedded items belong to their map object.
    const QSet<const CDrawObj*> listed(m_objects.cbegin(), m_objects.cend());
    for (Persistent* object : created) {
        if (!object->IsKindOf(CDrawObj::classInfoCDrawObj)) {
            if (!object->HasOwner())
                delete object;
            continue;
        }
        auto* drawObj = static_cast<CDrawObj*>(object);
        if (!listed.contains(drawObj))
            m_unlisted.append(drawObj);
    }
}

QByteArray CNetDoc::CopyObjects(QList<CDrawObj*> objects)
{
    QByteArray bytes;
    runOnLargeStack([&] {
        Archive ar(bytes);
        ar.setDocument(this);
        ar.serializeObjectList(objects, CDrawObj::classInfoCDrawObj);
    });
    return bytes;
}

QList<CDrawObj*> CNetDoc::PasteObjects(const QByteArray& archive)
{
    QList<CDrawObj*> listed;
    std::vector<Persistent*> created;
    runOnLargeStack([&] {
        Archive ar(archive, this);
        ar.serializeObjectList(listed, CDrawObj::classInfoCDrawObj);
        created = ar.TakeCreatedObjects();
    });
    RemoveNullsAndRepeats(listed);
    // A copied device refers to its domain, and the domain to the whole map;
    // the archive brings all of it along. Only the listed objects and what
    // belongs to them (labels, interfaces, hanging printers) are pasted; the
    // rest is cut loose and deleted.
    const QList<CDrawObj*> kept = WithBelongings(listed);
    const QSet<const CDrawObj*> keep(kept.cbegin(), kept.cend());
    QSet<const CDrawObj*> gone;
    QList<CDrawObj*> dropped;
    for (Persistent* object : created) {
        if (!object->IsKindOf(CDrawObj::classInfoCDrawObj)) {
            if (!object->HasOwner())
                delete object;
            continue;
        }
        auto* drawObj = static_cast<CDrawObj*>(object);
        if (!keep.contains(drawObj)) {
            gone.insert(drawObj);
            dropped.append(drawObj);
        }
    }
    for (CDrawObj* object : kept)
        if (object->IsKindOf(CDrawDomain::StaticClass()))
            static_cast<CDrawDomain*>(object)->ForgetObjects(gone);
    for (CDrawObj* object : std::as_const(dropped))
        object->ForgetMapLinks();
    for (CDrawObj* object : std::as_const(dropped))
        object->Remove();
    for (CDrawObj* object : kept)
        AddObject(object);
    return listed;
}

QList<CDrawObj*> CNetDoc::WithBelongings(const QList<CDrawObj*>& listed)
{
    QList<CDrawObj*> all;
    QSet<const CDrawObj*> seen;
    QList<CDrawObj*> pending = listed;
    while (!pending.isEmpty()) {
        CDrawObj* object = pending.takeFirst();
        if (!object || seen.contains(object))
            continue;
        seen.insert(object);
        all.append(object);
        pending.append(object->AttachedObjects());
        if (object->IsKindOf(CDrawSys::StaticClass()))
            pending.append(static_cast<CDrawSys*>(object)->m_nics);
    }
    return all;
}

QList<QPair<quint32, const Persistent*>> CNetDoc::ArchiveIndexes()
{
    QList<QPair<quint32, const Persistent*>> indexes;
    runOnLargeStack([&] {
        QByteArray scratch;
        Archive ar(scratch);
        Serialize(ar);
        indexes = ar.writtenObjects();
    });
    return indexes;
}

void CNetDoc::AddObject(CDrawObj* object)
{
    if (object->IsConnection())
        m_objects.prepend(object);
    else
        m_objects.append(object);
    object->m_pDocument = this;
    object->m_pMainWnd = nullptr;
    SetModifiedFlag(true);
}

void CNetDoc::RemoveObject(CDrawObj* object, DrawView* view)
{
    m_objects.removeOne(object);
    SetModifiedFlag(true);
    if (view)
        view->removeFromSelection(object);
}

CDrawObj* CNetDoc::ObjectAt(Point point) const
{
    const Rect probe{point.x, point.y, point.x + 1, point.y + 1};
    for (auto it = m_objects.crbegin(); it != m_objects.crend(); ++it) {
        if ((*it)->Intersects(probe))
            return *it;
    }
    return nullptr;
}

void CNetDoc::DeleteAllObjects()
{
    // Everything goes, so the links between the objects are cut first: no
    // destructor then walks the document to unlink what it owns, and each
    // object is deleted exactly once, in time linear in the map's size.
    if (!m_objects.isEmpty() && !IsOffThread())
        emit allObjectsDeleting();
    const QList<CDrawObj*> objects = std::exchange(m_objects, {}) + std::exchange(m_unlisted, {});
    m_reserve.m_aobjLists.clear();
    for (CDrawObj* object : objects)
        object->ForgetMapLinks();
    for (CDrawObj* object : objects)
        object->Remove();
}

void CNetDoc::ResetDocument()
{
    m_rcDefaultSize.fill(Rect{});
    m_rcDefaultSize[0] = Rect{0, 0, 100, 200};
    m_crBackground = 0x00FFFFFF;
    m_rcShapeSizeExtra.fill(Rect{});
    UpdatePageSize();
    m_nPages = m_nPagesX = m_nPagesY = 1;
    // A write of the previous map's snapshots that failed says nothing of this one.
    DeleteSnapshotFiles();
    m_nSnapshot = 0;
    m_nLastSnapshot = 0;
    m_bSnapshots = m_bSnapshotsWanted;
    m_nObjectSpacing = 200;
    m_objects.clear();
    m_embeddings.clear();
    if (m_adwSurveySettings.isEmpty())
        LoadSurveySettingsFromStore();
    LoadHiddenColumnsFromStore();
}

void CNetDoc::LoadSurveySettingsFromStore()
{
    const SettingsStore store;
    for (const char* name : kSurveyValueNames) {
        quint32 value = 0;
        if (!store.readDword(kSurveyKey, QString::fromLatin1(name), value))
            value = 0;
        m_adwSurveySettings.append(value);
    }
}

void CNetDoc::LoadHiddenColumnsFromStore()
{
    const QStringList stored = SettingsStore().readUncountedList(kHiddenColumnsKey);
    for (qsizetype n = 0; n < stored.size(); ++n) {
        if (n < m_astrHiddenColumns.size())
            m_astrHiddenColumns[n] = stored.at(n);
        else
            m_astrHiddenColumns.append(stored.at(n));
    }
}

bool CNetDoc::ResetDefaultSizes()
{
    const Rect& guard = m_rcDefaultSize[0];
    if (!(guard.top < guard.bottom && guard.left < guard.right))
        return false;
    m_rcDefaultSize[0] = Rect{0, 0, 130, 260};
    m_rcDefaultSize[1] = Rect{0, 0, 140, 180};
    m_rcDefaultSize[2] = Rect{0, 0, 130, 260 * 7 / 10};
    m_rcDefaultSize[3] = Rect{0, 0, 130 * 3 / 5, 260 / 5};
    m_rcDefaultSize[4] = Rect{0, 0, 130 * 3 / 5, 260 / 6};
    m_rcDefaultSize[5] = Rect{0, 0, 100, 200 / 2};
    m_rcShapeSizeExtra[0] = Rect{0, 0, 100, 100 * 26 / 33};
    m_rcShapeSizeExtra[1] = Rect{0, 0, 130 + 130 / 2, 195 / 5};
    m_rcShapeSizeExtra[2] = Rect{0, 0, 100 * 15 / 20, 100};
    return true;
}

void CNetDoc::UpdatePageSize()
{
    Size page = kDefaultPage;
    if (const PrinterPageSource& source = printerPageSource()) {
        if (const std::optional<Size> printerPage = source())
            page = *printerPage;
    }
    if (page != m_sizePage) {
        m_sizePage = page;
        emit pageSizeChanged(m_sizePage);
    }
    ResetDefaultSizes();
}

Rect CNetDoc::ObjectsExtent() const
{
    // The extent always includes the origin.
    Rect extent;
    for (const CDrawObj* object : std::as_const(m_objects)) {
        const Rect r = object->m_position.normalized();
        extent.left = std::min(extent.left, r.left);
        extent.top = std::min(extent.top, r.top);
        extent.right = std::max(extent.right, r.right);
        extent.bottom = std::max(extent.bottom, r.bottom);
    }
    return extent.translated(-extent.left, -extent.top);
}

Rect CNetDoc::UpdatePageCount()
{
    const Rect extent = ObjectsExtent();
    if (m_sizePage.cx <= 0 || m_sizePage.cy <= 0)
        return extent;
    const int pagesX = pagesFor(extent.width(), m_sizePage.cx);
    const int pagesY = pagesFor(extent.height(), m_sizePage.cy);
    if (pagesX == 0 || pagesY == 0 || (pagesX == m_nPagesX && pagesY == m_nPagesY))
        return extent;
    m_nPagesX = pagesX;
    m_nPagesY = pagesY;
    m_nPages = pagesX * pagesY;
    emit pageSizeChanged(m_sizePage);
    return extent;
}

bool CNetDoc::IsOffThread() const
{
    return QThread::currentThread() != thread();
}

void CNetDoc::UpdateAllViews(int hint, CDrawObj* object)
{
    if (!IsOffThread()) {
        emit viewsUpdateRequested(hint, object);
        return;
    }
    // Many threads may ask at once; one queued repaint serves them all.
    if (m_bRepaintQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(this, [this] {
        m_bRepaintQueued = false;
        emit viewsUpdateRequested(0, nullptr);
    }, Qt::QueuedConnection);
}

void CNetDoc::SetModifiedFlag(bool modified)
{
    if (IsOffThread()) {
        QMetaObject::invokeMethod(this, [this, modified] { SetModifiedFlag(modified); },
                                  Qt::QueuedConnection);
        return;
    }
    // A change since the file was read: its archive is no longer the map.
    if (modified)
        m_bSnapshotIsFileContents = false;
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit modifiedChanged(modified);
}

void CNetDoc::DrawOnce(QPainter& painter, DrawView* view, CDrawObj* object)
{
    object->m_bPendingDraw = false;
    object->Draw(painter);
    if (view && view->showsHandles() && !view->isPrinting() && view->isSelected(object))
        object->DrawTracker(painter, TrackerState::Selected);
}

void CNetDoc::DrawAttached(QPainter& painter, DrawView* view, CDrawObj* object)
{
    for (CDrawObj* attached : object->AttachedObjects()) {
        if (attached && attached->m_bPendingDraw)
            DrawOnce(painter, view, attached);
    }
}

void CNetDoc::PlaceLabels()
{
    const std::lock_guard lock(m_lock);
    for (CDrawObj* object : std::as_const(m_objects))
        if (object->IsKindOf(CDrawSys::StaticClass()) && !object->m_position.isNull())
            static_cast<CDrawSys*>(object)->FollowHost();
    for (CDrawObj* object : std::as_const(m_objects))
        if (object->IsKindOf(CDrawText::StaticClass()))
            static_cast<CDrawText*>(object)->FollowDevice();
    // A host's extent takes in its printers': theirs first.
    for (const bool hosted : {true, false}) {
        for (CDrawObj* object : std::as_const(m_objects)) {
            if (!object->IsKindOf(CDrawSys::StaticClass()))
                continue;
            auto* system = static_cast<CDrawSys*>(object);
            // A device not yet placed is not drawn, and keeps its extent.
            if (!system->m_position.isNull() && (system->m_pOwnerSys != nullptr) == hosted)
                system->RecalcExtent();
        }
    }
}

void CNetDoc::DrawObjects(QPainter& painter, DrawView* view)
{
    const std::lock_guard lock(m_lock);
    // A painter on a widget starts with the widget's colours, which a dark
    // look turns white; the map's own texts and lines are black on paper
    // and on screen alike.
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    for (CDrawObj* object : std::as_const(m_objects))
        object->m_bPendingDraw = true;
    const bool printing = !view || view->isPrinting();
    const Rect client = view ? view->clientRectLogical().normalized() : Rect{};
    for (CDrawObj* object : std::as_const(m_objects)) {
        if (printing) {
            object->Draw(painter);
            continue;
        }
        if (!object->m_bPendingDraw)
            continue;
        if (!object->m_rcExtent.normalized().intersects(client) && !object->IsConnection())
            continue;
        DrawOnce(painter, view, object);
        DrawAttached(painter, view, object);
    }
    if (printing)
        return;
    // Selected objects are drawn even outside the visible area.
    for (CDrawObj* object : view->selection()) {
        if (object->m_bPendingDraw)
            DrawOnce(painter, view, object);
        DrawAttached(painter, view, object);
    }
}
