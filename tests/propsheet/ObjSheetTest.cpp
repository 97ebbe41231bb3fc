// The system property sheet on a small map, page by page, as a user drives it.
#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/DrawView.h"
#include "propsheet/CObjPage1.h"
#include "propsheet/CObjPage2.h"
#include "propsheet/CObjPage3.h"
#include "propsheet/CObjPage4.h"
#include "propsheet/CObjPage5.h"
#include "propsheet/CObjPage6.h"
#include "propsheet/CObjPage7.h"
#include "propsheet/CObjPage8.h"
#include "propsheet/CObjSheet.h"
#include "propsheet/IpAddressEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace {

constexpr quint32 Ip(quint32 a, quint32 b, quint32 c, quint32 d)
{
    return a | b << 8 | c << 16 | d << 24;
}

const quint32 kMask24 = Ip(255, 255, 255, 0);

// A router, a desktop and a shared printer in domain corp, on 10.77.0.0/24.
class ObjSheet : public ::testing::Test {
public:
    void SetUp() override
    {
        document.OnNewDocument();
        document.CreateSegment(Ip(10, 77, 0, 1), kMask24);
        corp = document.CreateDomain(QStringLiteral("corp"));
        document.CreateDomain(QStringLiteral("sales"));
        router = Member(QStringLiteral("gw.corp"), CDrawSys::kRouter);
        document.CreateNic(router, {Ip(10, 77, 0, 1)}, kMask24, 0, QStringLiteral("02-00-0a-4d-00-01"));
        pc = Member(QStringLiteral("pc1.corp"), CDrawSys::kDesktop);
        document.CreateNic(pc, {Ip(10, 77, 0, 20)}, kMask24, Ip(10, 77, 0, 1), QStringLiteral("02-00-0a-4d-00-14"));
        printer = Member(QStringLiteral("prn.corp"), CDrawSys::kPrinter);
        document.SaveSnapshot();
    }

    CDrawSys* Member(const QString& fqdn, int type)
    {
        auto* system = new CDrawSys(Rect{100, 100, 200, 200});
        system->m_pDocument = &document;
        system->m_strFqdn = fqdn;
        system->m_nTypeCode = type;
        system->m_strName = corp->m_strName;
        document.m_objects.append(system);
        system->SetOwner(corp);
        corp->AddSystem(system);
        return system;
    }

    // A sheet whose messages and questions are recorded and answered here.
    std::unique_ptr<CObjSheet> Sheet(CDrawSys* system)
    {
        auto sheet = std::make_unique<CObjSheet>(*system);
        Answer(*sheet);
        return sheet;
    }

    void Answer(CObjSheet& sheet)
    {
        sheet.prompts().inform = [this](const QString& text) { informed.append(text); };
        sheet.prompts().askYesNoCancel = [this](const QString& text) {
            asked.append(text);
            const QMessageBox::StandardButton answer = answers.empty() ? QMessageBox::Cancel : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return answer;
        };
        sheet.prompts().chooseColor = [](const QColor&) { return std::optional<QColor>(QColor(0x12, 0x34, 0x56)); };
    }

    template <typename Page>
    static Page* PageOf(CObjSheet& sheet)
    {
        for (int i = 0; i < CObjSheet::kPageCount; ++i)
            if (auto* page = dynamic_cast<Page*>(sheet.Page(i)))
                return page;
        return nullptr;
    }

    template <typename Widget>
    static Widget* Find(const CObjSheet& sheet, const char* name)
    {
        auto* widget = sheet.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void TypeMac(CObjSheet& sheet, const QStringList& fields)
    {
        for (int i = 0; i < 6; ++i)
            Find<QLineEdit>(sheet, QStringLiteral("mac%1").arg(i).toLatin1().constData())->setText(fields.value(i));
    }

    static void TypeAddress(CObjSheet& sheet, const char* name, const QString& dotted)
    {
        Find<IpAddressEdit>(sheet, name)->SetText(dotted);
    }

    QByteArray Bytes() { return document.SaveContents(); }

    CNetDoc document;
    CDrawDomain* corp = nullptr;
    CDrawSys* router = nullptr;
    CDrawSys* pc = nullptr;
    CDrawSys* printer = nullptr;
    QStringList informed;
    QStringList asked;
    std::deque<QMessageBox::StandardButton> answers;
};

class RecordingView : public DrawView {
public:
    bool isPrinting() const override { return false; }
    Rect clientRectLogical() const override { return {}; }
    bool showsHandles() const override { return false; }
    bool isSelected(const CDrawObj*) const override { return false; }
    QList<CDrawObj*> selection() const override { return {}; }
    void removeFromSelection(CDrawObj*) override {}
    void invalidateObject(CDrawObj*) override {}
    Point logicalToDevice(Point p) const override { return p; }
    Point deviceToLogical(Point p) const override { return p; }
    void openPropertySheet(CDrawObj* object) override { opened.append(object); }
    QList<CDrawObj*> opened;
};

} // namespace

TEST_F(ObjSheet, OnlyPlainSystemsOpenTheSheet)
{
    RecordingView view;
    auto* nic = static_cast<CDrawNic*>(pc->m_nics.first());
    for (CDrawObj* object : QList<CDrawObj*>{nic, nic->m_nicLabels.first(), corp, document.FindDomain(QString()), pc})
        object->OnOpen(&view);
    EXPECT_EQ(view.opened, QList<CDrawObj*>{pc});
    EXPECT_FALSE(CObjSheet::EditProperties(*nic, nullptr));
}

TEST_F(ObjSheet, ThePagesComeInTheirOrder)
{
    const auto sheet = Sheet(pc);
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("システム　プロパティ"));
    QStringList titles;
    for (int i = 0; i < sheet->Tabs()->count(); ++i)
        titles.append(sheet->Tabs()->tabText(i));
    EXPECT_EQ(titles, (QStringList{"機器情報", "サーバー情報", "NIC情報", "セグメント情報", "ドメイン情報",
                                   "共有リソース情報", "描画", "WMI情報"}));
}

TEST_F(ObjSheet, TheDevicePageRefusesKindsTheInterfacesDoNotAllow)
{
    struct Case {
        CDrawSys* ObjSheet::*system;
        int kind;
        const char* refusal; // empty: accepted
        int typeCode;
    } cases[] = {
        {&ObjSheet::pc, 5, "ネットワークインターフェースがあります。\nNIC情報ページで削除してください。", CDrawSys::kDesktop},
        {&ObjSheet::pc, 3, "ネットワークインターフェースがあります。\nNIC情報ページで削除してください。", CDrawSys::kDesktop},
        {&ObjSheet::pc, 0, "", CDrawSys::kTower},
        {&ObjSheet::printer, 0, "ネットワークインターフェースがありません。\nNIC情報ページで作成してください。", CDrawSys::kPrinter},
        {&ObjSheet::printer, 5, "", CDrawSys::kHub},
    };
    for (const Case& c : cases) {
        CDrawSys* system = this->*c.system;
        const auto sheet = Sheet(system);
        informed.clear();
        const int before = sheet->m_nAcceptedKind;
        PageOf<CObjPage1>(*sheet)->ChooseKind(c.kind);
        EXPECT_EQ(informed, c.refusal[0] ? QStringList{QString::fromUtf8(c.refusal)} : QStringList()) << c.kind;
        EXPECT_EQ(system->m_nTypeCode, c.typeCode) << c.kind;
        const int checked = c.refusal[0] ? before : c.kind;
        EXPECT_TRUE(Find<QRadioButton>(*sheet, QStringLiteral("kind%1").arg(checked).toLatin1().constData())->isChecked());
    }
}

TEST_F(ObjSheet, APrinterOpensAsPrintServerWithInterfacesAndSharedWithout)
{
    EXPECT_EQ(Sheet(printer)->m_nAcceptedKind, 3);
    document.CreateNic(printer, {Ip(10, 77, 0, 40)}, kMask24, Ip(10, 77, 0, 1), QStringLiteral("02-00-00-00-00-28"));
    EXPECT_EQ(Sheet(printer)->m_nAcceptedKind, 2);
}

TEST_F(ObjSheet, TheOsListEndsWithTheDevicesOwnNameWhichChangesAtOnce)
{
    pc->m_strOs = QStringLiteral("Debian GNU/Linux 12");
    const auto sheet = Sheet(pc);
    auto* os = Find<QComboBox>(*sheet, "os");
    ASSERT_EQ(os->count(), 57);
    EXPECT_EQ(os->itemText(0), QStringLiteral("Windows 8 "));
    EXPECT_EQ(os->itemText(56), QStringLiteral("Debian GNU/Linux 12"));
    EXPECT_EQ(os->currentIndex(), 56);
    os->setCurrentIndex(3);
    EXPECT_EQ(pc->m_strOs, QStringLiteral("Windows 7 Home Premium"));
    printer->m_strOs.clear();
    const auto other = Sheet(printer);
    EXPECT_EQ(Find<QComboBox>(*other, "os")->itemText(56), QString());
    EXPECT_FALSE(Find<QComboBox>(*other, "os")->isEnabled()) << "a shared printer has no OS of its own";
}

TEST_F(ObjSheet, OkAppliesNameRolesNotesAndOutlineAndTheyAreSaved)
{
    const auto sheet = Sheet(pc);
    Find<QLineEdit>(*sheet, "fqdn")->setText(QStringLiteral("pc9.corp"));
    Find<QCheckBox>(*sheet, "role21")->setChecked(true); // SQL
    Find<QPlainTextEdit>(*sheet, "notes")->setPlainText(QStringLiteral("first\n\n\nsecond\n"));
    Find<QSpinBox>(*sheet, "lineWidth")->setValue(4);
    Find<QCheckBox>(*sheet, "noFill")->setChecked(true);
    EXPECT_EQ(sheet->m_astrNotes, (QStringList{"first", "second"}));
    sheet->accept();
    EXPECT_EQ(pc->m_strFqdn, QStringLiteral("pc9.corp"));
    EXPECT_EQ(pc->RoleFlags().value(21), 1u);
    EXPECT_EQ(pc->m_astrServerNotes, (QStringList{"first", "second"}));
    EXPECT_EQ(pc->m_logpen.lopnWidth.x, 4);
    EXPECT_EQ(pc->m_bBrush, 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edited.vxnj"));
    ASSERT_TRUE(document.OnSaveDocument(path));
    CNetDoc reloaded;
    ASSERT_TRUE(reloaded.OnOpenDocument(path));
    const CDrawSys* again = nullptr;
    for (const CDrawObj* object : reloaded.m_objects)
        if (object->IsKindOf(CDrawSys::StaticClass()) && static_cast<const CDrawSys*>(object)->m_strFqdn == QStringLiteral("pc9.corp"))
            again = static_cast<const CDrawSys*>(object);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_astrServerNotes, (QStringList{"first", "second"}));
    EXPECT_EQ(again->RoleFlags().value(21), 1u);
    EXPECT_EQ(again->m_nics.size(), 1);
}

TEST_F(ObjSheet, CancelLeavesTheMapAsItWasAndOkIsOneUndoStep)
{
    const QByteArray before = Bytes();
    const bool wasModified = document.IsModified();
    QTimer::singleShot(0, [this] {
        auto* sheet = qobject_cast<CObjSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        Answer(*sheet);
        Find<QComboBox>(*sheet, "os")->setCurrentIndex(0);
        PageOf<CObjPage1>(*sheet)->ChooseKind(0);
        Find<QLineEdit>(*sheet, "fqdn")->setText(QStringLiteral("renamed.corp"));
        auto* nics = PageOf<CObjPage7>(*sheet);
        nics->StartAdding();
        TypeMac(*sheet, {"02", "00", "00", "00", "00", "99"});
        TypeAddress(*sheet, "ipAddress", QStringLiteral("10.77.0.99"));
        TypeAddress(*sheet, "gateway", QStringLiteral("10.77.0.1"));
        TypeAddress(*sheet, "netmask", QStringLiteral("255.255.255.0"));
        nics->ApplyInterface();
        EXPECT_EQ(pc->m_nics.size(), 2);
        sheet->reject();
    });
    EXPECT_FALSE(CObjSheet::EditProperties(*pc, nullptr));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(document.IsModified(), wasModified);
    EXPECT_FALSE(document.CanRedo());

    CDrawSys* system = nullptr;
    for (CDrawObj* object : document.m_objects)
        if (object->IsKindOf(CDrawSys::StaticClass()) && static_cast<CDrawSys*>(object)->m_strFqdn == QStringLiteral("pc1.corp"))
            system = static_cast<CDrawSys*>(object);
    ASSERT_NE(system, nullptr);
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CObjSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->findChild<QLineEdit*>(QStringLiteral("fqdn"))->setText(QStringLiteral("pc2.corp"));
        sheet->accept();
    });
    EXPECT_TRUE(CObjSheet::EditProperties(*system, nullptr));
    EXPECT_NE(Bytes(), before);
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(Bytes(), before) << "one undo step takes the whole sheet back";
}

TEST_F(ObjSheet, TheInterfacePageAddsEditsAndDeletesInterfacesAndAddresses)
{
    const auto sheet = Sheet(pc);
    auto* page = PageOf<CObjPage7>(*sheet);
    ASSERT_EQ(page->Entries().size(), 1);
    EXPECT_EQ(page->CurrentState(), CObjPage7::State::Resting);

    // A blank field, answered Yes, counts as "00".
    page->StartAdding();
    TypeMac(*sheet, {"02", "00", "", "4D", "00", "15"});
    TypeAddress(*sheet, "ipAddress", QStringLiteral("10.77.0.21"));
    page->ApplyInterface(); // the question comes first; Cancel does nothing
    EXPECT_EQ(asked, QStringList{"ネットワークカードアドレスに空欄があります。空欄を00として処理を進めますか？"});
    EXPECT_TRUE(informed.isEmpty());
    answers = {QMessageBox::Yes};
    page->ApplyInterface();
    EXPECT_EQ(informed, QStringList{"デフォルトゲートウェイアドレスに空欄があります。"});
    EXPECT_EQ(pc->m_nics.size(), 1);
    answers = {QMessageBox::Yes};
    TypeAddress(*sheet, "gateway", QStringLiteral("10.77.0.1"));
    TypeAddress(*sheet, "netmask", QStringLiteral("255.255.255.0"));
    page->ApplyInterface();
    ASSERT_EQ(pc->m_nics.size(), 2);
    EXPECT_EQ(page->Entries().first().mac, QStringLiteral("02-00-00-4D-00-15"));
    EXPECT_EQ(static_cast<CDrawNic*>(pc->m_nics.last())->m_connections.size(), 1) << "wired to the router";

    // The same MAC in other letter case is refused.
    informed.clear();
    page->StartAdding();
    TypeMac(*sheet, {"02", "00", "00", "4d", "00", "15"});
    TypeAddress(*sheet, "ipAddress", QStringLiteral("10.77.0.22"));
    TypeAddress(*sheet, "gateway", QStringLiteral("10.77.0.1"));
    TypeAddress(*sheet, "netmask", QStringLiteral("255.255.255.0"));
    page->ApplyInterface();
    EXPECT_EQ(informed, QStringList{"MACアドレスが同じものがありあます。MACアドレスを変更してください。"});
    EXPECT_EQ(pc->m_nics.size(), 2);
    page->Cancel();

    // The only address stays; a second one can go again.
    informed.clear();
    page->SelectInterface(0);
    page->Cancel();
    page->StartChangingAddresses();
    page->SelectAddress(0);
    page->DeleteAddress();
    EXPECT_TRUE(informed.first().startsWith(QStringLiteral("このネットワークインターフェースの唯一のIPアドレスは削除できません。")));
    TypeAddress(*sheet, "ipAddress", QStringLiteral("10.77.0.30"));
    page->AddAddress();
    auto* added = static_cast<CDrawNic*>(document.FindNicByMac(QStringLiteral("02-00-00-4D-00-15")));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->m_adwAddresses, (QList<quint32>{Ip(10, 77, 0, 30), Ip(10, 77, 0, 21)}));
    page->SelectAddress(1);
    page->DeleteAddress();
    EXPECT_EQ(added->m_adwAddresses, QList<quint32>{Ip(10, 77, 0, 30)});

    // Deleting both interfaces leaves the desktop without any.
    page->SelectInterface(0);
    page->DeleteInterface();
    page->SelectInterface(0);
    page->DeleteInterface();
    EXPECT_TRUE(pc->m_nics.isEmpty());
    EXPECT_EQ(document.FindNicByMac(QStringLiteral("02-00-0a-4d-00-14")), nullptr);
    informed.clear();
    PageOf<CObjPage1>(*sheet)->ChooseKind(0);
    EXPECT_EQ(informed.size(), 1) << "without interfaces only the shared kinds remain";
}

TEST_F(ObjSheet, AnInterfaceWithoutAWholeMacGetsAPlaceholder)
{
    static_cast<CDrawNic*>(pc->m_nics.first())->m_strMac = QStringLiteral("02-00-0a");
    const auto sheet = Sheet(pc);
    EXPECT_EQ(PageOf<CObjPage7>(*sheet)->Entries().first().mac, QStringLiteral("xx-xx-xx-xx-xx-01"));
    EXPECT_EQ(static_cast<CDrawNic*>(pc->m_nics.first())->m_strMac, QStringLiteral("xx-xx-xx-xx-xx-01"));
}

TEST_F(ObjSheet, TheDomainPageRenamesConnectsAndGuardsDomains)
{
    struct Case {
        const char* name;
        const char* domain;
        const char* result;
    } names[] = {{"pc1.sales", "hq", "pc1.hq"}, {"pc1", "hq", "pc1.hq"}, {"\\\\srv1\\prn", "hq", "prn.hq"},
                 {"\\\\prn", "hq", "prn.hq"}};
    for (const Case& c : names)
        EXPECT_EQ(CObjPage3::NameInDomain(QString::fromUtf8(c.name), QString::fromUtf8(c.domain)),
                  QString::fromUtf8(c.result));

    const auto sheet = Sheet(pc);
    auto* page = PageOf<CObjPage3>(*sheet);
    auto* list = Find<QListWidget>(*sheet, "domains");
    EXPECT_EQ(Find<QLabel>(*sheet, "connectedTo")->text(), QStringLiteral("corp"));
    // corp has members: refused.
    page->SelectDomain(0);
    page->Delete();
    EXPECT_EQ(informed, QStringList{"このドメイン／ワークグループには、メンバＰＣがいます。\n先にメンバＰＣの所属ドメインを変更してください。"});
    // Moving to sales renames the device there.
    page->SelectDomain(1);
    page->Connect();
    EXPECT_EQ(pc->m_pOwnerDomain, document.FindDomain(QStringLiteral("sales")));
    EXPECT_TRUE(document.FindDomain(QStringLiteral("sales"))->m_systems.contains(pc));
    EXPECT_FALSE(corp->m_systems.contains(pc));
    EXPECT_EQ(sheet->m_strFqdn, QStringLiteral("pc1.sales"));
    // A new domain, and the one the device is in cannot go unnoticed.
    page->StartNew();
    Find<QLineEdit>(*sheet, "domainName")->setText(QStringLiteral("hq"));
    page->Apply();
    ASSERT_NE(document.FindDomain(QStringLiteral("HQ")), nullptr);
    EXPECT_EQ(list->count(), 3);
    informed.clear();
    page->SelectDomain(2);
    page->Delete();
    EXPECT_EQ(document.FindDomain(QStringLiteral("hq")), nullptr);
    EXPECT_EQ(list->count(), 2);
}

TEST_F(ObjSheet, TheSegmentPageBringsTheChosenSegmentToTheTop)
{
    document.CreateSegment(Ip(10, 78, 0, 1), kMask24);
    document.CreateSegment(Ip(10, 79, 0, 1), kMask24);
    const auto sheet = Sheet(pc);
    auto* page = PageOf<CObjPage4>(*sheet);
    ASSERT_EQ(page->Entries().size(), 3);
    const quint32 third = page->Entries().at(2).network;
    page->SelectSegment(2);
    EXPECT_EQ(page->Entries().first().network, third);
    const CDrawDomain* forest = document.FindDomain(QString());
    EXPECT_EQ(static_cast<const CDrawSegment*>(forest->m_segments.first())->m_dwNetwork, third);

    // A new one, then down to one that cannot go.
    page->StartNew();
    TypeAddress(*sheet, "segmentGateway", QStringLiteral("192.168.1.1"));
    TypeAddress(*sheet, "segmentMask", QStringLiteral("255.255.255.0"));
    TypeAddress(*sheet, "segmentNetwork", QStringLiteral("192.168.1.0"));
    page->Apply();
    EXPECT_EQ(informed, QStringList{"IPアドレスに空欄があります。"});
    TypeAddress(*sheet, "segmentBroadcast", QStringLiteral("192.168.1.255"));
    page->Apply();
    EXPECT_EQ(page->Entries().size(), 4);
    while (page->Entries().size() > 1) {
        page->SelectSegment(0);
        page->Delete();
    }
    informed.clear();
    page->SelectSegment(0);
    page->Delete();
    EXPECT_EQ(informed, QStringList{"このシステムで唯一のセグメントを削除することは出来ません。"});
}

TEST_F(ObjSheet, ASharedPrinterHangsOnAHostButADeviceWithInterfacesDoesNot)
{
    {
        const auto sheet = Sheet(pc);
        auto* page = PageOf<CObjPage5>(*sheet);
        page->SelectHost(0);
        page->Attach();
        EXPECT_EQ(informed, QStringList{"この機器を共有リソースにするには\nネットワークインターフェースを削除してください。"});
    }
    const auto sheet = Sheet(printer);
    auto* hosts = Find<QListWidget>(*sheet, "hosts");
    QStringList candidates;
    for (int i = 0; i < hosts->count(); ++i)
        candidates.append(hosts->item(i)->text());
    EXPECT_EQ(candidates, (QStringList{"gw.corp", "pc1.corp"}));
    PageOf<CObjPage5>(*sheet)->SelectHost(1);
    PageOf<CObjPage5>(*sheet)->Attach();
    EXPECT_EQ(printer->m_pOwnerSys, pc);
    EXPECT_EQ(printer->m_strFqdn, QStringLiteral("\\\\pc1\\prn"));
    EXPECT_EQ(sheet->m_strFqdn, printer->m_strFqdn);
    EXPECT_EQ(Find<QLabel>(*sheet, "hostFqdn")->text(), QStringLiteral("pc1.corp"));
}

TEST_F(ObjSheet, TheWmiPageShowsOneSectionOfTheListing)
{
    pc->WmiListing() = {"ComputerSystem", "Manufacturer                    \tLENOVO", "end end", "QuickFixEngineering",
                        "HotFixID\tKB5034441", "end end", "NetworkLoginProfile"};
    const auto sheet = Sheet(pc);
    auto* page = PageOf<CObjPage8>(*sheet);
    auto* list = Find<QListWidget>(*sheet, "wmiListing");
    page->ShowSection(8); // "FixEngine"
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("HotFixID        KB5034441"));
    page->ShowSection(0);
    EXPECT_TRUE(list->item(0)->text().endsWith(QStringLiteral("LENOVO")));
}

TEST_F(ObjSheet, ColoursChangeAtOnce)
{
    const auto sheet = Sheet(pc);
    PageOf<CObjPage6>(*sheet)->ChooseLineColor();
    PageOf<CObjPage6>(*sheet)->ChooseFillColor();
    EXPECT_EQ(pc->m_logpen.lopnColor, 0x00563412u);
    EXPECT_EQ(pc->m_logbrush.lbColor, 0x00563412u);
}
