#include "shell/SettingsStore.h"
#include "support/TestFiles.h"
#include "survey/AddressInput.h"
#include "survey/DialogList.h"
#include "survey/IntervalField.h"
#include "survey/ProvisionedPassword.h"
#include "survey/SurveySettings.h"

#include <QFile>
#include <QSet>
#include <QSettings>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Verdict = AddressInput::Verdict;

// --- provisioned password ----------------------------------------------------------

struct PasswordCase {
    quint32 number;
    const char* password;
};

class Passwords : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(Passwords, NumberInBase33)
{
    EXPECT_EQ(ProvisionedPassword::Build(GetParam().number),
              QString::fromLatin1(GetParam().password));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Passwords,
    ::testing::Values(PasswordCase{0, "0"}, PasswordCase{9, "9"}, PasswordCase{10, "a"},
                      PasswordCase{17, "h"}, PasswordCase{18, "j"}, PasswordCase{32, "z"},
                      PasswordCase{33, "10"}, PasswordCase{1088, "zz"}, PasswordCase{1089, "100"},
                      PasswordCase{1291467968, "zzzzzz"}, PasswordCase{1291467969, "1000000"},
                      PasswordCase{123456789, "353c3u"},
                      PasswordCase{0xFFFFFFFF, "3armt93"}));

TEST(ProvisionedPassword, AlphabetIsDigitsAndLettersWithoutLookalikes)
{
    const QString alphabet = QString::fromLatin1(ProvisionedPassword::kAlphabet);
    ASSERT_EQ(alphabet.size(), 33);
    EXPECT_TRUE(alphabet.startsWith(QStringLiteral("0123456789")));
    const QSet<QChar> distinct(alphabet.begin(), alphabet.end());
    EXPECT_EQ(distinct.size(), 33);
    for (QChar c : alphabet)
        EXPECT_TRUE(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))) << c.toLatin1();
    EXPECT_FALSE(alphabet.contains(QLatin1Char('i')));
    EXPECT_FALSE(alphabet.contains(QLatin1Char('l')));
    EXPECT_FALSE(alphabet.contains(QLatin1Char('o')));
}

// --- address input ---------------------------------------------------------------------

struct AddressCase {
    AddressInput::Octets octets;
    Verdict gateway;
    Verdict printer;
    const char* message;
    const char* text;
};

class TypedAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(TypedAddresses, GatewayAndPrinterChecks)
{
    const AddressCase& c = GetParam();
    const AddressInput::Check gateway = AddressInput::ForGateway(c.octets);
    EXPECT_EQ(gateway.verdict, c.gateway);
    EXPECT_EQ(gateway.text, QString::fromUtf8(c.text));
    const AddressInput::Check printer = AddressInput::ForPrinter(c.octets);
    EXPECT_EQ(printer.verdict, c.printer);
    EXPECT_EQ(printer.text, QString::fromUtf8(c.text));
    EXPECT_EQ(gateway.message, QString::fromUtf8(c.message));
    const char* printerMessage = c.printer == Verdict::Rejected ? c.message : "";
    EXPECT_EQ(printer.message, QString::fromUtf8(printerMessage));
}

INSTANTIATE_TEST_SUITE_P(
    Octets, TypedAddresses,
    ::testing::Values(
        AddressCase{{192, 168, 1, 0}, Verdict::Rejected, Verdict::Ignored,
                    "ネットワークアドレスは、使用できません。", ""},
        AddressCase{{127, 0, 0, 5}, Verdict::Rejected, Verdict::Rejected,
                    "127から始まるIPアドレスは、使用できません。", ""},
        AddressCase{{127, 0, 0, 0}, Verdict::Rejected, Verdict::Ignored,
                    "ネットワークアドレスは、使用できません。", ""},
        AddressCase{{10, 255, 0, 1}, Verdict::Rejected, Verdict::Rejected,
                    "ブロードキャストIPアドレスは、使用できません。", ""},
        AddressCase{{127, 255, 0, 1}, Verdict::Rejected, Verdict::Rejected,
                    "127から始まるIPアドレスは、使用できません。", ""},
        AddressCase{{192, 168, 1, 255}, Verdict::Rejected, Verdict::Rejected,
                    "ブロードキャストIPアドレスは、使用できません。", ""},
        AddressCase{{255, 1, 1, 1}, Verdict::Rejected, Verdict::Rejected,
                    "ブロードキャストIPアドレスは、使用できません。", ""},
        AddressCase{{192, 168, 1, 1}, Verdict::Accepted, Verdict::Accepted, "", "192.168.1.1"},
        AddressCase{{0, 0, 0, 1}, Verdict::Accepted, Verdict::Accepted, "", "0.0.0.1"},
        AddressCase{{10, 0, 254, 254}, Verdict::Accepted, Verdict::Accepted, "", "10.0.254.254"}));

TEST(AddressInput, GatewayLabel)
{
    EXPECT_EQ(AddressInput::GatewayLabel(QString()), QStringLiteral("設定されていません"));
    EXPECT_EQ(AddressInput::GatewayLabel(QStringLiteral("192.168.1.1")),
              QStringLiteral("設定値 192.168.1.1"));
}

// --- interval fields -----------------------------------------------------------------

struct IntervalCase {
    const char* text;
    bool ok;
    quint32 value;
    const char* message;
};

class Intervals : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(Intervals, NumberInRange)
{
    const IntervalField::Parsed parsed = IntervalField::Parse(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(parsed.ok, GetParam().ok);
    EXPECT_EQ(parsed.value, GetParam().value);
    EXPECT_EQ(parsed.message, QString::fromUtf8(GetParam().message));
}

const char* const kNotANumber = "正の整数を入力してください。";
const char* const kOutOfRange = "0 から 500 までの整数を入力してください。";

INSTANTIATE_TEST_SUITE_P(
    Texts, Intervals,
    ::testing::Values(IntervalCase{"0", true, 0, ""}, IntervalCase{"100", true, 100, ""},
                      IntervalCase{"500", true, 500, ""}, IntervalCase{" 250 ", true, 250, ""},
                      IntervalCase{"007", true, 7, ""}, IntervalCase{"501", false, 0, kOutOfRange},
                      IntervalCase{"4294967296", false, 0, kOutOfRange},
                      IntervalCase{"99999999999999999999999", false, 0, kOutOfRange},
                      IntervalCase{"", false, 0, kNotANumber}, IntervalCase{"  ", false, 0, kNotANumber},
                      IntervalCase{"-1", false, 0, kNotANumber}, IntervalCase{"+1", false, 0, kNotANumber},
                      IntervalCase{"1.5", false, 0, kNotANumber}, IntervalCase{"12ms", false, 0, kNotANumber},
                      IntervalCase{"1 2", false, 0, kNotANumber},
                      IntervalCase{"１２", false, 0, kNotANumber}));

TEST(IntervalField, RangeMessageNamesTheBounds)
{
    EXPECT_EQ(IntervalField::RangeMessage(1, 9), QStringLiteral("1 から 9 までの整数を入力してください。"));
    EXPECT_EQ(IntervalField::Parse(QStringLiteral("0"), 1, 9).message,
              QStringLiteral("1 から 9 までの整数を入力してください。"));
}

// --- dialog lists ---------------------------------------------------------------------

TEST(DialogList, NewestEntryIsShownOnTop)
{
    DialogList list({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_TRUE(list.Add(QStringLiteral("c")));
    EXPECT_EQ(list.Entries(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(list.Rows(), (QStringList{"c", "b", "a"}));
}

TEST(DialogList, RepeatsIgnoringAsciiCaseAreRefused)
{
    DialogList list({QStringLiteral("Public")});
    EXPECT_FALSE(list.Add(QStringLiteral("PUBLIC")));
    EXPECT_FALSE(list.Add(QStringLiteral("public")));
    EXPECT_FALSE(list.Add(QString()));
    EXPECT_TRUE(list.Add(QStringLiteral("ｐublic")));
    EXPECT_TRUE(list.Add(QStringLiteral("publiç")));
    EXPECT_EQ(list.Entries().size(), 3);
}

TEST(DialogList, RemovingARowKeepsTheOtherEntriesInOrder)
{
    DialogList list({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_TRUE(list.RemoveRow(1)); // "b", shown in the middle
    EXPECT_EQ(list.Entries(), (QStringList{"a", "c"}));
    EXPECT_TRUE(list.RemoveRow(0)); // "c", shown on top
    EXPECT_EQ(list.Entries(), QStringList{"a"});
    EXPECT_FALSE(list.RemoveRow(-1));
    EXPECT_FALSE(list.RemoveRow(1));
    EXPECT_EQ(list.Entries(), QStringList{"a"});
}

// --- registry values --------------------------------------------------------------------

class SurveySettingsStore : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(store.filePath()); }

    QStringList storedList(const QString& subKey) const { return store.readCountedList(subKey); }

    SettingsStore store{TestFiles::scratchPath("survey-settings.ini")};
};

TEST_F(SurveySettingsStore, NothingStoredGivesTheStartValues)
{
    SurveySettings settings;
    settings.LoadAtStart(store);
    settings.LoadProvisionedAccount(store);
    EXPECT_TRUE(settings.CommunityList.isEmpty());
    EXPECT_TRUE(settings.NetPrinterList.isEmpty());
    EXPECT_EQ(settings.DefaultGatewaySetting, QString());
    EXPECT_EQ(settings.SnmpSurveyFlag, 1u);
    EXPECT_EQ(settings.GatewayShape, SurveySettings::kShapeAutomatic);
    EXPECT_EQ(settings.ProvisionedAccount, QString());
    EXPECT_EQ(settings.ProvisionedPassword, QString());
}

TEST_F(SurveySettingsStore, ListsReadBackReversed)
{
    store.writeCountedList(SurveySettings::kCommunityKey, {"a", "b"});
    store.writeCountedList(SurveySettings::kNetPrinterKey, {"10.0.0.1", "10.0.0.2", "10.0.0.3"});
    SurveySettings settings;
    settings.LoadAtStart(store);
    EXPECT_EQ(settings.CommunityList, (QStringList{"b", "a"}));
    EXPECT_EQ(settings.NetPrinterList, (QStringList{"10.0.0.3", "10.0.0.2", "10.0.0.1"}));

    SurveySettings::WriteList(store, SurveySettings::kCommunityKey, settings.CommunityList);
    QString value;
    ASSERT_TRUE(store.readString(QStringLiteral("NetRes\\COMMUNITY"), QStringLiteral("0"), value));
    EXPECT_EQ(value, "b");
    ASSERT_TRUE(store.readString(QStringLiteral("NetRes\\COMMUNITY"), QStringLiteral("1"), value));
    EXPECT_EQ(value, "a");
    quint32 count = 0;
    ASSERT_TRUE(store.readDword(QStringLiteral("NetRes\\COMMUNITY"), QStringLiteral("COUNT"), count));
    EXPECT_EQ(count, 2u);
}

TEST_F(SurveySettingsStore, ListReadingStopsAtAGap)
{
    store.writeDword(SurveySettings::kCommunityKey, QStringLiteral("COUNT"), 3);
    store.writeString(SurveySettings::kCommunityKey, QStringLiteral("0"), QStringLiteral("x"));
    store.writeString(SurveySettings::kCommunityKey, QStringLiteral("1"), QStringLiteral("y"));
    store.writeString(SurveySettings::kCommunityKey, QStringLiteral("3"), QStringLiteral("z"));
    EXPECT_EQ(SurveySettings::ReadList(store, SurveySettings::kCommunityKey), (QStringList{"y", "x"}));
}

TEST_F(SurveySettingsStore, EmptyListRemovesTheKey)
{
    SurveySettings::WriteList(store, SurveySettings::kNetPrinterKey, {"10.0.0.1"});
    SurveySettings::WriteList(store, SurveySettings::kNetPrinterKey, {});
    quint32 count = 7;
    EXPECT_FALSE(store.readDword(SurveySettings::kNetPrinterKey, QStringLiteral("COUNT"), count));
    EXPECT_TRUE(storedList(SurveySettings::kNetPrinterKey).isEmpty());
}

TEST_F(SurveySettingsStore, GatewayAndShapeAreLoaded)
{
    store.writeString(QStringLiteral("NetRes"), QStringLiteral("DefaultGate"), QStringLiteral("10.1.1.1"));
    store.writeDword(QStringLiteral("NetRes"), QStringLiteral("DGW_Shape"), 0);
    store.writeDword(QStringLiteral("NetRes"), QStringLiteral("SNMP"), 0);
    SurveySettings settings;
    settings.LoadAtStart(store);
    EXPECT_EQ(settings.DefaultGatewaySetting, "10.1.1.1");
    EXPECT_EQ(settings.GatewayShape, SurveySettings::kShapeRouter);
    // SNMP is never read back.
    EXPECT_EQ(settings.SnmpSurveyFlag, 1u);
}

struct ShapeCase {
    quint32 stored;
    quint32 loaded;
};

class StoredShapes : public SurveySettingsStore, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(StoredShapes, UnknownShapeIsIgnored)
{
    store.writeDword(QStringLiteral("NetRes"), QStringLiteral("DGW_Shape"), GetParam().stored);
    SurveySettings settings;
    settings.LoadAtStart(store);
    EXPECT_EQ(settings.GatewayShape, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredShapes,
                         ::testing::Values(ShapeCase{0, 0}, ShapeCase{1, 1}, ShapeCase{2, 2},
                                           ShapeCase{3, 2}, ShapeCase{0xFFFFFFFF, 2}));

TEST_F(SurveySettingsStore, WrongValueTypesLeaveTheStartValues)
{
    store.writeDword(QStringLiteral("NetRes"), QStringLiteral("DefaultGate"), 5);
    store.writeString(QStringLiteral("NetRes"), QStringLiteral("DGW_Shape"), QStringLiteral("1"));
    SurveySettings settings;
    settings.DefaultGatewaySetting = QStringLiteral("kept");
    settings.LoadAtStart(store);
    EXPECT_EQ(settings.DefaultGatewaySetting, "kept");
    EXPECT_EQ(settings.GatewayShape, SurveySettings::kShapeAutomatic);
}

struct AccountCase {
    const char* label;
    bool hasAccount;
    bool hasNumber;
    const char* account;
    const char* password;

    friend void PrintTo(const AccountCase& c, std::ostream* os) { *os << c.label; }
};

class ProvisionedAccounts : public SurveySettingsStore,
                            public ::testing::WithParamInterface<AccountCase> {};

TEST_P(ProvisionedAccounts, TakenOnlyTogether)
{
    const AccountCase& c = GetParam();
    if (c.hasAccount)
        store.writeString(QStringLiteral("ENV_SET\\RESEARCH"), QStringLiteral("ACCOUNT"),
                          QStringLiteral("wmi-collector"));
    if (c.hasNumber)
        store.writeDword(QStringLiteral("ENV_SET\\RESEARCH"), QStringLiteral("ACCOUNT_B"), 123456789);
    SurveySettings settings;
    settings.ProvisionedAccount = QStringLiteral("before");
    settings.ProvisionedPassword = QStringLiteral("old");
    settings.LoadProvisionedAccount(store);
    EXPECT_EQ(settings.ProvisionedAccount, QString::fromUtf8(c.account));
    EXPECT_EQ(settings.ProvisionedPassword, QString::fromUtf8(c.password));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProvisionedAccounts,
    ::testing::Values(AccountCase{"both", true, true, "wmi-collector", "353c3u"},
                      AccountCase{"account only", true, false, "before", "old"},
                      AccountCase{"number only", false, true, "before", "old"},
                      AccountCase{"neither", false, false, "before", "old"}));

TEST_F(SurveySettingsStore, ConfirmedValuesAreWrittenAndKept)
{
    SurveySettings settings;
    settings.SaveConfirmed(store, {"10.0.0.7"}, {"public", "private"}, QStringLiteral("10.0.0.1"),
                           false, SurveySettings::kShapeServer);
    EXPECT_EQ(settings.NetPrinterList, QStringList{"10.0.0.7"});
    EXPECT_EQ(settings.CommunityList, (QStringList{"public", "private"}));
    EXPECT_EQ(settings.DefaultGatewaySetting, "10.0.0.1");
    EXPECT_EQ(settings.SnmpSurveyFlag, 0u);
    EXPECT_EQ(settings.GatewayShape, SurveySettings::kShapeServer);

    EXPECT_EQ(storedList(SurveySettings::kNetPrinterKey), QStringList{"10.0.0.7"});
    EXPECT_EQ(storedList(SurveySettings::kCommunityKey), (QStringList{"public", "private"}));
    QString gateway;
    quint32 snmp = 9;
    quint32 shape = 9;
    EXPECT_TRUE(store.readString(QStringLiteral("NetRes"), QStringLiteral("DefaultGate"), gateway));
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("SNMP"), snmp));
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("DGW_Shape"), shape));
    EXPECT_EQ(gateway, "10.0.0.1");
    EXPECT_EQ(snmp, 0u);
    EXPECT_EQ(shape, 1u);

    settings.SaveConfirmed(store, {}, {}, QString(), true, SurveySettings::kShapeAutomatic);
    EXPECT_TRUE(store.readString(QStringLiteral("NetRes"), QStringLiteral("DefaultGate"), gateway));
    EXPECT_EQ(gateway, QString());
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("SNMP"), snmp));
    EXPECT_EQ(snmp, 1u);
    EXPECT_TRUE(storedList(SurveySettings::kCommunityKey).isEmpty());
}

TEST_F(SurveySettingsStore, SurveyOptionsWriteThreeValuesOnly)
{
    SurveySettings::SaveSurveyOptions(store, true, false, 1);
    SurveySettings::SaveSurveyOptions(store, false, true, 0);
    quint32 value = 9;
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("Ping"), value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("Wmi"), value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("Proxy"), value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("Err"), value));
    EXPECT_FALSE(store.readDword(QStringLiteral("NetRes"), QStringLiteral("ThreadStart"), value));
}

TEST(SurveySettings, KeysAndMessage)
{
    EXPECT_EQ(SurveySettings::kSurveyKey, QStringLiteral("NetRes"));
    EXPECT_EQ(SurveySettings::kCommunityKey, QStringLiteral("NetRes\\COMMUNITY"));
    EXPECT_EQ(SurveySettings::kNetPrinterKey, QStringLiteral("NetRes\\NET_PRINTER"));
    EXPECT_EQ(SurveySettings::kResearchKey, QStringLiteral("ENV_SET\\RESEARCH"));
    EXPECT_EQ(SurveySettings::WmiUnavailableMessage(),
              QStringLiteral("現在お使いのOSは、OSの規定によりWMI調査ができません。\n"
                             "　NetBIOS調査に切り替えます。"));
}

} // namespace
