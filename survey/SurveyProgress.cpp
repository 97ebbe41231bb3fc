#include "SurveyProgress.h"

SurveyProgress::SurveyProgress(int hostCount)
    : m_nRangeMaximum(hostCount + 2)
    , m_nLastRemaining(hostCount + 2)
{
}

std::optional<QString> SurveyProgress::Report(int hostTotal, int remaining)
{
    if (remaining >= m_nLastRemaining)
        return std::nullopt;
    m_nLastRemaining = remaining;
    ++m_nSteps;
    return CountText(hostTotal + 1, remaining);
}

QString SurveyProgress::GatewayStartMessage()
{
    return QStringLiteral("デフォルトゲート設定を調査中です。");
}

QString SurveyProgress::CountText(int total, int remaining)
{
    return QStringLiteral("%1 台中、残り %2 台です。").arg(total).arg(remaining);
}

QString SurveyProgress::ThreadEndMessage(const QString& threadName)
{
    const QString name = threadName.isEmpty() ? QStringLiteral("デフォルトゲート") : threadName;
    return name + QStringLiteral("の調査を終了します。");
}
