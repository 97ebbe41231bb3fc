#pragma once

#include <QTableView>

#include <memory>

class CNetDoc;
class ChangeOverlay;
class DeviceListModel;

// The device list below the map: the host inventory as a read-only table,
// one line per host or with every host's detail lines, sorted by a click on
// a column header. The document knows it so that the end of a survey can
// rebuild it.
class CBottView : public QTableView {
    Q_OBJECT

public:
    explicit CBottView(CNetDoc& document, QWidget* parent = nullptr);
    ~CBottView() override;

    // Rebuilds the rows from the document's inventory tables (built first
    // when the document has none) and fills the list.
    void BuildRows();
    // Builds the rows once the events waiting now (a paint) are handled.
    void BuildRowsSoon();
    // Puts the visible columns and the rows in the list again.
    void FillList();
    void SetOneLine(bool oneLine);
    bool IsOneLine() const { return m_bOneLine; }
    // "カラム表示/非表示": the column selection dialog.
    void SelectColumns();
    // "空の列削除".
    void DeleteEmptyColumns();
    // Before a print preview: offers to drop the empty columns.
    void AskAboutEmptyColumns();
    // The selected lines as tab-separated text, the header line first.
    QString SelectedText() const;

    DeviceListModel& Model() { return *m_pModel; }
    // Shows what changed since an earlier map in a last column "変化";
    // null takes the column away.
    void SetChanges(std::shared_ptr<const ChangeOverlay> changes);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnHeaderClicked(int column);
    void OnDoubleClicked();
    void SizeColumns();

    CNetDoc& m_document;
    DeviceListModel* m_pModel;
    bool m_bOneLine = true;
    int m_nLastSortColumn = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
