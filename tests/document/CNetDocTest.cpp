#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/MapFileWriter.h"
#include "document/ProcessTag.h"
#include "document/SnapshotDirectory.h"
#include "objects/CDrawObj.h"
#include "shell/SettingsStore.h"
#include "support/ArchiveBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The archive of a new, empty document with the survey settings given.
QByteArray emptyDocumentContents(const QList<quint32>& surveySettings)
{
    ArchiveBytes b;
    b.dword(0x00FFFFFF);
    b.rect(0, 0, 130, 260).rect(0, 0, 140, 180).rect(0, 0, 130, 182).rect(0, 0, 78, 52);
    b.rect(0, 0, 78, 43).rect(0, 0, 100, 100).rect(0, 0, 0, 0);
    b.dword(0);
    b.dword(2100).dword(2970);
    b.dword(0x00FFFFFF);
    b.word(0).word(0).word(0);
    b.word(quint16(surveySettings.size()));
    for (quint32 v : surveySettings)
        b.dword(v);
    return b.emptyReserve(44).bytes();
}

class ConnectionStub : public CDrawObj {
public:
    using CDrawObj::CDrawObj;
    bool IsConnection() const override { return true; }
};

class CNetDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(SettingsStore::defaultFilePath());
        doc.OnNewDocument();
    }

    CDrawObj* add(const Rect& r)
    {
        auto* object = new CDrawObj(r);
        doc.AddObject(object);
        return object;
    }

    CNetDoc doc;
};

TEST_F(CNetDocTest, NewEmptyDocumentHasTheExactContents)
{
    EXPECT_EQ(doc.SaveContents().toHex(), emptyDocumentContents({0, 0, 0, 0, 0}).toHex());
}

TEST_F(CNetDocTest, NewDocumentTakesSurveySettingsAndHiddenColumnsFromTheStore)
{
    SettingsStore store;
    store.writeDword("NetRes", "Ping", 1);
    store.writeDword("NetRes", "Wmi", 1);
    store.writeDword("NetRes", "ThreadStart", 250);
    store.writeUncountedList("List_Del", {"OS", "CPU"});
    CNetDoc fresh;
    fresh.OnNewDocument();
    EXPECT_EQ(fresh.m_adwSurveySettings, (QList<quint32>{1, 1, 0, 0, 250}));
    EXPECT_EQ(fresh.m_astrHiddenColumns, (QStringList{"OS", "CPU"}));
}

TEST_F(CNetDocTest, LoadKeepsThePrinterPageAndTheSecondBackgroundColour)
{
    QByteArray contents = emptyDocumentContents({0, 0, 0, 0, 0});
    // Page size block at 120, second background colour at 128.
    contents.replace(120, 8, ArchiveBytes().dword(999).dword(888).bytes());
    contents.replace(0, 4, ArchiveBytes().dword(0x00112233).bytes());
    contents.replace(128, 4, ArchiveBytes().dword(0x00445566).bytes());
    doc.LoadContents(contents);
    EXPECT_EQ(doc.m_sizePage, (Size{2100, 2970}));
    EXPECT_EQ(doc.m_crBackground, 0x00445566u);
}

TEST_F(CNetDocTest, ResetDefaultSizesLeavesAnEmptyGuardAlone)
{
    doc.m_rcDefaultSize.fill(Rect{});
    doc.m_rcDefaultSize[3] = Rect{1, 2, 3, 4};
    EXPECT_FALSE(doc.ResetDefaultSizes());
    EXPECT_EQ(doc.m_rcDefaultSize[3], (Rect{1, 2, 3, 4}));
    EXPECT_EQ(doc.m_rcDefaultSize[0], Rect{});

    doc.m_rcDefaultSize[0] = Rect{0, 0, 1, 1};
    EXPECT_TRUE(doc.ResetDefaultSizes());
    EXPECT_EQ(doc.m_rcDefaultSize[3], (Rect{0, 0, 78, 52}));
    EXPECT_EQ(doc.m_rcShapeSizeExtra[0], (Rect{0, 0, 100, 78}));
    EXPECT_EQ(doc.m_rcShapeSizeExtra[1], (Rect{0, 0, 195, 39}));
    EXPECT_EQ(doc.m_rcShapeSizeExtra[2], (Rect{0, 0, 75, 100}));
}

TEST_F(CNetDocTest, ConnectionsGoToTheHeadOtherObjectsToTheTail)
{
    CDrawObj* a = add(Rect{0, 0, 10, 10});
    auto* connection = new ConnectionStub(Rect{});
    doc.AddObject(connection);
    CDrawObj* b = add(Rect{0, 0, 10, 10});
    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{connection, a, b}));
    EXPECT_EQ(connection->m_pDocument, &doc);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CNetDocTest, ObjectAtFindsTheTopmost)
{
    CDrawObj* below = add(Rect{0, 0, 100, 100});
    CDrawObj* above = add(Rect{50, 50, 150, 150});
    EXPECT_EQ(doc.ObjectAt(Point{60, 60}), above);
    EXPECT_EQ(doc.ObjectAt(Point{10, 10}), below);
    EXPECT_EQ(doc.ObjectAt(Point{150, 150}), nullptr);
    // Found through the normalised rectangle, too.
    below->m_position = Rect{300, 300, 200, 200};
    EXPECT_EQ(doc.ObjectAt(Point{250, 250}), below);
}

TEST_F(CNetDocTest, RemoveObjectUnlinksWithoutDeleting)
{
    CDrawObj* object = add(Rect{0, 0, 1, 1});
    doc.SetModifiedFlag(false);
    doc.RemoveObject(object, nullptr);
    EXPECT_TRUE(doc.m_objects.isEmpty());
    EXPECT_TRUE(doc.IsModified());
    object->Remove();
}

TEST_F(CNetDocTest, PageCountFollowsTheExtentIncludingTheOrigin)
{
    QSignalSpy spy(&doc, &CNetDoc::pageSizeChanged);
    add(Rect{0, 0, 2100, 2970});
    EXPECT_EQ(doc.UpdatePageCount(), (Rect{0, 0, 2100, 2970}));
    EXPECT_EQ(doc.m_nPages, 1);
    EXPECT_EQ(spy.count(), 0);

    add(Rect{-100, 3000, -50, 3010});
    EXPECT_EQ(doc.UpdatePageCount(), (Rect{0, 0, 2200, 3010}));
    EXPECT_EQ(doc.m_nPagesX, 2);
    EXPECT_EQ(doc.m_nPagesY, 2);
    EXPECT_EQ(doc.m_nPages, 4);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(CNetDocTest, SnapshotsHoldTheArchiveInADirectoryOfTheUsersOwn)
{
    add(Rect{1, 2, 3, 4});
    const int before = doc.m_nSnapshot;
    doc.SaveSnapshot();
    ASSERT_EQ(doc.m_nSnapshot, before + 1);
    EXPECT_EQ(doc.m_nLastSnapshot, before);
    const QString name = doc.m_astrSnapshots.at(before);
    doc.WaitForSnapshotWrite();
    const QString tag = QStringLiteral("vx_%1_%2_").arg(ProcessTag::ThisMachine()).arg(::getpid());
    EXPECT_TRUE(QFileInfo(name).fileName().startsWith(tag)) << name.toStdString();
    EXPECT_EQ(QFileInfo(name).absolutePath(), qEnvironmentVariable("XDG_RUNTIME_DIR") + "/varnex-snapshots");
    EXPECT_EQ(QFileInfo(QFileInfo(name).absolutePath()).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFileInfo(name).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), doc.SaveContents());
}

// The runtime and cache directories named by the environment, for one test.
class SnapshotPlaces {
public:
    SnapshotPlaces(const QString& runtime, const QString& cache)
        : m_runtime(qgetenv("XDG_RUNTIME_DIR")), m_cache(qgetenv("XDG_CACHE_HOME"))
    {
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    }
    ~SnapshotPlaces()
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qputenv("XDG_CACHE_HOME", m_cache);
    }

private:
    QByteArray m_runtime;
    QByteArray m_cache;
};

TEST_F(CNetDocTest, SnapshotsNeverGoThroughAPlantedLinkOrAnotherUsersDirectory)
{
    const QString runtime = TestFiles::scratchPath("planted-runtime");
    const QString elsewhere = TestFiles::scratchPath("planted-target");
    QDir().mkpath(runtime);
    QDir().mkpath(elsewhere);
    QFile::remove(runtime + "/varnex-snapshots");
    ASSERT_TRUE(QFile::link(elsewhere, runtime + "/varnex-snapshots"));
    const QString cache = TestFiles::scratchPath("planted-cache");
    SnapshotPlaces places(runtime, cache);
    EXPECT_EQ(SnapshotDirectory::Path(), cache + "/varnex/snapshots") << "the link is passed over for the cache";
    doc.SaveSnapshot();
    doc.WaitForSnapshotWrite();
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_TRUE(doc.m_astrSnapshots.last().startsWith(cache + "/varnex/snapshots/vx_"));
}

TEST_F(CNetDocTest, AStartRemovesTheSnapshotsDeadProcessesLeft)
{
    QProcess ended;
    ended.start("sleep", {"0.1"});
    ASSERT_TRUE(ended.waitForStarted());
    const pid_t dead = pid_t(ended.processId());
    ASSERT_TRUE(ended.waitForFinished());
    const QString directory = SnapshotDirectory::Path();
    ASSERT_FALSE(directory.isEmpty());
    const auto named = [](QString pattern) { return pattern.replace("XXXXXX", "a1B2c3"); };
    const QString leftover = named(SnapshotDirectory::FileTemplate(directory, dead));
    const QString running = named(SnapshotDirectory::FileTemplate(directory, ::getppid()));
    const QString ours = named(SnapshotDirectory::FileTemplate(directory));
    const QString otherMachine = directory + QStringLiteral("/vx_elsewhere_%1_a1B2c3").arg(dead);
    for (const QString& path : {leftover, running, ours, otherMachine})
        TestFiles::writeAll(path, "x");
    SnapshotDirectory::RemoveLeftovers();
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(running)) << "a running program's undo steps are its own";
    EXPECT_TRUE(QFile::exists(ours));
    EXPECT_TRUE(QFile::exists(otherMachine)) << "a cache shared with another machine holds its snapshots";
    for (const QString& path : {running, ours, otherMachine})
        QFile::remove(path);
}

TEST_F(CNetDocTest, AnOpenedMapIsItsOwnFirstUndoStep)
{
    add(Rect{100, 100, 200, 200});
    const QString path = TestFiles::scratchPath("first-step.vxnj");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CNetDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(path));
    const QByteArray asRead = opened.SaveContents();
    // Nothing changed since the file was read: no second step for it.
    opened.SaveSnapshotUnlessCurrent(asRead);
    EXPECT_FALSE(opened.CanUndo());

    opened.m_objects.first()->m_position = Rect{300, 300, 400, 400};
    opened.SetModifiedFlag(true);
    opened.SaveSnapshot();
    ASSERT_TRUE(opened.Undo());
    EXPECT_EQ(opened.m_objects.first()->m_position, (Rect{100, 100, 200, 200}));
    EXPECT_EQ(opened.SaveContents(), asRead);
    ASSERT_TRUE(opened.Redo());
    EXPECT_EQ(opened.m_objects.first()->m_position, (Rect{300, 300, 400, 400}));

    // Changed without a snapshot (as a survey does) and saved: the file as
    // first read no longer stands for the map.
    CNetDoc surveyed;
    ASSERT_TRUE(surveyed.OnOpenDocument(path));
    surveyed.m_objects.first()->m_position = Rect{500, 500, 600, 600};
    surveyed.SetModifiedFlag(true);
    ASSERT_TRUE(surveyed.OnSaveDocument(path));
    surveyed.SaveSnapshotUnlessCurrent(surveyed.SaveContents());
    ASSERT_TRUE(surveyed.CanUndo()) << "the map as it is now became a step of its own";
    ASSERT_TRUE(surveyed.Undo());
    EXPECT_EQ(surveyed.m_objects.first()->m_position, (Rect{100, 100, 200, 200}));
}

TEST_F(CNetDocTest, ASaveRemovesWhatAKilledSaveLeftBesideTheMap)
{
    const QString map = TestFiles::scratchPath("swept.vxnj");
    // A process that has ended, and one that still runs (this one's parent).
    QProcess ended;
    ended.start("sleep", {"0.1"});
    ASSERT_TRUE(ended.waitForStarted());
    const pid_t dead = pid_t(ended.processId());
    ASSERT_TRUE(ended.waitForFinished());
    const QString leftover = MapFileWriter::BesideName(map, dead);
    const QString running = MapFileWriter::BesideName(map, ::getppid());
    const QString users = map + ".backup";
    for (const QString& path : {leftover, running, users})
        TestFiles::writeAll(path, "x");
    add(Rect{1, 2, 3, 4});
    ASSERT_TRUE(doc.OnSaveDocument(map));
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(running)) << "a save still running elsewhere is left alone";
    EXPECT_TRUE(QFile::exists(users));
    EXPECT_FALSE(QFile::exists(MapFileWriter::BesideName(map, ::getpid())));
    QFile::remove(running);
    QFile::remove(users);
}

TEST(MapFileWriterTest, AMapThatFailsWhileItIsMadeLeavesTheOldFileAndNothingBeside)
{
    const QString map = TestFiles::scratchPath("thrown.vxnj");
    TestFiles::writeAll(map, "old map");
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size(); };
    const qsizetype before = openDescriptors();
    const auto produce = [](int fd, QString&) {
        MapFileWriter::WriteAll(fd, QByteArray("half a new map"));
        throw std::bad_alloc();
        return true;
    };
    EXPECT_THROW(MapFileWriter::Write(map, produce, 0644, nullptr), std::bad_alloc);
    EXPECT_EQ(TestFiles::readAll(map), QByteArray("old map"));
    EXPECT_FALSE(QFile::exists(MapFileWriter::BesideName(map, ::getpid())));
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(CNetDocTest, SnapshotFailureSwitchesSnapshotsOff)
{
    // Places that are plain files: nothing can be created in them.
    const QString blocker = QDir::tempPath() + "/not-a-directory";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    {
        SnapshotPlaces places(blocker, blocker);
        doc.SaveSnapshot();
    }
    EXPECT_FALSE(doc.m_bSnapshots);
    const int count = doc.m_nSnapshot;
    doc.SaveSnapshot();
    EXPECT_EQ(doc.m_nSnapshot, count);
    doc.ResetDocument();
    EXPECT_TRUE(doc.m_bSnapshots);
}

// A document holding every string length form, shared references and
// reserve arrays with data.
void fillRichDocument(CNetDoc& doc)
{
    doc.m_astrSurveyHosts = {QString(), QString(254, 'a'), QString(255, 'b'),
                             QString(65534, QChar(0x65E5)), QStringLiteral("サーバー")};
    doc.m_astrWsdNames = {QStringLiteral("urn:uuid:1"), QString(70000, 'w')};
    doc.m_dwReserved = 0xDEADBEEF;
    doc.m_crBackground = 0x00102030;
    auto* first = new CDrawObj(Rect{10, 20, 30, 40});
    first->m_reserve.m_adwArrays[3] = {1, 2, 3};
    first->m_reserve.m_astrArrays[9] = {QStringLiteral("予備")};
    first->m_reserve.m_aptArrays[0] = {Point{1, -1}};
    first->m_reserve.m_arcArrays[4] = {Rect{-5, -6, 7, 8}};
    first->m_reserve.m_asizeArrays[2] = {Size{9, 10}};
    first->m_logpen = LogPen{0, Point{3, 3}, 0x000000FF};
    first->m_bBrush = 0;
    doc.AddObject(first);
    auto* second = new CDrawObj(Rect{-100, -100, 0, 0});
    second->m_nMoveX = -7;
    second->m_nSpacing = 0;
    doc.AddObject(second);
    doc.m_reserve.m_aobjLists[2] = {second, first, second};
    doc.m_reserve.m_adwArrays[9] = {0xFFFFFFFF};
    doc.m_reserve.m_asizeArrays[4] = {Size{1, 2}, Size{3, 4}};
}

TEST_F(CNetDocTest, ASnapshotHoldsTheMapAsItWasAtTheEditWhicheverWayItIsMade)
{
    fillRichDocument(doc);
    const QByteArray atEdit = doc.SaveContents();
    doc.SaveSnapshot();
    const QString first = doc.m_astrSnapshots.at(doc.m_nLastSnapshot);
    // The next change comes before the snapshot's file is written.
    doc.m_objects.first()->m_position = Rect{500, 500, 600, 600};
    doc.m_astrSurveyHosts.append(QStringLiteral("later"));
    doc.WaitForSnapshotWrite();
    ASSERT_TRUE(doc.m_bSnapshots);
    EXPECT_EQ(TestFiles::readAll(first), atEdit);

    QByteArray made[2];
    for (const bool children : {false, true}) {
        doc.m_bSnapshotChildren = children;
        doc.SaveSnapshot();
        doc.WaitForSnapshotWrite();
        ASSERT_TRUE(doc.m_bSnapshots) << children;
        made[children] = TestFiles::readAll(doc.m_astrSnapshots.at(doc.m_nLastSnapshot));
    }
    EXPECT_EQ(made[0], made[1]);
    EXPECT_EQ(made[1], doc.SaveContents());
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.SaveContents(), atEdit);

    // Edits in quick succession, each snapshot still being written when
    // the next is taken: every file holds its own moment.
    QList<QByteArray> moments;
    QStringList files;
    for (int step = 0; step < 4; ++step) {
        doc.m_objects.first()->m_position = Rect{step, step, 100 + step, 100 + step};
        moments.append(doc.SaveContents());
        doc.SaveSnapshot();
        files.append(doc.m_astrSnapshots.at(doc.m_nLastSnapshot));
    }
    doc.WaitForSnapshotWrite();
    ASSERT_TRUE(doc.m_bSnapshots);
    for (int step = 0; step < 4; ++step)
        EXPECT_EQ(TestFiles::readAll(files.at(step)), moments.at(step)) << step;
}

TEST_F(CNetDocTest, AFailedSnapshotWriteNeitherEmptiesTheMapNorOutlivesIt)
{
    fillRichDocument(doc);
    doc.SaveSnapshot();
    doc.WaitForSnapshotWrite();
    {
        // Two edits whose snapshot files cannot be written, both still on
        // their way when undo is asked for.
        const FileSizeLimit full(16);
        doc.m_objects.first()->m_position = Rect{1, 1, 2, 2};
        doc.SaveSnapshot();
        doc.m_objects.first()->m_position = Rect{3, 3, 4, 4};
        doc.SaveSnapshot();
    }
    const QByteArray current = doc.SaveContents();
    EXPECT_FALSE(doc.Undo());
    EXPECT_EQ(doc.SaveContents(), current) << "the map stays as it is";
    EXPECT_FALSE(doc.m_bSnapshots);

    // A write still failing when the next map starts.
    doc.DeleteAllObjects();
    doc.ResetDocument();
    ASSERT_TRUE(doc.m_bSnapshots);
    {
        const FileSizeLimit full(16);
        doc.SaveSnapshot();
    }
    doc.ResetDocument();
    EXPECT_TRUE(doc.m_bSnapshots) << "a new map gets its undo steps";
}

TEST_F(CNetDocTest, LoadThenSaveIsByteIdentical)
{
    fillRichDocument(doc);
    const QByteArray original = doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(original);
    EXPECT_EQ(loaded.m_objects.size(), 2);
    EXPECT_EQ(loaded.m_reserve.m_aobjLists[2].at(0), loaded.m_objects.at(1));
    EXPECT_EQ(loaded.m_reserve.m_aobjLists[2].at(2), loaded.m_objects.at(1));
    EXPECT_EQ(loaded.m_objects.at(0)->m_pDocument, &loaded);
    EXPECT_EQ(loaded.SaveContents(), original);
}

TEST_F(CNetDocTest, LoadThenSaveWithBigIndexTagsIsByteIdentical)
{
    for (int i = 0; i < 0x7FFF; ++i)
        add(Rect{i, 0, i + 1, 1});
    doc.m_reserve.m_aobjLists[0] = {doc.m_objects.first(), doc.m_objects.last()};
    const QByteArray original = doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(original);
    EXPECT_EQ(loaded.m_reserve.m_aobjLists[0].at(1), loaded.m_objects.last());
    EXPECT_EQ(loaded.SaveContents(), original);
}

TEST_F(CNetDocTest, EveryTruncationFailsWithEndOfFileAndLeavesNoObjects)
{
    fillRichDocument(doc);
    doc.m_astrSurveyHosts.clear();
    doc.m_astrWsdNames.clear();
    const QByteArray original = doc.SaveContents();
    for (qsizetype length = 0; length < original.size(); ++length) {
        CNetDoc loaded;
        try {
            loaded.LoadContents(original.left(length));
            ADD_FAILURE() << "loaded " << length << " bytes";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.cause(), ArchiveException::Cause::EndOfFile) << length;
        }
        EXPECT_TRUE(loaded.m_objects.isEmpty());
        EXPECT_TRUE(loaded.m_reserve.m_aobjLists[2].isEmpty());
    }
}

TEST_F(CNetDocTest, ObjectListAcceptsOnlyMapObjects)
{
    QByteArray contents = emptyDocumentContents({});
    // Replace the object list count (at 132) by one CDWordArray.
    contents.replace(132, 2, ArchiveBytes().word(1).newClass("CDWordArray").word(0).bytes());
    try {
        doc.LoadContents(contents);
        FAIL() << "loaded";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.cause(), ArchiveException::Cause::BadClass);
    }
}

TEST_F(CNetDocTest, TheObjectListHoldsEachObjectOnce)
{
    QByteArray contents = emptyDocumentContents({});
    // Three entries: an object, the same object again by index, and null.
    contents.replace(132, 2,
                     ArchiveBytes().word(3).newClass("CDrawObj").drawObjRecord(0, 0, 5, 5)
                         .word(2).word(0).bytes());
    doc.LoadContents(contents);
    ASSERT_EQ(doc.m_objects.size(), 1);
    doc.DeleteAllObjects();
    EXPECT_TRUE(doc.m_objects.isEmpty());
}

TEST_F(CNetDocTest, MapObjectsOutsideTheObjectListStayOwnedButAreNotDrawn)
{
    QByteArray contents = emptyDocumentContents({});
    // The first reserve object list (after 10 DWORD and 10 string arrays)
    // holds an object the object list does not.
    const qsizetype firstObjectList = 134 + 4 + 20 * 2;
    contents.replace(firstObjectList, 2,
                     ArchiveBytes().word(1).newClass("CDrawObj").drawObjRecord(0, 0, 5, 5).bytes());
    doc.LoadContents(contents);
    EXPECT_TRUE(doc.m_objects.isEmpty());
    ASSERT_EQ(doc.m_unlisted.size(), 1);
    EXPECT_EQ(doc.m_reserve.m_aobjLists[0].at(0), doc.m_unlisted.at(0));
    EXPECT_EQ(doc.SaveContents(), contents) << "written back through the reference";
}

} // namespace

TEST_F(CNetDocTest, AMapHoldingAPasswordIsCreatedForItsOwnerOnly)
{
    const struct {
        QStringList account;
        bool privateFile;
    } cases[] = {
        {{}, false},
        {{"CORP", "admin", ""}, false},
        {{"CORP", "admin", "secret"}, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        CNetDoc document;
        document.OnNewDocument();
        document.m_astrWmiAccount = c.account;
        const QString path = TestFiles::scratchPath(QStringLiteral("mode-%1.vxnj").arg(n++));
        QFile::remove(path);
        QString error;
        ASSERT_TRUE(document.OnSaveDocument(path, &error)) << error.toStdString();
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        EXPECT_EQ((QFile::permissions(path) & others) == 0, c.privateFile) << c.account.join(',').toStdString();
    }
}
