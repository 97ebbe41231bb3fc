#include "DialogList.h"

#include "objects/AsciiText.h"

#include <algorithm>

DialogList::DialogList(QStringList entries)
    : m_astrEntries(std::move(entries))
{
}

QStringList DialogList::Rows() const
{
    QStringList rows = m_astrEntries;
    std::reverse(rows.begin(), rows.end());
    return rows;
}

bool DialogList::Add(const QString& entry)
{
    if (entry.isEmpty())
        return false;
    const auto same = [&](const QString& e) { return AsciiText::equalsIgnoringCase(e, entry); };
    const bool listed = std::any_of(m_astrEntries.begin(), m_astrEntries.end(), same);
    if (listed)
        return false;
    m_astrEntries.append(entry);
    return true;
}

bool DialogList::RemoveRow(int row)
{
    if (row < 0 || row >= m_astrEntries.size())
        return false;
    m_astrEntries.removeAt(m_astrEntries.size() - 1 - row);
    return true;
}
