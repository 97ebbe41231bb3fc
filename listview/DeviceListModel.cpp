#include "DeviceListModel.h"

#include "objects/AsciiText.h"

#include <QColor>
#include <QTextDocument>

#include <algorithm>

const QString DeviceListModel::kNoMacPlaceholder = QStringLiteral("No-Ad-");
const QString DeviceListModel::kChangeHeader = QStringLiteral("変化");

namespace {

const QColor kCellBackground(255, 255, 230);

} // namespace

DeviceListModel::DeviceListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void DeviceListModel::SetRows(std::vector<CLVObj> rows)
{
    beginResetModel();
    m_lines.clear();
    m_hosts = std::move(rows);
    endResetModel();
}

void DeviceListModel::SetColumns(const QStringList& masterColumns, const QStringList& hiddenColumns)
{
    beginResetModel();
    m_names = masterColumns;
    m_columns.clear();
    QStringList hidden;
    for (const QString& name : hiddenColumns)
        hidden.append(AsciiText::lowered(name));
    for (int i = 0; i < m_names.size(); ++i)
        if (!hidden.contains(AsciiText::lowered(m_names.at(i))))
            m_columns.append(i);
    if (m_changeText)
        m_columns.append(kChangeColumn);
    m_lines.clear();
    endResetModel();
}

void DeviceListModel::SetChangeColumn(ChangeText changeText)
{
    beginResetModel();
    m_columns.removeAll(kChangeColumn);
    m_changeText = std::move(changeText);
    if (m_changeText)
        m_columns.append(kChangeColumn);
    endResetModel();
}

void DeviceListModel::Fill(bool oneLine)
{
    beginResetModel();
    m_lines.clear();
    for (auto host = m_hosts.crbegin(); host != m_hosts.crend(); ++host)
        AppendHost(m_lines, *host, !oneLine);
    endResetModel();
}

void DeviceListModel::AppendHost(QList<Line>& lines, const CLVObj& host, bool withDetails) const
{
    if (!IsEmptyLine(host))
        lines.append({&host, false});
    if (!withDetails)
        return;
    for (const CLVObj& detail : host.m_children)
        if (!IsEmptyLine(detail))
            lines.append({&detail, true});
}

void DeviceListModel::ToggleDetails(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    // Shown expanded when the next line's first cell is empty: collapse.
    int end = row + 1;
    while (end < m_lines.size() && Text(end, 0).isEmpty())
        ++end;
    if (end > row + 1) {
        beginRemoveRows({}, row + 1, end - 1);
        m_lines.remove(row + 1, end - row - 1);
        endRemoveRows();
        return;
    }
    const QString first = Text(row, 0);
    const auto host = std::find_if(m_hosts.cbegin(), m_hosts.cend(), [&first](const CLVObj& candidate) {
        return AsciiText::equalsIgnoringCase(candidate.Cell(0), first);
    });
    if (host == m_hosts.cend())
        return;
    QList<Line> details;
    for (const CLVObj& detail : host->m_children)
        if (!IsEmptyLine(detail))
            details.append({&detail, true});
    if (details.isEmpty())
        return;
    beginInsertRows({}, row + 1, row + int(details.size()));
    for (qsizetype i = 0; i < details.size(); ++i)
        m_lines.insert(row + 1 + i, details.at(i));
    endInsertRows();
}

void DeviceListModel::SortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(m_lines.begin(), m_lines.end(), [&](const Line& a, const Line& b) {
        const int compared = CellText(*a.cells, column).compare(CellText(*b.cells, column), Qt::CaseSensitive);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int DeviceListModel::DeleteEmptyColumns()
{
    int deleted = 0;
    for (int column = int(m_columns.size()) - 1; column >= 0; --column) {
        const bool empty = std::none_of(m_lines.cbegin(), m_lines.cend(), [&](const Line& line) {
            return !CellText(*line.cells, column).isEmpty();
        });
        if (!empty)
            continue;
        beginRemoveColumns({}, column, column);
        m_columns.removeAt(column);
        endRemoveColumns();
        ++deleted;
    }
    return deleted;
}

bool DeviceListModel::HasEmptyColumn() const
{
    for (int column = 0; column < m_columns.size(); ++column)
        if (std::none_of(m_lines.cbegin(), m_lines.cend(),
                         [&](const Line& line) { return !CellText(*line.cells, column).isEmpty(); }))
            return true;
    return false;
}

QString DeviceListModel::Text(int row, int column) const
{
    if (row < 0 || row >= m_lines.size() || column < 0 || column >= m_columns.size())
        return {};
    return CellText(*m_lines.at(row).cells, column);
}

QString DeviceListModel::CellText(const CLVObj& cells, int column) const
{
    if (m_columns.at(column) == kChangeColumn)
        return m_changeText && !cells.Cell(0).isEmpty() ? m_changeText(cells.Cell(0)) : QString();
    const QString text = cells.Cell(m_columns.at(column));
    // The survey's stand-in for an unknown MAC address is shown empty.
    return text.contains(kNoMacPlaceholder) ? QString() : text;
}

bool DeviceListModel::IsEmptyLine(const CLVObj& cells) const
{
    for (int column = 0; column < m_columns.size(); ++column)
        if (!CellText(cells, column).isEmpty())
            return false;
    return true;
}

int DeviceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int DeviceListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    // Cells hold names from the network: a tooltip shows them as text.
    if (role == Qt::ToolTipRole)
        return Qt::convertFromPlainText(Text(index.row(), index.column()));
    if (role == Qt::BackgroundRole)
        return kCellBackground;
    if (role == Qt::ForegroundRole)
        return QColor(Qt::black);
    return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return {};
    return m_columns.at(section) == kChangeColumn ? kChangeHeader : m_names.value(m_columns.at(section));
}
