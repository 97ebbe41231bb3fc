#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// Hands the survey threads' progress texts to the user-interface thread. A
// thread waits until its text has been taken, so the window never falls
// behind the survey; a thread whose results are no longer wanted, or whose
// window is gone, stops waiting and its text is dropped. The receiver never
// blocks, so stopping a survey cannot deadlock on a waiting thread.
class SurveyReportChannel {
public:
    // Called, from the sending thread, when texts start waiting; the
    // receiver should then call Take on its own thread.
    using Notify = std::function<void()>;

    explicit SurveyReportChannel(Notify notify);

    // Returns whether the text was taken.
    bool Deliver(const QString& text, const std::atomic<bool>& wanted);
    QStringList Take();

    void Open();
    // Drops waiting texts and refuses new ones.
    void Close();
    // Senders whose texts are no longer wanted stop waiting.
    void WakeAll();

private:
    struct Entry {
        quint64 sequence;
        QString text;
    };

    Notify m_notify;
    std::mutex m_mutex;
    std::condition_variable m_taken;
    std::deque<Entry> m_waiting;
    quint64 m_nLastSequence = 0;
    quint64 m_nTakenUpTo = 0;
    bool m_bOpen = false;
};
