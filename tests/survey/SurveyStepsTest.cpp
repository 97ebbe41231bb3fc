#include "survey/DiscoveryServiceCheck.h"
#include "survey/SurveyProgress.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Check = DiscoveryServiceCheck;
using Probe = Check::Probe;

constexpr Probe kAutomatic{Check::kQueryConfig, 122, true};
constexpr Probe kManual{Check::kQueryConfig, 122, false};

struct DiagnosticCase {
    Probe probe;
    const char* text;
};

class Diagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(Diagnostics, TextByStageAndError)
{
    EXPECT_EQ(Check::DiagnosticText(QStringLiteral("fdPHost"), GetParam().probe),
              QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Diagnostics,
    ::testing::Values(
        DiagnosticCase{kManual, "fdPHostサービスは自動起動になってません。"},
        DiagnosticCase{kAutomatic, ""},
        DiagnosticCase{{Check::kOpenService, 123, false},
                       "OpenService->ERROR_INVALID_NAME 指定されたサービス名は無効です。 "},
        DiagnosticCase{{Check::kOpenService, 1060, false},
                       "OpenService->ERROR_SERVICE_DOES_NOT_EXIST 指定されたサービスは存在しません。 "},
        DiagnosticCase{{Check::kOpenService, 5, false},
                       "OpenService->ERROR_ACCESS_DENIED ハンドルはサービスにアクセスできません。"},
        DiagnosticCase{{Check::kOpenService, 6, false},
                       "OpenService->ERROR_INVALID_HANDLE 指定されたハンドルは無効です。 "},
        DiagnosticCase{{Check::kQueryConfig, 0, false},
                       "QueryServiceConfig->NO_ERROR return_status 有効。"},
        DiagnosticCase{{Check::kQueryConfig, 5, false},
                       "QueryServiceConfig->ERROR_ACCESS_DENIED "
                       "ハンドルにはSERVICE_QUERY_CONFIGアクセス権がありません。 "},
        DiagnosticCase{{Check::kQueryConfig, 6, false},
                       "QueryServiceConfig->ERROR_INVALID_HANDLE 指定されたハンドルは無効です。"},
        DiagnosticCase{{Check::kOpenService, 122, false}, ""},
        DiagnosticCase{{Check::kQueryConfig, 1060, false}, ""},
        DiagnosticCase{{Check::kOpenManager, 5, false}, ""},
        DiagnosticCase{{Check::kNoFailure, 0, true}, ""}));

struct VerdictCase {
    const char* label;
    Probe host;
    Probe publication;
    bool holds;
    const char* message;
    bool help;
    int probes;

    friend void PrintTo(const VerdictCase& c, std::ostream* os) { *os << c.label; }
};

class Verdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdicts, BothServicesMustStartAutomatically)
{
    const VerdictCase& c = GetParam();
    QStringList asked;
    const Check::Verdict v = Check::Decide([&](const QString& service) {
        asked.append(service);
        return service == QStringLiteral("fdPHost") ? c.host : c.publication;
    });
    EXPECT_EQ(v.holds, c.holds);
    EXPECT_EQ(v.message, QString::fromUtf8(c.message));
    EXPECT_EQ(v.openHelpPage, c.help);
    ASSERT_EQ(asked.size(), c.probes);
    EXPECT_EQ(asked.first(), QStringLiteral("fdPHost"));
    if (c.probes == 2) {
        EXPECT_EQ(asked.last(), QStringLiteral("FDResPub"));
    }
}

const char* const kDenied =
    "OpenSCManager 要求されたアクセスは拒否されました。ログインにadministrator権限をお使いください。";

INSTANTIATE_TEST_SUITE_P(
    Services, Verdicts,
    ::testing::Values(
        VerdictCase{"both automatic", kAutomatic, kAutomatic, true, "", false, 2},
        VerdictCase{"host manual", kManual, kAutomatic, false,
                    "fdPHostサービスは自動起動になってません。", true, 1},
        VerdictCase{"publication manual", kAutomatic, kManual, false,
                    "FDResPubサービスは自動起動になってません。", true, 2},
        VerdictCase{"manager denied", {Check::kOpenManager, 5, false}, kAutomatic, false, kDenied,
                    false, 1},
        VerdictCase{"manager denied second", kAutomatic, {Check::kOpenManager, 5, false}, false,
                    kDenied, false, 2},
        VerdictCase{"missing service", kAutomatic, {Check::kOpenService, 1060, false}, false,
                    "OpenService->ERROR_SERVICE_DOES_NOT_EXIST 指定されたサービスは存在しません。 ",
                    false, 2},
        VerdictCase{"query denied", {Check::kQueryConfig, 5, false}, kAutomatic, false,
                    "QueryServiceConfig->ERROR_ACCESS_DENIED "
                    "ハンドルにはSERVICE_QUERY_CONFIGアクセス権がありません。 ",
                    true, 1}));

TEST(DiscoveryServiceCheck, NamesOfServicesAndHelpPage)
{
    EXPECT_EQ(Check::kFunctionDiscoveryHost, QStringLiteral("fdPHost"));
    EXPECT_EQ(Check::kResourcePublication, QStringLiteral("FDResPub"));
    EXPECT_EQ(Check::kHelpPage, QStringLiteral("vx_set_infra.aspx"));
}

// --- progress ------------------------------------------------------------------

TEST(SurveyProgress, ThreeHostsStartAtFourOfFour)
{
    SurveyProgress progress(3);
    EXPECT_EQ(progress.RangeMaximum(), 5);
    EXPECT_EQ(progress.LastRemaining(), 5);
    EXPECT_EQ(progress.Report(3, 4), QStringLiteral("4 台中、残り 4 台です。"));
    EXPECT_EQ(progress.Steps(), 1);
    EXPECT_EQ(progress.LastRemaining(), 4);
}

TEST(SurveyProgress, StepsOnlyWhenFewerRemain)
{
    SurveyProgress progress(2);
    ASSERT_TRUE(progress.Report(2, 3).has_value());
    EXPECT_FALSE(progress.Report(2, 3).has_value());
    EXPECT_FALSE(progress.Report(2, 4).has_value());
    EXPECT_EQ(progress.Report(2, 1), QStringLiteral("3 台中、残り 1 台です。"));
    EXPECT_EQ(progress.Report(2, 0), QStringLiteral("3 台中、残り 0 台です。"));
    EXPECT_FALSE(progress.Report(2, 0).has_value());
    EXPECT_EQ(progress.Steps(), 3);
}

TEST(SurveyProgress, FixedTexts)
{
    EXPECT_EQ(SurveyProgress::GatewayStartMessage(), QStringLiteral("デフォルトゲート設定を調査中です。"));
    EXPECT_EQ(SurveyProgress::CountText(11, 10), QStringLiteral("11 台中、残り 10 台です。"));
    EXPECT_EQ(SurveyProgress::ThreadEndMessage(QString()),
              QStringLiteral("デフォルトゲートの調査を終了します。"));
    EXPECT_EQ(SurveyProgress::ThreadEndMessage(QStringLiteral("\\\\PC1")),
              QStringLiteral("\\\\PC1の調査を終了します。"));
}

} // namespace
