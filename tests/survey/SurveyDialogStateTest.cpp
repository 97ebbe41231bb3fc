#include "document/CNetDoc.h"
#include "objects/CDrawRect.h"
#include "shell/SettingsStore.h"
#include "support/TestFiles.h"
#include "survey/SurveyDialogState.h"
#include "survey/SurveySettings.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Verdict = AddressInput::Verdict;

class SurveyDialogStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(SettingsStore::defaultFilePath());
        QFile::remove(store.filePath());
        doc.OnNewDocument();
        frame.ProvisionedAccount = QStringLiteral("collector");
        frame.ProvisionedPassword = QStringLiteral("353c3u");
    }

    quint32 stored(const char* name)
    {
        quint32 value = 0xDEAD;
        store.readDword(QStringLiteral("NetRes"), QString::fromLatin1(name), value);
        return value;
    }

    CNetDoc doc;
    SurveySettings frame;
    SettingsStore store{TestFiles::scratchPath("dialog-settings.ini")};
};

TEST_F(SurveyDialogStateTest, NewDocumentWithoutStoredOptionsShowsZeros)
{
    EXPECT_EQ(doc.m_adwSurveySettings, (QList<quint32>{0, 0, 0, 0, 0}));
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_FALSE(state.m_bPingOnly);
    EXPECT_FALSE(state.m_bWmi);
    EXPECT_EQ(state.m_nCredentialMode, 0u);
    EXPECT_FALSE(state.m_bShowFailures);
    EXPECT_EQ(state.m_nThreadInterval, 0u);
    EXPECT_EQ(state.m_nObjectSpacing, 200u);
    EXPECT_FALSE(state.m_bCredentialRadiosEnabled);
    EXPECT_FALSE(state.m_bAccountFieldsEnabled);
    EXPECT_EQ(doc.m_adwSurveySettings, (QList<quint32>{0, 0, 0, 0, 0}));
}

TEST_F(SurveyDialogStateTest, EmptyOptionsGetTheDialogDefaults)
{
    doc.m_adwSurveySettings.clear();
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_EQ(doc.m_adwSurveySettings, (QList<quint32>{1, 1, 0, 0, 100}));
    EXPECT_TRUE(state.m_bPingOnly);
    EXPECT_TRUE(state.m_bWmi);
    EXPECT_EQ(state.m_nCredentialMode, 0u);
    EXPECT_EQ(state.m_nThreadInterval, 100u);
    EXPECT_TRUE(state.m_bCredentialRadiosEnabled);
    EXPECT_FALSE(state.m_bAccountFieldsEnabled);
}

TEST_F(SurveyDialogStateTest, ShortOptionsAreReplacedWhole)
{
    doc.m_adwSurveySettings = {0, 0, 1, 1};
    SurveyDialogState::Open(doc, frame);
    EXPECT_EQ(doc.m_adwSurveySettings, (QList<quint32>{1, 1, 0, 0, 100}));
}

TEST_F(SurveyDialogStateTest, ExplicitAccountShowsTheDomainOnly)
{
    doc.m_adwSurveySettings = {0, 1, 1, 1, 30};
    doc.m_astrWmiAccount = {"CORP", "admin", "secret"};
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_TRUE(state.m_bWmi);
    EXPECT_EQ(state.m_nCredentialMode, 1u);
    EXPECT_EQ(state.m_strDomain, "CORP");
    EXPECT_EQ(state.m_strAccount, QString());
    EXPECT_EQ(state.m_strPassword, QString());
    EXPECT_TRUE(state.m_bAccountFieldsEnabled);
    EXPECT_TRUE(state.m_bShowFailures);
    EXPECT_EQ(state.m_nThreadInterval, 30u);
}

TEST_F(SurveyDialogStateTest, AccountNeedsExactlyThreeStrings)
{
    doc.m_adwSurveySettings = {0, 1, 1, 0, 0};
    doc.m_astrWmiAccount = {"CORP", "admin"};
    EXPECT_EQ(SurveyDialogState::Open(doc, frame).m_strDomain, QString());
}

TEST_F(SurveyDialogStateTest, LoggedOnUserModeClearsTheDomain)
{
    doc.m_adwSurveySettings = {0, 1, 0, 0, 0};
    doc.m_astrWmiAccount = {"CORP", "admin", "secret"};
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_EQ(state.m_strDomain, QString());
    EXPECT_FALSE(state.m_bAccountFieldsEnabled);
}

struct ModeCase {
    quint32 stored;
    quint32 shown;
};

class StoredModes : public SurveyDialogStateTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredModes, OnlyModeOneIsTheExplicitAccount)
{
    doc.m_adwSurveySettings = {0, 1, GetParam().stored, 0, 0};
    EXPECT_EQ(SurveyDialogState::Open(doc, frame).m_nCredentialMode, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredModes,
                         ::testing::Values(ModeCase{0, 0}, ModeCase{1, 1}, ModeCase{2, 0},
                                           ModeCase{0xFFFFFFFF, 0}));

TEST_F(SurveyDialogStateTest, WithoutWmiThePingSurveyIsForced)
{
    frame.WmiAvailable = false;
    doc.m_adwSurveySettings = {0, 1, 1, 1, 42};
    doc.m_astrWmiAccount = {"CORP", "admin", "secret"};
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_TRUE(state.m_bPingOnly);
    EXPECT_FALSE(state.m_bWmi);
    EXPECT_EQ(state.m_nCredentialMode, 0u);
    EXPECT_EQ(state.m_strDomain, QString());
    EXPECT_TRUE(state.m_bShowFailures);
    EXPECT_EQ(state.m_nThreadInterval, 42u);
    EXPECT_FALSE(state.m_bWmiGroupEnabled);
    EXPECT_FALSE(state.m_bCredentialRadiosEnabled);
}

TEST_F(SurveyDialogStateTest, SnmpIsOfferedAsItStandsAndPrintersAreOff)
{
    frame.SnmpSurveyFlag = 1;
    frame.CommunityList = {"public"};
    frame.NetPrinterList = {"10.0.0.5", "10.0.0.6"};
    const SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_TRUE(state.m_bSnmp);
    EXPECT_TRUE(state.m_bSnmpCheckEnabled);
    EXPECT_TRUE(state.m_bCommunityControlsEnabled);
    frame.SnmpSurveyFlag = 0;
    const SurveyDialogState off = SurveyDialogState::Open(doc, frame);
    EXPECT_FALSE(off.m_bSnmp);
    EXPECT_TRUE(off.m_bSnmpCheckEnabled);
    EXPECT_FALSE(off.m_bCommunityControlsEnabled);
    EXPECT_FALSE(state.m_bPrinterControlsEnabled);
    EXPECT_EQ(state.m_printers.Rows(), (QStringList{"10.0.0.6", "10.0.0.5"}));
    EXPECT_EQ(state.m_communities.Entries(), QStringList{"public"});
}

TEST_F(SurveyDialogStateTest, SwitchingWmiOffAndOnTakesTheProvisionedAccount)
{
    doc.m_adwSurveySettings = {0, 1, 1, 0, 0};
    doc.m_astrWmiAccount = {"CORP", "admin", "secret"};
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.SetWmi(false);
    EXPECT_EQ(state.m_strDomain, QString());
    EXPECT_FALSE(state.m_bCredentialRadiosEnabled);
    EXPECT_FALSE(state.m_bAccountFieldsEnabled);
    state.SetWmi(true);
    EXPECT_TRUE(state.m_bCredentialRadiosEnabled);
    EXPECT_EQ(state.m_strAccount, "collector");
    EXPECT_EQ(state.m_strPassword, "353c3u");
}

TEST_F(SurveyDialogStateTest, ChoosingAModeClearsAccountAndPassword)
{
    doc.m_adwSurveySettings = {0, 1, 1, 0, 0};
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.m_strDomain = QStringLiteral("CORP");
    state.m_strAccount = QStringLiteral("a");
    state.m_strPassword = QStringLiteral("p");
    state.SetCredentialMode(1);
    EXPECT_EQ(state.m_strDomain, "CORP");
    EXPECT_EQ(state.m_strAccount, QString());
    EXPECT_TRUE(state.m_bAccountFieldsEnabled);
    state.m_strAccount = QStringLiteral("a");
    state.SetCredentialMode(0);
    EXPECT_EQ(state.m_strDomain, QString());
    EXPECT_EQ(state.m_strAccount, QString());
    EXPECT_FALSE(state.m_bAccountFieldsEnabled);
}

struct GatewayCase {
    AddressInput::Octets octets;
    const char* message;
    const char* label;
};

class GatewayInputs : public SurveyDialogStateTest,
                      public ::testing::WithParamInterface<GatewayCase> {};

TEST_P(GatewayInputs, RejectedInputKeepsValueAndLabel)
{
    frame.DefaultGatewaySetting = QStringLiteral("10.9.9.9");
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    EXPECT_EQ(state.EnterGateway(GetParam().octets).message, QString::fromUtf8(GetParam().message));
    EXPECT_EQ(state.GatewayLabel(), QString::fromUtf8(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(
    Octets, GatewayInputs,
    ::testing::Values(
        GatewayCase{{192, 168, 1, 0}, "ネットワークアドレスは、使用できません。", "設定値 10.9.9.9"},
        GatewayCase{{127, 0, 0, 5}, "127から始まるIPアドレスは、使用できません。", "設定値 10.9.9.9"},
        GatewayCase{{10, 255, 0, 1}, "ブロードキャストIPアドレスは、使用できません。",
                    "設定値 10.9.9.9"},
        GatewayCase{{192, 168, 1, 1}, "", "設定値 192.168.1.1"}));

TEST_F(SurveyDialogStateTest, ClearingTheGateway)
{
    frame.DefaultGatewaySetting = QStringLiteral("10.9.9.9");
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.ClearGateway();
    EXPECT_EQ(state.m_strDefaultGateway, QString());
    EXPECT_EQ(state.GatewayLabel(), QStringLiteral("設定されていません"));
}

TEST_F(SurveyDialogStateTest, HiddenListsStillFollowTheirRules)
{
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.SetSnmp(true);
    EXPECT_TRUE(state.m_bCommunityControlsEnabled);
    EXPECT_TRUE(state.AddCommunity(QStringLiteral("public")));
    EXPECT_FALSE(state.AddCommunity(QStringLiteral("PUBLIC")));
    EXPECT_TRUE(state.RemoveCommunity(0));
    EXPECT_TRUE(state.m_communities.Entries().isEmpty());
    state.SetSnmp(false);
    EXPECT_FALSE(state.m_bCommunityControlsEnabled);

    EXPECT_EQ(state.AddPrinter({10, 0, 0, 0}).verdict, Verdict::Ignored);
    EXPECT_EQ(state.AddPrinter({127, 0, 0, 1}).verdict, Verdict::Rejected);
    EXPECT_EQ(state.AddPrinter({10, 0, 0, 5}).verdict, Verdict::Accepted);
    EXPECT_EQ(state.AddPrinter({10, 0, 0, 5}).verdict, Verdict::Accepted);
    EXPECT_EQ(state.m_printers.Entries(), QStringList{"10.0.0.5"});
    EXPECT_FALSE(state.RemovePrinter(3));
    EXPECT_TRUE(state.RemovePrinter(0));
    EXPECT_TRUE(state.m_printers.Entries().isEmpty());
}

TEST_F(SurveyDialogStateTest, ConfirmStoresEverything)
{
    auto* first = new CDrawRect(Rect{0, 0, 100, 100});
    auto* second = new CDrawRect(Rect{200, 0, 300, 100});
    doc.AddObject(first);
    doc.AddObject(second);
    doc.SetModifiedFlag(false);
    int repaints = 0;
    QObject::connect(&doc, &CNetDoc::viewsUpdateRequested, [&](int hint, CDrawObj* object) {
        EXPECT_EQ(hint, 0);
        EXPECT_EQ(object, nullptr);
        ++repaints;
    });

    frame.SnmpSurveyFlag = 1;
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.m_nObjectSpacing = 350;
    state.m_bPingOnly = true;
    state.m_bWmi = true;
    state.m_nCredentialMode = 1;
    state.m_strDomain = QStringLiteral("CORP");
    state.m_strAccount = QStringLiteral("admin");
    state.m_strPassword = QStringLiteral("secret");
    state.m_bShowFailures = true;
    state.m_nThreadInterval = 250;
    state.m_nGatewayShape = SurveySettings::kShapeRouter;
    state.EnterGateway({192, 168, 0, 1});
    state.Confirm(doc, frame, store);

    EXPECT_EQ(doc.m_adwSurveySettings, (QList<quint32>{1, 1, 1, 1, 250}));
    EXPECT_EQ(doc.m_astrWmiAccount, (QStringList{"CORP", "admin", "secret"}));
    EXPECT_EQ(doc.m_nObjectSpacing, 350);
    EXPECT_EQ(first->m_nSpacing, 350);
    EXPECT_EQ(second->m_nSpacing, 350);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(repaints, 1);

    EXPECT_EQ(frame.SnmpSurveyFlag, 1u) << "confirming keeps the SNMP survey the user left on";
    EXPECT_EQ(frame.GatewayShape, SurveySettings::kShapeRouter);
    EXPECT_EQ(frame.DefaultGatewaySetting, "192.168.0.1");
    EXPECT_EQ(stored("Ping"), 1u);
    EXPECT_EQ(stored("Wmi"), 1u);
    EXPECT_EQ(stored("Proxy"), 1u);
    EXPECT_EQ(stored("SNMP"), 1u);
    EXPECT_EQ(stored("DGW_Shape"), 0u);
    EXPECT_EQ(stored("Err"), 0xDEADu);
    EXPECT_EQ(stored("ThreadStart"), 0xDEADu);
}

TEST_F(SurveyDialogStateTest, ConfirmingTwiceNeverWritesFailuresOrInterval)
{
    for (int round = 0; round < 2; ++round) {
        SurveyDialogState state = SurveyDialogState::Open(doc, frame);
        state.m_bShowFailures = true;
        state.m_nThreadInterval = 500;
        state.Confirm(doc, frame, store);
    }
    EXPECT_EQ(stored("Err"), 0xDEADu);
    EXPECT_EQ(stored("ThreadStart"), 0xDEADu);
    EXPECT_EQ(doc.m_adwSurveySettings.at(4), 500u);
}

TEST_F(SurveyDialogStateTest, ConfirmedListsReadBackReversedNextRun)
{
    frame.CommunityList = {"a", "b"};
    SurveyDialogState state = SurveyDialogState::Open(doc, frame);
    state.Confirm(doc, frame, store);
    SurveySettings nextRun;
    nextRun.LoadAtStart(store);
    EXPECT_EQ(nextRun.CommunityList, (QStringList{"b", "a"}));
}

} // namespace
