#pragma once

#include "survey/SurveyFrontEnd.h"

#include <QStringList>

#include <functional>

// Writes down everything a survey shows, in order, one entry per call:
// "message:<text>", "count:<text>", "header:<text>", "step", "bar:<max>",
// "open", "close", "show:<text>", "help:<page>", "beep:<hz>/<ms>",
// "surveying:<0|1>".
class RecordingFrontEnd final : public SurveyFrontEnd {
public:
    QStringList calls;
    // Called after each progress message, to act in the middle of a survey.
    std::function<void(const QString&)> onMessage;

    QStringList Matching(const QString& prefix) const
    {
        QStringList found;
        for (const QString& call : calls)
            if (call.startsWith(prefix))
                found.append(call.mid(prefix.size()));
        return found;
    }

    void ShowMessage(const QString& text) override { calls.append("show:" + text); }
    void OpenHelpPage(const QString& page) override { calls.append("help:" + page); }
    void Beep(int hz, int ms) override { calls.append(QStringLiteral("beep:%1/%2").arg(hz).arg(ms)); }
    void SetSurveying(bool on) override { calls.append(QStringLiteral("surveying:%1").arg(on)); }
    void RepaintMap() override {}
    void OpenProgressWindow() override { calls.append("open"); }
    void CloseProgressWindow() override { calls.append("close"); }
    void SetProgressHeader(const QString& text) override { calls.append("header:" + text); }
    void SetProgressCount(const QString& text) override { calls.append("count:" + text); }
    void SetProgressMessage(const QString& text) override
    {
        calls.append("message:" + text);
        if (onMessage)
            onMessage(text);
    }
    void InitProgressBar(int maximum) override { calls.append(QStringLiteral("bar:%1").arg(maximum)); }
    void StepProgressBar() override { calls.append("step"); }
};
