#pragma once

#include "document/NativeThread.h"

#include <QString>

#include <atomic>

class CDrawSys;
class NetworkSurvey;

// One survey thread. It runs DoSurvey once and then the end protocol of its
// survey. While its map mode is on its results are wanted and its reports
// reach the progress window; a stop clears it, after which the thread
// finishes quietly as soon as it can.
class CTh_Worker {
public:
    // glibc's name service needs far more stack than a bare thread would.
    static constexpr std::size_t kStackSize = 256 * 1024;

    // system is the object this thread fills, none for the gateway thread.
    CTh_Worker(NetworkSurvey& survey, CDrawSys* system, const QString& name);
    virtual ~CTh_Worker() = default;

    CTh_Worker(const CTh_Worker&) = delete;
    CTh_Worker& operator=(const CTh_Worker&) = delete;

    // False when the system could not create the thread.
    bool Start() { return m_thread.Start(); }
    void Join() { m_thread.Join(); }

    // Set once by the survey before the thread starts.
    void SetId(quint64 id) { m_nId = id; }
    quint64 Id() const { return m_nId; }

    bool InMapMode() const { return m_bMapMode; }
    void ClearMapMode() { m_bMapMode = false; }
    // The host name; empty for the gateway thread. Only the thread itself
    // changes it, while it runs.
    const QString& Name() const { return m_strName; }
    // Waits until the progress window has the text; dropped when the
    // results are no longer wanted.
    void Report(const QString& text);

protected:
    virtual void DoSurvey();
    virtual void ReleaseResults();

    NetworkSurvey& m_survey;
    CDrawSys* const m_pSystem;
    QString m_strName;
    std::atomic<bool> m_bMapMode = true;

private:
    void Run();

    quint64 m_nId = 0;
    // Joined by the survey before the worker is destroyed.
    NativeThread m_thread;
};
