#include "CBottView.h"

#include "document/CNetDoc.h"
#include "listview/CColumSelect.h"
#include "listview/DeviceListModel.h"
#include "listview/DeviceListRows.h"
#include "mapbuild/HostInventory.h"
#include "mapview/ChangeOverlay.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace {

// Columns are sized from this many lines: enough to fit what is seen, and
// a 10,000-host list stays quick to fill.
constexpr int kSizingLines = 500;

} // namespace

CBottView::CBottView(CNetDoc& document, QWidget* parent)
    : QTableView(parent)
    , m_document(document)
    , m_pModel(new DeviceListModel(this))
{
    setModel(m_pModel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setResizeContentsPrecision(kSizingLines);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CBottView::OnHeaderClicked);
    connect(this, &QTableView::doubleClicked, this, &CBottView::OnDoubleClicked);
    if (!m_document.m_pListView)
        m_document.m_pListView = this;
    BuildRows();
}

CBottView::~CBottView()
{
    if (m_document.m_pListView == this)
        m_document.m_pListView = nullptr;
}

void CBottView::BuildRows()
{
    setUpdatesEnabled(false);
    m_pModel->SetRows(DeviceListRows::Of(m_document));
    FillList();
    setUpdatesEnabled(true);
}

void CBottView::BuildRowsSoon()
{
    QTimer::singleShot(0, this, &CBottView::BuildRows);
}

void CBottView::FillList()
{
    m_pModel->SetColumns(HostInventory::MasterColumnNames(), m_document.m_astrHiddenColumns);
    m_pModel->Fill(m_bOneLine);
    SizeColumns();
}

void CBottView::SetChanges(std::shared_ptr<const ChangeOverlay> changes)
{
    setUpdatesEnabled(false);
    if (changes)
        m_pModel->SetChangeColumn([changes](const QString& fqdn) { return changes->ListText(fqdn); });
    else
        m_pModel->SetChangeColumn({});
    m_pModel->Fill(m_bOneLine);
    SizeColumns();
    setUpdatesEnabled(true);
}

void CBottView::SetOneLine(bool oneLine)
{
    m_bOneLine = oneLine;
    BuildRows();
}

void CBottView::SelectColumns()
{
    CColumSelect dialog(m_document, this);
    if (dialog.exec() == QDialog::Accepted) {
        setUpdatesEnabled(false);
        FillList();
        setUpdatesEnabled(true);
    }
}

void CBottView::DeleteEmptyColumns()
{
    setUpdatesEnabled(false);
    m_pModel->DeleteEmptyColumns();
    setUpdatesEnabled(true);
}

void CBottView::AskAboutEmptyColumns()
{
    if (!m_pModel->HasEmptyColumn())
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QStringLiteral("Varnex"), QStringLiteral("表示するリストには空の列があります。削除しますか？"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        DeleteEmptyColumns();
}

QString CBottView::SelectedText() const
{
    QStringList lines;
    QStringList header;
    for (int column = 0; column < m_pModel->columnCount(); ++column)
        header.append(m_pModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    lines.append(header.join(QLatin1Char('\t')));
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < m_pModel->columnCount(); ++column)
            cells.append(m_pModel->Text(row.row(), column));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CBottView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && selectionModel()->hasSelection()) {
        QApplication::clipboard()->setText(SelectedText());
        return;
    }
    QTableView::keyPressEvent(event);
}

void CBottView::OnHeaderClicked(int column)
{
    if (!m_bOneLine)
        SetOneLine(true);
    m_order = column == m_nLastSortColumn && m_order == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                          : Qt::AscendingOrder;
    m_nLastSortColumn = column;
    setUpdatesEnabled(false);
    m_pModel->SortByColumn(column, m_order);
    setUpdatesEnabled(true);
}

void CBottView::OnDoubleClicked()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    setUpdatesEnabled(false);
    m_pModel->ToggleDetails(rows.last().row());
    SizeColumns();
    setUpdatesEnabled(true);
}

void CBottView::SizeColumns()
{
    resizeColumnsToContents();
}
