#include "SurveyReportChannel.h"

#include <algorithm>

SurveyReportChannel::SurveyReportChannel(Notify notify)
    : m_notify(std::move(notify))
{
}

bool SurveyReportChannel::Deliver(const QString& text, const std::atomic<bool>& wanted)
{
    std::unique_lock lock(m_mutex);
    if (!m_bOpen || !wanted)
        return false;
    const quint64 sequence = ++m_nLastSequence;
    const bool first = m_waiting.empty();
    m_waiting.push_back({sequence, text});
    if (first)
        m_notify();
    m_taken.wait(lock, [&] { return m_nTakenUpTo >= sequence || !m_bOpen || !wanted; });
    if (m_nTakenUpTo >= sequence)
        return true;
    std::erase_if(m_waiting, [sequence](const Entry& entry) { return entry.sequence == sequence; });
    return false;
}

QStringList SurveyReportChannel::Take()
{
    QStringList texts;
    {
        const std::lock_guard lock(m_mutex);
        for (Entry& entry : m_waiting) {
            texts.append(std::move(entry.text));
            m_nTakenUpTo = std::max(m_nTakenUpTo, entry.sequence);
        }
        m_waiting.clear();
    }
    m_taken.notify_all();
    return texts;
}

void SurveyReportChannel::Open()
{
    const std::lock_guard lock(m_mutex);
    m_bOpen = true;
}

void SurveyReportChannel::Close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bOpen = false;
        m_waiting.clear();
    }
    m_taken.notify_all();
}

void SurveyReportChannel::WakeAll()
{
    {
        const std::lock_guard lock(m_mutex);
    }
    m_taken.notify_all();
}
