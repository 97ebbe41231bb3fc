#pragma once

#include <QList>
#include <QRect>
#include <QString>

class DeviceListModel;
class QPainter;
class QPrinter;

// Prints the device list as it is shown: one large canvas of the whole
// table in units of 0.1 mm, cut into pages of the printer's page size,
// columns and rows never split between pages, counted across first. Each
// band of pages repeats the title and the column headers.
class ListPrinter {
public:
    static constexpr int kFontHeight = 28;
    static constexpr int kLineHeight = kFontHeight + 20;
    static constexpr int kCharAdvance = kFontHeight / 2;
    static constexpr int kTextTop = 10;

    ListPrinter(const DeviceListModel& model, const QString& title);

    // preview: the grid is drawn solid silver instead of dotted black.
    bool Print(QPrinter& printer, bool preview = false);

    // The page grid for a page size in 0.1 mm.
    void Layout(int pageWidth, int pageHeight);
    int PagesAcross() const { return m_nPagesAcross; }
    int PagesDown() const { return m_nPagesDown; }
    // Width of a column: the longest text, in bytes as a Japanese ANSI
    // code page counts them, plus two, at half the font height each.
    static int TextWidth(const QString& text);
    QString PageLabel(int band, int columnPage) const;

private:
    struct Column {
        int left = 0;
        int width = 0;
        int page = 0;
    };

    void PrintPage(QPainter& painter, int band, int columnPage, bool preview) const;
    void DrawCell(QPainter& painter, const QRect& cell, const QString& text, bool rightEdge, bool header) const;
    int LastColumnOfPage(int columnPage) const;

    const DeviceListModel& m_model;
    QString m_strTitle;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nPagesAcross = 1;
    int m_nPagesDown = 1;
    int m_nRowsPerBand = 1;
    QList<Column> m_columns;
};
