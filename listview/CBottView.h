#pragma once

#include <QTableWidget>

class CNetDoc;

// The device list below the map. It stays empty until the inventory tables
// fill it; the document knows it so that the end of a survey can rebuild it.
class CBottView : public QTableWidget {
    Q_OBJECT

public:
    explicit CBottView(CNetDoc& document, QWidget* parent = nullptr);
    ~CBottView() override;

private:
    CNetDoc& m_document;
};
