#pragma once

#include "listview/CLVObj.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

// The device list's table: the visible master columns, and the hosts (and
// in multi-line mode their detail lines) as the list shows them. Read-only.
class DeviceListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static const QString kNoMacPlaceholder; // "No-Ad-"

    explicit DeviceListModel(QObject* parent = nullptr);

    void SetRows(std::vector<CLVObj> rows);
    // The master columns and the hidden ones (compared ignoring ASCII case).
    void SetColumns(const QStringList& masterColumns, const QStringList& hiddenColumns);
    // Puts the visible columns and the rows in the list: hosts in the
    // reverse of their order, each followed by its detail lines unless
    // oneLine; lines whose shown cells are all empty are left out.
    void Fill(bool oneLine);
    // A last column "変化" with what changed about each host since an
    // earlier map, by its name; an empty function takes the column away.
    using ChangeText = std::function<QString(const QString& fqdn)>;
    void SetChangeColumn(ChangeText changeText);
    static const QString kChangeHeader;
    // Expands a host's detail lines below it, or collapses them.
    void ToggleDetails(int row);
    // Stable sort by the text of a displayed column, code unit by code unit.
    void SortByColumn(int column, Qt::SortOrder order);
    // Drops the displayed columns in which no line has text.
    int DeleteEmptyColumns();
    bool HasEmptyColumn() const;

    QString Text(int row, int column) const;
    int MasterColumn(int column) const { return m_columns.at(column); }
    const std::vector<CLVObj>& Hosts() const { return m_hosts; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Line {
        const CLVObj* cells;
        bool detail;
    };

    QString CellText(const CLVObj& cells, int column) const;
    bool IsEmptyLine(const CLVObj& cells) const;
    void AppendHost(QList<Line>& lines, const CLVObj& host, bool withDetails) const;

    // Stands in the displayed columns for the change column.
    static constexpr int kChangeColumn = -1;

    std::vector<CLVObj> m_hosts;
    ChangeText m_changeText;
    QStringList m_names; // master names
    QList<int> m_columns; // displayed column to master index
    QList<Line> m_lines;
};
