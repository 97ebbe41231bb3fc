#pragma once

#include "CReserveBlockEx.h"
#include "Geometry.h"
#include "StorageNode.h"
#include "SurveyResults.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <deque>
#include <future>
#include <mutex>
#include <optional>

#include <sys/types.h>

class Archive;
class CDrawDomain;
class CDrawNic;
class CDrawObj;
class CDrawSegment;
class CDrawSys;
class DrawView;
class Persistent;
class QPainter;

using COLORREF = quint32;

// One network map: its objects, appearance, survey settings and the
// bookkeeping of its last survey, with the map file it is saved to.
//
// Ownership: m_objects owns every map object. An object leaves it only
// through RemoveObject (the caller then deletes it) or DeleteAllObjects.
// Everything here runs on the user-interface thread, with two exceptions:
// loading and saving run the archive on a helper thread while the caller
// waits, and a survey's threads fill their system objects concurrently. Those
// threads hold DocumentLock() while they touch the object list, and so does
// drawing; view updates and the modified flag they cause are forwarded to the
// document's own thread.
class CNetDoc : public QObject {
    Q_OBJECT

public:
    // Supplies the default printer's physical page in 0.1 mm, or nothing when
    // there is no printer; set by the application, absent when headless.
    using PrinterPageSource = std::function<std::optional<Size>()>;
    static void setPrinterPageSource(PrinterPageSource source);
    static PrinterPageSource printerPage();

    explicit CNetDoc(QObject* parent = nullptr);
    ~CNetDoc() override;

    // Life cycle. Failures return false with the reason in error.
    bool OnNewDocument();
    bool OnOpenDocument(const QString& path, QString* error = nullptr);
    bool OnSaveDocument(const QString& path, QString* error = nullptr);
    // The two halves of a save: the map file's bytes, then the file.
    bool FileBytes(QByteArray& file, QString* error = nullptr);
    bool WriteFile(const QByteArray& file, const QString& path, QString* error = nullptr);
    void OnCloseDocument();

    void Serialize(Archive& ar);
    // The archive of the whole document. For a compound map file the
    // embedded items' storages stay outside it (see CollectEmbeddings).
    QByteArray SaveContents(bool forCompoundFile = false);
    // Replaces the objects and settings by those of an archive; throws
    // ArchiveException, after which the document holds no objects. For a
    // compound map file, m_embeddings must hold its storages first.
    void LoadContents(const QByteArray& contents, bool fromCompoundFile = false);
    // The "Embedding <n>" storages a compound map file is saved with: the
    // embedded items' and those no item claimed when the file was read.
    QList<StorageNode> CollectEmbeddings() const;

    // The private clipboard format: an archive of an object list. Pasting
    // adds every object the archive holds (the listed ones and those they
    // bring along, such as a device's labels) and gives the listed ones;
    // throws ArchiveException on bad data, leaving the document unchanged.
    QByteArray CopyObjects(QList<CDrawObj*> objects);
    QList<CDrawObj*> PasteObjects(const QByteArray& archive);

    void AddObject(CDrawObj* object);
    void RemoveObject(CDrawObj* object, DrawView* view);
    CDrawObj* ObjectAt(Point point) const;
    // Structural edits made by hand (the property sheet). None records a
    // snapshot or marks the document modified: their callers do.
    // The first domain (not a system) of that name, ASCII letters compared
    // without case; an empty name finds the forest.
    CDrawDomain* FindDomain(const QString& name) const;
    // A new domain under the forest, which is created when missing.
    CDrawDomain* CreateDomain(const QString& name);
    // A new segment at the head of the forest's; null without a forest.
    CDrawSegment* CreateSegment(quint32 gateway, quint32 mask);
    // A new interface of the system, labelled, on a segment (created when no
    // segment holds its addresses) and connected to that segment's gateway.
    CDrawNic* CreateNic(CDrawSys* system, const QList<quint32>& addresses, quint32 mask, quint32 gateway,
                        const QString& mac);
    CDrawNic* FindNicByMac(const QString& mac) const;
    CDrawSegment* FindSegmentOfNic(const QString& mac) const;
    // Hangs the device on the system of that FQDN and names it
    // "\\host\device"; the host, or null when there is none.
    CDrawSys* AttachToHost(const QString& hostName, CDrawSys* device);
    // The host part of an FQDN: the text before its first dot.
    static QString HostPart(const QString& fqdn);
    // The device part of a name: after a UNC name's second backslash, else
    // the host part.
    static QString DevicePart(const QString& name);
    void DeleteAllObjects();
    void ResetDocument();
    bool ResetDefaultSizes();
    void UpdatePageSize();
    Rect UpdatePageCount();
    // The bounds of every object's position and the origin, moved so that
    // its top-left is at the origin.
    Rect ObjectsExtent() const;
    // Every completed edit writes a snapshot of the whole document; undo and
    // redo step through them. An edit after an undo drops the later ones.
    void SaveSnapshot();
    // A snapshot of the contents, unless the latest snapshot holds them.
    void SaveSnapshotUnlessCurrent(const QByteArray& contents);
    // Puts the objects and settings back as the contents hold them, without
    // an undo step (an edit the user cancelled).
    bool RestoreContents(const QByteArray& contents);
    // The latest snapshots' files are written off the interface thread;
    // whatever reads or removes snapshot files waits for all of them first.
    void WaitForSnapshotWrite();
    bool CanUndo() const;
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    void DrawObjects(QPainter& painter, DrawView* view);
    // Labels follow their devices when drawn, so a map built or read without
    // being drawn holds labels where their devices stood before they were
    // placed, and every extent reaches there. This moves them as drawing
    // would, so that a paint can pass over what lies out of view.
    void PlaceLabels();

    // From another thread only a repaint of everything is forwarded, since
    // the object may be gone by the time the view gets to it.
    void UpdateAllViews(int hint, CDrawObj* object);
    void SetModifiedFlag(bool modified);
    bool IsModified() const { return m_bModified; }

    // Archive indexes that a save gives to every object, for listings.
    QList<QPair<quint32, const Persistent*>> ArchiveIndexes();

    // Persistent members, in file order.
    COLORREF m_crBackground = 0x00FFFFFF;
    std::array<Rect, 7> m_rcDefaultSize{};
    quint32 m_dwReserved = 0;
    Size m_sizePage{};
    QList<CDrawObj*> m_objects;
    QStringList m_astrWsdNames;
    QStringList m_astrSurveyHosts;
    CReserveBlockEx m_reserve;
    QList<quint32>& m_adwSurveySettings = m_reserve.m_adwArrays[0];
    QStringList& m_astrWmiAccount = m_reserve.m_astrArrays[0];
    QStringList& m_astrHiddenColumns = m_reserve.m_astrArrays[1];

    // Map objects a file holds outside its object list, reachable only
    // through references (a paste can leave a whole copy of a map behind a
    // pasted device's owner). They stay owned here and are written back
    // through those references, but are neither drawn nor laid out.
    QList<CDrawObj*> m_unlisted;

    // Storages of the compound map file that no embedded item claimed,
    // carried unchanged between load and save.
    QList<StorageNode> m_embeddings;

    // Runtime members.
    std::array<Rect, 3> m_rcShapeSizeExtra{};
    int m_nPagesX = 1;
    int m_nPagesY = 1;
    int m_nPages = 1;
    int m_nObjectSpacing = 200;
    QStringList m_astrSnapshots;
    int m_nSnapshot = 0;
    int m_nLastSnapshot = 0;
    bool m_bSnapshots = true;
    // Off for documents nobody edits by hand (the command line's): they
    // write no edit snapshots at all, so a killed run leaves none behind.
    bool m_bSnapshotsWanted = true;
    // Off: snapshots are serialised in this process, on the interface
    // thread (the slower way, which the copy must match byte for byte).
    bool m_bSnapshotChildren = true;
    QObject* m_pListView = nullptr;
    QStringList m_astrWmiClassNames;
    SurveyResults m_survey;
    // The inventory tables of the last survey as one text (see HostInventory).
    QStringList m_astrHostTable;

    // Serialises the survey threads' changes to the objects with each other
    // and with drawing.
    std::recursive_mutex& DocumentLock() const { return m_lock; }

signals:
    // A view should repaint: hint 0 all, 1 one object, 2 a list, 3 a list
    // leaving the selection, 4 embedded objects.
    void viewsUpdateRequested(int hint, CDrawObj* object);
    void modifiedChanged(bool modified);
    // Every object is about to be deleted: views drop their selections.
    void allObjectsDeleting();
    // The page size or the page count changed.
    void pageSizeChanged(Size page);
    // An edit is done and its snapshot is about to be serialised, which
    // takes a while on a large map: views show the edit first.
    void snapshotStarting();

private:
    void LoadSurveySettingsFromStore();
    void LoadHiddenColumnsFromStore();
    void DeleteSnapshotFiles();
    // The archive of the whole document appended to contents.
    void SerializeInto(QByteArray& contents, bool forCompoundFile);
    // The compound file's archive, passed to write in pieces as it is made;
    // false with a reason when it cannot be made or write refuses a piece.
    bool StreamContents(const std::function<bool(const char*, qsizetype)>& write, QString& error);
    mode_t NewFileMode() const;
    // After a map file was written (or not): true when it was.
    bool Saved(bool written);
    // A snapshot of these contents, or of the document when they are empty.
    void RecordSnapshot(const QByteArray& contents);
    // The document serialised and written to path by a copy of the process;
    // false when no copy could be made.
    bool StartSnapshotChild(const QString& path);
    void WriteSnapshotHere(const QString& path, const QByteArray& contents);
    // Waits for the oldest snapshot writes until no more than this many remain.
    void WaitForSnapshotWrites(std::size_t stillPending);
    bool HoldsEmbeddedItems() const;
    void DropSnapshotsAfterCurrent();
    static QList<CDrawObj*> WithBelongings(const QList<CDrawObj*>& listed);
    bool RestoreSnapshot(int index);
    void AdoptLoadedObjects(std::vector<Persistent*> created);
    void ForgetObjectPointers();
    static void RemoveNullsAndRepeats(QList<CDrawObj*>& objects);
    void DrawOnce(QPainter& painter, DrawView* view, CDrawObj* object);
    void DrawAttached(QPainter& painter, DrawView* view, CDrawObj* object);

    bool IsOffThread() const;

    mutable std::recursive_mutex m_lock;
    std::atomic<bool> m_bRepaintQueued = false;
    bool m_bModified = false;
    qsizetype m_nLastContentsSize = 0;
    // Snapshots are serialised into one buffer kept between edits, so a
    // large map does not fault in fresh pages for every undo step.
    QByteArray m_snapshotBuffer;
    // The oldest first; each writes a file of its own.
    std::deque<std::future<bool>> m_snapshotWrites;
    static constexpr std::size_t kMaxPendingSnapshotWrites = 2;
    // The latest snapshot is the map file's archive as it was read.
    bool m_bSnapshotIsFileContents = false;
};
