#include "MapObjectTesting.h"

#include "document/CNetDoc.h"
#include "document/DocumentDump.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

using MapObjectTesting::ip;
using MapObjectTesting::loadFailure;
using MapObjectTesting::ScriptedRecord;
using MapObjectTesting::written;

namespace {

void fillReserve(CReserveBlockEx& reserve, quint32 seed, CDrawObj* listed)
{
    reserve.m_adwArrays[9] = {seed, seed + 1};
    reserve.m_astrArrays[7] = {QStringLiteral("r%1").arg(seed)};
    reserve.m_aobjLists[3] = {listed};
    reserve.m_aptArrays[1] = {Point{1, 2}};
    reserve.m_arcArrays[4] = {Rect{1, 2, 3, int(seed)}};
    reserve.m_asizeArrays[0] = {Size{5, 6}};
}

void fillBase(CDrawObj& object, qint32 seed)
{
    object.m_position = Rect{seed, seed + 1, seed + 100, seed + 200};
    object.m_bPen = 0;
    object.m_logpen = LogPen{0, Point{3, 3}, 0x00112233};
    object.m_bBrush = 0;
    object.m_logbrush = LogBrush{1, 0x00445566, 2};
    object.m_rcBaseSize = Rect{0, 0, 140, 180};
    object.m_rcExtent = Rect{seed - 10, seed - 10, seed + 300, seed + 300};
    object.m_nSpacing = 150 + seed;
    object.m_nMoveX = -seed;
    object.m_nMoveY = seed * 2;
    object.m_dwReserved = quint32(seed) * 3;
    object.m_reserve.m_adwArrays[0] = {quint32(seed)};
    object.m_reserve.m_astrArrays[9] = {QStringLiteral("base")};
}

void fillDomain(CDrawDomain& domain, qint32 seed, const QString& name, CDrawObj* listed)
{
    fillBase(domain, seed);
    domain.m_strName = name;
    domain.m_wReserved = quint16(seed);
    domain.m_strNote = QStringLiteral("ノート %1").arg(seed);
    fillReserve(domain.m_domainReserve, quint32(seed), listed);
}

// Every field of a system set, references to the others included.
void fillSystem(CDrawSys& system, qint32 seed, CDrawObj* listed)
{
    fillDomain(system, seed, QStringLiteral("EXAMPLE"), listed);
    system.m_nTypeCode = CDrawSys::kDesktop;
    system.m_ptRoundness = Point{12, 14};
    system.m_bNtFamily = 1;
    system.m_wReserved2 = 0xABCD;
    system.m_dwServerType = 0x800B;
    system.m_nOsMajor = 6;
    system.m_nOsMinor = 1;
    system.m_nLastHandle = 5;
    system.m_nChassisType = 3;
    system.m_strOs = QStringLiteral("Windows Server 2008 R2");
    system.m_strFqdn = QStringLiteral("srv%1.example.local").arg(seed);
    system.m_strServerName = QStringLiteral("SRV");
    system.m_strServerComment = QStringLiteral("ファイルサーバー");
    system.m_strServerName2 = QStringLiteral("SRV2");
    system.m_strServerComment2 = QStringLiteral("comment 2");
    system.m_strExtra1 = QStringLiteral("extra 1");
    system.m_strExtra2 = QStringLiteral("extra 2");
    system.m_astrReserved1 = {QStringLiteral("reserved 1")};
    system.m_astrRoles = {QStringLiteral("Windows Server 2008 R2"), QStringLiteral("DOMAIN_CTRL")};
    system.m_astrSharedPrinters = {QStringLiteral("\\\\SRV\\LP1")};
    for (size_t i = 0; i < system.m_serverInfo102.size(); ++i)
        system.m_serverInfo102[i] = quint32(seed) * 100 + quint32(i);
    system.m_serverInfo101 = {500, 0x1234, 6, 1, 0x800B, 0x5678};
    for (size_t i = 0; i < system.m_abReserved168.size(); ++i)
        system.m_abReserved168[i] = quint8(i + quint32(seed));
    for (size_t i = 0; i < system.m_abReserved648.size(); ++i)
        system.m_abReserved648[i] = quint8(255 - i);
    system.AddAdapterAddresses({ip("192.168.1.10"), ip("192.168.1.11")});
    system.AddAdapterAddresses({ip("10.0.0.10")});
    system.m_adwMasks = {ip("255.255.255.0")};
    system.m_adwGateways = {ip("192.168.1.1"), ip("10.0.0.1")};
    for (int n = CDrawSys::kFirstValueArray; n <= CDrawSys::kLastValueArray; ++n)
        system.SetAdapterValues(n, {quint32(n), quint32(seed)});
    system.m_wServerInfoOk = 1;
    system.m_wServerTypeNames = 0;
    system.m_wReservedFlag = 7;
    system.m_adwReserved2 = {42};
    system.m_astrReserved2 = {QStringLiteral("reserved 2")};
    system.m_astrServerNotes = {QStringLiteral("notes")};
    fillReserve(system.m_sysReserve, quint32(seed) + 1000, listed);
    system.ComputeRoleFlags();
    system.WmiListing() = {QStringLiteral("Win32_ComputerSystem"), QStringLiteral("Model=X")};
    system.DeviceInfoLines() = {QStringLiteral("Model X")};
}

// A forest with two domains, a system listed in both, a system hanging on
// another, segments and plain objects, every field set.
class PopulatedDocument {
public:
    PopulatedDocument()
    {
        forest = add(new CDrawDomain(Rect{}));
        example = add(new CDrawDomain(Rect{}));
        workgroup = add(new CDrawDomain(Rect{}));
        server = add(new CDrawSys(Rect{}));
        printer = add(new CDrawSys(Rect{}));
        label = add(new CDrawObj(Rect{5, 5, 50, 20}));
        segment = add(new CDrawSegment(Rect{}));
        loose = add(new CDrawSegment(Rect{}));

        fillDomain(*forest, 1, QStringLiteral("FOREST_TREE_TAVRIN"), label);
        fillDomain(*example, 2, QStringLiteral("EXAMPLE"), server);
        fillDomain(*workgroup, 3, QStringLiteral("WORKGROUP"), workgroup);
        forest->AddSubDomain(example);
        forest->AddSubDomain(workgroup);
        example->SetOwner(forest);
        workgroup->SetOwner(forest);

        fillSystem(*server, 4, printer);
        server->SetOwner(example);
        example->AddSystem(server);
        workgroup->AddSystem(server);
        server->AddLabel(label);
        server->m_nics.append(segment);

        fillSystem(*printer, 5, forest);
        printer->m_nTypeCode = CDrawSys::kPrinter;
        printer->SetOwner(server);
        printer->m_pOwnerDomain = workgroup;
        server->AddSubSystem(printer);

        fillDomain(*segment, 6, QStringLiteral("seg"), printer);
        segment->m_pParent = example;
        segment->SetOwner(example);
        segment->m_dwAddress = ip("192.168.1.1");
        segment->SetMask(ip("255.255.255.0"));
        segment->m_reservedList1 = {server};
        segment->m_reservedList2 = {segment, forest};
        fillReserve(segment->m_segmentReserve, 60, loose);
        example->m_segments.append(segment);
        loose->m_dwAddress = ip("10.0.0.1");
        loose->SetMask(ip("255.0.0.0"));

        doc.m_adwSurveySettings = {0, 1, 0, 1, 100};
        doc.m_reserve.m_aobjLists[1] = {server};
    }

    template <class T>
    T* add(T* object)
    {
        doc.AddObject(object);
        return object;
    }

    CNetDoc doc;
    CDrawDomain* forest;
    CDrawDomain* example;
    CDrawDomain* workgroup;
    CDrawSys* server;
    CDrawSys* printer;
    CDrawObj* label;
    CDrawSegment* segment;
    CDrawSegment* loose;
};

// --- round trip -------------------------------------------------------------

TEST(MapRecord, SaveLoadSaveIsByteIdentical)
{
    PopulatedDocument source;
    const QByteArray first = source.doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(first);
    EXPECT_EQ(DocumentDump::toJson(loaded), DocumentDump::toJson(source.doc));
    const QByteArray second = loaded.SaveContents();
    EXPECT_EQ(second.size(), first.size());
    EXPECT_TRUE(second == first);
}

TEST(MapRecord, LoadRebuildsTheSameGraph)
{
    PopulatedDocument source;
    CNetDoc doc;
    doc.LoadContents(source.doc.SaveContents());
    ASSERT_EQ(doc.m_objects.size(), source.doc.m_objects.size());
    auto* forest = dynamic_cast<CDrawDomain*>(doc.m_objects.at(0));
    auto* example = dynamic_cast<CDrawDomain*>(doc.m_objects.at(1));
    auto* workgroup = dynamic_cast<CDrawDomain*>(doc.m_objects.at(2));
    auto* server = dynamic_cast<CDrawSys*>(doc.m_objects.at(3));
    auto* printer = dynamic_cast<CDrawSys*>(doc.m_objects.at(4));
    CDrawObj* label = doc.m_objects.at(5);
    auto* segment = dynamic_cast<CDrawSegment*>(doc.m_objects.at(6));
    ASSERT_TRUE(forest && example && workgroup && server && printer && segment);
    EXPECT_EQ(forest->m_subDomains, (QList<CDrawObj*>{example, workgroup}));
    EXPECT_EQ(example->m_pParent, forest);
    EXPECT_EQ(example->m_systems, (QList<CDrawObj*>{server}));
    EXPECT_EQ(workgroup->m_systems, (QList<CDrawObj*>{server}));
    EXPECT_EQ(server->GetOwner(), example);
    EXPECT_EQ(server->m_labels, (QList<CDrawObj*>{label}));
    EXPECT_EQ(server->m_subSystems, (QList<CDrawObj*>{printer}));
    // Recomputed from the two stored references: the host system wins.
    EXPECT_EQ(printer->m_pOwnerDomain, workgroup);
    EXPECT_EQ(printer->m_pOwnerSys, server);
    EXPECT_EQ(printer->GetOwner(), server);
    EXPECT_EQ(segment->m_pOwner, example);
    EXPECT_EQ(segment->m_pDocument, &doc);

    // Each adapter list is a record of its own.
    ASSERT_EQ(server->m_adapterAddresses.size(), 2u);
    EXPECT_EQ(server->m_adapterAddresses[0]->m_values,
              (QList<quint32>{ip("192.168.1.10"), ip("192.168.1.11")}));
    EXPECT_EQ(server->m_adapterAddresses[1]->m_values, (QList<quint32>{ip("10.0.0.10")}));
    // Not in the file.
    EXPECT_TRUE(server->m_adwMasks.isEmpty());
    EXPECT_TRUE(server->m_strUncName.isEmpty());
    EXPECT_EQ(server->m_serverInfo101, (ServerRecord101{500, 0x1234, 6, 1, 0x800B, 0x5678}));
    EXPECT_EQ(server->m_abReserved648, source.server->m_abReserved648);
    EXPECT_EQ(server->WmiListing(), source.server->WmiListing());
    EXPECT_EQ(server->RoleFlags(), source.server->RoleFlags());
}

TEST(MapRecord, LoadedGraphDeletesCleanly)
{
    PopulatedDocument source;
    CNetDoc doc;
    doc.LoadContents(source.doc.SaveContents());
    doc.DeleteAllObjects();
    EXPECT_TRUE(doc.m_objects.isEmpty());
}

TEST(MapRecord, TruncatedFilesFailAndLeaveNothingBehind)
{
    PopulatedDocument source;
    const QByteArray bytes = source.doc.SaveContents();
    CNetDoc doc;
    for (qsizetype length = 0; length < bytes.size(); length += 7) {
        EXPECT_THROW(doc.LoadContents(bytes.left(length)), ArchiveException) << length;
        EXPECT_TRUE(doc.m_objects.isEmpty()) << length;
    }
}

// --- record layout ----------------------------------------------------------

TEST(MapRecord, DomainRecordLayout)
{
    CDrawDomain domain(Rect{0, 0, 10, 10});
    domain.m_strName = QStringLiteral("EX");
    domain.m_wReserved = 0x1234;
    domain.m_strNote = QStringLiteral("N");
    CDrawDomain member(Rect{0, 0, 10, 10});
    domain.m_systems = {&member};
    const QByteArray expected = ArchiveBytes()
                                    .newClass("CDrawDomain")
                                    .drawObjRecord(0, 0, 10, 10)
                                    .wideString("EX")
                                    .word(0x1234)
                                    .wideString("N")
                                    .word(0) // no parent
                                    .word(0) // sub-domains
                                    .word(1) // systems
                                    .word(0x8001)
                                    .drawObjRecord(0, 0, 10, 10)
                                    .wideString("")
                                    .word(0)
                                    .wideString("")
                                    .word(0)
                                    .emptyReserve(3 + 45)
                                    .word(0) // segments
                                    .emptyReserve(45)
                                    .bytes();
    const QByteArray actual = written(domain);
    // The member lives on the stack: not the domain's to delete.
    domain.m_systems.clear();
    EXPECT_EQ(actual.toHex(), expected.toHex());
}

TEST(MapRecord, SegmentRecordLayout)
{
    CDrawSegment segment(Rect{0, 0, 10, 10});
    segment.m_dwAddress = ip("192.168.1.1");
    segment.SetMask(ip("255.255.255.0"));
    const QByteArray expected = ArchiveBytes()
                                    .newClass("CDrawSegment")
                                    .drawObjRecord(0, 0, 10, 10)
                                    .wideString("")
                                    .word(0)
                                    .wideString("")
                                    .emptyReserve(1 + 3 + 45) // parent, lists, reserve
                                    .word(0) // owner
                                    .dword(ip("192.168.1.1"))
                                    .dword(ip("255.255.255.0"))
                                    .dword(ip("192.168.1.0"))
                                    .dword(24)
                                    .dword(ip("192.168.1.255"))
                                    .emptyReserve(2 + 45)
                                    .bytes();
    EXPECT_EQ(written(segment).toHex(), expected.toHex());
}

TEST(MapRecord, SystemRecordLayout)
{
    CDrawSys system(Rect{0, 0, 10, 10});
    system.m_nTypeCode = CDrawSys::kRouter;
    system.m_ptRoundness = Point{3, 4};
    system.m_bNtFamily = 0;
    system.m_wReserved2 = 9;
    system.m_dwServerType = 0x11;
    system.m_nOsMajor = 6;
    system.m_nOsMinor = 2;
    system.m_nLastHandle = 7;
    system.m_nChassisType = 3;
    const QStringList texts{"a", "b", "c", "d", "e", "f", "g", "h"};
    system.m_strOs = texts[0];
    system.m_strFqdn = texts[1];
    system.m_strServerName = texts[2];
    system.m_strServerComment = texts[3];
    system.m_strServerName2 = texts[4];
    system.m_strServerComment2 = texts[5];
    system.m_strExtra1 = texts[6];
    system.m_strExtra2 = texts[7];
    system.m_strUncName = QStringLiteral("\\\\not-saved");
    system.m_serverInfo101 = {1, 2, 3, 4, 5, 6};
    for (quint32 i = 0; i < 13; ++i)
        system.m_serverInfo102[i] = 20 + i;
    system.m_abReserved168.front() = 0xAA;
    system.m_abReserved648.back() = 0xBB;
    system.m_wServerInfoOk = 2;
    system.m_wServerTypeNames = 3;
    system.m_wReservedFlag = 4;
    system.m_astrRoles = {QStringLiteral("r")};
    system.AddAdapterAddresses({0x0101A8C0});
    system.m_adwMasks = {0xFFFFFF};
    system.m_adwGateways = {7};
    for (int n = CDrawSys::kFirstValueArray; n <= CDrawSys::kLastValueArray; ++n)
        system.SetAdapterValues(n, {quint32(n + 6)});
    system.m_adwReserved2 = {15};
    system.m_astrReserved2 = {QStringLiteral("s")};
    system.m_astrServerNotes = {QStringLiteral("n")};
    system.RoleFlags() = {1, 0};

    ArchiveBytes expected;
    expected.newClass("CDrawSys").drawObjRecord(0, 0, 10, 10);
    expected.wideString("").word(0).wideString("").emptyReserve(1 + 3 + 45);
    expected.word(CDrawSys::kRouter).dword(3).dword(4).word(0).word(9);
    expected.word(0).word(0); // owners
    expected.dword(0x11).dword(6).dword(2).dword(7).dword(3);
    for (const QString& text : texts)
        expected.wideString(text);
    for (quint32 v : {1, 2, 3, 4, 5, 6})
        expected.dword(v);
    for (quint32 i = 0; i < 13; ++i)
        expected.dword(20 + i);
    expected.byte(0xAA).raw(QByteArray(167, '\0'));
    expected.raw(QByteArray(647, '\0')).byte(0xBB);
    expected.word(2).word(3).word(4);
    expected.word(0).word(1).wideString("r").word(0); // string arrays
    expected.word(0).word(0).word(0); // labels, sub-systems, interfaces
    expected.word(1).newClass("CDWordArray").word(1).dword(0x0101A8C0);
    expected.word(1).dword(7); // gateways; the masks are not saved
    for (int n = CDrawSys::kFirstValueArray; n <= CDrawSys::kLastValueArray; ++n)
        expected.word(1).dword(quint32(n + 6));
    expected.word(1).dword(15).word(1).wideString("s").word(1).wideString("n");
    expected.word(2).dword(1).dword(0).emptyReserve(44);

    EXPECT_EQ(written(system).toHex(), expected.bytes().toHex());
}

TEST(MapRecord, ShortRawBlocksKeepTheirValuesUntilTheEndOfFile)
{
    CDrawSys system(Rect{0, 0, 10, 10});
    system.m_serverInfo101 = {1, 2, 3, 4, 5, 6};
    QByteArray bytes = written(system);
    // Cut inside the level-101 block: the read keeps what is there, and the
    // next item fails.
    const qsizetype cut = bytes.indexOf(QByteArray::fromHex("010000000200000003000000")) + 6;
    bytes.truncate(cut);
    CNetDoc doc;
    EXPECT_EQ(loadFailure(bytes, &doc), ArchiveException::Cause::EndOfFile);
}

// --- load failures ----------------------------------------------------------

void writeBaseRecord(Archive& ar)
{
    CDrawObj base(Rect{0, 0, 10, 10});
    base.Serialize(ar);
}

void writeDomainFields(Archive& ar)
{
    writeBaseRecord(ar);
    ar.writeString(QStringLiteral("D"));
    ar.writeWord(0);
    ar.writeString(QString());
}

void writeSystemStart(Archive& ar)
{
    CDrawDomain domain(Rect{0, 0, 10, 10});
    domain.Serialize(ar);
    ar.writeWord(CDrawSys::kTower);
    ar.writePoint(Point{10, 10});
    ar.writeWord(1);
    ar.writeWord(0);
}

struct WrongClassCase {
    const char* name;
    const char* className;
    std::function<void(Archive&)> write;

    friend void PrintTo(const WrongClassCase& c, std::ostream* os) { *os << c.name; }
};

class WrongClass : public ::testing::TestWithParam<WrongClassCase> {};

TEST_P(WrongClass, IsABadClass)
{
    const WrongClassCase& c = GetParam();
    const ScriptedRecord record(c.className, c.write);
    CNetDoc doc;
    EXPECT_EQ(loadFailure(written(record), &doc), ArchiveException::Cause::BadClass);
}

CDrawObj plainObject(Rect{0, 0, 1, 1});
CDrawDomain plainDomain(Rect{0, 0, 1, 1});
CDWordArray plainArray({1, 2});

INSTANTIATE_TEST_SUITE_P(
    References, WrongClass,
    ::testing::Values(WrongClassCase{"DomainParentIsNotADomain", "CDrawDomain",
                                     [](Archive& ar) {
                                         writeDomainFields(ar);
                                         ar.writeObject(&plainObject);
                                     }},
                      WrongClassCase{"DomainMemberIsNotAMapObject", "CDrawDomain",
                                     [](Archive& ar) {
                                         writeDomainFields(ar);
                                         ar.writeObject(nullptr);
                                         ar.writeCount(1);
                                         ar.writeObject(&plainArray);
                                     }},
                      WrongClassCase{"SegmentOwnerIsNotADomain", "CDrawSegment",
                                     [](Archive& ar) {
                                         CDrawDomain domain(Rect{0, 0, 10, 10});
                                         domain.Serialize(ar);
                                         ar.writeObject(&plainObject);
                                     }},
                      WrongClassCase{"SystemDomainOwnerIsNotADomain", "CDrawSys",
                                     [](Archive& ar) {
                                         writeSystemStart(ar);
                                         ar.writeObject(&plainObject);
                                     }},
                      WrongClassCase{"SystemHostIsNotASystem", "CDrawSys",
                                     [](Archive& ar) {
                                         writeSystemStart(ar);
                                         ar.writeObject(&plainDomain);
                                         ar.writeObject(&plainDomain);
                                     }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapRecord, AdapterListOfAnotherClassIsABadClass)
{
    CDrawSys system(Rect{0, 0, 10, 10});
    system.AddAdapterAddresses({1});
    QByteArray bytes = written(system);
    // Same length, so only the class changes.
    bytes.replace(QByteArray("CDWordArray"), QByteArray("CDrawDomain"));
    CNetDoc doc;
    EXPECT_EQ(loadFailure(bytes, &doc), ArchiveException::Cause::BadClass);
}

TEST(MapRecord, DocumentWithAWrongReferenceLoadsNothing)
{
    PopulatedDocument source;
    QByteArray bytes = source.doc.SaveContents();
    bytes.replace(QByteArray("CDWordArray"), QByteArray("CDrawDomain"));
    CNetDoc doc;
    try {
        doc.LoadContents(bytes);
        FAIL() << "loaded";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.cause(), ArchiveException::Cause::BadClass);
    }
    EXPECT_TRUE(doc.m_objects.isEmpty());
}

} // namespace
