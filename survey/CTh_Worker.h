#pragma once

#include <QString>
#include <QThread>

#include <atomic>

class CDrawSys;
class NetworkSurvey;

// One survey thread. It runs DoSurvey once and then the end protocol of its
// survey. While its map mode is on its results are wanted and its reports
// reach the progress window; a stop clears it, after which the thread
// finishes quietly as soon as it can.
class CTh_Worker : public QThread {
public:
    // glibc's name service needs far more stack than a bare thread would.
    static constexpr uint kStackSize = 256 * 1024;

    // system is the object this thread fills, none for the gateway thread.
    CTh_Worker(NetworkSurvey& survey, CDrawSys* system, const QString& name);

    bool InMapMode() const { return m_bMapMode; }
    void ClearMapMode() { m_bMapMode = false; }
    // The host name; empty for the gateway thread. Only the thread itself
    // changes it, while it runs.
    const QString& Name() const { return m_strName; }

protected:
    void run() final;
    virtual void DoSurvey();
    virtual void ReleaseResults();
    // Waits until the progress window has the text; dropped when the
    // results are no longer wanted.
    void Report(const QString& text);

    NetworkSurvey& m_survey;
    CDrawSys* const m_pSystem;
    QString m_strName;
    std::atomic<bool> m_bMapMode = true;

private:
    friend class NetworkSurvey;
};
