#pragma once

#include <QString>

#include <optional>

// The counting side of the survey's progress window: the bar's range, the
// "n of m" text and when the bar steps. A window shows what this decides.
class SurveyProgress {
public:
    // The range holds a step per host, one for the gateway thread and one
    // for the launch itself; no count has been shown yet.
    explicit SurveyProgress(int hostCount = 0);

    int RangeMaximum() const { return m_nRangeMaximum; }
    int LastRemaining() const { return m_nLastRemaining; }
    int Steps() const { return m_nSteps; }

    // Called with the survey's host total and the threads still running.
    // When fewer remain than last shown, the bar steps once and the new count
    // text is returned; otherwise the count text stays as it is.
    std::optional<QString> Report(int hostTotal, int remaining);

    // The first report, made before any thread runs.
    static QString GatewayStartMessage();
    static QString CountText(int total, int remaining);
    // What a thread reports as its last act; the gateway thread has no name.
    static QString ThreadEndMessage(const QString& threadName);

private:
    int m_nRangeMaximum;
    int m_nLastRemaining;
    int m_nSteps = 0;
};
