#include "document/CNetDoc.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawText.h"
#include "document/CompoundFile.h"
#include "objects/CDrawObj.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProcessResult run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return ProcessResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
               process.readAllStandardOutput(), process.readAllStandardError()};
}

// Lists the streams of a compound file with an independent reader, one path
// per line, and prints the "Contents" stream in hex.
ProcessResult oleListing(const QString& path)
{
    const QString script = QStringLiteral(
        "import sys, olefile\n"
        "ole = olefile.OleFileIO(sys.argv[1])\n"
        "for entry in sorted(ole.listdir(streams=True, storages=False)):\n"
        "    print('/'.join(entry))\n"
        "print(ole.openstream('Contents').read().hex())\n");
    return run(QStringLiteral(SYSTEM_PYTHON), {QStringLiteral("-c"), script, path});
}

StorageNode sampleEmbedding()
{
    StorageNode embedding;
    embedding.name = QStringLiteral("Embedding 1");
    embedding.classId = QByteArray::fromHex("0003000a00000000c000000000000046");
    embedding.streams = {{QStringLiteral("\001Ole10Native"), QByteArray(5000, 'n')},
                         {QStringLiteral("CONTENTS"), QByteArray("picture")}};
    StorageNode sub;
    sub.name = QStringLiteral("Inner");
    sub.streams = {{QStringLiteral("Data"), QByteArray(70000, 'd')}};
    embedding.storages = {sub};
    return embedding;
}

TEST(MapFile, SavedFileIsACompoundFileAnotherReaderCanList)
{
    CNetDoc doc;
    doc.OnNewDocument();
    doc.AddObject(new CDrawObj(Rect{1, 2, 3, 4}));
    const QString path = TestFiles::scratchPath("listed.vxnj");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());

    const ProcessResult listing = oleListing(path);
    ASSERT_EQ(listing.exitCode, 0) << listing.err.toStdString();
    const QList<QByteArray> lines = listing.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), "Contents");
    EXPECT_EQ(lines.at(1), doc.SaveContents().toHex());
}

TEST(MapFile, EmbeddedStoragesAreWrittenBackUnchanged)
{
    QByteArray file;
    QString error;
    CNetDoc doc;
    doc.OnNewDocument();
    ASSERT_TRUE(CompoundFile::write(doc.SaveContents(), {sampleEmbedding()}, file, error));
    const QString in = TestFiles::scratchPath("embedded.vxnj");
    TestFiles::writeAll(in, file);

    CNetDoc loaded;
    ASSERT_TRUE(loaded.OnOpenDocument(in, &error)) << error.toStdString();
    ASSERT_EQ(loaded.m_embeddings.size(), 1);
    EXPECT_EQ(loaded.m_embeddings.at(0), sampleEmbedding());

    const QString out = TestFiles::scratchPath("embedded-out.vxnj");
    ASSERT_TRUE(loaded.OnSaveDocument(out, &error));
    const ProcessResult listing = oleListing(out);
    ASSERT_EQ(listing.exitCode, 0) << listing.err.toStdString();
    EXPECT_TRUE(listing.out.contains("Embedding 1/Inner/Data"));
    EXPECT_TRUE(listing.out.contains("Embedding 1/CONTENTS"));
}

TEST(MapFile, ASaveWritesTheBytesTheSurveyCommandMakesInMemory)
{
    // A map large enough for the big-block part of the compound file, with
    // an embedding: saved straight into its file as the archive is made, and
    // made whole in memory. Its archive passes through the save in many
    // pieces, one of them a string longer than any piece.
    CNetDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < 20000; ++i)
        doc.AddObject(new CDrawRect(Rect{i, i, i + 100, i + 50}));
    auto* system = new CDrawSys(Rect{0, 0, 130, 260});
    system->m_strServerComment = QString(300000, QChar(u'\u30cd'));
    doc.AddObject(system);
    doc.m_embeddings = {sampleEmbedding()};
    QByteArray inMemory;
    QString error;
    ASSERT_TRUE(doc.FileBytes(inMemory, &error)) << error.toStdString();
    const QString path = TestFiles::scratchPath("streamed.vxnj");
    ASSERT_TRUE(doc.OnSaveDocument(path, &error)) << error.toStdString();
    EXPECT_EQ(TestFiles::readAll(path), inMemory);
    EXPECT_FALSE(doc.IsModified());
    // A save that cannot be written says why and changes nothing.
    ASSERT_FALSE(doc.OnSaveDocument(TestFiles::scratchPath("no-such-folder/streamed.vxnj"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MapFile, ASaveCutShortByAFullDiskFailsAndKeepsTheOldMap)
{
    const QString path = TestFiles::scratchPath("full-disk.vxnj");
    CNetDoc doc;
    doc.OnNewDocument();
    QString error;
    ASSERT_TRUE(doc.OnSaveDocument(path, &error)) << error.toStdString();
    const QByteArray before = TestFiles::readAll(path);
    for (int i = 0; i < 2000; ++i)
        doc.AddObject(new CDrawRect(Rect{i, i, i + 100, i + 50}));
    doc.SetModifiedFlag(true);
    bool saved = true;
    {
        const FileSizeLimit limit(before.size() + 4096);
        saved = doc.OnSaveDocument(path, &error);
    }
    EXPECT_FALSE(saved) << "the save reported success";
    EXPECT_TRUE(error.contains(QLatin1String("too large"))) << "the reason given: " << error.toStdString();
    EXPECT_EQ(TestFiles::readAll(path), before);
    EXPECT_TRUE(doc.IsModified());
    const QStringList beside = QDir(QFileInfo(path).absolutePath())
                                   .entryList({QStringLiteral("*full-disk.vxnj*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(beside, QStringList{QStringLiteral("full-disk.vxnj")});
}

TEST(MapFile, AFileThatTakesNoMoreStopsTheContentsBeingMade)
{
    // A full disk refuses the first large piece: the rest of a map is not
    // walked for nothing before the failure is told.
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << "/dev/full cannot be opened here";
    const QByteArray piece(1 << 20, 'c');
    int offered = 0;
    const auto produce = [&](const CompoundFile::ContentsWriter& write, QString& reason) {
        for (; offered < 256; ++offered) {
            if (!write(piece.constData(), piece.size())) {
                reason = QStringLiteral("refused");
                return false;
            }
        }
        return true;
    };
    QString error;
    EXPECT_FALSE(CompoundFile::writeToFile(produce, {}, fd, error));
    ::close(fd);
    EXPECT_LE(offered, 1) << "pieces the full file took";
    EXPECT_TRUE(error.contains(QLatin1String("space"), Qt::CaseInsensitive)) << error.toStdString();
}

// The directory entry of a compound file that holds this name: its start
// sector and size fields are at 116 and 120.
qsizetype DirectoryEntry(const QByteArray& file, const QString& name)
{
    const QByteArray wide(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
    for (qsizetype entry = 512; entry + 128 <= file.size(); entry += 128) {
        const auto nameBytes = qFromLittleEndian<quint16>(file.constData() + entry + 64);
        if (nameBytes == wide.size() + 2 && file.mid(entry, wide.size()) == wide)
            return entry;
    }
    return -1;
}

TEST(MapFile, ACompoundFileThatUnfoldsBeyondItsOwnSizeOrNestsTooDeeplyIsRefused)
{
    const auto nested = [](int depth) {
        StorageNode top;
        top.name = QStringLiteral("Embedding 1");
        StorageNode* level = &top;
        for (int n = 1; n < depth; ++n) {
            level->storages = {StorageNode{}};
            level = &level->storages.first();
            level->name = QStringLiteral("Level %1").arg(n);
        }
        level->streams = {{QStringLiteral("Data"), QByteArray("deep")}};
        return top;
    };
    QByteArray contents;
    QList<StorageNode> embeddings;
    QString error;
    for (const auto& [depth, readable] : {std::pair(4, true), std::pair(40, false)}) {
        QByteArray file;
        ASSERT_TRUE(CompoundFile::write(QByteArray("c"), {nested(depth)}, file, error)) << error.toStdString();
        EXPECT_EQ(CompoundFile::read(file, contents, embeddings, error), readable) << depth;
        if (!readable) {
            EXPECT_TRUE(error.contains(QLatin1String("nested too deeply"))) << error.toStdString();
        }
    }

    // Three streams made to start on the chain of a fourth unfold into more
    // than the whole file (a crafted file of 1 MB could claim gigabytes).
    StorageNode shared;
    shared.name = QStringLiteral("Embedding 1");
    for (const char* name : {"B", "C", "D"})
        shared.streams.append({QString::fromLatin1(name), QByteArray(5000, 's')});
    QByteArray file;
    ASSERT_TRUE(CompoundFile::write(QByteArray(20000, 'c'), {shared}, file, error)) << error.toStdString();
    ASSERT_TRUE(CompoundFile::read(file, contents, embeddings, error)) << error.toStdString();
    const qsizetype main = DirectoryEntry(file, QStringLiteral("Contents"));
    ASSERT_GE(main, 0);
    for (const char* name : {"B", "C", "D"}) {
        const qsizetype entry = DirectoryEntry(file, QString::fromLatin1(name));
        ASSERT_GE(entry, 0) << name;
        file.replace(entry + 116, 8, file.mid(main + 116, 8));
    }
    EXPECT_FALSE(CompoundFile::read(file, contents, embeddings, error));
    EXPECT_TRUE(error.contains(QLatin1String("hold more than the file"))) << error.toStdString();
}

TEST(MapFile, PlainFileIsReadWholeAsContents)
{
    CNetDoc doc;
    doc.OnNewDocument();
    doc.AddObject(new CDrawObj(Rect{5, 5, 50, 50}));
    const QString path = TestFiles::scratchPath("plain.vxnj");
    TestFiles::writeAll(path, doc.SaveContents());
    CNetDoc loaded;
    QString error;
    ASSERT_TRUE(loaded.OnOpenDocument(path, &error)) << error.toStdString();
    ASSERT_EQ(loaded.m_objects.size(), 1);
    EXPECT_EQ(loaded.m_objects.at(0)->m_position, (Rect{5, 5, 50, 50}));
}

TEST(MapFile, OpenFailuresAreReportedWithAReason)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "end of file"},
        {"garbage", QByteArray("not a map"), "end of file"},
        {"broken-container", QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\0'),
         "compound file"},
    };
    for (const Case& c : cases) {
        const QString path = TestFiles::scratchPath(QString::fromLatin1(c.name));
        TestFiles::writeAll(path, c.bytes);
        CNetDoc doc;
        QString error;
        EXPECT_FALSE(doc.OnOpenDocument(path, &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(doc.m_objects.isEmpty());
    }
    CNetDoc doc;
    QString error;
    EXPECT_FALSE(doc.OnOpenDocument(TestFiles::scratchPath("missing.vxnj"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(CommandLine, DumpConvertAndErrors)
{
    const QString varnex = QStringLiteral(VARNEX_BINARY);
    const QString map = TestFiles::scratchPath("cli.vxnj");
    ASSERT_EQ(run(varnex, {"new", map}).exitCode, 0);

    const ProcessResult dump = run(varnex, {"dump", map});
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.out.contains("\"m_adwSurveySettings\"") || dump.out.contains("\"reserve\""));
    EXPECT_TRUE(dump.out.contains("\"m_sizePage\""));

    const QString plain = TestFiles::scratchPath("cli-plain.vxnj");
    CNetDoc doc;
    doc.OnNewDocument();
    TestFiles::writeAll(plain, doc.SaveContents());
    const QString converted = TestFiles::scratchPath("cli-converted.vxnj");
    ASSERT_EQ(run(varnex, {"convert", plain, converted}).exitCode, 0);
    EXPECT_TRUE(CompoundFile::hasSignature(TestFiles::readAll(converted)));
    EXPECT_EQ(run(varnex, {"dump", converted}).out, dump.out);

    const QString sample = TestFiles::scratchPath("cli-sample.vxnj");
    const QString png = TestFiles::scratchPath("cli-sample.png");
    ASSERT_EQ(run(varnex, {"sample", sample}).exitCode, 0);
    const ProcessResult rendered = run(varnex, {"render", sample, "--png", png, "--dpi", "40"});
    EXPECT_EQ(rendered.exitCode, 0) << rendered.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(331, 468));
    const ProcessResult outOfRange = run(varnex, {"render", sample, "--png", png, "--dpi", "5000"});
    EXPECT_EQ(outOfRange.exitCode, 2) << "a value out of range is wrong usage";
    EXPECT_TRUE(outOfRange.err.contains("--dpi takes a number from")) << outOfRange.err.toStdString();

    // A map spread wide is refused at a resolution it cannot be drawn at,
    // with the resolution that would do.
    const QString wide = TestFiles::scratchPath("cli-wide.vxnj");
    {
        CNetDoc spread;
        spread.m_bSnapshotsWanted = false;
        spread.OnNewDocument();
        spread.AddObject(new CDrawRect(Rect{100000, 100000, 100100, 100100}));
        ASSERT_TRUE(spread.OnSaveDocument(wide));
    }
    const ProcessResult tooLarge = run(varnex, {"render", wide, "--png", png, "--dpi", "1200"});
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_TRUE(tooLarge.err.contains("150 million pixels; use --dpi ")) << tooLarge.err.toStdString();
    EXPECT_EQ(tooLarge.err.count('\n'), 1);

    // Vector pictures keep the labels as text.
    const QString svg = TestFiles::scratchPath("cli-sample.svg");
    const QString pdf = TestFiles::scratchPath("cli-sample.pdf");
    const ProcessResult vector = run(varnex, {"render", sample, "--svg", svg, "--pdf", pdf});
    ASSERT_EQ(vector.exitCode, 0) << vector.err.toStdString();
    CNetDoc sampleDoc;
    ASSERT_TRUE(sampleDoc.OnOpenDocument(sample));
    QString label;
    for (const CDrawObj* object : sampleDoc.m_objects)
        if (const auto* text = dynamic_cast<const CDrawText*>(object); text && !text->m_astrLines.isEmpty()
            && QRegularExpression(QStringLiteral("^[A-Za-z0-9.-]+$")).match(text->m_astrLines.first()).hasMatch())
            label = text->m_astrLines.first();
    ASSERT_FALSE(label.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(TestFiles::readAll(svg)).contains(label.toHtmlEscaped())) << label.toStdString();
    EXPECT_TRUE(TestFiles::readAll(pdf).startsWith("%PDF-"));
    const ProcessResult text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (text.exitCode == 0) {
        EXPECT_TRUE(QString::fromUtf8(text.out).contains(label)) << text.out.toStdString();
    }

    const QString bad = TestFiles::scratchPath("cli-bad.vxnj");
    TestFiles::writeAll(bad, QByteArray("\x01\x02", 2));
    const ProcessResult failed = run(varnex, {"dump", bad});
    EXPECT_NE(failed.exitCode, 0);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_EQ(failed.err.count('\n'), 1) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.startsWith("varnex: cannot open"));
}

} // namespace
