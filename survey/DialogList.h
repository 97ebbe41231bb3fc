#pragma once

#include <QString>
#include <QStringList>

// A list the settings dialog edits: entries are appended to the list but
// shown newest first, so the list box rows are the entries in reverse.
class DialogList {
public:
    explicit DialogList(QStringList entries = {});

    const QStringList& Entries() const { return m_astrEntries; }
    QStringList Rows() const;

    // Appends the entry unless it is empty or already listed, ignoring the
    // case of ASCII letters. Returns whether it was added.
    bool Add(const QString& entry);
    // Removes the entry shown in that list-box row; a row outside the list
    // (no selection) changes nothing. The other entries keep their order.
    bool RemoveRow(int row);

private:
    QStringList m_astrEntries;
};
