#pragma once

#include "mapview/MapPrinter.h"

#include <QDialog>

class CNetDoc;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;

// "印刷プレビュー" of a map, one page at a time: a page is drawn when it is
// shown, so a map of hundreds of pages opens at once and its memory does
// not grow with the page count.
class MapPreviewDialog : public QDialog {
    Q_OBJECT

public:
    MapPreviewDialog(CNetDoc& document, QPrinter& printer, QWidget* parent = nullptr);

    int PageCount() const { return m_nPages; }
    int CurrentPage() const { return m_nPage; }
    void ShowPage(int page);
    // The picture of the page on screen.
    QImage PageImage() const { return m_image; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Render();
    void Print();

    CNetDoc& m_document;
    QPrinter& m_printer;
    MapPrinter m_mapPrinter;
    Size m_sheet{};
    int m_nPages = 1;
    int m_nPage = 0;
    QImage m_image;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_picture = nullptr;
    QScrollArea* m_scroll = nullptr;
};
