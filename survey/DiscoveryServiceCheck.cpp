#include "DiscoveryServiceCheck.h"

namespace {

constexpr quint32 kErrorSuccess = 0;
constexpr quint32 kErrorAccessDenied = 5;
constexpr quint32 kErrorInvalidHandle = 6;
constexpr quint32 kErrorInsufficientBuffer = 122;
constexpr quint32 kErrorInvalidName = 123;
constexpr quint32 kErrorServiceDoesNotExist = 1060;

const QString kManagerDenied = QStringLiteral(
    "OpenSCManager 要求されたアクセスは拒否されました。ログインにadministrator権限をお使いください。");

} // namespace

const QString DiscoveryServiceCheck::kFunctionDiscoveryHost = QStringLiteral("fdPHost");
const QString DiscoveryServiceCheck::kResourcePublication = QStringLiteral("FDResPub");
const QString DiscoveryServiceCheck::kHelpPage = QStringLiteral("vx_set_infra.aspx");

DiscoveryServiceCheck::Verdict DiscoveryServiceCheck::Decide(const Prober& probe)
{
    for (const QString& service : {kFunctionDiscoveryHost, kResourcePublication}) {
        const Probe answer = probe(service);
        if (answer.failedStage == kOpenManager)
            return {false, kManagerDenied, false};
        if (answer.failedStage == kOpenService)
            return {false, DiagnosticText(service, answer), false};
        if (!answer.automatic)
            return {false, DiagnosticText(service, answer), true};
    }
    return {true, QString(), false};
}

QString DiscoveryServiceCheck::DiagnosticText(const QString& service, const Probe& probe)
{
    switch (probe.failedStage) {
    case kOpenService:
        return OpenServiceText(probe.error);
    case kQueryConfig:
        return QueryConfigText(service, probe);
    default:
        return {};
    }
}

QString DiscoveryServiceCheck::OpenServiceText(quint32 error)
{
    switch (error) {
    case kErrorInvalidName:
        return QStringLiteral("OpenService->ERROR_INVALID_NAME 指定されたサービス名は無効です。 ");
    case kErrorServiceDoesNotExist:
        return QStringLiteral(
            "OpenService->ERROR_SERVICE_DOES_NOT_EXIST 指定されたサービスは存在しません。 ");
    case kErrorAccessDenied:
        return QStringLiteral(
            "OpenService->ERROR_ACCESS_DENIED ハンドルはサービスにアクセスできません。");
    case kErrorInvalidHandle:
        return QStringLiteral("OpenService->ERROR_INVALID_HANDLE 指定されたハンドルは無効です。 ");
    default:
        return {};
    }
}

QString DiscoveryServiceCheck::QueryConfigText(const QString& service, const Probe& probe)
{
    switch (probe.error) {
    case kErrorInsufficientBuffer:
        return probe.automatic ? QString() : service + QStringLiteral("サービスは自動起動になってません。");
    case kErrorSuccess:
        return QStringLiteral("QueryServiceConfig->NO_ERROR return_status 有効。");
    case kErrorAccessDenied:
        return QStringLiteral("QueryServiceConfig->ERROR_ACCESS_DENIED "
                              "ハンドルにはSERVICE_QUERY_CONFIGアクセス権がありません。 ");
    case kErrorInvalidHandle:
        return QStringLiteral("QueryServiceConfig->ERROR_INVALID_HANDLE 指定されたハンドルは無効です。");
    default:
        return {};
    }
}
